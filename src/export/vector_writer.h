// SVG and PDF through cairo's vector surfaces.
#pragma once

#include "export/byte_sink.h"
#include "export/pattern_file.h"

namespace exporter {

// options.format is kSvg or kPdf and the options are valid.
void WriteVector(const patterns::PatternCode& code, const TileOptions& options, ByteSink& sink);

}  // namespace exporter
