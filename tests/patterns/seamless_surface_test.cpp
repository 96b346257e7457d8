// The torus over a canvas: which tile cells a segment reaches, how its
// copies are moved back, and what the canvas is asked to draw.
#include "patterns/seamless_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <stdexcept>

#include "patterns/runtime_error.h"
#include "support/doubles/recording_surface.h"

namespace patterns {
namespace {

using testing::Op;
using testing::RecordingSurface;

constexpr double kCell = 201.0;

std::vector<TileCell> Cells(double x0, double y0, double x1, double y1) {
  std::vector<TileCell> cells;
  CellsReached(x0, y0, x1, y1, cells);
  return cells;
}

bool Has(const std::vector<TileCell>& cells, TileCell c) {
  return std::find(cells.begin(), cells.end(), c) != cells.end();
}

int CellOf(double v) { return static_cast<int>(std::floor((v + 0.5) / kCell)); }

TEST(CellsReached, TheCellsALineInksAndNoOthers) {
  EXPECT_EQ(Cells(20, 30, 180, 170), (std::vector<TileCell>{{0, 0}})) << "well inside";
  EXPECT_EQ(Cells(100, 100, 100, 100), (std::vector<TileCell>{{0, 0}})) << "a dot";
  // A pixel from the edge a one-pixel line may ink the next cell's first
  // column; further in it cannot.
  EXPECT_TRUE(Has(Cells(199.8, 10, 199.8, 50), {1, 0}));
  EXPECT_TRUE(Has(Cells(-0.9, 10, -0.9, 50), {-1, 0}));
  EXPECT_EQ(Cells(196, 10, 196, 50), (std::vector<TileCell>{{0, 0}}));
  EXPECT_EQ(Cells(10, 4, 50, 4), (std::vector<TileCell>{{0, 0}}));
  // Across a corner: the three cells around it and the one it starts in.
  const auto corner = Cells(190, 190, 215, 215);
  EXPECT_EQ(corner.size(), 4u);
  for (TileCell c : {TileCell{0, 0}, TileCell{1, 0}, TileCell{0, 1}, TileCell{1, 1}})
    EXPECT_TRUE(Has(corner, c));
}

TEST(CellsReached, ALongSegmentGetsTheCellsItCrossesNotItsBoundingBox) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> coord(-8000.0, 8000.0);
  for (int n = 0; n < 60; ++n) {
    const double x0 = coord(gen), y0 = coord(gen), x1 = coord(gen), y1 = coord(gen);
    const auto cells = Cells(x0, y0, x1, y1);
    // Each cell once.
    auto sorted = cells;
    std::sort(sorted.begin(), sorted.end(),
              [](TileCell a, TileCell b) { return a.j != b.j ? a.j < b.j : a.i < b.i; });
    EXPECT_TRUE(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end());
    // Every point of the segment, and every point within a pixel of it, is
    // in a cell of the list.
    const double length = std::hypot(x1 - x0, y1 - y0);
    const int steps = static_cast<int>(length * 2) + 1;
    std::set<std::pair<int, int>> listed;
    for (TileCell c : cells) listed.insert({c.i, c.j});
    for (int s = 0; s <= steps; ++s) {
      const double t = static_cast<double>(s) / steps;
      const double x = x0 + t * (x1 - x0), y = y0 + t * (y1 - y0);
      for (double dx : {-1.0, 0.0, 1.0})
        for (double dy : {-1.0, 0.0, 1.0}) {
          if (!listed.count({CellOf(x + dx), CellOf(y + dy)})) {
            ADD_FAILURE() << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") misses "
                          << CellOf(x + dx) << "," << CellOf(y + dy);
            return;
          }
        }
    }
    // About the cells crossed, a few more along the way: far fewer than the
    // bounding box has once the segment is long and slanted.
    const double crossed = (std::fabs(x1 - x0) + std::fabs(y1 - y0)) / kCell;
    EXPECT_LE(static_cast<double>(cells.size()), 3 * crossed + 8);
  }
}

// The pixel a coordinate lands on, as the canvas rounds it.
long Nearest(float v) { return static_cast<long>(std::floor(double{v} + 0.5)); }

TEST(SeamlessSurface, CopiesLandOnThePixelsOfTheLineMovedByWholeCells) {
  // Lines from fractional points far across the cells: every copy the canvas
  // gets rounds to the pixel the line's own point rounds to, moved by whole
  // cells, even where the moved value is no float.
  std::mt19937 gen(11);
  std::uniform_real_distribution<float> coord(-60000.0f, 60000.0f);
  std::uniform_real_distribution<float> frac(0.0f, 201.0f);
  int copies = 0;
  for (int n = 0; n < 300; ++n) {
    RecordingSurface canvas;
    SeamlessSurface torus(canvas);
    // Just below a half pixel, where moving by whole cells in float arithmetic
    // would round up to the next pixel; or anywhere.
    const auto start = [&] { return n % 2 ? std::nextafter(std::floor(frac(gen)) + 0.5f, 0.0f) : frac(gen); };
    const float x0 = start(), y0 = start();
    const float x1 = std::clamp(x0 + coord(gen) / 20, -65000.0f, 65000.0f);
    const float y1 = std::clamp(y0 + coord(gen) / 20, -65000.0f, 65000.0f);
    torus.MoveTo(x0, y0);
    torus.Line(x1, y1, 0x123456);
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size() % 2, 0u);
    for (std::size_t k = 0; k < calls.size(); k += 2) {
      ASSERT_EQ(calls[k].op, Op::kMoveTo);
      ASSERT_EQ(calls[k + 1].op, Op::kLine);
      EXPECT_EQ(calls[k + 1].colour, 0x123456);
      const long ci = (Nearest(x0) - Nearest(calls[k].x)) / 201,
                 cj = (Nearest(y0) - Nearest(calls[k].y)) / 201;
      ASSERT_EQ(Nearest(calls[k].x), Nearest(x0) - 201 * ci);
      ASSERT_EQ(Nearest(calls[k].y), Nearest(y0) - 201 * cj);
      ASSERT_EQ(Nearest(calls[k + 1].x), Nearest(x1) - 201 * ci);
      ASSERT_EQ(Nearest(calls[k + 1].y), Nearest(y1) - 201 * cj);
      // The copy is near the canvas.
      EXPECT_TRUE(std::min(calls[k].x, calls[k + 1].x) < 203 && std::max(calls[k].x, calls[k + 1].x) > -3);
      ++copies;
    }
  }
  EXPECT_GT(copies, 300 * 5);
}

