// Minimal "Edit" and "ComboBox" classes for the form tests while the
// platform's own standard controls are still being written. They are used
// only when the platform has no class of that name, and do only what the form
// relies on: window text, and a list that takes CB_ADDSTRING.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace runtime::testing {

inline LRESULT CALLBACK StandinComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* items = static_cast<std::vector<std::string>*>(GetPropA(hwnd, "StandinItems"));
  switch (msg) {
    case WM_NCCREATE:
      SetPropA(hwnd, "StandinItems", new std::vector<std::string>);
      break;
    case WM_NCDESTROY:
      delete items;
      RemovePropA(hwnd, "StandinItems");
      break;
    case CB_ADDSTRING:
      if (!items || !lParam) return CB_ERR;
      items->emplace_back(reinterpret_cast<const char*>(lParam));
      return static_cast<LRESULT>(items->size() - 1);
    case CB_GETCOUNT:
      return items ? static_cast<LRESULT>(items->size()) : CB_ERR;
    case CB_GETLBTEXT:
      if (!items || wParam >= items->size() || !lParam) return CB_ERR;
      std::snprintf(reinterpret_cast<char*>(lParam), (*items)[wParam].size() + 1, "%s", (*items)[wParam].c_str());
      return static_cast<LRESULT>((*items)[wParam].size());
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline void EnsureStandinControls() {
  WNDCLASSEXA probe{};
  probe.cbSize = sizeof(probe);
  const struct {
    const char* name;
    WNDPROC proc;
  } classes[] = {{"Edit", DefWindowProcA}, {"ComboBox", StandinComboProc}};
  for (const auto& c : classes) {
    if (GetClassInfoExA(nullptr, c.name, &probe)) continue;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = c.proc;
    wc.lpszClassName = c.name;
    RegisterClassExA(&wc);
  }
}

}  // namespace runtime::testing
