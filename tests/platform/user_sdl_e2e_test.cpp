// The program half of tests/e2e/sdl_window.sh: a real SDL window, driven
// from outside with xdotool. Disabled in ordinary runs (it needs a display
// and someone to click); the script runs it with
// --gtest_also_run_disabled_tests.
#include <SDL.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "platform/backend/sdl2.h"
#include "platform/win32.h"

namespace {

HWND g_child = nullptr;

LRESULT CALLBACK ReportProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const char* who = hwnd == g_child ? "child" : "top";
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      std::printf("%s %s %d %d\n", who, msg == WM_LBUTTONDOWN ? "WM_LBUTTONDOWN" : "WM_LBUTTONUP",
                  GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      std::fflush(stdout);
      if (msg == WM_LBUTTONUP) PostQuitMessage(0);
      return 0;
    case WM_TIMER:
      std::printf("timed out\n");
      std::fflush(stdout);
      PostQuitMessage(1);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(2);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

TEST(SdlEndToEnd, DISABLED_ReportsClicksAtClientPositions) {
  ASSERT_TRUE(platform::AttachSdl2Backend()) << SDL_GetError();
  WNDCLASSA wc{};
  wc.lpfnWndProc = ReportProc;
  wc.lpszClassName = "E2EReport";
  HBRUSH sky = CreateSolidBrush(RGB(0x38, 0xA0, 0xF5));
  wc.hbrBackground = sky;
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND top = CreateWindowExA(0, "E2EReport", "huiwenfang e2e 绘纹坊", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                             100, 100, 320, 240, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  g_child = CreateWindowExA(0, "E2EReport", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 50, 40, 100, 80, top,
                            nullptr, nullptr, nullptr);
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  SetTimer(top, 1, 30000, nullptr);
  std::printf("ready\n");
  std::fflush(stdout);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(m.wParam, 0u);
  DestroyWindow(top);
  DeleteObject(sky);
  platform::DetachSdl2Backend();
}

}  // namespace
