// Scoped window, client and memory DCs: released on every path out of a painter or handler.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "skin/primitives.h"

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

// The DC a painter draws on: the caller's when it gives one (used as it is, never released), else
// the window's own, taken here and released by Release() or at the end of the scope.
class TargetDC {
 public:
  TargetDC(HWND hWnd, HDC given) : hWnd_(hWnd), dc_(given ? given : GetWindowDC(hWnd)), owned_(!given) {}
  TargetDC(const TargetDC&) = delete;
  TargetDC& operator=(const TargetDC&) = delete;
  ~TargetDC() { Release(); }

  HDC get() const { return dc_; }
  void Release() {
    if (owned_ && dc_) ReleaseDC(hWnd_, dc_);
    owned_ = false;
  }

 private:
  HWND hWnd_;
  HDC dc_;
  bool owned_;
};

// A memory DC with its own bitmap (CreateMemoryDC), deleted with the bitmap. One that could not be
// made is 0, and every draw on it and copy from it does nothing.
class ScopedMemoryDC {
 public:
  ScopedMemoryDC(std::int32_t width, std::int32_t height) : dc_(CreateMemoryDC(width, height)) {}
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  ~ScopedMemoryDC() { Delete(); }

  HDC get() const { return dc_; }
  // Deletes early, where the order of deletes and releases matters.
  void Delete() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  HDC dc_;
};

}  // namespace skin
