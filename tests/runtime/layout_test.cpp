#include "runtime/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

namespace runtime {
namespace {

TEST(LayoutUnits, TwipsConvertOnlyOnWholePixels) {
  EXPECT_EQ(TwipsToPixels(0), 0);
  EXPECT_EQ(TwipsToPixels(15), 1);
  EXPECT_EQ(TwipsToPixels(14280), 952);
  EXPECT_EQ(TwipsToPixels(10740), 716);
  EXPECT_EQ(PixelsToTwips(737), 11055);
  EXPECT_THROW(TwipsToPixels(16), std::invalid_argument);
  EXPECT_THROW(TwipsToPixels(7), std::invalid_argument);
  EXPECT_FALSE(IsWholePixel(1034));
  static_assert(TwipsToPixels(3075) == 205, "usable in constant expressions");
}

TEST(LayoutUnits, FontHeightsAt96Dpi) {
  // pt * 96 / 72: the sizes of the main window are exact.
  EXPECT_EQ(FontPixelHeight(10.5f), 14);
  EXPECT_EQ(FontPixelHeight(8.25f), 11);
  EXPECT_EQ(FontPixelHeight(12.0f), 16);
  EXPECT_EQ(FontPixelHeight(9.0f), 12);
  // 9.375 pt is 12.5 px: a half rounds away from zero, as MulDiv does.
  EXPECT_EQ(FontPixelHeight(9.375f), 13);
  // 7.8 pt is 10.4 px, 8.0 pt is 10.67 px.
  EXPECT_EQ(FontPixelHeight(7.8f), 10);
  EXPECT_EQ(FontPixelHeight(8.0f), 11);
  EXPECT_EQ(LogFontHeight(10.5f), -14);
  EXPECT_EQ(LogFontHeight(12.0f), -16);
}

LayoutRow SoundForm() {
  return LayoutRow{.kind = ControlKind::Form,
                   .name = "F",
                   .width = 1500,
                   .height = 1500,
                   .font = LayoutFont{"宋体", 10.5f, true}};
}

LayoutRow Box(std::string_view name, int tab) {
  return LayoutRow{.kind = ControlKind::PictureBox,
                   .name = name,
                   .left = 30,
                   .top = 45,
                   .width = 300,
                   .height = 150,
                   .tab_index = tab,
                   .client_edge = true};
}

TEST(LayoutGeometry, ClientAreaLosesTheSunkenEdge) {
  LayoutRow box = Box("P", 0);
  EXPECT_EQ(OuterPixels(box), (PixelRect{2, 3, 20, 10}));
  EXPECT_EQ(ClientPixels(box), (PixelRect{4, 5, 16, 6}));
  box.client_edge = false;
  EXPECT_EQ(ClientPixels(box), OuterPixels(box));
  // An edge wider than the box leaves nothing, never a negative size.
  box.client_edge = true;
  box.width = 45;
  EXPECT_EQ(ClientPixels(box).width, 0);
}

TEST(LayoutLookup, FindsByExactNameAndOrdersTabs) {
  const std::array<LayoutRow, 4> rows{Box("b", 2), Box("a", 0),
                                      LayoutRow{.kind = ControlKind::Timer, .name = "t"}, Box("c", 1)};
  const FormLayout form{SoundForm(), rows};
  ASSERT_NE(FindControl(form, "a"), nullptr);
  EXPECT_EQ(FindControl(form, "a")->tab_index, 0);
  EXPECT_EQ(FindControl(form, "A"), nullptr);
  EXPECT_EQ(FindControl(form, "F"), nullptr) << "the form is not one of its controls";
  EXPECT_EQ(StackingIndex(form, "b"), 0);
  EXPECT_EQ(StackingIndex(form, "c"), 3);
  EXPECT_EQ(StackingIndex(form, "zz"), -1);

  const auto order = TabOrder(form);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order[0]->name, "a");
  EXPECT_EQ(order[1]->name, "c");
  EXPECT_EQ(order[2]->name, "b");
}

TEST(LayoutLookup, ControlsWithoutFontUseTheForms) {
  std::array<LayoutRow, 2> rows{Box("own", 0), Box("inherited", 1)};
  rows[0].font = LayoutFont{"MS Sans Serif", 8.25f, false};
  const FormLayout form{SoundForm(), rows};
  EXPECT_EQ(EffectiveFont(form, rows[0]).face, "MS Sans Serif");
  EXPECT_EQ(EffectiveFont(form, rows[1]).face, "宋体");
  EXPECT_TRUE(EffectiveFont(form, rows[1]).bold);
}

bool Mentions(const std::vector<std::string>& problems, const std::string& word) {
  return std::any_of(problems.begin(), problems.end(),
                     [&](const std::string& p) { return p.find(word) != std::string::npos; });
}

TEST(LayoutValidate, SoundTableHasNoProblems) {
  const std::array<LayoutRow, 3> rows{Box("a", 0), Box("b", 1),
                                      LayoutRow{.kind = ControlKind::Timer, .name = "t", .interval_ms = 10}};
  EXPECT_TRUE(Validate(FormLayout{SoundForm(), rows}).empty());
}

TEST(LayoutValidate, ReportsEachKindOfMistake) {
  struct Case {
    const char* what;
    void (*spoil)(LayoutRow& form, std::array<LayoutRow, 2>& rows);
    const char* expected;
  };
  const Case cases[] = {
      {"off-pixel left", [](LayoutRow&, auto& r) { r[0].left = 31; }, "31 twips"},
      {"off-pixel form size", [](LayoutRow& f, auto&) { f.width = 1501; }, "1501 twips"},
      {"zero width", [](LayoutRow&, auto& r) { r[1].width = 0; }, "size must be positive"},
      {"negative top", [](LayoutRow&, auto& r) { r[1].top = -15; }, "must not be negative"},
      {"duplicate name", [](LayoutRow&, auto& r) { r[1].name = "a"; }, "used twice"},
      {"missing name", [](LayoutRow&, auto& r) { r[1].name = ""; }, "needs a name"},
      {"duplicate tab", [](LayoutRow&, auto& r) { r[1].tab_index = 0; }, "tab index 0 is used twice"},
      {"negative tab", [](LayoutRow&, auto& r) { r[1].tab_index = -5; }, "tab index must not be negative"},
      {"tab on a shape", [](LayoutRow&, auto& r) { r[1].kind = ControlKind::Shape; }, "no tab index"},
      {"form as control", [](LayoutRow&, auto& r) { r[1].kind = ControlKind::Form; }, "cannot be a control"},
      {"first row not form", [](LayoutRow& f, auto&) { f.kind = ControlKind::Frame; }, "first row"},
      {"form without font", [](LayoutRow& f, auto&) { f.font = kFormFont; }, "font of its own"},
      {"zero font",
       [](LayoutRow&, auto& r) {
         r[0].font = LayoutFont{"X", 0.0f, false};
       },
       "font size"},
      {"pen width 0", [](LayoutRow&, auto& r) { r[0].draw_width = 0; }, "pen width"},
      {"negative interval",
       [](LayoutRow&, auto& r) {
         r[1] = LayoutRow{.kind = ControlKind::Timer, .name = "t", .interval_ms = -1};
       },
       "interval"},
  };
  for (const Case& c : cases) {
    LayoutRow form = SoundForm();
    std::array<LayoutRow, 2> rows{Box("a", 0), Box("b", 1)};
    c.spoil(form, rows);
    const auto problems = Validate(FormLayout{form, rows});
    EXPECT_TRUE(Mentions(problems, c.expected)) << c.what << ": expected a problem mentioning '" << c.expected
                                                << "', got " << problems.size() << " problem(s)";
  }
}

TEST(LayoutValidate, TimersNeedNoPlace) {
  const std::array<LayoutRow, 2> rows{LayoutRow{.kind = ControlKind::Timer, .name = "t"},
                                      LayoutRow{.kind = ControlKind::CommonDialog, .name = "d"}};
  EXPECT_TRUE(Validate(FormLayout{SoundForm(), rows}).empty());
}

}  // namespace
}  // namespace runtime
