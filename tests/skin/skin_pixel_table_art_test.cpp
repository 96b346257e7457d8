// The colours of the five skin pictures: fixed rows, outlines, gradients and their directions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/skin_pixel_table.h"
#include "skin_table_view.h"

namespace {

using skintest::Brightness;
using skintest::ChannelDistance;
using skintest::kKey;
using skintest::Saturation;
using skintest::TableView;

const TableView& View() {
  static const TableView view;
  return view;
}
std::uint32_t Button(int frame, int x, int y) { return View().At(skin::ButtonSkinBitmap, x, 21 * frame + y); }
std::uint32_t Combo(int x, int y) { return View().At(skin::ComboSkinBitmap, x, y); }
std::uint32_t Mark(int x, int y) { return View().At(skin::MarkSkinBitmap, x, y); }
std::uint32_t Box(int frame, int x, int y) { return View().At(skin::BoxSkinBitmap, x, 13 * frame + y); }
std::uint32_t Header(int x, int y) { return View().At(skin::HeaderSkinBitmap, x, y); }

// Darkening steps may repeat a colour but never go back to a lighter one.
template <class F>
void ExpectDarkeningDown(F colour, int first, int last, const char* what) {
  for (int y = first; y < last; ++y)
    EXPECT_GE(Brightness(colour(y)), Brightness(colour(y + 1))) << what << " row " << y;
  EXPECT_GT(Brightness(colour(first)), Brightness(colour(last))) << what;
}

TEST(ButtonSkinArt, NormalFrameKeepsItsGivenRows) {
  const std::vector<std::pair<int, std::vector<std::uint32_t>>> rows = {
      {0, {0x00F9E1BF, 0x00E3B36B, 0x00D8972C, 0x00D58F1B, 0x00D8972C, 0x00E3B36B, 0x00F9E1BF}},
      {1, {0x00E2B269, 0x00E7C07E, 0x00FBF3E7, 0x00FFFFFF, 0x00FBF3E7, 0x00E7C07E, 0x00E2B269}},
      {3, {0x00D58F1B, 0x00FDFAF5, 0x00FCF8F1, 0x00FCF8F1, 0x00FCF8F1, 0x00FDFAF5, 0x00D58F1B}},
      {17, {0x00D58F1B, 0x00F0DEC9, 0x00EAD0B1, 0x00EAD0B1, 0x00EAD0B1, 0x00F0DEC9, 0x00D58F1B}},
      {20, {0x00FBE7CA, 0x00E1AE60, 0x00D8962A, 0x00D58F1B, 0x00D8962A, 0x00E1AE60, 0x00FBE7CA}},
  };
  for (const auto& [y, colours] : rows)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(Button(0, x, y), colours[x]) << "row " << y << " x " << x;
}

TEST(ButtonSkinArt, FramesAreOutlinedAndMirrorLeftToRight) {
  const std::uint32_t outline[4] = {0x00D58F1B, 0x00D58F1B, 0x00D58F1B, 0x00E8C387};
  for (int f = 0; f < 4; ++f) {
    for (int y = 3; y <= 17; ++y) {
      EXPECT_EQ(Button(f, 0, y), outline[f]) << "frame " << f << " row " << y;
      EXPECT_EQ(Button(f, 6, y), outline[f]) << "frame " << f << " row " << y;
    }
    EXPECT_EQ(Button(f, 3, 0), outline[f]) << "frame " << f;
    EXPECT_EQ(Button(f, 3, 20), outline[f]) << "frame " << f;
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_LE(ChannelDistance(Button(f, x, y), Button(f, 6 - x, y)), 7)
            << "frame " << f << " row " << y << " x " << x;
  }
}

TEST(ButtonSkinArt, FacesShadeAsTheirStatesDemand) {
  // Normal: white at the top running down to the light blue of row 17.
  EXPECT_EQ(Button(0, 3, 1), 0x00FFFFFFu);
  ExpectDarkeningDown([](int y) { return Button(0, 3, y); }, 1, 17, "normal centre");

  // Hover: strong blue beside the outline at mid-height, a light centre between.
  EXPECT_EQ(Button(1, 1, 10), 0x00FBC34Cu);
  EXPECT_EQ(Button(1, 5, 10), 0x00FBC34Cu);
  for (int y = 3; y <= 17; ++y) {
    EXPECT_GT(Brightness(Button(1, 3, y)), Brightness(Button(1, 1, y))) << "hover row " << y;
    EXPECT_GE(Brightness(Button(1, 1, y)), Brightness(Button(1, 1, 10))) << "hover row " << y;
  }

  // Pressed: deep blue sides from the top, the face lightening downwards.
  EXPECT_EQ(Button(2, 1, 3), 0x00F9B731u);
  EXPECT_EQ(Button(2, 5, 3), 0x00F9B731u);
  for (int y = 3; y < 18; ++y) {
    if (y < 17) {  // row 18 of the side column belongs to the rounded corner
      EXPECT_LE(Brightness(Button(2, 1, y)), Brightness(Button(2, 1, y + 1))) << "pressed side row " << y;
    }
    EXPECT_LE(Brightness(Button(2, 3, y)), Brightness(Button(2, 3, y + 1))) << "pressed centre row " << y;
  }
  EXPECT_LT(Brightness(Button(2, 3, 2)), Brightness(Button(2, 3, 18)));

  // Disabled: an almost white face.
  for (int y = 2; y <= 18; ++y)
    for (int x = 1; x <= 5; ++x)
      EXPECT_GE(Brightness(Button(3, x, y)), 3 * 0xE6) << "disabled " << x << "," << y;
}

TEST(ComboSkinArt, FacesAreOutlinedGradientsMirroredAboutRowNine) {
  for (int y = 0; y < 18; ++y) {
    EXPECT_EQ(Combo(0, y), 0x00D1A04Eu) << "hover outline row " << y;
    EXPECT_EQ(Combo(4, y), 0x00D1A04Eu) << "pressed outline row " << y;
    EXPECT_EQ(Combo(1, y), Combo(3, y)) << "hover sides row " << y;
    EXPECT_EQ(Combo(5, y), Combo(7, y)) << "pressed sides row " << y;
    EXPECT_GT(Saturation(Combo(2, y)), Saturation(Combo(1, y))) << "hover middle row " << y;
    EXPECT_GT(Saturation(Combo(6, y)), Saturation(Combo(5, y))) << "pressed middle row " << y;
  }
  for (int x0 : {1, 5}) {
    EXPECT_EQ(Combo(x0, 9), 0x00F9EDD3u);
    EXPECT_EQ(Combo(x0 + 1, 9), 0x00EFD191u);
    EXPECT_EQ(Combo(x0 + 2, 9), 0x00F9EDD3u);
  }
  for (int x : {1, 2}) {
    ExpectDarkeningDown([x](int y) { return Combo(x, y); }, 0, 17, "hover");
    ExpectDarkeningDown([x](int y) { return Combo(x + 4, 17 - y); }, 0, 17, "pressed, read upwards");
  }
}

TEST(MarkSkinArt, GlyphRowsEachHaveOneColourDarkeningDownwards) {
  // Every inked pixel of a glyph row shares the row's colour.
  auto row_colour = [](int x0, int x1, int y) {
    std::uint32_t colour = kKey;
    for (int x = x0; x <= x1; ++x) {
      const std::uint32_t c = Mark(x, y);
      if (c == kKey) continue;
      if (colour == kKey) colour = c;
      EXPECT_EQ(c, colour) << "pixel " << x << "," << y;
    }
    return colour;
  };
  for (int dx : {0, 9}) {
    ExpectDarkeningDown([&](int y) { return row_colour(dx, dx + 8, y); }, 0, 7, "check mark");
    ExpectDarkeningDown([&](int y) { return row_colour(dx + 1, dx + 7, 9 + y); }, 0, 6, "square");
  }
  EXPECT_EQ(row_colour(0, 8, 0), 0x001DB754u);
  EXPECT_EQ(row_colour(0, 8, 7), 0x00029135u);
  EXPECT_EQ(row_colour(9, 17, 0), 0x008CDAA8u);
  EXPECT_EQ(row_colour(9, 17, 7), 0x007EC798u);
  EXPECT_EQ(row_colour(1, 7, 9), 0x001BB451u);
  EXPECT_EQ(row_colour(1, 7, 15), 0x00069639u);
  for (int y = 9; y < 16; ++y) {
    const std::uint32_t enabled = row_colour(1, 7, y), disabled = row_colour(10, 16, y);
    EXPECT_GT(Brightness(disabled), Brightness(enabled)) << "disabled square row " << y;
    EXPECT_GT(skintest::Green(disabled), skintest::Red(disabled)) << "still green, row " << y;
  }
}

TEST(MarkSkinArt, OptionDotsFadeTheirRimTowardsTheBackground) {
  // Each rim pixel is lighter than the fully inked pixel next to it on the way to the centre.
  const struct {
    int x, y, in_x, in_y;
  } rim[] = {{0, 2, 1, 2}, {4, 2, 3, 2}, {2, 0, 2, 1}, {2, 4, 2, 3},
             {1, 0, 1, 1}, {0, 3, 1, 3}, {3, 4, 3, 3}, {4, 1, 3, 1}};
  for (int dx : {2, 11}) {
    for (const auto& r : rim)
      EXPECT_GT(Brightness(Mark(dx + r.x, 18 + r.y)), Brightness(Mark(dx + r.in_x, 18 + r.in_y)))
          << "rim " << r.x << "," << r.y << " of the dot at x " << dx;
  }
}

TEST(BoxSkinArt, RingsReachTheirStatedDarkestShade) {
  struct Ring {
    int frame;
    std::uint32_t light, darkest;
  };
  for (const Ring& r : {Ring{0, 0x00E7CFBC, 0x00D2A683}, Ring{1, 0x00E7CFBC, 0x00D2A683},
                        Ring{2, 0, 0x00C18964}, Ring{3, 0x00F3E7DD, 0x00E8D2C1}}) {
    bool has_light = r.light == 0, has_darkest = false;
    for (int y = 0; y < 13; ++y) {
      for (int x = 0; x < 13; ++x) {
        const std::uint32_t c = Box(r.frame, x, y);
        if (c == kKey) continue;
        has_light |= c == r.light;
        has_darkest |= c == r.darkest;
        EXPECT_GE(Brightness(c), Brightness(r.darkest)) << "frame " << r.frame << " " << x << "," << y;
      }
    }
    EXPECT_TRUE(has_light) << "frame " << r.frame;
    EXPECT_TRUE(has_darkest) << "frame " << r.frame;
    // The ring darkens outwards: the outermost pixel of the middle row is its darker side.
    EXPECT_LT(Brightness(Box(r.frame, 0, 6)), Brightness(Box(r.frame, 1, 6))) << "frame " << r.frame;
  }
  EXPECT_EQ(Box(0, 6, 6), 0x00FFFFFFu);
  EXPECT_EQ(Box(3, 6, 6), 0x00FFFFFFu);
}

// Where a gradient's two named end colours sit decides its direction.
void ExpectGradientAlong(int frame, std::uint32_t from, std::uint32_t to, int (*axis)(int, int)) {
  int from_max = -100, to_min = 100;
  bool seen_from = false, seen_to = false;
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 13; ++x) {
      const std::uint32_t c = Box(frame, x, y);
      if (c == from) {
        seen_from = true;
        from_max = std::max(from_max, axis(x, y));
      }
      if (c == to) {
        seen_to = true;
        to_min = std::min(to_min, axis(x, y));
      }
    }
  }
  EXPECT_TRUE(seen_from && seen_to) << "frame " << frame;
  EXPECT_LT(from_max, to_min) << "frame " << frame;
}

