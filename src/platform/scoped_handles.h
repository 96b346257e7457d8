// scoped_handles.h — owners for the handles the Win32 API hands out, so that every object taken is
// given back on every path out of a painter, handler or dialog.
//
// One set for every layer: each class is moveable where owning code keeps it in a container, a null
// handle is always allowed (nothing is released), and the handle is read with get().
#pragma once

#include <utility>

#include "platform/win32.h"

namespace win32 {

// A GDI object (font, brush, pen, bitmap, palette, region) deleted with DeleteObject.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~GdiObject() { reset(); }

  void reset(Handle h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  // Gives the object away (to a DC or the clipboard) without deleting it.
  Handle release() { return std::exchange(h_, nullptr); }
  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  Handle h_ = nullptr;
};

// A DC that is deleted with DeleteDC: a memory DC, or one made for a device.
class OwnedDc {
 public:
  explicit OwnedDc(HDC dc) : dc_(dc) {}
  OwnedDc(const OwnedDc&) = delete;
  OwnedDc& operator=(const OwnedDc&) = delete;
  ~OwnedDc() { reset(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // Deletes early, where the order of deletes and releases matters.
  void reset() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  HDC dc_;
};

// A window's DC, released with ReleaseDC. client false: GetWindowDC (origin at the window's
// top-left); true: GetDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hWnd, bool client = false)
      : hWnd_(hWnd), dc_(client ? GetDC(hWnd) : GetWindowDC(hWnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { reset(); }

  HDC get() const { return dc_; }
  // Releases early, where the order of releases matters.
  void reset() {
    if (dc_) ReleaseDC(hWnd_, dc_);
    dc_ = nullptr;
  }

 private:
  HWND hWnd_;
  HDC dc_;
};

// The DC a painter draws on: the caller's when it gives one (used as it is, never released), else
// the window's own, taken here and released by reset() or at the end of the scope.
class TargetDc {
 public:
  TargetDc(HWND hWnd, HDC given) : hWnd_(hWnd), dc_(given ? given : GetWindowDC(hWnd)), owned_(!given) {}
  TargetDc(const TargetDc&) = delete;
  TargetDc& operator=(const TargetDc&) = delete;
  ~TargetDc() { reset(); }

  HDC get() const { return dc_; }
  void reset() {
    if (owned_ && dc_) ReleaseDC(hWnd_, dc_);
    owned_ = false;
  }

 private:
  HWND hWnd_;
  HDC dc_;
  bool owned_;
};

// BeginPaint at the start of the scope, EndPaint at its end.
class PaintDc {
 public:
  explicit PaintDc(HWND hWnd) : hWnd_(hWnd), dc_(BeginPaint(hWnd, &ps_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(hWnd_, &ps_); }

  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }

 private:
  HWND hWnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a DC until the scope ends, when the one it replaced goes back. A null
// object selects nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { reset(); }

  // Puts the old object back early.
  void reset() {
    if (old_) SelectObject(dc_, old_);
    old_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win32
