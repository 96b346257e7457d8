// The file engine end to end: PNG and BMP pixels read back by independent
// readers, sizes, repeats, bands, the vector files as poppler and librsvg see
// them, and the same bytes every time.
#include "export/pattern_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "export/raster_encoders.h"
#include "export/raster_rows.h"
#include "patterns/runtime_error.h"
#include "runtime/save_picture.h"
#include "support/png_reader.h"
#include "support/tool_run.h"

namespace exporter {
namespace {

using hwf::test::DecodePng;

const patterns::PatternCode kCode{.drawing = 1,
                                  .amplitude = 80.0,
                                  .randoms = {0.3f, 0.55f, 0.8f, 0.6f},
                                  .line = 0x00204080,
                                  .background = 0x00E0F0FF};

std::vector<std::uint8_t> Write(const patterns::PatternCode& code, Format format, int size, int repeat = 1) {
  MemorySink sink;
  WritePattern(code, TileOptions{.format = format, .size = size, .repeat = repeat}, sink);
  return sink.bytes;
}

patterns::Picture Noise(int w, int h) {
  auto data = std::make_shared<patterns::PictureData>();
  data->width = w;
  data->height = h;
  std::uint32_t x = 12345;
  for (int i = 0; i < w * h; ++i) {
    x = x * 1103515245u + 12345u;
    data->pixels.push_back((x >> 8) & 0xFFFFFF);
  }
  return patterns::Picture(data);
}

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/hwf-export-test.XXXXXX";
    path_ = ::mkdtemp(tmpl);
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  std::string File(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string p = path_ + "/" + name;
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return p;
  }

 private:
  std::string path_;
};

TEST(PatternFile, PngHoldsEveryPixelExactly) {
  const patterns::Picture noise = Noise(37, 23);
  MemorySink sink;
  WritePicture(noise, Format::kPng, 1, sink);
  const auto d = DecodePng(sink.bytes);
  ASSERT_EQ(d.width, 37);
  ASSERT_EQ(d.height, 23);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(d.At(x, y), noise.PixelAt(x, y)) << x << "," << y;
}

TEST(PatternFile, BmpIsTheFileTheWindowSaves) {
  const patterns::Picture noise = Noise(37, 23);
  MemorySink sink;
  WritePicture(noise, Format::kBmp, 1, sink);
  EXPECT_EQ(sink.bytes, runtime::EncodeBmp24({noise.Pixels(), 37, 23}));
}

TEST(PatternFile, RepeatsLayTheTileEdgeToEdgeFromTheTopLeft) {
  const patterns::Picture noise = Noise(13, 13);
  MemorySink sink;
  WritePicture(noise, Format::kPng, 3, sink);
  const auto d = DecodePng(sink.bytes);
  ASSERT_EQ(d.width, 39);
  ASSERT_EQ(d.height, 39);
  for (int y = 0; y < 39; ++y)
    for (int x = 0; x < 39; ++x) ASSERT_EQ(d.At(x, y), noise.PixelAt(x % 13, y % 13)) << x << "," << y;

  // The same for a drawn pattern: every copy equal to the tile alone.
  const auto tile = DecodePng(Write(kCode, Format::kPng, 40));
  const auto four = DecodePng(Write(kCode, Format::kPng, 40, 2));
  ASSERT_EQ(four.width, 80);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 80; ++x) ASSERT_EQ(four.At(x, y), tile.At(x % 40, y % 40)) << x << "," << y;
}

TEST(PatternFile, PngSizesFollowSizeAndRepeat) {
  for (auto [size, repeat] : {std::pair{1, 1}, std::pair{64, 1}, std::pair{201, 1}, std::pair{100, 3}}) {
    const auto d = DecodePng(Write(kCode, Format::kPng, size, repeat));
    EXPECT_EQ(d.width, size * repeat);
    EXPECT_EQ(d.height, size * repeat);
  }
}

int Channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

TEST(PatternFile, APatternDrawnInPiecesIsThePatternDrawnAtOnce) {
  PatternRows whole(kCode, 300);
  ASSERT_EQ(whole.BandHeight(), 300);
  // Bands of 7 rows: the very same pixels, asked for bottom up (as the bitmap
  // writer asks) and then top down again.
  PatternRows bands(kCode, 300, false, 300 * 4 * 7);
  ASSERT_EQ(bands.BandHeight(), 7);
  // Pieces of at most 70 columns, as cairo's limit of 32767 pixels a side
  // cuts a tile of 32768: cairo works out the lines' edges within each piece
  // anew, which moves the antialiasing of about one ink pixel in a hundred by
  // a few levels, an invisible seam.
  PatternRows pieces(kCode, 300, false, 300 * 4 * 300, 70);
  int ink = 0, unlike = 0, most = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 300; ++i) {
      const int y = pass == 0 ? 299 - i : i;
      std::vector<std::uint32_t> a(whole.Row(y), whole.Row(y) + 300);
      const std::uint32_t* b = bands.Row(y);
      const std::uint32_t* c = pieces.Row(y);
      for (int x = 0; x < 300; ++x) {
        ink += (a[x] & 0xFFFFFF) != 0xFFF0E0;
        ASSERT_EQ(a[x] & 0xFFFFFF, b[x] & 0xFFFFFF) << x << "," << y;
        if ((a[x] & 0xFFFFFF) == (c[x] & 0xFFFFFF)) continue;
        ++unlike;
        for (int shift : {0, 8, 16})
          most = std::max(most, std::abs(Channel(a[x], shift) - Channel(c[x], shift)));
      }
    }
  }
  EXPECT_GT(ink, 2000);
  EXPECT_LE(unlike, ink / 50);
  EXPECT_LE(most, 16) << unlike << " pixels differ";
}

