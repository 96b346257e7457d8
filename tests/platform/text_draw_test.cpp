// Text on real device contexts: positions are checked against the text
// metrics and extents, never against stored images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/handles.h"
#include "platform/win32.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A white 32-bit off-screen bitmap with a font selected; released on every
// path.
class Canvas {
 public:
  Canvas(int w, int h, const char* face = "MS Sans Serif", int height = -16, int weight = FW_NORMAL)
      : w_(w), h_(h) {
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, w, h);
    DeleteDC(screen);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    font_ = CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    oldFont_ = SelectObject(dc_, font_);
    Fill(kWhite);
    SetTextColor(dc_, kBlack);
    SetBkMode(dc_, TRANSPARENT);
  }
  ~Canvas() {
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldBitmap_);
    DeleteObject(font_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  void Fill(COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    RECT r{0, 0, w_, h_};
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }
  bool Ink(int x, int y, COLORREF background = kWhite) const { return At(x, y) != background; }

  // Bounding box of every pixel that differs from the background; empty
  // (right <= left) when nothing was drawn.
  RECT InkBox(COLORREF background = kWhite) const {
    RECT box{w_, h_, 0, 0};
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (Ink(x, y, background)) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
  bool SamePixels(const Canvas& other) const {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (At(x, y) != other.At(x, y)) return false;
    return true;
  }
  SIZE Extent(const char* s) const {
    SIZE sz{};
    GetTextExtentPoint32A(dc_, s, static_cast<int>(std::strlen(s)), &sz);
    return sz;
  }
  TEXTMETRICA Metrics() const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm;
  }
  int w() const { return w_; }
  int h() const { return h_; }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bitmap_;
  HFONT font_;
  HGDIOBJ oldBitmap_;
  HGDIOBJ oldFont_;
};

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

