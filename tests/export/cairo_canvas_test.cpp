// The file canvas: where a canvas pixel lands at any size, how wide a line
// is, the background, clipping to the tile, and the operations a file has no
// use for.
#include "export/cairo_canvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace exporter {
namespace {

constexpr patterns::Colour kBack = 0x0080FF80;  // pixel 0x80FF80
constexpr patterns::Colour kLine = 0x000000FF;  // red, pixel 0xFF0000
constexpr std::uint32_t kBackPx = 0x80FF80, kLinePx = 0xFF0000, kFillPx = 0x123456;

// An RGB24 surface of w x h filled with kFillPx, and a canvas of `size`
// device units at (ox, oy) on it.
class Target {
 public:
  Target(int w, int h, double size, double ox = 0, double oy = 0)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h)), cr_(cairo_create(surface_)) {
    cairo_set_source_rgb(cr_, 0x12 / 255.0, 0x34 / 255.0, 0x56 / 255.0);
    cairo_paint(cr_);
    cairo_translate(cr_, ox, oy);
    canvas_ = std::make_unique<CairoCanvas>(cr_, size, kBack);
  }
  ~Target() {
    canvas_.reset();
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  CairoCanvas& canvas() { return *canvas_; }
  std::uint32_t At(int x, int y) {
    canvas_->Flush();
    cairo_surface_flush(surface_);
    const auto* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
  }

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
  std::unique_ptr<CairoCanvas> canvas_;
};

TEST(CairoCanvas, TheBackgroundFillsTheTileAndOnlyTheTile) {
  Target t(300, 300, 201, 50, 60);
  EXPECT_EQ(t.At(50, 60), kBackPx);
  EXPECT_EQ(t.At(250, 260), kBackPx);
  EXPECT_EQ(t.At(49, 60), kFillPx);
  EXPECT_EQ(t.At(251, 260), kFillPx);
  EXPECT_EQ(t.At(250, 261), kFillPx);
  EXPECT_EQ(t.canvas().ScaleWidth(), 201.0f);
  EXPECT_EQ(t.canvas().ScaleHeight(), 201.0f);
}

TEST(CairoCanvas, ALineOnPixelCentresCoversItsRowOfPixelsAtOnePixelASide) {
  Target t(201, 201, 201);
  t.canvas().PSet(10, 50, 0);
  t.canvas().Line(190, 50, kLine);
  for (int x = 11; x <= 189; ++x) {
    ASSERT_EQ(t.At(x, 50), kLinePx) << x;
    ASSERT_EQ(t.At(x, 49), kBackPx) << x;
    ASSERT_EQ(t.At(x, 51), kBackPx) << x;
  }
  EXPECT_EQ(t.At(195, 50), kBackPx);
}

TEST(CairoCanvas, AtTenTimesTheSizeCoordinatesAndWidthScaleTogether) {
  Target t(2010, 2010, 2010);
  t.canvas().PSet(10, 50, 0);
  t.canvas().Line(190, 50, kLine);
  // Canvas row 50 is device rows 500 to 509; the line is ten rows thick.
  for (int x : {200, 1000, 1800}) {
    for (int y = 500; y <= 509; ++y) ASSERT_EQ(t.At(x, y), kLinePx) << x << "," << y;
    EXPECT_EQ(t.At(x, 499), kBackPx);
    EXPECT_EQ(t.At(x, 510), kBackPx);
  }
  // A vertical line: canvas column 100 is device columns 1000 to 1009.
  t.canvas().PSet(100, 120, 0);
  t.canvas().Line(100, 180, kLine);
  for (int x = 1000; x <= 1009; ++x) EXPECT_EQ(t.At(x, 1500), kLinePx) << x;
  EXPECT_EQ(t.At(999, 1500), kBackPx);
  EXPECT_EQ(t.At(1010, 1500), kBackPx);
}

