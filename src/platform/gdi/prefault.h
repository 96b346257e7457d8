// Memory about to be written whole, faulted in at once. Every page a program
// touches first costs a trap into the kernel; for a window-sized buffer
// (2.7 MB, about 700 pages) one request for all of them takes about half
// the time of 700 traps, and the first frame waits on those buffers.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

#include "platform/gdi/shared_pixels.h"

namespace platform::gdi {

// Smaller buffers are not worth a system call.
inline constexpr std::size_t kPrefaultBytes = 256 * 1024;

// Asks the kernel to provide the pages of [p, p + bytes) writable now. Only a
// hint: where the kernel cannot (before Linux 5.14), pages come on first
// touch as usual.
void PrefaultForWriting(void* p, std::size_t bytes);

// The allocator of pixel storage: large blocks are faulted in as they are
// allocated, before the fill that follows writes them. One made with
// `forScreen` puts large blocks in shared memory the X server can read
// (shared_pixels.h) when it can; any allocator frees any block.
template <class T>
struct PixelAllocator {
  using value_type = T;
  using is_always_equal = std::true_type;
  bool forScreen = false;

  PixelAllocator() = default;
  explicit PixelAllocator(bool screen) : forScreen(screen) {}
  template <class U>
  PixelAllocator(const PixelAllocator<U>& o) : forScreen(o.forScreen) {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (forScreen && bytes >= kPrefaultBytes && SharedPixelsForScreens())
      if (void* shared = AllocateSharedPixels(bytes)) {
        PrefaultForWriting(shared, bytes);
        return static_cast<T*>(shared);
      }
    T* p = std::allocator<T>().allocate(n);
    if (bytes >= kPrefaultBytes) PrefaultForWriting(p, bytes);
    return p;
  }
  void deallocate(T* p, std::size_t n) {
    if (n * sizeof(T) >= kPrefaultBytes && FreeSharedPixels(p)) return;
    std::allocator<T>().deallocate(p, n);
  }
  template <class U>
  bool operator==(const PixelAllocator<U>&) const {
    return true;
  }
};

}  // namespace platform::gdi
