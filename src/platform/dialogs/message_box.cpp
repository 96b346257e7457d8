// MessageBoxA: an icon, the text (wrapped at a readable width) and a row
// of centred buttons.
//
// Sections: button sets · icons · the dialog · the entry point.
#include <algorithm>
#include <vector>

#include "platform/dialogs/dialog_window.h"

namespace platform::dialogs {
namespace {

// --- Button sets.

struct ButtonSpec {
  int id;
  const char* label;
};

// The buttons of an MB_TYPEMASK value; empty for values Win32 rejects too.
std::vector<ButtonSpec> ButtonsOf(UINT type) {
  const ButtonSpec ok{IDOK, "确定"}, cancel{IDCANCEL, "取消"}, yes{IDYES, "是(&Y)"}, no{IDNO, "否(&N)"},
      retry{IDRETRY, "重试(&R)"};
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return {ok};
    case MB_OKCANCEL:
      return {ok, cancel};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, "中止(&A)"}, retry, {IDIGNORE, "忽略(&I)"}};
    case MB_YESNOCANCEL:
      return {yes, no, cancel};
    case MB_YESNO:
      return {yes, no};
    case MB_RETRYCANCEL:
      return {retry, cancel};
    default:
      return {};
  }
}

// What Escape and the close button answer; 0 when the box cannot be
// dismissed that way (abort/retry/ignore asks for a real choice).
int EscapeAnswer(const std::vector<ButtonSpec>& buttons) {
  for (const auto& b : buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  if (buttons.size() == 1) return buttons[0].id;
  for (const auto& b : buttons)
    if (b.id == IDNO) return IDNO;
  return 0;
}

// --- Icons, 32 by 32, drawn with the plain GDI so they scale with nothing.

constexpr int kIcon = 32;

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
  win32::GdiObject<HGDIOBJ> brush(CreateSolidBrush(c));
  RECT rc{l, t, r, b};
  FillRect(dc, &rc, static_cast<HBRUSH>(brush.get()));
}

void Disc(HDC dc, int x, int y, COLORREF fill, COLORREF edge) {
  win32::GdiObject<HGDIOBJ> brush(CreateSolidBrush(fill)), pen(CreatePen(PS_SOLID, 1, edge));
  win32::SelectedObject sb(dc, brush.get()), sp(dc, pen.get());
  Ellipse(dc, x + 1, y + 1, x + kIcon - 1, y + kIcon - 1);
}

void DrawErrorIcon(HDC dc, int x, int y) {
  Disc(dc, x, y, RGB(224, 0, 0), RGB(128, 0, 0));
  // The cross: two diagonals three pixels thick.
  for (int i = 0; i < 14; ++i) {
    Fill(dc, x + 9 + i, y + 9 + i, x + 12 + i, y + 11 + i, RGB(255, 255, 255));
    Fill(dc, x + 20 - i, y + 9 + i, x + 23 - i, y + 11 + i, RGB(255, 255, 255));
  }
}

void DrawWarningIcon(HDC dc, int x, int y) {
  // A triangle by scanlines: apex at the top centre, base along the bottom.
  const int top = y + 2, bottom = y + 30, cx = x + 16;
  for (int row = top; row < bottom; ++row) {
    int half = (row - top) * 15 / (bottom - top - 1);
    Fill(dc, cx - half - 1, row, cx + half + 1, row + 1, RGB(0, 0, 0));
    if (row > top + 1 && row < bottom - 1 && half > 1)
      Fill(dc, cx - half, row, cx + half, row + 1, RGB(255, 224, 0));
  }
  Fill(dc, cx - 2, y + 10, cx + 2, y + 22, RGB(0, 0, 0));
  Fill(dc, cx - 2, y + 24, cx + 2, y + 28, RGB(0, 0, 0));
}

void DrawInformationIcon(HDC dc, int x, int y) {
  Disc(dc, x, y, RGB(32, 80, 224), RGB(0, 32, 128));
  Fill(dc, x + 14, y + 6, x + 18, y + 10, RGB(255, 255, 255));
  Fill(dc, x + 14, y + 13, x + 18, y + 26, RGB(255, 255, 255));
  Fill(dc, x + 12, y + 13, x + 14, y + 15, RGB(255, 255, 255));
  Fill(dc, x + 12, y + 24, x + 20, y + 26, RGB(255, 255, 255));
}

void DrawQuestionIcon(HDC dc, int x, int y) {
  Disc(dc, x, y, RGB(32, 80, 224), RGB(0, 32, 128));
  win32::GdiObject<HGDIOBJ> font(CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                             DEFAULT_PITCH | FF_DONTCARE, "Arial"));
  win32::SelectedObject sf(dc, font.get());
  int mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old = SetTextColor(dc, RGB(255, 255, 255));
  RECT r{x, y, x + kIcon, y + kIcon};
  DrawTextA(dc, "?", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, old);
  SetBkMode(dc, mode);
}