TEST(DrawText, CentredSingleLineSitsInTheMiddleByExtentAndMetrics) {
  Canvas c(200, 40);
  const SIZE ext = c.Extent("Hello");
  const TEXTMETRICA tm = c.Metrics();
  ASSERT_GT(ext.cx, 0);
  EXPECT_EQ(ext.cy, tm.tmHeight);
  RECT r{0, 0, 200, 40};
  const int ret =
      DrawTextA(c.dc(), "Hello", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  const int cellLeft = (200 - ext.cx) / 2;
  const int cellTop = (40 - tm.tmHeight) / 2;
  EXPECT_EQ(ret, cellTop + tm.tmHeight) << "offset from the top to the bottom of the text";
  const RECT ink = c.InkBox();
  ASSERT_FALSE(Empty(ink));
  // Ink lies inside the text cell, give or take the side bearings.
  EXPECT_NEAR(ink.left, cellLeft, 2);
  EXPECT_NEAR(ink.right, cellLeft + ext.cx, 2);
  EXPECT_GE(ink.top, cellTop);
  EXPECT_LE(ink.bottom, cellTop + tm.tmAscent) << "\"Hello\" has no descenders: it stands on the baseline";
  EXPECT_GE(ink.bottom, cellTop + tm.tmAscent - 1);
}

TEST(DrawText, CalcRectMeasuresAndDrawsNothing) {
  Canvas c(200, 100);
  const SIZE ext = c.Extent("Hello");
  RECT r{10, 20, 190, 30};
  const int ret = DrawTextA(c.dc(), "Hello", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 10 + ext.cx);
  EXPECT_EQ(r.bottom, 20 + ext.cy);
  EXPECT_EQ(ret, ext.cy);
  EXPECT_TRUE(Empty(c.InkBox()));
}

TEST(DrawText, WordBreakLineCountsFromTheExtents) {
  Canvas c(300, 200);
  const TEXTMETRICA tm = c.Metrics();
  const SIZE two = c.Extent("aaa bbb");
  RECT r{0, 0, two.cx, 0};
  EXPECT_EQ(DrawTextA(c.dc(), "aaa bbb ccc", -1, &r, DT_CALCRECT | DT_WORDBREAK), 2 * tm.tmHeight);
  EXPECT_EQ(r.bottom, 2 * tm.tmHeight);
  EXPECT_EQ(r.right, two.cx) << "the widest line is \"aaa bbb\"";

  Canvas song(300, 200, "宋体", -14, FW_BOLD);
  const SIZE four = song.Extent("电脑自动");
  RECT cr{0, 0, four.cx + 1, 0};
  EXPECT_EQ(DrawTextA(song.dc(), "电脑自动生成图案", -1, &cr, DT_CALCRECT | DT_WORDBREAK),
            2 * song.Metrics().tmHeight)
      << "Chinese breaks between characters";
  RECT lines{0, 0, 300, 0};
  EXPECT_EQ(DrawTextA(song.dc(), "1：电脑\r\n2：图案\n", -1, &lines, DT_CALCRECT),
            3 * song.Metrics().tmHeight)
      << "CR LF and LF end lines; the last ending opens an empty line";
}

TEST(DrawText, ExParametersAddMarginsAndSetTheTabLength) {
  Canvas c(300, 40);
  const TEXTMETRICA tm = c.Metrics();
  char text[] = "a\tb";
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 4, 5, 7, 0};
  RECT r{10, 0, 300, 40};
  DrawTextExA(c.dc(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, &params);
  // Left margin, "a" up to the first stop at 4 average widths, "b", right margin.
  EXPECT_EQ(r.right, 10 + 5 + 4 * tm.tmAveCharWidth + c.Extent("b").cx + 7);
  EXPECT_EQ(params.uiLengthDrawn, 3u);

  // The same stop through DT_TABSTOP, whose length rides in the second byte
  // (which is why DT_CALCRECT cannot be combined with it): drawn alike.
  Canvas viaFlag(300, 40), viaParams(300, 40);
  RECT r2{10, 0, 300, 40}, r3{10, 0, 300, 40};
  DrawTextA(viaFlag.dc(), text, -1, &r2, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
  DRAWTEXTPARAMS four{sizeof(DRAWTEXTPARAMS), 4, 0, 0, 0};
  DrawTextExA(viaParams.dc(), text, -1, &r3, DT_SINGLELINE | DT_EXPANDTABS, &four);
  EXPECT_TRUE(viaFlag.SamePixels(viaParams));
  EXPECT_GE(viaFlag.InkBox().right, 10 + 4 * tm.tmAveCharWidth);
}

TEST(DrawText, EndEllipsisDrawsTheLongestFittingHeadAndDots) {
  const char* text = "图案设计制作 pattern studio";
  Canvas a(300, 30, "宋体", -14, FW_BOLD);
  RECT box{5, 0, 105, 30};
  DrawTextA(a.dc(), text, -1, &box, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);

  // The expected result by the rule, measured with the public extents.
  std::string head(text);
  auto cutLast = [](std::string* s) {
    std::size_t n = s->size() - 1;
    while (n > 0 && ((*s)[n] & 0xC0) == 0x80) --n;
    s->resize(n);
  };
  while (!head.empty() && a.Extent((head + "...").c_str()).cx > 100) cutLast(&head);
  while (!head.empty() && head.back() == ' ') head.pop_back();
  const std::string expected = head + "...";
  EXPECT_LE(a.Extent(expected.c_str()).cx, 100);

  Canvas b(300, 30, "宋体", -14, FW_BOLD);
  RECT box2{5, 0, 105, 30};
  DrawTextA(b.dc(), expected.c_str(), -1, &box2, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
  EXPECT_TRUE(a.SamePixels(b)) << "expected \"" << expected << "\"";
  const RECT ink = a.InkBox();
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 105);
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip) {
  const char* text = "A caption much wider than its box";
  Canvas clipped(300, 40);
  RECT r{20, 10, 60, 30};
  DrawTextA(clipped.dc(), text, -1, &r, DT_SINGLELINE);
  const RECT ink = clipped.InkBox();
  ASSERT_FALSE(Empty(ink));
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 60);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 30);

  Canvas free(300, 40);
  RECT r2{20, 10, 60, 30};
  DrawTextA(free.dc(), text, -1, &r2, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(free.InkBox().right, 60 + 100);
}

TEST(DrawText, PrefixIsRemovedAndUnderlinesItsCharacter) {
  Canvas plain(200, 40);
  Canvas marked(200, 40);
  RECT r{0, 0, 200, 40};
  DrawTextA(plain.dc(), "File", -1, &r, DT_SINGLELINE);
  EXPECT_EQ(plain.Extent("File").cx, marked.Extent("File").cx);
  RECT r2{0, 0, 200, 40};
  DrawTextA(marked.dc(), "&File", -1, &r2, DT_SINGLELINE);
  RECT calc{0, 0, 200, 40};
  DrawTextA(marked.dc(), "&File", -1, &calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(calc.right, plain.Extent("File").cx) << "the mark takes no room";

  // The only difference is the underline: below the baseline, under "F".
  const TEXTMETRICA tm = plain.Metrics();
  const int fWidth = plain.Extent("F").cx;
  int underlined = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      if (plain.At(x, y) == marked.At(x, y)) continue;
      EXPECT_GE(y, tm.tmAscent) << x << "," << y;
      EXPECT_LT(y, tm.tmHeight) << x << "," << y;
      EXPECT_LT(x, fWidth) << x << "," << y;
      ++underlined;
    }
  EXPECT_GE(underlined, fWidth - 1);

  // "Fi&le": the underline moves under "l".
  Canvas mid(200, 40);
  RECT r3{0, 0, 200, 40};
  DrawTextA(mid.dc(), "Fi&le", -1, &r3, DT_SINGLELINE);
  const int from = plain.Extent("Fi").cx, to = plain.Extent("Fil").cx;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y)
    for (int x = 0; x < 200; ++x)
      if (plain.At(x, y) != mid.At(x, y)) {
        EXPECT_GE(x, from);
        EXPECT_LT(x, to);
      }

  // DT_PREFIXONLY draws just the underline; DT_HIDEPREFIX just the text.
  Canvas onlyLine(200, 40), hidden(200, 40);
  RECT r6{0, 0, 200, 40}, r7{0, 0, 200, 40};
  DrawTextA(onlyLine.dc(), "&File", -1, &r6, DT_SINGLELINE | DT_PREFIXONLY);
  DrawTextA(hidden.dc(), "&File", -1, &r7, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_TRUE(hidden.SamePixels(plain));
  const RECT line = onlyLine.InkBox();
  ASSERT_FALSE(Empty(line));
  EXPECT_GE(line.top, tm.tmAscent);
  EXPECT_LE(line.right, fWidth);

  // "&&" is one literal "&"; DT_NOPREFIX draws the text as it is.
  Canvas twice(200, 40), literal(200, 40);
  RECT r4{0, 0, 200, 40}, r5{0, 0, 200, 40};
  DrawTextA(twice.dc(), "A&&B", -1, &r4, DT_SINGLELINE);
  DrawTextA(literal.dc(), "A&B", -1, &r5, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_TRUE(twice.SamePixels(literal));
}

TEST(TextOut, OpaqueFillsTheTextCellTransparentLeavesTheBackground) {
  constexpr COLORREF kGreen = RGB(0, 200, 0);
  constexpr COLORREF kRed = RGB(255, 0, 0);
  for (int mode : {OPAQUE, TRANSPARENT}) {
    Canvas c(120, 50);
    c.Fill(kGreen);
    SetBkColor(c.dc(), kRed);
    SetBkMode(c.dc(), mode);
    SetTextColor(c.dc(), kBlack);
    ASSERT_TRUE(TextOutA(c.dc(), 10, 8, "Hi", 2));
    const SIZE ext = c.Extent("Hi");
    int green = 0, red = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 120; ++x) {
        const bool inCell = x >= 10 && x < 10 + ext.cx && y >= 8 && y < 8 + ext.cy;
        const COLORREF p = c.At(x, y);
        if (!inCell) {
          EXPECT_EQ(p, kGreen) << "outside the cell at " << x << "," << y;
          continue;
        }
        green += p == kGreen;
        red += p == kRed;
      }
    if (mode == OPAQUE) {
      EXPECT_EQ(green, 0);
      EXPECT_GT(red, 0);
    } else {
      EXPECT_EQ(red, 0);
      EXPECT_GT(green, 0);
    }
  }
}

TEST(DrawText, OpaqueModeFillsTheLineOnly) {
  constexpr COLORREF kRed = RGB(255, 0, 0);
  Canvas c(200, 40);
  SetBkMode(c.dc(), OPAQUE);
  SetBkColor(c.dc(), kRed);
  RECT r{0, 0, 200, 40};
  DrawTextA(c.dc(), "Hi", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const SIZE ext = c.Extent("Hi");
  const int left = (200 - ext.cx) / 2, top = (40 - ext.cy) / 2;
  EXPECT_EQ(c.At(left, top), kRed);
  EXPECT_EQ(c.At(left + ext.cx - 1, top + ext.cy - 1), kRed);
  EXPECT_EQ(c.At(left - 1, top), kWhite);
  EXPECT_EQ(c.At(left, top - 1), kWhite);
  EXPECT_EQ(c.At(left + ext.cx, top), kWhite);
  EXPECT_EQ(c.At(left, top + ext.cy), kWhite);
}

TEST(TextOut, AlignmentFlagsMoveTheReferencePoint) {
  auto inkOf = [](UINT align, int x, int y) {
    Canvas c(200, 80);
    SetTextAlign(c.dc(), align);
    TextOutA(c.dc(), x, y, "HH", 2);
    return c.InkBox();
  };
  Canvas probe(10, 10);
  const TEXTMETRICA tm = probe.Metrics();
  const SIZE ext = probe.Extent("HH");
  const RECT top = inkOf(TA_TOP | TA_LEFT, 50, 20);
  const RECT base = inkOf(TA_BASELINE | TA_LEFT, 50, 40);
  const RECT bottom = inkOf(TA_BOTTOM | TA_LEFT, 50, 60);
  ASSERT_FALSE(Empty(top));
  // "H" stands on the baseline: top + ascent, the point itself, bottom - descent.
  EXPECT_EQ(base.bottom - 40, top.bottom - (20 + tm.tmAscent));
  EXPECT_EQ(bottom.bottom - (60 - tm.tmDescent), base.bottom - 40);
  EXPECT_NEAR(base.bottom, 40, 1);

  const RECT right = inkOf(TA_TOP | TA_RIGHT, 150, 20);
  const RECT centre = inkOf(TA_TOP | TA_CENTER, 100, 20);
  EXPECT_EQ(right.left - (150 - ext.cx), top.left - 50);
  EXPECT_EQ(centre.left - (100 - ext.cx / 2), top.left - 50);
}

TEST(TextOut, UpdateCpStartsAtAndAdvancesTheCurrentPosition) {
  Canvas c(200, 40);
  SetTextAlign(c.dc(), TA_UPDATECP);
  MoveToEx(c.dc(), 5, 3, nullptr);
  ASSERT_TRUE(TextOutA(c.dc(), 100, 100, "ab", 2));
  POINT p{};
  GetCurrentPositionEx(c.dc(), &p);
  EXPECT_EQ(p.x, 5 + c.Extent("ab").cx);
  EXPECT_EQ(p.y, 3);
  const RECT ink = c.InkBox();
  EXPECT_NEAR(ink.left, 5, 2) << "x and y of the call are ignored";
  TextOutA(c.dc(), 0, 0, "cd", 2);
  GetCurrentPositionEx(c.dc(), &p);
  EXPECT_EQ(p.x, 5 + c.Extent("ab").cx + c.Extent("cd").cx);
}

TEST(ExtTextOut, OpaqueRectangleClippingAndSpacingArray) {
  constexpr COLORREF kRed = RGB(255, 0, 0);
  Canvas c(200, 40);
  SetBkColor(c.dc(), kRed);
  const RECT box{10, 5, 30, 25};
  ASSERT_TRUE(ExtTextOutA(c.dc(), 12, 8, ETO_OPAQUE, &box, "", 0, nullptr));
  EXPECT_EQ(c.At(10, 5), kRed) << "ETO_OPAQUE fills the rectangle even in TRANSPARENT mode";
  EXPECT_EQ(c.At(29, 24), kRed);
  EXPECT_EQ(c.At(30, 24), kWhite);

  Canvas clipped(200, 40);
  ASSERT_TRUE(ExtTextOutA(clipped.dc(), 12, 8, ETO_CLIPPED, &box, "WWWWWW", 6, nullptr));
  const RECT ink = clipped.InkBox();
  ASSERT_FALSE(Empty(ink));
  EXPECT_GE(ink.left, 12);
  EXPECT_EQ(ink.right, 30) << "the run is cut at the rectangle's right edge";
  EXPECT_GE(ink.top, 8);

  // One spacing value per byte: "图" is three bytes whose values add up to
  // its advance, so "图A" with {10, 5, 5, 0} puts "A" 20 px to the right.
  Canvas spaced(200, 40), plain(200, 40);
  const INT dx[] = {10, 5, 5, 0};
  ExtTextOutA(spaced.dc(), 0, 0, 0, nullptr,
              "\xE5\x9B\xBE"
              "A",
              4, dx);
  TextOutA(plain.dc(), 20, 0, "A", 1);
  for (int y = 0; y < 40; ++y)
    for (int x = 20; x < 200; ++x) ASSERT_EQ(spaced.At(x, y), plain.At(x, y)) << x << "," << y;
}

TEST(TextOut, UnderlinedAndStruckOutFontsDrawLinesAcrossTheRun) {
  Canvas c(200, 40);
  HFONT lined =
      CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, TRUE, TRUE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ old = SelectObject(c.dc(), lined);
  const TEXTMETRICA tm = c.Metrics();
  EXPECT_EQ(tm.tmUnderlined, 1);
  EXPECT_EQ(tm.tmStruckOut, 1);
  const SIZE ext = c.Extent("a b");
  TextOutA(c.dc(), 0, 0, "a b", 3);
  // Both lines run under the space too: a row below the baseline and a row
  // above it are inked from the first to the last pixel of the run.
  auto fullRow = [&](int y) {
    for (int x = 0; x < ext.cx; ++x)
      if (!c.Ink(x, y)) return false;
    return !c.Ink(ext.cx, y);
  };
  bool under = false, through = false;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y) under = under || fullRow(y);
  for (int y = 0; y < tm.tmAscent; ++y) through = through || fullRow(y);
  EXPECT_TRUE(under);
  EXPECT_TRUE(through);
  SelectObject(c.dc(), old);
  DeleteObject(lined);
}

TEST(TextMeasure, InvalidUtf8MeasuresAndDrawsAsReplacementMarks) {
  Canvas bad(200, 40), good(200, 40);
  EXPECT_EQ(bad.Extent("A\xFF"
                       "B")
                .cx,
            good.Extent("A\xEF\xBF\xBD"
                        "B")
                .cx);
  EXPECT_EQ(bad.Extent("A\xE4\xB8").cx, good.Extent("A\xEF\xBF\xBD").cx) << "a cut character is one mark";
  EXPECT_GT(bad.Extent("\xFF").cx, 0);
  TextOutA(bad.dc(), 2, 2,
           "A\xFF"
           "B",
           3);
  TextOutA(good.dc(), 2, 2,
           "A\xEF\xBF\xBD"
           "B",
           5);
  EXPECT_TRUE(bad.SamePixels(good));
}

TEST(TextMeasure, BytesCountAndBoldIsWider) {
  Canvas regular(10, 10, "宋体", -14, FW_NORMAL);
  Canvas bold(10, 10, "宋体", -14, FW_BOLD);
  const char* caption = "图案设计制作";
  EXPECT_GT(bold.Extent(caption).cx, regular.Extent(caption).cx);
  SIZE part{};
  // Count is in bytes: 6 bytes are the first two characters.
  ASSERT_TRUE(GetTextExtentPoint32A(regular.dc(), caption, 6, &part));
  EXPECT_EQ(part.cx, regular.Extent("图案").cx);
  EXPECT_EQ(regular.Extent("").cx, 0);
  EXPECT_FALSE(GetTextExtentPoint32A(regular.dc(), caption, -1, &part));
  const TEXTMETRICA tm = bold.Metrics();
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 14);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_EQ(tm.tmCharSet, GB2312_CHARSET);
}

