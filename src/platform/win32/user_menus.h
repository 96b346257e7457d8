// Popup (shortcut) menus and the messages around them, 64-bit Win32 values.
// Part of win32.h; do not include directly.
//
// A window shows a shortcut menu from its WM_CONTEXTMENU:
//
//   HMENU m = CreatePopupMenu();
//   AppendMenuA(m, MF_STRING, 1, "上一个图案\tAlt+←");   // text, tab, accelerator
//   AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
//   AppendMenuA(m, MF_STRING | MF_GRAYED, 2, "导出(&E)");  // & underlines the mnemonic
//   UINT id = TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, hwnd, nullptr);
//   DestroyMenu(m);
//
// What this layer offers of menus, beyond plain Win32:
//   - Popup menus only: no menu bars, submenus (MF_POPUP), bitmaps or
//     owner-drawn items; AppendMenuA refuses those flags.
//   - TrackPopupMenu shows a top-level window of class "#32768" that takes
//     no activation: the owner stays active and keeps the keyboard focus,
//     while the menu loop reads the mouse and the keys. The menu is placed at
//     (x, y) by the TPM_*ALIGN flags and kept on screen: a menu that does not
//     fit on one side of the point goes to the other side, else it is pushed
//     in from the edge.
//   - A mouse press outside the menu closes it without a command, and that
//     press (with what follows it) goes on to the window under it, as in
//     Windows: a right click elsewhere opens that window's context menu.
//   - Messages to the owner, in order: WM_ENTERMENULOOP (TRUE),
//     WM_INITMENU, WM_INITMENUPOPUP (before the menu is measured and shown,
//     so items can still be grayed), WM_MENUSELECT as the selection moves
//     onto an item, WM_ENTERIDLE (MSGF_MENU, the menu window) when the loop
//     waits, WM_UNINITMENUPOPUP, WM_MENUSELECT (0xFFFF0000, 0),
//     WM_EXITMENULOOP (TRUE); then, without TPM_RETURNCMD, a posted
//     WM_COMMAND (the item's id, 0) if an item was chosen. TPM_NONOTIFY
//     leaves out all but the last three.
//   - Only one menu is tracked at a time; TrackPopupMenu fails while one is.
#pragma once

#include "platform/win32/base.h"

// Messages (WM_ENTERMENULOOP is with the other window messages).
#define WM_CONTEXTMENU 0x007B
#define WM_INITMENU 0x0116
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUSELECT 0x011F
#define WM_MENUCHAR 0x0120
#define WM_UNINITMENUPOPUP 0x0125
#define WM_EXITMENULOOP 0x0212
// Sent to a "#32768" window: the menu it shows.
#define MN_GETHMENU 0x01E1

// The menu key (application key) that asks for a context menu.
#define VK_APPS 0x5D

// Menu item flags: AppendMenuA, EnableMenuItem, GetMenuState, WM_MENUSELECT.
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_STRING 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_BITMAP 0x00000004L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_HILITE 0x00000080L
#define MF_UNHILITE 0x00000000L
#define MF_OWNERDRAW 0x00000100L
#define MF_SEPARATOR 0x00000800L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L
#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_ENABLED MF_ENABLED
#define MFS_HILITE MF_HILITE

// TrackPopupMenu
#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L
#define TPM_RECURSE 0x0001L
#define TPM_HORPOSANIMATION 0x0400L
#define TPM_HORNEGANIMATION 0x0800L
#define TPM_VERPOSANIMATION 0x1000L
#define TPM_VERNEGANIMATION 0x2000L
#define TPM_NOANIMATION 0x4000L
#define TPM_LAYOUTRTL 0x8000L

// WM_MENUCHAR answers (in the high word).
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item);
// Previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED) or -1 if there is no
// such item.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
int GetMenuItemCount(HMENU menu);  // -1 for a bad handle
UINT GetMenuItemID(HMENU menu, int pos);
// The item's flags (MF_GRAYED, MF_DISABLED, MF_SEPARATOR, MF_HILITE, ...)
// or (UINT)-1 if there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, LPSTR buf, int maxCount, UINT flags);
// Screen rectangle of the item at position pos while its menu shows (hwnd
// may be null for a popup menu); FALSE while it does not.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT pos, LPRECT rect);
// Runs the menu until the user chooses or cancels: with TPM_RETURNCMD the
// chosen item's id (0 for none), else TRUE. FALSE on a bad handle or while
// another menu is tracked.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
// Closes the menu being tracked, as a cancel.
BOOL EndMenu();
