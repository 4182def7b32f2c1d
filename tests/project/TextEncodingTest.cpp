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

}  // namespace
}  // namespace lumora
