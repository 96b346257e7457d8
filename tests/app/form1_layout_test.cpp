// Form1's table read back against the window's documented layout. Expected
// positions are the pixel figures of the design, so a wrong twip value, a
// swapped row or a lost colour shows up as a difference here.
#include "app/form1_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace app {
namespace {

using runtime::ControlKind;
using runtime::LayoutRow;
using runtime::PixelRect;

struct Expected {
  const char* name;
  ControlKind kind;
  const char* text;  // nullptr: checked elsewhere
  PixelRect outer;
  std::optional<std::uint32_t> back;
  std::optional<std::uint32_t> fore;
  int tab;
};

constexpr auto B = ControlKind::CommandButton;
constexpr auto L = ControlKind::Label;
constexpr std::uint32_t kPurple = 0x008130B1;
constexpr std::uint32_t kOrange = 0x000080FF;
constexpr int kNone = runtime::kNoTabIndex;

const std::vector<Expected>& ExpectedRows() {
  static const std::vector<Expected> rows = {
      {"Text1", ControlKind::TextBox, nullptr, {752, 392, 193, 109}, 0x00F5A038, 0x0006F9B0, 17},
      {"Combo1", ControlKind::ComboBox, "80", {752, 236, 69, 22}, {}, {}, 6},
      {"Command6", B, "停止自动", {852, 332, 69, 21}, {}, {}, 14},
      {"Timer2", ControlKind::Timer, "", {}, {}, {}, kNone},
      {"Timer1", ControlKind::Timer, "", {}, {}, {}, kNone},
      {"Command5", B, "自动图2", {852, 308, 69, 21}, {}, {}, 13},
      {"Command4", B, "自动图1", {852, 284, 69, 21}, {}, {}, 12},
      {"Command3", B, "背景色", {852, 260, 69, 21}, {}, {}, 11},
      {"Command2", B, "效果图", {752, 308, 69, 21}, {}, {}, 9},
      {"Picture1", ControlKind::PictureBox, "", {0, 0, 741, 713}, 0x00FF8080, {}, 7},
      {"Command1", B, "画图2", {752, 284, 69, 21}, {}, {}, 5},
      {"cdl1", ControlKind::CommonDialog, "", {}, {}, {}, kNone},
      {"cmdsave", B, "保存", {752, 332, 69, 21}, {}, {}, 3},
      {"cmdpaint", B, "画图1", {752, 260, 69, 21}, {}, {}, 2},
      {"cmddan", B, "前景色", {852, 236, 69, 21}, {}, {}, 1},
      {"picpaint", ControlKind::PictureBox, "", {744, 4, 205, 205}, 0x0080FF80, 0x00FF0000, 0},
      {"Picture3", ControlKind::PictureBox, "", {408, 208, 209, 205}, {}, {}, 10},
      {"Picture2", ControlKind::PictureBox, "", {188, 208, 205, 205}, {}, {}, 8},
      {"Frame1", ControlKind::Frame, "图案设计制作", {744, 216, 205, 145}, 0x001D673F, kOrange, 15},
      {"cmdexit", B, "退出", {668, 368, 69, 21}, {}, {}, 4},
      {"Label11", L, nullptr, {816, 676, 129, 29}, {}, 0x00404000, 27},
      {"Shape2", ControlKind::Shape, "", {748, 528, 201, 89}, {}, {}, kNone},
      {"Shape1", ControlKind::Shape, "", {748, 388, 201, 117}, {}, {}, kNone},
      {"Label10", L, "陶瓷图案", {836, 592, 77, 21}, {}, kPurple, 26},
      {"Label9", L, "包装印刷", {752, 592, 81, 21}, {}, kPurple, 25},
      {"Label8", L, "家装图案", {836, 572, 77, 21}, {}, kPurple, 24},
      {"Label7", L, "图案研究", {752, 572, 81, 21}, {}, kPurple, 23},
      {"Label6", L, "美术教育", {836, 552, 77, 21}, {}, kPurple, 22},
      {"Label5", L, "美工设计", {752, 552, 81, 21}, {}, kPurple, 21},
      {"Label4", L, "建材图案", {836, 532, 77, 21}, {}, kPurple, 20},
      {"Label3", L, "纺织图案", {752, 532, 81, 21}, {}, kPurple, 19},
      {"Label2", L, "图案应用范围", {752, 512, 101, 21}, {}, kOrange, 18},
      {"Label1", L, "软件简介", {752, 372, 77, 21}, {}, kOrange, 16},
  };
  return rows;
}

const LayoutRow& Row(std::string_view name) {
  const LayoutRow* row = runtime::FindControl(Form1Layout(), name);
  if (!row) throw std::runtime_error("no control " + std::string(name));
  return *row;
}

bool Inside(const PixelRect& inner, const PixelRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

TEST(Form1Layout, TableIsSound) {
  const auto problems = runtime::Validate(Form1Layout());
  for (const auto& p : problems) ADD_FAILURE() << p;
}

TEST(Form1Layout, FormRow) {
  const LayoutRow& form = Form1Layout().form;
  EXPECT_EQ(form.kind, ControlKind::Form);
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.text, "澜帆绘纹坊0.1版");
  EXPECT_EQ(runtime::OuterPixels(form), (PixelRect{0, 0, 952, 716}));
  EXPECT_EQ(form.back_colour, runtime::Colour(0x00F5A038));
  EXPECT_EQ(form.font.face, "宋体");
  EXPECT_TRUE(form.font.bold);
  EXPECT_EQ(runtime::LogFontHeight(form.font.points), -14);
}

TEST(Form1Layout, EveryRowInStackingOrder) {
  const auto& controls = Form1Layout().controls;
  const auto& expected = ExpectedRows();
  ASSERT_EQ(controls.size(), 33u);
  ASSERT_EQ(expected.size(), 33u);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Expected& e = expected[i];
    const LayoutRow& row = controls[i];
    SCOPED_TRACE(std::string("row ") + std::to_string(i + 1) + " " + e.name);
    EXPECT_EQ(row.name, e.name);
    EXPECT_EQ(row.kind, e.kind);
    if (e.text) {
      EXPECT_EQ(row.text, e.text);
    }
    if (runtime::HasGeometry(e.kind)) {
      EXPECT_EQ(runtime::OuterPixels(row), e.outer);
    }
    EXPECT_EQ(row.back_colour, e.back ? runtime::Colour(*e.back) : runtime::kDefaultColour);
    EXPECT_EQ(row.fore_colour, e.fore ? runtime::Colour(*e.fore) : runtime::kDefaultColour);
    EXPECT_EQ(row.tab_index, e.tab);
  }
}

