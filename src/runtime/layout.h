// Layout tables: a form and its controls described as constant rows.
//
// Sections:
//   1. Units and conversions (twips, pixels, font heights)
//   2. The pieces of a row (kind, colour, font, per-kind settings)
//   3. LayoutRow and FormLayout
//   4. Lookup and validation
//
// A form is built from one FormLayout: the form's own row, then its controls in
// stacking order (the first control lies in front of every later one). Nothing
// here touches a window; the runtime turns rows into windows later.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// ---- 1. Units and conversions ------------------------------------------------

// The layout is measured in twips; at 96 dpi a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kScreenDpi = 96;

constexpr bool IsWholePixel(int twips) { return twips % kTwipsPerPixel == 0; }

// Every layout value is meant to land on a pixel boundary. A value that does
// not is a typing error in a table, so it is refused rather than rounded (and
// refused at compile time when the call is constant-evaluated).
constexpr int TwipsToPixels(int twips) {
  if (!IsWholePixel(twips)) throw std::invalid_argument("layout value is not a multiple of 15 twips");
  return twips / kTwipsPerPixel;
}

constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// Character height in pixels of a font of `points` at 96 dpi: pt * 96 / 72,
// rounded half away from zero as MulDiv does on Windows. The sizes the layout
// uses are exact: 8.25 pt -> 11 px, 10.5 pt -> 14 px, 12 pt -> 16 px.
int FontPixelHeight(float points);

// The LOGFONT lfHeight for the same font: negative, because it asks for the
// character height (cell height minus internal leading), as Windows programs
// do when they convert point sizes.
int LogFontHeight(float points);

// ---- 2. The pieces of a row ----------------------------------------------------

enum class ControlKind {
  Form,
  CommandButton,
  Label,
  TextBox,
  ComboBox,
  PictureBox,
  Frame,
  Shape,
  Timer,
  CommonDialog,
};

std::string_view KindName(ControlKind kind);

// Labels, shapes, timers and the common dialog have no window of their own.
constexpr bool IsWindowed(ControlKind kind) {
  return kind != ControlKind::Label && kind != ControlKind::Shape && kind != ControlKind::Timer &&
         kind != ControlKind::CommonDialog;
}

// Timers and the common dialog are objects of the form without a place on it.
constexpr bool HasGeometry(ControlKind kind) {
  return kind != ControlKind::Timer && kind != ControlKind::CommonDialog;
}

// A colour 0x00BBGGRR, or "default": the platform's own colour for that kind
// of control (button face, window text, ...), resolved by the runtime.
struct LayoutColour {
  bool is_default = true;
  std::uint32_t value = 0;

  friend constexpr bool operator==(const LayoutColour&, const LayoutColour&) = default;
};
inline constexpr LayoutColour kDefaultColour{};
constexpr LayoutColour Colour(std::uint32_t bgr) { return LayoutColour{false, bgr}; }

// An empty face means "the form's font": a control without a font of its own
// uses the font of its form.
struct LayoutFont {
  std::string_view face{};
  float points = 0.0f;
  bool bold = false;

  constexpr bool inherits() const { return face.empty(); }
  friend constexpr bool operator==(const LayoutFont&, const LayoutFont&) = default;
};
inline constexpr LayoutFont kFormFont{};

inline constexpr int kNoTabIndex = -1;

enum class ScrollBars { None, Horizontal, Vertical, Both };
enum class ScaleMode { Twip, Pixel };
enum class ComboStyle { DropdownCombo, Simple, DropdownList };

// Line style of a picture box. InsideSolid draws solid lines like Solid; it
// differs only for closed figures wider than one pixel, which shrink to stay
// inside their bounds. It never inverts or blends.
enum class DrawStyle { Solid = 0, InsideSolid = 6 };

enum class FillStyle { Solid, Transparent };

// Outline and fill of a shape. The outline is `border_width` pixels wide and
// lies inside the shape's rectangle.
struct ShapeStyle {
  LayoutColour border_colour{};
  int border_width = 1;
  LayoutColour fill_colour{};
  FillStyle fill_style = FillStyle::Transparent;

  friend constexpr bool operator==(const ShapeStyle&, const ShapeStyle&) = default;
};

// ---- 3. LayoutRow and FormLayout ------------------------------------------------

// One control (or the form). Fields that do not apply to a kind keep their
// defaults; Validate() checks the ones that must be set.
struct LayoutRow {
  ControlKind kind = ControlKind::Label;
  std::string_view name{};
  std::string_view text{};  // caption or text, UTF-8
  // Twips. For the form, left/top are 0 and width/height are the client area.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  LayoutColour back_colour{};
  LayoutColour fore_colour{};
  LayoutFont font{};
  int tab_index = kNoTabIndex;

  // Text box.
  bool multi_line = false;
  ScrollBars scroll_bars = ScrollBars::None;
  // Combo box.
  ComboStyle combo_style = ComboStyle::DropdownCombo;
  // Picture box: unit of its drawing operations, whether it keeps what is
  // drawn in a persistent image, its line style and pen width in pixels.
  ScaleMode scale_mode = ScaleMode::Twip;
  bool auto_redraw = false;
  DrawStyle draw_style = DrawStyle::Solid;
  int draw_width = 1;
  // Picture boxes and text boxes of this program have the sunken 3-D edge.
  bool client_edge = false;
  // Label: false shows the form through the label; true fills back_colour.
  bool opaque = false;
  // Timer.
  int interval_ms = 0;
  bool enabled = true;
  // Shape.
  ShapeStyle shape{};
  // Common dialog: "description|pattern" pairs as the dialog takes them.
  std::string_view filter{};
};

// The sunken edge takes 2 pixels on each side.
inline constexpr int kClientEdgePixels = 2;

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Outer rectangle of the row in pixels, relative to the form's client area.
PixelRect OuterPixels(const LayoutRow& row);

// Size of the drawing area: the outer size minus the sunken edge if it has one.
PixelRect ClientPixels(const LayoutRow& row);

struct FormLayout {
  LayoutRow form{};
  std::span<const LayoutRow> controls{};  // stacking order, front first
};

// The font a control really uses: its own, or the form's.
const LayoutFont& EffectiveFont(const FormLayout& layout, const LayoutRow& row);

// ---- 4. Lookup and validation -------------------------------------------------

// nullptr when no control has that name (names compare exactly, as the code
// that uses them spells them).
const LayoutRow* FindControl(const FormLayout& layout, std::string_view name);

// Position of the control in stacking order (0 = front), or -1.
int StackingIndex(const FormLayout& layout, std::string_view name);

// Controls that take a tab index, ordered by it.
std::vector<const LayoutRow*> TabOrder(const FormLayout& layout);

// Every inconsistency of a table, one sentence each; empty when the table is
// sound. Checked: the form row's kind and size, kinds of the control rows,
// unique non-empty names, whole-pixel geometry with positive sizes for
// controls that have a place, unique non-negative tab indices only on
// controls that can hold one, font sizes, timer intervals, pen widths.
std::vector<std::string> Validate(const FormLayout& layout);

}  // namespace runtime
