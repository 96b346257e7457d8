// Sections:
//   1. Prefix marks
//   2. Character classes and break opportunities
//   3. Measuring, line breaking and ellipses
//   4. The whole layout: paragraphs, visible lines, alignment, result
#include "platform/gdi/text_layout.h"

#include <algorithm>

namespace platform::gdi {

// ---- 1. Prefix marks -------------------------------------------------------

std::vector<Cell> StripPrefixes(std::u32string_view text, bool hideUnderlines) {
  std::vector<Cell> cells;
  cells.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'&') {
      cells.push_back({text[i], false});
      continue;
    }
    if (i + 1 >= text.size()) break;  // a lone "&" at the end marks nothing
    ++i;
    if (text[i] == U'&') {
      cells.push_back({U'&', false});
    } else {
      cells.push_back({text[i], !hideUnderlines});
    }
  }
  return cells;
}

std::vector<Cell> PlainCells(std::u32string_view text) {
  std::vector<Cell> cells;
  cells.reserve(text.size());
  for (char32_t c : text) cells.push_back({c, false});
  return cells;
}

// ---- 2. Character classes and break opportunities --------------------------

bool IsCjkChar(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

namespace {

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t' || c == 0x3000; }

// Chinese line-breaking etiquette: closing marks never start a line and
// opening marks never end one.
bool NoBreakBefore(char32_t c) {
  static constexpr std::u32string_view kClosing = U"，。、；：？！）》」』】〕〉”’…·～%,.;:!?)]}";
  return kClosing.find(c) != std::u32string_view::npos;
}
bool NoBreakAfter(char32_t c) {
  static constexpr std::u32string_view kOpening = U"（《「『【〔〈“‘([{";
  return kOpening.find(c) != std::u32string_view::npos;
}

}  // namespace

bool CanBreakAfter(const std::vector<Cell>& cells, std::size_t i, bool cjkBreaks) {
  if (i + 1 >= cells.size()) return true;
  const char32_t a = cells[i].cp;
  const char32_t b = cells[i + 1].cp;
  if (IsSpace(a)) return !IsSpace(b);  // spaces stay on the line they end
  if (IsSpace(b)) return false;
  if (!cjkBreaks || NoBreakBefore(b) || NoBreakAfter(a)) return false;
  return IsCjkChar(a) || IsCjkChar(b);
}

// ---- 3. Measuring, line breaking and ellipses ------------------------------

namespace {

int CellAdvance(char32_t c, int x, const AdvanceFn& advance, int tabWidth) {
  if (c == U'\t' && tabWidth > 0) return tabWidth - x % tabWidth;
  return advance(c);
}

// trimmed[k]: width of the first k cells without their trailing white
// space, which may hang past the edge. One pass, so cutting a very long
// line stays linear.
std::vector<int> TrimmedPrefixWidths(const std::vector<Cell>& cells, const AdvanceFn& advance, int tabWidth) {
  std::vector<int> trimmed(cells.size() + 1, 0);
  int x = 0;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    x += CellAdvance(cells[i].cp, x, advance, tabWidth);
    trimmed[i + 1] = IsSpace(cells[i].cp) ? trimmed[i] : x;
  }
  return trimmed;
}

void TrimTrailingSpace(std::vector<Cell>* cells) {
  while (!cells->empty() && IsSpace(cells->back().cp)) cells->pop_back();
}

std::vector<Cell> Dots(int count) {
  return std::vector<Cell>(static_cast<std::size_t>(count), Cell{U'.', false});
}

}  // namespace

int MeasureCells(const std::vector<Cell>& cells, const AdvanceFn& advance, int tabWidth) {
  int x = 0;
  for (const Cell& c : cells) x += CellAdvance(c.cp, x, advance, tabWidth);
  return x;
}

