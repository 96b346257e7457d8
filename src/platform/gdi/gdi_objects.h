// The objects behind DC, bitmap, brush, pen, region and palette handles,
// shared by the raster implementation files. Private to platform/gdi.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/pixel_buffer.h"
#include "platform/gdi/region.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace platform::gdi {

struct BitmapObject : HandleObject {
  std::shared_ptr<PixelBuffer> pixels;
  // Monochrome bitmaps hold only 0x000000 and 0xFFFFFF.
  bool mono = false;
  bool stock = false;
};

struct BrushObject : HandleObject {
  bool null = false;
  COLORREF color = 0;
  bool stock = false;
  // DC_BRUSH: the colour comes from the DC it is selected into.
  bool dcColor = false;
};

struct PenObject : HandleObject {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
  bool stock = false;
  bool dcColor = false;
};

struct RegionObject : HandleObject {
  Region region;
};

struct PaletteObject : HandleObject {
  std::vector<PALETTEENTRY> entries;
  bool stock = false;
};

enum class DcKind { Memory, Surface, Display };

// Everything SaveDC keeps and RestoreDC puts back.
struct DcState {
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = 0;
  COLORREF dcBrushColor = 0xFFFFFF;
  COLORREF dcPenColor = 0;
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  HPALETTE palette = nullptr;
  POINT pos{0, 0};
  POINT viewportOrg{0, 0};
  // Device coordinates; none means "no clip region selected".
  std::optional<Region> clip;
};

struct DcObject : HandleObject {
  DcKind kind = DcKind::Memory;
  // Memory DC: the selected bitmap's pixels; surface DC: the window
  // surface; display DC: none (it only serves as a compatibility reference).
  std::shared_ptr<PixelBuffer> target;
  bool mono = false;
  HBITMAP bitmap = nullptr;
  // Surface DCs: where device (0,0) lands in the buffer, and what of the
  // buffer this DC may touch (buffer coordinates).
  POINT origin{0, 0};
  Region visible;
  DcState st;
  std::vector<DcState> saved;

  // Derived: visible ∩ buffer bounds ∩ clip, in buffer coordinates.
  Region effClip;
  RECT effBox{0, 0, 0, 0};
};

DcObject* LookupDc(HDC h);
BitmapObject* LookupBitmap(HGDIOBJ h);
BrushObject* LookupBrush(HGDIOBJ h);
PenObject* LookupPen(HGDIOBJ h);
RegionObject* LookupRegion(HGDIOBJ h);
PaletteObject* LookupPalette(HGDIOBJ h);

// Recomputes effClip/effBox after the target, origin, visible region or clip
// changed.
void UpdateEffectiveClip(DcObject& dc);

// Gives a new DC its default objects, registers it and returns its handle.
HDC RegisterNewDc(std::unique_ptr<DcObject> dc);

// NULLREGION / SIMPLEREGION / COMPLEXREGION of a region.
int RegionType(const Region& r);

// Every live DC, so that DeleteObject can refuse objects still in use.
const std::vector<DcObject*>& LiveDcs();
void RegisterDc(DcObject* dc);
void UnregisterDc(DcObject* dc);

// Stock objects are created together on first use.
HBITMAP StockBitmap();  // the 1x1 monochrome placeholder of memory DCs
HGDIOBJ StockObjectRaw(int index);
HPALETTE DefaultPalette();

// Colour of a brush/pen as used on this DC (resolves DC_BRUSH/DC_PEN).
COLORREF BrushColor(const DcObject& dc, const BrushObject& b);
COLORREF PenColor(const DcObject& dc, const PenObject& p);

// Logical → buffer coordinates, without overflow.
inline std::int64_t BufX(const DcObject& dc, std::int64_t x) { return x + dc.st.viewportOrg.x + dc.origin.x; }
inline std::int64_t BufY(const DcObject& dc, std::int64_t y) { return y + dc.st.viewportOrg.y + dc.origin.y; }

}  // namespace platform::gdi
