// The project reader: a whole file field by field, the files it refuses, every quirk of the
// format in one table, and the number rule.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/document/Document.h"
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

TEST(ProjectFileReader, ReadsEveryField) {
  const std::string text = kHeader +
                           "\t<Template>Covers\\Books\\blue.bmp</Template>\r\n\t<TextItem>\r\n\t\t<Left>1117.5</Left>\r\n"
                           "\t\t<Top>450</Top>\r\n\t\t<Alignment>2</Alignment>\r\n\t\t<Caption>Hello[/nl]World</Caption>\r\n"
                           "\t\t<FontName>Arial</FontName>\r\n\t\t<FontBold>True</FontBold>\r\n"
                           "\t\t<FontItalic>False</FontItalic>\r\n\t\t<FontSize>24</FontSize>\r\n"
                           "\t\t<FontUnderline>True</FontUnderline>\r\n\t\t<FontStrikethru>True</FontStrikethru>\r\n"
                           "\t\t<ForeColor>255</ForeColor>\r\n\t\t<Shadow>True</Shadow>\r\n"
                           "\t\t<ShadowColor>8421504</Shadow>\r\n\t</TextItem>\r\n" + kEnd;
  Document doc;
  std::vector<std::string> loaded;
  const auto result = ReadProjectText(text, doc, {[&](const std::string& name) { return loaded.push_back(name), true; }});
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_TRUE(result.Problems.empty());
  EXPECT_EQ(loaded, std::vector<std::string>{"Covers\\Books\\blue.bmp"});
  EXPECT_EQ(doc.TemplateName(), "Covers\\Books\\blue.bmp");
  ASSERT_EQ(doc.TextItems().size(), 1u);
  TextItem expected;
  expected.Index = 1, expected.Left = 1117.5f, expected.Top = 450, expected.Alignment = TextAlignment::Centre;
  expected.Caption = "Hello\r\nWorld", expected.FontName = "Arial", expected.FontBold = true, expected.FontSize = 24;
  expected.FontUnderline = expected.FontStrikethru = expected.Shadow = expected.Visible = true;
  expected.ForeColor = 255, expected.ShadowColor = 8421504;
  EXPECT_EQ(doc.TextItems()[0], expected);
  EXPECT_EQ(doc.CurrentIndex(), 1);
  EXPECT_TRUE(doc.DocumentOpen());
  EXPECT_FALSE(doc.Changed());
}

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

struct Quirk {
  const char* name;
  std::string text;
  std::function<void(const Document&, const ProjectReadResult&)> check;
};

const TextItem& At(const Document& d, size_t i) { return d.TextItems().at(i); }
std::vector<std::string> Captions(const Document& d) {
  std::vector<std::string> out;
  for (const TextItem& t : d.TextItems()) out.push_back(t.Caption);
  return out;
}
using Strings = std::vector<std::string>;

