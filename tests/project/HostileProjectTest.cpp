// Hostile project files: each gets a defined result, with its problems noted, in bounded time and
// memory; random bytes after a valid header read and write back stably.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "app/document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

using namespace std::string_literals;

namespace lumora {
namespace {

const std::string kHeader = "<ZEB Image File>\r\n";
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

TEST(HostileProject, RandomBytesAfterAValidHeaderReadAndWriteBackStably) {
  std::mt19937 random(20261206);
  const std::string alphabet = "<>/[]nl\r\n\t 0123456789.-+TrueFalsTextItemCaptionLeftTopShadow\0\xC3\xA9\x80\xFF"s;
  for (int round = 0; round < 200; ++round) {
    std::string text = kHeader;
    for (int i = static_cast<int>(random() % 4000); i > 0; --i) text += alphabet[random() % alphabet.size()];
    Document doc, again;
    ASSERT_TRUE(ReadProjectText(text, doc).Ok);
    const std::string written = WriteProjectText(doc);
    ASSERT_TRUE(ReadProjectText(written, again).Ok);
    ASSERT_EQ(WriteProjectText(again), written) << "round " << round;
    for (const TextItem& t : doc.TextItems()) {
      ASSERT_LE(std::abs(t.Left), TextItem::kMaxPosition);
      ASSERT_TRUE(t.FontSize >= TextItem::kMinFontSize && t.FontSize <= TextItem::kMaxFontSize);
    }
  }
}

}  // namespace
}  // namespace lumora
