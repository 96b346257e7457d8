// Laying out DrawText's text: prefix marks, line ends, word breaking,
// ellipses, alignment and the height DrawText returns.
//
// Everything here is pure: glyph widths come from a measuring callback, so
// the rules are tested without fonts or device contexts.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/base.h"
#include "platform/win32/gdi_text.h"

namespace platform::gdi {

// Advance in pixels of one character.
using AdvanceFn = std::function<int(char32_t)>;

struct Cell {
  char32_t cp;
  bool underline = false;  // marked by a prefix "&"
};

// "&x" underlines x and drops the "&"; "&&" gives one "&"; a lone "&" at
// the end is dropped. hideUnderlines keeps the stripping but not the marks
// (DT_HIDEPREFIX).
std::vector<Cell> StripPrefixes(std::u32string_view text, bool hideUnderlines);

// Plain cells without prefix processing (DT_NOPREFIX).
std::vector<Cell> PlainCells(std::u32string_view text);

bool IsCjkChar(char32_t cp);

// True when a line may end after cells[i] (and before cells[i + 1]): after
// white space, and (with cjkBreaks) between CJK characters, except before
// closing and after opening punctuation.
bool CanBreakAfter(const std::vector<Cell>& cells, std::size_t i, bool cjkBreaks = true);

struct BreakRules {
  bool splitLongWords = false;  // DT_EDITCONTROL
  bool cjkBreaks = true;        // cleared by DT_NOFULLWIDTHCHARBREAK
};

struct LayoutParams {
  UINT format = 0;
  int width = 0;  // of the formatting rectangle
  int height = 0;
  int lineHeight = 0;  // the text cell height (plus external leading if asked)
  int tabWidth = 0;    // pixels between tab stops (DT_EXPANDTABS)
};

struct PlacedGlyph {
  char32_t cp;
  int x;  // pen position relative to the line's left edge
  int advance;
  bool underline;
};

struct LaidLine {
  std::vector<PlacedGlyph> glyphs;
  int width = 0;
  int x = 0;  // left edge relative to the rectangle's left
  int y = 0;  // top relative to the rectangle's top
};

struct TextLayout {
  std::vector<LaidLine> lines;
  int width = 0;   // of the widest line
  int height = 0;  // of all lines
  int result = 0;  // what DrawText returns
};

// Cuts a too-wide line to fit width with "..." at the end (or, with force,
// even when it fits: the line stands for more text that was cut away).
std::vector<Cell> EndEllipsis(const std::vector<Cell>& line, int width, const AdvanceFn& advance, bool force,
                              bool atWord, int tabWidth = 0);
// Keeps the last path component and cuts the middle: "C:\...\file.txt".
std::vector<Cell> PathEllipsis(const std::vector<Cell>& line, int width, const AdvanceFn& advance,
                               int tabWidth = 0);

// Width of a run of cells starting at a tab stop (tabWidth 0: tabs are
// ordinary characters).
int MeasureCells(const std::vector<Cell>& cells, const AdvanceFn& advance, int tabWidth);

// Breaks one paragraph (no line ends inside) into lines no wider than
// width where possible. As in Win32, a word wider than the line stays whole
// on a line of its own and overflows, unless rules.splitLongWords (edit
// controls) splits it between characters. Trailing white space of each line
// is dropped.
std::vector<std::vector<Cell>> BreakParagraph(const std::vector<Cell>& para, int width,
                                              const AdvanceFn& advance, int tabWidth, BreakRules rules = {});

TextLayout LayoutText(std::u32string_view text, const LayoutParams& params, const AdvanceFn& advance);

}  // namespace platform::gdi
