// Painting: the order of the paint messages, update regions, and what DCs
// of windows may touch (sibling and child clipping, window regions, the
// window DC origin), checked on the pixels of the top-level surface.
#include "support/window_fixture.h"

namespace {

using hwf::test::MatchSequence;
using hwf::test::WindowTest;
namespace pt = platform::testing;

constexpr COLORREF kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00, kWhite = 0xFFFFFF;

class PaintTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    red_ = CreateSolidBrush(kRed);
    blue_ = CreateSolidBrush(kBlue);
    green_ = CreateSolidBrush(kGreen);
    white_ = rec_.RegisterClass("White", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    redCls_ = rec_.RegisterClass("Red", 0, red_);
    blueCls_ = rec_.RegisterClass("Blue", 0, blue_);
  }
  void TearDown() override {
    WindowTest::TearDown();
    DeleteObject(red_);
    DeleteObject(blue_);
    DeleteObject(green_);
  }
  HWND Make(const std::string& cls, HWND parent, int x, int y, int w, int h, DWORD style, DWORD ex = 0) {
    return CreateWindowExA(ex, cls.c_str(), "", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
  }
  void FillClient(HWND h, HBRUSH b) {
    HDC dc = GetDC(h);
    RECT rc{0, 0, 1000, 1000};
    FillRect(dc, &rc, b);
    ReleaseDC(h, dc);
  }
  COLORREF At(int x, int y) { return pt::ScreenPixel(x, y); }

  HBRUSH red_, blue_, green_;
  std::string white_, redCls_, blueCls_;
};

TEST_F(PaintTest, ShowingPaintsFrameThenBackgroundThenClientParentsFirst) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP);
  HWND child = Make(redCls_, top, 10, 10, 20, 20, WS_CHILD | WS_VISIBLE | WS_BORDER);
  Pump();
  rec_.Clear();
  ShowWindow(top, SW_SHOW);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}), {
                                                                                  {top, WM_NCPAINT},
                                                                                  {top, WM_ERASEBKGND},
                                                                                  {top, WM_PAINT},
                                                                                  {child, WM_NCPAINT},
                                                                                  {child, WM_ERASEBKGND},
                                                                                  {child, WM_PAINT},
                                                                              }));
  EXPECT_EQ(At(5, 5), GetSysColor(COLOR_WINDOW)) << "(HBRUSH)(COLOR_WINDOW + 1) names a system colour";
  EXPECT_EQ(At(15, 15), kRed);
  EXPECT_EQ(At(10, 10), GetSysColor(COLOR_WINDOWFRAME)) << "the 1-pixel WS_BORDER";
  EXPECT_EQ(Pump(), 0) << "everything painted is validated";
}

TEST_F(PaintTest, ASiblingInFrontHidesItsPartEvenFromDirectDrawing) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND front = Make(redCls_, top, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  HWND back = Make(blueCls_, top, 25, 25, 50, 50, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  Pump();
  EXPECT_EQ(At(30, 30), kRed) << "the first created child is in front";
  EXPECT_EQ(At(60, 60), kBlue);
  FillClient(back, green_);
  EXPECT_EQ(At(30, 30), kRed);
  EXPECT_EQ(At(49, 49), kRed);
  EXPECT_EQ(At(50, 50), kGreen);
  EXPECT_EQ(At(74, 30), kGreen);
  EXPECT_EQ(At(80, 80), kWhite) << "outside the window nothing changes";
  (void)front;
}

TEST_F(PaintTest, WithoutClipSiblingsAWindowDrawsOverItsSiblingsAsInWin32) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  Make(redCls_, top, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE);
  HWND back = Make(blueCls_, top, 25, 25, 50, 50, WS_CHILD | WS_VISIBLE);
  Pump();
  FillClient(back, green_);
  EXPECT_EQ(At(30, 30), kGreen);
}

