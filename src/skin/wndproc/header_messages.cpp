// Header controls: one item is hot under the mouse ("HMINDEX") and one is held pressed
// ("HDINDEX"); only the items whose look changes are painted again.
#include "skin/painters.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

constexpr std::int32_t kNone = -1;

void PaintItem(HWND hWnd, std::int32_t index, std::int32_t state) {
  PaintHeaderItem(hWnd, nullptr, index, state);
}

std::int32_t ItemCount(HWND hWnd) {
  return static_cast<std::int32_t>(SendMessageA(hWnd, HDM_GETITEMCOUNT, 0, 0));
}

// The first item whose left..right span (both included) holds x; -1 when none does.
std::int32_t ItemAt(HWND hWnd, std::int32_t count, std::int32_t x) {
  for (std::int32_t i = 0; i < count; ++i) {
    RECT r{};
    // An item the header cannot measure is no hit, not an empty rectangle at 0.
    if (!SendMessageA(hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    if (r.left <= x && x <= r.right) return i;
  }
  return kNone;
}

void MouseMoved(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  NoteMouseInside(hWnd);
  const std::int32_t hot = GetIntProp(hWnd, kHmIndexProp);
  const std::int32_t hit = ItemAt(hWnd, ItemCount(hWnd), GET_X_LPARAM(lParam));
  const std::int32_t pressed = GetIntProp(hWnd, kHdIndexProp);
  if (hit == hot) return;
  // The pressed item keeps its look while the button is held, wherever the mouse goes.
  if (hot >= 0 && hot != pressed) PaintItem(hWnd, hot, kNormal);
  if (!(wParam & MK_LBUTTON)) {
    SetIntProp(hWnd, kHmIndexProp, hit);
    PaintItem(hWnd, hit, kHot);
  } else if (hit == pressed) {
    PaintItem(hWnd, hit, kPressed);
  }
}

void Pressed(HWND hWnd, LPARAM lParam) {
  const std::int32_t count = ItemCount(hWnd);
  if (count <= 0) return;
  const std::int32_t hit = ItemAt(hWnd, count, GET_X_LPARAM(lParam));
  SetIntProp(hWnd, kHdIndexProp, hit);
  if (hit >= 0) PaintItem(hWnd, hit, kPressed);
}

void Released(HWND hWnd) {
  const std::int32_t index = GetIntProp(hWnd, kHdIndexProp);
  SetIntProp(hWnd, kHdIndexProp, kNone);
  // Normal with the mouse over the header, hot once it is elsewhere. The header control repaints
  // itself after the release of a press, so this look lasts only until that paint.
  if (index >= 0) PaintItem(hWnd, index, IsUnderCursor(hWnd) ? kNormal : kHot);
}

void MouseLeft(HWND hWnd) {
  const std::int32_t hot = GetIntProp(hWnd, kHmIndexProp);
  SetIntProp(hWnd, kMouseFlagProp, 0);
  SetIntProp(hWnd, kHdIndexProp, kNone);
  SetIntProp(hWnd, kHmIndexProp, kNone);
  if (hot >= 0) PaintItem(hWnd, hot, kNormal);
}

}  // namespace

LRESULT HeaderMessage(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  if (!StillSkinned(hWnd)) return result;
  switch (msg) {
    case WM_MOUSEMOVE:
      MouseMoved(hWnd, wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Pressed(hWnd, lParam);
      break;
    case WM_LBUTTONUP:
      Released(hWnd);
      break;
    case WM_MOUSELEAVE:
      MouseLeft(hWnd);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace skin
