#include "platform/backend/display_scale.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform::backend {

std::optional<int> ParseScale(const char* text) {
  if (!text) return std::nullopt;
  while (*text == ' ' || *text == '\t') ++text;
  if (*text < '0' || *text > '9') return std::nullopt;  // no sign, no empty value
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || v < 1) return std::nullopt;
  if (errno == ERANGE) return kMaxDisplayScale;
  return static_cast<int>(std::min<long>(v, kMaxDisplayScale));
}

std::optional<double> XftDpiIn(std::string_view resources) {
  constexpr std::string_view kName = "Xft.dpi";
  std::size_t start = 0;
  while (start < resources.size()) {
    std::size_t end = resources.find('\n', start);
    if (end == std::string_view::npos) end = resources.size();
    std::string_view line = resources.substr(start, end - start);
    start = end + 1;
    if (line.substr(0, kName.size()) != kName) continue;
    line.remove_prefix(kName.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.front() != ':') continue;  // another resource, e.g. "Xft.dpiX"
    const std::string value(line.substr(1));
    char* after = nullptr;
    const double dpi = std::strtod(value.c_str(), &after);
    if (after == value.c_str() || !(dpi > 0.0)) return std::nullopt;
    return dpi;
  }
  return std::nullopt;
}

}  // namespace platform::backend