TEST_F(PaintTest, ClipChildrenKeepsTheParentsClientDcOffItsChildrenButNotItsWindowDc) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  Make(redCls_, top, 10, 10, 20, 20, WS_CHILD | WS_VISIBLE);
  Pump();
  FillClient(top, blue_);
  EXPECT_EQ(At(15, 15), kRed);
  EXPECT_EQ(At(5, 5), kBlue);
  HDC wdc = GetWindowDC(top);
  RECT all{0, 0, 100, 100};
  FillRect(wdc, &all, green_);
  ReleaseDC(top, wdc);
  EXPECT_EQ(At(15, 15), kGreen) << "a window DC is never clipped by children";

  HWND plain = Make(white_, nullptr, 200, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  Make(redCls_, plain, 10, 10, 20, 20, WS_CHILD | WS_VISIBLE);
  Pump();
  FillClient(plain, blue_);
  EXPECT_EQ(At(215, 15), kBlue) << "without WS_CLIPCHILDREN the parent draws over its children";
}

TEST_F(PaintTest, AWindowDcStartsAtTheWindowCornerAndAClientDcInsideTheBorder) {
  HWND top = Make(white_, nullptr, 100, 200, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND c = Make(white_, top, 10, 10, 30, 30, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE);
  Pump();
  HDC w = GetWindowDC(c);
  SetPixel(w, 0, 0, kRed);
  ReleaseDC(c, w);
  HDC d = GetDC(c);
  SetPixel(d, 0, 0, kBlue);
  SetPixel(d, -1, -1, kBlue);  // on the edge: outside the client DC
  ReleaseDC(c, d);
  EXPECT_EQ(At(110, 210), kRed);
  EXPECT_EQ(At(112, 212), kBlue);
  EXPECT_EQ(At(111, 211), GetSysColor(COLOR_3DDKSHADOW)) << "inner ring of the sunken edge untouched";
  EXPECT_EQ(At(139, 239), GetSysColor(COLOR_3DHIGHLIGHT)) << "outer bottom-right of the sunken edge";
}

TEST_F(PaintTest, AChildIsClippedToItsParentsClientArea) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND panel = Make(white_, top, 10, 10, 40, 40, WS_CHILD | WS_VISIBLE | WS_BORDER);
  HWND inner = Make(white_, panel, 20, 20, 100, 100, WS_CHILD | WS_VISIBLE);
  Pump();
  FillClient(inner, red_);
  EXPECT_EQ(At(40, 40), kRed);
  EXPECT_EQ(At(49, 49), GetSysColor(COLOR_WINDOWFRAME)) << "the panel's border is outside its client area";
  EXPECT_EQ(At(60, 60), kWhite);
}

TEST_F(PaintTest, AWindowRegionCutsDrawingAndHitTesting) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND c = Make(white_, top, 10, 10, 41, 41, WS_CHILD | WS_VISIBLE);
  Pump();
  std::size_t regions = pt::LiveObjects(platform::HandleKind::Region);
  EXPECT_EQ(SetWindowRgn(c, CreateRoundRectRgn(0, 0, 42, 42, 20, 20), TRUE), 1);
  EXPECT_EQ(pt::LiveObjects(platform::HandleKind::Region), regions + 1) << "the window owns the region";
  Pump();
  FillClient(c, red_);
  EXPECT_EQ(At(30, 30), kRed) << "the middle";
  EXPECT_EQ(At(10, 10), kWhite) << "the rounded-off corner";
  EXPECT_EQ(At(50, 50), kWhite);
  EXPECT_EQ(WindowFromPoint(POINT{30, 30}), c);
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), top) << "the corner belongs to the parent";
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(c, copy), 0);
  EXPECT_FALSE(PtInRegion(copy, 0, 0));
  EXPECT_TRUE(PtInRegion(copy, 20, 20));
  DeleteObject(copy);
  SetWindowRgn(c, nullptr, TRUE);
  EXPECT_EQ(pt::LiveObjects(platform::HandleKind::Region), regions) << "the old region was freed";
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), c);
}

TEST_F(PaintTest, UpdateRegionsAccumulateAndBeginPaintValidatesThem) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  Pump();
  RECT r;
  EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
  RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
  InvalidateRect(top, &a, FALSE);
  InvalidateRect(top, &b, FALSE);
  EXPECT_TRUE(GetUpdateRect(top, &r, FALSE));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 40);
  EXPECT_EQ(r.bottom, 20);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(top, &ps);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(ps.rcPaint.left, 10);
  EXPECT_EQ(ps.rcPaint.right, 40);
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, red_);
  EndPaint(top, &ps);
  EXPECT_EQ(At(15, 15), kRed);
  EXPECT_EQ(At(25, 15), kWhite) << "the paint DC is clipped to the update region";
  EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
  InvalidateRect(top, nullptr, FALSE);
  EXPECT_TRUE(ValidateRect(top, nullptr));
  EXPECT_EQ(Pump(), 0);
}