// --- The dialog.

constexpr int kMargin = 12;
constexpr int kButtonW = 75, kButtonH = 23, kButtonGap = 6;

class MessageBoxDialog : public DialogWindow {
 public:
  MessageBoxDialog(const char* text, UINT type) : text_(text ? text : ""), type_(type) {
    buttons_ = ButtonsOf(type);
    std::size_t def = (type & MB_DEFMASK) >> 8;
    defaultIndex_ = def < buttons_.size() ? def : 0;
  }
  bool valid() const { return !buttons_.empty(); }
  // A box torn down without an answer counts as dismissed, where it can be.
  int Answer(INT_PTR r) const { return r == kNoAnswer ? EscapeAnswer(buttons_) : static_cast<int>(r); }

  // Measures the text in the dialog font and lays the box out around it.
  SIZE Measure() {
    RECT r{0, 0, MaxTextWidth(), 0};
    {
      win32::OwnedDc dc(CreateCompatibleDC(nullptr));
      win32::GdiObject<HFONT> f(DialogFont());
      win32::SelectedObject sf(dc.get(), f.get());
      DrawTextA(dc.get(), text_.empty() ? " " : text_.c_str(), -1, &r, kTextFormat | DT_CALCRECT);
    }
    textW_ = r.right - r.left + 2;
    textH_ = r.bottom - r.top;
    const bool icon = (type_ & MB_ICONMASK) != 0;
    textX_ = icon ? kMargin + kIcon + kMargin : kMargin;
    int contentH = icon ? std::max(kIcon, textH_) : textH_;
    textY_ = kMargin + (icon ? (contentH - textH_) / 2 : 0);
    buttonsY_ = kMargin + contentH + 14;
    int n = static_cast<int>(buttons_.size());
    int rowW = n * kButtonW + (n - 1) * kButtonGap;
    width_ = std::max({textX_ + textW_ + kMargin, rowW + 2 * kMargin, 160});
    return SIZE{width_, buttonsY_ + kButtonH + kMargin};
  }

 protected:
  void Build() override {
    Add("Static", text_.c_str(), SS_LEFT | SS_NOPREFIX, textX_, textY_, textW_, textH_, kStaticId);
    int n = static_cast<int>(buttons_.size());
    int x = (width_ - (n * kButtonW + (n - 1) * kButtonGap)) / 2;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
      DWORD style =
          WS_TABSTOP | (i == defaultIndex_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (i == 0 ? WS_GROUP : 0);
      Add("Button", buttons_[i].label, style, x, buttonsY_, kButtonW, kButtonH, buttons_[i].id);
      x += kButtonW + kButtonGap;
    }
    SetDefaultId(buttons_[defaultIndex_].id);
  }

  HWND InitialFocus() override { return Item(buttons_[defaultIndex_].id); }

  void OnCommand(int id, int, HWND) override {
    for (const auto& b : buttons_)
      if (b.id == id) {
        EndDialog(id);
        return;
      }
    if (id == IDCANCEL) {
      if (int answer = EscapeAnswer(buttons_)) EndDialog(answer);
    }
  }

  void OnPaint(HDC dc) override {
    const int x = kMargin, y = kMargin;
    switch (type_ & MB_ICONMASK) {
      case MB_ICONHAND:
        DrawErrorIcon(dc, x, y);
        break;
      case MB_ICONEXCLAMATION:
        DrawWarningIcon(dc, x, y);
        break;
      case MB_ICONQUESTION:
        DrawQuestionIcon(dc, x, y);
        break;
      case MB_ICONASTERISK:
        DrawInformationIcon(dc, x, y);
        break;
      default:
        break;
    }
  }

 private:
  static constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  static int MaxTextWidth() { return std::clamp(GetSystemMetrics(SM_CXSCREEN) * 5 / 8, 200, 480); }

  std::string text_;
  UINT type_;
  std::vector<ButtonSpec> buttons_;
  std::size_t defaultIndex_ = 0;
  int textX_ = 0, textY_ = 0, textW_ = 0, textH_ = 0, buttonsY_ = 0, width_ = 0;
};

}  // namespace
}  // namespace platform::dialogs

// --- The entry point.

int MessageBoxA(HWND hWnd, LPCSTR text, LPCSTR caption, UINT type) {
  platform::dialogs::MessageBoxDialog box(text, type);
  if (!box.valid()) return 0;
  SIZE size = box.Measure();
  return box.Answer(box.Run(hWnd, caption ? caption : "错误", size.cx, size.cy));
}
