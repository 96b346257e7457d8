// Seamless tiles against a periodic drawing made here on its own: the
// pattern drawn on a 402 x 402 canvas once for every shift by whole tiles
// that reaches it, which is what an endless wall of copies shows. The exact
// seamless tile laid 2 x 2 must be that drawing pixel for pixel; the
// ordinary tile is not, wherever its curves are cut. Then the files of
// `render --seamless` in every format.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "export/pattern_file.h"
#include "patterns/curve_pattern.h"
#include "render/exact_canvas.h"
#include "render/render_fixture.h"
#include "runtime/form.h"
#include "runtime/picture_box.h"
#include "support/doubles/recording_surface.h"
#include "support/png_reader.h"

namespace render {
namespace {

using patterns::Colour;
using patterns::PatternCode;

constexpr int kTile = patterns::kCanvasPixels;
constexpr int kWall = 2 * kTile;

// One dot or segment of the pattern, its ends already on their nearest
// pixels (where the canvas puts them), so that moving them by whole tiles is
// exact.
struct Step {
  bool dot;
  double x0, y0, x1, y1;
  Colour colour;
};

std::vector<Step> StepsOf(const PatternCode& code) {
  patterns::testing::RecordingSurface probe;
  patterns::DrawPattern(probe, code);
  const auto pixel = [](float v) { return std::floor(double{v} + 0.5); };
  std::vector<Step> steps;
  double x = 0, y = 0;
  for (const auto& c : probe.Calls()) {
    if (c.op != patterns::testing::Op::kLine && c.op != patterns::testing::Op::kPSet) continue;
    const bool dot = c.op == patterns::testing::Op::kPSet;
    steps.push_back({dot, dot ? pixel(c.x) : x, dot ? pixel(c.y) : y, pixel(c.x), pixel(c.y), c.colour});
    x = pixel(c.x);
    y = pixel(c.y);
  }
  return steps;
}

// Where the pattern's points lie.
struct Extent {
  double lo_x = 1e30, hi_x = -1e30, lo_y = 1e30, hi_y = -1e30;
  // Some point lands on a pixel outside the tile.
  bool Leaves() const { return lo_x < -0.5 || lo_y < -0.5 || hi_x >= kTile - 0.5 || hi_y >= kTile - 0.5; }
};

Extent ExtentOf(const PatternCode& code) {
  patterns::testing::RecordingSurface probe;
  patterns::DrawPattern(probe, code);
  Extent e;
  for (const auto& c : probe.Calls()) {
    if (c.op != patterns::testing::Op::kLine && c.op != patterns::testing::Op::kPSet) continue;
    e.lo_x = std::min<double>(e.lo_x, c.x), e.hi_x = std::max<double>(e.hi_x, c.x);
    e.lo_y = std::min<double>(e.lo_y, c.y), e.hi_y = std::max<double>(e.hi_y, c.y);
  }
  return e;
}

// The wall: a picture box of the canvas's kind, 402 pixels a side.
class Wall {
 public:
  Wall() {
    runtime::RegisterRuntimeClasses();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "HuiwenfangTestWall";
    WNDCLASSEXA probe{};
    probe.cbSize = sizeof(probe);
    if (!GetClassInfoExA(nullptr, wc.lpszClassName, &probe)) RegisterClassExA(&wc);
    parent_ = CreateWindowExA(0, wc.lpszClassName, "wall", WS_POPUP, 0, 0, 500, 500, nullptr, nullptr,
                              nullptr, nullptr);
    runtime::LayoutRow row{};
    row.kind = runtime::ControlKind::PictureBox;
    row.name = "wall";
    row.width = (kWall + 4) * runtime::kTwipsPerPixel;
    row.height = row.width;
    row.scale_mode = runtime::ScaleMode::Pixel;
    row.draw_style = runtime::DrawStyle::InsideSolid;
    row.auto_redraw = true;
    row.client_edge = true;
    box_ = std::make_unique<runtime::PictureBox>(parent_, row, runtime::LayoutFont{}, 1);
  }
  ~Wall() {
    box_.reset();
    DestroyWindow(parent_);
  }

