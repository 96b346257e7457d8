// RECT compared and printed by its four edges, for EXPECT_EQ on rectangles
// and lists of them.
#pragma once

#include <ostream>

#include "platform/win32.h"

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