TEST(PatternFile, ImpossibleOptionsAreRefusedWithTheirReason) {
  EXPECT_EQ(*ProblemWith({.format = Format::kPng, .size = 0, .repeat = 1}),
            "the size must be between 1 and 32768, not 0");
  EXPECT_EQ(*ProblemWith({.format = Format::kSvg, .size = 32769, .repeat = 1}),
            "the size must be between 1 and 32768, not 32769");
  EXPECT_EQ(*ProblemWith({.format = Format::kPdf, .size = 10, .repeat = 65}),
            "the repeat must be between 1 and 64, not 65");
  EXPECT_FALSE(ProblemWith({.format = Format::kPdf, .size = 32768, .repeat = 64}).has_value());
  MemorySink sink;
  EXPECT_THROW(WritePattern(kCode, {.format = Format::kPng, .size = 0, .repeat = 1}, sink),
               std::invalid_argument);
  EXPECT_THROW(WritePicture(Noise(3, 3), Format::kSvg, 1, sink), std::invalid_argument);
  EXPECT_THROW(WritePicture(Noise(3, 3), Format::kPng, 0, sink), std::invalid_argument);
  EXPECT_TRUE(sink.bytes.empty());
  EXPECT_EQ(FormatNamed("PDF"), Format::kPdf);
  EXPECT_FALSE(FormatNamed("jpg").has_value());
}

TEST(PatternFile, APatternThatCannotBeDrawnRaisesTheGeneratorsError) {
  patterns::PatternCode huge = kCode;
  huge.amplitude = 1e300;
  for (Format f : {Format::kPng, Format::kSvg, Format::kPdf, Format::kBmp}) {
    MemorySink sink;
    try {
      WritePattern(huge, {.format = f, .size = 16, .repeat = 1}, sink);
      ADD_FAILURE() << FormatName(f) << " was written";
    } catch (const patterns::RuntimeError& e) {
      EXPECT_EQ(e.Number(), patterns::kErrOverflow);
    }
  }
}

TEST(PatternFile, TheSameOptionsGiveTheSameBytes) {
  for (Format f : {Format::kPng, Format::kSvg, Format::kPdf, Format::kBmp}) {
    const auto first = Write(kCode, f, 300, 2);
    Write(kCode, Format::kSvg, 50);  // cairo's counters move on in between
    Write(kCode, Format::kPdf, 50);
    EXPECT_EQ(Write(kCode, f, 300, 2), first) << FormatName(f);
  }
}

TEST(PatternFile, PdfIsOnePageOfTheNominalSize) {
  if (!hwf::test::HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo (poppler-utils) missing";
  TempDir dir;
  for (auto [size, repeat] : {std::pair{2048, 1}, std::pair{300, 4}}) {
    const std::string pdf = dir.File("t.pdf", Write(kCode, Format::kPdf, size, repeat));
    int status = 0;
    const std::string info = hwf::test::RunTool("pdfinfo '" + pdf + "' 2>&1", &status);
    ASSERT_EQ(status, 0) << info;
    const std::string side = std::to_string(size * repeat);
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+1\\n"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex("Page size:\\s+" + side + " x " + side + " pts"))) << info;
  }
}

TEST(PatternFile, SvgHasItsNominalSizeForLibrsvg) {
  if (!hwf::test::HaveTool("rsvg-convert")) GTEST_SKIP() << "rsvg-convert (librsvg2-bin) missing";
  TempDir dir;
  const std::string svg = dir.File("t.svg", Write(kCode, Format::kSvg, 120, 2));
  int status = 0;
  const std::string png = hwf::test::RunTool("rsvg-convert '" + svg + "'", &status);
  ASSERT_EQ(status, 0);
  const auto d = DecodePng(std::vector<std::uint8_t>(png.begin(), png.end()));
  EXPECT_EQ(d.width, 240);
  EXPECT_EQ(d.height, 240);
  // The four copies are alike and hold the pattern.
  int ink = 0, unlike = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 120; ++x) {
      ink += d.At(x, y) != 0xFFF0E0u;
      unlike += d.At(x, y) != d.At(x + 120, y) || d.At(x, y) != d.At(x, y + 120) ||
                d.At(x, y) != d.At(x + 120, y + 120);
    }
  }
  EXPECT_GT(ink, 1000);
  EXPECT_LT(unlike, 120 * 120 / 100);
}

}  // namespace
}  // namespace exporter
