// "Edit": single-line and multi-line text fields.
//
// Sections: changes and notifications · keyboard · mouse · the window procedure.
//
// Text is UTF-8; every offset the messages use (EM_GETSEL, EM_SETSEL,
// EM_LINEINDEX) counts bytes, as the A API does. WM_CHAR brings UTF-8 one
// byte at a time, so multibyte characters are reassembled before they go
// in; a broken sequence becomes U+FFFD.
#include <strings.h>

#include <algorithm>
#include <optional>

#include "platform/controls/edit_state.h"
#include "platform/user/clipboard.h"
#include "platform/user/notify.h"

namespace platform::controls {
namespace {

void ShowCaretNow(HWND hwnd, EditState& s) {
  if (!s.focused) return;
  s.caretOn = true;
  SetTimer(hwnd, kCaretTimer, GetCaretBlinkTime(), nullptr);  // restarts the beat
}

// --- Changes and notifications.

void Refresh(HWND hwnd, EditState& s) {
  ScrollToCaret(hwnd, s);
  ShowCaretNow(hwnd, s);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void RememberUndo(EditState& s) {
  s.undoText = s.buf.text();
  s.undoCaret = s.buf.caret();
  s.canUndo = true;
}

// After the text changed: new layout, then EN_UPDATE and EN_CHANGE. The
// parent may destroy the control in either; callers return right after.
void Changed(HWND hwnd, EditState& s) {
  s.modified = true;
  s.desiredX = -1;
  Relayout(hwnd, s);
  Refresh(hwnd, s);
  platform::user::NotifyParent(hwnd, EN_UPDATE);
  if (IsWindow(hwnd)) platform::user::NotifyParent(hwnd, EN_CHANGE);
}

std::string Transform(HWND hwnd, std::string in) {
  const DWORD style = StyleOf(hwnd);
  if (!(style & ES_MULTILINE)) {
    // A single line keeps what comes before the first line break.
    std::size_t cut = in.find_first_of("\r\n");
    if (cut != std::string::npos) in.resize(cut);
  } else {
    // Lone LFs and CRs become CR LF, the edit control's line end.
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
      if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n') continue;
      if (in[i] == '\r' || in[i] == '\n')
        out += "\r\n";
      else
        out += in[i];
    }
    in.swap(out);
  }
  for (char& c : in) {
    if ((style & ES_UPPERCASE) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if ((style & ES_LOWERCASE) && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  if (style & ES_NUMBER)
    in.erase(std::remove_if(in.begin(), in.end(), [](char c) { return c < '0' || c > '9'; }), in.end());
  return in;
}

// Inserts text typed or pasted; false when the limit left no room.
bool Insert(HWND hwnd, EditState& s, const std::string& raw) {
  std::string text = Transform(hwnd, SanitizeUtf8(raw));
  std::size_t kept = s.buf.text().size() - (s.buf.selMax() - s.buf.selMin());
  std::size_t room = s.limit > kept ? s.limit - kept : 0;
  if (text.empty() && !s.buf.hasSelection()) return true;
  RememberUndo(s);
  bool full = text.size() > room;
  if (s.buf.ReplaceSelection(text, room)) Changed(hwnd, s);
  if (full && IsWindow(hwnd)) platform::user::NotifyParent(hwnd, EN_MAXTEXT);
  return !full;
}

bool ReadOnly(HWND hwnd) { return StyleOf(hwnd) & ES_READONLY; }

void Copy(EditState& s) {
  if (s.buf.hasSelection()) platform::user::SetClipboardText(s.buf.selectedText());
}

void Cut(HWND hwnd, EditState& s) {
  if (ReadOnly(hwnd) || !s.buf.hasSelection()) return;
  Copy(s);
  RememberUndo(s);
  s.buf.ReplaceSelection("");
  Changed(hwnd, s);
}

void Paste(HWND hwnd, EditState& s) {
  if (ReadOnly(hwnd)) return;
  std::string clip = platform::user::GetClipboardText();
  if (!clip.empty()) Insert(hwnd, s, clip);
}

void Undo(HWND hwnd, EditState& s) {
  if (!s.canUndo || ReadOnly(hwnd)) return;
  std::string text = s.undoText;
  std::size_t caret = s.undoCaret;
  RememberUndo(s);  // a second undo redoes
  s.buf.SetText(text);
  s.buf.MoveCaret(caret, false);
  Changed(hwnd, s);
}

// --- Keyboard.

void TypedByte(HWND hwnd, EditState& s, unsigned char b) {
  if (b < 0x80 || (b & 0xC0) == 0xC0 || s.pendingNeed == 0) {
    if (!s.pending.empty()) {  // the previous character never completed: one U+FFFD for it
      s.pending.clear();
      s.pendingNeed = 0;
      Insert(hwnd, s, "\xEF\xBF\xBD");
      if (!(EditStates().Get(hwnd))) return;
    }
    if (b < 0x80) {
      Insert(hwnd, s, std::string(1, static_cast<char>(b)));
      return;
    }
    s.pending.assign(1, static_cast<char>(b));
    s.pendingNeed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (s.pendingNeed == 1) {  // a stray continuation byte
      s.pending.clear();
      s.pendingNeed = 0;
      Insert(hwnd, s, std::string(1, static_cast<char>(b)));
    }
    return;
  }
  s.pending.push_back(static_cast<char>(b));
  if (s.pending.size() >= s.pendingNeed) {
    std::string ch;
    ch.swap(s.pending);
    s.pendingNeed = 0;
    Insert(hwnd, s, ch);
  }
}

void OnChar(HWND hwnd, EditState& s, WPARAM ch) {
  switch (ch) {
    case 0x01:  // Ctrl+A
      s.buf.Select(0, s.buf.text().size());
      Refresh(hwnd, s);
      return;
    case 0x03:  // Ctrl+C
      Copy(s);
      return;
    case 0x16:  // Ctrl+V
      Paste(hwnd, s);
      return;
    case 0x18:  // Ctrl+X
      Cut(hwnd, s);
      return;
    case 0x1A:  // Ctrl+Z
      Undo(hwnd, s);
      return;
    case VK_BACK:
      if (ReadOnly(hwnd)) return;
      RememberUndo(s);
      if (s.buf.DeleteBackward()) Changed(hwnd, s);
      return;
    case VK_RETURN:
      if (Multi(hwnd) && !ReadOnly(hwnd)) Insert(hwnd, s, "\r\n");
      return;
    case VK_TAB:
      if (Multi(hwnd) && !ReadOnly(hwnd)) Insert(hwnd, s, "\t");
      return;
    default:
      if (ch < 0x20 || ch > 0xFF || ReadOnly(hwnd)) return;
      TypedByte(hwnd, s, static_cast<unsigned char>(ch));
  }
}

// Keys a combo box's edit field leaves to the combo box.
bool ForwardToCombo(HWND hwnd, UINT msg, WPARAM key) {
  HWND combo = GetParent(hwnd);
  bool alt = msg == WM_SYSKEYDOWN;
  bool dropped = SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP)) || key == VK_UP || key == VK_DOWN ||
      (dropped && (key == VK_RETURN || key == VK_ESCAPE || key == VK_PRIOR || key == VK_NEXT))) {
    SendMessageA(combo, msg, key, 0);
    return true;
  }
  return false;
}

void VerticalMove(HWND hwnd, EditState& s, long delta, bool extend) {
  std::size_t line = LineOf(s, s.buf.caret());
  if (s.desiredX < 0) s.desiredX = WidthOf(hwnd, s, s.lines[line].start, s.buf.caret());
  long target = std::clamp<long>(static_cast<long>(line) + delta, 0, static_cast<long>(s.lines.size()) - 1);
  int keep = s.desiredX;
  s.buf.MoveCaret(OffsetInLine(hwnd, s, static_cast<std::size_t>(target), keep), extend);
  Refresh(hwnd, s);
  s.desiredX = keep;
}

void OnKeyDown(HWND hwnd, EditState& s, WPARAM key) {
  const bool shift = KeyHeld(VK_SHIFT), ctrl = KeyHeld(VK_CONTROL);
  const std::size_t caret = s.buf.caret();
  const std::size_t line = LineOf(s, caret);
  std::size_t to = caret;
  switch (key) {
    case VK_LEFT:
      if (s.buf.hasSelection() && !shift)
        to = s.buf.selMin();
      else
        to = ctrl ? s.buf.WordLeft(caret) : s.buf.Prev(caret);
      break;
    case VK_RIGHT:
      if (s.buf.hasSelection() && !shift)
        to = s.buf.selMax();
      else
        to = ctrl ? s.buf.WordRight(caret) : s.buf.Next(caret);
      break;
    case VK_HOME:
      to = (ctrl || !Multi(hwnd)) ? 0 : s.lines[line].start;
      break;
    case VK_END:
      to = (ctrl || !Multi(hwnd)) ? s.buf.text().size() : s.lines[line].end;
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!Multi(hwnd)) return;
      long page = VisibleLines(hwnd, s);
      long d = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page;
      VerticalMove(hwnd, s, d, shift);
      return;
    }
    case VK_DELETE:
      if (ReadOnly(hwnd)) return;
      if (shift) {
        Cut(hwnd, s);
        return;
      }
      RememberUndo(s);
      if (s.buf.DeleteForward()) Changed(hwnd, s);
      return;
    case VK_INSERT:
      if (ctrl)
        Copy(s);
      else if (shift)
        Paste(hwnd, s);
      return;
    default:
      return;
  }
  s.buf.MoveCaret(to, shift);
  s.desiredX = -1;
  Refresh(hwnd, s);
}

