// The text model of the edit control: UTF-8 text with a selection (anchor
// and caret as byte offsets on code-point boundaries), editing steps, and
// the split of the text into display lines. No windows here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::controls {

class EditBuffer {
 public:
  const std::string& text() const { return text_; }
  std::size_t caret() const { return caret_; }
  std::size_t anchor() const { return anchor_; }
  std::size_t selMin() const { return std::min(anchor_, caret_); }
  std::size_t selMax() const { return std::max(anchor_, caret_); }
  bool hasSelection() const { return anchor_ != caret_; }
  std::string selectedText() const { return text_.substr(selMin(), selMax() - selMin()); }

  // Replaces the whole text (made valid UTF-8) and puts the caret at 0.
  void SetText(const std::string& utf8);
  // Both ends are clamped to the text and moved back onto code points.
  void Select(std::size_t anchor, std::size_t caret);
  // Moves the caret; with extend the anchor stays, else it follows.
  void MoveCaret(std::size_t to, bool extend);
  // Replaces the selection with s (already valid UTF-8); the caret ends
  // after it. At most `room` bytes of s go in, cut at a code point.
  // Returns false when nothing changed.
  bool ReplaceSelection(const std::string& s, std::size_t room = SIZE_MAX);
  // Backspace and Delete: the selection, else one code point (a CR LF
  // pair counts as one).
  bool DeleteBackward();
  bool DeleteForward();

  std::size_t Next(std::size_t i) const;
  std::size_t Prev(std::size_t i) const;
  std::size_t WordLeft(std::size_t i) const;
  std::size_t WordRight(std::size_t i) const;
  // The word (or run of spaces) around i, for double-clicks.
  std::pair<std::size_t, std::size_t> WordAt(std::size_t i) const;

 private:
  std::size_t Snap(std::size_t i) const;
  std::string text_;
  std::size_t anchor_ = 0, caret_ = 0;
};

struct EditLine {
  std::size_t start;  // first byte
  std::size_t end;    // one past the last byte shown (before any CR LF)
};

// Width in pixels of one code point, decoded from UTF-8.
using CodePointWidth = std::function<int(std::uint32_t)>;

// Splits text into display lines. Single-line shows everything on one
// line. Multi-line breaks at CR LF (a lone LF too) and, with wrapWidth > 0,
// wraps at the last space that fits, or inside a word that alone is
// wider than the line.
std::vector<EditLine> LayoutLines(const std::string& text, bool multiline, int wrapWidth,
                                  const CodePointWidth& width);

// Decodes the code point at s[i] (U+FFFD for a bad byte) and its length.
std::uint32_t DecodeAt(const std::string& s, std::size_t i, std::size_t* len);

}  // namespace platform::controls