std::vector<std::vector<Cell>> BreakParagraph(const std::vector<Cell>& para, int width,
                                              const AdvanceFn& advance, int tabWidth, BreakRules rules) {
  std::vector<std::vector<Cell>> lines;
  std::size_t start = 0;
  const std::size_t n = para.size();
  if (n == 0) lines.emplace_back();
  while (start < n) {
    int x = 0;
    std::size_t lastBreak = start;  // end (exclusive) of the last fitting break
    std::size_t i = start;
    for (; i < n; ++i) {
      const int next = x + CellAdvance(para[i].cp, x, advance, tabWidth);
      if (!IsSpace(para[i].cp) && next > width && i > start) break;
      x = next;
      if (CanBreakAfter(para, i, rules.cjkBreaks)) lastBreak = i + 1;
    }
    std::size_t end = i;
    if (i < n && lastBreak > start) {
      end = lastBreak;
    } else if (i < n && !rules.splitLongWords) {
      // The first word does not fit: it keeps the line to itself, whole.
      while (end < n && !CanBreakAfter(para, end - 1, rules.cjkBreaks)) ++end;
    }
    std::vector<Cell> line(para.begin() + static_cast<std::ptrdiff_t>(start),
                           para.begin() + static_cast<std::ptrdiff_t>(end));
    TrimTrailingSpace(&line);
    lines.push_back(std::move(line));
    start = end;
  }
  return lines;
}

std::vector<Cell> EndEllipsis(const std::vector<Cell>& line, int width, const AdvanceFn& advance, bool force,
                              bool atWord, int tabWidth) {
  if (!force && MeasureCells(line, advance, tabWidth) <= width) return line;
  const int dotWidth = advance(U'.');
  const std::vector<int> trimmed = TrimmedPrefixWidths(line, advance, tabWidth);
  std::size_t keep = line.size();
  while (keep > 0 && trimmed[keep] + 3 * dotWidth > width) --keep;
  if (atWord) {
    // Prefer to cut at the last word boundary that still fits.
    std::size_t cut = keep;
    while (cut > 0 && cut < line.size() && !CanBreakAfter(line, cut - 1)) --cut;
    if (cut > 0) keep = cut;
  }
  std::vector<Cell> out(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(keep));
  TrimTrailingSpace(&out);
  // A rectangle narrower than "..." gets as many dots as fit.
  int dots = 3;
  while (dots > 0 && trimmed[out.size()] + dots * dotWidth > width) --dots;
  for (const Cell& d : Dots(dots)) out.push_back(d);
  return out;
}

std::vector<Cell> PathEllipsis(const std::vector<Cell>& line, int width, const AdvanceFn& advance,
                               int tabWidth) {
  if (MeasureCells(line, advance, tabWidth) <= width) return line;
  std::size_t sep = line.size();
  for (std::size_t i = line.size(); i > 0; --i) {
    if (line[i - 1].cp == U'\\' || line[i - 1].cp == U'/') {
      sep = i - 1;
      break;
    }
  }
  if (sep == line.size()) return EndEllipsis(line, width, advance, false, false, tabWidth);
  const std::vector<Cell> tail(line.begin() + static_cast<std::ptrdiff_t>(sep), line.end());
  const int tailWidth = MeasureCells(tail, advance, tabWidth) + 3 * advance(U'.');
  if (tailWidth > width) {
    std::vector<Cell> dotted = Dots(3);
    dotted.insert(dotted.end(), tail.begin(), tail.end());
    return EndEllipsis(dotted, width, advance, false, false, tabWidth);
  }
  std::vector<int> headWidths(sep + 1, 0);
  int x = 0;
  for (std::size_t i = 0; i < sep; ++i) {
    x += CellAdvance(line[i].cp, x, advance, tabWidth);
    headWidths[i + 1] = x;
  }
  std::size_t keep = sep;
  while (keep > 0 && headWidths[keep] + tailWidth > width) --keep;
  std::vector<Cell> out(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(keep));
  for (const Cell& d : Dots(3)) out.push_back(d);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

// ---- 4. The whole layout ---------------------------------------------------

namespace {

std::vector<std::vector<Cell>> SplitParagraphs(const std::vector<Cell>& cells, bool singleLine) {
  std::vector<std::vector<Cell>> paras(1);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const char32_t c = cells[i].cp;
    if (c != U'\r' && c != U'\n') {
      paras.back().push_back(cells[i]);
      continue;
    }
    // One line: line ends are not drawn and break nothing.
    if (singleLine) continue;
    if (c == U'\r' && i + 1 < cells.size() && cells[i + 1].cp == U'\n') ++i;
    paras.emplace_back();
  }
  return paras;
}

LaidLine Place(const std::vector<Cell>& cells, const AdvanceFn& advance, int tabWidth) {
  LaidLine line;
  int x = 0;
  for (const Cell& c : cells) {
    const int adv = CellAdvance(c.cp, x, advance, tabWidth);
    line.glyphs.push_back({c.cp, x, adv, c.underline});
    x += adv;
  }
  line.width = x;
  return line;
}

}  // namespace

