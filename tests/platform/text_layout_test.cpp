// Layout rules of DrawText measured with a made-up font: every character is
// 10 px wide, CJK characters 20 px, "." 4 px, so expected positions follow
// from arithmetic alone.
#include "platform/gdi/text_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::gdi::AdvanceFn;
using platform::gdi::Cell;
using platform::gdi::LaidLine;
using platform::gdi::LayoutParams;
using platform::gdi::LayoutText;
using platform::gdi::TextLayout;

int FakeAdvance(char32_t c) {
  if (c == U'.') return 4;
  if (c == U'\t' || c == U'\r' || c == U'\n') return 0;
  if (platform::gdi::IsCjkChar(c)) return 20;
  return 10;
}
const AdvanceFn kAdvance = FakeAdvance;

LayoutParams Params(UINT format, int width, int height = 100) {
  LayoutParams p;
  p.format = format;
  p.width = width;
  p.height = height;
  p.lineHeight = 16;
  p.tabWidth = 80;
  return p;
}

std::u32string Text(const LaidLine& line) {
  std::u32string s;
  for (const auto& g : line.glyphs) s.push_back(g.cp);
  return s;
}

std::u32string Text(const std::vector<Cell>& cells) {
  std::u32string s;
  for (const Cell& c : cells) s.push_back(c.cp);
  return s;
}

TEST(TextPrefix, AmpersandUnderlinesTheNextCharacterAndDoubledAmpersandIsLiteral) {
  auto cells = platform::gdi::StripPrefixes(U"&File", false);
  ASSERT_EQ(Text(cells), U"File");
  EXPECT_TRUE(cells[0].underline);
  EXPECT_FALSE(cells[1].underline);

  cells = platform::gdi::StripPrefixes(U"Save &As", false);
  ASSERT_EQ(Text(cells), U"Save As");
  for (std::size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i].underline, i == 5) << i;

  cells = platform::gdi::StripPrefixes(U"A&&B", false);
  EXPECT_EQ(Text(cells), U"A&B");
  for (const Cell& c : cells) EXPECT_FALSE(c.underline);

  EXPECT_EQ(Text(platform::gdi::StripPrefixes(U"end&", false)), U"end");

  cells = platform::gdi::StripPrefixes(U"&File", true);
  EXPECT_EQ(Text(cells), U"File");
  EXPECT_FALSE(cells[0].underline) << "DT_HIDEPREFIX strips but does not underline";
}

TEST(TextPrefix, PrefixedTextMeasuresLikeTheTextWithoutTheMark) {
  const TextLayout with = LayoutText(U"&File", Params(DT_SINGLELINE, 200), kAdvance);
  const TextLayout without = LayoutText(U"File", Params(DT_SINGLELINE, 200), kAdvance);
  EXPECT_EQ(with.width, without.width);
  EXPECT_EQ(with.width, 40);
  const TextLayout noPrefix = LayoutText(U"&File", Params(DT_SINGLELINE | DT_NOPREFIX, 200), kAdvance);
  EXPECT_EQ(noPrefix.width, 50) << "DT_NOPREFIX draws the & itself";
}

TEST(TextLayoutSingleLine, HorizontalAlignment) {
  // "abc" is 30 px: centred in 100 px it starts at (100 - 30) / 2 = 35.
  EXPECT_EQ(LayoutText(U"abc", Params(DT_SINGLELINE, 100), kAdvance).lines[0].x, 0);
  EXPECT_EQ(LayoutText(U"abc", Params(DT_SINGLELINE | DT_CENTER, 100), kAdvance).lines[0].x, 35);
  EXPECT_EQ(LayoutText(U"abc", Params(DT_SINGLELINE | DT_CENTER, 101), kAdvance).lines[0].x, 35);
  EXPECT_EQ(LayoutText(U"abc", Params(DT_SINGLELINE | DT_RIGHT, 100), kAdvance).lines[0].x, 70);
}

