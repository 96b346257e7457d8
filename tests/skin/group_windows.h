// Windows of the class groups the program itself never creates, registered under the names the
// engine recognises: check boxes and option buttons as "Button" superclasses, a drive list as a
// "ComboBox" superclass, a progress bar that answers PBM_GETPOS, a data list and a grid.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "skin_window_fixture.h"

namespace skintest {

inline constexpr const char* kCheckBoxClass = "ThunderRT6CheckBox";
inline constexpr const char* kOptionButtonClass = "ThunderRT6OptionButton";
inline constexpr const char* kDriveListClass = "ThunderRT6DriveListBox";
inline constexpr const char* kProgressBarClass = "ProgressBar20WndClass";
inline constexpr const char* kDataListClass = "DataListWndClass";
inline constexpr const char* kGridClass = "ApexGrid.Test";

// Classes outlive a test, and other tests register some of these names as plain windows: each
// registration here replaces whatever the name meant before.
inline void Reregister(const WNDCLASSEXA& wc) {
  UnregisterClassA(wc.lpszClassName, nullptr);
  ASSERT_NE(RegisterClassExA(&wc), 0) << wc.lpszClassName;
}

// A new class with the window procedure (and everything else) of an existing one.
inline void RegisterSuperclass(const char* name, const char* base) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(nullptr, base, &wc)) << base;
  wc.lpszClassName = name;
  Reregister(wc);
}

// A progress bar reduced to what the skin asks of one: a position between 0 and 30000.
inline LRESULT CALLBACK ProgressProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case PBM_SETPOS: {
      const LRESULT old = GetWindowLongPtrA(h, GWLP_USERDATA);
      SetWindowLongPtrA(h, GWLP_USERDATA, static_cast<LONG_PTR>(w));
      return old;
    }
    case PBM_GETPOS:
      return GetWindowLongPtrA(h, GWLP_USERDATA);
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

inline void RegisterGroupClasses() {
  RegisterSuperclass(kCheckBoxClass, "Button");
  RegisterSuperclass(kOptionButtonClass, "Button");
  RegisterSuperclass(kDriveListClass, "ComboBox");
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ProgressProc;
  wc.lpszClassName = kProgressBarClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  Reregister(wc);
  RegisterPlainClass(kDataListClass);
  RegisterPlainClass(kGridClass);
}

// The installation tests' fixture with the group classes registered as well.
class GroupWindowTest : public SkinWindowTest {
 protected:
  void SetUp() override {
    SkinWindowTest::SetUp();
    RegisterGroupClasses();
  }
  // Other tests register some of these names as plain windows and expect exactly that.
  void TearDown() override {
    SkinWindowTest::TearDown();
    for (const char* name :
         {kCheckBoxClass, kOptionButtonClass, kDriveListClass, kProgressBarClass, kDataListClass, kGridClass})
      UnregisterClassA(name, nullptr);
  }

  // What the screen shows at (x, y) of the window, in window coordinates.
  static COLORREF At(HWND h, int x, int y) {
    RECT r;
    GetWindowRect(h, &r);
    return platform::testing::ScreenPixel(r.left + x, r.top + y);
  }
  // Paints the whole window, frame included, in one colour, so that whatever a painter leaves
  // alone keeps it.
  static void Flood(HWND h, COLORREF colour) {
    RECT r;
    GetWindowRect(h, &r);
    HDC dc = GetWindowDC(h);
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(h, dc);
  }
  static SIZE WindowSize(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  static SIZE ClientSize(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    return SIZE{r.right, r.bottom};
  }
  static bool IsKey(COLORREF c) { return (c & 0x00FFFFFF) == 0x00FF00FF; }
};

// A colour no skin bitmap and no control uses, to see what a painter left alone.
inline constexpr COLORREF kFlood = 0x00123456;

}  // namespace skintest