  // The pattern once for every shift by whole tiles that reaches the wall.
  std::vector<std::uint32_t> Periodic(const PatternCode& code) {
    EXPECT_EQ(box_->PixelWidth(), kWall);
    const Extent e = ExtentOf(code);
    box_->SetBackColor(code.background);
    const std::vector<Step> steps = StepsOf(code);
    const auto first = [](double hi) { return static_cast<int>(std::ceil((-2.0 - hi) / kTile)); };
    const auto last = [](double lo) { return static_cast<int>(std::floor((kWall + 2.0 - lo) / kTile)); };
    for (int ky = first(e.hi_y); ky <= last(e.lo_y); ++ky) {
      for (int kx = first(e.hi_x); kx <= last(e.lo_x); ++kx) {
        const double dx = kx * kTile, dy = ky * kTile;
        for (const Step& st : steps) {
          // What lies wholly off the wall cannot ink it; the rest is drawn
          // in the pattern's order, each segment from its own start.
          if (std::max(st.x0, st.x1) + dx < 0 || std::min(st.x0, st.x1) + dx >= kWall ||
              std::max(st.y0, st.y1) + dy < 0 || std::min(st.y0, st.y1) + dy >= kWall)
            continue;
          const auto at = [](double v) { return static_cast<float>(v); };
          if (st.dot) {
            box_->PSet(at(st.x1 + dx), at(st.y1 + dy), st.colour);
          } else {
            box_->MoveTo(at(st.x0 + dx), at(st.y0 + dy));
            box_->Line(at(st.x1 + dx), at(st.y1 + dy), st.colour);
          }
        }
      }
    }
    const patterns::Picture image = box_->Image();
    return {image.Pixels().begin(), image.Pixels().end()};
  }

 private:
  HWND parent_ = nullptr;
  std::unique_ptr<runtime::PictureBox> box_;
};

PatternCode Code(int drawing, double amplitude, std::array<float, 4> randoms) {
  return PatternCode{.drawing = drawing,
                     .amplitude = amplitude,
                     .randoms = randoms,
                     .line = 0x2060C0,
                     .background = 0xF0F0E0};
}

// Random values that give each of the four curve shapes, few and many copies.
constexpr std::array<float, 4> kRandoms[] = {
    {0.10f, 0.80f, 0.20f, 0.90f},
    {0.30f, 0.45f, 0.70f, 0.10f},
    {0.60f, 0.35f, 0.90f, 0.50f},
    {0.90f, 0.55f, 0.40f, 0.75f},
};

// Pixels of the 2 x 2 sheet of `tile` that are not the wall's.
int Differences(const patterns::Picture& tile, const std::vector<std::uint32_t>& wall) {
  const auto t = tile.Pixels();
  int differ = 0;
  for (int y = 0; y < kWall; ++y)
    for (int x = 0; x < kWall; ++x) differ += t[(y % kTile) * kTile + x % kTile] != wall[y * kWall + x];
  return differ;
}

class SeamlessExactTest : public ::testing::Test {
 protected:
  ExactCanvas exact_;
  Wall wall_;
};

TEST_F(SeamlessExactTest, TwoByTwoSeamlessTilesAreThePeriodicDrawingAndOrdinaryTilesAreCut) {
  int cut = 0, open_far = 0;
  for (int drawing : {1, 2}) {
    for (double amplitude : {8.0, 80.0, -150.0, 720.0, 2012.0, 7200.0}) {
      for (const auto& randoms : kRandoms) {
        const PatternCode code = Code(drawing, amplitude, randoms);
        const std::string what = patterns::WritePatternCode(code);
        const auto wall = wall_.Periodic(code);
        const patterns::Picture seamless = exact_.Draw(code, true);
        const patterns::Picture ordinary = exact_.Draw(code);
        EXPECT_EQ(Differences(seamless, wall), 0) << what;

        const std::uint32_t back = patterns::PixelFromColour(code.background);
        const auto s = seamless.Pixels(), o = ordinary.Pixels();
        int ordinary_ink = 0, lost = 0;
        for (std::size_t i = 0; i < o.size(); ++i) {
          if (o[i] == back) continue;
          ++ordinary_ink;
          lost += s[i] == back;
        }
        EXPECT_GT(ordinary_ink, 200) << what;
        EXPECT_EQ(lost, 0) << what << ": ink of the ordinary tile missing from the seamless one";
        // At 7200 the wrapped curves may cover every pixel, and then the
        // comparison with the wall shows little; count the tiles they do not.
        if (amplitude == 7200.0) open_far += std::find(s.begin(), s.end(), back) != s.end();

        const int ordinary_differences = Differences(ordinary, wall);
        if (!ExtentOf(code).Leaves()) {
          // Nothing to bring back: both tiles are the same, and so is the wall.
          EXPECT_EQ(ordinary_differences, 0) << what;
          EXPECT_TRUE(std::equal(s.begin(), s.end(), o.begin(), o.end())) << what;
        } else {
          EXPECT_GT(ordinary_differences, 0) << what << ": its curves leave the tile, so the cut shows";
          ++cut;
        }
        // Within 91 pixels of the centre; far past the tile.
        if (amplitude == 8.0) {
          EXPECT_FALSE(ExtentOf(code).Leaves()) << what;
        } else if (std::fabs(amplitude) >= 150.0) {
          EXPECT_TRUE(ExtentOf(code).Leaves()) << what;
        }
      }
    }
  }
  // Amplitude 80 leaves the tile with some curve shapes and not with others.
  EXPECT_GE(cut, 2 * 4 * 4 + 1);
  EXPECT_LT(cut, 2 * 5 * 4);
  EXPECT_GE(open_far, 4) << "of the 8 tiles at amplitude 7200";
}

TEST_F(RenderTest, SeamlessFilesInEveryFormat) {
  const PatternCode wide = Code(1, 7200, kRandoms[2]);
  const PatternCode inside = Code(2, 8, kRandoms[1]);
  const auto bytes = [&](const PatternCode& code, const std::string& file, std::vector<std::string> extra) {
    std::vector<std::string> args = {"--code", patterns::WritePatternCode(code), "-o", file};
    args.insert(args.end(), extra.begin(), extra.end());
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return hwf::test::ReadFile(Path(file));
  };
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string name = std::string("t.") + ext;
    const auto ordinary = bytes(wide, name, {"--size", "256"});
    const auto seamless = bytes(wide, name, {"--size", "256", "--seamless"});
    ASSERT_FALSE(seamless.empty()) << ext;
    EXPECT_NE(seamless, ordinary) << ext << ": curves past the edge come back in";
    // A pattern that stays inside the tile has nothing to bring back.
    EXPECT_EQ(bytes(inside, name, {"--size", "256", "--seamless"}), bytes(inside, name, {"--size", "256"}))
        << ext;
  }

