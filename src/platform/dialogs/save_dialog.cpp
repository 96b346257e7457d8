// GetSaveFileNameA: a folder drop-down with an up button, a list of the
// folder's folders and matching files under a name/size/date header, the
// file name field, the type drop-down, and 保存 / 取消.
//
// Sections: layout · the dialog (building, showing a folder, the list,
// confirming a name) · the entry point.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/dialogs/common_error.h"
#include "platform/dialogs/dialog_window.h"
#include "platform/dialogs/file_paths.h"

namespace platform::dialogs {
namespace {

// --- Layout, in dialog pixels.

constexpr int kWidth = 500, kHeight = 306, kReadOnlyHeight = 26;
constexpr int kNameColumn = 250, kSizeColumn = 90, kDateColumn = 144;

std::string SizeText(const FolderEntry& e) {
  if (e.folder) return "文件夹";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llu KB", static_cast<unsigned long long>((e.size + 1023) / 1024));
  return buf;
}

std::string DateText(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y/%m/%d %H:%M", &tm);
  return buf;
}

// --- The dialog.

class SaveDialog : public DialogWindow {
 public:
  explicit SaveDialog(const OPENFILENAMEA& ofn) : ofn_(ofn) {
    filters_ = ParseFilter(ofn.lpstrFilter);
    if (filters_.empty()) filters_.push_back({"所有文件(*.*)", "*.*"});
    filterIndex_ = ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= filters_.size() ? ofn.nFilterIndex - 1 : 0;
    std::string initial(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
    folder_ = WorkingFolder();
    const std::size_t slash = initial.find_last_of('/');
    initialName_ = slash == std::string::npos ? initial : initial.substr(slash + 1);
    if (slash != std::string::npos) {
      std::string dir = Resolve(folder_, initial.substr(0, slash + 1));
      if (IsFolder(dir)) folder_ = dir;
    }
  }

  bool readOnlyBox() const { return !(ofn_.Flags & OFN_HIDEREADONLY); }
  int height() const { return kHeight + (readOnlyBox() ? kReadOnlyHeight : 0); }
  const std::string& result() const { return result_; }
  bool readOnlyChecked() const { return readOnly_; }
  bool tooLong() const { return tooLong_; }
  DWORD filterIndex() const { return static_cast<DWORD>(filterIndex_ + 1); }

 protected:
  void Build() override {
    Add("Static", "保存在(&I):", 0, 8, 12, 72, 14, kStaticId);
    Add("ComboBox", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 82, 8, 300, 240, cmb2);
    Add("Button", "向上", WS_TABSTOP, 388, 7, 48, 23, psh1);
    HWND header = Add(WC_HEADERA, "", HDS_HORZ, 8, 38, kWidth - 16, 20, hdr1);
    const char* columns[] = {"名称", "大小", "修改日期"};
    const int widths[] = {kNameColumn, kSizeColumn, kDateColumn};
    for (int i = 0; i < 3; ++i) {
      HDITEMA item{};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.pszText = const_cast<char*>(columns[i]);
      item.cxy = widths[i];
      item.fmt = HDF_LEFT | HDF_STRING;
      SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    HWND list =
        Add("ListBox", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT, 8,
            58, kWidth - 16, 174, lst1, WS_EX_CLIENTEDGE);
    SetColumnStops(list);
    Add("Static", "文件名(&N):", 0, 8, 248, 84, 14, stc3);
    HWND edit = Add("Edit", initialName_.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, 96, 244, 300, 22, edt1,
                    WS_EX_CLIENTEDGE);
    Add("Static", "保存类型(&T):", 0, 8, 276, 84, 14, stc2);
    HWND types = Add("ComboBox", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 96, 272, 300, 160, cmb1);
    for (const auto& f : filters_)
      SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.description.c_str()));
    SendMessageA(types, CB_SETCURSEL, filterIndex_, 0);
    Add("Button", "保存(&S)", WS_TABSTOP | BS_DEFPUSHBUTTON, 408, 244, 84, 23, IDOK);
    Add("Button", "取消", WS_TABSTOP, 408, 272, 84, 23, IDCANCEL);
    if (readOnlyBox()) {
      HWND box = Add("Button", "以只读方式打开(&R)", WS_TABSTOP | BS_AUTOCHECKBOX, 96, 300, 200, 18, chx1);
      SendMessageA(box, BM_SETCHECK, (ofn_.Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ShowFolder(folder_, false);
    SendMessageA(edit, EM_SETSEL, 0, -1);
  }

  HWND InitialFocus() override { return Item(edt1); }

  void OnCommand(int id, int code, HWND) override {
    switch (id) {
      case IDOK:
        Confirm();
        return;
      case IDCANCEL:
        EndDialog(IDCANCEL);
        return;
      case psh1:
        ShowFolder(ParentOf(folder_), true);
        return;
      case cmb2:
        if (code == CBN_SELCHANGE) {
          int i = static_cast<int>(SendMessageA(Item(cmb2), CB_GETCURSEL, 0, 0));
          std::vector<std::string> chain = Ancestors(folder_);
          if (i >= 0 && static_cast<std::size_t>(i) < chain.size())
            ShowFolder(chain[static_cast<std::size_t>(i)], true);
        }
        return;
      case cmb1:
        if (code == CBN_SELCHANGE) {
          int i = static_cast<int>(SendMessageA(Item(cmb1), CB_GETCURSEL, 0, 0));
          if (i >= 0 && static_cast<std::size_t>(i) < filters_.size()) {
            filterIndex_ = static_cast<std::size_t>(i);
            pattern_.clear();
            ShowFolder(folder_, true);
          }
        }
        return;
      case lst1:
        if (code == LBN_SELCHANGE) {
          if (const FolderEntry* e = SelectedEntry(); e && !e->folder)
            SetWindowTextA(Item(edt1), e->name.c_str());
        } else if (code == LBN_DBLCLK) {
          if (const FolderEntry* e = SelectedEntry()) {
            if (e->folder)
              ShowFolder(Resolve(folder_, e->name), true);
            else
              Confirm();
          }
        }
        return;
      default:
        return;
    }
  }

 private:
  // --- Showing a folder.

  void SetColumnStops(HWND list) {
    TEXTMETRICA tm{};
    {
      win32::OwnedDc dc(CreateCompatibleDC(nullptr));
      win32::SelectedObject sf(dc.get(), font());
      GetTextMetricsA(dc.get(), &tm);
    }
    const int avg = std::max<int>(1, tm.tmAveCharWidth);
    // Stops are in dialog units, a quarter of the average character each.
    int stops[2] = {kNameColumn * 4 / avg, (kNameColumn + kSizeColumn) * 4 / avg};
    SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops));
  }

  const std::string& Patterns() const {
    return pattern_.empty() ? filters_[filterIndex_].patterns : pattern_;
  }

  // Reads path and shows it. A folder that cannot be read is reported and
  // the dialog stays where it was; if the folder it was showing has gone
  // meanwhile, it moves to the nearest folder that still exists.
  bool ShowFolder(const std::string& path, bool report) {
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(path, Patterns(), entries, error)) {
      if (report) Ask(path + "\n无法访问此文件夹。\n\n" + error, MB_OK | MB_ICONERROR);
      if (path != folder_ && IsFolder(folder_)) return false;  // stay where we were
      // The folder shown has gone (or was never there): the nearest one left.
      std::string nearest = NearestFolder(path == folder_ ? path : folder_);
      if (nearest != path) return ShowFolder(nearest, false);
      entries.clear();  // unreadable but there: shown empty
    }
    folder_ = path;
    entries_ = std::move(entries);
    HWND list = Item(lst1);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const auto& e : entries_) {
      std::string row = e.name + "\t" + SizeText(e) + "\t" + DateText(e.modified);
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    HWND where = Item(cmb2);
    SendMessageA(where, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> chain = Ancestors(folder_);
    for (const auto& a : chain) SendMessageA(where, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(a.c_str()));
    SendMessageA(where, CB_SETCURSEL, chain.size() - 1, 0);
    EnableWindow(Item(psh1), folder_ != "/");
    return true;
  }

  const FolderEntry* SelectedEntry() const {
    LRESULT i = SendMessageA(Item(lst1), LB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<std::size_t>(i) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(i)];
  }

  void BackToName() {
    HWND edit = Item(edt1);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
  }

  // --- Confirming a name.

  void Confirm() {
    if (!IsFolder(folder_)) {
      ShowFolder(folder_, true);
      BackToName();
      return;
    }
    // Enter on a folder in the list opens it, as in Explorer.
    if (GetFocus() == Item(lst1)) {
      if (const FolderEntry* e = SelectedEntry(); e && e->folder) {
        ShowFolder(Resolve(folder_, e->name), true);
        return;
      }
    }
    std::string typed = WindowText(Item(edt1));
    if (typed.find_first_not_of(' ') == std::string::npos) return;
    typed = WithDefaultExtension(typed);
    if (std::string problem = NameProblem(typed); !problem.empty()) {
      Ask("“" + typed + "”\n" + problem + "\n请换一个文件名。", MB_OK | MB_ICONWARNING);
      BackToName();
      return;
    }
    if (typed.find_first_of("*?") != std::string::npos && typed.find('/') == std::string::npos) {
      // A wildcard name is a filter for the list, as on Windows.
      pattern_ = typed;
      ShowFolder(folder_, true);
      BackToName();
      return;
    }
    const std::string path = Resolve(folder_, typed);
    if (IsFolder(path)) {
      if (ShowFolder(path, true)) SetWindowTextA(Item(edt1), "");
      BackToName();
      return;
    }
    if (typed.back() == '/' || !IsFolder(ParentOf(path))) {
      Ask(path + "\n路径不存在。\n请检查路径是否正确。", MB_OK | MB_ICONWARNING);
      BackToName();
      return;
    }
    if (Exists(path)) {
      if ((ofn_.Flags & OFN_OVERWRITEPROMPT) &&
          Ask(path + " 已存在。\n要替换它吗？", MB_YESNO | MB_ICONWARNING) != IDYES) {
        BackToName();
        return;
      }
    } else if ((ofn_.Flags & OFN_CREATEPROMPT) &&
               Ask(path + " 文件不存在。\n要创建该文件吗？", MB_YESNO | MB_ICONQUESTION) != IDYES) {
      BackToName();
      return;
    }
    if (path.size() + 1 > ofn_.nMaxFile) {
      char limits[96];
      std::snprintf(limits, sizeof limits, "\n该路径有 %zu 个字节，程序最多只能接收 %u 个字节。", path.size(),
                    static_cast<unsigned>(ofn_.nMaxFile > 0 ? ofn_.nMaxFile - 1 : 0));
      Ask(path + "\n路径太长，无法保存。" + limits, MB_OK | MB_ICONERROR);
      tooLong_ = true;
      EndDialog(IDCANCEL);
      return;
    }
    result_ = path;
    HWND box = Item(chx1);
    readOnly_ = box && SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EndDialog(IDOK);
  }

  // With lpstrDefExt set, a name typed without an extension gets the one of
  // the chosen type ("*.svg" gives ".svg"), or lpstrDefExt where the type has
  // no single extension. Before the prompts, so they ask about the real name.
  std::string WithDefaultExtension(const std::string& typed) const {
    if (!ofn_.lpstrDefExt || typed.back() == '/') return typed;
    const std::size_t nameAt = typed.find_last_of('/') + 1;
    if (typed.find('.', nameAt) != std::string::npos) return typed;
    if (typed.find_first_of("*?") != std::string::npos) return typed;  // a filter, not a name
    if (IsFolder(Resolve(folder_, typed))) return typed;               // opened, not written
    std::string ext = ofn_.lpstrDefExt;
    const std::string& pattern = filters_[filterIndex_].patterns;
    if (pattern.size() > 2 && pattern.compare(0, 2, "*.") == 0 &&
        pattern.find_first_of("*?;", 2) == std::string::npos)
      ext = pattern.substr(2);
    return ext.empty() ? typed : typed + "." + ext;
  }

  OPENFILENAMEA ofn_;
  std::vector<FilterEntry> filters_;
  std::size_t filterIndex_ = 0;
  std::string pattern_;  // a wildcard the user typed, in place of the filter
  std::string folder_;
  std::string initialName_;
  std::vector<FolderEntry> entries_;
  std::string result_;
  bool readOnly_ = false;
  bool tooLong_ = false;
};

}  // namespace
}  // namespace platform::dialogs

// --- The entry point.

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) {
  using namespace platform::dialogs;
  if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEA)) {
    SetCommonError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    SetCommonError(CDERR_INITIALIZATION);
    return FALSE;
  }
  SetCommonError(0);
  SaveDialog dialog(*ofn);
  const char* title = ofn->lpstrTitle && *ofn->lpstrTitle ? ofn->lpstrTitle : "另存为";
  INT_PTR r = dialog.Run(ofn->hwndOwner, title, kWidth, dialog.height());
  if (dialog.tooLong()) {
    SetCommonError(FNERR_BUFFERTOOSMALL);
    return FALSE;
  }
  if (r != IDOK) return FALSE;

  const std::string& path = dialog.result();
  std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  ofn->nFilterIndex = dialog.filterIndex();
  const std::size_t nameAt = path.find_last_of('/') + 1;
  ofn->nFileOffset = static_cast<WORD>(nameAt);
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameAt)
    ofn->nFileExtension = static_cast<WORD>(path.size());
  else if (dot + 1 == path.size())
    ofn->nFileExtension = 0;
  else
    ofn->nFileExtension = static_cast<WORD>(dot + 1);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > path.size() - nameAt)
    std::memcpy(ofn->lpstrFileTitle, path.c_str() + nameAt, path.size() - nameAt + 1);
  if (dialog.readOnlyBox()) {
    if (dialog.readOnlyChecked())
      ofn->Flags |= OFN_READONLY;
    else
      ofn->Flags &= ~static_cast<DWORD>(OFN_READONLY);
  }
  return TRUE;
}
