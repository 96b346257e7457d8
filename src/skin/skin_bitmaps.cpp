#include "skin/skin_bitmaps.h"

#include "skin/primitives.h"
#include "skin/skin_pixel_table.h"
#include "skin/skin_state.h"

namespace skin {
namespace {

HDC* const kSkinDCs[5] = {&ButtonSkinDC, &ComboSkinDC, &MarkSkinDC, &BoxSkinDC, &HeaderSkinDC};

}  // namespace

HDC SkinBitmapDC(int bitmap) { return bitmap >= 0 && bitmap < 5 ? *kSkinDCs[bitmap] : nullptr; }

void BuildSkinBitmaps() {
  // Built only while absent; should it run twice, the first set must not be orphaned.
  ReleaseSkinBitmaps();
  for (int b = 0; b < 5; ++b)
    *kSkinDCs[b] = CreateMemoryDC(kSkinBitmapSizes[b].width, kSkinBitmapSizes[b].height);
  for (const SkinPixel& p : SkinPixelTable) {
    HDC dc = SkinBitmapDC(p.bitmap);
    if (dc) SetPixel(dc, p.x, p.y, p.colour);
  }
}

void ReleaseSkinBitmaps() {
  for (HDC* dc : kSkinDCs) {
    if (*dc) DeleteDC(*dc);
    *dc = nullptr;
  }
}

}  // namespace skin
