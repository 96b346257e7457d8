// Shared helpers of the standard controls and their registration.
#include <strings.h>

#include <cstring>

#include "platform/controls/control_util.h"
#include "platform/controls/register.h"
#include "platform/gdi/text_utf8.h"

namespace platform::controls {

HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

bool HandleCaptionMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, HFONT& font, LRESULT* result) {
  switch (msg) {
    case WM_SETFONT:
      font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      *result = 0;
      return true;
    case WM_GETFONT:
      *result = reinterpret_cast<LRESULT>(FontOr(font));
      return true;
    case WM_SETTEXT:
      *result = DefWindowProcA(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return true;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      *result = 0;
      return true;
    default:
      return false;
  }
}

HBRUSH ControlColors(HWND ctl, HDC dc, UINT msg, HWND to) {
  if (!to) to = GetParent(ctl);
  HBRUSH b = nullptr;
  if (to && IsWindow(to))
    b = reinterpret_cast<HBRUSH>(
        SendMessageA(to, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl)));
  // A parent that answers 0 did not colour the control: the defaults hold.
  if (!b)
    b = reinterpret_cast<HBRUSH>(
        DefWindowProcA(ctl, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl)));
  return b ? b : GetSysColorBrush(COLOR_WINDOW);
}

void FillSolid(HDC dc, const RECT& r, COLORREF c) {
  COLORREF old = SetBkColor(dc, c);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, "", 0, nullptr);
  SetBkColor(dc, old);
}

namespace {

void HLine(HDC dc, int x0, int x1, int y, COLORREF c) { FillSolid(dc, RECT{x0, y, x1, y + 1}, c); }
void VLine(HDC dc, int x, int y0, int y1, COLORREF c) { FillSolid(dc, RECT{x, y0, x + 1, y1}, c); }

// Top-left in one colour, bottom-right in the other, as the classic edges.
void Ring(HDC dc, const RECT& r, COLORREF tl, COLORREF br) {
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
  HLine(dc, r.left, r.right - 1, r.top, tl);
  VLine(dc, r.left, r.top, r.bottom - 1, tl);
  HLine(dc, r.left, r.right, r.bottom - 1, br);
  VLine(dc, r.right - 1, r.top, r.bottom, br);
}

}  // namespace

void DrawButtonFrame(HDC dc, RECT r, bool pressed, bool isDefault) {
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  if (isDefault || pressed) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pressed) {
    // Pressed: one shadow line around a flat face.
    FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
    InflateRect(&r, -1, -1);
    FillSolid(dc, r, face);
    return;
  }
  Ring(dc, r, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  InflateRect(&r, -1, -1);
  Ring(dc, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DSHADOW));
  InflateRect(&r, -1, -1);
  FillSolid(dc, r, face);
}

void DrawSunkenField(HDC dc, RECT r, COLORREF inside) {
  Ring(dc, r, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT));
  InflateRect(&r, -1, -1);
  Ring(dc, r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  InflateRect(&r, -1, -1);
  FillSolid(dc, r, inside);
}

void DrawDownArrow(HDC dc, const RECT& r, COLORREF c) {
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - 1;
  for (int i = 0; i < 4; ++i) HLine(dc, cx - 3 + i, cx + 4 - i, cy + i, c);
}

void DrawDisabledText(HDC dc, const char* text, RECT r, UINT format) {
  int mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old = SetTextColor(dc, GetSysColor(COLOR_3DHIGHLIGHT));
  RECT shadow = r;
  OffsetRect(&shadow, 1, 1);
  DrawTextA(dc, text, -1, &shadow, format);
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text, -1, &r, format);
  SetTextColor(dc, old);
  SetBkMode(dc, mode);
}

int LineHeight(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 13;
}

int FontLineHeight(HWND hwnd, HFONT font) {
  win32::WindowDc dc(hwnd, /*client=*/true);
  win32::SelectedObject selected(dc.get(), font);
  return LineHeight(dc.get());
}

int TextWidth(HDC dc, const char* text, std::size_t len) {
  if (len == 0) return 0;
  SIZE sz{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(len), &sz);
  return sz.cx;
}

std::size_t NextCodePoint(const std::string& s, std::size_t i) {
  if (i >= s.size()) return s.size();
  ++i;
  while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  return i;
}

std::size_t PrevCodePoint(const std::string& s, std::size_t i) {
  if (i == 0) return 0;
  if (i > s.size()) return s.size();
  --i;
  while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
  return i;
}

std::string SanitizeUtf8(const std::string& in) {
  std::string out = gdi::RepairUtf8(in);
  std::erase(out, '\0');
  return out;
}

// --- Registration.

namespace {

struct ClassEntry {
  const char* name;
  WNDPROC proc;
  UINT style;
};

const ClassEntry kClasses[] = {
    {"Button", ButtonProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW},
    {"Static", StaticProc, CS_DBLCLKS},
    {"Edit", EditProc, CS_DBLCLKS},
    {"ListBox", ListBoxProc, CS_DBLCLKS},
    {"ComboLBox", ListBoxProc, CS_DBLCLKS | CS_SAVEBITS},
    {"ComboBox", ComboBoxProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW},
    {"SysHeader32", HeaderProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW},
};

}  // namespace

void RegisterStandardControls() {
  for (const auto& c : kClasses) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = c.style | CS_GLOBALCLASS;
    wc.lpfnWndProc = c.proc;
    wc.hCursor = LoadCursorA(nullptr, std::strcmp(c.name, "Edit") == 0 ? IDC_IBEAM : IDC_ARROW);
    wc.lpszClassName = c.name;
    RegisterClassExA(&wc);  // refused harmlessly when the class exists already
  }
}

bool IsStandardClassName(const char* name) {
  if (!name || IS_INTRESOURCE(name)) return false;
  for (const auto& c : kClasses)
    if (strcasecmp(c.name, name) == 0) return true;
  return false;
}

}  // namespace platform::controls

UINT GetCaretBlinkTime() { return 530; }
