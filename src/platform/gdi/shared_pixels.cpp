#include "platform/gdi/shared_pixels.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <atomic>
#include <map>
#include <mutex>

namespace platform::gdi {
namespace {

// Windows may be built on one thread while another starts the display.
struct Segments {
  std::mutex mutex;
  std::map<const void*, int> ids;
};

Segments& segments() {
  static Segments s;
  return s;
}

std::atomic<bool> g_forScreens{false};

}  // namespace

void UseSharedPixelsForScreens(bool use) { g_forScreens = use; }
bool SharedPixelsForScreens() { return g_forScreens; }

void* AllocateSharedPixels(std::size_t bytes) {
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return nullptr;
  void* p = shmat(id, nullptr, 0);
  // Marked now: Linux still lets the X server attach it, and no segment is
  // left behind if the program ends without cleaning up.
  shmctl(id, IPC_RMID, nullptr);
  if (p == reinterpret_cast<void*>(-1)) return nullptr;
  std::lock_guard lock(segments().mutex);
  segments().ids[p] = id;
  return p;
}

bool FreeSharedPixels(void* p) {
  {
    std::lock_guard lock(segments().mutex);
    if (segments().ids.erase(p) == 0) return false;
  }
  shmdt(p);
  return true;
}

std::optional<int> SharedPixelsId(const void* p) {
  std::lock_guard lock(segments().mutex);
  auto it = segments().ids.find(p);
  if (it == segments().ids.end()) return std::nullopt;
  return it->second;
}

}  // namespace platform::gdi
