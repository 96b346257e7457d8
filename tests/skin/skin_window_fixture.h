// Shared set-up of the installation and window-procedure tests: a headless desktop on virtual time,
// window classes named like the ones the engine recognises, a look at a window's property names,
// and counts of every live platform object.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/user/window.h"
#include "platform/win32.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_state.h"
#include "support/window_fixture.h"

namespace skintest {

// Every property name the engine may leave on a window.
inline const std::vector<std::string>& EngineProperties() {
  static const std::vector<std::string> names = {
      "PROCADDR", "OLDSTYLE", "OLDSTATE", "MOUSEFLAG", "TIMERID", "ALPHALEVEL", "HDINDEX", "HMINDEX",
      "HDC0",     "HDC1",     "HDC2",     "HDC3",      "BMP0",    "BMP1",       "BMP2",    "BMP3"};
  return names;
}

// The engine's properties present on a window, in the order they were set. A property holding 0
// reads the same as an absent one through GetPropA, so presence is read from the window itself.
inline std::vector<std::string> EnginePropsOn(HWND hWnd) {
  std::vector<std::string> found;
  const auto* w = platform::user::FromHandle(hWnd);
  if (!w) return found;
  for (const auto& [name, value] : w->props) {
    for (const std::string& known : EngineProperties())
      if (platform::user::Lower(name.c_str()) == platform::user::Lower(known.c_str())) found.push_back(known);
  }
  return found;
}

inline std::size_t PropertyCount(HWND hWnd) {
  const auto* w = platform::user::FromHandle(hWnd);
  return w ? w->props.size() : 0;
}

// Live objects of every kind the engine creates or owns.
struct LiveObjects {
  std::size_t dcs = platform::testing::LiveObjects(platform::HandleKind::DC);
  std::size_t bitmaps = platform::testing::LiveObjects(platform::HandleKind::Bitmap);
  std::size_t brushes = platform::testing::LiveObjects(platform::HandleKind::Brush);
  std::size_t regions = platform::testing::LiveObjects(platform::HandleKind::Region);
  std::size_t palettes = platform::testing::LiveObjects(platform::HandleKind::Palette);
  std::size_t fonts = platform::testing::LiveObjects(platform::HandleKind::Font);
  bool operator==(const LiveObjects&) const = default;
};

// A plain window procedure for the classes below: the engine finds them by name only.
inline LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

inline void RegisterPlainClass(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = name;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  RegisterClassA(&wc);  // a second registration fails harmlessly
}

class SkinWindowTest : public hwf::test::WindowTest {
 protected:
  void SetUp() override {
    hwf::test::WindowTest::SetUp();
    ForgetEngineState();
    RegisterPlainClass(kFormClass);
  }
  void TearDown() override {
    // Handlers capture the test's locals, which are gone by now.
    rec_.SetHandler(nullptr);
    // Destroying through the engine keeps its count honest for the next test.
    for (HWND h : tops_)
      if (IsWindow(h)) DestroyWindow(h);
    ForgetEngineState();
    hwf::test::WindowTest::TearDown();
  }
  static void ForgetEngineState() {
    skin::ReleaseSkinBitmaps();
    skin::SkinnedCount = 0;
    skin::SkinReady = skin::VbFalse;
    skin::HasTrackMouseEvent = skin::VbFalse;
  }

  HWND Form(int x = 50, int y = 40, int w = 300, int h = 200) {
    HWND f = CreateWindowExA(0, kFormClass, "form", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                             nullptr, nullptr);
    tops_.push_back(f);
    return f;
  }
  HWND Control(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h, const char* text = "",
               DWORD ex = 0) {
    return CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, nullptr,
                           nullptr);
  }

  static constexpr const char* kFormClass = "ThunderRT6FormDC";
  std::vector<HWND> tops_;
};

}  // namespace skintest
