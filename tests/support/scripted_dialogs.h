// A dialog provider that answers from a script and records what it was asked.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "runtime/common_dialog.h"

namespace hwf::test {

class ScriptedDialogs final : public runtime::DialogProvider {
 public:
  // An empty script answers "cancelled".
  std::deque<std::optional<COLORREF>> colours;
  std::deque<std::optional<std::string>> paths;
  // The type each confirmed save leaves chosen; when empty, the one it
  // opened with.
  std::deque<int> filterIndices;
  std::vector<runtime::ColorDialogRequest> colourRequests;
  std::vector<runtime::SaveDialogRequest> saveRequests;

  std::optional<COLORREF> ChooseColour(const runtime::ColorDialogRequest& r) override {
    colourRequests.push_back(r);
    if (colours.empty()) return std::nullopt;
    auto v = colours.front();
    colours.pop_front();
    return v;
  }
  std::optional<runtime::SaveDialogAnswer> SaveFileName(const runtime::SaveDialogRequest& r) override {
    saveRequests.push_back(r);
    if (paths.empty()) return std::nullopt;
    auto v = paths.front();
    paths.pop_front();
    if (!v) return std::nullopt;
    int index = r.filter_index;
    if (!filterIndices.empty()) {
      index = filterIndices.front();
      filterIndices.pop_front();
    }
    return runtime::SaveDialogAnswer{*v, index};
  }
};

}  // namespace hwf::test
