#include "app/clipboard_text.h"

#include <cstring>

namespace app {
namespace {

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// A block of ours until the clipboard takes it.
class OwnedBlock {
 public:
  explicit OwnedBlock(SIZE_T bytes) : mem_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~OwnedBlock() {
    if (mem_) GlobalFree(mem_);
  }
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;
  HGLOBAL Get() const { return mem_; }
  void HandOver() { mem_ = nullptr; }

 private:
  HGLOBAL mem_;
};

class Locked {
 public:
  explicit Locked(HGLOBAL mem) : mem_(mem), bytes_(static_cast<char*>(GlobalLock(mem))) {}
  ~Locked() {
    if (bytes_) GlobalUnlock(mem_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  char* Bytes() const { return bytes_; }

 private:
  HGLOBAL mem_;
  char* bytes_;
};

}  // namespace

bool PutClipboardText(HWND owner, const std::string& text) {
  OwnedBlock block(text.size() + 1);
  if (!block.Get()) return false;
  {
    Locked locked(block.Get());
    if (!locked.Bytes()) return false;
    std::memcpy(locked.Bytes(), text.c_str(), text.size() + 1);
  }
  OpenedClipboard clipboard(owner);
  if (!clipboard || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_TEXT, block.Get())) return false;
  block.HandOver();
  return true;
}

std::optional<std::string> ClipboardText(HWND owner) {
  if (!ClipboardHasText()) return std::nullopt;
  OpenedClipboard clipboard(owner);
  if (!clipboard) return std::nullopt;
  // The clipboard's own block: read, never freed here.
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return std::nullopt;
  Locked locked(data);
  if (!locked.Bytes()) return std::nullopt;
  return std::string(locked.Bytes(), strnlen(locked.Bytes(), GlobalSize(data)));
}

bool ClipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

}  // namespace app
