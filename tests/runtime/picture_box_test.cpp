// The picture box as a drawing surface: erasing, points, lines with their end
// pixel, clipping, pictures in and out, printing, and what the window shows.
#include "runtime/picture_box.h"

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "runtime/form.h"

namespace runtime {
namespace {

constexpr std::uint32_t kGreenPx = 0x80FF80;  // 0x0080FF80 as a pixel is the same bytes reordered
constexpr patterns::Colour kRed = 0x000000FF;
constexpr std::uint32_t kRedPx = 0xFF0000;

LayoutRow BoxRow(ScaleMode mode) {
  LayoutRow row{};
  row.kind = ControlKind::PictureBox;
  row.name = "box";
  row.left = 15 * 10;
  row.top = 15 * 20;
  row.width = 15 * 205;
  row.height = 15 * 105;
  row.back_colour = Colour(0x0080FF80);
  row.fore_colour = Colour(0x00FF0000);
  row.scale_mode = mode;
  row.auto_redraw = true;
  row.client_edge = true;
  row.tab_index = 0;
  return row;
}

constexpr LayoutFont kFont{"MS Sans Serif", 8.25f, false};

class PictureBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseVirtualTime(1000);
    RegisterRuntimeClasses();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "BoxParent";
    RegisterClassExA(&wc);
    parent_ = CreateWindowExA(0, "BoxParent", "p", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300,
                              nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    pixel_.reset();
    twip_.reset();
    platform::testing::Reset();
  }
  PictureBox& Pixel() {
    if (!pixel_) pixel_ = std::make_unique<PictureBox>(parent_, BoxRow(ScaleMode::Pixel), kFont, 7);
    return *pixel_;
  }
  PictureBox& Twip() {
    if (!twip_) twip_ = std::make_unique<PictureBox>(parent_, BoxRow(ScaleMode::Twip), kFont, 8);
    return *twip_;
  }
  // Pixels that differ from the background.
  static int Marked(const PictureBox& b, std::uint32_t back = kGreenPx) {
    int n = 0;
    for (int y = 0; y < b.PixelHeight(); ++y)
      for (int x = 0; x < b.PixelWidth(); ++x) n += b.PixelAt(x, y) != back;
    return n;
  }

