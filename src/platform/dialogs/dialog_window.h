// What every dialog of the platform shares: the "#32770" class, building
// controls in the dialog font, running modally over an owner, and the
// keyboard of a dialog (Enter, Escape; Tab comes from the modal loop).
// Private to the dialogs.
//
//   class MyDialog : public DialogWindow { ... };
//   MyDialog d;
//   INT_PTR r = d.Run(owner, "标题", 300, 120);   // EndDialog's value
#pragma once

#include <string>

#include "platform/scoped_handles.h"
#include "platform/win32.h"

namespace platform::dialogs {

class DialogWindow {
 public:
  DialogWindow() = default;
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Creates the dialog (hidden), lets Build add the controls, centres it over
  // owner's root window, shows it, focuses InitialFocus and runs the modal
  // loop. Returns the value given to EndDialog, or kNoAnswer when the
  // dialog went away without one (destroyed, or no input can ever come).
  INT_PTR Run(HWND owner, const char* caption, int width, int height);

  HWND hwnd() const { return hwnd_; }
  HWND owner() const { return owner_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  virtual void Build() = 0;
  // Called for WM_COMMAND; Enter arrives as the default button's id (or the
  // focused push button's), Escape and the frame's close button as IDCANCEL.
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual HWND InitialFocus();
  // Paints what is not a control (icons, colour fields) over the face.
  virtual void OnPaint(HDC) {}
  // Any other message; return true when handled, with result set.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

  void EndDialog(INT_PTR result);

  // A child control in the dialog font, with Enter/Escape routed to the
  // dialog (also for the controls' own children, such as a combo's edit).
  HWND Add(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
           DWORD exStyle = 0);
  HFONT font() const { return font_; }
  int defaultId() const { return defaultId_; }
  void SetDefaultId(int id) { defaultId_ = id; }

  // A message box owned by this dialog.
  int Ask(const std::string& text, UINT type);

 private:
  friend struct DialogAccess;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HFONT font_ = nullptr;
  int defaultId_ = IDOK;
  HWND savedFocus_ = nullptr;
  bool ended_ = false;
  INT_PTR result_ = IDCANCEL;
};

constexpr INT_PTR kNoAnswer = -1;

// Ids: controls whose id does not matter (labels) share this one.
constexpr int kStaticId = 0xFFFF;

// Text of a window as a std::string.
std::string WindowText(HWND hwnd);

// The dialog font: 宋体 at 9 points, as on a Chinese Windows desktop.
HFONT DialogFont();

}  // namespace platform::dialogs
