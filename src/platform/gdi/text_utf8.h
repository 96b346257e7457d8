// UTF-8 decoding for the "A" text functions.
//
// Bad input never stops a caption from drawing: each maximal ill-formed
// subsequence becomes one U+FFFD, the way the Unicode standard recommends,
// so a truncated character costs one replacement mark and the text after it
// survives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::gdi {

constexpr char32_t kReplacementChar = 0xFFFD;

struct DecodedChar {
  char32_t cp;
  std::size_t byteOffset;  // where the character (or the bad sequence) starts
  std::size_t byteLength;
};

std::vector<DecodedChar> DecodeUtf8(std::string_view bytes);
std::u32string DecodeUtf8Text(std::string_view bytes);
// The same text as well-formed UTF-8, by the same rule: each maximal ill-formed subsequence
// becomes one U+FFFD, so an edit field and a caption show a bad string alike.
std::string RepairUtf8(std::string_view bytes);

// Byte count of a Win32 "A" call: a negative count means NUL-terminated.
std::string_view TextArgument(const char* text, int count);

}  // namespace platform::gdi
