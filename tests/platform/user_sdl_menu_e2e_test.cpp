// The program half of tests/e2e/sdl_popup_menu.sh: a real SDL window whose
// right click opens a popup menu on screen. It prints where the menu shows
// and what was chosen, for the script to check against a screenshot.
// Disabled in ordinary runs; the script runs it with
// --gtest_also_run_disabled_tests.
#include <SDL.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "platform/backend/sdl2.h"
#include "platform/win32.h"

namespace {

HMENU g_menu = nullptr;
bool g_reported = false;

void Say(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
  std::printf(format, a, b, c, d);
  std::printf("\n");
  std::fflush(stdout);
}

LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CONTEXTMENU: {
      Say("asked %ld %ld", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      g_reported = false;
      UINT id =
          static_cast<UINT>(TrackPopupMenu(g_menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, GET_X_LPARAM(lParam),
                                           GET_Y_LPARAM(lParam), 0, hwnd, nullptr));
      Say("chose %ld", static_cast<long>(id));
      if (id) PostQuitMessage(0);
      return 0;
    }
    case WM_ENTERIDLE:
      if (wParam == MSGF_MENU && !g_reported) {
        g_reported = true;
        RECT w, item;
        GetWindowRect(reinterpret_cast<HWND>(lParam), &w);
        Say("menu %ld %ld %ld %ld", w.left, w.top, w.right - w.left, w.bottom - w.top);
        for (UINT i = 0; GetMenuItemRect(nullptr, g_menu, i, &item); ++i)
          Say("item %ld %ld %ld", static_cast<long>(i), (item.left + item.right) / 2,
              (item.top + item.bottom) / 2);
        Say("active %ld", GetActiveWindow() == hwnd ? 1 : 0);
      }
      return 0;
    case WM_TIMER:
      Say("timed out");
      PostQuitMessage(1);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(2);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

TEST(SdlMenuEndToEnd, DISABLED_ARightClickShowsAMenuAtTheCursor) {
  ASSERT_TRUE(platform::AttachSdl2Backend()) << SDL_GetError();
  WNDCLASSA wc{};
  wc.lpfnWndProc = MenuOwnerProc;
  wc.lpszClassName = "E2EMenuOwner";
  HBRUSH sky = CreateSolidBrush(RGB(0x38, 0xA0, 0xF5));
  wc.hbrBackground = sky;
  ASSERT_NE(RegisterClassA(&wc), 0);
  g_menu = CreatePopupMenu();
  AppendMenuA(g_menu, MF_STRING, 101, "上一个图案\tAlt+←");
  AppendMenuA(g_menu, MF_STRING, 102, "下一个图案\tAlt+→");
  AppendMenuA(g_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(g_menu, MF_STRING | MF_GRAYED, 103, "复制图案编号\tCtrl+C");
  AppendMenuA(g_menu, MF_STRING, 104, "粘贴图案编号(&V)\tCtrl+V");
  AppendMenuA(g_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(g_menu, MF_STRING, 105, "导出高清图案…");
  HWND top =
      CreateWindowExA(0, "E2EMenuOwner", "huiwenfang menu e2e", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100,
                      100, 480, 360, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  SetTimer(top, 1, 60000, nullptr);
  Say("ready");
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(m.wParam, 0u);
  DestroyWindow(top);
  DestroyMenu(g_menu);
  DeleteObject(sky);
  platform::DetachSdl2Backend();
}

}  // namespace