// --- Mouse.

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void OnButtonDown(HWND hwnd, LPARAM lParam, bool dbl) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  EditState* live = EditStates().Get(hwnd);
  if (!live) return;
  std::size_t at = HitTest(hwnd, *live, PointOf(lParam));
  if (dbl) {
    auto [a, b] = live->buf.WordAt(at);
    live->buf.Select(a, b);
  } else {
    live->buf.MoveCaret(at, KeyHeld(VK_SHIFT));
    live->selecting = true;
    SetCapture(hwnd);
  }
  live->desiredX = -1;
  Refresh(hwnd, *live);
}

// --- Messages.

LRESULT OnSetSel(HWND hwnd, EditState& s, WPARAM wParam, LPARAM lParam) {
  const std::size_t size = s.buf.text().size();
  auto start = static_cast<long long>(static_cast<int>(wParam));
  auto end = static_cast<long long>(static_cast<int>(lParam));
  if (start == -1) {  // deselect, keep the caret
    s.buf.MoveCaret(s.buf.caret(), false);
  } else {
    std::size_t a = static_cast<std::size_t>(std::clamp<long long>(start, 0, static_cast<long long>(size)));
    std::size_t b =
        end < 0 ? size : static_cast<std::size_t>(std::min<long long>(end, static_cast<long long>(size)));
    s.buf.Select(a, b);
  }
  Refresh(hwnd, s);
  return 0;
}

