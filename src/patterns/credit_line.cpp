#include "patterns/credit_line.h"

#include <cstdio>
#include <ctime>

namespace patterns {

LocalDateTime SystemLocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::string FormatDateTime(const LocalDateTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return buf;
}

std::string CreditLine(const LocalDateTime& t) {
  return std::string(" ") + kMakerName + "公元" + FormatDateTime(t) + "设计出品" + " " + kMakerAddress;
}

}  // namespace patterns
