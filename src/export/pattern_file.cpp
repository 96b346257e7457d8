#include "export/pattern_file.h"

#include <stdexcept>

#include "export/raster_encoders.h"
#include "export/raster_rows.h"
#include "export/vector_writer.h"
#include "patterns/curve_pattern.h"
#include "patterns/seamless_surface.h"

namespace exporter {
namespace {

constexpr std::string_view kNames[] = {"png", "svg", "pdf", "bmp"};

void Encode(RasterRows& tile, Format format, int repeat, ByteSink& sink) {
  RepeatedRows rows(tile, repeat);
  if (format == Format::kBmp) {
    EncodeBmp(rows, sink);
  } else {
    EncodePng(rows, sink);
  }
}

void CheckRepeat(int repeat) {
  if (repeat < 1 || repeat > kMaxRepeat)
    throw std::invalid_argument("the repeat must be between 1 and " + std::to_string(kMaxRepeat));
}

}  // namespace

std::optional<Format> FormatNamed(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    if (lower == kNames[i]) return static_cast<Format>(i);
  }
  return std::nullopt;
}

std::string_view FormatName(Format format) { return kNames[static_cast<std::size_t>(format)]; }

bool IsRaster(Format format) { return format == Format::kPng || format == Format::kBmp; }

std::optional<std::string> ProblemWith(const TileOptions& options) {
  if (options.size < 1 || options.size > kMaxTileSize)
    return "the size must be between 1 and " + std::to_string(kMaxTileSize) + ", not " +
           std::to_string(options.size);
  if (options.repeat < 1 || options.repeat > kMaxRepeat)
    return "the repeat must be between 1 and " + std::to_string(kMaxRepeat) + ", not " +
           std::to_string(options.repeat);
  return std::nullopt;
}

void DrawTileOf(patterns::DrawingSurface& canvas, const patterns::PatternCode& code, bool seamless) {
  if (seamless) {
    patterns::DrawSeamlessPattern(canvas, code);
  } else {
    patterns::DrawPattern(canvas, code);
  }
}

void WritePattern(const patterns::PatternCode& code, const TileOptions& options, ByteSink& sink) {
  if (const auto problem = ProblemWith(options)) throw std::invalid_argument(*problem);
  if (IsRaster(options.format)) {
    PatternRows tile(code, options.size, options.seamless);
    Encode(tile, options.format, options.repeat, sink);
  } else {
    WriteVector(code, options, sink);
  }
}

void WritePicture(const patterns::Picture& tile, Format format, int repeat, ByteSink& sink) {
  if (!IsRaster(format)) throw std::invalid_argument("pixels are written as png or bmp");
  if (tile.IsEmpty()) throw std::invalid_argument("the picture has no pixels");
  CheckRepeat(repeat);
  PictureRows rows(tile);
  Encode(rows, format, repeat, sink);
}

}  // namespace exporter
