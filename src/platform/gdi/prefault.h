// Memory about to be written whole, faulted in at once. Every page a program
// touches first costs a trap into the kernel; for a window-sized buffer
// (2.7 MB, about 700 pages) one request for all of them takes about half
// the time of 700 traps, and the first frame waits on those buffers.
#pragma once

#include <cstddef>
#include <memory>

namespace platform::gdi {

// Smaller buffers are not worth a system call.
inline constexpr std::size_t kPrefaultBytes = 256 * 1024;

// Asks the kernel to provide the pages of [p, p + bytes) writable now. Only a
// hint: where the kernel cannot (before Linux 5.14), pages come on first
// touch as usual.
void PrefaultForWriting(void* p, std::size_t bytes);

// The allocator of pixel storage: large blocks are faulted in as they are
// allocated, before the fill that follows writes them.
template <class T>
struct PrefaultingAllocator {
  using value_type = T;
  PrefaultingAllocator() = default;
  template <class U>
  PrefaultingAllocator(const PrefaultingAllocator<U>&) {}
  T* allocate(std::size_t n) {
    T* p = std::allocator<T>().allocate(n);
    if (n * sizeof(T) >= kPrefaultBytes) PrefaultForWriting(p, n * sizeof(T));
    return p;
  }
  void deallocate(T* p, std::size_t n) { std::allocator<T>().deallocate(p, n); }
  template <class U>
  bool operator==(const PrefaultingAllocator<U>&) const {
    return true;
  }
};

}  // namespace platform::gdi
