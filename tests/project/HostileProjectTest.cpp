// Hostile project files: each gets a defined result, in bounded time and memory.
#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;

#include "app/document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

const std::string kHeader = "<ZEB Image File>\r\n";

TEST(HostileProject, LongValuesAreCutBetweenCharactersAndNoted) {
  std::string text = kHeader + "\t<TextItem>\r\n\t\t<Caption>";
  text.append(50u << 20, 'x');
  text += "</Caption>\r\n\t</TextItem>\r\n<TextItem>\r\n<Caption>";
  for (size_t n = 0; n < kMaxTextValueBytes / 3 + 10; ++n) text += "\xE2\x82\xAC";  // 3 bytes a character
  Document doc;
  const auto result = ReadProjectText(text + "</Caption>\r\n</TextItem>\r\n</ZEB Image File>\r\n", doc);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(doc.TextItems()[0].Caption.size(), kMaxTextValueBytes);
  const std::string& euros = doc.TextItems()[1].Caption;
  EXPECT_EQ(euros.size() % 3, 0u);
  EXPECT_GT(euros.size(), kMaxTextValueBytes - 3);
  EXPECT_EQ(result.Problems, (std::vector<std::string>{"Line 3: the value is cut to 65536 bytes.",
                                                       "Line 6: the value is cut to 65535 bytes."}));
}

TEST(HostileProject, AHundredThousandItemsStopAtTheIndexLimit) {
  std::string text = kHeader;
  for (int i = 0; i < 100000; ++i)
    text += "\t<TextItem>\r\n\t\t<Caption>" + std::to_string(i) + "</Caption>\r\n\t\t<Left>" + std::to_string(i) +
            "</Left>\r\n\t</TextItem>\r\n";
  text += "</ZEB Image File>\r\n";
  Document doc;
  const auto result = ReadProjectText(text, doc);
  ASSERT_TRUE(result.Ok);
  ASSERT_EQ(doc.TextItems().size(), static_cast<size_t>(Document::kMaxItems));
  EXPECT_EQ(doc.TextItems().back().Caption, std::to_string(Document::kMaxItems - 1))
      << "the ignored items' properties do not land on the last item";
  EXPECT_EQ(doc.TextItems().back().Left, Document::kMaxItems - 1);
  EXPECT_EQ(doc.CurrentIndex(), Document::kMaxItems);
  ASSERT_EQ(result.Problems.size(), 1u);
  EXPECT_NE(result.Problems[0].find("more than 32767 text items"), std::string::npos);
}

TEST(HostileProject, NulBytesAreDroppedAndNoted) {
  const std::string text = kHeader + std::string("\t<Text\0Item>\r\n\t\t<Caption>a\0b</Caption>\r\n\t</TextItem>\r\n", 51);
  Document doc;
  const auto result = ReadProjectText(text, doc);
  ASSERT_TRUE(result.Ok);
  ASSERT_EQ(doc.TextItems().size(), 1u);
  EXPECT_EQ(doc.TextItems()[0].Caption, "ab");
  EXPECT_EQ(result.Problems.front(), "Line 2: NUL bytes are ignored.");
}

TEST(HostileProject, EndlessTemplateLinesLoadOnlyAFewPictures) {
  std::string text = kHeader;
  for (int i = 0; i < 100000; ++i) text += "\t<Template>t" + std::to_string(i % 2) + ".jpg</Template>\r\n";
  int loads = 0;
  Document doc;
  const auto result = ReadProjectText(text, doc, {[&](const std::string&) { return ++loads, true; }});
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(loads, 8);
  EXPECT_EQ(doc.TemplateName(), "t1.jpg");
  EXPECT_EQ(result.Problems.front(), "Line 10: further Template lines are ignored.");
}

TEST(HostileProject, TheProblemListIsBounded) {
  std::string text = kHeader;
  for (int i = 0; i < 5000; ++i) text += "<TextItem>\r\n<Caption>\0</Caption>\r\n"s;
  Document doc;
  const auto result = ReadProjectText(text, doc);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(result.Problems.size(), kMaxProblems + 1);
  EXPECT_EQ(result.Problems.back(), "Further problems are not listed.");
}

TEST(HostileProject, RandomBytesAfterAValidHeaderNeverBreakTheReader) {
  std::mt19937 random(20261206);
  const std::string alphabet = "<>/[]nl\r\n\t 0123456789.-+TrueFalsTextItemCaptionLeftTopShadow\0\xC3\xA9\x80\xFF"s;
  for (int round = 0; round < 200; ++round) {
    std::string text = kHeader;
    const int length = static_cast<int>(random() % 4000);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    Document doc;
    const auto result = ReadProjectText(text, doc);
    ASSERT_TRUE(result.Ok);
    // Whatever was read writes out and reads back to the same bytes.
    const std::string written = WriteProjectText(doc);
    Document again;
    ASSERT_TRUE(ReadProjectText(written, again).Ok);
    ASSERT_EQ(WriteProjectText(again), written) << "round " << round;
    for (const TextItem& t : doc.TextItems()) {
      ASSERT_LE(std::abs(t.Left), TextItem::kMaxPosition);
      ASSERT_GE(t.FontSize, TextItem::kMinFontSize);
      ASSERT_LE(t.FontSize, TextItem::kMaxFontSize);
    }
  }
}

}  // namespace
}  // namespace lumora
