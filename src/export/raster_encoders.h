// The raster file formats, written row by row as the rows are made.
//   PNG: 8-bit RGB, one zlib stream cut into IDAT chunks.
//   BMP: uncompressed 24-bit, bottom row first, as the window saves.
#pragma once

#include "export/byte_sink.h"
#include "export/raster_rows.h"

namespace exporter {

void EncodePng(RasterRows& rows, ByteSink& sink);

// Throws ExportError when the file would not fit the format's 32-bit sizes.
void EncodeBmp(RasterRows& rows, ByteSink& sink);

}  // namespace exporter
