// The project reader: the files it refuses, the quirks of the format, hostile files with a
// defined result in bounded time and memory, and the number rule. The writer's tests read every
// field back.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

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
                         {"<LetterSpacing>-99999999999</LetterSpacing>", &TextItem::LetterSpacing, -50}, {"<LineHeight>x</LineHeight>", &TextItem::LineHeight, 25}})
    EXPECT_EQ(ReadOne(c.line + "\r\n").*c.field, c.value) << c.line;
  for (const auto& [line, offset] : {std::pair{"<ShadowOffset>-500</ShadowOffset>", std::optional(-100)}, {"<ShadowOffset> </ShadowOffset>", std::nullopt}})
    EXPECT_EQ(ReadOne(std::string(line) + "\r\n").ShadowOffset, offset) << line;
  EXPECT_EQ(ReadOne("<OutlinePlacement>7</OutlinePlacement>\r\n").OutlineAt, OutlinePlacement::Outside);
  const TextItem w = ReadOne("<ForeColor>99999999999</ForeColor>\r\n<ShadowColor>12.5</Shadow>\r\n");
  EXPECT_EQ(std::make_pair(w.ForeColor, w.ShadowColor), std::make_pair(0, 12)) << "no 32-bit colour; rounded half to even";
}

// An item without its closing line stays hidden, without its shadow, and is saved again; the
// file's own missing closing line is a problem.
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
}

TEST(ProjectFileReader, ATemplateThatCannotBeLoadedIsAProblemNotAFailure) {
  Document doc;
  const auto result = ReadProjectText(kHeader + "\t<Template>gone\\x.jpg</Template>\r\n" + kEnd, doc,
                                      {[](const std::string&) { return false; }});
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(doc.TemplateName(), "gone\\x.jpg");
  EXPECT_EQ(result.Problems, std::vector<std::string>{"The template \"gone\\x.jpg\" could not be loaded."});
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

}  // namespace
}  // namespace lumora