TEST(BoxSkinArt, HoverAndPressedInteriorsRunDiagonally) {
  // Hover: top left to bottom right. Pressed: bottom left to top right.
  ExpectGradientAlong(1, 0x00F8EAC3, 0x00FDF5E1, [](int x, int y) { return x + y; });
  ExpectGradientAlong(2, 0x00F5E1AD, 0x00FDF1D5, [](int x, int y) { return x - y; });
  EXPECT_LT(Brightness(Box(1, 4, 4)), Brightness(Box(1, 8, 8)));
  EXPECT_LT(Brightness(Box(2, 4, 8)), Brightness(Box(2, 8, 4)));
}

// The strips that a check square stretches over its inside hold only the interior's gradient,
// also at their ends, where the circle's ring would otherwise be: every channel of every strip
// pixel lies between the gradient's two named end colours.
TEST(BoxSkinArt, CheckSquareStripsHoldOnlyInteriorColours) {
  const struct {
    int frame;
    std::uint32_t from, to;
  } strips[] = {{1, 0x00F8EAC3, 0x00FDF5E1}, {2, 0x00F5E1AD, 0x00FDF1D5}};
  using Channel = int (*)(std::uint32_t);
  for (const auto& s : strips) {
    for (int y = 4; y <= 8; ++y) {
      for (int x = 1; x <= 11; ++x) {
        const std::uint32_t c = Box(s.frame, x, y);
        for (Channel ch : {Channel{skintest::Red}, Channel{skintest::Green}, Channel{skintest::Blue}}) {
          EXPECT_GE(ch(c), std::min(ch(s.from), ch(s.to))) << "frame " << s.frame << " " << x << "," << y;
          EXPECT_LE(ch(c), std::max(ch(s.from), ch(s.to))) << "frame " << s.frame << " " << x << "," << y;
        }
      }
    }
    // The ring goes on outside the strip: the circle is still closed.
    for (int y = 4; y <= 8; ++y) {
      EXPECT_NE(Box(s.frame, 0, y), kKey);
      EXPECT_LT(Brightness(Box(s.frame, 0, y)), Brightness(Box(s.frame, 1, y))) << "frame " << s.frame;
    }
  }
}

