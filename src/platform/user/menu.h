// The menu object behind an HMENU, the "#32768" window that shows one, and
// what the menu loop asks of that window. Private to the platform layer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/win32.h"

namespace platform::user {

struct MenuItem {
  UINT flags = 0;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED
  UINT_PTR id = 0;
  std::string text;  // UTF-8; "&" marks the mnemonic, a tab starts the accelerator
};

struct Menu {
  std::vector<MenuItem> items;
  int selected = -1;      // the highlighted item while the menu shows
  HWND window = nullptr;  // the "#32768" window while the menu shows
};

// The handle table owns a holder; the menu loop keeps the menu alive with a
// shared_ptr while the owner may call DestroyMenu from a handler.
struct MenuHolder : HandleObject {
  std::shared_ptr<Menu> menu;
};

std::shared_ptr<Menu> MenuFromHandle(HMENU h);

// Items that can be chosen: neither separators nor grayed or disabled.
bool Selectable(const MenuItem& item);
// The mnemonic letter of an item's text (the character after a single "&"),
// lower-cased; 0 when it has none or it is not ASCII.
char MnemonicOf(const std::string& text);

// --- The menu window (menu_window.cpp).

// Creates the hidden "#32768" window for menu, owned by owner, sized to fit
// its items. nullptr if it cannot be made.
HWND CreateMenuWindow(HMENU menu, HWND owner);
// Index of the item at a screen point: -1 outside the window, -2 inside it
// but on no item (its edge).
int MenuItemAt(HWND window, POINT screen);
// Repaints one item (after its selection or state changed).
void InvalidateMenuItem(HWND window, int index);

}  // namespace platform::user