TEST(TextLayoutSingleLine, VerticalAlignmentAndTheReturnedHeight) {
  // Line height 16 in a 50 px box: top 0, centred (50 - 16) / 2 = 17, bottom 34.
  TextLayout top = LayoutText(U"abc", Params(DT_SINGLELINE, 100, 50), kAdvance);
  EXPECT_EQ(top.lines[0].y, 0);
  EXPECT_EQ(top.result, 16);

  TextLayout mid = LayoutText(U"abc", Params(DT_SINGLELINE | DT_VCENTER, 100, 50), kAdvance);
  EXPECT_EQ(mid.lines[0].y, 17);
  EXPECT_EQ(mid.result, 17 + 16) << "offset from the top to the bottom of the text";

  TextLayout bottom = LayoutText(U"abc", Params(DT_SINGLELINE | DT_BOTTOM, 100, 50), kAdvance);
  EXPECT_EQ(bottom.lines[0].y, 34);
  EXPECT_EQ(bottom.result, 50);

  // Without DT_SINGLELINE vertical centring does not apply.
  TextLayout multi = LayoutText(U"abc", Params(DT_VCENTER, 100, 50), kAdvance);
  EXPECT_EQ(multi.lines[0].y, 0);
  EXPECT_EQ(multi.result, 16);
}

TEST(TextLayoutSingleLine, LineEndsAreNotBreaksOnOneLine) {
  TextLayout one = LayoutText(U"ab\r\ncd", Params(DT_SINGLELINE, 200), kAdvance);
  ASSERT_EQ(one.lines.size(), 1u);
  EXPECT_EQ(Text(one.lines[0]), U"abcd");
  TextLayout many = LayoutText(U"ab\r\ncd\nef\rgh", Params(0, 200), kAdvance);
  ASSERT_EQ(many.lines.size(), 4u);
  EXPECT_EQ(Text(many.lines[2]), U"ef");
  EXPECT_EQ(many.lines[3].y, 48);
  EXPECT_EQ(many.result, 64);
}

TEST(TextEllipsis, EndEllipsisFitsTheWidthAndEndsWithDots) {
  // "abcdefghij" is 100 px; "..." is 12 px; in 50 px: 3 letters + dots = 42.
  TextLayout l = LayoutText(U"abcdefghij", Params(DT_SINGLELINE | DT_END_ELLIPSIS, 50), kAdvance);
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_EQ(Text(l.lines[0]), U"abc...");
  EXPECT_EQ(l.lines[0].width, 42);
  EXPECT_LE(l.lines[0].width, 50);

  // Text that fits is left alone.
  EXPECT_EQ(Text(LayoutText(U"abcde", Params(DT_SINGLELINE | DT_END_ELLIPSIS, 50), kAdvance).lines[0]),
            U"abcde");

  // Centred and cut: the cut text is what gets centred.
  TextLayout c = LayoutText(U"abcdefghij", Params(DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS, 50), kAdvance);
  EXPECT_EQ(c.lines[0].x, (50 - 42) / 2);
}

TEST(TextEllipsis, VeryLongLinesAreCutLikeShortOnes) {
  const std::u32string text(20000, U'a');
  TextLayout l = LayoutText(text, Params(DT_SINGLELINE | DT_END_ELLIPSIS, 50), kAdvance);
  EXPECT_EQ(Text(l.lines[0]), U"aaa...");
  TextLayout w = LayoutText(text, Params(DT_WORDBREAK, 50), kAdvance);
  ASSERT_EQ(w.lines.size(), 1u) << "one word stays whole";
  EXPECT_EQ(w.width, 200000);
}

TEST(TextEllipsis, NarrowBoxesGetOnlyTheDotsThatFit) {
  TextLayout l = LayoutText(U"abc", Params(DT_SINGLELINE | DT_END_ELLIPSIS, 9), kAdvance);
  EXPECT_EQ(Text(l.lines[0]), U"..");
  EXPECT_LE(l.lines[0].width, 9);
  EXPECT_EQ(Text(LayoutText(U"abc", Params(DT_SINGLELINE | DT_END_ELLIPSIS, 3), kAdvance).lines[0]), U"");
}