TEST(Form1Layout, Texts) {
  EXPECT_EQ(Row("Text1").text,
            "1：电脑自动生成图案。\r\n2：制作的图案数量巨大。\r\n3：也可手动生成图案。\r\n"
            "4：是美工设计必备软件。\r\n5：本软件实用价值巨大。\r\n6：是对图案学的巨大贡献。\r\n"
            "7：本软件是绿色软件。\r\n");
  EXPECT_EQ(Row("Label11").text, kMakerNotice);
  EXPECT_FALSE(kMakerNotice.empty());
  EXPECT_EQ(kMakerNotice.find('\n'), std::string_view::npos) << "a one-line notice";
  EXPECT_EQ(kMakerWebAddress.substr(0, 8), "https://");
  EXPECT_EQ(Row("cdl1").filter, "BMP Files(*.bmp)|*.bmp");
}

TEST(Form1Layout, FontsOfTheirOwnOrTheForms) {
  const auto& layout = Form1Layout();
  struct Case {
    const char* name;
    const char* face;
    int pixels;
    bool bold;
  };
  const Case cases[] = {
      {"picpaint", "MS Sans Serif", 11, false},
      {"Picture1", "MS Sans Serif", 16, true},
      {"Picture2", "MS Sans Serif", 16, true},
      {"Picture3", "MS Sans Serif", 16, true},
      {"cmdpaint", "宋体", 14, true},
      {"Text1", "宋体", 14, true},
      {"Label11", "宋体", 14, true},
      {"Frame1", "宋体", 14, true},
  };
  for (const Case& c : cases) {
    const runtime::LayoutFont& font = runtime::EffectiveFont(layout, Row(c.name));
    EXPECT_EQ(font.face, c.face) << c.name;
    EXPECT_EQ(runtime::FontPixelHeight(font.points), c.pixels) << c.name;
    EXPECT_EQ(font.bold, c.bold) << c.name;
  }
}

TEST(Form1Layout, TabOrderRunsFromPicpaintToLabel11) {
  const auto order = runtime::TabOrder(Form1Layout());
  ASSERT_EQ(order.size(), 28u);
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i]->tab_index, static_cast<int>(i));
  EXPECT_EQ(order[0]->name, "picpaint");
  EXPECT_EQ(order[4]->name, "cmdexit");
  EXPECT_EQ(order[27]->name, "Label11");
}

TEST(Form1Layout, PictureBoxesDrawingAreas) {
  struct Case {
    const char* name;
    int width, height;
    runtime::ScaleMode scale;
  };
  const Case cases[] = {{"picpaint", 201, 201, runtime::ScaleMode::Pixel},
                        {"Picture1", 737, 709, runtime::ScaleMode::Twip},
                        {"Picture2", 201, 201, runtime::ScaleMode::Twip},
                        {"Picture3", 205, 201, runtime::ScaleMode::Twip}};
  for (const Case& c : cases) {
    const LayoutRow& row = Row(c.name);
    const PixelRect area = runtime::ClientPixels(row);
    EXPECT_EQ(area.width, c.width) << c.name;
    EXPECT_EQ(area.height, c.height) << c.name;
    EXPECT_EQ(row.scale_mode, c.scale) << c.name;
    EXPECT_TRUE(row.auto_redraw) << c.name << " keeps its drawing";
    EXPECT_EQ(row.draw_width, 1) << c.name;
  }
  EXPECT_EQ(Row("picpaint").draw_style, runtime::DrawStyle::InsideSolid);
}

