// Text model and line layout of the edit control.
#include "platform/controls/edit_buffer.h"

#include <algorithm>

#include "platform/controls/control_util.h"

namespace platform::controls {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::uint32_t DecodeAt(const std::string& s, std::size_t i, std::size_t* len) {
  auto c = static_cast<unsigned char>(s[i]);
  std::size_t n = NextCodePoint(s, i) - i;
  *len = n;
  if (c < 0x80) return c;
  int need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
  if (need == 0 || static_cast<std::size_t>(need) != n) return 0xFFFD;
  std::uint32_t cp = c & (0x3F >> (need - 1));
  for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  return cp;
}

std::size_t EditBuffer::Snap(std::size_t i) const {
  i = std::min(i, text_.size());
  while (i > 0 && i < text_.size() && IsContinuation(text_[i])) --i;
  // Never stop between the CR and LF of a line end.
  if (i > 0 && i < text_.size() && text_[i] == '\n' && text_[i - 1] == '\r') --i;
  return i;
}

void EditBuffer::SetText(const std::string& utf8) {
  text_ = SanitizeUtf8(utf8);
  anchor_ = caret_ = 0;
}

void EditBuffer::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = Snap(anchor);
  caret_ = Snap(caret);
}

void EditBuffer::MoveCaret(std::size_t to, bool extend) {
  caret_ = Snap(to);
  if (!extend) anchor_ = caret_;
}

bool EditBuffer::ReplaceSelection(const std::string& s, std::size_t room) {
  std::size_t n = s.size();
  if (n > room) {
    n = room;
    while (n > 0 && IsContinuation(s[n])) --n;
    if (n > 0 && s[n - 1] == '\r' && n < s.size() && s[n] == '\n') --n;
  }
  if (n == 0 && !hasSelection()) return false;
  std::size_t at = selMin();
  text_.replace(at, selMax() - at, s, 0, n);
  anchor_ = caret_ = at + n;
  return true;
}

bool EditBuffer::DeleteBackward() {
  if (!hasSelection()) {
    if (caret_ == 0) return false;
    anchor_ = Prev(caret_);
  }
  return ReplaceSelection("");
}

bool EditBuffer::DeleteForward() {
  if (!hasSelection()) {
    if (caret_ >= text_.size()) return false;
    anchor_ = Next(caret_);
  }
  return ReplaceSelection("");
}

std::size_t EditBuffer::Next(std::size_t i) const {
  if (i + 1 < text_.size() && text_[i] == '\r' && text_[i + 1] == '\n') return i + 2;
  return NextCodePoint(text_, i);
}

std::size_t EditBuffer::Prev(std::size_t i) const {
  if (i >= 2 && text_[i - 1] == '\n' && text_[i - 2] == '\r') return i - 2;
  return PrevCodePoint(text_, i);
}

std::size_t EditBuffer::WordLeft(std::size_t i) const {
  while (i > 0 && IsSpace(text_[i - 1])) i = Prev(i);
  while (i > 0 && !IsSpace(text_[i - 1])) i = Prev(i);
  return i;
}

std::size_t EditBuffer::WordRight(std::size_t i) const {
  while (i < text_.size() && !IsSpace(text_[i])) i = Next(i);
  while (i < text_.size() && IsSpace(text_[i])) i = Next(i);
  return i;
}

std::pair<std::size_t, std::size_t> EditBuffer::WordAt(std::size_t i) const {
  i = Snap(i);
  if (text_.empty()) return {0, 0};
  if (i == text_.size()) i = Prev(i);
  bool space = IsSpace(text_[i]);
  std::size_t a = i, b = i;
  while (a > 0 && IsSpace(text_[Prev(a)]) == space) a = Prev(a);
  while (b < text_.size() && IsSpace(text_[b]) == space) b = Next(b);
  return {a, b};
}

std::vector<EditLine> LayoutLines(const std::string& text, bool multiline, int wrapWidth,
                                  const CodePointWidth& width) {
  std::vector<EditLine> lines;
  if (!multiline) {
    lines.push_back({0, text.size()});
    return lines;
  }
  std::size_t start = 0, i = 0, lastBreak = std::string::npos;
  int x = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back({start, i});
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
      x = 0;
      lastBreak = std::string::npos;
      continue;
    }
    std::size_t len;
    std::uint32_t cp = DecodeAt(text, i, &len);
    int w = width(cp);
    if (wrapWidth > 0 && x + w > wrapWidth && i > start && c != ' ') {
      // Break after the last space, or here when the word has no room.
      std::size_t cut = lastBreak != std::string::npos ? lastBreak : i;
      lines.push_back({start, cut});
      start = cut;
      x = 0;
      lastBreak = std::string::npos;
      for (std::size_t k = start; k < i;) {
        std::size_t l;
        x += width(DecodeAt(text, k, &l));
        k += l;
      }
      continue;
    }
    x += w;
    i += len;
    if (c == ' ' || c == '\t') lastBreak = i;
  }
  lines.push_back({start, text.size()});
  return lines;
}

}  // namespace platform::controls
