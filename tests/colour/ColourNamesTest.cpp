// Colour names: the table against Qt's SVG keyword list, lookup order and case, the numeric-text
// reading, the system-colour translation and the gradient channel split.
#include <gtest/gtest.h>

#include <QColor>
#include <random>
#include <set>
#include <string>

#include "base/SystemColors.h"
#include "colour/ColourNames.h"

namespace lumora {
namespace {

using ColourNames::ColourFromName;
using ColourNames::ReadNumber;

TEST(ColourNames, TableHas140KeywordsThen29SystemNamesAllLowerCaseAndUnique) {
  const auto table = ColourNames::Table();
  ASSERT_EQ(table.size(), 169u);
  std::set<std::string_view> names;
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(IsSystemColour(table[i].value), i >= 140) << table[i].name;
    EXPECT_EQ(std::string(table[i].name).find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string::npos);
    names.insert(table[i].name);
  }
  EXPECT_EQ(names.size(), 169u);
  EXPECT_EQ(table.front().name, "aliceblue");
  EXPECT_EQ(table[139].name, "yellowgreen");
  EXPECT_EQ(table[140].name, "vbwindowtext");
  EXPECT_EQ(table.back().name, "vb3ddkshadow");
}

TEST(ColourNames, KeywordsAgreeWithQtsSvgColourList) {
  for (const auto& row : ColourNames::Table().first(140)) {
    const QColor qt = QColor::fromString(QString::fromLatin1(row.name.data(), qsizetype(row.name.size())));
    ASSERT_TRUE(qt.isValid()) << row.name;
    EXPECT_EQ(row.value, RGBColour(qt.red(), qt.green(), qt.blue())) << row.name;
  }
}

TEST(ColourNames, KeywordsAreInAlphabeticalOrder) {
  const auto keywords = ColourNames::Table().first(140);
  for (size_t i = 1; i < keywords.size(); ++i) EXPECT_LT(keywords[i - 1].name, keywords[i].name);
}

struct NameCase {
  const char* text;
  Colour expected;
};

class ColourFromNameCases : public ::testing::TestWithParam<NameCase> {};

TEST_P(ColourFromNameCases, GivesTheExpectedValue) {
  EXPECT_EQ(ColourFromName(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Telling, ColourFromNameCases,
    ::testing::Values(NameCase{"aliceblue", RGBColour(240, 248, 255)}, NameCase{"AliceBlue", RGBColour(240, 248, 255)},
                      NameCase{"ALICEBLUE", RGBColour(240, 248, 255)}, NameCase{"darkgray", RGBColour(169, 169, 169)},
                      NameCase{"lightgrey", RGBColour(211, 211, 211)}, NameCase{"orange", RGBColour(255, 165, 0)},
                      NameCase{"yellowgreen", RGBColour(154, 205, 50)},
                      // Keywords the table leaves out are read as numbers.
                      NameCase{"grey", 0}, NameCase{"darkgrey", 0}, NameCase{"lightgray", 0},
                      NameCase{"vbhighlight", static_cast<Colour>(0x8000000Du)},
                      NameCase{"VBButtonText", static_cast<Colour>(0x80000012u)},
                      NameCase{"vbinactivecaptiontext", static_cast<Colour>(0x80000013u)},
                      NameCase{"vb3dface", static_cast<Colour>(0x8000000Fu)},
                      // Names are compared whole: no trimming.
                      NameCase{" red", 0}, NameCase{"red ", 0}, NameCase{"&HFF", 255}, NameCase{"12345", 12345}));

struct NumberCase {
  const char* text;
  int32_t expected;
};

class ReadNumberCases : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberCases, ReadsAsThePlatformDoes) { EXPECT_EQ(ReadNumber(GetParam().text), GetParam().expected) << GetParam().text; }

INSTANTIATE_TEST_SUITE_P(
    Numbers, ReadNumberCases,
    ::testing::Values(NumberCase{"", 0}, NumberCase{"abc", 0}, NumberCase{"12345", 12345}, NumberCase{"12 34", 1234},
                      NumberCase{" 1\t2\n3 ", 123}, NumberCase{"42abc", 42}, NumberCase{"-7", -7}, NumberCase{"+7", 7},
                      NumberCase{"&HFF", 255}, NumberCase{"&hff", 255}, NumberCase{"& H F F", 255},
                      NumberCase{"&HFFFF", -1}, NumberCase{"&H8000", -32768}, NumberCase{"&H7FFF", 32767},
                      NumberCase{"&H10000", 65536}, NumberCase{"&HFFFFFFFF", -1}, NumberCase{"&H80000000", INT32_MIN},
                      NumberCase{"&H100000000", 0}, NumberCase{"&HFFG", 255}, NumberCase{"&H", 0},
                      NumberCase{"&O17", 15}, NumberCase{"&O177777", -1}, NumberCase{"&O18", 1}, NumberCase{"&X12", 0},
                      // Rounded half to even.
                      NumberCase{"2.5", 2}, NumberCase{"3.5", 4}, NumberCase{"-2.5", -2}, NumberCase{"2.51", 3},
                      NumberCase{".5", 0}, NumberCase{"1e3", 1000}, NumberCase{"1D2", 100}, NumberCase{"1e", 1},
                      NumberCase{"2147483647", 2147483647}, NumberCase{"-2147483648", INT32_MIN},
                      NumberCase{"2147483648", 0}, NumberCase{"1e400", 0}, NumberCase{"99999999999999999999", 0},
                      NumberCase{".", 0}, NumberCase{"-", 0}));

// Hostile texts: whatever the characters, reading ends with a value, and blanks, tabs and line
// feeds put anywhere change nothing.
TEST(ColourNames, RandomTextsReadTheSameWithBlanksAnywhere) {
  const std::string alphabet = "0123456789&HhOoEeDd.+-xyzABCDEFfg9 \t\n";
  std::mt19937 random(20261206);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) {
      const char c = alphabet[random() % alphabet.size()];
      if (c != ' ' && c != '\t' && c != '\n') text += c;
    }
    std::string spaced;
    for (char c : text) {
      if (random() % 3 == 0) spaced += " \t\n"[random() % 3];
      spaced += c;
    }
    EXPECT_EQ(ReadNumber(spaced), ReadNumber(text)) << '"' << text << '"';
    EXPECT_EQ(ColourFromName(text), ReadNumber(text));  // these alphabets spell no colour name
  }
}