TEST_F(PaintTest, RedrawWindowFlagsChooseWhatIsPaintedAndWhen) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Make(white_, top, 10, 10, 20, 20, WS_CHILD | WS_VISIBLE | WS_BORDER);
  Pump();
  const std::set<UINT> paints{WM_NCPAINT, WM_ERASEBKGND, WM_PAINT};

  rec_.Clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(MatchSequence(rec_.Only(paints), {{top, WM_ERASEBKGND}, {top, WM_PAINT}}))
      << "synchronous, and a WS_CLIPCHILDREN parent leaves its children alone";

  rec_.Clear();
  RedrawWindow(top, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(MatchSequence(rec_.Only(paints), {{top, WM_NCPAINT},
                                                {top, WM_ERASEBKGND},
                                                {top, WM_PAINT},
                                                {child, WM_NCPAINT},
                                                {child, WM_ERASEBKGND},
                                                {child, WM_PAINT}}));

  rec_.Clear();
  RedrawWindow(child, nullptr, nullptr, RDW_INTERNALPAINT);
  EXPECT_EQ(rec_.Only(paints).size(), 0u) << "nothing until the queue runs";
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only(paints), {{child, WM_PAINT}})) << "a paint with nothing invalid";

  rec_.Clear();
  InvalidateRect(top, nullptr, TRUE);
  UpdateWindow(top);
  EXPECT_TRUE(MatchSequence(rec_.Only(paints), {{top, WM_ERASEBKGND}, {top, WM_PAINT}}));
}

TEST_F(PaintTest, MovingAChildRepaintsWhatItUncovered) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND c = Make(redCls_, top, 0, 0, 20, 20, WS_CHILD | WS_VISIBLE);
  Pump();
  EXPECT_EQ(At(5, 5), kRed);
  MoveWindow(c, 50, 50, 20, 20, TRUE);
  Pump();
  EXPECT_EQ(At(5, 5), kWhite);
  EXPECT_EQ(At(55, 55), kRed);
  ShowWindow(c, SW_HIDE);
  Pump();
  EXPECT_EQ(At(55, 55), kWhite);
}

TEST_F(PaintTest, DrawEdgeUsesTheClassicColoursAndCorners) {
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT r{0, 0, 4, 4};
  EXPECT_TRUE(DrawEdge(mem, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  EXPECT_EQ(GetPixel(mem, 0, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(GetPixel(mem, 3, 3), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(GetPixel(mem, 3, 0), GetSysColor(COLOR_3DHIGHLIGHT))
      << "far corners take the bottom-right colour";
  EXPECT_EQ(GetPixel(mem, 0, 3), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(GetPixel(mem, 1, 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(GetPixel(mem, 2, 2), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 2) << "BF_ADJUST shrinks by both rings";
  RECT r2{0, 0, 4, 4};
  DrawEdge(mem, &r2, EDGE_RAISED, BF_TOP);
  EXPECT_EQ(GetPixel(mem, 1, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(GetPixel(mem, 1, 1), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(GetPixel(mem, 3, 3), GetSysColor(COLOR_3DHIGHLIGHT)) << "sides not asked for are untouched";
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST_F(PaintTest, DcsAreReleasedAndNoneLeak) {
  HWND top = Make(white_, nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  HWND c = Make(white_, top, 0, 0, 10, 10, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL);
  std::size_t dcs = pt::LiveObjects(platform::HandleKind::DC);
  Pump();
  RedrawWindow(top, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HDC d = GetDC(c);
  EXPECT_EQ(WindowFromDC(d), c);
  EXPECT_EQ(ReleaseDC(c, d), 1);
  EXPECT_EQ(ReleaseDC(c, d), 0) << "a second release fails";
  EXPECT_EQ(pt::LiveObjects(platform::HandleKind::DC), dcs);
}

}  // namespace