LRESULT OnGetSel(const EditState& s, WPARAM wParam, LPARAM lParam) {
  auto a = static_cast<DWORD>(s.buf.selMin()), b = static_cast<DWORD>(s.buf.selMax());
  if (wParam) *reinterpret_cast<DWORD*>(wParam) = a;
  if (lParam) *reinterpret_cast<DWORD*>(lParam) = b;
  // Past 65535 the packed answer cannot hold the offsets; Win32 gives -1.
  if (a > 0xFFFF || b > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(a, b));
}

bool ParentIsCombo(HWND hwnd) {
  char name[16] = {};
  HWND parent = GetParent(hwnd);
  return parent && GetClassNameA(parent, name, sizeof name) && strcasecmp(name, "ComboBox") == 0;
}

// Selecting with the mouse. nullopt: not a mouse message of the field.
std::optional<LRESULT> MouseMessage(HWND hwnd, EditState& s, UINT msg, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(hwnd, lParam, msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (s.selecting && GetCapture() == hwnd) {
        s.buf.MoveCaret(HitTest(hwnd, s, PointOf(lParam)), true);
        Refresh(hwnd, s);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s.selecting) {
        s.selecting = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      s.selecting = false;
      return 0;
    default:
      return std::nullopt;
  }
}

// The EM_ messages and the clipboard and undo commands: the field's text as a program edits it.
// nullopt: not one of them.
std::optional<LRESULT> EditingMessage(HWND hwnd, EditState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case EM_GETSEL:
      return OnGetSel(s, wParam, lParam);
    case EM_SETSEL:
      return OnSetSel(hwnd, s, wParam, lParam);
    case EM_REPLACESEL:
      if (wParam) RememberUndo(s);
      Insert(hwnd, s, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return 0;
    case EM_SCROLLCARET:
      Refresh(hwnd, s);
      return TRUE;
    case EM_LIMITTEXT:
      s.limit = wParam ? static_cast<std::size_t>(wParam) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(s.limit);
    case EM_GETMODIFY:
      return s.modified;
    case EM_SETMODIFY:
      s.modified = wParam != 0;
      return 0;
    case EM_CANUNDO:
      return s.canUndo;
    case EM_EMPTYUNDOBUFFER:
      s.canUndo = false;
      return 0;
    case EM_UNDO:
    case WM_UNDO:
      Undo(hwnd, s);
      return TRUE;
    case EM_SETREADONLY: {
      DWORD style = StyleOf(hwnd);
      style = wParam ? (style | ES_READONLY) : (style & ~ES_READONLY);
      SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(s.lines.size());
    case EM_LINEINDEX: {
      long line = static_cast<int>(wParam);
      if (line < 0) line = static_cast<long>(LineOf(s, s.buf.caret()));
      if (line >= static_cast<long>(s.lines.size())) return -1;
      return static_cast<LRESULT>(s.lines[static_cast<std::size_t>(line)].start);
    }
    case EM_LINELENGTH: {
      const EditLine& l =
          s.lines[LineOf(s, static_cast<std::size_t>(std::max<LONG_PTR>(0, static_cast<int>(wParam))))];
      return static_cast<LRESULT>(l.end - l.start);
    }
    case WM_CUT:
      Cut(hwnd, s);
      return 0;
    case WM_COPY:
      Copy(s);
      return 0;
    case WM_PASTE:
      Paste(hwnd, s);
      return 0;
    case WM_CLEAR:
      if (!ReadOnly(hwnd) && s.buf.hasSelection()) {
        RememberUndo(s);
        s.buf.ReplaceSelection("");
        Changed(hwnd, s);
      }
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  EditState* s = EditStates().Get(hwnd);
  // A fresh state at WM_NCCREATE, even if a handle value comes round again.
  if (!s || msg == WM_NCCREATE) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    s = EditStates().Create(hwnd);
    auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) s->buf.SetText(cs->lpszName);
    s->inCombo = ParentIsCombo(hwnd);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  switch (msg) {
    case WM_CREATE:
      Relayout(hwnd, *s);
      return 0;
    case WM_NCDESTROY:
      EditStates().Erase(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (Multi(hwnd) ? DLGC_WANTALLKEYS : 0);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      s->widths.clear();
      Relayout(hwnd, *s);
      ScrollToCaret(hwnd, *s);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FontOr(s->font));
    case WM_SIZE:
    case WM_STYLECHANGED:
      Relayout(hwnd, *s);
      ScrollToCaret(hwnd, *s);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      s->buf.SetText(Transform(hwnd, SanitizeUtf8(text ? text : "")));
      s->canUndo = false;
      s->scrollX = 0;
      s->topLine = 0;
      Changed(hwnd, *s);
      if ((s = EditStates().Get(hwnd))) s->modified = false;
      return TRUE;
    }
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      const std::string& t = s->buf.text();
      std::size_t n = std::min<std::size_t>(t.size(), wParam - 1);
      t.copy(reinterpret_cast<char*>(lParam), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(s->buf.text().size());
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintEdit(hwnd, *s);
      return 0;
    case WM_TIMER:
      if (wParam != kCaretTimer) return 0;
      s->caretOn = !s->caretOn && s->focused;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
      s->focused = true;
      ShowCaretNow(hwnd, *s);
      InvalidateRect(hwnd, nullptr, FALSE);
      platform::user::NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      s->caretOn = false;
      KillTimer(hwnd, kCaretTimer);
      InvalidateRect(hwnd, nullptr, FALSE);
      platform::user::NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_CHAR:
      OnChar(hwnd, *s, wParam);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (s->inCombo && ForwardToCombo(hwnd, msg, wParam)) return 0;
      if (msg == WM_SYSKEYDOWN) return DefWindowProcA(hwnd, msg, wParam, lParam);
      OnKeyDown(hwnd, *s, wParam);
      return 0;
    default:
      if (const std::optional<LRESULT> r = MouseMessage(hwnd, *s, msg, lParam)) return *r;
      if (const std::optional<LRESULT> r = EditingMessage(hwnd, *s, msg, wParam, lParam)) return *r;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::controls
