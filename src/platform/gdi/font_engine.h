// The font engine: a LOGFONTA realised as a FreeType face at a pixel size,
// its Win32 text metrics, and a cache of rendered glyphs.
//
// Realised fonts are shared: every HFONT with the same LOGFONTA uses one
// RealizedFont, which lives until DropFontCaches (tests only) or the end of
// the process. The engine is used from the GUI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/font_resolve.h"
#include "platform/win32/base.h"
#include "platform/win32/gdi_text.h"

namespace platform::gdi {

struct GlyphImage {
  int advance = 0;  // pixels the pen moves after this glyph
  int left = 0;     // bitmap's left edge relative to the pen
  int top = 0;      // rows of the bitmap above the baseline
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, 0..255
};

struct FontMetrics {
  int height = 0;  // ascent + descent: the text cell
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int weight = FW_NORMAL;
  int underlineOffset = 1;  // rows below the baseline where the underline starts
  int underlineThickness = 1;
  int strikeoutOffset = 0;  // rows above the baseline where the strike-out starts
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool fixedPitch = false;
};

class RealizedFont {
 public:
  virtual ~RealizedFont() = default;
  virtual const FontMetrics& Metrics() const = 0;
  // The rendered glyph of a code point, from this face, the fallback face
  // of the other script, or this face's missing-glyph box, in that order.
  // Control characters have no ink and no width. The reference stays valid
  // until DropFontCaches.
  virtual const GlyphImage& Glyph(char32_t cp) = 0;
  int Advance(char32_t cp) { return Glyph(cp).advance; }
  // The file the face was loaded from ("" when no font could be found).
  virtual const FontFile& File() const = 0;
  // True when weight >= FW_SEMIBOLD was asked for but the file is not bold.
  virtual bool SyntheticBold() const = 0;
  // True when the glyph comes from the primary face (not from a fallback).
  virtual bool HasOwnGlyph(char32_t cp) = 0;
};

// Never nullptr: a font that could not be found realises with metrics from
// its height but no glyph ink, so text draws as nothing instead of failing.
RealizedFont* RealizeFont(const LOGFONTA& lf);

// The font behind an HFONT; a stale or null handle gives the stock
// SYSTEM_FONT, as a DC without a selected font would.
RealizedFont* RealizeFontHandle(HFONT font);

// Forgets every realised font and glyph (after the font lookup changed).
void DropFontCaches();

}  // namespace platform::gdi
