// What the standard controls share: per-window state, fonts, colours from
// the parent, notifications, the classic 3D drawing bits and UTF-8 steps.
// Private to the controls.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/scoped_handles.h"
#include "platform/win32.h"

namespace platform::controls {

// State of one control per window. Entries die at WM_NCDESTROY; a handler
// that sent a message to the parent must fetch its state again afterwards,
// because the parent may have destroyed the control meanwhile.
template <class T>
class StateMap {
 public:
  T* Get(HWND hwnd) {
    auto it = map_.find(hwnd);
    return it == map_.end() ? nullptr : it->second.get();
  }
  T* Create(HWND hwnd) {
    auto& slot = map_[hwnd];
    slot = std::make_unique<T>();
    return slot.get();
  }
  void Erase(HWND hwnd) { map_.erase(hwnd); }

 private:
  std::unordered_map<HWND, std::unique_ptr<T>> map_;
};

HFONT DefaultFont();
// The font a control was given with WM_SETFONT, or the default.
inline HFONT FontOr(HFONT f) { return f ? f : DefaultFont(); }

// The messages every control that paints a caption answers alike: its font,
// and a repaint when its text or enabled state changes. Returns true with
// *result set when msg was one of them.
bool HandleCaptionMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, HFONT& font, LRESULT* result);

// Asks the parent (or `to`) for colours with msg (WM_CTLCOLOR*): the DC
// comes back with its text and background colours set; the brush to fill
// with is returned, never null.
HBRUSH ControlColors(HWND ctl, HDC dc, UINT msg, HWND to = nullptr);

void FillSolid(HDC dc, const RECT& r, COLORREF c);
// The classic push-button frame: raised, or sunken flat when pressed.
void DrawButtonFrame(HDC dc, RECT r, bool pressed, bool isDefault);
// A 3D sunken field (check box square, edit borders).
void DrawSunkenField(HDC dc, RECT r, COLORREF inside);
// A small solid triangle pointing down, centred in r (combo box buttons).
void DrawDownArrow(HDC dc, const RECT& r, COLORREF c);
// Text of a disabled control: grey with the etched white shadow.
void DrawDisabledText(HDC dc, const char* text, RECT r, UINT format);

// Font height in pixels of the font selected in dc (cell height).
int LineHeight(HDC dc);
// LineHeight of `font` in the window's client DC.
int FontLineHeight(HWND hwnd, HFONT font);
int TextWidth(HDC dc, const char* text, std::size_t len);

// UTF-8 steps by whole code points; both stay inside [0, s.size()].
std::size_t NextCodePoint(const std::string& s, std::size_t i);
std::size_t PrevCodePoint(const std::string& s, std::size_t i);
// Repairs bad UTF-8 as captions do (gdi::RepairUtf8) and drops NULs.
std::string SanitizeUtf8(const std::string& in);

inline int ControlId(HWND hwnd) { return GetDlgCtrlID(hwnd); }
inline DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }
inline bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Window procedures of the classes, one per file.
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK HeaderProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace platform::controls
