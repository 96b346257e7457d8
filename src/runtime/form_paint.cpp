#include "runtime/form_paint.h"

#include <string>

#include "platform/scoped_handles.h"

namespace runtime {
namespace {

RECT ToRect(const PixelRect& p) { return RECT{p.x, p.y, p.x + p.width, p.y + p.height}; }

COLORREF Resolve(const LayoutColour& c, int sys) {
  return c.is_default ? GetSysColor(sys) : static_cast<COLORREF>(c.value);
}

// The outline lies inside the shape's rectangle, border_width pixels wide.
void PaintShape(HDC dc, const LayoutRow& row) {
  const RECT r = ToRect(OuterPixels(row));
  const ShapeStyle& s = row.shape;
  if (s.fill_style == FillStyle::Solid) {
    win32::GdiObject<HBRUSH> fill(CreateSolidBrush(Resolve(s.fill_colour, COLOR_WINDOW)));
    FillRect(dc, &r, fill.get());
  }
  if (s.border_width <= 0) return;
  win32::GdiObject<HBRUSH> pen(CreateSolidBrush(Resolve(s.border_colour, COLOR_WINDOWTEXT)));
  const int b = s.border_width;
  const RECT strips[4] = {{r.left, r.top, r.right, r.top + b},
                          {r.left, r.bottom - b, r.right, r.bottom},
                          {r.left, r.top, r.left + b, r.bottom},
                          {r.right - b, r.top, r.right, r.bottom}};
  for (const RECT& strip : strips) FillRect(dc, &strip, pen.get());
}

void PaintLabel(HDC dc, const LayoutRow& row) {
  RECT r = ToRect(OuterPixels(row));
  if (row.opaque) {
    win32::GdiObject<HBRUSH> back(CreateSolidBrush(Resolve(row.back_colour, COLOR_BTNFACE)));
    FillRect(dc, &r, back.get());
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Resolve(row.fore_colour, COLOR_BTNTEXT));
  const std::string text(row.text);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace

void PaintFormSurface(HDC dc, const FormLayout& layout, COLORREF, HFONT font, HBRUSH backBrush) {
  RECT all;
  GetClipBox(dc, &all);
  FillRect(dc, &all, backBrush);
  win32::SelectedObject f(dc, font);
  for (auto it = layout.controls.rbegin(); it != layout.controls.rend(); ++it) {
    if (it->kind == ControlKind::Shape) PaintShape(dc, *it);
    if (it->kind == ControlKind::Label) PaintLabel(dc, *it);
  }
}

void PaintFrame(HWND frame, HDC dc, const LayoutRow& row, HFONT font) {
  RECT client;
  GetClientRect(frame, &client);
  win32::GdiObject<HBRUSH> back(CreateSolidBrush(Resolve(row.back_colour, COLOR_BTNFACE)));
  FillRect(dc, &client, back.get());
  win32::SelectedObject f(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  RECT border = client;
  border.top += tm.tmHeight / 2;
  DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
  const std::string text(row.text);
  if (text.empty()) return;
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  RECT cap{8, 0, 8 + size.cx + 4, tm.tmHeight};
  FillRect(dc, &cap, back.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Resolve(row.fore_colour, COLOR_BTNTEXT));
  TextOutA(dc, 10, 0, text.c_str(), static_cast<int>(text.size()));
}

const LayoutRow* LabelAt(const FormLayout& layout, POINT pt) {
  for (const LayoutRow& row : layout.controls) {
    if (row.kind != ControlKind::Label) continue;
    const RECT r = ToRect(OuterPixels(row));
    if (PtInRect(&r, pt)) return &row;
  }
  return nullptr;
}

}  // namespace runtime
