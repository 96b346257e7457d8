// The screen with no display: what the layer runs on in tests and when
// pictures are drawn for files. It keeps what the window manager told it
// and a copy of every pixel it was asked to show, so tests can check that
// what changed reached the "screen". Waiting never blocks on input: it
// sleeps until the next timer (jumps there under the virtual clock) and
// reports that nothing can arrive when no timer is running.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/gdi/display.h"
#include "platform/user/backend.h"

namespace platform::backend {

class HeadlessBackend final : public user::Backend {
 public:
  explicit HeadlessBackend(SIZE screen = SIZE{gdi::kHeadlessScreenWidth, gdi::kHeadlessScreenHeight})
      : screen_(screen) {}

  void TopLevelChanged(HWND hwnd, const user::TopLevelState& state) override;
  void TopLevelDestroyed(HWND hwnd) override;
  void Present(HWND hwnd, const gdi::PixelBuffer& pixels, std::span<const RECT> dirty) override;
  void SetCursorShape(user::CursorShape shape) override { cursor_ = shape; }
  void PumpEvents() override {}
  bool WaitEvents(int timeoutMs) override;
  SIZE ScreenSize() const override { return screen_; }
  std::string ClipboardText() const override { return clipboard_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }

  // --- what a test reads back ---

  // The last state told for a live top-level window (nullptr: none).
  const user::TopLevelState* State(HWND hwnd) const;
  // The window's pixels as presented so far (nullptr: never presented).
  const gdi::PixelBuffer* Shown(HWND hwnd) const;
  int PresentCount(HWND hwnd) const;
  // The rectangles of the window's last present.
  std::vector<RECT> LastPresent(HWND hwnd) const;
  user::CursorShape Cursor() const { return cursor_; }
  // The timeout of every wait so far (-1: until input), the last
  // kKeptWaits / 2 at least.
  static constexpr std::size_t kKeptWaits = 4096;
  const std::vector<int>& Waits() const { return waits_; }

 private:
  struct Screen {
    user::TopLevelState state;
    gdi::PixelBuffer shown;
    int presents = 0;
    std::vector<RECT> last;
  };

  SIZE screen_;
  std::map<HWND, Screen> windows_;
  std::string clipboard_;
  user::CursorShape cursor_ = user::CursorShape::Arrow;
  std::vector<int> waits_;
};

}  // namespace platform::backend
