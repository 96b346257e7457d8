// The maker's credit printed under each effect picture, and the maker's
// details, kept here in one place (the notice label links to the same address).
#pragma once

#include <string>

#include "patterns/pattern_context.h"

namespace patterns {

inline constexpr const char* kMakerName = "澜帆";
inline constexpr const char* kMakerAddress = "https://lanfan.example.org";

// "2026-12-07 14:03:05": zero-padded, 24-hour, the form Chinese users read
// without ambiguity.
std::string FormatDateTime(const LocalDateTime& t);

// " 澜帆公元2026-12-07 14:03:05设计出品 https://lanfan.example.org"
std::string CreditLine(const LocalDateTime& t);

}  // namespace patterns
