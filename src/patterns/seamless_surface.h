// The canvas as a torus, for tiles that repeat without a seam: whatever is
// drawn past one edge comes back in at the opposite edge, however far it
// goes. A segment that crosses into other tile cells (201 x 201 pixels each,
// cell (0, 0) being the canvas itself) is handed to the canvas once for
// every cell it inks, moved back by whole cells; the canvas clips each copy
// to itself, as it clips any line. Colours, dots and the drawing order are
// the pattern's own: only where the curves end at the edge changes.
//
// Copies are moved by whole pixels with no rounding on the way, so that a
// copy lands on exactly the pixels the line would ink next door; a long
// curve costs what it crosses, not the area around it.
#pragma once

#include <vector>

#include "patterns/drawing_surface.h"
#include "patterns/pattern_code.h"

namespace patterns {

// How far from the canvas a seamless tile follows its curves, in pixels.
// Past it, the float coordinates the canvas takes could no longer be moved
// by whole cells exactly; a pattern reaching further raises 6 when drawn
// seamlessly. It is about 9 times the largest amplitude the window offers.
inline constexpr double kSeamlessReach = 65536.0;

struct TileCell {
  int i;  // columns to the right of the canvas
  int j;  // rows below it
  bool operator==(const TileCell&) const = default;
};

// The cells whose pixels the segment from (x0, y0) to (x1, y1) may ink when
// drawn one pixel wide: those it comes within one pixel of, each once, in
// rows from the top. Cells it only passes near (the rest of its bounding
// box) are left out. The coordinates are the canvas's pixels and lie within
// kSeamlessReach of it.
void CellsReached(double x0, double y0, double x1, double y1, std::vector<TileCell>& cells);

class SeamlessSurface final : public DrawingSurface {
 public:
  // `canvas` is 201 x 201 pixels in pixel units; it must outlive this.
  explicit SeamlessSurface(DrawingSurface& canvas) : canvas_(canvas) {}

  // Hands on a dot still held back (see PSet); the canvas then has
  // everything drawn so far.
  void Flush();

  void Cls() override;
  // A dot is held back until the next call: a line that starts on it takes
  // it along into every cell where both can show, drawn just before the
  // line's copy there, as the canvas would get them without the wrapping.
  // Raises 6 for a point past kSeamlessReach.
  void PSet(float x, float y, Colour colour) override;
  // Raises 6 for an end past kSeamlessReach, before anything is drawn.
  void Line(float x, float y, Colour colour) override;
  void MoveTo(float x, float y) override;
  void SetBackColor(Colour colour) override;
  Colour BackColor() const override { return canvas_.BackColor(); }
  void SetForeColor(Colour colour) override { canvas_.SetForeColor(colour); }
  float ScaleWidth() const override { return canvas_.ScaleWidth(); }
  float ScaleHeight() const override { return canvas_.ScaleHeight(); }
  Picture Image() override;
  // A seamless tile holds curves: pictures and text throw std::logic_error.
  void SetPicture(const Picture& picture) override;
  void PaintPicture(const Picture& picture, float x, float y, float width, float height) override;
  void Print(std::string_view text) override;

 private:
  DrawingSurface& canvas_;
  float cur_x_ = 0, cur_y_ = 0;
  bool dot_held_ = false;
  Colour dot_colour_ = 0;
  std::vector<TileCell> cells_;
  std::vector<TileCell> dot_cells_;
};

// The pattern of a code on a seamless tile: DrawPattern through a
// SeamlessSurface over `canvas`. Raises as DrawPattern does, and 6 for a
// pattern past kSeamlessReach.
void DrawSeamlessPattern(DrawingSurface& canvas, const PatternCode& code);

}  // namespace patterns
