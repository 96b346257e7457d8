// Sections: nine-slice geometry · DrawSkinFrame · TransparentCopy work buffers · TransparentCopy
#include "skin/skin_blit.h"

#include <array>
#include <limits>

#include "platform/scoped_handles.h"
#include "skin/primitives.h"

namespace skin {
namespace {

// --- nine-slice geometry

struct Piece {
  bool stretch;
  std::int64_t dx, dy, dw, dh, sx, sy, sw, sh;
};

bool Fits(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

bool AllFit(const Piece& p) {
  for (std::int64_t v : {p.dx, p.dy, p.dw, p.dh, p.sx, p.sy, p.sw, p.sh})
    if (!Fits(v)) return false;
  return true;
}

// The pieces in the order they are drawn; pieces whose margins are absent are left out. Sizes are
// not clamped: a destination smaller than its borders passes zero or negative sizes on.
int NinePieces(std::int64_t w, std::int64_t h, std::int64_t sx, std::int64_t sy, std::int64_t sw,
               std::int64_t sh, std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B,
               std::array<Piece, 9>& out) {
  int n = 0;
  auto add = [&](bool when, Piece p) {
    if (when) out[n++] = p;
  };
  add(L > 0 && T > 0, {false, 0, 0, L, T, sx, sy, L, T});
  add(R > 0 && T > 0, {false, w - R, 0, R, T, sx + sw - R, sy, R, T});
  add(L > 0 && B > 0, {false, 0, h - B, L, B, sx, sy + sh - B, L, B});
  add(R > 0 && B > 0, {false, w - R, h - B, R, B, sx + sw - R, sy + sh - B, R, B});
  add(L > 0, {true, 0, T, L, h - T - B, sx, sy + T, L, sh - T - B});
  add(R > 0, {true, w - R, T, R, h - T - B, sx + sw - R, sy + T, R, sh - T - B});
  add(T > 0, {true, L, 0, w - L - R, T, sx + L, sy, sw - L - R, T});
  add(B > 0, {true, L, h - B, w - L - R, B, sx + L, sy + sh - B, sw - L - R, B});
  add(true, {true, L, T, w - L - R, h - T - B, sx + L, sy + T, sw - L - R, sh - T - B});
  return n;
}

int I32(std::int64_t v) { return static_cast<int>(v); }

}  // namespace

// --- DrawSkinFrame

std::int32_t DrawSkinFrame(HDC dest, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, HDC src,
                           std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh, std::int32_t L,
                           std::int32_t T, std::int32_t R, std::int32_t B, std::optional<COLORREF> key) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return 0;

  // All geometry is worked out before anything is created, so an overflow draws nothing at all.
  std::array<Piece, 9> pieces{};
  int count = 0;
  if (L <= 0 && T <= 0 && R <= 0 && B <= 0) {
    pieces[count++] = {true,
                       0,
                       0,
                       w,
                       h,
                       std::int64_t{sx} + L,
                       std::int64_t{sy} + T,
                       std::int64_t{sw} - R,
                       std::int64_t{sh} - B};
  } else {
    count = NinePieces(w, h, sx, sy, sw, sh, L, T, R, B, pieces);
  }
  for (int i = 0; i < count; ++i)
    if (!AllFit(pieces[i])) return 0;

  HDC tmp = CreateMemoryDC(w, h);
  // Without the temporary picture there is nothing to lay over dest; copying its absence would
  // paint undefined pixels, so stop here.
  if (!tmp) return 0;
  for (int i = 0; i < count; ++i) {
    const Piece& p = pieces[i];
    if (p.stretch)
      StretchBlt(tmp, I32(p.dx), I32(p.dy), I32(p.dw), I32(p.dh), src, I32(p.sx), I32(p.sy), I32(p.sw),
                 I32(p.sh), SRCCOPY);
    else
      BitBlt(tmp, I32(p.dx), I32(p.dy), I32(p.dw), I32(p.dh), src, I32(p.sx), I32(p.sy), SRCCOPY);
  }