TextLayout LayoutText(std::u32string_view text, const LayoutParams& p, const AdvanceFn& advance) {
  TextLayout layout;
  if (text.empty()) return layout;
  const UINT f = p.format;
  const bool singleLine = (f & DT_SINGLELINE) != 0;
  const int tabWidth = (f & DT_EXPANDTABS) ? p.tabWidth : 0;
  const std::vector<Cell> cells =
      (f & DT_NOPREFIX) ? PlainCells(text) : StripPrefixes(text, (f & DT_HIDEPREFIX) != 0);

  std::vector<std::vector<Cell>> lines;
  for (std::vector<Cell>& para : SplitParagraphs(cells, singleLine)) {
    if ((f & DT_WORDBREAK) && !singleLine) {
      const BreakRules rules{(f & DT_EDITCONTROL) != 0, (f & DT_NOFULLWIDTHCHARBREAK) == 0};
      for (auto& l : BreakParagraph(para, p.width, advance, tabWidth, rules)) lines.push_back(std::move(l));
    } else {
      lines.push_back(std::move(para));
    }
  }

  const bool endEllipsis = (f & DT_END_ELLIPSIS) != 0;
  const bool wordEllipsis = (f & DT_WORD_ELLIPSIS) != 0;
  // Lines below the rectangle would be clipped away; the last one that is
  // seen carries the "..." that says more text follows.
  if ((endEllipsis || wordEllipsis) && !singleLine && !(f & DT_CALCRECT) && p.lineHeight > 0) {
    const std::size_t visible = static_cast<std::size_t>(std::max(1, p.height / p.lineHeight));
    if (lines.size() > visible) {
      lines.resize(visible);
      lines.back() = EndEllipsis(lines.back(), p.width, advance, true, wordEllipsis, tabWidth);
    }
  }
  for (auto& l : lines) {
    if (f & DT_PATH_ELLIPSIS) {
      l = PathEllipsis(l, p.width, advance, tabWidth);
    } else if (endEllipsis || wordEllipsis) {
      l = EndEllipsis(l, p.width, advance, false, wordEllipsis, tabWidth);
    }
  }

  int y = 0;
  if (singleLine && (f & DT_VCENTER)) {
    y = (p.height - p.lineHeight) / 2;
  } else if (singleLine && (f & DT_BOTTOM)) {
    y = p.height - p.lineHeight;
  }
  for (const auto& cellsOfLine : lines) {
    LaidLine line = Place(cellsOfLine, advance, tabWidth);
    if (f & DT_CENTER) {
      line.x = (p.width - line.width) / 2;
    } else if (f & DT_RIGHT) {
      line.x = p.width - line.width;
    }
    line.y = y;
    y += p.lineHeight;
    layout.width = std::max(layout.width, line.width);
    layout.lines.push_back(std::move(line));
  }
  layout.height = static_cast<int>(layout.lines.size()) * p.lineHeight;
  // Win32: with DT_VCENTER or DT_BOTTOM the result is the offset from the
  // rectangle's top to the bottom of the text, not the text height.
  layout.result = layout.height;
  if (singleLine && (f & (DT_VCENTER | DT_BOTTOM))) layout.result = layout.lines.front().y + layout.height;
  return layout;
}

}  // namespace platform::gdi
