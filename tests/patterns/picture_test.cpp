#include "patterns/picture.h"

#include <gtest/gtest.h>

namespace patterns {
namespace {

TEST(Picture, SolidPicturesAndBoundsSafeReads) {
  const Picture p = Picture::Solid(3, 2, 0x00563412);  // a colour: red 0x12 in the low byte
  EXPECT_FALSE(p.IsEmpty());
  EXPECT_EQ(p.Width(), 3);
  EXPECT_EQ(p.Height(), 2);
  EXPECT_EQ(p.Pixels().size(), 6u);
  EXPECT_EQ(p.PixelAt(2, 1), 0x00123456u);  // a pixel: red 0x12 in the third byte
  EXPECT_EQ(p.PixelAt(3, 0), 0u);
  EXPECT_EQ(p.PixelAt(0, -1), 0u);
  EXPECT_TRUE(Picture::Solid(0, 5, 1).IsEmpty());
  EXPECT_TRUE(Picture().IsEmpty());
  EXPECT_TRUE(Picture().Pixels().empty());
}

TEST(Picture, PixelsSwapRedAndBlueAgainstColours) {
  EXPECT_EQ(PixelFromColour(0x0000FF), 0xFF0000u);  // pure red
  EXPECT_EQ(PixelFromColour(0x80FF40), 0x40FF80u);
  EXPECT_EQ(ColourFromPixel(0x40FF80u), 0x80FF40);
  EXPECT_EQ(PixelFromColour(0x7F000000), 0u) << "the top byte is not a pixel channel";
}

TEST(Picture, CopiesShareTheBlockAndIdentityIsNotEquality) {
  const Picture a = Picture::Solid(2, 2, 7);
  const Picture b = a;
  const Picture c = Picture::Solid(2, 2, 7);
  EXPECT_TRUE(a.SameImageAs(b));
  EXPECT_FALSE(a.SameImageAs(c));
  EXPECT_FALSE(Picture().SameImageAs(Picture()));
}

TEST(Picture, BlockWhoseSizeDisagreesWithItsPixelsIsRefused) {
  auto bad = std::make_shared<PictureData>();
  bad->width = 4;
  bad->height = 4;
  bad->pixels.assign(15, 0);
  EXPECT_TRUE(Picture(bad).IsEmpty());
  EXPECT_EQ(Picture(bad).PixelAt(3, 3), 0u);
}

}  // namespace
}  // namespace patterns
