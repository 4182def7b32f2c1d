#include <gtest/gtest.h>

#include "project/TextEncoding.h"

namespace lumora {
namespace {

using namespace TextEncoding;

TEST(TextEncoding, Utf8NeedsValidSequencesAndAtLeastOneMultiByteCharacter) {
  EXPECT_FALSE(LooksLikeUtf8("plain ascii"));
  EXPECT_FALSE(LooksLikeUtf8(""));
  EXPECT_TRUE(LooksLikeUtf8("caf\xC3\xA9"));
  EXPECT_TRUE(LooksLikeUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(LooksLikeUtf8("caf\xE9"));                 // a Windows-1252 e-acute
  EXPECT_FALSE(LooksLikeUtf8("\xC3"));                    // cut short
  EXPECT_FALSE(LooksLikeUtf8("\xC0\xAF"));                // overlong "/"
  EXPECT_FALSE(LooksLikeUtf8("\xE0\x80\xAF"));            // overlong
  EXPECT_FALSE(LooksLikeUtf8("\xED\xA0\x80"));            // a surrogate
  EXPECT_FALSE(LooksLikeUtf8("\xF4\x90\x80\x80"));        // beyond U+10FFFF
  EXPECT_FALSE(LooksLikeUtf8("\xC3\xA9\x80"));            // a stray continuation byte
}

TEST(TextEncoding, Windows1252MapsEveryByte) {
  EXPECT_EQ(Windows1252ToUtf8("A\x80\x9F\xA0\xFF"), "A\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF");
  EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  // Every byte survives the trip out and back.
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Windows1252ToUtf8(all);
  ASSERT_TRUE(FitsWindows1252(utf8));
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(TextEncoding, CharactersOutsideWindows1252DoNotFit) {
  EXPECT_TRUE(FitsWindows1252("\xE2\x82\xAC \xC3\xA9"));
  EXPECT_FALSE(FitsWindows1252("\xCE\xA9"));          // Greek omega
  EXPECT_FALSE(FitsWindows1252("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(FitsWindows1252("\xFF"));              // not UTF-8 at all
}

TEST(TextEncoding, SanitizeReplacesBrokenSequences) {
  EXPECT_EQ(SanitizeUtf8("a\xFF" "b\xC3"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(SanitizeUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(TextEncoding, TruncateNeverSplitsACharacter) {
  EXPECT_EQ(TruncateUtf8("ab\xE2\x82\xAC", 4), "ab");
  EXPECT_EQ(TruncateUtf8("ab\xE2\x82\xAC", 5), "ab\xE2\x82\xAC");
  EXPECT_EQ(TruncateUtf8("abc", 2), "ab");
  EXPECT_EQ(TruncateUtf8("abc", 0), "");
}

}  // namespace
}  // namespace lumora
