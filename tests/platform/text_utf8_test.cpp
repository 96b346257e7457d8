#include "platform/gdi/text_utf8.h"

#include <gtest/gtest.h>

namespace {

using platform::gdi::DecodeUtf8;
using platform::gdi::DecodeUtf8Text;
constexpr char32_t R = platform::gdi::kReplacementChar;

TEST(TextUtf8, WellFormedTextDecodesWithByteOffsets) {
  const auto chars = DecodeUtf8("A\xE4\xB8\xAD\xF0\x9F\x98\x80");  // "A中😀"
  ASSERT_EQ(chars.size(), 3u);
  EXPECT_EQ(chars[0].cp, U'A');
  EXPECT_EQ(chars[1].cp, U'中');
  EXPECT_EQ(chars[1].byteOffset, 1u);
  EXPECT_EQ(chars[1].byteLength, 3u);
  EXPECT_EQ(chars[2].cp, char32_t{0x1F600});
  EXPECT_EQ(chars[2].byteOffset, 4u);
  EXPECT_EQ(DecodeUtf8Text("\xC2\xA9"), U"\u00A9");
}

TEST(TextUtf8, EachMaximalBadSequenceBecomesOneReplacement) {
  // A truncated three-byte character followed by more text: one mark, and
  // the text after it survives.
  EXPECT_EQ(DecodeUtf8Text("A\xE4\xB8"
                           "B"),
            (std::u32string{U'A', R, U'B'}));
  EXPECT_EQ(DecodeUtf8Text("\xE4\xB8"), (std::u32string{R}));
  // Stray continuation bytes are one bad sequence each.
  EXPECT_EQ(DecodeUtf8Text("\x80\x80"), (std::u32string{R, R}));
  // Overlong "/" (C0 AF): C0 can never start a character.
  EXPECT_EQ(DecodeUtf8Text("\xC0\xAF"), (std::u32string{R, R}));
  // Overlong three-byte form of NUL.
  EXPECT_EQ(DecodeUtf8Text("\xE0\x80\x80"), (std::u32string{R, R, R}));
  // A UTF-16 surrogate encoded in UTF-8 (ED A0 80).
  EXPECT_EQ(DecodeUtf8Text("\xED\xA0\x80"), (std::u32string{R, R, R}));
  // Beyond U+10FFFF.
  EXPECT_EQ(DecodeUtf8Text("\xF4\x90\x80\x80"), (std::u32string{R, R, R, R}));
  EXPECT_EQ(DecodeUtf8Text("\xFF"), (std::u32string{R}));
  // A four-byte lead cut short by ASCII.
  EXPECT_EQ(DecodeUtf8Text("\xF0\x9F\x98"
                           "x"),
            (std::u32string{R, U'x'}));
}

TEST(TextUtf8, CountArgumentFollowsTheAnsiConvention) {
  const char text[] = "abc\0def";
  EXPECT_EQ(platform::gdi::TextArgument(text, -1), "abc");
  EXPECT_EQ(platform::gdi::TextArgument(text, 7).size(), 7u);
  EXPECT_EQ(platform::gdi::TextArgument(nullptr, 5).size(), 0u);
  // A count that cuts a character in two leaves one replacement mark.
  EXPECT_EQ(DecodeUtf8Text(platform::gdi::TextArgument("\xE4\xB8\xAD", 2)), (std::u32string{R}));
}

}  // namespace
