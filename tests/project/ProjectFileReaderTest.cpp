// The project files: the files the reader refuses, the quirks of the format, hostile files with a
// defined result in bounded time and memory, and the number rule; the exact bytes the writer
// writes, its number form and the encoding it picks, saving, and round trips through the reader;
// and where a template name leads in the template library.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TemplatePath.h"
#include "project/TextEncoding.h"

namespace lumora {
namespace {

// An item block with the given caption and anything else before its closing line.
std::string Item(const std::string& caption, const std::string& extra = {}) {
  return "\t<TextItem>\r\n\t\t<Left>100</Left>\r\n\t\t<Top>200</Top>\r\n\t\t<Caption>" + caption + "</Caption>\r\n" +
         extra + "\t</TextItem>\r\n";
}
const std::string kHeader = "<ZEB Image File>\r\n";
const std::string kEnd = "</ZEB Image File>\r\n";

// Files the reader refuses leave the document exactly as it was.
TEST(ProjectFileReader, RefusedFilesLeaveTheDocumentAsItWas) {
  for (const std::string& text :
       {std::string(), "<ZEB Image File> \r\n" + kEnd, " <ZEB Image File>\r\n" + kEnd, "\t<ZEB Image File>\r\n" + kEnd,
        "<ZEB image file>\r\n" + kEnd, "\r\n" + kHeader + kEnd, std::string("<ZEB Image\0 File>\r\n", 19) + kEnd,
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), std::string("<Template>a.jpg</Template>\r\n"),
        std::string(50u << 20, 'A')}) {
    Document doc;
    doc.StartNewDocument("keep.jpg");
    doc.CreateItem();
    const Document before = doc;
    const auto result = ReadProjectText(text, doc);
    EXPECT_FALSE(result.Ok) << text.substr(0, 30);
    EXPECT_FALSE(result.Error.empty());
    EXPECT_EQ(doc, before);
  }
}

using Strings = std::vector<std::string>;

// Reads into a document whose template item has Tahoma 9 and whose template is Old\pic.jpg.
ProjectReadResult Read(const std::string& text, Document& doc) {
  doc.StartNewDocument("Old\\pic.jpg");
  doc.EditItem(0, [](TextItem& t) { t.FontName = "Tahoma", t.FontSize = 9; });
  return ReadProjectText(text, doc);
}

Strings Captions(const Document& d) {
  Strings out;
  for (const TextItem& t : d.TextItems()) out.push_back(t.Caption);
  return out;
}

// Line ends, new line marks, where a caption ends, ignored lines, where reading stops, and the
// encodings: Windows-1252 unless the whole file is valid UTF-8 with a multi-byte character.
TEST(ProjectFileReader, CaptionQuirks) {
  struct Case { const char* name; std::string text; Strings captions; };
  const std::vector<Case> cases = {
      {"LF, no final line end", "<ZEB Image File>\n\t<TextItem>\n<Caption>x</Caption>\n\t</TextItem>\n</ZEB Image File>", {"x"}},
      {"CR", "<ZEB Image File>\r\t<TextItem>\r<Caption>x</Caption>\r\t</TextItem>\r</ZEB Image File>", {"x"}},
      {"new line marks, typed ones too", kHeader + Item("one[/nl]two") + Item("a [/nl] b[/nl]") + kEnd, {"one\r\ntwo", "a \r\n b\r\n"}},
      {"a caption ends at the last <", kHeader + Item("Fish <3 chips") + Item("a>b>c") + Item("<b>bold") + kEnd,
       {"Fish <3 chips", "a>b>c", "<b>bold"}},
      {"stray lines and unknown tags", kHeader + "\t<Caption>stray</Caption>\r\nno tag\r\n\r\n   \r\n<>\r\n<Sparkle>y</Sparkle>\r\n" +
                                           Item("x", "\t\t<Colour>5</Colour>\r\n\t\t<caption>7</caption>\r\n") + kEnd, {"x"}},
      {"reading stops at the closing line", kHeader + Item("in") + kEnd + Item("after"), {"in"}},
      {"Windows-1252", kHeader + Item("\x80 \x93q\x94 \x81") + kEnd, {"\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC2\x81"}},
      {"UTF-8", kHeader + Item("\xCE\xA9 \xC3\xA9") + kEnd, {"\xCE\xA9 \xC3\xA9"}},
      {"one broken UTF-8 sequence", kHeader + Item("\xC3\xA9") + Item("\xC3") + kEnd, {"\xC3\x83\xC2\xA9", "\xC3\x83"}},
      {"a byte-order mark is skipped", "\xEF\xBB\xBF" + kHeader + Item("caf\xC3\xA9") + kEnd, {"caf\xC3\xA9"}},
      {"and does not make broken UTF-8 valid", "\xEF\xBB\xBF" + kHeader + Item("caf\xE9") + kEnd, {"caf\xC3\xA9"}},
      {"an overlong sequence is no UTF-8", kHeader + Item("\xC0\xAF") + kEnd, {"\xC3\x80\xC2\xAF"}},
      {"nor is a surrogate", kHeader + Item("\xED\xA0\x80") + kEnd, {"\xC3\xAD\xC2\xA0\xE2\x82\xAC"}},
  };
  for (const Case& c : cases) {
    Document doc;
    const auto result = Read(c.text, doc);
    ASSERT_TRUE(result.Ok) << c.name;
    EXPECT_EQ(Captions(doc), c.captions) << c.name;
    EXPECT_TRUE(result.Problems.empty()) << c.name;
    EXPECT_EQ(doc.TemplateName(), "Old\\pic.jpg") << "no Template line keeps the template";
  }
}

TextItem ReadOne(const std::string& extra) {
  Document doc;
  EXPECT_TRUE(Read(kHeader + Item("x", extra) + kEnd, doc).Ok);
  return doc.TextItems().at(0);
}

// Missing lines keep the template item's values; true is only the exact word; a value ends at the
// line's last <; numbers are clamped, colours read from their signed form.
TEST(ProjectFileReader, FieldQuirks) {
  const TextItem empty = [] {
    Document doc;
    EXPECT_TRUE(Read(kHeader + "\t<TextItem>\r\n\t</TextItem>\r\n" + kEnd, doc).Ok);
    return doc.TextItems().at(0);
  }();
  EXPECT_EQ(std::make_tuple(empty.Left, empty.Top, empty.Shadow, empty.Caption, empty.FontName, empty.FontSize),
            std::make_tuple(0.0f, 0.0f, false, std::string("text1"), std::string("Tahoma"), 9.0f));
  EXPECT_EQ(std::make_pair(static_cast<uint32_t>(empty.ForeColor), empty.ShadowColor), std::make_pair(0x80000008u, 0x808080));
  const TextItem b = ReadOne("<FontBold>true</FontBold>\r\n<FontItalic>TRUE</FontItalic>\r\n<FontUnderline> True</FontUnderline>\r\n"
                              "<FontStrikethru>True</FontStrikethru>\r\n<Shadow>1</Shadow>\r\n");
  EXPECT_EQ(std::vector<bool>({b.FontBold, b.FontItalic, b.FontUnderline, b.FontStrikethru, b.Shadow}),
            std::vector<bool>({false, false, false, true, false}));
  const TextItem n = ReadOne("<FontName><b>Arial</b></FontName>\r\n<Left>55\r\n<Top\r\n</TextItem\r\n");
  EXPECT_EQ(std::make_tuple(n.FontName, n.Left, n.Top), std::make_tuple(std::string("<b>Arial</b>"), 0.0f, 200.0f))
      << "no closing tag, no value";
  struct Number { std::string line; float TextItem::*field; float value; };
  for (const Number& c : {Number{"<FontSize>0</FontSize>", &TextItem::FontSize, 1}, {"<FontSize>big</FontSize>", &TextItem::FontSize, 1},
                          {"<FontSize>100000</FontSize>", &TextItem::FontSize, 1638}, {"<FontSize>9.75</FontSize>", &TextItem::FontSize, 9.75f},
                          {"<Left>99999999999</Left>", &TextItem::Left, 16777216}, {"<Top>-1e400</Top>", &TextItem::Top, -1},
                          {"<Left>" + std::string(60, '9') + "</Left>", &TextItem::Left, 16777216}})
    EXPECT_EQ(ReadOne(c.line + "\r\n").*c.field, c.value) << c.line;
  for (const auto& [value, alignment] : {std::pair{"1", TextAlignment::Right}, {"7", TextAlignment::Left}, {"1.6", TextAlignment::Centre}})
    EXPECT_EQ(ReadOne("<Alignment>" + std::string(value) + "</Alignment>\r\n").Alignment, alignment) << value;
  const TextItem c = ReadOne("<ForeColor>-2147483643</ForeColor>\r\n<ShadowColor>2147483656</Shadow>\r\n");
  EXPECT_EQ(std::make_pair(static_cast<uint32_t>(c.ForeColor), static_cast<uint32_t>(c.ShadowColor)), std::make_pair(0x80000005u, 0x80000008u));
  struct Whole { std::string line; int TextItem::*field; int value; };
  for (const Whole& c : {Whole{"<OutlineWidth>999</OutlineWidth>", &TextItem::OutlineWidth, 20}, {"<OutlineWidth>thick", &TextItem::OutlineWidth, 1},
                         {"<ShadowBlur>-3</ShadowBlur>", &TextItem::ShadowBlur, 0}, {"<ShadowBlur>2.5</ShadowBlur>", &TextItem::ShadowBlur, 2},
                         {"<LetterSpacing>-99999999999</LetterSpacing>", &TextItem::LetterSpacing, -50}, {"<LineHeight>x</LineHeight>", &TextItem::LineHeight, 25},
                         {"<BoxWidth>-5</BoxWidth>", &TextItem::BoxWidth, 0}, {"<BoxHeight>99999999999</BoxHeight>", &TextItem::BoxHeight, 16777216},
                         {"<Arc>720</Arc>", &TextItem::Arc, 360}, {"<Arc>-99999</Arc>", &TextItem::Arc, -360}})
    EXPECT_EQ(ReadOne(c.line + "\r\n").*c.field, c.value) << c.line;
  for (const auto& [line, offset] : {std::pair{"<ShadowOffset>-500</ShadowOffset>", std::optional(-100)}, {"<ShadowOffset> </ShadowOffset>", std::nullopt}})
    EXPECT_EQ(ReadOne(std::string(line) + "\r\n").ShadowOffset, offset) << line;
  EXPECT_EQ(ReadOne("<OutlinePlacement>7</OutlinePlacement>\r\n").OutlineAt, OutlinePlacement::Outside);
  EXPECT_EQ(ReadOne("<MinFontSize>0</MinFontSize>\r\n").MinFontSize, 1.0f);
  const TextItem w = ReadOne("<ForeColor>99999999999</ForeColor>\r\n<ShadowColor>12.5</Shadow>\r\n");
  EXPECT_EQ(std::make_pair(w.ForeColor, w.ShadowColor), std::make_pair(0, 12)) << "no 32-bit colour; rounded half to even";
}

// An item without its closing line stays hidden, without its shadow, and is saved again; the
// file's own missing closing line and a template that cannot be loaded are problems.
TEST(ProjectFileReader, MissingClosingLines) {
  const std::string unclosed = "\t<TextItem>\r\n\t\t<Caption>lost</Caption>\r\n\t\t<Shadow>True</Shadow>\r\n";
  Document doc;
  auto result = Read(kHeader + Item("first") + unclosed + Item("third") + unclosed + kEnd, doc);
  ASSERT_TRUE(result.Ok);
  ASSERT_EQ(doc.TextItems().size(), 4u);
  EXPECT_EQ(std::vector<bool>({doc.TextItems()[0].Visible, doc.TextItems()[1].Visible, doc.TextItems()[2].Visible, doc.TextItems()[3].Visible}),
            std::vector<bool>({true, false, true, false}));
  EXPECT_FALSE(doc.TextItems()[1].Shadow) << "the shadow is shown only by the closing line";
  EXPECT_EQ(doc.CurrentIndex(), 4) << "the last item read is selected, hidden or not";
  EXPECT_EQ(result.Problems, (Strings{"Text item 2 has no closing line; it stays hidden.", "Text item 4 has no closing line; it stays hidden."}));
  EXPECT_NE(WriteProjectText(doc).find("<Caption>lost</Caption>"), std::string::npos) << "saved again";
  result = Read(kHeader + Item("x"), doc);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(Captions(doc), Strings{"x"});
  EXPECT_EQ(result.Problems, Strings{"The file ends without \"</ZEB Image File>\"."});
  // A template that cannot be loaded is a problem, not a failure.
  result = ReadProjectText(kHeader + "\t<Template>gone\\x.jpg</Template>\r\n" + kEnd, doc,
                           {[](const std::string&) { return false; }});
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(doc.TemplateName(), "gone\\x.jpg");
  EXPECT_EQ(result.Problems, Strings{"The template \"gone\\x.jpg\" could not be loaded."});
}

// The longest leading decimal number, blanks skipped; endless digits stay finite.
TEST(ProjectFileReader, NumberRule) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"1117.5", 1117.5}, {"-30", -30},  {"+7", 7},     {"  12.5abc", 12.5}, {"abc", 0},     {"", 0},
      {"-", 0},           {".", 0},      {".5", 0.5},   {"5.", 5},           {"1.2.3", 1.2}, {"1 000", 1000},
      {"- 3", -3},        {"1e5", 1},    {"1,5", 1},    {"0x10", 0},         {"007", 7},     {"--1", 0},
      {"-0.000125", -0.000125}, {"2147483656", 2147483656.0}, {std::string(100000, '9'), 1e300},
      {"-" + std::string(100000, '9'), -1e300}, {"0." + std::string(100000, '0') + "1", 0},
      {std::string(100000, '0') + "42", 42}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadNumber(text), value) << text.substr(0, 20);
  EXPECT_NEAR(ReadNumber("3." + std::string(100000, '3')), 10.0 / 3, 1e-15);
}

