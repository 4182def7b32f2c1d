#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/document/Document.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

Document documentWithTemplate(const std::string& name) {
  Document doc;
  doc.StartNewDocument(name);
  return doc;
}

int addItem(Document& doc, void (*fill)(TextItem&)) {
  const int index = doc.CreateItem();
  doc.EditItem(index, fill);
  return index;
}

TEST(ProjectFileWriter, AnEmptyDocumentIsThreeLines) {
  EXPECT_EQ(WriteProjectText(documentWithTemplate("Banners\\Summer\\sea.jpg")),
            "<ZEB Image File>\r\n"
            "\t<Template>Banners\\Summer\\sea.jpg</Template>\r\n"
            "</ZEB Image File>\r\n");
}

TEST(ProjectFileWriter, OneItemIsThirteenPropertyLinesWithTheShadowColourClosedByShadow) {
  Document doc = documentWithTemplate("Covers\\Books\\blue.bmp");
  addItem(doc, [](TextItem& t) {
    t.Left = 1117.5f;
    t.Top = 450;
    t.Alignment = TextAlignment::Centre;
    t.Caption = "Hello\r\nWorld";
    t.FontName = "Arial";
    t.FontBold = true;
    t.FontSize = 24;
    t.ForeColor = 0;
    t.Shadow = true;
    t.ShadowColor = 8421504;
  });
  EXPECT_EQ(WriteProjectText(doc),
            "<ZEB Image File>\r\n"
            "\t<Template>Covers\\Books\\blue.bmp</Template>\r\n"
            "\t<TextItem>\r\n"
            "\t\t<Left>1117.5</Left>\r\n"
            "\t\t<Top>450</Top>\r\n"
            "\t\t<Alignment>2</Alignment>\r\n"
            "\t\t<Caption>Hello[/nl]World</Caption>\r\n"
            "\t\t<FontName>Arial</FontName>\r\n"
            "\t\t<FontBold>True</FontBold>\r\n"
            "\t\t<FontItalic>False</FontItalic>\r\n"
            "\t\t<FontSize>24</FontSize>\r\n"
            "\t\t<FontUnderline>False</FontUnderline>\r\n"
            "\t\t<FontStrikethru>False</FontStrikethru>\r\n"
            "\t\t<ForeColor>0</ForeColor>\r\n"
            "\t\t<Shadow>True</Shadow>\r\n"
            "\t\t<ShadowColor>8421504</Shadow>\r\n"
            "\t</TextItem>\r\n"
            "</ZEB Image File>\r\n");
}

TEST(ProjectFileWriter, SeveralItemsGoOutInStackingOrderWithSystemColoursAsNegativeNumbers) {
  Document doc = documentWithTemplate("a.jpg");
  const int first = addItem(doc, [](TextItem& t) {
    t.Caption = "bottom";
    t.Left = -30;
    t.Top = 9.75f;
    t.FontName = "Wingdings 2";
    t.FontItalic = true;
    t.FontUnderline = true;
    t.FontStrikethru = true;
    t.FontSize = 9.75f;
    t.ForeColor = static_cast<Colour>(0x80000005u);
    t.ShadowColor = static_cast<Colour>(0x80000008u);
    t.Alignment = TextAlignment::Right;
  });
  addItem(doc, [](TextItem& t) { t.Caption = "top"; t.ForeColor = 0xFFFFFF; });
  doc.SendToBack(2);
  (void)first;
  const std::string text = WriteProjectText(doc);
  const std::string bottomBlock =
      "\t<TextItem>\r\n"
      "\t\t<Left>-30</Left>\r\n"
      "\t\t<Top>9.75</Top>\r\n"
      "\t\t<Alignment>1</Alignment>\r\n"
      "\t\t<Caption>bottom</Caption>\r\n"
      "\t\t<FontName>Wingdings 2</FontName>\r\n"
      "\t\t<FontBold>False</FontBold>\r\n"
      "\t\t<FontItalic>True</FontItalic>\r\n"
      "\t\t<FontSize>9.75</FontSize>\r\n"
      "\t\t<FontUnderline>True</FontUnderline>\r\n"
      "\t\t<FontStrikethru>True</FontStrikethru>\r\n"
      "\t\t<ForeColor>-2147483643</ForeColor>\r\n"
      "\t\t<Shadow>False</Shadow>\r\n"
      "\t\t<ShadowColor>-2147483640</Shadow>\r\n"
      "\t</TextItem>\r\n";
  const size_t topAt = text.find("<Caption>top</Caption>");
  const size_t bottomAt = text.find(bottomBlock);
  ASSERT_NE(bottomAt, std::string::npos) << text;
  ASSERT_NE(topAt, std::string::npos);
  EXPECT_LT(topAt, bottomAt) << "item 2 was sent to the back, so it comes first";
  EXPECT_NE(text.find("<ForeColor>16777215</ForeColor>"), std::string::npos);
  EXPECT_TRUE(text.ends_with("\t</TextItem>\r\n</ZEB Image File>\r\n"));
}

