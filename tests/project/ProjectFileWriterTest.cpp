// The project writer: the exact bytes of a file, the number form, the encoding it picks, saving;
// round trips through the reader; the text encodings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TextEncoding.h"

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
  // Effects follow the classic lines, each only when it differs from its default.
  const std::string effects = WriteProjectText(WithItem("a.jpg", [](TextItem& t) {
    t.Outline = true, t.OutlineColor = -2147483643, t.OutlineWidth = 5, t.OutlineAt = OutlinePlacement::Centred;
    t.ShadowOffset = 0, t.ShadowBlur = 7, t.LetterSpacing = -10, t.LineHeight = 150;
  }));
  EXPECT_NE(effects.find("<ShadowColor>8421504</Shadow>\r\n\t\t<Outline>True</Outline>\r\n\t\t<OutlineColor>-2147483643</OutlineColor>\r\n"
                         "\t\t<OutlineWidth>5</OutlineWidth>\r\n\t\t<OutlinePlacement>1</OutlinePlacement>\r\n\t\t<ShadowOffset>0</ShadowOffset>\r\n"
                         "\t\t<ShadowBlur>7</ShadowBlur>\r\n\t\t<LetterSpacing>-10</LetterSpacing>\r\n\t\t<LineHeight>150</LineHeight>\r\n\t</TextItem>"),
            std::string::npos) << effects;
  EXPECT_EQ(WriteProjectText(WithItem("a.jpg", [](TextItem& t) { t.OutlineWidth = 3; })).find("<Outline>"),
            std::string::npos);
}

TEST(ProjectFileWriter, StackingOrderSystemColoursAndLineBreaksInNames) {
  Document doc = WithItem("a\r\nb.jpg", [](TextItem& t) {
    t.Caption = "bottom", t.ForeColor = static_cast<Colour>(0x80000005u), t.ShadowColor = static_cast<Colour>(0x80000008u);
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
  struct Case { const char *templateName, *caption, *templateLine, *captionLine; };
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

Document variedDocument() {
  Document doc;
  doc.StartNewDocument("Banners\\Caf\xC3\xA9\\sea.jpg");
  // Values with at most seven significant digits: the file keeps no more.
  const float lefts[] = {1117.5f, -30.25f, 0.1f, 16777216.0f, 123456.7f};
  const float sizes[] = {7.8f, 9.75f, 24, 30.4f, 1638};
  for (int i = 0; i < 5; ++i) {
    const int index = doc.CreateItem();
    doc.EditItem(index, [&](TextItem& t) {
      t.Left = lefts[i], t.Top = 450.5f * static_cast<float>(i), t.Alignment = static_cast<TextAlignment>(i % 3);
      t.Caption = i == 2 ? "" : "line " + std::to_string(i) + "\r\nsecond > line\r\n\r\n";
      if (i == 4) t.Caption = "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 \xE2\x82\xAC";  // outside Windows-1252
      t.FontName = i % 2 ? "Wingdings 3" : "DejaVu Sans", t.FontSize = sizes[i];
      t.FontBold = i & 1, t.FontItalic = i & 2, t.FontUnderline = i & 4, t.FontStrikethru = i == 3;
      t.ForeColor = i == 1 ? static_cast<Colour>(0x80000005u) : 0x123456 * i, t.Shadow = i % 2 == 0, t.ShadowColor = 0x808080 + i;
      if (i % 2) t.Outline = true, t.OutlineColor = 0x00FF00 * i, t.OutlineWidth = 19, t.OutlineAt = OutlinePlacement::Centred;
      if (i >= 3) t.ShadowOffset = i == 3 ? -100 : 0, t.ShadowBlur = 20, t.LetterSpacing = -50 + i, t.LineHeight = 25 * i;
    });
  }
  doc.BringToFront(2);
  return doc;
}

// Every field comes back, every item is visible, indices follow the file, and the bytes written
// again are the same.
TEST(ProjectRoundTrip, WriteReadWrite) {
  const Document doc = variedDocument();
  const std::string first = WriteProjectText(doc);
  Document back;
  back.CreateItem();
  std::vector<std::string> loaded;
  const auto result = ReadProjectText(first, back, {[&](const std::string& name) { return loaded.push_back(name), true; }});
  ASSERT_TRUE(result.Ok);
  EXPECT_TRUE(result.Problems.empty());
  EXPECT_EQ(loaded, std::vector<std::string>{doc.TemplateName()});
  EXPECT_EQ(back.TemplateName(), doc.TemplateName());
  EXPECT_EQ(std::make_tuple(back.CurrentIndex(), back.DocumentOpen(), back.Changed()), std::make_tuple(5, true, false));
  ASSERT_EQ(back.TextItems().size(), doc.TextItems().size());
  for (size_t i = 0; i < doc.TextItems().size(); ++i) {
    TextItem expected = doc.TextItems()[i];
    expected.Index = static_cast<int>(i) + 1;
    expected.Visible = true;
    EXPECT_EQ(back.TextItems()[i], expected) << "item " << i;
  }
  EXPECT_EQ(WriteProjectText(back), first);
  Document again;
  ASSERT_TRUE(ReadProjectText(first, again).Ok);
  EXPECT_EQ(again, back);
}

// Open records the path it read; a missing file, a folder or a huge file is refused.
TEST(ProjectRoundTrip, SaveAndOpenProjectFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("lumora_open_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto path = dir / "cover.lmp";
  const Document doc = variedDocument();
  std::string error;
  ASSERT_TRUE(SaveProjectFile(path, doc, &error)) << error;
  EXPECT_TRUE(doc.Changed()) << "the caller decides about the document's state";
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), WriteProjectText(doc));
  // A target that cannot be replaced (a folder) fails cleanly and leaves no temporary file.
  std::filesystem::create_directories(dir / "blocked.lmp" / "inside");
  EXPECT_FALSE(SaveProjectFile(dir / "blocked.lmp", doc, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  Document back;
  const auto result = OpenProjectFile(path, back);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(back.ProjectPath(), path.string());
  EXPECT_EQ(back.CurrentIndex(), 5);
  // A huge file is refused before anything is read (sparse, so it costs no disk).
  const auto huge = dir / "huge.lmp";
  std::ofstream(huge) << "<ZEB Image File>\r\n";
  std::filesystem::resize_file(huge, kMaxProjectFileBytes + 1);
  back.SetProjectPath("previous.lmp");
  const Document before = back;
  for (const auto& [bad, says] : {std::pair{dir / "missing.lmp", dir.string() + "/missing.lmp"},
                                  std::pair{dir, dir.string()}, std::pair{huge, std::string("too large")}}) {
    const auto refused = OpenProjectFile(bad, back);
    EXPECT_FALSE(refused.Ok);
    EXPECT_NE(refused.Error.find(says), std::string::npos) << refused.Error;
  }
  EXPECT_EQ(back, before);
  std::filesystem::remove_all(dir);
}

TEST(ProjectTextEncoding, Windows1252MapsEveryByte) {
  // Every byte survives the trip out and back (the reader's tests check the mapping).
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = TextEncoding::Windows1252ToUtf8(all);
  ASSERT_TRUE(TextEncoding::FitsWindows1252(utf8));
  EXPECT_EQ(TextEncoding::Utf8ToWindows1252(utf8), all);
}

}  // namespace
}  // namespace lumora