TEST(TextMeasure, MissingFaceStillDrawsAndChineseDrawsInALatinFace) {
  Canvas missing(200, 40, "No Such Face 42", -14);
  TextOutA(missing.dc(), 2, 2, "Abc", 3);
  EXPECT_FALSE(Empty(missing.InkBox()));
  Canvas sans(200, 40, "MS Sans Serif", -11);
  TextOutA(sans.dc(), 2, 2, "图案", 6);
  const RECT ink = sans.InkBox();
  ASSERT_FALSE(Empty(ink));
  EXPECT_GT(ink.right - ink.left, 11) << "two ideographs, each about an em wide";
}

TEST(TextMeasure, StaleHandlesFailCleanly) {
  HDC none = reinterpret_cast<HDC>(0x12345);
  RECT r{0, 0, 10, 10};
  SIZE sz{};
  TEXTMETRICA tm{};
  EXPECT_EQ(DrawTextA(none, "x", -1, &r, 0), 0);
  EXPECT_FALSE(TextOutA(none, 0, 0, "x", 1));
  EXPECT_FALSE(GetTextExtentPoint32A(none, "x", 1, &sz));
  EXPECT_FALSE(GetTextMetricsA(none, &tm));
  Canvas c(20, 20);
  EXPECT_EQ(DrawTextA(c.dc(), nullptr, -1, &r, 0), 0);
  EXPECT_EQ(DrawTextA(c.dc(), "x", -1, nullptr, 0), 0);
  // A DC whose font handle went stale under it draws in the system font
  // (DeleteObject refuses a selected font, so the handle is pulled directly).
  HFONT f = CreateFontA(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(c.dc(), f);
  platform::ReleaseHandle(f);
  EXPECT_TRUE(GetTextMetricsA(c.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  SelectObject(c.dc(), old);
}

TEST(TextMeasure, NoFontSelectedMeansTheSystemFontAndFaceNameIsReported) {
  HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  EXPECT_EQ(tm.tmHeight, 16) << "the stock system font is 16 pixels high";
  char name[LF_FACESIZE] = {};
  EXPECT_EQ(GetTextFaceA(dc, LF_FACESIZE, name), 6);
  EXPECT_STREQ(name, "System");
  HFONT song = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  HGDIOBJ old = SelectObject(dc, song);
  GetTextFaceA(dc, LF_FACESIZE, name);
  EXPECT_STREQ(name, "宋体");
  char tiny[3];
  EXPECT_EQ(GetTextFaceA(dc, 3, tiny), 2);
  EXPECT_EQ(tiny[2], '\0');
  SelectObject(dc, old);
  DeleteObject(song);
  DeleteDC(dc);
  DeleteDC(screen);
}

}  // namespace
