// Base fixture of window-manager tests: an empty headless desktop on
// virtual time, a message recorder, and small helpers to make windows.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "platform/win32.h"
#include "support/message_recorder.h"

namespace hwf::test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseVirtualTime(1000);
    cls_ = rec_.RegisterClass("Rec");
  }
  void TearDown() override {
    // Handlers capture the test's locals, which are gone by now.
    rec_.SetHandler(nullptr);
    platform::testing::Reset();
  }

  HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, DWORD ex = 0) {
    return CreateWindowExA(ex, cls_.c_str(), "top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
  }
  HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE, DWORD ex = 0,
             int id = 0) {
    return CreateWindowExA(ex, cls_.c_str(), "child", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  int Pump() { return platform::testing::PumpMessages(); }

  MessageRecorder rec_;
  std::string cls_;
};

}  // namespace hwf::test
