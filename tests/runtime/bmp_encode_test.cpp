#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "runtime/save_picture.h"
#include "support/bmp_reader.h"

namespace runtime {
namespace {

using hwf::test::DecodeBmp24;
using hwf::test::Le32;

TEST(BmpEncode, HeaderFieldsByteByByte) {
  const std::vector<std::uint32_t> px(2 * 2, 0);
  const auto b = EncodeBmp24({px, 2, 2});
  // 2 pixels * 3 bytes = 6, padded to 8; two rows; 54 bytes of headers.
  // clang-format off
  const std::array<std::uint8_t, 54> expected{
      'B', 'M', 70, 0, 0, 0,  // bfType, bfSize
      0, 0, 0, 0,             // reserved
      54, 0, 0, 0,            // bfOffBits
      40, 0, 0, 0,            // biSize
      2, 0, 0, 0,             // biWidth
      2, 0, 0, 0,             // biHeight, positive: bottom-up
      1, 0,                   // biPlanes
      24, 0,                  // biBitCount
      0, 0, 0, 0,             // BI_RGB
      16, 0, 0, 0,            // biSizeImage
      0xC4, 0x0E, 0, 0,       // 3780 px/m = 96 dpi
      0xC4, 0x0E, 0, 0,       //
      0, 0, 0, 0,             // biClrUsed
      0, 0, 0, 0,             // biClrImportant
  };
  // clang-format on
  ASSERT_EQ(b.size(), 70u);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(b[i], expected[i]) << "header byte " << i;
}

TEST(BmpEncode, RowStrideIsPaddedToFourBytes) {
  EXPECT_EQ(BmpRowStride(1), 4u);
  EXPECT_EQ(BmpRowStride(2), 8u);
  EXPECT_EQ(BmpRowStride(3), 12u);
  EXPECT_EQ(BmpRowStride(4), 12u);
  EXPECT_EQ(BmpRowStride(5), 16u);
  // The effect picture: 737 * 3 = 2211 bytes, one byte of padding.
  EXPECT_EQ(BmpRowStride(737), 2212u);

  const std::vector<std::uint32_t> px(737 * 709, 0x00FF8080);
  const auto b = EncodeBmp24({px, 737, 709});
  EXPECT_EQ(b.size(), 54u + 2212u * 709u);
  EXPECT_EQ(Le32(b, 2), b.size());
  EXPECT_EQ(Le32(b, 34), 2212u * 709u);
  // The padding byte of every row is zero, the pixels are B, G, R.
  for (std::size_t row = 0; row < 709; ++row) {
    const std::size_t at = 54 + row * 2212;
    ASSERT_EQ(b[at], 0x80) << row;
    ASSERT_EQ(b[at + 1], 0x80) << row;
    ASSERT_EQ(b[at + 2], 0xFF) << row;
    ASSERT_EQ(b[at + 2211], 0) << row;
  }
}

TEST(BmpEncode, BottomRowFirstInBlueGreenRedOrder) {
  // Top row: red, green, blue. Bottom row: white, black, 0x123456.
  const std::vector<std::uint32_t> px{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x123456};
  const auto b = EncodeBmp24({px, 3, 2});
  ASSERT_EQ(b.size(), 54u + 12u * 2u);
  const std::vector<std::uint8_t> data(b.begin() + 54, b.end());
  // clang-format off
  const std::vector<std::uint8_t> expected{
      0xFF, 0xFF, 0xFF, 0, 0, 0, 0x56, 0x34, 0x12, 0, 0, 0,  // bottom row
      0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0,           // top row
  };
  // clang-format on
  EXPECT_EQ(data, expected);
}

TEST(BmpEncode, RoundTripThroughAnIndependentReader) {
  std::mt19937 gen(7);
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {5, 3}, {201, 201}, {737, 709}}) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    for (auto& p : px) p = gen() & 0x00FFFFFF;
    const auto decoded = DecodeBmp24(EncodeBmp24({px, w, h}));
    ASSERT_TRUE(decoded.has_value()) << w << "x" << h;
    EXPECT_EQ(decoded->width, w);
    EXPECT_EQ(decoded->height, h);
    EXPECT_EQ(decoded->pixels, px) << w << "x" << h;
  }
}

TEST(BmpEncode, UnusedTopByteOfAPixelIsIgnored) {
  const std::vector<std::uint32_t> px{0xFF102030, 0xAB405060};
  const auto decoded = DecodeBmp24(EncodeBmp24({px, 2, 1}));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->pixels, (std::vector<std::uint32_t>{0x102030, 0x405060}));
}

TEST(BmpEncode, RefusesSizesThatDoNotMatch) {
  const std::vector<std::uint32_t> px(6, 0);
  EXPECT_THROW(EncodeBmp24({px, 4, 2}), std::invalid_argument);
  EXPECT_THROW(EncodeBmp24({px, 2, 2}), std::invalid_argument);
  EXPECT_THROW(EncodeBmp24({px, 0, 6}), std::invalid_argument);
  EXPECT_THROW(EncodeBmp24({px, -3, -2}), std::invalid_argument);
  EXPECT_THROW(EncodeBmp24({{}, 0, 0}), std::invalid_argument);
}

}  // namespace
}  // namespace runtime
