// A timer of the form: not a window, but one SetTimer on the form's window
// under the timer's own identifier, while Enabled is true and Interval > 0.
//
// Setting Enabled to true while it already runs changes nothing: the ticks
// keep their rhythm, so a mode's button clicked again does not push its next
// pattern back. A new Interval restarts the count (the platform's SetTimer
// with the same identifier replaces the running timer), so there is never
// more than one platform timer per Timer object.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32.h"

namespace runtime {

class Timer {
 public:
  Timer(HWND owner, UINT_PTR id, std::string_view name, int interval_ms, bool enabled);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  UINT_PTR Id() const { return id_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_ms_; }
  // 0 stops the ticks without touching Enabled, as the classic runtime does;
  // any other value starts the count again.
  void SetInterval(int interval_ms);
  // True while a platform timer is running for this object.
  bool Running() const { return running_; }

 private:
  void Sync(bool restart);

  HWND owner_;
  UINT_PTR id_;
  std::string name_;
  int interval_ms_;
  bool enabled_;
  bool running_ = false;
};

}  // namespace runtime