TEST(ColourNames, TranslationLeavesPlainColoursAndTranslatesSystemOnes) {
  SystemColors::ResetToDefaults();
  SystemColors::Set(SystemColors::kHighlight, 0x123456);
  EXPECT_EQ(ColourNames::TranslateColour(ColourFromName("vbhighlight")), 0x123456);
  EXPECT_EQ(ColourNames::TranslateColour(0x00ABCDEF), 0x00ABCDEF);
  EXPECT_EQ(ColourNames::TranslateColour(0x01000000), 0x01000000);
  EXPECT_EQ(ColourNames::TranslateColour(static_cast<Colour>(0x80001234u)), 0);  // no such system colour
  SystemColors::ResetToDefaults();
}

TEST(ColourNames, GradientChannelsAreBytesTimes256AsSigned16Bit) {
  const auto white = ColourNames::SplitGradientChannels(0xFFFFFF);
  EXPECT_EQ(static_cast<uint16_t>(white.red), 0xFF00);
  EXPECT_EQ(static_cast<uint16_t>(white.green), 0xFF00);
  EXPECT_EQ(static_cast<uint16_t>(white.blue), 0xFF00);
  const auto darkRed = ColourNames::SplitGradientChannels(0x000080);
  EXPECT_EQ(static_cast<uint16_t>(darkRed.red), 0x8000);
  EXPECT_EQ(darkRed.green, 0);
  EXPECT_EQ(darkRed.blue, 0);
  const auto mixed = ColourNames::SplitGradientChannels(RGBColour(0x12, 0x34, 0x56));
  EXPECT_EQ(mixed.red, 0x1200);
  EXPECT_EQ(mixed.green, 0x3400);
  EXPECT_EQ(mixed.blue, 0x5600);
  SystemColors::Set(SystemColors::kWindow, RGBColour(1, 2, 3));
  const auto window = ColourNames::SplitGradientChannels(static_cast<Colour>(0x80000005u));
  EXPECT_EQ(window.red, 0x0100);
  EXPECT_EQ(window.green, 0x0200);
  EXPECT_EQ(window.blue, 0x0300);
  SystemColors::ResetToDefaults();
}

}  // namespace
}  // namespace lumora
