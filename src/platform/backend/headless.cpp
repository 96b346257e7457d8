#include "platform/backend/headless.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/user/clock.h"

namespace platform::backend {

void HeadlessBackend::TopLevelChanged(HWND hwnd, const user::TopLevelState& state) {
  windows_[hwnd].state = state;
}

void HeadlessBackend::TopLevelDestroyed(HWND hwnd) { windows_.erase(hwnd); }

void HeadlessBackend::Present(HWND hwnd, const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) {
  Screen& s = windows_[hwnd];
  if (s.shown.width != pixels.width || s.shown.height != pixels.height) {
    // A new size: what was shown is gone, like a new window surface.
    s.shown = gdi::PixelBuffer(pixels.width, pixels.height);
  }
  for (const RECT& r : dirty) {
    const LONG left = std::max<LONG>(r.left, 0), right = std::min<LONG>(r.right, pixels.width);
    if (right <= left) continue;
    for (LONG y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, pixels.height); ++y)
      std::memcpy(s.shown.row(y) + left, pixels.row(y) + left, static_cast<std::size_t>(right - left) * 4);
  }
  ++s.presents;
  s.last.assign(dirty.begin(), dirty.end());
}

bool HeadlessBackend::WaitEvents(int timeoutMs) {
  // A long headless run keeps the recent waits only.
  if (waits_.size() >= kKeptWaits) waits_.erase(waits_.begin(), waits_.begin() + kKeptWaits / 2);
  waits_.push_back(timeoutMs);
  if (timeoutMs < 0) return false;  // no input will ever come
  if (timeoutMs == 0) return true;
  if (user::IsVirtualClock())
    user::AdvanceVirtualClock(static_cast<std::uint64_t>(timeoutMs));
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  return true;
}

const user::TopLevelState* HeadlessBackend::State(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second.state;
}

const gdi::PixelBuffer* HeadlessBackend::Shown(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() || it->second.presents == 0 ? nullptr : &it->second.shown;
}

int HeadlessBackend::PresentCount(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? 0 : it->second.presents;
}

std::vector<RECT> HeadlessBackend::LastPresent(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? std::vector<RECT>{} : it->second.last;
}

}  // namespace platform::backend

namespace platform::user {

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<backend::HeadlessBackend>(); }

}  // namespace platform::user
