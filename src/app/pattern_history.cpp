#include "app/pattern_history.h"

namespace app {

void PatternHistory::Add(const patterns::PatternCode& code, const EffectShown& effect) {
  entries_.push_back(HistoryEntry{code, effect});
  while (entries_.size() > limit_) entries_.pop_front();
  current_ = entries_.size() - 1;
}

void PatternHistory::SetCurrentEffect(const EffectShown& effect) {
  if (!entries_.empty()) entries_[current_].effect = effect;
}

const HistoryEntry* PatternHistory::Back() {
  if (!CanGoBack()) return nullptr;
  return &entries_[--current_];
}

const HistoryEntry* PatternHistory::Forward() {
  if (!CanGoForward()) return nullptr;
  return &entries_[++current_];
}

}  // namespace app