TEST(ProjectFileReader, Quirks) {
  const std::string unclosed = "\t<TextItem>\r\n\t\t<Caption>lost</Caption>\r\n\t\t<Shadow>True</Shadow>\r\n";
  const std::vector<Quirk> quirks = {
      {"LF line ends, no final line end", "<ZEB Image File>\n\t<TextItem>\n<Caption>x</Caption>\n\t</TextItem>\n</ZEB Image File>",
       [](auto& d, auto& r) {
         EXPECT_EQ(Captions(d), Strings{"x"});
         EXPECT_TRUE(At(d, 0).Visible);
         EXPECT_TRUE(r.Problems.empty());
       }},
      {"CR line ends", "<ZEB Image File>\r\t<TextItem>\r<Caption>x</Caption>\r\t</TextItem>\r</ZEB Image File>",
       [](auto& d, auto&) {
         EXPECT_EQ(Captions(d), Strings{"x"});
         EXPECT_TRUE(At(d, 0).Visible);
       }},
      {"new line marks, even typed ones", kHeader + Item("one[/nl]two") + Item("a [/nl] b[/nl]") + kEnd,
       [](auto& d, auto&) { EXPECT_EQ(Captions(d), (Strings{"one\r\ntwo", "a \r\n b\r\n"})); }},
      {"a caption ends at the first <", kHeader + Item("a<b") + Item("a>b>c") + Item("<b>bold") + kEnd,
       [](auto& d, auto&) { EXPECT_EQ(Captions(d), (Strings{"a", "a>b>c", ""})); }},
      {"an item without its closing line stays hidden", kHeader + Item("first") + unclosed + Item("third") + unclosed + kEnd,
       [](auto& d, auto& r) {
         ASSERT_EQ(d.TextItems().size(), 4u);
         EXPECT_EQ(std::vector<bool>({At(d, 0).Visible, At(d, 1).Visible, At(d, 2).Visible, At(d, 3).Visible}),
                   std::vector<bool>({true, false, true, false}));
         EXPECT_FALSE(At(d, 1).Shadow) << "the shadow is shown only by the closing line";
         EXPECT_EQ(d.CurrentIndex(), 4) << "the last item read is selected, hidden or not";
         EXPECT_EQ(r.Problems, (Strings{"Text item 2 has no closing line; it stays hidden.",
                                        "Text item 4 has no closing line; it stays hidden."}));
         EXPECT_NE(WriteProjectText(d).find("<Caption>lost</Caption>"), std::string::npos) << "saved again";
       }},
      {"missing lines keep the template item's values", kHeader + "\t<TextItem>\r\n\t</TextItem>\r\n" + kEnd,
       [](auto& d, auto&) {
         const TextItem& t = At(d, 0);
         EXPECT_EQ(std::make_tuple(t.Left, t.Top, t.Shadow, t.Caption, t.FontName, t.FontSize),
                   std::make_tuple(0.0f, 0.0f, false, std::string("text1"), std::string("Tahoma"), 9.0f));
         EXPECT_EQ(std::make_pair(static_cast<uint32_t>(t.ForeColor), t.ShadowColor), std::make_pair(0x80000008u, 0x808080));
       }},
      {"true is only the exact word True",
       kHeader + Item("x", "\t\t<FontBold>true</FontBold>\r\n\t\t<FontItalic>TRUE</FontItalic>\r\n\t\t<FontUnderline> True"
                           "</FontUnderline>\r\n\t\t<FontStrikethru>True</FontStrikethru>\r\n\t\t<Shadow>1</Shadow>\r\n") + kEnd,
       [](auto& d, auto&) {
         const TextItem& t = At(d, 0);
         EXPECT_EQ(std::vector<bool>({t.FontBold, t.FontItalic, t.FontUnderline, t.FontStrikethru, t.Shadow}),
                   std::vector<bool>({false, false, false, true, false}));
       }},
      {"stray lines and unknown tags are ignored",
       kHeader + "\t<Caption>stray</Caption>\r\n\t<Shadow>True</Shadow>\r\nno tag\r\n\r\n   \r\n<>\r\n<Sparkle>yes</Sparkle>\r\n" +
           Item("x", "\t\t<Colour>5</Colour>\r\n\t\t<left>7</left>\r\n") + kEnd,
       [](auto& d, auto&) {
         EXPECT_EQ(Captions(d), Strings{"x"});
         EXPECT_EQ(At(d, 0).Left, 100);
         EXPECT_FALSE(At(d, 0).Shadow) << "the pending shadow starts afresh with each item";
         EXPECT_EQ(d.TemplateItem().Caption, "text1");
       }},
      {"reading stops at the closing line", kHeader + Item("in") + kEnd + Item("after"),
       [](auto& d, auto& r) {
         EXPECT_EQ(Captions(d), Strings{"in"});
         EXPECT_TRUE(r.Problems.empty());
       }},
      {"a missing closing line of the file", kHeader + Item("x"),
       [](auto& d, auto& r) {
         EXPECT_EQ(Captions(d), Strings{"x"});
         EXPECT_EQ(r.Problems, Strings{"The file ends without \"</ZEB Image File>\"."});
       }},
      {"nested and unclosed tags",
       kHeader + Item("x", "\t\t<FontName><b>Arial</b></FontName>\r\n\t\t<Left>55\r\n\t\t<Top\r\n\t\t</TextItem\r\n") + kEnd,
       [](auto& d, auto&) {
         EXPECT_EQ(At(d, 0).FontName, "") << "the value ends at the first < after the tag";
         EXPECT_EQ(At(d, 0).Left, 0) << "a line without a closing tag has no value";
         EXPECT_EQ(At(d, 0).Top, 200);
       }},
      {"colours: signed system colours, no 32-bit colour, rounded",
       kHeader + Item("x", "\t\t<ForeColor>-2147483643</ForeColor>\r\n\t\t<ShadowColor>2147483656</Shadow>\r\n") +
           Item("y", "\t\t<ForeColor>99999999999</ForeColor>\r\n\t\t<ShadowColor>12.5</Shadow>\r\n") + kEnd,
       [](auto& d, auto&) {
         EXPECT_EQ(static_cast<uint32_t>(At(d, 0).ForeColor), 0x80000005u);
         EXPECT_EQ(static_cast<uint32_t>(At(d, 0).ShadowColor), 0x80000008u) << "written unsigned";
         EXPECT_EQ(std::make_pair(At(d, 1).ForeColor, At(d, 1).ShadowColor), std::make_pair(0, 12));
       }},
      {"numbers are clamped",
       kHeader + Item("a", "<FontSize>0</FontSize>\r\n<Left>99999999999</Left>\r\n") +
           Item("b", "<FontSize>100000</FontSize>\r\n<Top>-1e400</Top>\r\n") +
           Item("c", "<FontSize>big</FontSize>\r\n<Left>" + std::string(60, '9') + "</Left>\r\n") +
           Item("d", "<FontSize>9.75</FontSize>\r\n") + kEnd,
       [](auto& d, auto&) {
         EXPECT_EQ(std::make_pair(At(d, 0).FontSize, At(d, 0).Left), std::make_pair(1.0f, 16777216.0f));
         EXPECT_EQ(std::make_pair(At(d, 1).FontSize, At(d, 1).Top), std::make_pair(1638.0f, -1.0f));
         EXPECT_EQ(std::make_pair(At(d, 2).FontSize, At(d, 2).Left), std::make_pair(1.0f, 16777216.0f));
         EXPECT_EQ(At(d, 3).FontSize, 9.75f);
       }},
      {"alignments outside the three values read as left",
       kHeader + Item("a", "<Alignment>1</Alignment>\r\n") + Item("b", "<Alignment>7</Alignment>\r\n") +
           Item("c", "<Alignment>1.6</Alignment>\r\n") + kEnd,
       [](auto& d, auto&) {
         EXPECT_EQ(std::make_tuple(At(d, 0).Alignment, At(d, 1).Alignment, At(d, 2).Alignment),
                   std::make_tuple(TextAlignment::Right, TextAlignment::Left, TextAlignment::Centre));
       }},
      {"Windows-1252", kHeader + "\t<Template>Caf\xE9\\a.jpg</Template>\r\n" + Item("\x80 \x93q\x94 \x81") + kEnd,
       [](auto& d, auto&) {
         EXPECT_EQ(d.TemplateName(), "Caf\xC3\xA9\\a.jpg");
         EXPECT_EQ(Captions(d), Strings{"\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC2\x81"});
       }},
      {"UTF-8 when valid with a multi-byte character", kHeader + Item("\xCE\xA9 \xC3\xA9") + kEnd,
       [](auto& d, auto&) { EXPECT_EQ(Captions(d), Strings{"\xCE\xA9 \xC3\xA9"}); }},
      {"a broken UTF-8 sequence makes the whole file Windows-1252", kHeader + Item("\xC3\xA9") + Item("\xC3") + kEnd,
       [](auto& d, auto&) { EXPECT_EQ(Captions(d), (Strings{"\xC3\x83\xC2\xA9", "\xC3\x83"})); }},
      {"a byte-order mark is skipped", "\xEF\xBB\xBF" + kHeader + Item("caf\xC3\xA9") + kEnd,
       [](auto& d, auto&) { EXPECT_EQ(Captions(d), Strings{"caf\xC3\xA9"}); }},
      {"a byte-order mark does not make broken UTF-8 valid", "\xEF\xBB\xBF" + kHeader + Item("caf\xE9") + kEnd,
       [](auto& d, auto&) { EXPECT_EQ(Captions(d), Strings{"caf\xC3\xA9"}); }},
  };
  for (const Quirk& q : quirks) {
    SCOPED_TRACE(q.name);
    Document doc;
    doc.StartNewDocument("Old\\pic.jpg");
    doc.EditItem(0, [](TextItem& t) { t.FontName = "Tahoma", t.FontSize = 9; });
    const auto result = ReadProjectText(q.text, doc);
    ASSERT_TRUE(result.Ok) << result.Error;
    q.check(doc, result);
    if (q.text.find("<Template>") == std::string::npos) {
      EXPECT_EQ(doc.TemplateName(), "Old\\pic.jpg") << "no Template line keeps the template";
    }
  }
}

TEST(ProjectFileReader, ATemplateThatCannotBeLoadedIsAProblemNotAFailure) {
  Document doc;
  const auto result = ReadProjectText(kHeader + "\t<Template>gone\\x.jpg</Template>\r\n" + kEnd, doc,
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

}  // namespace
}  // namespace lumora