  // The exact mode writes the seamless canvas, --repeat lays its copies.
  ExactCanvas exact;
  const patterns::Picture tile = exact.Draw(wide, true);
  for (const char* ext : {"png", "bmp"}) {
    const std::string name = std::string("e.") + ext;
    const RunResult r = Run(
        {"--code", patterns::WritePatternCode(wide), "--exact", "--seamless", "--repeat", "2", "-o", name});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("402 x 402 exact seamless"), std::string::npos) << r.err;
    if (std::string(ext) == "bmp") continue;
    const auto d = hwf::test::DecodePng(hwf::test::ReadFile(Path(name)));
    ASSERT_EQ(d.width, kWall);
    int differ = 0;
    for (int y = 0; y < kWall; ++y)
      for (int x = 0; x < kWall; ++x)
        differ += (d.pixels[y * kWall + x] & 0xFFFFFF) != tile.Pixels()[(y % kTile) * kTile + x % kTile];
    EXPECT_EQ(differ, 0);
  }
}

// The distance of each channel, at most.
int Distance(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift : {0, 8, 16})
    d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return d;
}

// Marked pixels of a tile and those within one pixel of them, across the
// edges as on a torus.
std::vector<bool> GrownOnTorus(const std::vector<bool>& mark) {
  std::vector<bool> out(mark.size());
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (mark[((y + dy + kTile) % kTile) * kTile + (x + dx + kTile) % kTile]) out[y * kTile + x] = true;
  return out;
}

TEST_F(RenderTest, TheAntialiasedSeamlessTileFollowsTheExactOneAcrossTheEdges) {
  ExactCanvas exact;
  for (int drawing : {1, 2}) {
    const PatternCode code = Code(drawing, 2012, kRandoms[3]);
    const auto exact_pixels = exact.Draw(code, true).Pixels();
    exporter::MemorySink sink;
    exporter::WritePattern(code, {.format = exporter::Format::kPng, .size = kTile, .seamless = true}, sink);
    const auto drawn = hwf::test::DecodePng(sink.bytes);
    ASSERT_EQ(drawn.width, kTile);

    const std::uint32_t back = patterns::PixelFromColour(code.background);
    const std::uint32_t line = patterns::PixelFromColour(code.line);
    std::vector<bool> exact_ink(exact_pixels.size()), drawn_ink(exact_pixels.size());
    for (std::size_t p = 0; p < exact_pixels.size(); ++p) {
      exact_ink[p] = exact_pixels[p] != back;
      drawn_ink[p] = Distance(drawn.pixels[p] & 0xFFFFFF, back) * 4 >= Distance(line, back);
    }
    // Each way round: the file's ink lies on the canvas's, and the canvas's
    // ink, the copies brought back across the edges included, is in the file.
    const auto near_exact = GrownOnTorus(exact_ink), near_drawn = GrownOnTorus(drawn_ink);
    int exact_count = 0, drawn_count = 0, exact_met = 0, drawn_met = 0;
    for (std::size_t p = 0; p < exact_ink.size(); ++p) {
      exact_count += exact_ink[p];
      exact_met += exact_ink[p] && near_drawn[p];
      drawn_count += drawn_ink[p];
      drawn_met += drawn_ink[p] && near_exact[p];
    }
    ASSERT_GT(exact_count, 2000) << drawing;
    EXPECT_GE(exact_met, exact_count * 9 / 10) << drawing << ": " << exact_met << " of " << exact_count;
    EXPECT_GE(drawn_met, drawn_count * 9 / 10) << drawing << ": " << drawn_met << " of " << drawn_count;
  }
}

}  // namespace
}  // namespace render