TEST(TextEllipsis, PrefixUnderlineSurvivesOnlyIfItsCharacterDoes) {
  TextLayout kept = LayoutText(U"a&bcdefghij", Params(DT_SINGLELINE | DT_END_ELLIPSIS, 50), kAdvance);
  ASSERT_EQ(Text(kept.lines[0]), U"abc...");
  EXPECT_TRUE(kept.lines[0].glyphs[1].underline);
  TextLayout cut = LayoutText(U"abcdefg&hij", Params(DT_SINGLELINE | DT_END_ELLIPSIS, 50), kAdvance);
  for (const auto& g : cut.lines[0].glyphs) EXPECT_FALSE(g.underline);
}

TEST(TextEllipsis, PathEllipsisKeepsTheFileName) {
  // The whole path is 144 px. "\\file.txt" (84) + "..." (12) leaves 24 px
  // of 120 for the head: "C:".
  TextLayout l = LayoutText(U"C:\\dir\\file.txt", Params(DT_SINGLELINE | DT_PATH_ELLIPSIS, 120), kAdvance);
  EXPECT_EQ(Text(l.lines[0]), U"C:...\\file.txt");
  EXPECT_LE(l.lines[0].width, 120);
}

TEST(TextWordBreak, BreaksAtSpacesAndDropsTheSpaceAtTheBreak) {
  // "aaa bbb ccc": words of 30 px, spaces of 10.
  TextLayout two = LayoutText(U"aaa bbb ccc", Params(DT_WORDBREAK, 75), kAdvance);
  ASSERT_EQ(two.lines.size(), 2u);
  EXPECT_EQ(Text(two.lines[0]), U"aaa bbb");
  EXPECT_EQ(two.lines[0].width, 70);
  EXPECT_EQ(Text(two.lines[1]), U"ccc");
  EXPECT_EQ(two.result, 32);

  EXPECT_EQ(LayoutText(U"aaa bbb ccc", Params(DT_WORDBREAK, 35), kAdvance).lines.size(), 3u);
  // Exactly fitting: the width is inclusive.
  EXPECT_EQ(LayoutText(U"aaa bbb", Params(DT_WORDBREAK, 70), kAdvance).lines.size(), 1u);
}

TEST(TextWordBreak, WordsWiderThanTheLineOverflowWholeOrSplitInEditControls) {
  // Win32 keeps a too-long word whole on its own line; the measured width
  // grows to hold it.
  TextLayout whole = LayoutText(U"ab abcdefgh cd", Params(DT_WORDBREAK, 35), kAdvance);
  ASSERT_EQ(whole.lines.size(), 3u);
  EXPECT_EQ(Text(whole.lines[1]), U"abcdefgh");
  EXPECT_EQ(whole.width, 80);

  TextLayout split = LayoutText(U"abcdefgh", Params(DT_WORDBREAK | DT_EDITCONTROL, 35), kAdvance);
  ASSERT_EQ(split.lines.size(), 3u);
  EXPECT_EQ(Text(split.lines[0]), U"abc");
  EXPECT_EQ(Text(split.lines[2]), U"gh");
  // Even a box narrower than one character makes progress.
  EXPECT_EQ(LayoutText(U"abc", Params(DT_WORDBREAK | DT_EDITCONTROL, 0), kAdvance).lines.size(), 3u);
  EXPECT_EQ(LayoutText(U"a b c", Params(DT_WORDBREAK, 0), kAdvance).lines.size(), 3u);

  // A long word with an end ellipsis is cut to the box instead.
  TextLayout cut = LayoutText(U"abcdefgh", Params(DT_WORDBREAK | DT_END_ELLIPSIS, 35), kAdvance);
  ASSERT_EQ(cut.lines.size(), 1u);
  EXPECT_EQ(Text(cut.lines[0]), U"ab...");
}

