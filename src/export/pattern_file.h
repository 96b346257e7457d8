// The file engine's one entry: a pattern, or the canvas's own pixels, as the
// bytes of a PNG, SVG, PDF or BMP file. The render command and the window's
// export both come here, so the same options give the same bytes from both.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "export/byte_sink.h"
#include "patterns/drawing_surface.h"
#include "patterns/pattern_code.h"
#include "patterns/picture.h"

namespace exporter {

enum class Format { kPng, kSvg, kPdf, kBmp };

// "png", "svg", "pdf", "bmp" in any case; nothing for any other name.
std::optional<Format> FormatNamed(std::string_view name);
// The lower-case name, which is also the file extension.
std::string_view FormatName(Format format);
bool IsRaster(Format format);

inline constexpr int kMaxTileSize = 32768;
inline constexpr int kMaxRepeat = 64;

struct TileOptions {
  Format format = Format::kPng;
  // A side of the tile: pixels for PNG and BMP; for SVG the nominal size in
  // px, for PDF in points.
  int size = 2048;
  // n x n copies of the tile, edge to edge from the top-left corner, as the
  // effect picture lays them (without its credit line).
  int repeat = 1;
  // The tile as a torus: curves that leave it come back in at the opposite
  // edge, so that its copies join without a seam.
  bool seamless = false;
};

// The pattern on a file canvas: its ordinary tile, or its seamless one.
void DrawTileOf(patterns::DrawingSurface& canvas, const patterns::PatternCode& code, bool seamless);

// What is wrong with the options, or nothing.
std::optional<std::string> ProblemWith(const TileOptions& options);

// The pattern drawn by the generators on a file canvas: antialiased pixels
// or vector paths. Throws std::invalid_argument for options ProblemWith
// refuses, the generators' RuntimeError for a pattern they cannot draw, and
// whatever the sink throws.
void WritePattern(const patterns::PatternCode& code, const TileOptions& options, ByteSink& sink);

// Pixels exactly as they are, repeat x repeat times, as PNG or BMP.
void WritePicture(const patterns::Picture& tile, Format format, int repeat, ByteSink& sink);

}  // namespace exporter
