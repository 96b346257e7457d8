// The patterns drawn in this run, newest last, each kept as its code with
// the effect picture that went with it, and the one the window shows now.
//
// What an entry brings back:
//   - the canvas: the pattern of its code, in its line and background colours;
//   - the effect picture as it was last shown with that pattern, credit lines
//     aside: nothing tiled yet (the bare Picture1), or the tiles of a pattern
//     (or of the empty tile buffer). A pattern drawn by 画图1 keeps the effect
//     picture that was there when it was drawn, an earlier pattern's; a tick
//     or a later 效果图 makes it the tiles of the pattern itself.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "patterns/pattern_code.h"

namespace app {

struct EffectShown {
  bool tiled = false;
  // The pattern tiled; nothing for the tile buffer before any pattern.
  std::optional<patterns::PatternCode> tile;
};

struct HistoryEntry {
  patterns::PatternCode code;
  EffectShown effect;
};

class PatternHistory {
 public:
  static constexpr std::size_t kLimit = 500;

  explicit PatternHistory(std::size_t limit = kLimit) : limit_(limit > 0 ? limit : 1) {}

  // A new pattern goes to the end and is the one shown, wherever the
  // history was stepped to; past the limit the oldest is forgotten.
  void Add(const patterns::PatternCode& code, const EffectShown& effect);
  // The effect picture now shown with the current pattern.
  void SetCurrentEffect(const EffectShown& effect);

  bool CanGoBack() const { return current_ > 0; }
  bool CanGoForward() const { return current_ + 1 < entries_.size(); }
  // Moves one step and returns the entry stepped to; nothing where there is
  // no step to take.
  const HistoryEntry* Back();
  const HistoryEntry* Forward();

  const HistoryEntry* Current() const { return entries_.empty() ? nullptr : &entries_[current_]; }
  std::size_t Size() const { return entries_.size(); }
  std::size_t Position() const { return current_; }
  const HistoryEntry& At(std::size_t i) const { return entries_.at(i); }

 private:
  std::deque<HistoryEntry> entries_;
  std::size_t current_ = 0;
  std::size_t limit_;
};

}  // namespace app
