// What a shown menu looks like, read from the screen while it shows: the
// raised box, the selection, grayed (etched) text, separators, accelerators
// right-aligned in their own column, the mnemonic's underline, a check mark.
#include <cstdlib>

#include "menu_fixture.h"

namespace {

using hwf::test::MenuTest;
namespace pt = platform::testing;

// Text is anti-aliased: glyph pixels are blends of ink and background.
bool Dark(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }
bool Light(COLORREF c) { return GetRValue(c) > 120 && GetGValue(c) > 120 && GetBValue(c) > 120; }
bool Greyish(COLORREF c) {
  int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  return r >= 100 && r <= 170 && std::abs(r - g) < 8 && std::abs(g - b) < 8;
}

class MenuPaintTest : public MenuTest {
 protected:
  RECT Row(UINT pos, HMENU m = nullptr) const {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(nullptr, m ? m : menu_, pos, &r));
    return r;
  }
  static int Count(const RECT& r, const std::function<bool(COLORREF)>& pred) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += pred(pt::ScreenPixel(x, y));
    return n;
  }
  static int CountColour(const RECT& r, int sysColor) {
    COLORREF c = GetSysColor(sysColor);
    return Count(r, [c](COLORREF v) { return v == c; });
  }
  static std::vector<COLORREF> Grab(const RECT& r) {
    std::vector<COLORREF> out;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) out.push_back(pt::ScreenPixel(x, y));
    return out;
  }
  // Ink of an unselected row: its leftmost column, and the left and right
  // columns of its last run of ink (the accelerator when it has one).
  struct Ink {
    int left = -1, lastLeft = -1, lastRight = -1;
  };
  static Ink InkOf(const RECT& r) {
    const COLORREF face = GetSysColor(COLOR_MENU);
    std::vector<bool> ink;
    for (int x = r.left; x < r.right; ++x) {
      bool any = false;
      for (int y = r.top; y < r.bottom && !any; ++y) any = pt::ScreenPixel(x, y) != face;
      ink.push_back(any);
    }
    Ink out;
    for (int i = 0; i < static_cast<int>(ink.size()); ++i)
      if (ink[static_cast<std::size_t>(i)]) {
        if (out.left < 0) out.left = r.left + i;
        out.lastRight = r.left + i;
      }
    out.lastLeft = out.lastRight;
    for (int x = out.lastRight, gap = 0; x >= r.left && gap < 8; --x) {
      if (ink[static_cast<std::size_t>(x - r.left)]) {
        out.lastLeft = x;
        gap = 0;
      } else {
        ++gap;
      }
    }
    return out;
  }
};

