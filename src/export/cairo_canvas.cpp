#include "export/cairo_canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "patterns/curve_pattern.h"

namespace exporter {
namespace {

using patterns::Colour;

constexpr double kTile = patterns::kCanvasPixels;
// Segments are cut to the tile and this much around it before they reach
// cairo, whose fixed-point coordinates would wrap for amplitudes in the
// thousands; a round end reaches half a pixel past its point.
constexpr double kMargin = 2.0;
constexpr double kLo = -0.5 - kMargin;
constexpr double kHi = kTile - 0.5 + kMargin;

bool Inside(double x, double y) { return x >= kLo && x <= kHi && y >= kLo && y <= kHi; }

[[noreturn]] void NotOnFiles(const char* what) {
  throw std::logic_error(std::string("a file canvas has no ") + what);
}

}  // namespace

CairoCanvas::CairoCanvas(cairo_t* cr, double size, Colour background) : cr_(cr), back_(background) {
  cairo_save(cr_);
  cairo_scale(cr_, size / kTile, size / kTile);
  cairo_translate(cr_, 0.5, 0.5);
  cairo_rectangle(cr_, -0.5, -0.5, kTile, kTile);
  cairo_clip(cr_);
  cairo_set_line_width(cr_, 1.0);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  Erase();
}

CairoCanvas::~CairoCanvas() {
  // A destructor must not throw; what Flush would stroke is dropped only when
  // the caller never asked for it.
  cairo_new_path(cr_);
  cairo_restore(cr_);
}

void CairoCanvas::SetSource(Colour colour) {
  const auto u = static_cast<std::uint32_t>(colour);
  cairo_set_source_rgb(cr_, (u & 0xFFu) / 255.0, ((u >> 8) & 0xFFu) / 255.0, ((u >> 16) & 0xFFu) / 255.0);
}

void CairoCanvas::DrawPendingDot() {
  if (!dot_pending_) return;
  dot_pending_ = false;
  cairo_new_path(cr_);
  cairo_arc(cr_, dot_x_, dot_y_, 0.5, 0.0, 2 * M_PI);
  SetSource(dot_colour_);
  cairo_fill(cr_);
}

void CairoCanvas::Flush() {
  DrawPendingDot();
  if (!path_open_) return;
  SetSource(path_colour_);
  cairo_stroke(cr_);
  path_open_ = false;
}

void CairoCanvas::Erase() {
  cairo_new_path(cr_);
  path_open_ = false;
  dot_pending_ = false;
  SetSource(back_);
  cairo_paint(cr_);
  blank_ = true;
}

void CairoCanvas::Cls() {
  cur_x_ = 0;
  cur_y_ = 0;
  if (!blank_) Erase();
}

void CairoCanvas::SetBackColor(Colour colour) {
  if (colour == back_ && blank_) return;
  back_ = colour;
  Erase();
}

void CairoCanvas::PSet(float x, float y, Colour colour) {
  Flush();
  cur_x_ = x;
  cur_y_ = y;
  if (!Inside(x, y)) return;
  dot_pending_ = true;
  dot_colour_ = colour;
  dot_x_ = x;
  dot_y_ = y;
  blank_ = false;
}

void CairoCanvas::Line(float x, float y, Colour colour) {
  double x0 = cur_x_, y0 = cur_y_, x1 = x, y1 = y;
  cur_x_ = x;
  cur_y_ = y;
  const bool visible = patterns::ClipSegment(x0, y0, x1, y1, kLo, kHi, kHi);
  if (dot_pending_) {
    // A segment of length that starts on the dot hides it under its round
    // end; anything else leaves it showing.
    const bool covers = visible && x0 == dot_x_ && y0 == dot_y_ && (x1 != x0 || y1 != y0);
    if (covers) {
      dot_pending_ = false;
    } else {
      DrawPendingDot();
    }
  }
  if (!visible) return;
  if (path_open_ && colour != path_colour_) Flush();
  if (!path_open_ || x0 != path_x_ || y0 != path_y_) cairo_move_to(cr_, x0, y0);
  cairo_line_to(cr_, x1, y1);
  path_open_ = true;
  path_colour_ = colour;
  path_x_ = x1;
  path_y_ = y1;
  blank_ = false;
}

// The open path stays open: a segment that starts elsewhere begins a new
// piece of it, so the pieces of one curve are still stroked together.
void CairoCanvas::MoveTo(float x, float y) {
  cur_x_ = x;
  cur_y_ = y;
}

float CairoCanvas::ScaleWidth() const { return static_cast<float>(kTile); }
float CairoCanvas::ScaleHeight() const { return static_cast<float>(kTile); }

patterns::Picture CairoCanvas::Image() { NotOnFiles("image to hand out"); }
void CairoCanvas::SetPicture(const patterns::Picture&) { NotOnFiles("background picture"); }
void CairoCanvas::PaintPicture(const patterns::Picture&, float, float, float, float) {
  NotOnFiles("pictures");
}
void CairoCanvas::Print(std::string_view) { NotOnFiles("text"); }

}  // namespace exporter