TEST(Form1Layout, OtherSettings) {
  for (const char* name : {"Timer1", "Timer2"}) {
    EXPECT_FALSE(Row(name).enabled) << name;
    EXPECT_EQ(Row(name).interval_ms, 2000) << name;
  }
  EXPECT_TRUE(Row("Text1").multi_line);
  EXPECT_EQ(Row("Text1").scroll_bars, runtime::ScrollBars::None);
  EXPECT_TRUE(Row("Text1").client_edge);
  EXPECT_EQ(Row("Combo1").combo_style, runtime::ComboStyle::DropdownCombo);
  for (const char* name : {"Shape1", "Shape2"}) {
    EXPECT_EQ(Row(name).shape.border_colour, runtime::Colour(0x00FFFFFF)) << name;
    EXPECT_EQ(Row(name).shape.border_width, 2) << name;
    EXPECT_EQ(Row(name).shape.fill_style, runtime::FillStyle::Transparent) << name;
  }
  EXPECT_EQ(Row("Shape1").shape.fill_colour, runtime::Colour(0x000080FF));

  int windowed = 0, buttons = 0;
  for (const LayoutRow& row : Form1Layout().controls) {
    windowed += runtime::IsWindowed(row.kind);
    buttons += row.kind == ControlKind::CommandButton;
  }
  EXPECT_EQ(windowed, 17);
  EXPECT_EQ(buttons, 10);
}

TEST(Form1Layout, HiddenBuffersLieBehindTheEffectPicture) {
  const PixelRect picture1 = runtime::OuterPixels(Row("Picture1"));
  const int front = runtime::StackingIndex(Form1Layout(), "Picture1");
  for (const char* name : {"Picture2", "Picture3", "cmdexit"}) {
    EXPECT_TRUE(Inside(runtime::OuterPixels(Row(name)), picture1)) << name;
    EXPECT_GT(runtime::StackingIndex(Form1Layout(), name), front) << name;
  }
}

TEST(Form1Layout, CommandsLieInFrontOfTheFrame) {
  const PixelRect frame = runtime::OuterPixels(Row("Frame1"));
  const int frame_index = runtime::StackingIndex(Form1Layout(), "Frame1");
  for (const char* name : {"Combo1", "cmdpaint", "Command1", "Command2", "cmdsave", "cmddan", "Command3",
                           "Command4", "Command5", "Command6"}) {
    EXPECT_TRUE(Inside(runtime::OuterPixels(Row(name)), frame)) << name;
    EXPECT_LT(runtime::StackingIndex(Form1Layout(), name), frame_index) << name;
  }
}

TEST(Form1Layout, ShapesFrameTheirTextsWithFourPixelMargins) {
  const PixelRect shape1 = runtime::OuterPixels(Row("Shape1"));
  const PixelRect text1 = runtime::OuterPixels(Row("Text1"));
  EXPECT_EQ(text1.x - shape1.x, 4);
  EXPECT_EQ(text1.y - shape1.y, 4);
  EXPECT_EQ((shape1.x + shape1.width) - (text1.x + text1.width), 4);
  EXPECT_EQ((shape1.y + shape1.height) - (text1.y + text1.height), 4);

  // Labels 3 to 10 form two columns; the frame keeps 4 pixels to their
  // left, top and bottom.
  int left = 10000, top = 10000, bottom = 0;
  for (int i = 3; i <= 10; ++i) {
    const PixelRect r = runtime::OuterPixels(Row("Label" + std::to_string(i)));
    left = std::min(left, r.x);
    top = std::min(top, r.y);
    bottom = std::max(bottom, r.y + r.height);
  }
  const PixelRect shape2 = runtime::OuterPixels(Row("Shape2"));
  EXPECT_EQ(left - shape2.x, 4);
  EXPECT_EQ(top - shape2.y, 4);
  EXPECT_EQ(shape2.y + shape2.height - bottom, 4);
}

TEST(Form1Layout, EverythingFitsTheClientArea) {
  const PixelRect client = runtime::OuterPixels(Form1Layout().form);
  for (const LayoutRow& row : Form1Layout().controls) {
    if (runtime::HasGeometry(row.kind)) {
      EXPECT_TRUE(Inside(runtime::OuterPixels(row), client)) << row.name;
    }
  }
}

}  // namespace
}  // namespace app
