// The pattern canvas laid over a cairo context, so that the generators draw
// files with the very code that draws the window's canvas.
//
// The canvas is 201 x 201 pixels; on the file each of them becomes size/201
// units. Coordinate v is the centre of the canvas pixel it lands on, so the
// tile spans -0.5 to 200.5. Lines and dots are one canvas pixel wide, with
// round ends and joins, in exact colours over a background that fills the
// tile; everything is clipped to the tile, as on the canvas.
//
// Consecutive segments of one colour become one path, stroked when a dot,
// another colour or an erase comes, or at Flush: the file gets one path per
// curve instead of thousands of single segments, in the order drawn. A dot
// that the next segment starts on is covered by that segment's round end
// exactly, as the canvas covers it; it is left out, so that antialiasing
// cannot show a dark rim of it around the line's end.
#pragma once

#include <cairo.h>

#include "patterns/drawing_surface.h"

namespace exporter {

class CairoCanvas final : public patterns::DrawingSurface {
 public:
  // The tile's top-left corner at cr's current origin, `size` device units a
  // side, filled with `background`. The canvas leaves cr's state as it found
  // it when it is destroyed.
  CairoCanvas(cairo_t* cr, double size, patterns::Colour background);
  ~CairoCanvas() override;
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  // Strokes the pending path; everything drawn so far is then on cr.
  void Flush();

  void Cls() override;
  void PSet(float x, float y, patterns::Colour colour) override;
  void Line(float x, float y, patterns::Colour colour) override;
  void MoveTo(float x, float y) override;
  void SetBackColor(patterns::Colour colour) override;
  patterns::Colour BackColor() const override { return back_; }
  void SetForeColor(patterns::Colour colour) override { fore_ = colour; }
  float ScaleWidth() const override;
  float ScaleHeight() const override;

  // A file is written, never read back, and holds no text or pictures: these
  // throw std::logic_error. The curve generators do not call them.
  patterns::Picture Image() override;
  void SetPicture(const patterns::Picture& picture) override;
  void PaintPicture(const patterns::Picture& picture, float x, float y, float width, float height) override;
  void Print(std::string_view text) override;

 private:
  void Erase();
  void SetSource(patterns::Colour colour);
  void DrawPendingDot();

  cairo_t* cr_;
  patterns::Colour back_;
  patterns::Colour fore_ = 0;
  double cur_x_ = 0, cur_y_ = 0;
  // The open path: its colour and where it ends.
  bool path_open_ = false;
  patterns::Colour path_colour_ = 0;
  double path_x_ = 0, path_y_ = 0;
  // The last dot, drawn only once it is clear that nothing covers it.
  bool dot_pending_ = false;
  patterns::Colour dot_colour_ = 0;
  double dot_x_ = 0, dot_y_ = 0;
  // Nothing drawn since the last erase: erasing again changes nothing, so
  // the file does not get a second background.
  bool blank_ = false;
};

}  // namespace exporter
