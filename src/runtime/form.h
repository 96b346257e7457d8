// A form built from a layout table: the top-level window, its windowed
// controls, the windowless labels and shapes it paints itself, its timers and
// common dialogs, and the routing of events to named handlers.
//
// Events are named as handlers are: "cmdpaint_Click", "Timer1_Timer",
// "Form_Load". A handler that throws ends there; the form reports the error
// (ReportError) and goes on, so one bad input never ends the session.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/scoped_handles.h"
#include "platform/win32.h"
#include "runtime/common_dialog.h"
#include "runtime/layout.h"
#include "runtime/picture_box.h"
#include "runtime/timer.h"

namespace runtime {

inline constexpr const char* kFormClass = "ThunderRT6FormDC";
inline constexpr const char* kFrameClass = "ThunderRT6Frame";

// Registers the form, frame and picture-box classes once.
void RegisterRuntimeClasses();

class Form {
 public:
  // Builds the window (hidden) and every control. Throws std::runtime_error
  // when a window cannot be created.
  explicit Form(const FormLayout& layout, DialogProvider& dialogs = SystemDialogs());
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Hwnd() const { return hwnd_; }
  const FormLayout& Layout() const { return layout_; }
  HFONT FormFont() const { return font_.get(); }

  // nullptr when the name is unknown or of another kind.
  HWND ControlHwnd(std::string_view name) const;
  PictureBox* Picture(std::string_view name) const;
  Timer* TimerNamed(std::string_view name) const;
  CommonDialog* Dialog(std::string_view name) const;

  // Registers the handler of an event the form raises: "Form_Load", or a control of the layout with
  // an event of its kind ("cmdpaint_Click" for a button or label, "Timer1_Timer" for a timer). Any
  // other name is a handler that could never run, and throws std::logic_error naming it.
  void On(std::string_view event, std::function<void()> handler);
  // Registers the handler of a command of the program's own menus ("mnuNext_Click"), which the
  // program raises itself. The name must start "mnu", end "_Click" and be no control of the
  // layout; otherwise std::logic_error.
  void OnMenu(std::string_view event, std::function<void()> handler);
  // WM_CONTEXTMENU that reached the form from `from` (the form or one of its
  // controls), at a screen position or (-1, -1) from the keyboard. The
  // handler returns false to leave the request unanswered.
  using ContextMenuHandler = std::function<bool(HWND from, POINT at)>;
  void OnContextMenu(ContextMenuHandler handler) { context_menu_ = std::move(handler); }
  // Runs the handler of the event if there is one. False when it failed; the
  // error has then been reported.
  bool RaiseEvent(std::string_view event);

  // Raises Form_Load, shows the window and gives the focus to the first
  // control in tab order.
  void LoadAndShow();

  // Tab and Shift+Tab move the focus in tab-index order, leaving the
  // stacking order alone. True when the message was used.
  bool PreTranslateMessage(const MSG& msg);
  // Windows that take the focus, by tab index.
  std::vector<HWND> TabStops() const;
  HWND NextTabStop(HWND from, bool backwards) const;

  // Ends the program at once: no further event is raised, the timers stop
  // and the quit message is posted; the message loop checks Ended() after
  // every message so nothing already queued runs either.
  void End();
  bool Ended() const { return ended_; }

  // Closing the window posts the quit message unless this is turned off.
  void SetQuitOnDestroy(bool quit) { quit_on_destroy_ = quit; }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  struct Control {
    const LayoutRow* row = nullptr;
    HWND hwnd = nullptr;
  };

  void CreateControls(DialogProvider& dialogs);
  HWND CreateStandardControl(const LayoutRow& row, int id);
  const Control* ControlById(int id) const;
  const Control* ControlByHwnd(HWND hwnd) const;
  HBRUSH BrushFor(COLORREF colour);
  LRESULT OnCtlColor(HDC dc, HWND control);
  void OnPaint();
  void OnLButtonDown(POINT pt);
  void OnLButtonUp(POINT pt);

  const FormLayout& layout_;
  HWND hwnd_ = nullptr;
  win32::GdiObject<HFONT> font_;
  COLORREF back_ = 0;
  std::vector<Control> controls_;  // one per row, stacking order
  std::map<std::string, std::unique_ptr<PictureBox>, std::less<>> pictures_;
  std::map<std::string, std::unique_ptr<Timer>, std::less<>> timers_;
  std::map<std::string, std::unique_ptr<CommonDialog>, std::less<>> dialogs_;
  std::map<std::string, std::function<void()>, std::less<>> handlers_;
  ContextMenuHandler context_menu_;
  std::map<COLORREF, win32::GdiObject<HBRUSH>> brushes_;
  bool quit_on_destroy_ = true;
  // The control that had the keyboard when another window became active.
  HWND saved_focus_ = nullptr;
  // The label a left press went down on, until the release; a click is a
  // press and a release on the same label.
  const LayoutRow* pressed_label_ = nullptr;
  bool ended_ = false;
};

// Control identifiers: the row's stacking index plus this base.
inline constexpr int kFirstControlId = 100;

}  // namespace runtime