TEST(HeaderSkinArt, FramesKeepTheirStatedColumns) {
  for (int x = 0; x < 9; ++x) EXPECT_EQ(Header(x, 19), 0x00F2DAC0u) << "bottom line x " << x;
  // Normal: light face, separator deepest in the middle.
  for (int x : {0, 1}) {
    EXPECT_EQ(Header(x, 0), 0x00FEF5EAu);
    EXPECT_EQ(Header(x, 18), 0x00F6E5D3u);
    ExpectDarkeningDown([x](int y) { return Header(x, y); }, 0, 18, "normal face");
  }
  // Hover and pressed: strong left column, deeper right column.
  for (int y = 5; y <= 17; ++y) EXPECT_EQ(Header(3, y), 0x00FAC25Eu) << "hover left row " << y;
  for (int y = 3; y <= 12; ++y) EXPECT_EQ(Header(6, y), 0x00FAC25Eu) << "pressed left row " << y;
  const struct {
    int x;
    std::uint32_t deepest;
  } separators[] = {{2, 0x00D9B07A}, {5, 0x00DBA24B}, {8, 0x00DBA24B}};
  for (const auto& s : separators) {
    EXPECT_EQ(Header(s.x, 9), s.deepest);
    EXPECT_EQ(Header(s.x, 10), s.deepest);
    for (int y = 0; y < 19; ++y)
      if (y != 9 && y != 10) {
        EXPECT_GT(Brightness(Header(s.x, y)), Brightness(s.deepest)) << s.x << "," << y;
      }
  }
  EXPECT_EQ(Header(4, 1), 0x00FFEFD6u);
  EXPECT_EQ(Header(4, 17), 0x00FDE0ACu);
  ExpectDarkeningDown([](int y) { return Header(4, y); }, 1, 17, "hover centre");
  // Pressed lightens downwards: its left column after row 12, right after 10, centre from row 1.
  EXPECT_EQ(Header(6, 18), 0x00FDE3A8u);
  EXPECT_EQ(Header(8, 18), 0x00FDE3A8u);
  EXPECT_EQ(Header(7, 1), 0x00FFDC9Fu);
  for (int y = 16; y <= 18; ++y) EXPECT_EQ(Header(7, y), 0x00FFF2C8u);
  ExpectDarkeningDown([](int y) { return Header(6, 30 - y); }, 12, 18, "pressed left, read upwards");
  ExpectDarkeningDown([](int y) { return Header(8, 28 - y); }, 10, 18, "pressed right, read upwards");
  ExpectDarkeningDown([](int y) { return Header(7, 17 - y); }, 1, 16, "pressed centre, read upwards");
}

}  // namespace
