// The file types the window exports patterns as: one row each, in the order
// the save dialog lists them. Every file is the same size whatever it holds,
// one tile or a sheet of copies: the tile shrinks to fit.
#pragma once

#include <span>
#include <string>

#include "export/pattern_file.h"

namespace app {

struct ExportType {
  const char* description;  // the save dialog's text for it
  const char* extension;    // lower case, without the dot
  exporter::Format format;
  // A side of the whole file: pixels for PNG, px for SVG, points for PDF.
  int side;
  // The seamless tile, whose copies join without a cut.
  bool seamless = false;
};

inline constexpr ExportType kExportTypes[] = {
    {"PNG 图像 4096×4096 (*.png)", "png", exporter::Format::kPng, 4096},
    {"SVG 矢量图 (*.svg)", "svg", exporter::Format::kSvg, 4096},
    {"PDF 矢量图 (*.pdf)", "pdf", exporter::Format::kPdf, 4096},
    {"PNG 无缝图块 4096×4096 (*.png)", "png", exporter::Format::kPng, 4096, true},
};

// The common dialog's Filter for the table: "description|*.ext|...".
std::string ExportFilter(std::span<const ExportType> types = kExportTypes);

// The type a file is written as: the type chosen in the dialog (1-based),
// unless the name ends in the extension of another type, which then wins, so
// "图案.svg" is an SVG whatever the dialog showed.
const ExportType& ExportTypeFor(const std::string& path, int filter_index,
                                std::span<const ExportType> types = kExportTypes);

// The file engine's options for repeat x repeat copies of the tile filling
// a file of the type's side; the tile is seamless when asked for or when the
// type is the seamless one.
exporter::TileOptions ExportOptions(const ExportType& type, int repeat, bool seamless = false);

}  // namespace app