TEST(CairoCanvas, ADotIsOnePixelRoundAtItsPoint) {
  Target t(2010, 2010, 2010);
  t.canvas().PSet(100, 100, kLine);
  EXPECT_EQ(t.At(1005, 1005), kLinePx);  // the middle of canvas pixel (100, 100)
  EXPECT_EQ(t.At(1000, 1000), kBackPx);  // its corner: a round dot leaves it
  EXPECT_EQ(t.At(1011, 1005), kBackPx);
}

TEST(CairoCanvas, ADotUnderTheStartOfASegmentLeavesNoRimAroundItsEnd) {
  // Every curve starts with a black dot that its first segment covers. Any
  // pixel around the segment's round end is a plain mix of line and
  // background: R = 128 + 127 c and G = 255 (1 - c), with no black in it.
  Target t(2010, 2010, 2010);
  t.canvas().PSet(100, 100, 0);
  t.canvas().Line(150, 100, kLine);
  t.canvas().PSet(20, 20, 0);  // a dot on its own is drawn
  int mixed = 0;
  for (int y = 995; y < 1015; ++y) {
    for (int x = 995; x < 1015; ++x) {
      const std::uint32_t p = t.At(x, y);
      const double c = 1.0 - ((p >> 8) & 0xFF) / 255.0;
      ASSERT_NEAR(static_cast<double>(p >> 16), 128 + 127 * c, 2.0) << x << "," << y;
      mixed += c > 0.05 && c < 0.95;
    }
  }
  EXPECT_GT(mixed, 5) << "the round end is antialiased";
  EXPECT_EQ(t.At(205, 205), 0u);
}

TEST(CairoCanvas, LinesReachingFarOutsideAreClippedToTheTile) {
  Target t(300, 300, 201, 50, 50);
  t.canvas().PSet(100, 100, 0);
  t.canvas().Line(1e30f, 100, kLine);  // far beyond cairo's fixed-point range
  for (int x = 151; x <= 250; ++x) ASSERT_EQ(t.At(x, 150), kLinePx) << x;
  EXPECT_EQ(t.At(251, 150), kFillPx) << "nothing beyond the tile";
  t.canvas().PSet(100, 100, 0);
  t.canvas().Line(-1e30f, -1e30f, kLine);
  EXPECT_GT(t.At(50, 50) >> 16, 0xC0u) << "the diagonal reaches the tile's corner, mostly red";
  EXPECT_EQ(t.At(40, 40), kFillPx);
  // A segment wholly outside draws nothing but still moves the position.
  t.canvas().PSet(-50, 150, 0);
  t.canvas().Line(-40, 170, kLine);
  t.canvas().Line(100, 150, kLine);
  EXPECT_NE(t.At(50, 214), kBackPx) << "the next segment starts where the last one ended";
  EXPECT_EQ(t.At(50, 200), kBackPx);
}

TEST(CairoCanvas, ErasingShowsTheBackgroundAlone) {
  Target t(201, 201, 201);
  t.canvas().PSet(10, 10, 0);
  t.canvas().Line(20, 10, kLine);
  t.canvas().Cls();
  EXPECT_EQ(t.At(15, 10), kBackPx);
  t.canvas().Line(20, 30, kLine);  // from (0, 0), where Cls left the position
  EXPECT_GT(t.At(0, 0) >> 16, 0xC0u);
  t.canvas().SetBackColor(0x00FF0000);  // blue
  EXPECT_EQ(t.At(10, 15), 0x0000FFu);
  EXPECT_EQ(t.canvas().BackColor(), 0x00FF0000);
}

TEST(CairoCanvas, AFileCanvasHandsOutNoPicturesAndPrintsNoText) {
  Target t(10, 10, 10);
  EXPECT_THROW(t.canvas().Image(), std::logic_error);
  EXPECT_THROW(t.canvas().SetPicture(patterns::Picture::Solid(2, 2, 0)), std::logic_error);
  EXPECT_THROW(t.canvas().PaintPicture(patterns::Picture::Solid(2, 2, 0), 0, 0, 2, 2), std::logic_error);
  EXPECT_THROW(t.canvas().Print("x"), std::logic_error);
}

}  // namespace
}  // namespace exporter
