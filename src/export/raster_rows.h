// Rows of pixels for the raster encoders, made on demand so that a tile of
// 32768 x 32768 pixels, or many copies of one, never has to be in memory at
// once. Pixels are 0x00RRGGBB, as in cairo's RGB24 and the canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "patterns/pattern_code.h"
#include "patterns/picture.h"

namespace exporter {

class RasterRows {
 public:
  virtual ~RasterRows() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Row y, 0 at the top, asked for in any order; valid until the next call.
  virtual const std::uint32_t* Row(int y) = 0;
};

// A pattern drawn antialiased by cairo, size x size pixels, its ordinary tile
// or its seamless one, in bands of rows
// that together take at most about band_bytes; a band is drawn when one of
// its rows is first asked for. cairo draws at most max_side pixels a side, so
// a wider band is drawn in pieces side by side.
class PatternRows final : public RasterRows {
 public:
  static constexpr std::size_t kBandBytes = 64u << 20;
  static constexpr int kCairoMaxSide = 32767;
  PatternRows(const patterns::PatternCode& code, int size, bool seamless = false,
              std::size_t band_bytes = kBandBytes, int max_side = kCairoMaxSide);

  int Width() const override { return size_; }
  int Height() const override { return size_; }
  const std::uint32_t* Row(int y) override;
  int BandHeight() const { return band_height_; }

 private:
  void DrawBand(int first);

  patterns::PatternCode code_;
  int size_;
  bool seamless_;
  int max_side_;
  int band_height_;
  int band_first_ = -1;
  std::vector<std::uint32_t> pixels_;
};

// The pixels of a picture as they are.
class PictureRows final : public RasterRows {
 public:
  explicit PictureRows(patterns::Picture picture) : picture_(std::move(picture)) {}
  int Width() const override { return picture_.Width(); }
  int Height() const override { return picture_.Height(); }
  const std::uint32_t* Row(int y) override;

 private:
  patterns::Picture picture_;
};

// n x n copies of a tile laid edge to edge from the top-left corner, as the
// effect picture lays them.
class RepeatedRows final : public RasterRows {
 public:
  RepeatedRows(RasterRows& tile, int n);
  int Width() const override { return tile_.Width() * n_; }
  int Height() const override { return tile_.Height() * n_; }
  const std::uint32_t* Row(int y) override;

 private:
  RasterRows& tile_;
  int n_;
  std::vector<std::uint32_t> row_;
};

}  // namespace exporter