struct NumberCase {
  float value;
  const char* text;
};

class SingleText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SingleText, HasAtMostSevenSignificantDigitsAndNoExponent) {
  EXPECT_EQ(FormatSingle(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SingleText,
    ::testing::Values(NumberCase{0, "0"}, NumberCase{-0.0f, "0"}, NumberCase{450, "450"},
                      NumberCase{1117.5f, "1117.5"}, NumberCase{-1117.5f, "-1117.5"}, NumberCase{9.75f, "9.75"},
                      NumberCase{7.8f, "7.8"}, NumberCase{0.1f, "0.1"}, NumberCase{1.0f / 3, "0.3333333"},
                      NumberCase{123456.7f, "123456.7"}, NumberCase{1234567.8f, "1234568"},
                      NumberCase{16777216, "16777220"}, NumberCase{10000000, "10000000"},
                      NumberCase{0.000125f, "0.000125"}, NumberCase{1e-10f, "0.0000000001"},
                      NumberCase{99999992.0f, "99999990"}, NumberCase{0.9999999f, "0.9999999"}, NumberCase{1638, "1638"}));

TEST(ProjectFileWriter, CaptionLineBreaksOfAnyKindBecomeNewLineMarks) {
  Document doc = documentWithTemplate("a.jpg");
  addItem(doc, [](TextItem& t) { t.Caption = "a\r\nb\nc\rd"; });
  EXPECT_NE(WriteProjectText(doc).find("<Caption>a[/nl]b[/nl]c[/nl]d</Caption>\r\n"), std::string::npos);
}

TEST(ProjectFileWriter, LineBreaksInNamesCannotBreakTheLayout) {
  Document doc = documentWithTemplate("a\r\nb.jpg");
  addItem(doc, [](TextItem& t) { t.FontName = "Ari\nal"; });
  const std::string text = WriteProjectText(doc);
  EXPECT_NE(text.find("\t<Template>ab.jpg</Template>\r\n"), std::string::npos);
  EXPECT_NE(text.find("<FontName>Arial</FontName>"), std::string::npos);
}

TEST(ProjectFileWriter, WritesWindows1252WhenEveryCharacterFits) {
  Document doc = documentWithTemplate("Caf\xC3\xA9.jpg");  // "Café"
  addItem(doc, [](TextItem& t) { t.Caption = "\xE2\x82\xAC 5 \xC2\xA9"; });  // "€ 5 ©"
  const std::string text = WriteProjectText(doc);
  EXPECT_NE(text.find("<Template>Caf\xE9.jpg</Template>"), std::string::npos);
  EXPECT_NE(text.find("<Caption>\x80 5 \xA9</Caption>"), std::string::npos);
}

TEST(ProjectFileWriter, WritesUtf8WhenACharacterDoesNotFitWindows1252) {
  Document doc = documentWithTemplate("Caf\xC3\xA9.jpg");
  addItem(doc, [](TextItem& t) { t.Caption = "\xCE\xA9 \xE2\x82\xAC"; });  // "Ω €"
  const std::string text = WriteProjectText(doc);
  EXPECT_NE(text.find("<Template>Caf\xC3\xA9.jpg</Template>"), std::string::npos);
  EXPECT_NE(text.find("<Caption>\xCE\xA9 \xE2\x82\xAC</Caption>"), std::string::npos);
}

TEST(ProjectFileWriter, WritesUtf8WhenTheSingleByteFormWouldReadAsUtf8) {
  Document doc = documentWithTemplate("a.jpg");
  addItem(doc, [](TextItem& t) { t.Caption = "\xC3\x83\xC2\xA9"; });  // "Ã©", in 1252 the bytes C3 A9
  EXPECT_NE(WriteProjectText(doc).find("<Caption>\xC3\x83\xC2\xA9</Caption>"), std::string::npos);
}

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProjectFileWriter, SavesAtomicallyAndAFailedSaveLeavesTheTargetAlone) {
  const auto dir = std::filesystem::temp_directory_path() / ("lumora_save_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto target = dir / "cover.lmp";
  Document doc = documentWithTemplate("a.jpg");
  std::string error;
  ASSERT_TRUE(SaveProjectFile(target, doc, &error)) << error;
  EXPECT_EQ(readFile(target), WriteProjectText(doc));
  EXPECT_TRUE(doc.Changed()) << "the caller decides about the document's state";

  // A target that cannot be replaced (a folder) fails cleanly and leaves no temporary file.
  const auto blocked = dir / "blocked.lmp";
  std::filesystem::create_directories(blocked / "inside");
  EXPECT_FALSE(SaveProjectFile(blocked, doc, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(blocked / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 2);
  EXPECT_FALSE(SaveProjectFile(dir / "missing-folder" / "x.lmp", doc, &error));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumora
