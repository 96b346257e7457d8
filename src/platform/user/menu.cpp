// Menu objects: creation, items and their states.
#include "platform/user/menu.h"

#include <cctype>

#include "platform/user/window.h"

namespace platform::user {
namespace {

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED;
constexpr UINT kRefused = MF_POPUP | MF_BITMAP | MF_OWNERDRAW;

// Index of an item named by command id or by position, -1 if none is.
int FindItem(const Menu& m, UINT item, UINT flags) {
  if (flags & MF_BYPOSITION) return item < m.items.size() ? static_cast<int>(item) : -1;
  for (std::size_t i = 0; i < m.items.size(); ++i)
    if (m.items[i].id == item) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::shared_ptr<Menu> MenuFromHandle(HMENU h) {
  auto* holder = Lookup<MenuHolder>(h, HandleKind::Menu);
  return holder ? holder->menu : nullptr;
}

bool Selectable(const MenuItem& item) { return !(item.flags & (MF_SEPARATOR | kStateBits)); }

char MnemonicOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size() && text[i] != '\t'; ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;  // "&&" shows one ampersand and marks nothing
      continue;
    }
    auto c = static_cast<unsigned char>(text[i + 1]);
    if (c < 0x20 || c >= 0x80) return 0;
    return static_cast<char>(std::tolower(c));
  }
  return 0;
}

}  // namespace platform::user

using namespace platform::user;

HMENU CreatePopupMenu() {
  auto holder = std::make_unique<MenuHolder>();
  holder->menu = std::make_shared<Menu>();
  return static_cast<HMENU>(platform::AllocHandle(platform::HandleKind::Menu, std::move(holder)));
}

BOOL DestroyMenu(HMENU menu) {
  if (!MenuFromHandle(menu)) return FALSE;
  // A menu on screen closes: the menu loop sees its handle go and ends.
  platform::ReleaseHandle(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return MenuFromHandle(menu) ? TRUE : FALSE; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item) {
  auto m = MenuFromHandle(menu);
  if (!m || (flags & kRefused)) return FALSE;
  MenuItem it;
  it.id = id;
  // A string item without a string is a separator, as in Windows.
  if ((flags & MF_SEPARATOR) || !item) {
    it.flags = MF_SEPARATOR;
  } else {
    it.flags = flags & (kStateBits | MF_CHECKED);
    it.text = item;
  }
  m->items.push_back(std::move(it));
  return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  auto m = MenuFromHandle(menu);
  int i = m ? FindItem(*m, item, enable) : -1;
  if (i < 0) return -1;
  MenuItem& it = m->items[static_cast<std::size_t>(i)];
  UINT previous = it.flags & kStateBits;
  it.flags = (it.flags & ~kStateBits) | (enable & kStateBits);
  if (m->window && previous != (it.flags & kStateBits)) InvalidateMenuItem(m->window, i);
  return static_cast<BOOL>(previous);
}

int GetMenuItemCount(HMENU menu) {
  auto m = MenuFromHandle(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  auto m = MenuFromHandle(menu);
  if (!m || pos < 0 || static_cast<std::size_t>(pos) >= m->items.size()) return static_cast<UINT>(-1);
  return static_cast<UINT>(m->items[static_cast<std::size_t>(pos)].id);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  auto m = MenuFromHandle(menu);
  int i = m ? FindItem(*m, item, flags) : -1;
  if (i < 0) return static_cast<UINT>(-1);
  return m->items[static_cast<std::size_t>(i)].flags | (i == m->selected ? MF_HILITE : 0);
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buf, int maxCount, UINT flags) {
  auto m = MenuFromHandle(menu);
  int i = m ? FindItem(*m, item, flags) : -1;
  if (i < 0) return 0;
  const std::string& text = m->items[static_cast<std::size_t>(i)].text;
  if (!buf || maxCount <= 0) return static_cast<int>(text.size());
  return static_cast<int>(CopyText(text, static_cast<WPARAM>(maxCount), buf));
}
