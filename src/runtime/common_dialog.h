// The common-dialog component of a form: properties that live for the run and
// two modal dialogs over them.
//
//   ShowColor: opens the colour dialog; a confirmed colour becomes Color, a
//              cancel leaves Color at the last confirmed colour (0 at first).
//   ShowSave:  opens the save dialog with DialogTitle, Filter, FilterIndex
//              and FileName; a confirmed name becomes FileName and the type
//              chosen FilterIndex, a cancel changes nothing. With DefaultExt
//              set, a name typed without an extension gets the chosen type's.
//
// Flags is one value for both dialogs; each dialog takes only the bits it
// understands (see kSaveFlagMask, kColorFlagMask).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32.h"

namespace runtime {

// Save dialog: overwrite prompt, hide read-only, create prompt. "File must
// exist" (0x1000) means nothing to a save dialog and is dropped.
inline constexpr DWORD kSaveFlagMask = 0x0002 | 0x0004 | 0x2000;
// Colour dialog: preselect the colour, open full, prevent full open.
inline constexpr DWORD kColorFlagMask = 0x0001 | 0x0002 | 0x0004;

struct ColorDialogRequest {
  HWND owner = nullptr;
  DWORD flags = 0;
  COLORREF initial = 0;
  COLORREF* custom_colours = nullptr;  // 16 entries, kept across dialogs
};

struct SaveDialogRequest {
  HWND owner = nullptr;
  DWORD flags = 0;
  std::string title;
  // The filter in the dialog's own form: "desc\0pattern\0" pairs, then "\0".
  std::string filter;
  int filter_index = 1;  // 1-based, the type shown first
  std::string file_name;
  // Empty: names are taken as typed.
  std::string default_ext;
};

struct SaveDialogAnswer {
  std::string path;
  int filter_index = 1;  // the type the user left chosen
};

// The platform dialogs behind the component; tests substitute their own.
class DialogProvider {
 public:
  virtual ~DialogProvider() = default;
  // The confirmed colour, or nothing when cancelled.
  virtual std::optional<COLORREF> ChooseColour(const ColorDialogRequest& request) = 0;
  // The confirmed path and type, or nothing when cancelled.
  virtual std::optional<SaveDialogAnswer> SaveFileName(const SaveDialogRequest& request) = 0;
};

// The platform's ChooseColorA and GetSaveFileNameA.
DialogProvider& SystemDialogs();

// "desc|pattern|desc|pattern" to the dialog's NUL-separated form. A trailing
// description without a pattern is dropped, as it offers nothing to match.
std::string DialogFilter(std::string_view filter);

class CommonDialog {
 public:
  CommonDialog(HWND owner, std::string_view filter, DialogProvider& provider = SystemDialogs())
      : owner_(owner), filter_(filter), provider_(&provider) {}

  DWORD Flags() const { return flags_; }
  void SetFlags(DWORD flags) { flags_ = flags; }
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string_view f) { filter_ = f; }
  const std::string& DialogTitle() const { return title_; }
  void SetDialogTitle(std::string_view t) { title_ = t; }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string_view f) { file_name_ = f; }
  int FilterIndex() const { return filter_index_; }
  void SetFilterIndex(int i) { filter_index_ = i; }
  const std::string& DefaultExt() const { return default_ext_; }
  void SetDefaultExt(std::string_view e) { default_ext_ = e; }
  COLORREF Color() const { return colour_; }
  void SetColor(COLORREF c) { colour_ = c; }

  // True when the user confirmed.
  bool ShowColor();
  bool ShowSave();

  void SetProvider(DialogProvider& provider) { provider_ = &provider; }

 private:
  HWND owner_;
  std::string filter_;
  DialogProvider* provider_;
  DWORD flags_ = 0;
  std::string title_;
  std::string file_name_;
  int filter_index_ = 1;
  std::string default_ext_;
  COLORREF colour_ = 0;
  COLORREF custom_[16] = {};
};

}  // namespace runtime
