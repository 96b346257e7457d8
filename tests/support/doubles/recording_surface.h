// A DrawingSurface that draws nothing and logs every call with its exact
// arguments, for checking what the generators ask of a surface. It also keeps
// the current position by the surface rules, so tests can see where text
// would go. Image hands out a fresh solid picture of the background colour
// on every call, so each snapshot can be told apart with SameImageAs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "patterns/drawing_surface.h"

namespace patterns::testing {

enum class Op {
  kCls,
  kPSet,
  kLine,
  kMoveTo,
  kSetBackColor,
  kSetForeColor,
  kImage,
  kSetPicture,
  kPaintPicture,
  kPrint
};

struct SurfaceCall {
  Op op = Op::kCls;
  float x = 0, y = 0, width = 0,
        height = 0;    // PSet/Line/MoveTo: point; PaintPicture: rectangle; Print: position
  Colour colour = 0;   // PSet, Line, SetBackColor, SetForeColor
  Picture picture{};   // Image (the one handed out), SetPicture, PaintPicture
  std::string text{};  // Print
};

struct RecordingSurfaceSize {
  float scaleWidth = 201;
  float scaleHeight = 201;
  int pixelWidth = 201;
  int pixelHeight = 201;
  float lineHeight = 13;  // how far Print moves the current position down
};

class RecordingSurface final : public DrawingSurface {
 public:
  explicit RecordingSurface(RecordingSurfaceSize size = {}, Colour back = 0xFFFFFF);

  void Cls() override;
  void PSet(float x, float y, Colour colour) override;
  void Line(float x, float y, Colour colour) override;
  void MoveTo(float x, float y) override;
  void SetBackColor(Colour colour) override;
  Colour BackColor() const override { return back_; }
  void SetForeColor(Colour colour) override;
  float ScaleWidth() const override { return size_.scaleWidth; }
  float ScaleHeight() const override { return size_.scaleHeight; }
  Picture Image() override;
  void SetPicture(const Picture& picture) override;
  void PaintPicture(const Picture& picture, float x, float y, float width, float height) override;
  void Print(std::string_view text) override;

  const std::vector<SurfaceCall>& Calls() const { return calls_; }
  std::size_t Count(Op op) const;
  void ClearLog() { calls_.clear(); }
  float CurrentX() const { return cur_x_; }
  float CurrentY() const { return cur_y_; }
  // Resizing mid-run lets tests check that sizes are read when used.
  void Resize(float scaleWidth, float scaleHeight);

 private:
  RecordingSurfaceSize size_;
  Colour back_;
  float cur_x_ = 0, cur_y_ = 0;
  std::vector<SurfaceCall> calls_;
};

}  // namespace patterns::testing