using namespace std::string_literals;
std::string Repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

struct HostileCase {
  const char* name;
  std::string text;
  std::function<void(const Document&)> check;
  std::vector<std::string> problems;  // the first ones
};

TEST(HostileProject, DefinedResultsAndNotedProblems) {
  std::string items = kHeader, euros = kHeader + "<TextItem>\r\n<Caption>";
  for (int i = 0; i < 100000; ++i)
    items += "\t<TextItem>\r\n\t\t<Caption>" + std::to_string(i) + "</Caption>\r\n\t\t<Left>" + std::to_string(i) + "</Left>\r\n\t</TextItem>\r\n";
  euros += Repeat("\xE2\x82\xAC", kMaxTextValueBytes / 3 + 10) + "</Caption>\r\n</TextItem>\r\n</ZEB Image File>\r\n";
  const std::vector<HostileCase> cases = {
      {"a fifty-megabyte caption is cut",
       kHeader + "\t<TextItem>\r\n\t\t<Caption>" + std::string(50u << 20, 'x') + "</Caption>\r\n\t</TextItem>\r\n</ZEB Image File>\r\n",
       [](const Document& d) { EXPECT_EQ(d.TextItems()[0].Caption.size(), kMaxTextValueBytes); },
       {"Line 3: the value is cut to 65536 bytes."}},
      {"a long UTF-8 caption is cut between characters", euros,
       [](const Document& d) { EXPECT_EQ(d.TextItems()[0].Caption, Repeat("\xE2\x82\xAC", kMaxTextValueBytes / 3)); },
       {"Line 3: the value is cut to 65535 bytes."}},
      {"a hundred thousand items stop at the index limit", items + "</ZEB Image File>\r\n",
       [](const Document& d) {
         ASSERT_EQ(d.TextItems().size(), static_cast<size_t>(Document::kMaxItems));
         EXPECT_EQ(d.TextItems().back().Caption, std::to_string(Document::kMaxItems - 1)) << "later items' lines land nowhere";
         EXPECT_EQ(d.TextItems().back().Left, Document::kMaxItems - 1);
         EXPECT_EQ(d.CurrentIndex(), Document::kMaxItems);
       },
       {"Line 131070: more than 32767 text items; the rest are ignored."}},
      {"NUL bytes are dropped", kHeader + std::string("\t<Text\0Item>\r\n\t\t<Caption>a\0b</Caption>\r\n\t</TextItem>\r\n", 51),
       [](const Document& d) { EXPECT_EQ(d.TextItems().at(0).Caption, "ab"); }, {"Line 2: NUL bytes are ignored."}},
      {"endless template lines", kHeader + Repeat("\t<Template>t0.jpg</Template>\r\n\t<Template>t1.jpg</Template>\r\n", 50000),
       [](const Document& d) { EXPECT_EQ(d.TemplateName(), "t1.jpg"); }, {"Line 10: further Template lines are ignored."}},
      {"the problem list is bounded", kHeader + Repeat("<TextItem>\r\n<Caption>\0</Caption>\r\n"s, 5000),
       [](const Document&) {}, {}},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.name);
    Document doc;
    int loads = 0;
    const auto result = ReadProjectText(c.text, doc, {[&](const std::string&) { return ++loads, true; }});
    ASSERT_TRUE(result.Ok);
    c.check(doc);
    EXPECT_LE(loads, 8) << "only a few template pictures are loaded";
    EXPECT_LE(result.Problems.size(), kMaxProblems + 1);
    if (result.Problems.size() > kMaxProblems) {
      EXPECT_EQ(result.Problems.back(), "Further problems are not listed.");
    }
    EXPECT_EQ(std::vector<std::string>(result.Problems.begin(), result.Problems.begin() + std::min(result.Problems.size(), c.problems.size())),
              c.problems);
  }
}