  std::int32_t result = 1;
  if (key)
    TransparentCopy(dest, x, y, w, h, tmp, 0, 0, *key, nullptr);
  else
    result = BitBlt(dest, x, y, w, h, tmp, 0, 0, SRCCOPY);
  DeleteDC(tmp);
  return result;
}

// --- TransparentCopy work buffers

namespace {

// A DC made compatible with the display for the length of one copy, with the bitmap it draws
// into and, optionally, a selected palette. Tear-down follows the copy's clean-up order: the
// original bitmap goes back first and the buffer is deleted, then the original palette goes back
// and is realised, then the DC goes.
class WorkDC {
 public:
  WorkDC() = default;
  WorkDC(const WorkDC&) = delete;
  WorkDC& operator=(const WorkDC&) = delete;
  ~WorkDC() {
    if (!dc_) {
      if (bitmap_) DeleteObject(bitmap_);
      return;
    }
    if (old_bitmap_) SelectObject(dc_, old_bitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (palette_selected_) {
      SelectPalette(dc_, old_palette_, restore_force_background_);
      RealizePalette(dc_);
    }
    DeleteDC(dc_);
  }

  // Takes ownership of bitmap (which may be 0) and, if it and the DC exist, selects it.
  bool Open(HDC display, HBITMAP bitmap) {
    bitmap_ = bitmap;
    dc_ = CreateCompatibleDC(display);
    if (!dc_ || !bitmap_) return false;
    old_bitmap_ = SelectObject(dc_, bitmap_);
    return old_bitmap_ != nullptr;
  }
  void UsePalette(HPALETTE palette, BOOL restore_force_background) {
    if (!palette) return;
    old_palette_ = SelectPalette(dc_, palette, TRUE);
    RealizePalette(dc_);
    palette_selected_ = true;
    restore_force_background_ = restore_force_background;
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  HPALETTE old_palette_ = nullptr;
  bool palette_selected_ = false;
  BOOL restore_force_background_ = FALSE;
};

constexpr DWORD kDSna = 0x00220326;  // destination AND NOT source

}  // namespace

// --- TransparentCopy

void TransparentCopy(HDC dest, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, HDC src,
                     std::int32_t sx, std::int32_t sy, COLORREF key, HPALETTE palette) {
  // Declared in reverse clean-up order: the source buffer goes first, then the background
  // buffer, the mask, our halftone palette and last the display DC.
  win32::OwnedDc display(CreateDCA("DISPLAY", "", "", nullptr));
  win32::GdiObject<HPALETTE> halftone;
  WorkDC mask;
  WorkDC background;
  WorkDC source;
  if (!display) return;
  HPALETTE use_palette = palette;
  if (!palette) {
    halftone.reset(CreateHalftonePalette(display.get()));
    use_palette = halftone.get();
  }

  // A system-colour reference works as a key too; only its RGB part takes part in the compare.
  COLORREF translated = key;
  if (OleTranslateColor(key, palette, &translated) != 0) translated = key;
  translated &= 0x00FFFFFF;

  if (!background.Open(display.get(), CreateCompatibleBitmap(display.get(), w, h))) return;
  background.UsePalette(use_palette, FALSE);
  BitBlt(background.dc(), 0, 0, w, h, dest, x, y, SRCCOPY);

  HBITMAP source_bitmap = CreateCompatibleBitmap(display.get(), w, h);
  HBITMAP mask_bitmap = CreateBitmap(w, h, 1, 1, nullptr);
  const bool source_open = source.Open(display.get(), source_bitmap);
  if (!source_open) {
    if (mask_bitmap) DeleteObject(mask_bitmap);
    return;
  }
  source.UsePalette(use_palette, TRUE);
  SetBkColor(source.dc(), GetBkColor(src));
  SetTextColor(source.dc(), GetTextColor(src));
  // An unreadable source would leave the buffer undefined; dest must not receive that.
  if (!BitBlt(source.dc(), 0, 0, w, h, src, sx, sy, SRCCOPY)) {
    if (mask_bitmap) DeleteObject(mask_bitmap);
    return;
  }

  if (!mask.Open(display.get(), mask_bitmap)) return;
  // Colour to monochrome: pixels of the background colour become 1, the rest 0.
  SetBkColor(source.dc(), translated);
  SetTextColor(source.dc(), 0x00FFFFFF);
  BitBlt(mask.dc(), 0, 0, w, h, source.dc(), 0, 0, SRCCOPY);

  // Monochrome to colour: 1 takes the background colour (white), 0 the text colour (black).
  SetTextColor(source.dc(), 0x00000000);
  SetBkColor(source.dc(), 0x00FFFFFF);
  BitBlt(source.dc(), 0, 0, w, h, mask.dc(), 0, 0, kDSna);
  BitBlt(background.dc(), 0, 0, w, h, mask.dc(), 0, 0, SRCAND);
  BitBlt(background.dc(), 0, 0, w, h, source.dc(), 0, 0, SRCPAINT);
  BitBlt(dest, x, y, w, h, background.dc(), 0, 0, SRCCOPY);
}

}  // namespace skin
