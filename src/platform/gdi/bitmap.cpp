// Bitmaps: creation (compatible, monochrome or 32-bit with initial bits,
// top-down 32-bit DIB sections) and the DIB transfers GetDIBits and
// SetDIBitsToDevice.
#include <cstring>
#include <new>

#include "platform/gdi/raster.h"

namespace platform::gdi {
namespace {

// Far above any window or picture this program makes; refusing larger
// requests keeps a wild size from exhausting memory.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

HBITMAP NewBitmap(int w, int h, bool mono) {
  if (w <= 0 || h <= 0 || std::int64_t{w} * h > kMaxPixels) return nullptr;
  auto bm = std::make_unique<BitmapObject>();
  try {
    bm->pixels = std::make_shared<PixelBuffer>(w, h, 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  bm->mono = mono;
  return static_cast<HBITMAP>(AllocHandle(HandleKind::Bitmap, std::move(bm)));
}

// Rows of a DIB are padded to 4 bytes.
std::int64_t DibStride(std::int64_t width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

}  // namespace
}  // namespace platform::gdi

using namespace platform;
using namespace platform::gdi;

// A zero size gives the 1 x 1 monochrome stock bitmap, as in Win32.
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || cx < 0 || cy < 0) return nullptr;
  if (cx == 0 || cy == 0) return StockBitmap();
  return NewBitmap(cx, cy, dc->mono);
}

// 1 bit per pixel: rows padded to 16 bits, most significant bit first, 1 =
// white. 32 bits per pixel: B, G, R, unused bytes per pixel.
HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32)) return nullptr;
  if (nWidth == 0 || nHeight == 0) return StockBitmap();
  bool mono = nBitCount == 1;
  HBITMAP h = NewBitmap(nWidth, nHeight, mono);
  if (!h || !lpBits) return h;
  PixelBuffer& buf = *LookupBitmap(h)->pixels;
  const auto* bytes = static_cast<const std::uint8_t*>(lpBits);
  if (mono) {
    std::size_t stride = static_cast<std::size_t>((nWidth + 15) / 16) * 2;
    for (int y = 0; y < nHeight; ++y) {
      const std::uint8_t* src = bytes + stride * static_cast<std::size_t>(y);
      std::uint32_t* row = buf.row(y);
      for (int x = 0; x < nWidth; ++x) row[x] = (src[x >> 3] >> (7 - (x & 7))) & 1 ? 0xFFFFFF : 0;
    }
  } else {
    for (int y = 0; y < nHeight; ++y) {
      std::uint32_t* row = buf.row(y);
      std::memcpy(row, bytes + static_cast<std::size_t>(y) * nWidth * 4,
                  static_cast<std::size_t>(nWidth) * 4);
      for (int x = 0; x < nWidth; ++x) row[x] &= 0xFFFFFF;
    }
  }
  return h;
}

// Only top-down (negative height) 32-bit sections share their memory with
// the bitmap's pixels, since that is the layout of the pixel buffer; other
// formats are refused.
HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                                DWORD) {
  if (ppvBits) *ppvBits = nullptr;
  if (!pbmi || usage != DIB_RGB_COLORS || hSection) return nullptr;
  const BITMAPINFOHEADER& hd = pbmi->bmiHeader;
  if (hd.biBitCount != 32 || hd.biCompression != BI_RGB || hd.biHeight >= 0 || hd.biWidth <= 0 ||
      hd.biHeight == INT32_MIN) {
    return nullptr;
  }
  HBITMAP h = NewBitmap(hd.biWidth, -hd.biHeight, false);
  if (h && ppvBits) *ppvBits = LookupBitmap(h)->pixels->pixels.data();
  return h;
}

