#include "platform/backend/backend.h"

#include "platform/gdi/display.h"

namespace platform::backend {
namespace {

std::unique_ptr<Backend>& slot() {
  static std::unique_ptr<Backend> b;
  return b;
}

}  // namespace

void Attach(std::unique_ptr<Backend> backend) {
  slot() = std::move(backend);
  SIZE s = slot() ? slot()->ScreenSize() : SIZE{1280, 1024};
  gdi::SetDisplaySize(s.cx, s.cy);
}

Backend* Current() { return slot().get(); }

}  // namespace platform::backend
