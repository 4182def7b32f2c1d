// Colour names: the keywords against Qt's SVG list in any case, and the numeric text read when no
// name matches; the system colours following the palette they are refreshed from.
#include "colour/ColourNames.h"

#include <gtest/gtest.h>

#include <QPalette>

#include "colour/SystemColourRefresh.h"
#include "controls/QtColour.h"

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

TEST(SystemColourRefresh, PaletteRolesBecomeTheirSystemColours) {
  QPalette palette;
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::Base, QColor(7, 8, 9));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(16, 17, 18));
  const uint32_t desktop = SystemColors::Get(SystemColors::kDesktop);
  RefreshSystemColours(palette);
  const auto system = [](int index) { return ToQColor(static_cast<Colour>(0x80000000u + index)); };
  EXPECT_EQ(system(SystemColors::kHighlight), QColor(1, 2, 3));
  EXPECT_EQ(system(SystemColors::kWindow), QColor(7, 8, 9));
  EXPECT_EQ(system(SystemColors::kGrayText), QColor(16, 17, 18));
  EXPECT_EQ(SystemColors::Get(SystemColors::kDesktop), desktop);  // no palette role: kept
  SystemColors::ResetToDefaults();
}

}  // namespace
}  // namespace lumora
