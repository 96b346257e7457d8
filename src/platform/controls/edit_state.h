// State of one edit control and its geometry and painting, shared by the
// edit control's procedure and its view. Private to the controls.
#pragma once

#include <unordered_map>
#include <vector>

#include "platform/controls/control_util.h"
#include "platform/controls/edit_buffer.h"

namespace platform::controls {

inline constexpr UINT_PTR kCaretTimer = 0xC0DE;
inline constexpr int kMargin = 2;  // between the border and the text

struct EditState {
  EditBuffer buf;
  HFONT font = nullptr;
  bool focused = false;
  bool caretOn = false;
  bool selecting = false;  // dragging a selection with capture
  bool modified = false;
  bool inCombo = false;
  std::size_t limit = 0x7FFFFFFE;
  std::string pending;  // lead bytes of a character still arriving
  std::size_t pendingNeed = 0;
  std::string undoText;
  std::size_t undoCaret = 0;
  bool canUndo = false;
  int scrollX = 0;          // pixels hidden at the left
  std::size_t topLine = 0;  // first visible line (multi-line)
  int desiredX = -1;        // column kept while moving up and down
  std::vector<EditLine> lines;
  std::unordered_map<std::uint32_t, int> widths;  // per font, cleared on WM_SETFONT
  int lineHeight = 13;
};

StateMap<EditState>& EditStates();

inline bool Multi(HWND hwnd) { return StyleOf(hwnd) & ES_MULTILINE; }

RECT TextArea(HWND hwnd);
int CharWidth(HWND hwnd, EditState& s, std::uint32_t cp);
int WidthOf(HWND hwnd, EditState& s, std::size_t from, std::size_t to);
// Lays the text out again and measures the font; after text, font, size
// or style changes.
void Relayout(HWND hwnd, EditState& s);
std::size_t LineOf(const EditState& s, std::size_t offset);
int VisibleLines(HWND hwnd, const EditState& s);
POINT PosOf(HWND hwnd, EditState& s, std::size_t offset);
std::size_t OffsetInLine(HWND hwnd, EditState& s, std::size_t line, int x);
std::size_t HitTest(HWND hwnd, EditState& s, POINT p);
void ScrollToCaret(HWND hwnd, EditState& s);
void PaintEdit(HWND hwnd, EditState& s);

}  // namespace platform::controls
