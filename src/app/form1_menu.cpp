// Form1's context menu on the canvas and the effect picture, and its
// accelerators: Alt+← / Alt+→ step through the history, Ctrl+C / Ctrl+V copy
// and paste pattern codes, everywhere in the window but in its text fields.
#include <strings.h>

#include "app/clipboard_text.h"
#include "app/form1.h"

namespace app {
namespace {

struct MenuRow {
  MenuCommand command;  // 0: a separator
  const char* text;     // the accelerator after the tab
  const char* event;
};

constexpr MenuRow kMenuRows[] = {
    {kMenuPrevious, "上一个图案\tAlt+←", "mnuPrevious_Click"},
    {kMenuNext, "下一个图案\tAlt+→", "mnuNext_Click"},
    {MenuCommand{}, nullptr, nullptr},
    {kMenuCopyCode, "复制图案编号\tCtrl+C", "mnuCopyCode_Click"},
    {kMenuPasteCode, "粘贴图案编号\tCtrl+V", "mnuPasteCode_Click"},
    {MenuCommand{}, nullptr, nullptr},
    {kMenuExportTile, "导出高清图案…", "mnuExportTile_Click"},
    {kMenuExportSheet, "导出四方连续图…", "mnuExportSheet_Click"},
};

const char* EventOf(UINT command) {
  for (const MenuRow& row : kMenuRows)
    if (row.event && row.command == command) return row.event;
  return nullptr;
}

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// The combo box's edit field and Text1: they keep Ctrl+C and Ctrl+V.
bool IsTextField(HWND hwnd) {
  char name[16] = {};
  return GetClassNameA(hwnd, name, sizeof name) > 0 && strcasecmp(name, "Edit") == 0;
}

}  // namespace

bool Form1::CanAct(MenuCommand command) const {
  switch (command) {
    case kMenuPrevious:
      return history_.CanGoBack();
    case kMenuNext:
      return history_.CanGoForward();
    case kMenuPasteCode:
      return ClipboardHasText();
    case kMenuCopyCode:
    case kMenuExportTile:
    case kMenuExportSheet:
      return CurrentPatternCode().has_value();
  }
  return false;
}

OwnedMenu Form1::BuildContextMenu() {
  OwnedMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  for (const MenuRow& row : kMenuRows) {
    if (!row.event) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuA(menu.get(), MF_STRING | (CanAct(row.command) ? 0 : MF_GRAYED), row.command, row.text);
  }
  return menu;
}

bool Form1::OnContextMenu(HWND from, POINT at) {
  if (from != picpaint_->Hwnd() && from != Picture1_->Hwnd()) return false;
  if (at.x == -1 && at.y == -1) {
    // From the keyboard: the middle of the picture asked about.
    RECT r{};
    GetClientRect(from, &r);
    at = POINT{r.right / 2, r.bottom / 2};
    ClientToScreen(from, &at);
  }
  UINT chosen = 0;
  {
    const OwnedMenu menu = BuildContextMenu();
    if (!menu) return true;
    chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, form_->Hwnd(), nullptr));
  }
  if (const char* event = EventOf(chosen)) form_->RaiseEvent(event);
  return true;
}

const char* Form1::AcceleratorEvent(const MSG& msg) const {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return nullptr;
  const HWND form = form_->Hwnd();
  if (msg.hwnd != form && !IsChild(form, msg.hwnd)) return nullptr;
  if (IsTextField(msg.hwnd)) return nullptr;
  const bool ctrl = Down(VK_CONTROL), alt = Down(VK_MENU), shift = Down(VK_SHIFT);
  if (alt && !ctrl && !shift) {
    if (msg.wParam == VK_LEFT) return EventOf(kMenuPrevious);
    if (msg.wParam == VK_RIGHT) return EventOf(kMenuNext);
  }
  if (ctrl && !alt && !shift) {
    if (msg.wParam == 'C') return EventOf(kMenuCopyCode);
    if (msg.wParam == 'V') return EventOf(kMenuPasteCode);
  }
  return nullptr;
}

bool Form1::PreTranslateMessage(const MSG& msg) {
  if (const char* event = AcceleratorEvent(msg)) {
    form_->RaiseEvent(event);
    return true;
  }
  return form_->PreTranslateMessage(msg);
}

}  // namespace app
