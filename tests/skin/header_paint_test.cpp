// Header items: the painter of one item, the header's own paint with pressed winning over hot, and
// reading item texts that do not fit the text buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "group_windows.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin_test_dc.h"

namespace {

using namespace skin;
using skintest::kFlood;

// 20 pixels high, as the header skin: its frames and background column map row for row.
constexpr int kH = 20;
constexpr int kItemW = 60;

class HeaderPaint : public skintest::GroupWindowTest {
 protected:
  void SetUp() override {
    skintest::GroupWindowTest::SetUp();
    form_ = Form(50, 40, 300, 200);
    header_ = Control(form_, WC_HEADERA, 0, 10, 10, 240, kH);
    ASSERT_EQ(WindowSize(header_).cy, kH);
    for (const char* text : {"", "", "名称"}) Insert(text);
  }
  void Insert(const std::string& text) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.cxy = kItemW;
    std::string copy = text;
    item.pszText = copy.data();
    const auto at = SendMessageA(header_, HDM_GETITEMCOUNT, 0, 0);
    SendMessageA(header_, HDM_INSERTITEMA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
  }
  RECT ItemRect(int i) const {
    RECT r{};
    SendMessageA(header_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // An item's face: the 3 x 20 frame at sx with its one-pixel borders, stretched sideways only.
  static COLORREF FacePixel(int sx, int x, int y, int w) {
    const int column = x == 0 ? 0 : (x == w - 1 ? 2 : 1);
    return GetPixel(HeaderSkinDC, sx + column, y);
  }
  void ExpectFace(int index, int sx) const {
    const RECT r = ItemRect(index);
    const int w = r.right - r.left;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(At(header_, r.left + x, y), FacePixel(sx, x, y, w))
            << "item " << index << " at " << x << "," << y;
  }
  // Face plus caption, composed in an off-screen picture the way the rules say.
  std::vector<COLORREF> CaptionedFace(int sx, int w, const std::string& text) const {
    skintest::TestDC face(w, kH);
    face.Paint([&](int x, int y) { return FacePixel(sx, x, y, w); });
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(header_, WM_GETFONT, 0, 0)))
      SelectObject(face.dc(), font);
    SetBkMode(face.dc(), TRANSPARENT);
    DrawTextInBox(face.dc(), text, 0, 0, w, kH, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    return face.Pixels();
  }
  std::vector<COLORREF> Shown(int left, int w) const {
    std::vector<COLORREF> shown;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < w; ++x) shown.push_back(At(header_, left + x, y));
    return shown;
  }

  HWND form_ = nullptr;
  HWND header_ = nullptr;
};

TEST_F(HeaderPaint, ItemPainterDrawsOneItemInItsStateAndNothingForNoItem) {
  ApplySkin(form_);
  Pump();
  // The three frames differ where the test looks, or it could not tell them apart.
  ASSERT_NE(FacePixel(0, 5, 10, kItemW), FacePixel(3, 5, 10, kItemW));
  ASSERT_NE(FacePixel(3, 5, 10, kItemW), FacePixel(6, 5, 10, kItemW));

  Flood(header_, kFlood);
  EXPECT_EQ(PaintHeaderItem(header_, nullptr, -1, 1), 0);
  for (int x = 0; x < 240; x += 7) ASSERT_EQ(At(header_, x, 10), kFlood) << x;

  for (auto [state, sx] : {std::pair{0, 0}, {1, 3}, {2, 6}, {7, 0}}) {
    SCOPED_TRACE("state " + std::to_string(state));
    Flood(header_, kFlood);
    EXPECT_EQ(PaintHeaderItem(header_, nullptr, 1, state), 0);
    ExpectFace(1, sx);
    EXPECT_EQ(At(header_, ItemRect(1).left - 1, 10), kFlood);
    EXPECT_EQ(At(header_, ItemRect(1).right, 10), kFlood);
  }

  const RECT r = ItemRect(2);
  Flood(header_, kFlood);
  PaintHeaderItem(header_, nullptr, 2, 1);
  EXPECT_EQ(Shown(r.left, r.right - r.left), CaptionedFace(3, r.right - r.left, "名称"));
}

TEST_F(HeaderPaint, OwnPaintShowsBackgroundAndPressedWinsOverHot) {
  hwf::test::MessageRecorder& rec = rec_;
  rec.Subclass(header_, "header");
  ApplySkin(form_);
  Pump();

  SetIntProp(header_, kHdIndexProp, 1);
  SetIntProp(header_, kHmIndexProp, 1);
  rec.Clear();
  InvalidateRect(header_, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec.Count(header_, WM_PAINT), 0) << "the header's own procedure never paints";
  // Only the captioned item asks for the font.
  EXPECT_EQ(rec.Count(header_, WM_GETFONT), 1);
  ExpectFace(0, 0);
  ExpectFace(1, 6);
  const RECT last = ItemRect(2);
  EXPECT_EQ(Shown(last.left, last.right - last.left), CaptionedFace(0, last.right - last.left, "名称"));
  for (int y = 0; y < kH; ++y) EXPECT_EQ(At(header_, last.right + 5, y), GetPixel(HeaderSkinDC, 1, y)) << y;

  SetIntProp(header_, kHmIndexProp, 0);
  InvalidateRect(header_, nullptr, TRUE);
  Pump();
  ExpectFace(0, 3);
  ExpectFace(1, 6);
}

// The header is asked for 256 bytes at most and the buffer holds all of them, terminator included;
// a text cut inside a character loses the broken character.
TEST_F(HeaderPaint, LongItemTextsAreCutToTheBufferWithoutOverrun) {
  Insert(std::string(300, 'a'));
  std::string chinese = "a";
  for (int i = 0; i < 100; ++i) chinese += "汉";
  Insert(chinese);
  Insert(std::string(255, 'b'));

  EXPECT_EQ(GetHeaderItemText(header_, 3), std::string(255, 'a'));
  // 1 + 84 x 3 = 253 bytes are whole; the 85th character has only 2 of its 3 bytes.
  EXPECT_EQ(GetHeaderItemText(header_, 4), chinese.substr(0, 253));
  EXPECT_EQ(GetHeaderItemText(header_, 5), std::string(255, 'b'));
  EXPECT_EQ(GetHeaderItemText(header_, 2), "名称");
  EXPECT_EQ(GetHeaderItemText(header_, 0), "");
  EXPECT_EQ(GetHeaderItemText(header_, 99), "") << "no such item";

  ApplySkin(form_);
  Pump();
  Flood(header_, kFlood);
  PaintHeaderItem(header_, nullptr, 3, 0);
  EXPECT_NE(At(header_, ItemRect(3).left + 1, 1), kFlood);
}

}  // namespace
