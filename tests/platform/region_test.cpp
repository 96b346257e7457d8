#include "platform/gdi/region.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "platform/win32.h"

namespace {

using platform::gdi::Region;

int PixelCount(const Region& r) {
  long long n = 0;
  for (const RECT& q : r.Rects()) n += static_cast<long long>(q.right - q.left) * (q.bottom - q.top);
  return static_cast<int>(n);
}

bool InRect(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Checks a region against a membership rule over a grid, and that its
// rectangles are disjoint, banded and in y-then-x order.
void ExpectMatches(const Region& got, const std::function<bool(int, int)>& rule, int lo, int hi) {
  int expected = 0;
  for (int y = lo; y < hi; ++y) {
    for (int x = lo; x < hi; ++x) {
      bool want = rule(x, y);
      expected += want;
      ASSERT_EQ(got.Contains(x, y), want) << "at " << x << "," << y;
    }
  }
  EXPECT_EQ(PixelCount(got), expected) << "rectangles overlap or reach outside the grid";
  const auto& rs = got.Rects();
  for (std::size_t i = 1; i < rs.size(); ++i) {
    bool sameBand = rs[i].top == rs[i - 1].top;
    if (sameBand) {
      EXPECT_EQ(rs[i].bottom, rs[i - 1].bottom);
      EXPECT_GT(rs[i].left, rs[i - 1].right) << "touching spans of one band must be merged";
    } else {
      EXPECT_GE(rs[i].top, rs[i - 1].bottom);
    }
  }
}

TEST(Region, SetOperationsFollowTheirTruthTables) {
  const RECT a{2, 2, 12, 8}, b{6, 4, 16, 14}, c{0, 10, 4, 12};
  Region ra = Region(a).Union(Region(c));
  Region rb(b);
  auto inA = [&](int x, int y) { return InRect(a, x, y) || InRect(c, x, y); };
  auto inB = [&](int x, int y) { return InRect(b, x, y); };
  ExpectMatches(
      ra.Union(rb), [&](int x, int y) { return inA(x, y) || inB(x, y); }, -2, 20);
  ExpectMatches(
      ra.Intersect(rb), [&](int x, int y) { return inA(x, y) && inB(x, y); }, -2, 20);
  ExpectMatches(
      ra.Subtract(rb), [&](int x, int y) { return inA(x, y) && !inB(x, y); }, -2, 20);
  ExpectMatches(
      ra.Xor(rb), [&](int x, int y) { return inA(x, y) != inB(x, y); }, -2, 20);
}

TEST(Region, EqualityIsBySetNotByConstruction) {
  // The same L shape built from different pieces.
  Region one = Region(RECT{0, 0, 10, 5}).Union(Region(RECT{0, 5, 4, 10}));
  Region two = Region(RECT{0, 0, 4, 10}).Union(Region(RECT{4, 0, 10, 5}));
  EXPECT_TRUE(one == two);
  // Two halves of a rectangle become the rectangle itself.
  Region halves = Region(RECT{0, 0, 5, 5}).Union(Region(RECT{5, 0, 10, 5}));
  EXPECT_TRUE(halves == Region(RECT{0, 0, 10, 5}));
  EXPECT_EQ(halves.Rects().size(), 1u);
  EXPECT_FALSE(one == Region(RECT{0, 0, 10, 10}));
  EXPECT_TRUE(one.Subtract(one).IsEmpty());
}

TEST(Region, EmptyAndReversedInputs) {
  EXPECT_TRUE(Region(RECT{5, 5, 5, 10}).IsEmpty());
  EXPECT_TRUE(Region(RECT{10, 10, 0, 0}).IsEmpty());
  RECT box = Region().Box();
  EXPECT_EQ(box.right - box.left, 0);
  Region r(RECT{1, 2, 3, 4});
  EXPECT_TRUE(r.Union(Region()) == r);
  EXPECT_TRUE(r.Intersect(Region()).IsEmpty());
}

TEST(Region, BoxOffsetAndIntersects) {
  Region r = Region(RECT{0, 0, 4, 4}).Union(Region(RECT{10, 6, 12, 20}));
  RECT box = r.Box();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 12);
  EXPECT_EQ(box.bottom, 20);
  EXPECT_FALSE(r.Intersects(RECT{5, 0, 9, 20})) << "the gap between the pieces";
  EXPECT_TRUE(r.Intersects(RECT{3, 3, 11, 7}));
  r.Offset(-3, 5);
  EXPECT_TRUE(r.Contains(-3, 5));
  EXPECT_FALSE(r.Contains(1, 5));
  EXPECT_TRUE(r.Contains(8, 24));
}

TEST(Region, OffsetSaturatesAtTheEdgeOfTheCoordinateSpace) {
  Region r(RECT{0, 0, 10, 10});
  r.Offset(INT_MAX, 0);
  // Everything was pushed against INT_MAX: nothing usable remains, and
  // nothing wrapped around to negative coordinates.
  EXPECT_FALSE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(INT_MIN, 5));
  Region s(RECT{-5, -5, 5, 5});
  s.Offset(INT_MAX - 2, 0);
  EXPECT_TRUE(s.Contains(INT_MAX - 1, 0));
}

