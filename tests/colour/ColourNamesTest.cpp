// Colour names: the keywords against Qt's SVG list in any case, and the numeric text read when no
// name matches, whatever the characters.
#include "colour/ColourNames.h"

#include <gtest/gtest.h>

#include <QColor>
#include <random>

#include "base/SystemColors.h"

namespace lumora {
namespace {

using ColourNames::ColourFromName;
using ColourNames::ReadNumber;

TEST(ColourNames, KeywordsAgreeWithQtsSvgColoursInAnyCaseAndSystemNamesAreSystemColours) {
  int keywords = 0;
  for (const auto& row : ColourNames::Table()) {
    const std::string upper = QString::fromLatin1(row.name.data(), row.name.size()).toUpper().toStdString();
    EXPECT_EQ(ColourFromName(upper), row.value) << row.name;
    if (row.name.starts_with("vb")) {
      EXPECT_TRUE(IsSystemColour(row.value)) << row.name;
      continue;
    }
    ++keywords;
    const QColor qt = QColor::fromString(QString::fromLatin1(row.name.data(), row.name.size()));
    EXPECT_EQ(row.value, RGBColour(qt.red(), qt.green(), qt.blue())) << row.name;
  }
  EXPECT_EQ(keywords, 140);
  // Three spellings are left out and read as numbers; names are compared whole.
  for (const char* text : {"grey", "darkgrey", "lightgray", " red", "red "}) EXPECT_EQ(ColourFromName(text), 0) << text;
  EXPECT_EQ(ColourFromName("&HFF"), 255);
}

TEST(ColourNames, NumbersAreReadAsThePlatformReadsThem) {
  const std::pair<const char*, int32_t> cases[] = {
      {"", 0}, {"abc", 0}, {"12 34", 1234}, {" 1\t2\n3 ", 123}, {"42abc", 42}, {"-7", -7}, {"+7", 7},
      {"&hff", 255}, {"& H F F", 255}, {"&HFFFF", -1}, {"&H8000", -32768}, {"&H7FFF", 32767}, {"&H10000", 65536},
      {"&HFFFFFFFF", -1}, {"&H80000000", INT32_MIN}, {"&H100000000", 0}, {"&HFFG", 255}, {"&H", 0},
      {"&O17", 15}, {"&O177777", -1}, {"&O18", 1}, {"&X12", 0}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2},
      {"2.51", 3}, {".5", 0}, {"1e3", 1000}, {"1D2", 100}, {"1e", 1}, {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN}, {"2147483648", 0}, {"1e400", 0}, {"99999999999999999999", 0}, {".", 0}, {"-", 0}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ReadNumber(text), expected) << '"' << text << '"';
}

// Hostile texts: whatever the characters, reading ends with a value, and blanks, tabs and line
// feeds put anywhere change nothing.
TEST(ColourNames, RandomTextsReadTheSameWithBlanksAnywhere) {
  const std::string alphabet = "0123456789&HhOoEeDd.+-xyzABCDEFfg9";
  std::mt19937 random(20261206);
  for (int round = 0; round < 20000; ++round) {
    std::string text, spaced;
    for (int i = static_cast<int>(random() % 24); i > 0; --i) text += alphabet[random() % alphabet.size()];
    for (char c : text) {
      if (random() % 3 == 0) spaced += " \t\n"[random() % 3];
      spaced += c;
    }
    EXPECT_EQ(ReadNumber(spaced), ReadNumber(text)) << '"' << text << '"';
    EXPECT_EQ(ColourFromName(text), ReadNumber(text));  // these alphabets spell no colour name
  }
}

}  // namespace
}  // namespace lumora
