// ChooseColorA: the basic and custom colour grids, and the custom part
// (hue/saturation field, luminance bar, preview, RGB and HLS fields).
//
// Sections: layout · the dialog (state, building, the current colour,
// fields, mouse, painting) · the entry point.
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/dialogs/color_math.h"
#include "platform/dialogs/common_error.h"
#include "platform/dialogs/dialog_window.h"
#include "platform/dialogs/swatch_grid.h"

namespace platform::dialogs {
namespace {

// --- Layout, in dialog pixels.

constexpr int kSmallWidth = 222, kFullWidth = 470, kHeight = 298;
constexpr RECT kField{230, 10, 418, 174};  // hue across, saturation down
constexpr RECT kLumBar{428, 10, 440, 174};
constexpr int kMarkerX = 442;  // the luminance arrow points left at the bar
constexpr RECT kPreview{230, 184, 288, 226};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

struct FieldSpec {
  int id;
  const char* label;
  int x, y, max;
};
constexpr std::array<FieldSpec, 6> kFields{{
    {COLOR_HUE, "色调(&E):", 290, 184, kHlsMax},
    {COLOR_SAT, "饱和度(&S):", 290, 208, kHlsMax},
    {COLOR_LUM, "亮度(&L):", 290, 232, kHlsMax},
    {COLOR_RED, "红(&R):", 390, 184, kRgbMax},
    {COLOR_GREEN, "绿(&G):", 390, 208, kRgbMax},
    {COLOR_BLUE, "蓝(&U):", 390, 232, kRgbMax},
}};

// --- The dialog.

class ColorDialog : public DialogWindow {
 public:
  explicit ColorDialog(const CHOOSECOLORA& cc) : flags_(cc.Flags) {
    custom_.fill(RGB(255, 255, 255));
    if (cc.lpCustColors) std::copy(cc.lpCustColors, cc.lpCustColors + 16, custom_.begin());
    SetColor(cc.Flags & CC_RGBINIT ? cc.rgbResult & 0x00FFFFFF : RGB(0, 0, 0));
  }
  ~ColorDialog() override {
    if (fieldBitmap_) DeleteObject(fieldBitmap_);
  }

  bool fullOpen() const { return flags_ & CC_FULLOPEN; }
  COLORREF color() const { return rgb_; }
  const std::array<COLORREF, 16>& custom() const { return custom_; }

 protected:
  void Build() override {
    RegisterSwatchGrid();
    Add("Static", "基本颜色(&B):", 0, 8, 8, 200, 14, kStaticId);
    HWND basic = Add(kSwatchGridClass, "", WS_TABSTOP | WS_GROUP, 6, 24, 208, 132, COLOR_BOX1);
    SendMessageA(basic, SGM_SETCOLORS, MAKEWPARAM(8, 6), reinterpret_cast<LPARAM>(kBasicColors.data()));
    Add("Static", "自定义颜色(&C):", 0, 8, 164, 200, 14, kStaticId);
    HWND custom = Add(kSwatchGridClass, "", WS_TABSTOP | WS_GROUP, 6, 180, 208, 44, COLOR_CUSTOM1);
    SendMessageA(custom, SGM_SETCOLORS, MAKEWPARAM(8, 2), reinterpret_cast<LPARAM>(custom_.data()));
    HWND mix = Add("Button", "规定自定义颜色(&D) >>", WS_TABSTOP | WS_GROUP, 8, 234, 206, 23, COLOR_MIX);
    if (flags_ & (CC_PREVENTFULLOPEN | CC_FULLOPEN)) EnableWindow(mix, FALSE);
    Add("Button", "确定", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 8, 266, 64, 23, IDOK);
    Add("Button", "取消", WS_TABSTOP, 78, 266, 64, 23, IDCANCEL);

    // The custom part exists from the start and shows once opened.
    auto add = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                   DWORD ex = 0) {
      HWND c = Add(cls, text, style, x, y, w, h, id, ex);
      if (!open_) ShowWindow(c, SW_HIDE);
      customPart_.push_back(c);
      return c;
    };
    add("Static", "颜色|纯色(&O)", 0, kPreview.left, kPreview.bottom + 4, 70, 14, COLOR_SOLID);
    for (const FieldSpec& f : kFields) {
      const int labelW = f.id >= COLOR_RED ? 38 : 62;
      add("Static", f.label, SS_RIGHT, f.x, f.y + 3, labelW, 14, kStaticId);
      add("Edit", "", WS_TABSTOP | WS_GROUP | ES_NUMBER | ES_AUTOHSCROLL, f.x + labelW + 2, f.y, 32, 20, f.id,
          WS_EX_CLIENTEDGE);
    }
    add("Button", "添加到自定义颜色(&A)", WS_TABSTOP | WS_GROUP, 230, 266, 232, 23, COLOR_ADD);
    ShowSelection();
    WriteFields(0);
  }

