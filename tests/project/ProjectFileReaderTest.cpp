#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

std::string lines(std::initializer_list<const char*> parts) {
  std::string out;
  for (const char* p : parts) out += std::string(p) + "\r\n";
  return out;
}

// A complete item block with the given caption and anything else inserted before its closing line.
std::string item(const std::string& caption, const std::string& extra = {}) {
  return "\t<TextItem>\r\n\t\t<Left>100</Left>\r\n\t\t<Top>200</Top>\r\n\t\t<Caption>" + caption +
         "</Caption>\r\n" + extra + "\t</TextItem>\r\n";
}

const std::string kHeader = "<ZEB Image File>\r\n";
const std::string kEnd = "</ZEB Image File>\r\n";

ProjectReadResult read(const std::string& text, Document& doc, const ProjectReadCallbacks& callbacks = {}) {
  return ReadProjectText(text, doc, callbacks);
}

TEST(ProjectFileReader, ReadsWhatTheWriterWrote) {
  const std::string text = lines({"<ZEB Image File>", "\t<Template>Covers\\Books\\blue.bmp</Template>",
                                  "\t<TextItem>", "\t\t<Left>1117.5</Left>", "\t\t<Top>450</Top>",
                                  "\t\t<Alignment>2</Alignment>", "\t\t<Caption>Hello[/nl]World</Caption>",
                                  "\t\t<FontName>Arial</FontName>", "\t\t<FontBold>True</FontBold>",
                                  "\t\t<FontItalic>False</FontItalic>", "\t\t<FontSize>24</FontSize>",
                                  "\t\t<FontUnderline>True</FontUnderline>",
                                  "\t\t<FontStrikethru>True</FontStrikethru>", "\t\t<ForeColor>255</ForeColor>",
                                  "\t\t<Shadow>True</Shadow>", "\t\t<ShadowColor>8421504</Shadow>", "\t</TextItem>",
                                  "</ZEB Image File>"});
  Document doc;
  std::vector<std::string> loaded;
  const auto result = read(text, doc, {[&](const std::string& name) {
                             loaded.push_back(name);
                             return true;
                           }});
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_TRUE(result.Problems.empty());
  EXPECT_EQ(loaded, std::vector<std::string>{"Covers\\Books\\blue.bmp"});
  EXPECT_EQ(doc.TemplateName(), "Covers\\Books\\blue.bmp");
  ASSERT_EQ(doc.TextItems().size(), 1u);
  const TextItem& t = doc.TextItems()[0];
  EXPECT_EQ(t.Index, 1);
  EXPECT_EQ(t.Left, 1117.5f);
  EXPECT_EQ(t.Top, 450);
  EXPECT_EQ(t.Alignment, TextAlignment::Centre);
  EXPECT_EQ(t.Caption, "Hello\r\nWorld");
  EXPECT_EQ(t.FontName, "Arial");
  EXPECT_TRUE(t.FontBold);
  EXPECT_FALSE(t.FontItalic);
  EXPECT_TRUE(t.FontUnderline);
  EXPECT_TRUE(t.FontStrikethru);
  EXPECT_EQ(t.FontSize, 24);
  EXPECT_EQ(t.ForeColor, 255);
  EXPECT_TRUE(t.Shadow);
  EXPECT_EQ(t.ShadowColor, 8421504);
  EXPECT_TRUE(t.Visible);
  EXPECT_EQ(t.ShadowLeft(), 1117.5f + 30 + 0.5f) << "24 pt: two pixels, rounded half to even";
  EXPECT_EQ(doc.CurrentIndex(), 1);
  EXPECT_TRUE(doc.DocumentOpen());
  EXPECT_FALSE(doc.Changed());
}

// Files the reader refuses: the document stays exactly as it was.
struct RefusedCase {
  const char* name;
  std::string text;
};

