// The picture-box operations the generators draw with, and nothing more. The
// runtime's picture box implements this over its raster bitmap; tests use the
// recording surface in tests/support/doubles.
//
// Coordinates and sizes are singles in the surface's own scale unit (pixels
// for the canvas, twips, 15 to a pixel, for the effect-picture boxes).
// Every surface keeps a persistent image and one current position:
//   - Cls sets it to (0, 0); PSet, Line and MoveTo set it to their point;
//   - Print moves it to the left edge of the next text line;
//   - nothing else moves it (BackColor, Picture and PaintPicture leave it).
#pragma once

#include <string_view>

#include "patterns/numeric.h"
#include "patterns/picture.h"

namespace patterns {

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Erase all drawing and text, persistent image included; what remains is
  // the background colour under the background picture.
  virtual void Cls() = 0;
  // A dot of the pen width at (x, y).
  virtual void PSet(float x, float y, Colour colour) = 0;
  // A segment from the current position to (x, y), clipped to the surface;
  // the current position becomes (x, y) even when that lies outside.
  virtual void Line(float x, float y, Colour colour) = 0;
  // Only moves the current position (setting CurrentX and CurrentY), so that
  // the next Line starts there; nothing is drawn.
  virtual void MoveTo(float x, float y) = 0;

  // Setting the background colour also erases all drawing, like Cls, but
  // leaves the current position where it is.
  virtual void SetBackColor(Colour colour) = 0;
  virtual Colour BackColor() const = 0;
  // Colour of printed text.
  virtual void SetForeColor(Colour colour) = 0;

  virtual float ScaleWidth() const = 0;
  virtual float ScaleHeight() const = 0;

  // A snapshot of the persistent image (background, background picture,
  // drawing and text). Later drawing never changes a picture already handed out.
  virtual Picture Image() = 0;
  // Make the picture the background picture, shown at the top-left corner at
  // its natural size on the background colour; earlier drawing is replaced.
  virtual void SetPicture(const Picture& picture) = 0;
  // Copy the whole picture into the rectangle, scaled to fit, pixels copied
  // as they are; parts outside the surface are clipped.
  virtual void PaintPicture(const Picture& picture, float x, float y, float width, float height) = 0;
  // UTF-8 text at the current position in the surface's font and foreground colour.
  virtual void Print(std::string_view text) = 0;
};

// For surfaces that clip lines: cuts the segment to [lo, hiX] x [lo, hiY]
// (Liang-Barsky), moving its ends along it; false when nothing of it lies
// there. The curves of large amplitudes run millions of pixels past any
// surface, so they are cut before they reach integer or fixed-point
// coordinates.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY);

}  // namespace patterns
