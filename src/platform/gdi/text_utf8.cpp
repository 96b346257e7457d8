#include "platform/gdi/text_utf8.h"

#include <cstring>

namespace platform::gdi {
namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Valid range of the second byte after a lead byte; this is where overlong
// forms, surrogates and values above U+10FFFF are refused.
void SecondByteRange(unsigned char lead, unsigned char* lo, unsigned char* hi) {
  *lo = 0x80;
  *hi = 0xBF;
  if (lead == 0xE0) *lo = 0xA0;
  if (lead == 0xED) *hi = 0x9F;
  if (lead == 0xF0) *lo = 0x90;
  if (lead == 0xF4) *hi = 0x8F;
}

}  // namespace

std::vector<DecodedChar> DecodeUtf8(std::string_view bytes) {
  std::vector<DecodedChar> out;
  out.reserve(bytes.size());
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char lead = s[i];
    int need = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      out.push_back({lead, i, 1});
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      need = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      need = 2;
      cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      need = 3;
      cp = lead & 0x07;
    } else {
      out.push_back({kReplacementChar, i, 1});
      ++i;
      continue;
    }
    unsigned char lo = 0, hi = 0;
    SecondByteRange(lead, &lo, &hi);
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      const bool inRange = j < n && (k == 0 ? (s[j] >= lo && s[j] <= hi) : IsContinuation(s[j]));
      if (!inRange) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (s[j] & 0x3F);
    }
    if (ok) {
      out.push_back({cp, i, j - i});
    } else {
      // The maximal subpart (lead plus the continuation bytes that were
      // still acceptable) is one bad sequence.
      out.push_back({kReplacementChar, i, j - i});
    }
    i = j;
  }
  return out;
}

std::u32string DecodeUtf8Text(std::string_view bytes) {
  std::u32string out;
  for (const DecodedChar& c : DecodeUtf8(bytes)) out.push_back(c.cp);
  return out;
}

std::string RepairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const DecodedChar& c : DecodeUtf8(bytes)) {
    if (c.cp == kReplacementChar)
      out += "\xEF\xBF\xBD";
    else
      out.append(bytes.substr(c.byteOffset, c.byteLength));
  }
  return out;
}

std::string_view TextArgument(const char* text, int count) {
  if (text == nullptr) return {};
  if (count < 0) return std::string_view(text, std::strlen(text));
  return std::string_view(text, static_cast<std::size_t>(count));
}

}  // namespace platform::gdi
