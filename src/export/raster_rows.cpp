#include "export/raster_rows.h"

#include <cairo.h>

#include <algorithm>

#include "export/cairo_canvas.h"
#include "export/cairo_handles.h"
#include "export/export_error.h"
#include "export/pattern_file.h"
#include "patterns/curve_pattern.h"

namespace exporter {

PatternRows::PatternRows(const patterns::PatternCode& code, int size, bool seamless, std::size_t band_bytes,
                         int max_side)
    : code_(code), size_(size), seamless_(seamless), max_side_(max_side) {
  const std::size_t row_bytes = static_cast<std::size_t>(size) * 4;
  band_height_ = static_cast<int>(
      std::clamp<std::size_t>(band_bytes / row_bytes, 1, static_cast<std::size_t>(std::min(size, max_side))));
  pixels_.resize(static_cast<std::size_t>(size) * band_height_);
}

void PatternRows::DrawBand(int first) {
  const int rows = std::min(band_height_, size_ - first);
  band_first_ = -1;  // a band left half drawn by an error is not kept
  for (int left = 0; left < size_; left += max_side_) {
    const int width = std::min(max_side_, size_ - left);
    Surface surface(cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels_.data() + left), CAIRO_FORMAT_RGB24, width, rows, size_ * 4));
    Context cr(cairo_create(surface.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
      throw ExportError(std::string("cairo cannot draw: ") + cairo_status_to_string(cairo_status(cr.get())));
    // The piece is a window onto the whole tile: the tile moves, not the curves.
    cairo_translate(cr.get(), -left, -first);
    {
      CairoCanvas canvas(cr.get(), size_, code_.background);
      DrawTileOf(canvas, code_, seamless_);
      canvas.Flush();
    }
    cairo_surface_flush(surface.get());
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
      throw ExportError(std::string("cairo cannot draw: ") + cairo_status_to_string(cairo_status(cr.get())));
  }
  band_first_ = first;
}

const std::uint32_t* PatternRows::Row(int y) {
  if (band_first_ < 0 || y < band_first_ || y >= band_first_ + band_height_) DrawBand(y - y % band_height_);
  return pixels_.data() + static_cast<std::size_t>(y - band_first_) * size_;
}

const std::uint32_t* PictureRows::Row(int y) {
  return picture_.Pixels().data() + static_cast<std::size_t>(y) * picture_.Width();
}

RepeatedRows::RepeatedRows(RasterRows& tile, int n) : tile_(tile), n_(n) {
  if (n_ > 1) row_.resize(static_cast<std::size_t>(tile_.Width()) * n_);
}

const std::uint32_t* RepeatedRows::Row(int y) {
  const std::uint32_t* src = tile_.Row(y % tile_.Height());
  if (n_ == 1) return src;
  const std::size_t w = static_cast<std::size_t>(tile_.Width());
  for (int i = 0; i < n_; ++i) std::copy_n(src, w, row_.data() + i * w);
  return row_.data();
}

}  // namespace exporter
