// The five built-in skin bitmaps: built from the constant pixel table into memory DCs held in
// the module state, released when the last skinned window goes away.
#pragma once

#include "platform/win32.h"

namespace skin {

// Releases any skin DCs still held, then creates ButtonSkinDC (7 x 84), ComboSkinDC (15 x 18), MarkSkinDC (18
// x 24), BoxSkinDC (13 x 52) and HeaderSkinDC (9 x 20), in that order, and sets every pixel from
// SkinPixelTable. A DC that cannot be created stays 0 and its pixels are skipped; the others are built as
// usual.
void BuildSkinBitmaps();

// Deletes the five skin DCs (each takes its bitmap with it) in the order above and sets them to 0.
void ReleaseSkinBitmaps();

// The skin DC that holds the table's bitmap id (0..4), or 0.
HDC SkinBitmapDC(int bitmap);

}  // namespace skin