// Reads rows of a bitmap as a 24- or 32-bit DIB (bottom-up for a positive
// height, top-down for a negative one). With no buffer, only fills in the
// header.
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi,
                     UINT usage) {
  BitmapObject* bm = LookupBitmap(hbm);
  if (!LookupDc(hdc) || !bm || !lpbmi || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& hd = lpbmi->bmiHeader;
  const PixelBuffer& buf = *bm->pixels;
  if (!lpvBits) {
    hd.biWidth = buf.width;
    hd.biHeight = buf.height;
    hd.biPlanes = 1;
    hd.biBitCount = 32;
    hd.biCompression = BI_RGB;
    hd.biSizeImage = static_cast<DWORD>(DibStride(buf.width, 32) * buf.height);
    return buf.height;
  }
  if ((hd.biBitCount != 24 && hd.biBitCount != 32) || hd.biCompression != BI_RGB) return 0;
  if (hd.biWidth != buf.width || hd.biHeight == INT32_MIN) return 0;
  bool topDown = hd.biHeight < 0;
  std::int64_t rows = topDown ? -std::int64_t{hd.biHeight} : hd.biHeight;
  if (rows != buf.height || start >= rows) return 0;
  std::int64_t count = std::min<std::int64_t>(cLines, rows - start);
  std::int64_t stride = DibStride(buf.width, hd.biBitCount);
  auto* out = static_cast<std::uint8_t*>(lpvBits);
  for (std::int64_t i = 0; i < count; ++i) {
    // Scan line `start + i` counts from the bottom in a bottom-up DIB.
    std::int64_t dibLine = start + i;
    int y = static_cast<int>(topDown ? dibLine : rows - 1 - dibLine);
    std::uint8_t* dst = out + i * stride;
    const std::uint32_t* row = buf.row(y);
    if (hd.biBitCount == 32) {
      std::memcpy(dst, row, static_cast<std::size_t>(buf.width) * 4);
    } else {
      for (int x = 0; x < buf.width; ++x) {
        dst[x * 3] = static_cast<std::uint8_t>(row[x]);
        dst[x * 3 + 1] = static_cast<std::uint8_t>(row[x] >> 8);
        dst[x * 3 + 2] = static_cast<std::uint8_t>(row[x] >> 16);
      }
      std::memset(dst + buf.width * 3, 0, static_cast<std::size_t>(stride - buf.width * 3));
    }
  }
  return static_cast<int>(count);
}

// Copies a 24- or 32-bit DIB onto a DC (through origin and clip). Only
// whole-image transfers (StartScan 0, all lines) are supported.
int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                             UINT StartScan, UINT cLines, const void* lpvBits, const BITMAPINFO* lpbmi,
                             UINT ColorUse) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || !lpvBits || !lpbmi || ColorUse != DIB_RGB_COLORS) return 0;
  const BITMAPINFOHEADER& hd = lpbmi->bmiHeader;
  if ((hd.biBitCount != 24 && hd.biBitCount != 32) || hd.biCompression != BI_RGB || hd.biWidth <= 0 ||
      hd.biHeight == 0 || hd.biHeight == INT32_MIN) {
    return 0;
  }
  bool topDown = hd.biHeight < 0;
  std::int64_t rows = topDown ? -std::int64_t{hd.biHeight} : hd.biHeight;
  if (StartScan != 0 || cLines < rows) return 0;
  std::int64_t stride = DibStride(hd.biWidth, hd.biBitCount);
  const auto* bits = static_cast<const std::uint8_t*>(lpvBits);
  if (!dc->target) return static_cast<int>(rows);
  std::int64_t bx = BufX(*dc, xDest), by = BufY(*dc, yDest);
  RECT area;
  if (!ClipToBox(*dc, bx, by, bx + w, by + h, &area)) return static_cast<int>(rows);
  PixelBuffer& buf = *dc->target;
  ForEachClipped(*dc, area, [&](const RECT& piece) {
    for (LONG y = piece.top; y < piece.bottom; ++y) {
      std::int64_t sy = ySrc + (y - by);
      if (sy < 0 || sy >= rows) continue;
      const std::uint8_t* line = bits + (topDown ? sy : rows - 1 - sy) * stride;
      std::uint32_t* out = buf.row(y);
      for (LONG x = piece.left; x < piece.right; ++x) {
        std::int64_t sx = xSrc + (x - bx);
        if (sx < 0 || sx >= hd.biWidth) continue;
        const std::uint8_t* p = line + sx * (hd.biBitCount / 8);
        std::uint32_t px = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
        out[x] = dc->mono ? ToMonoPixel(px) : px;
      }
    }
    buf.Touch(piece.left, piece.top, piece.right, piece.bottom);
  });
  return static_cast<int>(rows);
}
