// The project writer: the exact bytes of a file, the number form, the encoding it picks, saving.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/document/Document.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

Document WithItem(const std::string& templateName, void (*fill)(TextItem&)) {
  Document doc;
  doc.StartNewDocument(templateName);
  if (fill) doc.EditItem(doc.CreateItem(), fill);
  return doc;
}

TEST(ProjectFileWriter, ExactBytes) {
  EXPECT_EQ(WriteProjectText(WithItem("Banners\\Summer\\sea.jpg", nullptr)),
            "<ZEB Image File>\r\n\t<Template>Banners\\Summer\\sea.jpg</Template>\r\n</ZEB Image File>\r\n");
  EXPECT_EQ(WriteProjectText(WithItem("Covers\\Books\\blue.bmp",
                                      [](TextItem& t) {
                                        t.Left = 1117.5f, t.Top = 450, t.Alignment = TextAlignment::Centre;
                                        t.Caption = "Hello\r\nWorld\nand\rmore", t.FontName = "Ari\nal";
                                        t.FontBold = true, t.FontSize = 24, t.ForeColor = 0, t.Shadow = true;
                                        t.ShadowColor = 8421504;
                                      })),
            "<ZEB Image File>\r\n"
            "\t<Template>Covers\\Books\\blue.bmp</Template>\r\n"
            "\t<TextItem>\r\n"
            "\t\t<Left>1117.5</Left>\r\n"
            "\t\t<Top>450</Top>\r\n"
            "\t\t<Alignment>2</Alignment>\r\n"
            "\t\t<Caption>Hello[/nl]World[/nl]and[/nl]more</Caption>\r\n"
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

TEST(ProjectFileWriter, StackingOrderSystemColoursAndLineBreaksInNames) {
  Document doc = WithItem("a\r\nb.jpg", [](TextItem& t) {
    t.Caption = "bottom";
    t.ForeColor = static_cast<Colour>(0x80000005u);
    t.ShadowColor = static_cast<Colour>(0x80000008u);
    t.Alignment = TextAlignment::Right;
  });
  doc.EditItem(doc.CreateItem(), [](TextItem& t) { t.Caption = "top", t.ForeColor = 0xFFFFFF; });
  doc.SendToBack(2);
  const std::string text = WriteProjectText(doc);
  EXPECT_NE(text.find("\t<Template>ab.jpg</Template>\r\n"), std::string::npos);
  EXPECT_LT(text.find("<Caption>top</Caption>\r\n\t\t<FontName>Arial</FontName>"), text.find("<Caption>bottom</Caption>"))
      << "item 2 was sent to the back, so it comes first";
  EXPECT_NE(text.find("\t\t<Alignment>1</Alignment>\r\n\t\t<Caption>bottom</Caption>"), std::string::npos);
  EXPECT_NE(text.find("<ForeColor>-2147483643</ForeColor>"), std::string::npos);
  EXPECT_NE(text.find("<ShadowColor>-2147483640</Shadow>"), std::string::npos);
  EXPECT_NE(text.find("<ForeColor>16777215</ForeColor>"), std::string::npos);
}

// At most seven significant digits and never an exponent.
TEST(ProjectFileWriter, SingleNumbers) {
  const std::vector<std::pair<float, std::string>> cases = {
      {0, "0"},           {-0.0f, "0"},          {450, "450"},          {-1117.5f, "-1117.5"},     {7.8f, "7.8"},
      {0.1f, "0.1"},      {1.0f / 3, "0.3333333"}, {123456.7f, "123456.7"}, {1234567.8f, "1234568"},
      {16777216, "16777220"}, {10000000, "10000000"}, {0.000125f, "0.000125"}, {1e-10f, "0.0000000001"},
      {99999992.0f, "99999990"}, {0.9999999f, "0.9999999"}, {9.75f, "9.75"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatSingle(value), text) << text;
}

// Windows-1252 when every character fits and the bytes would not read back as UTF-8; else UTF-8.
TEST(ProjectFileWriter, Encoding) {
  struct Case {
    const char* templateName;
    const char* caption;
    const char* templateLine;
    const char* captionLine;
  };
  for (const Case& c : {Case{"Caf\xC3\xA9.jpg", "\xE2\x82\xAC 5 \xC2\xA9", "<Template>Caf\xE9.jpg</Template>", "<Caption>\x80 5 \xA9</Caption>"},
                        Case{"Caf\xC3\xA9.jpg", "\xCE\xA9 \xE2\x82\xAC", "<Template>Caf\xC3\xA9.jpg</Template>", "<Caption>\xCE\xA9 \xE2\x82\xAC</Caption>"},
                        Case{"a.jpg", "\xC3\x83\xC2\xA9", "<Template>a.jpg</Template>", "<Caption>\xC3\x83\xC2\xA9</Caption>"}}) {
    Document doc;
    doc.StartNewDocument(c.templateName);
    doc.SetCaption(doc.CreateItem(), c.caption);
    const std::string text = WriteProjectText(doc);
    EXPECT_NE(text.find(c.templateLine), std::string::npos) << c.caption;
    EXPECT_NE(text.find(c.captionLine), std::string::npos) << c.caption;
  }
}

TEST(ProjectFileWriter, SavesAtomically) {
  const auto dir = std::filesystem::temp_directory_path() / ("lumora_save_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "blocked.lmp" / "inside");
  const Document doc = WithItem("a.jpg", nullptr);
  std::string error;
  ASSERT_TRUE(SaveProjectFile(dir / "cover.lmp", doc, &error)) << error;
  std::ifstream in(dir / "cover.lmp", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), WriteProjectText(doc));
  EXPECT_TRUE(doc.Changed()) << "the caller decides about the document's state";
  // A target that cannot be replaced (a folder) fails cleanly and leaves no temporary file.
  EXPECT_FALSE(SaveProjectFile(dir / "blocked.lmp", doc, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked.lmp" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumora
