// The object behind an HFONT, and the stock fonts.
//
// A font handle only records the LOGFONTA it was created from; the FreeType
// face, sizes and glyphs are realised on first use and shared by every
// handle that asks for the same font (see font_engine.h).
#pragma once

#include "platform/handles.h"
#include "platform/win32/base.h"
#include "platform/win32/gdi_text.h"

namespace platform::gdi {

struct FontObject : HandleObject {
  explicit FontObject(const LOGFONTA& lf, bool isStock = false) : logfont(lf), stock(isStock) {}
  LOGFONTA logfont;
  // Stock fonts are created once and live until the process ends;
  // DeleteObject on one must succeed without releasing it, as in Win32.
  bool stock;
};

// nullptr for anything that is not a live font handle.
FontObject* LookupFont(HGDIOBJ h);

// The font of a GetStockObject index (OEM_FIXED_FONT, ANSI_FIXED_FONT,
// ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT,
// DEFAULT_GUI_FONT); nullptr for any other index. All stock fonts are made
// together on the first call, so leak counts taken later stay stable.
HFONT StockFont(int index);

// True for a handle returned by StockFont.
bool IsStockFont(HGDIOBJ h);

}  // namespace platform::gdi
