// Scoped window and client DCs: released on every path out of a painter or handler.
#pragma once

#include "platform/win32.h"

namespace skin {

class ScopedWindowDC {
 public:
  // client false: GetWindowDC (origin at the window's top-left); true: GetDC.
  explicit ScopedWindowDC(HWND hWnd, bool client = false)
      : hWnd_(hWnd), dc_(client ? GetDC(hWnd) : GetWindowDC(hWnd)) {}
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  ~ScopedWindowDC() { Release(); }

  HDC get() const { return dc_; }
  // Releases early, where the order of releases matters.
  void Release() {
    if (dc_) ReleaseDC(hWnd_, dc_);
    dc_ = nullptr;
  }

 private:
  HWND hWnd_;
  HDC dc_;
};

}  // namespace skin
