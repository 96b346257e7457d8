// Speed of the pattern generators on real pixel buffers: one "画图1", one
// "画图2", one effect picture and one automatic tick.
//
// Sections:
//   1. RasterSurface: a minimal DrawingSurface over a 0x00RRGGBB pixel
//      buffer, standing in for the runtime's picture box
//   2. The window's four surfaces at their layout sizes
//   3. The benchmarks
//
// The surface hands out its buffer from Image without copying and clones it
// before the next change while a picture still holds it, which is what the
// picture box is expected to do too. It draws no glyphs: Print only moves the
// current position, so the effect-picture figure leaves out text rendering.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "patterns/auto_tick.h"
#include "patterns/curve_pattern.h"
#include "patterns/effect_picture.h"
#include "patterns/pattern_context.h"
#include "patterns/random_source.h"

namespace {

using patterns::Colour;
using patterns::Picture;
using patterns::PictureData;

// ---------------------------------------------------------------------------
// 1. RasterSurface
// ---------------------------------------------------------------------------

class RasterSurface final : public patterns::DrawingSurface {
 public:
  // scale: units per pixel (1 for pixels, 15 for twips).
  RasterSurface(int width, int height, float scale, Colour back)
      : width_(width), height_(height), scale_(scale), back_(back) {
    Repaint();
  }

  void Cls() override {
    cur_x_ = cur_y_ = 0;
    Repaint();
  }

  void PSet(float x, float y, Colour colour) override {
    cur_x_ = x;
    cur_y_ = y;
    Writable();
    Plot(ToPixel(x), ToPixel(y), patterns::PixelFromColour(colour));
  }

  void Line(float x, float y, Colour colour) override {
    double x0 = cur_x_ / scale_, y0 = cur_y_ / scale_, x1 = x / scale_, y1 = y / scale_;
    cur_x_ = x;
    cur_y_ = y;
    if (!ClipToBox(x0, y0, x1, y1)) return;
    Writable();
    Bresenham(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)),
              static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)),
              patterns::PixelFromColour(colour));
  }

  void MoveTo(float x, float y) override {
    cur_x_ = x;
    cur_y_ = y;
  }

  void SetBackColor(Colour colour) override {
    back_ = colour;
    Repaint();
  }
  Colour BackColor() const override { return back_; }
  void SetForeColor(Colour colour) override { fore_ = colour; }
  float ScaleWidth() const override { return static_cast<float>(width_) * scale_; }
  float ScaleHeight() const override { return static_cast<float>(height_) * scale_; }

  Picture Image() override { return Picture(std::shared_ptr<const PictureData>(buffer_)); }

  void SetPicture(const Picture& picture) override {
    background_ = picture;
    Repaint();
  }

  void PaintPicture(const Picture& picture, float x, float y, float w, float h) override {
    if (picture.IsEmpty()) return;
    const int dx = ToPixel(x), dy = ToPixel(y);
    const int dw = static_cast<int>(std::lround(w / scale_)), dh = static_cast<int>(std::lround(h / scale_));
    if (dw <= 0 || dh <= 0) return;
    Writable();
    const int x_from = std::max(dx, 0), x_to = std::min(dx + dw, width_);
    const int y_from = std::max(dy, 0), y_to = std::min(dy + dh, height_);
    if (x_from >= x_to) return;
    const auto src = picture.Pixels();
    for (int py = y_from; py < y_to; ++py) {
      const int sy = static_cast<int>(static_cast<long long>(py - dy) * picture.Height() / dh);
      const std::uint32_t* srow = src.data() + static_cast<std::size_t>(sy) * picture.Width();
      std::uint32_t* drow = Row(py);
      if (dw == picture.Width()) {
        std::memcpy(drow + x_from, srow + (x_from - dx), sizeof(std::uint32_t) * (x_to - x_from));
      } else {
        for (int px = x_from; px < x_to; ++px) {
          drow[px] = srow[static_cast<long long>(px - dx) * picture.Width() / dw];
        }
      }
    }
  }

  void Print(std::string_view) override {
    cur_x_ = 0;
    cur_y_ += 20 * scale_;
  }

 private:
  int ToPixel(float v) const { return static_cast<int>(std::floor(v / scale_ + 0.5f)); }
  std::uint32_t* Row(int y) { return buffer_->pixels.data() + static_cast<std::size_t>(y) * width_; }

  void Plot(int x, int y, std::uint32_t c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) Row(y)[x] = c;
  }

  // Copy on write: a picture handed out keeps the pixels it was given.
  void Writable() {
    if (buffer_.use_count() > 1) buffer_ = std::make_shared<PictureData>(*buffer_);
  }

  void Repaint() {
    if (!buffer_ || buffer_.use_count() > 1) {
      buffer_ = std::make_shared<PictureData>();
      buffer_->width = width_;
      buffer_->height = height_;
    }
    buffer_->pixels.assign(static_cast<std::size_t>(width_) * height_, patterns::PixelFromColour(back_));
    if (background_.IsEmpty()) return;
    const int w = std::min(width_, background_.Width()), h = std::min(height_, background_.Height());
    for (int y = 0; y < h; ++y) {
      std::memcpy(Row(y), background_.Pixels().data() + static_cast<std::size_t>(y) * background_.Width(),
                  sizeof(std::uint32_t) * w);
    }
  }

  // Liang-Barsky against the pixel box widened by one pixel, so that far-off
  // ends (huge amplitudes) never reach the integer stepping below.
  bool ClipToBox(double& x0, double& y0, double& x1, double& y1) const {
    const double lo_x = -1, lo_y = -1, hi_x = width_, hi_y = height_;
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lo_x, hi_x - x0, y0 - lo_y, hi_y - y0};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) {
        t0 = std::max(t0, t);
      } else {
        t1 = std::min(t1, t);
      }
      if (t0 > t1) return false;
    }
    const double ox = x0, oy = y0;
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
    return true;
  }

  void Bresenham(int x0, int y0, int x1, int y1, std::uint32_t c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Plot(x0, y0, c);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
  }

  int width_, height_;
  float scale_;
  Colour back_;
  Colour fore_ = 0;
  float cur_x_ = 0, cur_y_ = 0;
  Picture background_;
  std::shared_ptr<PictureData> buffer_;
};