class RefusedFile : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFile, LeavesTheDocumentAsItWas) {
  Document doc;
  doc.StartNewDocument("keep.jpg");
  doc.CreateItem();
  const Document before = doc;
  const auto result = read(GetParam().text, doc);
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(result.Error.empty());
  EXPECT_EQ(doc, before);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RefusedFile,
    ::testing::Values(RefusedCase{"Empty", ""}, RefusedCase{"TrailingBlank", "<ZEB Image File> \r\n" + kEnd},
                      RefusedCase{"LeadingBlank", " <ZEB Image File>\r\n" + kEnd},
                      RefusedCase{"LeadingTab", "\t<ZEB Image File>\r\n" + kEnd},
                      RefusedCase{"LetterCase", "<ZEB image file>\r\n" + kEnd},
                      RefusedCase{"BlankFirstLine", "\r\n" + kHeader + kEnd},
                      RefusedCase{"NulInHeader", std::string("<ZEB Image\0 File>\r\n", 19) + kEnd},
                      RefusedCase{"Binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
                      RefusedCase{"OtherTag", "<Template>a.jpg</Template>\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectFileReader, AcceptsAllLineEndsAndAMissingFinalLineBreak) {
  for (const char* end : {"\r\n", "\n", "\r"}) {
    const std::string e(end);
    const std::string text = "<ZEB Image File>" + e + "\t<TextItem>" + e + "\t\t<Caption>x</Caption>" + e +
                             "\t</TextItem>" + e + "</ZEB Image File>";
    Document doc;
    const auto result = read(text, doc);
    ASSERT_TRUE(result.Ok) << "line end " << int(end[0]);
    ASSERT_EQ(doc.TextItems().size(), 1u);
    EXPECT_EQ(doc.TextItems()[0].Caption, "x");
    EXPECT_TRUE(doc.TextItems()[0].Visible);
    EXPECT_TRUE(result.Problems.empty());
  }
}

TEST(ProjectFileReader, NewLineMarksBecomeLineBreaksEvenWhenTheUserTypedThem) {
  Document doc;
  ASSERT_TRUE(read(kHeader + item("one[/nl]two") + item("a [/nl] b[/nl]") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption, "one\r\ntwo");
  EXPECT_EQ(doc.TextItems()[1].Caption, "a \r\n b\r\n");
}

TEST(ProjectFileReader, ACaptionEndsAtTheFirstLessThanSignButKeepsGreaterThanSigns) {
  Document doc;
  ASSERT_TRUE(read(kHeader + item("a<b") + item("a>b>c") + item("<b>bold") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption, "a");
  EXPECT_EQ(doc.TextItems()[1].Caption, "a>b>c");
  EXPECT_EQ(doc.TextItems()[2].Caption, "");
}

TEST(ProjectFileReader, AnItemWithoutItsClosingLineStaysHiddenButIsKept) {
  Document doc;
  const std::string unclosed = "\t<TextItem>\r\n\t\t<Caption>lost</Caption>\r\n\t\t<Shadow>True</Shadow>\r\n";
  const auto result = read(kHeader + item("first") + unclosed + item("third") + unclosed + kEnd, doc);
  ASSERT_TRUE(result.Ok);
  ASSERT_EQ(doc.TextItems().size(), 4u);
  EXPECT_TRUE(doc.TextItems()[0].Visible);
  EXPECT_FALSE(doc.TextItems()[1].Visible);
  EXPECT_FALSE(doc.TextItems()[1].Shadow) << "the shadow is shown only by the closing line";
  EXPECT_TRUE(doc.TextItems()[2].Visible);
  EXPECT_FALSE(doc.TextItems()[3].Visible);
  EXPECT_EQ(doc.CurrentIndex(), 4) << "the last item read is selected, hidden or not";
  EXPECT_EQ(result.Problems, (std::vector<std::string>{"Text item 2 has no closing line; it stays hidden.",
                                                       "Text item 4 has no closing line; it stays hidden."}));
  EXPECT_NE(WriteProjectText(doc).find("<Caption>lost</Caption>"), std::string::npos) << "saved again";
}

TEST(ProjectFileReader, MissingLinesLeaveTheTemplateItemsValues) {
  Document doc;
  doc.EditItem(0, [](TextItem& t) { t.FontName = "Tahoma"; t.FontSize = 9; t.FontBold = true; });
  ASSERT_TRUE(read(kHeader + "\t<TextItem>\r\n\t</TextItem>\r\n" + kEnd, doc).Ok);
  const TextItem& t = doc.TextItems()[0];
  EXPECT_EQ(t.Left, 0);
  EXPECT_EQ(t.Top, 0);
  EXPECT_FALSE(t.Shadow);
  EXPECT_EQ(t.FontName, "Tahoma");
  EXPECT_EQ(t.FontSize, 9);
  EXPECT_TRUE(t.FontBold);
  EXPECT_EQ(t.Caption, "text1");
  EXPECT_EQ(static_cast<uint32_t>(t.ForeColor), 0x80000008u);
  EXPECT_EQ(t.ShadowColor, 0x808080);
}

TEST(ProjectFileReader, BooleansAreTrueOnlyForTheExactWordTrue) {
  Document doc;
  const std::string extra =
      "\t\t<FontBold>true</FontBold>\r\n\t\t<FontItalic>TRUE</FontItalic>\r\n"
      "\t\t<FontUnderline> True</FontUnderline>\r\n\t\t<FontStrikethru>True</FontStrikethru>\r\n"
      "\t\t<Shadow>1</Shadow>\r\n";
  ASSERT_TRUE(read(kHeader + item("x", extra) + kEnd, doc).Ok);
  const TextItem& t = doc.TextItems()[0];
  EXPECT_FALSE(t.FontBold);
  EXPECT_FALSE(t.FontItalic);
  EXPECT_FALSE(t.FontUnderline);
  EXPECT_TRUE(t.FontStrikethru);
  EXPECT_FALSE(t.Shadow);
}

TEST(ProjectFileReader, AFileWithoutATemplateLineKeepsTheTemplate) {
  Document doc;
  doc.StartNewDocument("Old\\pic.jpg");
  bool called = false;
  ASSERT_TRUE(read(kHeader + item("x") + kEnd, doc, {[&](const std::string&) { return called = true; }}).Ok);
  EXPECT_FALSE(called);
  EXPECT_EQ(doc.TemplateName(), "Old\\pic.jpg");
}

TEST(ProjectFileReader, ATemplateThatCannotBeLoadedIsAProblemNotAFailure) {
  Document doc;
  const auto result = read(kHeader + "\t<Template>gone\\x.jpg</Template>\r\n" + kEnd, doc,
                           {[](const std::string&) { return false; }});
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(doc.TemplateName(), "gone\\x.jpg");
  EXPECT_EQ(result.Problems, std::vector<std::string>{"The template \"gone\\x.jpg\" could not be loaded."});
}

TEST(ProjectFileReader, OpeningTheSameFileTwiceGivesTheSameDocumentWithIndicesRenumbered) {
  Document doc;
  for (int i = 0; i < 5; ++i) doc.CreateItem();
  for (int index : {1, 2, 4}) {
    doc.Select(index);
    doc.DeleteCurrentTextItem();
  }
  doc.SendToBack(5);
  const std::string text = WriteProjectText(doc);
  Document first, second;
  first.CreateItem();
  ASSERT_TRUE(read(text, first).Ok);
  ASSERT_TRUE(read(text, second).Ok);
  EXPECT_EQ(first, second);
  ASSERT_EQ(first.TextItems().size(), 2u);
  EXPECT_EQ(first.TextItems()[0].Index, 1);
  EXPECT_EQ(first.TextItems()[1].Index, 2);
}

TEST(ProjectFileReader, PropertyLinesBeforeTheFirstItemAndUnknownTagsAreIgnored) {
  Document doc;
  const std::string text = kHeader + "\t<Caption>stray</Caption>\r\n\t<Shadow>True</Shadow>\r\n" +
                           "no tag at all\r\n\r\n   \r\n<>\r\n<Sparkle>yes</Sparkle>\r\n" +
                           item("x", "\t\t<Colour>5</Colour>\r\n\t\t<left>7</left>\r\n") + kEnd;
  ASSERT_TRUE(read(text, doc).Ok);
  ASSERT_EQ(doc.TextItems().size(), 1u);
  EXPECT_EQ(doc.TextItems()[0].Caption, "x");
  EXPECT_EQ(doc.TextItems()[0].Left, 100);
  EXPECT_FALSE(doc.TextItems()[0].Shadow) << "the pending shadow starts afresh with each item";
  EXPECT_EQ(doc.TemplateItem().Caption, "text1");
}

TEST(ProjectFileReader, ReadingStopsAtTheClosingLine) {
  Document doc;
  const auto result = read(kHeader + item("in") + kEnd + item("after"), doc);
  ASSERT_TRUE(result.Ok);
  ASSERT_EQ(doc.TextItems().size(), 1u);
  EXPECT_TRUE(result.Problems.empty());
}

TEST(ProjectFileReader, AMissingClosingLineOfTheFileIsAProblem) {
  Document doc;
  const auto result = read(kHeader + item("x"), doc);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(doc.TextItems().size(), 1u);
  EXPECT_EQ(result.Problems, std::vector<std::string>{"The file ends without \"</ZEB Image File>\"."});
}

TEST(ProjectFileReader, NestedAndUnclosedTagsGetADefinedResult) {
  Document doc;
  const std::string extra =
      "\t\t<FontName><b>Arial</b></FontName>\r\n\t\t<Left>55\r\n\t\t<Top\r\n\t\t</TextItem\r\n";
  ASSERT_TRUE(read(kHeader + item("x", extra) + kEnd, doc).Ok);
  const TextItem& t = doc.TextItems()[0];
  EXPECT_EQ(t.FontName, "") << "the value ends at the first \"<\" after the tag";
  EXPECT_EQ(t.Left, 0) << "a line without a closing tag has no value";
  EXPECT_EQ(t.Top, 200);
}

TEST(ProjectFileReader, SystemColoursComeBackFromTheirSignedForm) {
  Document doc;
  const std::string extra =
      "\t\t<ForeColor>-2147483643</ForeColor>\r\n\t\t<ShadowColor>2147483656</Shadow>\r\n";
  const std::string extra2 = "\t\t<ForeColor>99999999999</ForeColor>\r\n\t\t<ShadowColor>12.5</Shadow>\r\n";
  ASSERT_TRUE(read(kHeader + item("x", extra) + item("y", extra2) + kEnd, doc).Ok);
  EXPECT_EQ(static_cast<uint32_t>(doc.TextItems()[0].ForeColor), 0x80000005u);
  EXPECT_EQ(static_cast<uint32_t>(doc.TextItems()[0].ShadowColor), 0x80000008u) << "written unsigned";
  EXPECT_EQ(doc.TextItems()[1].ForeColor, 0) << "no 32-bit colour";
  EXPECT_EQ(doc.TextItems()[1].ShadowColor, 12) << "rounded half to even";
}

struct ClampCase {
  const char* name;
  const char* line;
  float TextItem::*field;
  float expected;
};

class ClampedNumber : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampedNumber, StaysWithinBounds) {
  Document doc;
  ASSERT_TRUE(read(kHeader + item("x", std::string("\t\t") + GetParam().line + "\r\n") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ClampedNumber,
    ::testing::Values(ClampCase{"SizeZero", "<FontSize>0</FontSize>", &TextItem::FontSize, 1},
                      ClampCase{"SizeText", "<FontSize>big</FontSize>", &TextItem::FontSize, 1},
                      ClampCase{"SizeHuge", "<FontSize>100000</FontSize>", &TextItem::FontSize, 1638},
                      ClampCase{"SizeFraction", "<FontSize>9.75</FontSize>", &TextItem::FontSize, 9.75f},
                      ClampCase{"LeftHuge", "<Left>99999999999</Left>", &TextItem::Left, 16777216},
                      ClampCase{"TopHugeNegative", "<Top>-1e400</Top>", &TextItem::Top, -1},
                      ClampCase{"LeftEndless", "<Left>9999999999999999999999999999999999999999999999999999</Left>",
                                &TextItem::Left, 16777216}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectFileReader, AlignmentsOutsideTheThreeValuesReadAsLeft) {
  Document doc;
  ASSERT_TRUE(read(kHeader + item("a", "\t\t<Alignment>1</Alignment>\r\n") +
                       item("b", "\t\t<Alignment>7</Alignment>\r\n") + item("c", "\t\t<Alignment>1.6</Alignment>\r\n") +
                       kEnd,
                   doc)
                  .Ok);
  EXPECT_EQ(doc.TextItems()[0].Alignment, TextAlignment::Right);
  EXPECT_EQ(doc.TextItems()[1].Alignment, TextAlignment::Left);
  EXPECT_EQ(doc.TextItems()[2].Alignment, TextAlignment::Centre) << "rounded";
}

TEST(ProjectFileReader, ReadsWindows1252AsSuch) {
  Document doc;
  ASSERT_TRUE(read(kHeader + "\t<Template>Caf\xE9\\a.jpg</Template>\r\n" + item("\x80 \x93quoted\x94 \x81") + kEnd, doc)
                  .Ok);
  EXPECT_EQ(doc.TemplateName(), "Caf\xC3\xA9\\a.jpg");
  EXPECT_EQ(doc.TextItems()[0].Caption, "\xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D \xC2\x81");
}

TEST(ProjectFileReader, ReadsUtf8WhenTheFileIsValidUtf8WithAMultiByteCharacter) {
  Document doc;
  ASSERT_TRUE(read(kHeader + item("\xCE\xA9 \xC3\xA9") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption, "\xCE\xA9 \xC3\xA9");
}

TEST(ProjectFileReader, ABrokenUtf8SequenceMakesTheWholeFileWindows1252) {
  Document doc;
  ASSERT_TRUE(read(kHeader + item("\xC3\xA9") + item("\xC3") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption, "\xC3\x83\xC2\xA9");
  EXPECT_EQ(doc.TextItems()[1].Caption, "\xC3\x83");
}

TEST(ProjectFileReader, AByteOrderMarkIsSkippedButDoesNotMakeBrokenUtf8Valid) {
  Document doc;
  ASSERT_TRUE(read("\xEF\xBB\xBF" + kHeader + item("caf\xC3\xA9") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption, "caf\xC3\xA9");
  ASSERT_TRUE(read("\xEF\xBB\xBF" + kHeader + item("caf\xE9") + kEnd, doc).Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption, "caf\xC3\xA9");
}

TEST(ProjectFileReader, ASingleByteCaptionThatLooksLikeUtf8SurvivesARoundTrip) {
  Document doc;
  doc.CreateItem();
  doc.SetCaption(1, "\xC3\x83\xC2\xA9 and \xC3\xA9");  // "Ã© and é"
  Document back;
  ASSERT_TRUE(read(WriteProjectText(doc), back).Ok);
  EXPECT_EQ(back.TextItems()[0].Caption, doc.TextItems()[0].Caption);
}

struct TagCase {
  const char* line;
  const char* tag;
  const char* value;
};

class LineHelpers : public ::testing::TestWithParam<TagCase> {};

TEST_P(LineHelpers, GetTagAndStripTags) {
  EXPECT_EQ(GetTag(GetParam().line), GetParam().tag);
  EXPECT_EQ(StripTags(GetParam().line), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineHelpers,
    ::testing::Values(TagCase{"<Left>1117.5</Left>", "Left", "1117.5"}, TagCase{"</TextItem>", "/TextItem", ""},
                      TagCase{"\t\t<Caption>a>b</Caption>", "Caption", "a>b"},
                      TagCase{"<Caption>a<b</Caption>", "Caption", "a"},
                      TagCase{"<ShadowColor>8421504</Shadow>", "ShadowColor", "8421504"},
                      TagCase{"<Left>12", "Left", ""}, TagCase{"no tags", "", ""}, TagCase{"<open", "", ""},
                      TagCase{"x>y<z", "", "y"}, TagCase{"", "", ""}, TagCase{"<>", "", ""},
                      TagCase{"<a><b>c</b></a>", "a", ""}));

struct NumberCase {
  const char* text;
  double value;
};

class NumberRule : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberRule, ReadsTheLongestLeadingDecimalNumber) { EXPECT_EQ(ReadNumber(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberRule,
    ::testing::Values(NumberCase{"1117.5", 1117.5}, NumberCase{"-30", -30}, NumberCase{"+7", 7},
                      NumberCase{"  12.5abc", 12.5}, NumberCase{"abc", 0}, NumberCase{"", 0},
                      NumberCase{"-", 0}, NumberCase{".", 0}, NumberCase{".5", 0.5}, NumberCase{"5.", 5},
                      NumberCase{"1.2.3", 1.2}, NumberCase{"1 000", 1000}, NumberCase{"- 3", -3},
                      NumberCase{"1e5", 1}, NumberCase{"1,5", 1}, NumberCase{"0x10", 0},
                      NumberCase{"007", 7}, NumberCase{"-0.000125", -0.000125}, NumberCase{"--1", 0},
                      NumberCase{"2147483656", 2147483656.0}));

TEST(NumberRule, EndlessDigitsStayFinite) {
  EXPECT_EQ(ReadNumber(std::string(100000, '9')), 1e300);
  EXPECT_EQ(ReadNumber("-" + std::string(100000, '9')), -1e300);
  EXPECT_EQ(ReadNumber("0." + std::string(100000, '0') + "1"), 0);
  EXPECT_EQ(ReadNumber(std::string(100000, '0') + "42"), 42);
  EXPECT_NEAR(ReadNumber("3." + std::string(100000, '3')), 10.0 / 3, 1e-15);
}

TEST(SetItemProperty, AppliesTheReadersRulesToOneField) {
  TextItem t;
  EXPECT_TRUE(SetItemProperty(t, "Caption", "Summer[/nl]sale"));
  EXPECT_EQ(t.Caption, "Summer\r\nsale");
  EXPECT_TRUE(SetItemProperty(t, "Shadow", "True"));
  EXPECT_TRUE(t.Shadow);
  EXPECT_TRUE(SetItemProperty(t, "FontSize", "5000"));
  EXPECT_EQ(t.FontSize, 1638);
  const TextItem before = t;
  EXPECT_FALSE(SetItemProperty(t, "Visible", "True"));
  EXPECT_FALSE(SetItemProperty(t, "Index", "9"));
  EXPECT_EQ(t, before);
}

}  // namespace
}  // namespace lumora
