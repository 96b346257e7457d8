#include "runtime/common_dialog.h"

#include <algorithm>
#include <vector>

namespace runtime {
namespace {

class PlatformDialogs final : public DialogProvider {
 public:
  std::optional<COLORREF> ChooseColour(const ColorDialogRequest& r) override {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = r.owner;
    cc.rgbResult = r.initial;
    cc.lpCustColors = r.custom_colours;
    cc.Flags = r.flags;
    if (!ChooseColorA(&cc)) return std::nullopt;
    return cc.rgbResult;
  }
  std::optional<SaveDialogAnswer> SaveFileName(const SaveDialogRequest& r) override {
    // Room for any path the system can open; the dialog refuses longer ones
    // rather than cutting them short.
    std::vector<char> file(4096, '\0');
    r.file_name.copy(file.data(), std::min(r.file_name.size(), file.size() - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = r.owner;
    ofn.lpstrFilter = r.filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(r.filter_index > 0 ? r.filter_index : 1);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = r.title.empty() ? nullptr : r.title.c_str();
    ofn.lpstrDefExt = r.default_ext.empty() ? nullptr : r.default_ext.c_str();
    ofn.Flags = r.flags;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
    return SaveDialogAnswer{std::string(file.data()), static_cast<int>(ofn.nFilterIndex)};
  }
};

}  // namespace

DialogProvider& SystemDialogs() {
  static PlatformDialogs dialogs;
  return dialogs;
}

std::string DialogFilter(std::string_view filter) {
  std::string out;
  while (!filter.empty()) {
    const auto bar = filter.find('|');
    if (bar == std::string_view::npos) break;
    const std::string_view desc = filter.substr(0, bar);
    filter.remove_prefix(bar + 1);
    const auto next = filter.find('|');
    const std::string_view pattern = filter.substr(0, next);
    filter.remove_prefix(next == std::string_view::npos ? filter.size() : next + 1);
    out.append(desc).push_back('\0');
    out.append(pattern).push_back('\0');
  }
  out.push_back('\0');
  return out;
}

bool CommonDialog::ShowColor() {
  ColorDialogRequest req{owner_, flags_ & kColorFlagMask, colour_, custom_};
  const std::optional<COLORREF> chosen = provider_->ChooseColour(req);
  if (!chosen) return false;
  colour_ = *chosen & 0x00FFFFFFu;
  return true;
}

bool CommonDialog::ShowSave() {
  SaveDialogRequest req{
      owner_, flags_ & kSaveFlagMask, title_, DialogFilter(filter_), filter_index_, file_name_, default_ext_};
  std::optional<SaveDialogAnswer> answer = provider_->SaveFileName(req);
  if (!answer || answer->path.empty()) return false;
  file_name_ = std::move(answer->path);
  filter_index_ = answer->filter_index;
  return true;
}

}  // namespace runtime
