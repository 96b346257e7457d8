// The clipboard and the global memory blocks that carry its data, 64-bit
// Win32 values. Part of win32.h; do not include directly.
//
// Putting text on the clipboard and reading it back, as in Win32:
//
//   HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
//   memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
//   GlobalUnlock(mem);
//   if (OpenClipboard(hwnd)) {
//     EmptyClipboard();
//     if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);  // else the clipboard owns it
//     CloseClipboard();
//   }
//
//   if (IsClipboardFormatAvailable(CF_TEXT) && OpenClipboard(hwnd)) {
//     if (HANDLE data = GetClipboardData(CF_TEXT)) {  // the clipboard's, not ours to free
//       std::string text(static_cast<const char*>(GlobalLock(data)));
//       GlobalUnlock(data);
//     }
//     CloseClipboard();
//   }
//
// What this layer offers of them, beyond plain Win32:
//   - Text only: CF_TEXT, in UTF-8 like every "A" function. The clipboard
//     is the desktop's (with the SDL2 backend) or a private one (headless),
//     so text copied here can be pasted in other programs and the other way
//     round. Other formats are never available, and delayed rendering (a
//     null handle) is refused.
//   - Every global block is movable, whatever the flags: GlobalLock is the
//     only way to its bytes. Blocks are checked handles; a stale or foreign
//     one fails cleanly.
//   - The text ends at its first NUL or at the end of the block.
#pragma once

#include "platform/win32/base.h"

typedef HANDLE HGLOBAL;

// Clipboard formats.
#define CF_TEXT 1

// GlobalAlloc flags.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// A block of `bytes` (at least one), zeroed; NULL when there is no memory.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's bytes, until the matching GlobalUnlock; NULL for a bad handle.
LPVOID GlobalLock(HGLOBAL mem);
// TRUE while the block is still locked, FALSE once it is not.
BOOL GlobalUnlock(HGLOBAL mem);
SIZE_T GlobalSize(HGLOBAL mem);
// NULL on success; the handle back when it is not a block of the program's
// (a bad handle, or one the clipboard owns).
HGLOBAL GlobalFree(HGLOBAL mem);

// Opens the clipboard for this window (or for the program with NULL). FALSE
// while another window has it open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Empties the clipboard; it must be open.
BOOL EmptyClipboard();
// Puts the block's text on the clipboard, which then owns the block. The
// clipboard must be open. Returns the block, NULL on failure (the caller
// still owns it then).
HANDLE SetClipboardData(UINT format, HANDLE mem);
// The clipboard's text as a block that the clipboard owns, valid until the
// clipboard is emptied or changed; NULL when it holds no text or is not open.
HANDLE GetClipboardData(UINT format);
// Whether the clipboard holds data of the format; it need not be open.
BOOL IsClipboardFormatAvailable(UINT format);
