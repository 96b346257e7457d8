#include "platform/backend/video_driver.h"

#include <strings.h>

#include <string_view>

namespace platform::backend {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool Named(std::string_view list, std::string_view name) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    if (SameName(list.substr(0, comma), name)) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

bool ScreenIsVisible(const char* driver, const char* requested) {
  if (!driver) return false;
  if (!SameName(driver, "offscreen") && !SameName(driver, "dummy")) return true;
  return requested && Named(requested, driver);
}

}  // namespace platform::backend
