#include "patterns/curve_pattern.h"

#include <array>
#include <cmath>
#include <string>

#include "patterns/numeric.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

// The half turn of this program. It is 3.14, not pi: the copy at 6.28 falls
// slightly short of the copy at 0, which is part of how the patterns look.
constexpr double kHalfTurn = 3.14;
constexpr std::int16_t kCentre = 100;

// The two factors of row q for one theta. They depend on t alone, so they are
// worked out once per call. The product is still formed as
// ((s x K) x first) x second, so every point gets exactly the value that
// evaluating the whole row there would give.
struct Factors {
  double first;
  double second;
};

Factors RowFactors(int q, double theta, float f) {
  const double ft = static_cast<double>(f) * theta;
  switch (q) {
    case 0:
      return {std::sin(theta), std::cos(ft)};
    case 1:
      return {std::sin(theta), std::sin(ft)};
    case 2:
      return {std::cos(theta), std::cos(ft)};
    default:
      return {std::cos(theta), std::sin(ft)};
  }
}

// Takes the curves and keeps nothing: what is left of drawing them is the
// arithmetic, and with it every error they can raise.
class NullSurface final : public DrawingSurface {
 public:
  void Cls() override {}
  void PSet(float, float, Colour) override {}
  void Line(float, float, Colour) override {}
  void MoveTo(float, float) override {}
  void SetBackColor(Colour colour) override { back_ = colour; }
  Colour BackColor() const override { return back_; }
  void SetForeColor(Colour) override {}
  float ScaleWidth() const override { return kCanvasPixels; }
  float ScaleHeight() const override { return kCanvasPixels; }
  Picture Image() override { return {}; }
  void SetPicture(const Picture&) override {}
  void PaintPicture(const Picture&, float, float, float, float) override {}
  void Print(std::string_view) override {}

 private:
  Colour back_ = 0;
};

}  // namespace

DrawingParameters ParametersOf(int drawing) {
  if (drawing == 1) return {RotationKind::kCosineSine, 3};
  if (drawing == 2) return {RotationKind::kSineSine, 2};
  Raise(kErrInvalidProcedureCall);
}

std::optional<int> DrawingOf(RotationKind kind, std::int16_t step) {
  if (kind == RotationKind::kCosineSine && step == 3) return 1;
  if (kind == RotationKind::kSineSine && step == 2) return 2;
  return std::nullopt;
}

std::array<float, 4> DrawPatternRandoms(RandomSource& rnd) {
  // R1 first: a loop fixes the order, whatever the compiler does with
  // the arguments of a call.
  std::array<float, 4> R;
  for (float& r : R) r = rnd.Rnd();
  return R;
}

void DrawCurves(DrawingSurface& canvas, RotationKind kind, std::int16_t step, double K,
                const std::array<float, 4>& R, Colour line) {
  if (step <= 0) Raise(kErrInvalidProcedureCall);
  const int q = static_cast<int>(Int(4.0 * R[0]));
  const float f = static_cast<float>(2.0 * R[1]);
  const std::int16_t n = CInt(Int(2.0 * R[2]) + 2);
  const double S = kHalfTurn / n;
  const double L = (R[3] + 2.0) * kHalfTurn;
  const Colour black = QBColor(0);

  // theta = (t + 90) x 2 x 3.14 / 180, left to right, for t = -90, -90 + step, ...
  std::array<Factors, 181> factors;
  std::size_t points = 0;
  for (int t = -90; t <= 90; t += step) {
    factors[points++] = RowFactors(q, (t + 90) * 2 * kHalfTurn / 180, f);
  }

  for (double a = 0; a <= L; a = a + S) {
    const double c = kind == RotationKind::kCosineSine ? std::cos(a) : std::sin(a);
    const double d = std::sin(a);
    for (std::int16_t j = 1; j <= 2; ++j) {
      for (std::int16_t s = -1; s <= 1; s = static_cast<std::int16_t>(s + 2)) {
        const double sk = s * K;
        for (std::size_t i = 0; i < points; ++i) {
          const int t = -90 + static_cast<int>(i) * step;
          const double r = sk * factors[i].first * factors[i].second;
          const double x = j == 1 ? t : r;
          const double y = j == 1 ? r : t;
          const double xr = x * c - y * d;
          const double yr = x * d + y * c;
          const float X = CSng(kCentre - xr);
          const float Y = CSng(kCentre + yr);
          if (t == -90) {
            canvas.PSet(X, Y, black);
          } else {
            canvas.Line(X, Y, line);
          }
        }
      }
    }
  }
}

void DrawCurvePattern(PatternContext& ctx, RotationKind kind, std::int16_t step) {
  // A stride of 0 or less would never reach the end of the curve.
  if (step <= 0) Raise(kErrInvalidProcedureCall);
  ctx.picpaint.Cls();
  const std::string amplitude = ctx.amplitudeText();
  const std::array<float, 4> R = DrawPatternRandoms(ctx.rnd);
  // The text becomes a number only after the four draws, where the first
  // point first needs it: a bad text fails on a cleared canvas, before any dot.
  const double K = TextToDouble(amplitude);
  const Colour line = ctx.icolor;
  const Colour background = ctx.picpaint.BackColor();

  DrawCurves(ctx.picpaint, kind, step, K, R, line);
  ctx.Picture2.SetPicture(ctx.picpaint.Image());

  if (const std::optional<int> drawing = DrawingOf(kind, step)) {
    ctx.lastPattern = PatternCode{
        .drawing = *drawing, .amplitude = K, .randoms = R, .line = line, .background = background};
    if (ctx.onPatternDrawn) ctx.onPatternDrawn(*ctx.lastPattern);
  }
}

void DrawPattern(DrawingSurface& canvas, const PatternCode& code) {
  const DrawingParameters p = ParametersOf(code.drawing);
  // Setting the background erases the canvas, as the Cls before a pattern
  // does in the window; the current position plays no part, since every
  // curve starts with a dot.
  canvas.SetBackColor(code.background);
  DrawCurves(canvas, p.kind, p.step, code.amplitude, code.randoms, code.line);
}

void CheckDrawable(const PatternCode& code) {
  NullSurface nowhere;
  DrawPattern(nowhere, code);
}

void DrawCurvePattern1(PatternContext& ctx) { DrawCurvePattern(ctx, RotationKind::kCosineSine, 3); }

void DrawCurvePattern2(PatternContext& ctx) { DrawCurvePattern(ctx, RotationKind::kSineSine, 2); }

}  // namespace patterns