TEST(TextWordBreak, ChineseBreaksBetweenCharactersButNotBeforeClosingMarks) {
  // Six ideographs of 20 px in 50 px: two per line.
  TextLayout l = LayoutText(U"电脑自动生成", Params(DT_WORDBREAK, 50), kAdvance);
  ASSERT_EQ(l.lines.size(), 3u);
  EXPECT_EQ(Text(l.lines[1]), U"自动");

  // "，" may not start a line, so "二" moves down with it.
  TextLayout p = LayoutText(U"一二，三四", Params(DT_WORDBREAK, 40), kAdvance);
  ASSERT_EQ(p.lines.size(), 3u);
  EXPECT_EQ(Text(p.lines[0]), U"一");
  EXPECT_EQ(Text(p.lines[1]), U"二，");
  EXPECT_EQ(Text(p.lines[2]), U"三四");

  // DT_NOFULLWIDTHCHARBREAK keeps a run of ideographs together.
  EXPECT_EQ(
      LayoutText(U"电脑自动生成", Params(DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK, 50), kAdvance).lines.size(),
      1u);

  // Mixed: a Latin word may break from the ideograph next to it.
  TextLayout m = LayoutText(U"ab中文", Params(DT_WORDBREAK, 45), kAdvance);
  ASSERT_EQ(m.lines.size(), 2u);
  EXPECT_EQ(Text(m.lines[0]), U"ab中");
}

TEST(TextWordBreak, HardLineEndsStillBreakAndEmptyLinesCount) {
  TextLayout l = LayoutText(U"aaa\r\n\r\nbbb ccc", Params(DT_WORDBREAK, 35), kAdvance);
  ASSERT_EQ(l.lines.size(), 4u);
  EXPECT_EQ(Text(l.lines[1]), U"");
  EXPECT_EQ(l.height, 64);
}

TEST(TextEllipsis, LastVisibleLineOfWrappedTextCarriesTheDots) {
  // Three lines of 16 px in a 40 px box: two are visible.
  TextLayout l = LayoutText(U"aaa bbb ccc ddd eee", Params(DT_WORDBREAK | DT_END_ELLIPSIS, 75, 40), kAdvance);
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_EQ(Text(l.lines[0]), U"aaa bbb");
  const std::u32string last = Text(l.lines[1]);
  ASSERT_GE(last.size(), 3u);
  EXPECT_EQ(last.substr(last.size() - 3), U"...");
  EXPECT_LE(l.lines[1].width, 75);
  EXPECT_EQ(last, U"ccc dd...");
  // When measuring (DT_CALCRECT) nothing is cut.
  EXPECT_EQ(LayoutText(U"aaa bbb ccc ddd eee", Params(DT_WORDBREAK | DT_END_ELLIPSIS | DT_CALCRECT, 75, 40),
                       kAdvance)
                .lines.size(),
            3u);
}

TEST(TextTabs, ExpandedTabsJumpToTheNextStop) {
  TextLayout l = LayoutText(U"a\tb\tc", Params(DT_SINGLELINE | DT_EXPANDTABS, 400), kAdvance);
  ASSERT_EQ(l.lines[0].glyphs.size(), 5u);
  EXPECT_EQ(l.lines[0].glyphs[2].x, 80);
  EXPECT_EQ(l.lines[0].glyphs[4].x, 160);
  TextLayout plain = LayoutText(U"a\tb", Params(DT_SINGLELINE, 400), kAdvance);
  EXPECT_EQ(plain.lines[0].glyphs[2].x, 10) << "without DT_EXPANDTABS a tab is an ordinary character";
}

TEST(TextLayout, EmptyTextHasNoLines) {
  TextLayout l = LayoutText(U"", Params(DT_SINGLELINE | DT_VCENTER, 100, 50), kAdvance);
  EXPECT_TRUE(l.lines.empty());
  EXPECT_EQ(l.result, 0);
}

}  // namespace
