// Global memory blocks and the Win32 clipboard calls, over the text
// clipboard that the edit control uses (clipboard.h).
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/user/clipboard.h"
#include "platform/win32.h"

namespace platform::user {
namespace {

struct GlobalBlock : HandleObject {
  std::vector<char> bytes;
  int locks = 0;
  // Handed to the clipboard by SetClipboardData or made by
  // GetClipboardData: the clipboard frees it, the program may not.
  bool clipboards = false;
};

GlobalBlock* Block(HGLOBAL mem) { return Lookup<GlobalBlock>(mem, HandleKind::Global); }

HGLOBAL NewBlock(std::size_t bytes) {
  auto block = std::make_unique<GlobalBlock>();
  try {
    // A block of 0 bytes still has an address to lock.
    block->bytes.assign(bytes > 0 ? bytes : 1, '\0');
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return AllocHandle(HandleKind::Global, std::move(block));
}

struct Clipboard {
  bool open = false;
  HWND opener = nullptr;
  // The block the clipboard owns: the one last set, or the one last handed
  // out by GetClipboardData. Freed when the data changes.
  HGLOBAL held = nullptr;
};

Clipboard& clipboard() {
  static Clipboard c;
  return c;
}

void DropHeld() {
  Clipboard& c = clipboard();
  if (c.held) ReleaseHandle(c.held);
  c.held = nullptr;
}

std::string TextOf(const GlobalBlock& b) {
  return std::string(b.bytes.data(), strnlen(b.bytes.data(), b.bytes.size()));
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) { return NewBlock(bytes); }

LPVOID GlobalLock(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  if (!b) return nullptr;
  ++b->locks;
  return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  if (!b || b->clipboards) return mem;
  platform::ReleaseHandle(mem);
  return nullptr;
}

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = clipboard();
  if (owner && !IsWindow(owner)) return FALSE;
  if (c.open && c.opener != owner) return FALSE;
  c.open = true;
  c.opener = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = clipboard();
  if (!c.open) return FALSE;
  c.open = false;
  c.opener = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!clipboard().open) return FALSE;
  DropHeld();
  SetClipboardText(std::string());
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE mem) {
  Clipboard& c = clipboard();
  GlobalBlock* b = Block(mem);
  if (!c.open || format != CF_TEXT || !b) return nullptr;
  SetClipboardText(TextOf(*b));
  if (c.held != mem) DropHeld();
  b->clipboards = true;
  c.held = mem;
  return mem;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = clipboard();
  if (!c.open || format != CF_TEXT) return nullptr;
  const std::string text = GetClipboardText();
  if (text.empty()) return nullptr;
  // The same block again while the text is what it holds, so a caller that
  // asks twice does not see its first answer freed.
  if (GlobalBlock* held = Block(c.held); held && TextOf(*held) == text) return c.held;
  DropHeld();
  HGLOBAL mem = NewBlock(text.size() + 1);
  if (!mem) return nullptr;
  GlobalBlock* b = Block(mem);
  std::memcpy(b->bytes.data(), text.c_str(), text.size() + 1);
  b->clipboards = true;
  c.held = mem;
  return mem;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  return format == CF_TEXT && !GetClipboardText().empty() ? TRUE : FALSE;
}
