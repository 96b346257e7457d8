// The checked handle table behind every HWND and GDI handle.
//
// A handle is an opaque, never-reused number dressed as a pointer. Looking it
// up with the wrong kind, or after it was released, yields nullptr, so a stale
// or mistyped handle fails cleanly instead of touching freed memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

enum class HandleKind : std::uint8_t {
  None = 0,
  DC,
  Bitmap,
  Brush,
  Pen,
  Font,
  Region,
  Palette,
  Window,
  Module,
  Menu,
  Global,  // a GlobalAlloc block
  Count
};

struct HandleObject {
  virtual ~HandleObject() = default;
};

// Registers obj and returns its new handle.
void* AllocHandle(HandleKind kind, std::unique_ptr<HandleObject> obj);

// Registers an object the system owns for the whole run (stock objects,
// system-colour brushes). It resolves like any handle but is left out of
// LiveHandleCount, which counts what the program itself must release: a leak
// test must not see a stock object that happened to be made lazily during it.
void* AllocPermanentHandle(HandleKind kind, std::unique_ptr<HandleObject> obj);

// The object behind h if h is live and of the given kind, else nullptr.
HandleObject* LookupHandle(const void* h, HandleKind kind);

template <class T>
T* Lookup(const void* h, HandleKind kind) {
  return static_cast<T*>(LookupHandle(h, kind));
}

// Kind of a live handle, HandleKind::None for anything else.
HandleKind KindOfHandle(const void* h);

// Removes h from the table and hands its object back (nullptr if h was not
// live). The caller decides when the object dies, so an object can outlive
// its handle while code further up the stack still uses it.
std::unique_ptr<HandleObject> ReleaseHandle(const void* h);

// Number of live handles of a kind: lets tests catch leaks.
std::size_t LiveHandleCount(HandleKind kind);

}  // namespace platform