TEST(RoundRectRegion, ButtonShapeCutsOnlyTheFourCornerPixels) {
  // The region of a skinned 75 x 25 push button.
  Region r = Region::RoundRect(0, 0, 76, 26, 3, 3);
  RECT box = r.Box();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 75);
  EXPECT_EQ(box.bottom, 25);
  auto corner = [](int x, int y) { return (x == 0 || x == 74) && (y == 0 || y == 24); };
  ExpectMatches(
      r, [&](int x, int y) { return x >= 0 && x < 75 && y >= 0 && y < 25 && !corner(x, y); }, -2, 80);
  EXPECT_TRUE(r.Contains(1, 1));
}

TEST(RoundRectRegion, LargerCornersAreSymmetricAndMonotone) {
  Region r = Region::RoundRect(10, 20, 51, 41, 12, 8);
  RECT box = r.Box();
  EXPECT_EQ(box.right - box.left, 40);
  EXPECT_EQ(box.bottom - box.top, 20);
  for (int y = 20; y < 40; ++y) {
    for (int x = 10; x < 50; ++x) {
      int mx = 10 + 49 - x, my = 20 + 39 - y;
      ASSERT_EQ(r.Contains(x, y), r.Contains(mx, y)) << x << "," << y;
      ASSERT_EQ(r.Contains(x, y), r.Contains(x, my)) << x << "," << y;
    }
  }
  // Rows get no narrower towards the middle, and the middle rows are whole.
  int prev = 0;
  for (int y = 20; y < 30; ++y) {
    int n = 0;
    for (int x = 10; x < 50; ++x) n += r.Contains(x, y);
    EXPECT_GE(n, prev);
    prev = n;
  }
  EXPECT_EQ(prev, 40);
  EXPECT_FALSE(r.Contains(10, 20));
}

TEST(RoundRectRegion, DegenerateArguments) {
  EXPECT_TRUE(Region::RoundRect(0, 0, 1, 1, 3, 3).IsEmpty()) << "a 1 x 1 input covers no pixel";
  // No rounding asked: a plain rectangle, still one short on the right/bottom.
  EXPECT_TRUE(Region::RoundRect(0, 0, 10, 10, 0, 0) == Region(RECT{0, 0, 9, 9}));
  // Reversed corners mean the same rectangle.
  EXPECT_TRUE(Region::RoundRect(76, 26, 0, 0, 3, 3) == Region::RoundRect(0, 0, 76, 26, 3, 3));
  // Huge arguments finish and stay inside the box.
  Region huge = Region::RoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_FALSE(huge.IsEmpty());
  EXPECT_TRUE(huge.Contains(0, 0));
}

TEST(RegionHandles, CombineReportsTheResultingComplexity) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  HRGN d = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(d, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(d, 14, 14));
  EXPECT_FALSE(PtInRegion(d, 14, 2));
  EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(d, a));
  EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR);
  EXPECT_EQ(OffsetRgn(d, 100, 0), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(d, 100, 0));
  EXPECT_TRUE(SetRectRgn(d, 10, 10, 0, 0));  // corners in either order
  EXPECT_TRUE(PtInRegion(d, 0, 0));
  RECT probe{9, 9, 20, 20};
  EXPECT_TRUE(RectInRegion(d, &probe));
  // Rounded rectangles as handles: (1,1) inside, the corner pixel outside.
  HRGN rr = CreateRoundRectRgn(0, 0, 76, 26, 3, 3);
  EXPECT_TRUE(PtInRegion(rr, 1, 1));
  EXPECT_FALSE(PtInRegion(rr, 0, 0));
  EXPECT_FALSE(PtInRegion(rr, 75, 10));
  for (HRGN h : {a, b, d, rr}) EXPECT_TRUE(DeleteObject(h));
  // Stale handles fail cleanly.
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), ERROR);
  EXPECT_FALSE(PtInRegion(a, 1, 1));
  EXPECT_EQ(GetRgnBox(a, &box), ERROR);
  EXPECT_FALSE(DeleteObject(a));
}

}  // namespace
