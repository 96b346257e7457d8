#include "app/form1_layout.h"

#include <array>

namespace app {
namespace {

using runtime::Colour;
using runtime::ControlKind;
using runtime::LayoutFont;
using runtime::LayoutRow;

constexpr LayoutFont kSong105Bold{"宋体", 10.5f, true};
constexpr LayoutFont kSans12Bold{"MS Sans Serif", 12.0f, true};
constexpr LayoutFont kSans825{"MS Sans Serif", 8.25f, false};

constexpr std::uint32_t kFormBlue = 0x00F5A038;
constexpr std::uint32_t kOrange = 0x000080FF;
constexpr std::uint32_t kFieldPurple = 0x008130B1;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

// Both shapes store white and the value 2, Shape1 also orange. White is the
// outline colour, 2 the outline width in pixels; Shape1's orange is its fill
// colour, but its fill stays transparent, so the orange is kept and never
// painted: each shape is a plain white frame around the text it encloses.
constexpr runtime::ShapeStyle kShape2Style{.border_colour = Colour(kWhite), .border_width = 2};
constexpr runtime::ShapeStyle kShape1Style{.border_colour = Colour(kWhite),
                                           .border_width = 2,
                                           .fill_colour = Colour(kOrange),
                                           .fill_style = runtime::FillStyle::Transparent};

constexpr LayoutRow Button(std::string_view name, std::string_view text, int left, int top, int tab) {
  return LayoutRow{.kind = ControlKind::CommandButton,
                   .name = name,
                   .text = text,
                   .left = left,
                   .top = top,
                   .width = 1035,
                   .height = 315,
                   .tab_index = tab};
}

// Labels leave `opaque` off: the form's background shows through them.
constexpr LayoutRow Label(std::string_view name, std::string_view text, int left, int top, int width,
                          int height, std::uint32_t fore, int tab) {
  return LayoutRow{.kind = ControlKind::Label,
                   .name = name,
                   .text = text,
                   .left = left,
                   .top = top,
                   .width = width,
                   .height = height,
                   .fore_colour = Colour(fore),
                   .tab_index = tab};
}

constexpr LayoutRow Timer(std::string_view name) {
  return LayoutRow{.kind = ControlKind::Timer, .name = name, .interval_ms = 2000, .enabled = false};
}

// A picture box with a sunken edge that keeps its drawing.
constexpr LayoutRow Picture(std::string_view name, int left, int top, int width, int height,
                            runtime::LayoutColour back, LayoutFont font, int tab) {
  return LayoutRow{.kind = ControlKind::PictureBox,
                   .name = name,
                   .left = left,
                   .top = top,
                   .width = width,
                   .height = height,
                   .back_colour = back,
                   .font = font,
                   .tab_index = tab,
                   .scale_mode = runtime::ScaleMode::Twip,
                   .auto_redraw = true,
                   .client_edge = true};
}

constexpr LayoutRow Picpaint() {
  LayoutRow row = Picture("picpaint", 11160, 60, 3075, 3075, Colour(0x0080FF80), kSans825, 0);
  row.fore_colour = Colour(0x00FF0000);
  row.scale_mode = runtime::ScaleMode::Pixel;
  // The stored drawing setting 6: lines stay solid, never inverted.
  row.draw_style = runtime::DrawStyle::InsideSolid;
  return row;
}

constexpr std::array<LayoutRow, 33> kControls{{
    {.kind = ControlKind::TextBox,
     .name = "Text1",
     .text = kIntroductionText,
     .left = 11280,
     .top = 5880,
     .width = 2895,
     .height = 1635,
     .back_colour = Colour(kFormBlue),
     .fore_colour = Colour(0x0006F9B0),
     .tab_index = 17,
     .multi_line = true,
     .scroll_bars = runtime::ScrollBars::None,
     .client_edge = true},
    {.kind = ControlKind::ComboBox,
     .name = "Combo1",
     .text = "80",
     .left = 11280,
     .top = 3540,
     .width = 1035,
     .height = 330,
     .tab_index = 6,
     .combo_style = runtime::ComboStyle::DropdownCombo},
    Button("Command6", "停止自动", 12780, 4980, 14),
    Timer("Timer2"),
    Timer("Timer1"),
    Button("Command5", "自动图2", 12780, 4620, 13),
    Button("Command4", "自动图1", 12780, 4260, 12),
    Button("Command3", "背景色", 12780, 3900, 11),
    Button("Command2", "效果图", 11280, 4620, 9),
    Picture("Picture1", 0, 0, 11115, 10695, Colour(0x00FF8080), kSans12Bold, 7),
    Button("Command1", "画图2", 11280, 4260, 5),
    {.kind = ControlKind::CommonDialog, .name = "cdl1", .filter = kSaveFilter},
    Button("cmdsave", "保存", 11280, 4980, 3),
    Button("cmdpaint", "画图1", 11280, 3900, 2),
    Button("cmddan", "前景色", 12780, 3540, 1),
    Picpaint(),
    Picture("Picture3", 6120, 3120, 3135, 3075, runtime::kDefaultColour, kSans12Bold, 10),
    Picture("Picture2", 2820, 3120, 3075, 3075, runtime::kDefaultColour, kSans12Bold, 8),
    {.kind = ControlKind::Frame,
     .name = "Frame1",
     .text = "图案设计制作",
     .left = 11160,
     .top = 3240,
     .width = 3075,
     .height = 2175,
     .back_colour = Colour(0x001D673F),
     .fore_colour = Colour(kOrange),
     .tab_index = 15},
    Button("cmdexit", "退出", 10020, 5520, 4),
    Label("Label11", kMakerNotice, 12240, 10140, 1935, 435, 0x00404000, 27),
    {.kind = ControlKind::Shape,
     .name = "Shape2",
     .left = 11220,
     .top = 7920,
     .width = 3015,
     .height = 1335,
     .shape = kShape2Style},
    {.kind = ControlKind::Shape,
     .name = "Shape1",
     .left = 11220,
     .top = 5820,
     .width = 3015,
     .height = 1755,
     .shape = kShape1Style},
    Label("Label10", "陶瓷图案", 12540, 8880, 1155, 315, kFieldPurple, 26),
    Label("Label9", "包装印刷", 11280, 8880, 1215, 315, kFieldPurple, 25),
    Label("Label8", "家装图案", 12540, 8580, 1155, 315, kFieldPurple, 24),
    Label("Label7", "图案研究", 11280, 8580, 1215, 315, kFieldPurple, 23),
    Label("Label6", "美术教育", 12540, 8280, 1155, 315, kFieldPurple, 22),
    Label("Label5", "美工设计", 11280, 8280, 1215, 315, kFieldPurple, 21),
    Label("Label4", "建材图案", 12540, 7980, 1155, 315, kFieldPurple, 20),
    Label("Label3", "纺织图案", 11280, 7980, 1215, 315, kFieldPurple, 19),
    Label("Label2", "图案应用范围", 11280, 7680, 1515, 315, kOrange, 18),
    Label("Label1", "软件简介", 11280, 5580, 1155, 315, kOrange, 16),
}};

// A mistyped twip value stops the build instead of shifting a control.
constexpr bool AllOnWholePixels() {
  for (const LayoutRow& r : kControls) {
    for (int v : {r.left, r.top, r.width, r.height}) {
      if (!runtime::IsWholePixel(v)) return false;
    }
  }
  return true;
}
static_assert(AllOnWholePixels());

const runtime::FormLayout kForm1{
    .form = {.kind = ControlKind::Form,
             .name = "Form1",
             .text = kForm1Caption,
             .width = 14280,
             .height = 10740,
             .back_colour = Colour(kFormBlue),
             .font = kSong105Bold},
    .controls = kControls,
};

}  // namespace

const runtime::FormLayout& Form1Layout() { return kForm1; }

}  // namespace app
