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

// The repaired text is what the decoder reads: well-formed, with one U+FFFD per maximal bad
// subsequence, and the good characters around it byte for byte.
TEST(TextUtf8, RepairKeepsGoodBytesAndMarksEachBadSequenceOnce) {
  const std::string M = "\xEF\xBF\xBD";
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"plain \xE4\xB8\xAD\xF0\x9F\x98\x80", "plain \xE4\xB8\xAD\xF0\x9F\x98\x80"},
      {"A\xE4\xB8"
       "B",
       "A" + M + "B"},                                                // a three-byte character cut short
      {"\xF0\x9F\x98", M},                                            // a four-byte one cut short at the end
      {"\x80\xBF", M + M},                                            // stray continuation bytes
      {"\xC0\xAF", M + M},                                            // overlong "/"
      {"\xC1\xBF", M + M},                                            // overlong, C1 lead
      {"\xE0\x80\xAF", M + M + M},                                    // overlong three-byte form
      {"\xED\xA0\x80", M + M + M},                                    // a surrogate
      {"\xF4\x90\x80\x80", M + M + M + M},                            // beyond U+10FFFF
      {"\xF5\x80", M + M},                                            // a lead that no character has
      {"\xFE\xFF", M + M},                                            // bytes that never occur in UTF-8
      {"\xE1\x80\xE2\xF0\x91\x92\xF1\xBF\x41", M + M + M + M + "A"},  // the Unicode standard's example
      {std::string("a\0b", 3), std::string("a\0b", 3)},  // NUL is a character; the edit field drops it
      {"\xEF\xBF\xBD", M},                               // a real U+FFFD stays one
  };
  for (const auto& c : cases) {
    const std::string repaired = platform::gdi::RepairUtf8(c.in);
    EXPECT_EQ(repaired, c.out) << "input of " << c.in.size() << " bytes";
    EXPECT_EQ(DecodeUtf8Text(repaired), DecodeUtf8Text(c.in)) << "repair changes no character";
    EXPECT_EQ(platform::gdi::RepairUtf8(repaired), repaired) << "repair is settled after one pass";
  }
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
