#include "patterns/effect_picture.h"

#include <cstdint>

#include "patterns/credit_line.h"
#include "patterns/numeric.h"

namespace patterns {
namespace {

// 32-bit addition with the overflow error rather than wrap-around.
std::int32_t AddLong(std::int32_t a, std::int32_t b) {
  return CLng(static_cast<double>(a) + static_cast<double>(b));
}

}  // namespace

void DrawEffectPicture(PatternContext& ctx) {
  TileEffectPicture(ctx);
  ctx.Picture3.SetPicture(ctx.Picture2.Image());
  ctx.Picture2.Print(CreditLine(ctx.clock()));
  if (ctx.onEffectDrawn) ctx.onEffectDrawn();
}

void TileEffectPicture(PatternContext& ctx) {
  ctx.Picture1.Cls();
  const std::int32_t w = CLng(ctx.Picture2.ScaleWidth());
  const std::int32_t h = CLng(ctx.Picture2.ScaleHeight());

  // A tile without area would never advance the loops and hang the window;
  // such a buffer has nothing to show, so the tiling is skipped.
  if (w > 0 && h > 0) {
    // The limits are read from Picture1 at every test, never cached, and
    // compared as doubles: the loop follows the box as it is at each step.
    for (std::int32_t y = 0; y < static_cast<double>(ctx.Picture1.ScaleHeight()); y = AddLong(y, h)) {
      for (std::int32_t x = 0; x < static_cast<double>(ctx.Picture1.ScaleWidth()); x = AddLong(x, w)) {
        ctx.Picture1.PaintPicture(ctx.Picture2.Image(), static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(w), static_cast<float>(h));
      }
    }
  }
}

}  // namespace patterns