  HWND parent_ = nullptr;
  std::unique_ptr<PictureBox> pixel_, twip_;
};

TEST_F(PictureBoxTest, DrawingAreaIsTheOuterSizeLessTheSunkenEdge) {
  PictureBox& b = Pixel();
  EXPECT_EQ(b.PixelWidth(), 201);
  EXPECT_EQ(b.PixelHeight(), 101);
  RECT client;
  GetClientRect(b.Hwnd(), &client);
  EXPECT_EQ(client.right, 201);
  EXPECT_EQ(client.bottom, 101);
  EXPECT_FLOAT_EQ(b.ScaleWidth(), 201.0f);
  EXPECT_FLOAT_EQ(Twip().ScaleWidth(), 201.0f * 15);
  EXPECT_FLOAT_EQ(Twip().ScaleHeight(), 101.0f * 15);
  char cls[64];
  GetClassNameA(b.Hwnd(), cls, sizeof cls);
  EXPECT_STREQ(cls, "ThunderRT6PictureBoxDC");
  EXPECT_TRUE(GetWindowLongA(b.Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(Marked(b), 0) << "a new box shows only its background";
}

TEST_F(PictureBoxTest, PointsLandOnTheNearestPixelInEitherScale) {
  PictureBox& b = Pixel();
  b.PSet(100, 50, kRed);
  EXPECT_EQ(b.PixelAt(100, 50), kRedPx);
  EXPECT_EQ(Marked(b), 1);
  EXPECT_EQ(b.CurrentX(), 100);
  EXPECT_EQ(b.CurrentY(), 50);

  PictureBox& t = Twip();
  t.PSet(1508, 1492, kRed);  // 100.53 and 99.47 pixels
  EXPECT_EQ(t.PixelAt(101, 99), kRedPx);
  EXPECT_EQ(Marked(t), 1);
  b.PSet(-1, 3, kRed);  // outside: nothing, and no fault
  b.PSet(3e38f, -3e38f, kRed);
  EXPECT_EQ(Marked(b), 1);
  EXPECT_EQ(b.CurrentX(), 3e38f);
}

TEST_F(PictureBoxTest, LinesIncludeBothEndsInTheExactColour) {
  PictureBox& b = Pixel();
  b.PSet(10, 10, kRed);
  b.Line(20, 10, 0x00123456);
  for (int x = 11; x <= 20; ++x) EXPECT_EQ(b.PixelAt(x, 10), 0x563412u) << x;
  EXPECT_EQ(b.PixelAt(21, 10), kGreenPx);
  EXPECT_EQ(b.PixelAt(10, 10), 0x563412u) << "the line starts on the dot";
  // A diagonal of 45 degrees covers exactly the pixels of the diagonal.
  b.Cls();
  b.PSet(0, 0, kRed);
  b.Line(5, 5, kRed);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(b.PixelAt(i, i), kRedPx) << i;
  EXPECT_EQ(Marked(b), 6);
  // Fractions pick the nearest pixel at both ends.
  b.Cls();
  b.PSet(30.4f, 40.6f, kRed);
  b.Line(30.4f, 44.4f, kRed);
  for (int y = 41; y <= 44; ++y) EXPECT_EQ(b.PixelAt(30, y), kRedPx) << y;
  EXPECT_EQ(Marked(b), 4);
}

TEST_F(PictureBoxTest, LinesFarOutsideAreDrawnAsFarAsTheBoxReaches) {
  PictureBox& b = Pixel();
  b.PSet(100, 50, kRed);
  b.Line(1e7f, 50, kRed);  // far right, along row 50
  for (int x = 100; x < 201; ++x) ASSERT_EQ(b.PixelAt(x, 50), kRedPx) << x;
  EXPECT_EQ(Marked(b), 101);
  EXPECT_EQ(b.CurrentX(), 1e7f);
  // The next line starts from that far point and comes back into the box.
  b.Line(0, 50, kRed);
  for (int x = 0; x < 100; ++x) ASSERT_EQ(b.PixelAt(x, 50), kRedPx) << x;
  // A line wholly outside draws nothing.
  b.Cls();
  b.PSet(-500, -500, kRed);
  b.Line(-10, 3e38f, kRed);
  EXPECT_EQ(Marked(b), 0);
}

TEST_F(PictureBoxTest, ClsAndBackColorEraseEverythingIncludingTheImage) {
  PictureBox& b = Pixel();
  b.PSet(3, 4, kRed);
  b.Line(60, 70, kRed);
  b.SetBackColor(0x00FF0000);
  EXPECT_EQ(Marked(b, 0x0000FF), 0);
  EXPECT_EQ(b.CurrentX(), 60) << "the back colour keeps the current position";
  const patterns::Picture img = b.Image();
  for (std::uint32_t p : img.Pixels()) ASSERT_EQ(p, 0x0000FFu);
  b.Print("x");
  b.Cls();
  EXPECT_EQ(b.CurrentX(), 0);
  EXPECT_EQ(b.CurrentY(), 0);
  EXPECT_EQ(Marked(b, 0x0000FF), 0);
}

TEST_F(PictureBoxTest, ImageIsASnapshotThatLaterDrawingLeavesAlone) {
  PictureBox& b = Pixel();
  b.PSet(5, 5, kRed);
  const patterns::Picture first = b.Image();
  EXPECT_TRUE(first.SameImageAs(b.Image())) << "nothing drawn in between: the same snapshot";
  b.PSet(6, 6, kRed);
  const patterns::Picture second = b.Image();
  EXPECT_FALSE(first.SameImageAs(second));
  EXPECT_EQ(first.PixelAt(6, 6), kGreenPx);
  EXPECT_EQ(second.PixelAt(6, 6), kRedPx);
  EXPECT_EQ(first.Width(), 201);
  EXPECT_EQ(first.Height(), 101);
}

TEST_F(PictureBoxTest, PictureShowsAloneOnTheBackgroundAndStaysUnderCls) {
  PictureBox& b = Pixel();
  b.PSet(150, 90, kRed);
  b.SetPicture(patterns::Picture::Solid(10, 8, 0x00FFFFFF));
  EXPECT_EQ(b.PixelAt(150, 90), kGreenPx) << "earlier drawing is replaced";
  EXPECT_EQ(b.PixelAt(9, 7), 0xFFFFFFu);
  EXPECT_EQ(b.PixelAt(10, 7), kGreenPx);
  EXPECT_EQ(b.PixelAt(9, 8), kGreenPx);
  b.PSet(2, 2, kRed);
  b.Cls();
  EXPECT_EQ(b.PixelAt(2, 2), 0xFFFFFFu) << "Cls leaves the background picture";
  b.SetBackColor(0);
  EXPECT_EQ(b.PixelAt(0, 0), 0xFFFFFFu);
  EXPECT_EQ(b.PixelAt(50, 50), 0u);
}

TEST_F(PictureBoxTest, PaintPictureCopiesScalesAndClips) {
  PictureBox& t = Twip();  // 201 x 101 pixels, twips
  auto data = std::make_shared<patterns::PictureData>();
  data->width = 2;
  data->height = 2;
  data->pixels = {0x111111, 0x222222, 0x333333, 0x444444};
  const patterns::Picture pic(data);
  t.PaintPicture(pic, 15 * 10, 15 * 10, 15 * 2, 15 * 2);  // natural size at (10, 10)
  EXPECT_EQ(t.PixelAt(10, 10), 0x111111u);
  EXPECT_EQ(t.PixelAt(11, 11), 0x444444u);
  EXPECT_EQ(t.PixelAt(12, 10), kGreenPx);
  t.PaintPicture(pic, 15 * 50, 15 * 50, 15 * 4, 15 * 4);  // doubled
  EXPECT_EQ(t.PixelAt(50, 50), 0x111111u);
  EXPECT_EQ(t.PixelAt(51, 51), 0x111111u);
  EXPECT_EQ(t.PixelAt(52, 51), 0x222222u);
  EXPECT_EQ(t.PixelAt(53, 53), 0x444444u);
  EXPECT_EQ(t.PixelAt(54, 53), kGreenPx);
  // Cut off at the right and bottom edges; the part inside is unscaled.
  t.PaintPicture(pic, 15 * 200, 15 * 100, 15 * 2, 15 * 2);
  EXPECT_EQ(t.PixelAt(200, 100), 0x111111u);
  t.PaintPicture(pic, -15, -15, 30, 30);  // only the bottom-right pixel shows
  EXPECT_EQ(t.PixelAt(0, 0), 0x444444u);
  EXPECT_EQ(t.PixelAt(1, 0), kGreenPx);
  EXPECT_EQ(t.CurrentX(), 0) << "copies leave the current position";
}

TEST_F(PictureBoxTest, PrintWritesInTheForeColourAndMovesToTheNextLine) {
  PictureBox& t = Twip();
  t.SetForeColor(0x000000FF);
  t.Print("W");
  HDC dc = GetDC(t.Hwnd());
  SelectObject(dc, t.Font());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  ReleaseDC(t.Hwnd(), dc);
  ASSERT_GT(tm.tmHeight, 0);
  EXPECT_EQ(t.CurrentX(), 0);
  EXPECT_EQ(t.CurrentY(), tm.tmHeight * 15.0);
  int red = 0, outside = 0;
  for (int y = 0; y < t.PixelHeight(); ++y)
    for (int x = 0; x < t.PixelWidth(); ++x) {
      const std::uint32_t p = t.PixelAt(x, y);
      if (p == kGreenPx) continue;
      if (y >= tm.tmHeight) ++outside;
      // Glyph edges are smoothed into the background; the strokes are red.
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
      if (r > 0xC0 && g < 0x80 && bl < 0x80) ++red;
    }
  EXPECT_GT(red, 5) << "the glyph has solid pixels of the fore colour";
  EXPECT_EQ(outside, 0) << "the text stays on its line";
  // The second line starts one line lower.
  t.Print("W");
  EXPECT_EQ(t.CurrentY(), 2 * tm.tmHeight * 15.0);
  bool second = false;
  for (int x = 0; x < 20; ++x)
    for (int y = tm.tmHeight; y < 2 * tm.tmHeight; ++y) second |= t.PixelAt(x, y) != kGreenPx;
  EXPECT_TRUE(second);
}

TEST_F(PictureBoxTest, TheWindowShowsTheImageAfterPainting) {
  PictureBox& b = Pixel();
  b.PSet(0, 0, kRed);
  b.PSet(200, 100, kRed);
  platform::testing::PumpMessages();
  // The box is at (10, 20) in its parent; its drawing area starts 2 pixels in.
  EXPECT_EQ(platform::testing::ScreenPixel(12, 22), static_cast<COLORREF>(kRed));
  EXPECT_EQ(platform::testing::ScreenPixel(12 + 200, 22 + 100), static_cast<COLORREF>(kRed));
  EXPECT_EQ(platform::testing::ScreenPixel(13, 22), 0x0080FF80u);
  b.Cls();
  platform::testing::PumpMessages();
  EXPECT_EQ(platform::testing::ScreenPixel(12, 22), 0x0080FF80u) << "erasing reaches the screen too";
}

}  // namespace
}  // namespace runtime