TEST_F(MenuPaintTest, TheClassicLook) {
  Track(TPM_RETURNCMD, 300, 200,
        {
            [] {
              Key(VK_DOWN);
              Key(VK_DOWN);  // the second item is selected
            },
            [&] {
              RECT w;
              GetWindowRect(MenuWindow(), &w);
              EXPECT_EQ(pt::ScreenPixel(w.left, w.top), GetSysColor(COLOR_3DLIGHT)) << "raised edge";
              EXPECT_EQ(pt::ScreenPixel(w.left + 1, w.top + 1), GetSysColor(COLOR_3DHIGHLIGHT));
              EXPECT_EQ(pt::ScreenPixel(w.right - 1, w.bottom - 1), GetSysColor(COLOR_3DDKSHADOW));
              EXPECT_EQ(pt::ScreenPixel(w.right - 2, w.bottom - 2), GetSysColor(COLOR_3DSHADOW));
              EXPECT_EQ(pt::ScreenPixel(w.left + 2, w.top + 2), GetSysColor(COLOR_MENU));

              const RECT sel = Row(kForwardPos);
              for (POINT p : {POINT{sel.left, sel.top}, POINT{sel.right - 1, sel.bottom - 1}})
                EXPECT_EQ(pt::ScreenPixel(p.x, p.y), GetSysColor(COLOR_HIGHLIGHT)) << "the selection's band";
              EXPECT_GT(Count(sel, Light), 40) << "its text in the highlight text colour";
              EXPECT_EQ(Count(sel, Dark), 0);

              const RECT plain = Row(kBackPos);
              EXPECT_EQ(pt::ScreenPixel(plain.left, plain.top), GetSysColor(COLOR_MENU));
              EXPECT_GT(Count(plain, Dark), 20) << "menu text on the menu's face";

              const RECT grayed = Row(kCopyPos);
              EXPECT_EQ(Count(grayed, Dark), 0) << "no ink of enabled text";
              EXPECT_GT(Count(grayed, Greyish), 20);
              EXPECT_GT(CountColour(grayed, COLOR_3DHIGHLIGHT), 5) << "etched with the white shadow";

              const RECT sep = Row(kFirstSeparator);
              const int y = (sep.top + sep.bottom) / 2 - 1;
              int line = 0;
              for (int x = sep.left + 1; x < sep.right - 1; ++x)
                line += pt::ScreenPixel(x, y) == GetSysColor(COLOR_3DSHADOW) &&
                        pt::ScreenPixel(x, y + 1) == GetSysColor(COLOR_3DHIGHLIGHT);
              EXPECT_EQ(line, sep.right - sep.left - 2) << "an etched line across the separator";

              // "Alt+←" and the much shorter "F2" end in the same column; the
              // labels start in the same column.
              const Ink back = InkOf(Row(kBackPos)), exp = InkOf(Row(kExportPos));
              EXPECT_NEAR(back.lastRight, exp.lastRight, 1);
              EXPECT_GT(exp.lastLeft - back.lastLeft, 10);
              EXPECT_NEAR(back.left, exp.left, 2);
              EXPECT_GT(back.lastLeft - back.left, 50)
                  << "the accelerator column stands apart from the label";
              Key(VK_ESCAPE);
            },
        });
}

TEST_F(MenuPaintTest, TheMnemonicLetterIsUnderlinedAndACheckedItemShowsItsMark) {
  auto rows = [&](HMENU m) {
    std::pair<std::vector<COLORREF>, std::vector<COLORREF>> got;
    Track(TPM_RETURNCMD, 300, 200, {[&] {
            got = {Grab(Row(0, m)), Grab(Row(1, m))};
            Key(VK_ESCAPE);
          }},
          m);
    return got;
  };
  HMENU plain = CreatePopupMenu();
  AppendMenuA(plain, MF_STRING, 1, "Paste");
  AppendMenuA(plain, MF_STRING, 2, "Undo");
  HMENU marked = CreatePopupMenu();
  AppendMenuA(marked, MF_STRING, 1, "Pa&ste");
  AppendMenuA(marked, MF_STRING | MF_CHECKED, 2, "Undo");
  auto [plainPaste, plainUndo] = rows(plain);
  auto [markedPaste, markedUndo] = rows(marked);
  RECT row;
  Track(TPM_RETURNCMD, 300, 200, {[&] {
          row = Row(0, plain);
          Key(VK_ESCAPE);
        }},
        plain);
  const int width = row.right - row.left;
  ASSERT_EQ(plainPaste.size(), markedPaste.size()) << "the same size with or without the mark";

  // The only difference is one short dark line under a letter.
  int minY = 1 << 20, maxY = -1, n = 0, darker = 0;
  for (std::size_t i = 0; i < plainPaste.size(); ++i)
    if (plainPaste[i] != markedPaste[i]) {
      int y = static_cast<int>(i) / width;
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
      ++n;
      darker += Dark(markedPaste[i]);
    }
  EXPECT_GE(n, 3);
  EXPECT_LE(n, 12);
  EXPECT_EQ(maxY, minY) << "one pixel row";
  EXPECT_GE(darker, 3);

  // The check mark sits in the column left of the text.
  RECT column{0, 0, 18, row.bottom - row.top};
  auto darkIn = [&](const std::vector<COLORREF>& px) {
    int d = 0;
    for (int y = column.top; y < column.bottom; ++y)
      for (int x = column.left; x < column.right; ++x) d += Dark(px[static_cast<std::size_t>(y * width + x)]);
    return d;
  };
  EXPECT_EQ(darkIn(plainUndo), 0);
  EXPECT_GE(darkIn(markedUndo), 12);
  DestroyMenu(plain);
  DestroyMenu(marked);
}

}  // namespace
