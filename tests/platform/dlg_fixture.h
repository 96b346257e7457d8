// Fixture of the dialog tests: an owner window on an empty headless desktop,
// and a script of user actions that runs while a modal dialog waits.
//
//   Script({[&] { Key(VK_RETURN); }});
//   int r = MessageBoxA(owner_, "text", "caption", MB_OK);
//
// Each step runs when the dialog (or a box it opened) has gone idle; the
// window that has the user's attention is then GetActiveWindow(). A dialog
// still open after the last step ends with no answer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/window_fixture.h"

namespace hwf::test {

class DialogTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    owner_ = Top(100, 80, 600, 480, WS_POPUP | WS_VISIBLE | WS_CAPTION);
    Pump();
  }
  void TearDown() override {
    platform::testing::SetIdleHook(nullptr);
    WindowTest::TearDown();
  }

  void Script(std::vector<std::function<void()>> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    platform::testing::SetIdleHook([this]() {
      if (next_ >= steps_.size()) return false;
      steps_[next_++]();
      return true;
    });
  }
  std::size_t StepsRun() const { return next_; }

  static HWND Active() { return GetActiveWindow(); }
  static void Key(UINT vk) {
    platform::testing::KeyDown(vk);
    platform::testing::KeyUp(vk);
  }
  static void ShiftTab() {
    platform::testing::KeyDown(VK_SHIFT);
    Key(VK_TAB);
    platform::testing::KeyUp(VK_SHIFT);
  }
  // Clicks the middle of a control (any window) on screen.
  static void ClickOn(HWND hwnd, int dx = -1, int dy = -1) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int x = dx < 0 ? (r.left + r.right) / 2 : r.left + dx;
    int y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
    platform::testing::Click(x, y);
  }
  static void DoubleClickOn(HWND hwnd, int dx, int dy) {
    ClickOn(hwnd, dx, dy);
    ClickOn(hwnd, dx, dy);
  }
  static std::string Text(HWND hwnd) {
    char buf[4096] = {};
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
  }
  static std::string ClassOf(HWND hwnd) {
    char buf[64] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
  }
  // Replaces an edit's text the way a user does: select all, then type.
  static void TypeInto(HWND edit, const std::string& text) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    platform::testing::Text(text);
  }

  HWND owner_ = nullptr;

 private:
  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
};

}  // namespace hwf::test