// ---------------------------------------------------------------------------
// 2. The window's surfaces
// ---------------------------------------------------------------------------

struct Window {
  RasterSurface picpaint{201, 201, 1.0f, 0x80FF80};
  RasterSurface picture1{737, 709, 15.0f, 0xFF8080};
  RasterSurface picture2{201, 201, 15.0f, 0xF0F0F0};
  RasterSurface picture3{205, 201, 15.0f, 0xF0F0F0};
  patterns::Pcg32Random rnd;
  patterns::PatternContext ctx{.picpaint = picpaint,
                               .Picture1 = picture1,
                               .Picture2 = picture2,
                               .Picture3 = picture3,
                               .amplitudeText = [] { return std::string("80"); },
                               .rnd = rnd,
                               .clock = [] { return patterns::LocalDateTime{2026, 12, 7, 14, 3, 5}; },
                               .icolor = 0};
};

// ---------------------------------------------------------------------------
// 3. Benchmarks
// ---------------------------------------------------------------------------

void BM_Pattern1(benchmark::State& state) {
  Window w;
  for (auto _ : state) patterns::DrawCurvePattern1(w.ctx);
}
BENCHMARK(BM_Pattern1)->Unit(benchmark::kMicrosecond);

void BM_Pattern2(benchmark::State& state) {
  Window w;
  for (auto _ : state) patterns::DrawCurvePattern2(w.ctx);
}
BENCHMARK(BM_Pattern2)->Unit(benchmark::kMicrosecond);

void BM_EffectPicture(benchmark::State& state) {
  Window w;
  patterns::DrawCurvePattern1(w.ctx);
  for (auto _ : state) patterns::DrawEffectPicture(w.ctx);
}
BENCHMARK(BM_EffectPicture)->Unit(benchmark::kMicrosecond);

void BM_AutoTick(benchmark::State& state) {
  Window w;
  for (auto _ : state) patterns::AutoTick1(w.ctx);
}
BENCHMARK(BM_AutoTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