TEST(SeamlessSurface, ADotGoesAlongWithTheLineThatStartsOnIt) {
  RecordingSurface canvas;
  SeamlessSurface torus(canvas);
  torus.PSet(195.25f, 40, 0);
  EXPECT_TRUE(canvas.Calls().empty()) << "held until it is known what follows";
  torus.Line(230.5f, 40, 0xFF);
  // In the canvas's cell the line is drawn from the dot, as the canvas gets
  // them without wrapping; the copy in the next cell, where the dot is too
  // far to show, starts with a move.
  ASSERT_EQ(canvas.Calls().size(), 4u);
  EXPECT_EQ(canvas.Calls()[0].op, Op::kPSet);
  EXPECT_EQ(canvas.Calls()[0].x, 195.25f);
  EXPECT_EQ(canvas.Calls()[0].colour, 0);
  EXPECT_EQ(canvas.Calls()[1].op, Op::kLine);
  EXPECT_EQ(canvas.Calls()[1].x, 230.5f);
  EXPECT_EQ(canvas.Calls()[2].op, Op::kMoveTo);
  EXPECT_EQ(canvas.Calls()[2].x, 195.25f - 201);
  EXPECT_EQ(canvas.Calls()[3].x, 230.5f - 201);
  // A dot on the edge goes into both cells, each just before its line.
  canvas.ClearLog();
  torus.PSet(200.25f, 40, 0);
  torus.Line(230.5f, 40, 0xFF);
  ASSERT_EQ(canvas.Calls().size(), 4u);
  EXPECT_EQ(canvas.Calls()[2].op, Op::kPSet);
  EXPECT_EQ(canvas.Calls()[2].x, 200.25f - 201);
  EXPECT_EQ(canvas.Calls()[3].op, Op::kLine);

  // A line from a dot across many cells: the dot goes only into the cell
  // where it shows, the line's other copies start with a move.
  canvas.ClearLog();
  torus.PSet(100, 100, 0);
  torus.Line(1000, 100, 0xFF);
  ASSERT_EQ(canvas.Calls().size(), 2u * 5);
  EXPECT_EQ(canvas.Count(Op::kPSet), 1u);
  EXPECT_EQ(canvas.Calls()[0].op, Op::kPSet);
  EXPECT_EQ(canvas.Calls()[0].x, 100.0f);

  // A dot with no line after it goes out alone, wrapped, at Flush.
  canvas.ClearLog();
  torus.PSet(-300.0f, 100, 0x7);
  torus.Flush();
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].op, Op::kPSet);
  EXPECT_EQ(canvas.Calls()[0].x, 102.0f);
  EXPECT_EQ(canvas.Calls()[0].colour, 0x7);
  torus.Flush();
  EXPECT_EQ(canvas.Calls().size(), 1u) << "once";

  // Erasing drops it.
  canvas.ClearLog();
  torus.PSet(10, 10, 0x7);
  torus.SetBackColor(0xFFFFFF);
  torus.Flush();
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].op, Op::kSetBackColor);
}

TEST(SeamlessSurface, RefusesWhatItCannotWrap) {
  RecordingSurface canvas;
  SeamlessSurface torus(canvas);
  try {
    torus.Line(70000.0f, 5, 0);
    ADD_FAILURE() << "no error for a point past the reach";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kErrOverflow);
  }
  EXPECT_THROW(torus.PSet(5, -1e30f, 0), RuntimeError);
  EXPECT_TRUE(canvas.Calls().empty()) << "nothing drawn before the refusal";
  EXPECT_THROW(torus.Print("文字"), std::logic_error);
  EXPECT_THROW(torus.SetPicture(Picture{}), std::logic_error);
}

}  // namespace
}  // namespace patterns
