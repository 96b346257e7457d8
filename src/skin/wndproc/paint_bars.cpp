// Progress bars and headers: painted whole by the skin into one off-screen picture per message
// and copied to the window in a single blit, so the control's own drawing never flickers through.
//
// Sections: picture guard · progress bar client · progress bar frame · header
#include <string>

#include "platform/scoped_handles.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_blit.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/skin_types.h"
#include "skin/wndproc/paint_branches.h"

namespace skin {
namespace {

constexpr COLORREF kBarColour = 0x00F6D64C;
constexpr float kFullPosition = 30000.0f;
constexpr LONG kVerticalBit = 0x4;
constexpr LONG kSmoothBit = 0x1;
constexpr int kHeaderFrameW = 3;
constexpr int kHeaderFrameH = 20;
constexpr int kHeaderBackgroundX = 1;

// The bar position as a share of the full range. Kept in single precision on purpose: the pixel
// lengths below are rounded from exactly this value.
float ProgressFraction(HWND hWnd) {
  return static_cast<float>(SendMessageA(hWnd, PBM_GETPOS, 0, 0)) / kFullPosition;
}

std::int32_t Nearest(double value) { return RoundToInt(value); }

void ClientSize(HWND hWnd, std::int32_t& w, std::int32_t& h) {
  RECT client{};
  GetClientRect(hWnd, &client);
  w = client.right - client.left;
  h = client.bottom - client.top;
}

void ShowInClient(HWND hWnd, const win32::OwnedDc& picture, std::int32_t w, std::int32_t h) {
  win32::PaintDc dc(hWnd);
  BitBlt(dc.get(), 0, 0, w, h, picture.get(), 0, 0, SRCCOPY);
}

}  // namespace

// --- progress bar client

LRESULT PaintProgressBar(HWND hWnd) {
  const LONG style = GetWindowLongA(hWnd, GWL_STYLE);
  std::int32_t w = 0;
  std::int32_t h = 0;
  ClientSize(hWnd, w, h);
  win32::OwnedDc picture(CreateMemoryDC(w, h));
  const float f = ProgressFraction(hWnd);
  FillBox(picture.get(), 0, 0, w, h, kWhite);
  if (f != 0.0f) {
    if (style & kVerticalBit) {
      // Grows from the bottom.
      FillBox(picture.get(), 0, Nearest(h - h * static_cast<double>(f)), w,
              Nearest(h * static_cast<double>(f)), kBarColour);
    } else {
      FillBox(picture.get(), 0, 0, Nearest(w * static_cast<double>(f)), h, kBarColour);
    }
  }
  ShowInClient(hWnd, picture, w, h);
  return 0;
}

// --- progress bar frame

LRESULT NcPaintProgressBar(HWND hWnd) {
  std::int32_t bx = 0;
  std::int32_t by = 0;
  GetBorderSize(hWnd, bx, by);
  SkinBox box;
  GetWindowBox(hWnd, box);
  std::int32_t cw = 0;
  std::int32_t ch = 0;
  ClientSize(hWnd, cw, ch);
  win32::OwnedDc picture(CreateMemoryDC(box.Width, box.Height));
  const float f = ProgressFraction(hWnd);
  const LONG style = GetWindowLongA(hWnd, GWL_STYLE);

  FillBox(picture.get(), 0, 0, box.Width, box.Height, kBorderColour);
  FillBox(picture.get(), 1, 1, box.Width - 2, box.Height - 2, kWhite);
  if (f != 0.0f) {
    if (style & kVerticalBit) {
      // Only the smooth kind shows its bar in the frame picture; the white over the part not yet
      // reached is laid either way.
      if (style & kSmoothBit) FillBox(picture.get(), bx, by, cw, ch, kBarColour);
      FillBox(picture.get(), bx, by, cw, Nearest(ch - ch * static_cast<double>(f)), kWhite);
    } else {
      FillBox(picture.get(), bx, by, Nearest(cw * static_cast<double>(f)), ch, kBarColour);
    }
  }
  win32::WindowDc windowDC(hWnd);
  BitBlt(windowDC.get(), 0, 0, box.Width, box.Height, picture.get(), 0, 0, SRCCOPY);
  return 0;
}

// --- header

LRESULT PaintHeader(HWND hWnd) {
  SkinBox box;
  GetWindowBox(hWnd, box);
  win32::OwnedDc picture(CreateMemoryDC(box.Width, box.Height));
  HDC pic = picture.get();
  StretchBlt(pic, 0, 0, box.Width, box.Height, HeaderSkinDC, kHeaderBackgroundX, 0, 1, kHeaderFrameH,
             SRCCOPY);

  const auto count = static_cast<std::int32_t>(SendMessageA(hWnd, HDM_GETITEMCOUNT, 0, 0));
  if (count > 0) {
    const std::int32_t pressed = GetIntProp(hWnd, kHdIndexProp);
    const std::int32_t hot = GetIntProp(hWnd, kHmIndexProp);
    for (std::int32_t i = 0; i < count; ++i) {
      RECT item{};
      SendMessageA(hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      const std::string text = GetHeaderItemText(hWnd, i);
      // Pressed wins over hot when the mouse is still on the item it holds down.
      const std::int32_t state = i == pressed ? 2 : (i == hot ? 1 : 0);
      const std::int32_t w = item.right - item.left;
      DrawSkinFrame(pic, item.left, 0, w, box.Height, HeaderSkinDC, HeaderFrameX(state), 0, kHeaderFrameW,
                    kHeaderFrameH, 1, 1, 1, 1);
      if (!text.empty()) {
        if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)); font && pic)
          SelectObject(pic, font);
        SetBkMode(pic, TRANSPARENT);
        DrawTextInBox(pic, text, item.left, 0, w, item.bottom, kCaptionFormat);
      }
    }
  }
  ShowInClient(hWnd, picture, box.Width, box.Height);
  return 0;
}

}  // namespace skin