  void OnCommand(int id, int code, HWND) override {
    switch (id) {
      case IDOK:
        EndDialog(IDOK);
        return;
      case IDCANCEL:
        EndDialog(IDCANCEL);
        return;
      case COLOR_MIX:
        OpenCustomPart();
        return;
      case COLOR_ADD:
        custom_[nextCustom_] = rgb_;
        nextCustom_ = (nextCustom_ + 1) % custom_.size();
        InvalidateRect(Item(COLOR_CUSTOM1), nullptr, FALSE);
        return;
      case COLOR_BOX1:
      case COLOR_CUSTOM1:
        if (code == SGN_SELCHANGE) PickSwatch(id);
        return;
      default:
        if (code == EN_CHANGE && id >= COLOR_HUE && id <= COLOR_BLUE) ReadField(id);
        return;
    }
  }

  bool OnMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
      case WM_LBUTTONDOWN:
        if (!open_) return false;
        if (PtInRect(&kField, p))
          dragging_ = Drag::Field;
        else if (p.x >= kLumBar.left && p.x < kMarkerX + 10 && p.y >= kLumBar.top && p.y < kLumBar.bottom)
          dragging_ = Drag::Lum;
        else
          return false;
        SetCapture(hwnd());
        DragTo(p);
        result = 0;
        return true;
      case WM_MOUSEMOVE:
        if (dragging_ == Drag::None || GetCapture() != hwnd()) return false;
        DragTo(p);
        result = 0;
        return true;
      case WM_LBUTTONUP:
      case WM_CAPTURECHANGED:
        if (dragging_ == Drag::None) return false;
        dragging_ = Drag::None;
        if (msg == WM_LBUTTONUP && GetCapture() == hwnd()) ReleaseCapture();
        result = 0;
        return true;
      default:
        return false;
    }
  }

  void OnPaint(HDC dc) override {
    if (!open_) return;
    PaintField(dc);
    PaintLumBar(dc);
    RECT pv = kPreview;
    DrawEdge(dc, &pv, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    win32::GdiObject<HGDIOBJ> brush(CreateSolidBrush(rgb_));
    FillRect(dc, &pv, static_cast<HBRUSH>(brush.get()));
  }

 private:
  enum class Drag { None, Field, Lum };

  // --- The current colour. RGB and HLS are both kept: HLS does not survive
  // a round trip through RGB (greys have no hue), and the fields show what
  // the user set.

  void SetColor(COLORREF c) {
    rgb_ = c;
    hls_ = RgbToHls(c);
  }
  void SetHls(Hls h) {
    hls_ = h;
    rgb_ = HlsToRgb(h.h, h.l, h.s);
  }

  void ColorChanged(int exceptField) {
    WriteFields(exceptField);
    ShowSelection();
    if (open_) {
      RECT area{kField.left - 8, kField.top - 8, kMarkerX + 12, kPreview.bottom + 2};
      InvalidateRect(hwnd(), &area, FALSE);
    }
  }

  // The swatch showing the current colour is the selected one, if any.
  void ShowSelection() {
    auto indexIn = [&](const COLORREF* a, std::size_t n) {
      for (std::size_t i = 0; i < n; ++i)
        if (a[i] == rgb_) return static_cast<int>(i);
      return -1;
    };
    int basic = indexIn(kBasicColors.data(), kBasicColors.size());
    int custom = basic < 0 ? indexIn(custom_.data(), custom_.size()) : -1;
    SendMessageA(Item(COLOR_BOX1), SGM_SETSEL, static_cast<WPARAM>(basic), 0);
    SendMessageA(Item(COLOR_CUSTOM1), SGM_SETSEL, static_cast<WPARAM>(custom), 0);
  }

  void PickSwatch(int gridId) {
    HWND grid = Item(gridId);
    int i = static_cast<int>(SendMessageA(grid, SGM_GETSEL, 0, 0));
    if (i < 0) return;
    SetColor(gridId == COLOR_BOX1 ? kBasicColors[static_cast<std::size_t>(i)]
                                  : custom_[static_cast<std::size_t>(i)]);
    ColorChanged(0);
    // A custom colour equal to a basic one still stays selected where clicked.
    SendMessageA(grid, SGM_SETSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(Item(gridId == COLOR_BOX1 ? COLOR_CUSTOM1 : COLOR_BOX1), SGM_SETSEL, static_cast<WPARAM>(-1),
                 0);
  }

  void OpenCustomPart() {
    if (open_ || (flags_ & CC_PREVENTFULLOPEN)) return;
    open_ = true;
    RECT r;
    GetWindowRect(hwnd(), &r);
    MoveWindow(hwnd(), r.left, r.top, kFullWidth, r.bottom - r.top, TRUE);
    for (HWND c : customPart_) ShowWindow(c, SW_SHOW);
    EnableWindow(Item(COLOR_MIX), FALSE);
    SetFocus(Item(COLOR_HUE));
    InvalidateRect(hwnd(), nullptr, TRUE);
  }

  // --- Fields.

  int FieldValue(int id) const {
    switch (id) {
      case COLOR_HUE:
        return hls_.h;
      case COLOR_SAT:
        return hls_.s;
      case COLOR_LUM:
        return hls_.l;
      case COLOR_RED:
        return GetRValue(rgb_);
      case COLOR_GREEN:
        return GetGValue(rgb_);
      default:
        return GetBValue(rgb_);
    }
  }

  void WriteFields(int exceptField) {
    writing_ = true;
    for (const FieldSpec& f : kFields) {
      if (f.id == exceptField) continue;
      char buf[8];
      std::snprintf(buf, sizeof buf, "%d", FieldValue(f.id));
      if (WindowText(Item(f.id)) != buf) SetWindowTextA(Item(f.id), buf);
    }
    writing_ = false;
  }

  // Typing into a field: digits up to the field's maximum. An empty field
  // counts as 0 while the user is still typing; too large a number is
  // replaced by the maximum.
  void ReadField(int id) {
    if (writing_) return;
    const FieldSpec* spec = nullptr;
    for (const FieldSpec& f : kFields)
      if (f.id == id) spec = &f;
    HWND edit = Item(id);
    std::string text = WindowText(edit);
    long v = 0;
    for (char ch : text) {
      if (ch < '0' || ch > '9') break;
      v = std::min<long>(v * 10 + (ch - '0'), 100000);
    }
    if (v > spec->max) {
      v = spec->max;
      writing_ = true;
      SetWindowTextA(edit, std::to_string(v).c_str());
      SendMessageA(edit, EM_SETSEL, 16, 16);
      writing_ = false;
    }
    const int n = static_cast<int>(v);
    if (id <= COLOR_LUM) {
      Hls h = hls_;
      (id == COLOR_HUE ? h.h : id == COLOR_SAT ? h.s : h.l) = n;
      SetHls(h);
    } else {
      BYTE r = GetRValue(rgb_), g = GetGValue(rgb_), b = GetBValue(rgb_);
      (id == COLOR_RED ? r : id == COLOR_GREEN ? g : b) = static_cast<BYTE>(n);
      SetColor(RGB(r, g, b));
    }
    ColorChanged(id);
  }

  // --- Mouse on the field and the luminance bar.

  void DragTo(POINT p) {
    Hls h = hls_;
    if (dragging_ == Drag::Field) {
      h.h = std::clamp((p.x - kField.left) * kHlsMax / (Width(kField) - 1), 0, kHlsMax);
      h.s = std::clamp(kHlsMax - (p.y - kField.top) * kHlsMax / (Height(kField) - 1), 0, kHlsMax);
    } else {
      h.l = std::clamp(kHlsMax - (p.y - kLumBar.top) * kHlsMax / (Height(kLumBar) - 1), 0, kHlsMax);
    }
    SetHls(h);
    ColorChanged(0);
  }

  // --- Painting.

  void PaintField(HDC dc) {
    const int w = Width(kField), h = Height(kField);
    win32::OwnedDc memDc(CreateCompatibleDC(dc));
    HDC mem = memDc.get();
    if (!fieldBitmap_) {
      // The field does not change with the colour: build it once.
      fieldBitmap_ = CreateCompatibleBitmap(dc, w, h);
      win32::SelectedObject sel(mem, fieldBitmap_);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          SetPixelV(mem, x, y, HlsToRgb(x * kHlsMax / (w - 1), kHlsMax / 2, kHlsMax - y * kHlsMax / (h - 1)));
    }
    {
      win32::SelectedObject sel(mem, fieldBitmap_);
      BitBlt(dc, kField.left, kField.top, w, h, mem, 0, 0, SRCCOPY);
    }
    RECT edge = kField;
    InflateRect(&edge, 2, 2);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    // The cross-hair: four black arms around the point of the hue and saturation.
    const int cx = kField.left + hls_.h * (w - 1) / kHlsMax;
    const int cy = kField.top + (kHlsMax - hls_.s) * (h - 1) / kHlsMax;
    HRGN clip = CreateRectRgn(kField.left, kField.top, kField.right, kField.bottom);
    SelectClipRgn(dc, clip);
    const RECT arms[4] = {{cx - 9, cy - 1, cx - 3, cy + 2},
                          {cx + 4, cy - 1, cx + 10, cy + 2},
                          {cx - 1, cy - 9, cx + 2, cy - 3},
                          {cx - 1, cy + 4, cx + 2, cy + 10}};
    for (const RECT& a : arms) FillRect(dc, &a, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
  }

  void PaintLumBar(HDC dc) {
    const int h = Height(kLumBar);
    for (int y = 0; y < h; ++y) {
      win32::GdiObject<HGDIOBJ> brush(
          CreateSolidBrush(HlsToRgb(hls_.h, kHlsMax - y * kHlsMax / (h - 1), hls_.s)));
      RECT row{kLumBar.left, kLumBar.top + y, kLumBar.right, kLumBar.top + y + 1};
      FillRect(dc, &row, static_cast<HBRUSH>(brush.get()));
    }
    RECT edge = kLumBar;
    InflateRect(&edge, 2, 2);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    RECT old{kMarkerX, kLumBar.top - 6, kMarkerX + 8, kLumBar.bottom + 6};
    FillRect(dc, &old, GetSysColorBrush(COLOR_3DFACE));
    const int my = kLumBar.top + (kHlsMax - hls_.l) * (h - 1) / kHlsMax;
    for (int i = 0; i < 6; ++i) {
      RECT col{kMarkerX + i, my - i, kMarkerX + i + 1, my + i + 1};
      FillRect(dc, &col, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
  }

  DWORD flags_;
  COLORREF rgb_ = 0;
  Hls hls_;
  std::array<COLORREF, 16> custom_{};
  std::size_t nextCustom_ = 0;
  std::vector<HWND> customPart_;
  bool open_ = fullOpen();
  bool writing_ = false;
  Drag dragging_ = Drag::None;
  HBITMAP fieldBitmap_ = nullptr;
};

}  // namespace
}  // namespace platform::dialogs

// --- The entry point.

BOOL ChooseColorA(LPCHOOSECOLORA cc) {
  using namespace platform::dialogs;
  if (!cc || cc->lStructSize != sizeof(CHOOSECOLORA)) {
    SetCommonError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  SetCommonError(0);
  ColorDialog dialog(*cc);
  INT_PTR r = dialog.Run(cc->hwndOwner, "颜色", dialog.fullOpen() ? kFullWidth : kSmallWidth, kHeight);
  if (r != IDOK) return FALSE;
  cc->rgbResult = dialog.color();
  if (cc->lpCustColors) std::copy(dialog.custom().begin(), dialog.custom().end(), cc->lpCustColors);
  return TRUE;
}
