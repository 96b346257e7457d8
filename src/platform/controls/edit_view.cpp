// Geometry and painting of the edit control: where each byte of the text
// shows, which byte is under a point, scrolling the caret into view.
#include <algorithm>

#include "platform/controls/edit_state.h"

namespace platform::controls {

StateMap<EditState>& EditStates() {
  static StateMap<EditState> m;
  return m;
}

RECT TextArea(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  InflateRect(&rc, -kMargin, 0);
  if (Multi(hwnd)) rc.top += 1;
  return rc;
}

int CharWidth(HWND hwnd, EditState& s, std::uint32_t cp) {
  auto it = s.widths.find(cp);
  if (it != s.widths.end()) return it->second;
  char utf8[5] = {};
  int n = 0;
  if (cp < 0x80)
    utf8[n++] = static_cast<char>(cp);
  else if (cp < 0x800)
    utf8[n++] = static_cast<char>(0xC0 | (cp >> 6)), utf8[n++] = static_cast<char>(0x80 | (cp & 0x3F));
  else if (cp < 0x10000)
    utf8[n++] = static_cast<char>(0xE0 | (cp >> 12)),
    utf8[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
    utf8[n++] = static_cast<char>(0x80 | (cp & 0x3F));
  else
    utf8[n++] = static_cast<char>(0xF0 | (cp >> 18)),
    utf8[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
    utf8[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
    utf8[n++] = static_cast<char>(0x80 | (cp & 0x3F));
  int w;
  {
    win32::WindowDc dc(hwnd, /*client=*/true);
    win32::SelectedObject fg(dc.get(), FontOr(s.font));
    w = cp == '\t' ? 8 * TextWidth(dc.get(), "0", 1) : TextWidth(dc.get(), utf8, static_cast<std::size_t>(n));
  }
  s.widths[cp] = w;
  return w;
}

int WidthOf(HWND hwnd, EditState& s, std::size_t from, std::size_t to) {
  int x = 0;
  const std::string& t = s.buf.text();
  for (std::size_t i = from; i < to;) {
    std::size_t len;
    x += CharWidth(hwnd, s, DecodeAt(t, i, &len));
    i += len;
  }
  return x;
}

void Relayout(HWND hwnd, EditState& s) {
  s.lineHeight = FontLineHeight(hwnd, FontOr(s.font));
  const DWORD style = StyleOf(hwnd);
  RECT area = TextArea(hwnd);
  int wrap =
      (style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL) ? std::max<int>(1, area.right - area.left) : 0;
  s.lines = LayoutLines(s.buf.text(), style & ES_MULTILINE, wrap,
                        [&](std::uint32_t cp) { return CharWidth(hwnd, s, cp); });
}

std::size_t LineOf(const EditState& s, std::size_t offset) {
  // The last line starting at or before offset; a wrapped line's end is
  // also the next line's start, and the caret belongs to the next one.
  auto it = std::upper_bound(s.lines.begin(), s.lines.end(), offset,
                             [](std::size_t o, const EditLine& l) { return o < l.start; });
  return it == s.lines.begin() ? 0 : static_cast<std::size_t>(it - s.lines.begin() - 1);
}

int VisibleLines(HWND hwnd, const EditState& s) {
  RECT a = TextArea(hwnd);
  return std::max(1, static_cast<int>((a.bottom - a.top) / std::max(1, s.lineHeight)));
}

// Client position of the top-left of the character at offset.
POINT PosOf(HWND hwnd, EditState& s, std::size_t offset) {
  RECT a = TextArea(hwnd);
  std::size_t line = LineOf(s, offset);
  const EditLine& l = s.lines[line];
  int x = a.left - s.scrollX + WidthOf(hwnd, s, l.start, std::min(offset, l.end));
  int y;
  if (Multi(hwnd))
    y = a.top + (static_cast<int>(line) - static_cast<int>(s.topLine)) * s.lineHeight;
  else
    y = a.top + std::max(0, static_cast<int>((a.bottom - a.top - s.lineHeight) / 2));
  return POINT{x, y};
}

std::size_t OffsetInLine(HWND hwnd, EditState& s, std::size_t line, int x) {
  const EditLine& l = s.lines[line];
  const std::string& t = s.buf.text();
  int at = 0;
  for (std::size_t i = l.start; i < l.end;) {
    std::size_t len;
    int w = CharWidth(hwnd, s, DecodeAt(t, i, &len));
    if (x < at + w / 2) return i;
    at += w;
    i += len;
  }
  return l.end;
}

std::size_t HitTest(HWND hwnd, EditState& s, POINT p) {
  RECT a = TextArea(hwnd);
  long line = 0;
  if (Multi(hwnd)) {
    line = static_cast<long>(s.topLine) + (p.y - a.top) / std::max(1, s.lineHeight);
    if (p.y < a.top) line = static_cast<long>(s.topLine) - 1;
    line = std::clamp<long>(line, 0, static_cast<long>(s.lines.size()) - 1);
  }
  return OffsetInLine(hwnd, s, static_cast<std::size_t>(line), p.x - a.left + s.scrollX);
}

void ScrollToCaret(HWND hwnd, EditState& s) {
  RECT a = TextArea(hwnd);
  const int width = a.right - a.left;
  std::size_t line = LineOf(s, s.buf.caret());
  if (Multi(hwnd)) {
    int vis = VisibleLines(hwnd, s);
    if (line < s.topLine) s.topLine = line;
    if (line >= s.topLine + static_cast<std::size_t>(vis))
      s.topLine = line - static_cast<std::size_t>(vis) + 1;
  }
  int x = WidthOf(hwnd, s, s.lines[line].start, s.buf.caret());
  if (x < s.scrollX) s.scrollX = std::max(0, x - width / 4);
  if (x > s.scrollX + width - 1) s.scrollX = x - width + 1 + width / 4;
  if (s.scrollX < 0) s.scrollX = 0;
}

namespace {

// Draws text[from, to) starting at x, but only the characters that reach
// into [clipLeft, clipRight): a line of a long text can be far wider than
// the field, and shaping all of it for every keystroke would be wasted.
void DrawRun(HWND hwnd, EditState& s, HDC dc, std::size_t from, std::size_t to, int x, int y, int clipLeft,
             int clipRight) {
  const std::string& t = s.buf.text();
  std::size_t i = from;
  while (i < to) {
    std::size_t len;
    int w = CharWidth(hwnd, s, DecodeAt(t, i, &len));
    if (x + w > clipLeft) break;
    x += w;
    i += len;
  }
  std::size_t end = i;
  for (int xe = x; end < to && xe < clipRight;) {
    std::size_t len;
    xe += CharWidth(hwnd, s, DecodeAt(t, end, &len));
    end += len;
  }
  if (end > i) TextOutA(dc, x, y, t.data() + i, static_cast<int>(end - i));
}

}  // namespace

void PaintEdit(HWND hwnd, EditState& s) {
  win32::PaintDc pg(hwnd);
  HDC dc = pg.get();
  RECT rc;
  GetClientRect(hwnd, &rc);
  const DWORD style = StyleOf(hwnd);
  const bool enabled = IsWindowEnabled(hwnd);
  // Read-only and disabled fields look like the dialog behind them, as in
  // Win32, so they ask for the static colours.
  UINT colorMsg = (!enabled || (style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HFONT font = FontOr(s.font);
  HBRUSH bg = ControlColors(hwnd, dc, colorMsg);
  EditState* live = EditStates().Get(hwnd);  // the parent may have destroyed us while colouring
  if (!live) return;
  FillRect(dc, &rc, bg);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  win32::SelectedObject fg(dc, font);
  RECT area = TextArea(hwnd);
  IntersectClipRect(dc, area.left, rc.top, area.right, rc.bottom);
  const bool showSel = s.buf.hasSelection() && (s.focused || (style & ES_NOHIDESEL));
  const std::size_t a = s.buf.selMin(), b = s.buf.selMax();
  std::size_t first = Multi(hwnd) ? s.topLine : 0;
  std::size_t last = Multi(hwnd) ? std::min(s.lines.size(), first + VisibleLines(hwnd, s) + 1) : 1;
  SetBkMode(dc, TRANSPARENT);
  COLORREF textColor = GetTextColor(dc);
  for (std::size_t li = first; li < last; ++li) {
    const EditLine& l = s.lines[li];
    POINT p = PosOf(hwnd, s, l.start);
    if (!showSel || b <= l.start || a >= l.end) {
      DrawRun(hwnd, s, dc, l.start, l.end, p.x, p.y, area.left, area.right);
      continue;
    }
    std::size_t s0 = std::max(a, l.start), s1 = std::min(b, l.end);
    int x0 = p.x + WidthOf(hwnd, s, l.start, s0), x1 = x0 + WidthOf(hwnd, s, s0, s1);
    DrawRun(hwnd, s, dc, l.start, s0, p.x, p.y, area.left, area.right);
    FillSolid(dc, RECT{x0, p.y, x1, p.y + s.lineHeight}, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawRun(hwnd, s, dc, s0, s1, x0, p.y, area.left, area.right);
    SetTextColor(dc, textColor);
    DrawRun(hwnd, s, dc, s1, l.end, x1, p.y, area.left, area.right);
  }
  if (s.focused && s.caretOn) {
    POINT c = PosOf(hwnd, s, s.buf.caret());
    RECT caret{c.x, c.y, c.x + 1, c.y + s.lineHeight};
    InvertRect(dc, &caret);
  }
}

}  // namespace platform::controls
