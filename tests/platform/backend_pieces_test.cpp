// The pieces of presenting that need no display: the dirty rectangles a
// surface keeps, the scaled copy to a window surface, and how the HiDPI
// scale is chosen.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend/display_scale.h"
#include "platform/backend/scaled_copy.h"
#include "platform/backend/video_driver.h"
#include "platform/gdi/dirty_rects.h"
#include "platform/gdi/shared_pixels.h"
#include "support/rect_compare.h"

namespace {

using platform::gdi::DirtyRects;
using platform::gdi::PixelBuffer;

bool Covers(const DirtyRects& d, int x, int y) {
  for (const RECT& r : d.rects())
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

TEST(DirtyRects, NearbyWritesMergeAndDistantOnesStaySeparate) {
  DirtyRects d;
  d.Add(RECT{10, 10, 79, 31});
  d.Add(RECT{20, 15, 30, 20});  // inside
  d.Add(RECT{80, 10, 90, 31});  // touching on the right
  EXPECT_EQ(std::vector<RECT>(d.rects().begin(), d.rects().end()), (std::vector<RECT>{RECT{10, 10, 90, 31}}));
  d.Add(RECT{600, 500, 669, 521});  // far away
  ASSERT_EQ(d.rects().size(), 2u);
  EXPECT_EQ(d.Bounds(), (RECT{10, 10, 669, 521}));
  // A piece that bridges the two joins all three.
  d.Add(RECT{80, 30, 610, 510});
  EXPECT_EQ(std::vector<RECT>(d.rects().begin(), d.rects().end()),
            (std::vector<RECT>{RECT{10, 10, 669, 521}}));
  d.Clear();
  EXPECT_TRUE(d.empty());
  EXPECT_EQ(d.Bounds(), (RECT{0, 0, 0, 0}));
}

TEST(DirtyRects, ManyScatteredWritesStayFewAndCoverEveryWrittenPixel) {
  DirtyRects d;
  std::vector<POINT> written;
  // A diagonal of single pixels 100 apart, then a column of them: more
  // pieces than kept, none near another.
  for (int i = 0; i < 20; ++i) written.push_back(POINT{i * 100, i * 100});
  for (int i = 0; i < 20; ++i) written.push_back(POINT{3000, i * 100});
  for (POINT p : written) d.Add(RECT{p.x, p.y, p.x + 1, p.y + 1});
  EXPECT_LE(d.rects().size(), static_cast<std::size_t>(DirtyRects::kMax));
  for (POINT p : written) EXPECT_TRUE(Covers(d, p.x, p.y)) << p.x << "," << p.y;
}

TEST(DirtyRects, AStrokeDrawnPixelByPixelIsOneRectangle) {
  DirtyRects d;
  for (int i = 0; i < 500; ++i) d.Add(RECT{i, i / 2, i + 1, i / 2 + 1});
  EXPECT_EQ(std::vector<RECT>(d.rects().begin(), d.rects().end()), (std::vector<RECT>{RECT{0, 0, 500, 250}}));
}

TEST(DirtyRects, SurfacesClipWhatTheyReportToThemselves) {
  PixelBuffer buf(100, 50);
  buf.Touch(-10, -10, 5, 5);
  buf.Touch(90, 40, 200, 200);
  buf.Touch(60, 60, 70, 70);  // wholly outside
  EXPECT_EQ(std::vector<RECT>(buf.dirty.rects().begin(), buf.dirty.rects().end()),
            (std::vector<RECT>{RECT{0, 0, 5, 5}, RECT{90, 40, 100, 50}}));
}

// A source whose every pixel tells where it is.
PixelBuffer Numbered(int w, int h) {
  PixelBuffer src(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) src.row(y)[x] = static_cast<std::uint32_t>(y * 1000 + x);
  return src;
}

class ScaledCopy : public ::testing::TestWithParam<int> {};

TEST_P(ScaledCopy, EachPixelOfTheRectangleBecomesABlockAndNothingElseIsWritten) {
  const int s = GetParam();
  const PixelBuffer src = Numbered(20, 10);
  const RECT r{3, 2, 9, 7};
  // A destination wider than the copy (a pitch beyond the row), with a
  // fence around where the copy goes.
  const int pitchPixels = 80, rows = 40;
  constexpr std::uint32_t kFence = 0xDEADBEEF;
  std::vector<std::uint32_t> dst(static_cast<std::size_t>(pitchPixels) * rows, kFence);
  const int ox = 5, oy = 4;  // where r's top-left goes
  platform::backend::CopyScaled(src, r, dst.data() + oy * pitchPixels + ox, pitchPixels * 4, s);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < pitchPixels; ++x) {
      const int dx = x - ox, dy = y - oy;
      const bool inside = dx >= 0 && dy >= 0 && dx < (r.right - r.left) * s && dy < (r.bottom - r.top) * s;
      const std::uint32_t want = inside ? src.row(r.top + dy / s)[r.left + dx / s] : kFence;
      ASSERT_EQ(dst[static_cast<std::size_t>(y) * pitchPixels + x], want)
          << "scale " << s << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledCopy, ::testing::Values(1, 2, 3));

TEST(DisplayScale, OnlyWholeNumbersFromOneUpAreScales) {
  using platform::backend::ParseScale;
  EXPECT_EQ(ParseScale("2"), 2);
  EXPECT_EQ(ParseScale(" 3 "), 3);
  EXPECT_EQ(ParseScale("1"), 1);
  EXPECT_EQ(ParseScale("99"), platform::backend::kMaxDisplayScale);
  EXPECT_EQ(ParseScale("99999999999999999999999"), platform::backend::kMaxDisplayScale);
  for (const char* bad : {"", "0", "-2", "+2", "1.5", "2x", "two", " "})
    EXPECT_EQ(ParseScale(bad), std::nullopt) << '"' << bad << '"';
  EXPECT_EQ(ParseScale(nullptr), std::nullopt);
}

TEST(DisplayScale, XftDpiIsReadFromItsOwnLineOfTheResources) {
  using platform::backend::XftDpiIn;
  EXPECT_EQ(XftDpiIn("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 192.0);
  EXPECT_EQ(XftDpiIn("Xft.dpi: 144.5"), 144.5);
  EXPECT_EQ(XftDpiIn("Xft.dpiX:\t192\n"), std::nullopt) << "another resource";
  EXPECT_EQ(XftDpiIn("*.dpi:\t192\nXft.antialias:\t1\n"), std::nullopt);
  EXPECT_EQ(XftDpiIn("Xft.dpi:\tlarge\n"), std::nullopt);
  EXPECT_EQ(XftDpiIn(""), std::nullopt);
}

TEST(DisplayScale, TheProgramsVariableThenGdkScaleThenXftDpiDecide) {
  using platform::backend::ChooseDisplayScale;
  int reads = 0;
  auto dpi = [&reads](std::optional<double> v) {
    return [&reads, v] {
      ++reads;
      return v;
    };
  };
  EXPECT_EQ(ChooseDisplayScale("3", "2", dpi(288.0)), 3);
  EXPECT_EQ(ChooseDisplayScale(nullptr, "2", dpi(288.0)), 2);
  EXPECT_EQ(ChooseDisplayScale("zero", "2", dpi(288.0)), 2) << "a value that is no scale does not decide";
  EXPECT_EQ(reads, 0) << "the display is not asked when a variable decides";
  EXPECT_EQ(ChooseDisplayScale(nullptr, nullptr, dpi(192.0)), 2);
  EXPECT_EQ(ChooseDisplayScale(nullptr, nullptr, dpi(287.0)), 2) << "rounded down";
  EXPECT_EQ(ChooseDisplayScale(nullptr, nullptr, dpi(96.0)), 1);
  EXPECT_EQ(ChooseDisplayScale(nullptr, nullptr, dpi(72.0)), 1) << "at least 1";
  EXPECT_EQ(ChooseDisplayScale(nullptr, nullptr, dpi(std::nullopt)), 1);
  EXPECT_EQ(ChooseDisplayScale(nullptr, nullptr, dpi(1e300)), platform::backend::kMaxDisplayScale);
}

}  // namespace

namespace {

using platform::gdi::SharedPixelsId;

TEST(VideoDriver, DriversThatShowNothingServeOnlyWhenTheUserNamesThem) {
  using platform::backend::ScreenIsVisible;
  EXPECT_TRUE(ScreenIsVisible("x11", nullptr));
  EXPECT_TRUE(ScreenIsVisible("wayland", "x11,wayland"));
  // SDL's fallback when DISPLAY is missing.
  EXPECT_FALSE(ScreenIsVisible("offscreen", nullptr));
  EXPECT_FALSE(ScreenIsVisible("dummy", "x11"));
  EXPECT_FALSE(ScreenIsVisible("offscreen", "offscreenx"));
  EXPECT_TRUE(ScreenIsVisible("offscreen", "x11,OFFSCREEN"));
  EXPECT_TRUE(ScreenIsVisible("dummy", "dummy"));
  EXPECT_FALSE(ScreenIsVisible(nullptr, nullptr));
}

TEST(SharedPixels, WindowSizedScreenSurfacesLiveInSharedMemoryAndGoWithTheirBuffer) {
  {
    auto headless = PixelBuffer::ForScreen(952, 716, 0);
    EXPECT_FALSE(SharedPixelsId(headless->pixels.data()).has_value()) << "no screen that reads it";
  }
  platform::gdi::UseSharedPixelsForScreens(true);
  const void* storage = nullptr;
  {
    auto surface = PixelBuffer::ForScreen(952, 716, 0xFFFFFF);
    storage = surface->pixels.data();
    ASSERT_TRUE(SharedPixelsId(storage).has_value()) << "the X server can read it";
    EXPECT_EQ(surface->row(715)[951], 0xFFFFFFu) << "filled like any buffer";
    surface->row(0)[0] = 0x123456;
    const PixelBuffer copy = *surface;
    EXPECT_EQ(copy.row(0)[0], 0x123456u);
    EXPECT_NE(copy.pixels.data(), surface->pixels.data());
  }
  EXPECT_FALSE(SharedPixelsId(storage).has_value()) << "detached with the buffer";

  auto small = PixelBuffer::ForScreen(60, 40, 0);
  EXPECT_FALSE(SharedPixelsId(small->pixels.data()).has_value()) << "not worth a segment";
  PixelBuffer bitmap(952, 716);
  EXPECT_FALSE(SharedPixelsId(bitmap.pixels.data()).has_value()) << "bitmaps are ordinary memory";
  int local = 0;
  EXPECT_FALSE(platform::gdi::FreeSharedPixels(&local)) << "only its own segments";
  platform::gdi::UseSharedPixelsForScreens(false);
}

}  // namespace