Document WithItem(const std::string& templateName, void (*fill)(TextItem&)) {
  Document doc;
  doc.StartNewDocument(templateName);
  if (fill) doc.EditItem(doc.CreateItem(), fill);
  return doc;
}

TEST(ProjectFileWriter, ExactBytes) {
  EXPECT_EQ(WriteProjectText(WithItem("Banners\\Summer\\sea.jpg", nullptr)),
            "<ZEB Image File>\r\n\t<Template>Banners\\Summer\\sea.jpg</Template>\r\n</ZEB Image File>\r\n");
  // Line breaks leave names; system colours are written in their signed form. (The round trip
  // below checks the stacking order.)
  EXPECT_EQ(WriteProjectText(WithItem("Covers\\Books\r\n\\blue.bmp",
                                      [](TextItem& t) {
                                        t.Left = 1117.5f, t.Top = 450, t.Alignment = TextAlignment::Centre;
                                        t.Caption = "Hello\r\nWorld\nand\rmore", t.FontName = "Ari\nal";
                                        t.FontBold = true, t.FontSize = 24, t.Shadow = true;
                                        t.ForeColor = static_cast<Colour>(0x80000005u);
                                        t.ShadowColor = static_cast<Colour>(0x80000008u);
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
            "\t\t<ForeColor>-2147483643</ForeColor>\r\n"
            "\t\t<Shadow>True</Shadow>\r\n"
            "\t\t<ShadowColor>-2147483640</Shadow>\r\n"
            "\t</TextItem>\r\n"
            "</ZEB Image File>\r\n");
  // Effects follow the classic lines, each only when it differs from its default.
  const std::string effects = WriteProjectText(WithItem("a.jpg", [](TextItem& t) {
    t.Outline = true, t.OutlineColor = -2147483643, t.OutlineWidth = 5, t.OutlineAt = OutlinePlacement::Centred;
    t.ShadowOffset = 0, t.ShadowBlur = 7, t.LetterSpacing = -10, t.LineHeight = 150;
    t.BoxWidth = 3000, t.BoxHeight = 900, t.FitToBox = true, t.MinFontSize = 7.5f, t.Arc = -90;
  }));
  EXPECT_NE(effects.find("</Shadow>\r\n\t\t<Outline>True</Outline>\r\n\t\t<OutlineColor>-2147483643</OutlineColor>\r\n"
                         "\t\t<OutlineWidth>5</OutlineWidth>\r\n\t\t<OutlinePlacement>1</OutlinePlacement>\r\n"
                         "\t\t<ShadowOffset>0</ShadowOffset>\r\n\t\t<ShadowBlur>7</ShadowBlur>\r\n"
                         "\t\t<LetterSpacing>-10</LetterSpacing>\r\n\t\t<LineHeight>150</LineHeight>\r\n"
                         "\t\t<BoxWidth>3000</BoxWidth>\r\n\t\t<BoxHeight>900</BoxHeight>\r\n\t\t<FitToBox>True</FitToBox>\r\n"
                         "\t\t<MinFontSize>7.5</MinFontSize>\r\n\t\t<Arc>-90</Arc>\r\n\t</TextItem>"),
            std::string::npos)
      << effects;
  EXPECT_EQ(WriteProjectText(WithItem("a.jpg", [](TextItem& t) { t.OutlineWidth = 3; })).find("<Outline>"),
            std::string::npos);
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
  std::string all;  // every byte survives the trip out and back
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = TextEncoding::Windows1252ToUtf8(all);
  ASSERT_TRUE(TextEncoding::FitsWindows1252(utf8));
  EXPECT_EQ(TextEncoding::Utf8ToWindows1252(utf8), all);
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
      if (i >= 2) t.BoxWidth = 1500 * i, t.BoxHeight = i == 2 ? 0 : 16777216, t.FitToBox = i % 2, t.MinFontSize = 4.5f * i, t.Arc = i == 4 ? -360 : 45;
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

class TemplatePath : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = std::filesystem::temp_directory_path() / ("lumora_library_" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_root);
    std::filesystem::create_directories(m_root / "templates" / "Banners" / "Summer");
    std::ofstream(m_root / "templates" / "Banners" / "Summer" / "Sea View.jpg") << "x";
    std::ofstream(m_root / "secret.jpg") << "outside";
  }
  void TearDown() override { std::filesystem::remove_all(m_root); }

  std::filesystem::path library() const { return m_root / "templates"; }
  std::filesystem::path sea() const { return library() / "Banners" / "Summer" / "Sea View.jpg"; }

  std::filesystem::path m_root;
};

// Either separator, empty and "." components skipped; letter case ignored only when nothing
// matches exactly, then the first in name order.
TEST_F(TemplatePath, FindsThePictureInTheLibrary) {
  for (const char* name : {"Banners\\Summer\\Sea View.jpg", "Banners/Summer/Sea View.jpg",
                           "Banners\\\\Summer\\.\\Sea View.jpg", "BANNERS\\summer\\sea view.JPG"})
    EXPECT_EQ(ResolveTemplatePath(library(), name), sea()) << name;
  std::ofstream(library() / "Banners" / "Summer" / "sea view.jpg") << "y";
  EXPECT_EQ(ResolveTemplatePath(library(), "Banners\\Summer\\sea view.jpg"), library() / "Banners" / "Summer" / "sea view.jpg");
  EXPECT_EQ(ResolveTemplatePath(library(), "Banners\\Summer\\Sea View.jpg"), sea());
  EXPECT_EQ(ResolveTemplatePath(library(), "Banners\\Summer\\SEA VIEW.JPG"), sea());
}

TEST_F(TemplatePath, NeverLeavesTheLibrary) {
  const std::pair<const char*, const char*> refused[] = {
      {"..\\secret.jpg", "outside"},         {"Banners\\..\\..\\secret.jpg", "outside"},
      {"Banners/../../secret.jpg", "outside"}, {"/etc/passwd", "absolute"},
      {"\\\\server\\share\\a.jpg", "absolute"}, {"C:\\a.jpg", "absolute"},
      {"", "no template"},                     {"\\", "absolute"},
      {".", "not a picture"},                  {"Banners\\Summer\\Missing.jpg", "not in the template library"},
      {"Banners\\Summer", "not a picture"}};
  for (const auto& [name, reason] : refused) {
    std::string problem;
    EXPECT_EQ(ResolveTemplatePath(library(), name, &problem), std::nullopt) << name;
    EXPECT_NE(problem.find(reason), std::string::npos) << name << ": " << problem;
  }
}

}  // namespace
}  // namespace lumora
