#include "render/exact_canvas.h"

#include <stdexcept>

#include "patterns/curve_pattern.h"
#include "patterns/seamless_surface.h"
#include "runtime/form.h"
#include "runtime/picture_box.h"

namespace render {
namespace {

constexpr const char* kParentClass = "HuiwenfangRenderCanvas";
constexpr int kEdgePixels = 2;  // the sunken client edge on each side

// The canvas's row of the main window's layout, as far as drawing goes: a
// pixel-scale picture box whose drawing area is the canvas, with its colours.
runtime::LayoutRow CanvasRow() {
  runtime::LayoutRow row{};
  row.kind = runtime::ControlKind::PictureBox;
  row.name = "picpaint";
  row.width = (patterns::kCanvasPixels + 2 * kEdgePixels) * runtime::kTwipsPerPixel;
  row.height = row.width;
  row.back_colour = runtime::Colour(0x0080FF80);
  row.fore_colour = runtime::Colour(0x00FF0000);
  row.scale_mode = runtime::ScaleMode::Pixel;
  row.draw_style = runtime::DrawStyle::InsideSolid;
  row.auto_redraw = true;
  row.client_edge = true;
  return row;
}

}  // namespace

ExactCanvas::ExactCanvas() {
  // The render command never attaches a screen backend, so the platform
  // layer is headless here: windows exist and draw into their off-screen
  // surfaces, and nothing reaches a display. Nothing else in the command
  // touches the layer.
  runtime::RegisterRuntimeClasses();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = kParentClass;
  WNDCLASSEXA probe{};
  probe.cbSize = sizeof(probe);
  if (!GetClassInfoExA(nullptr, kParentClass, &probe)) RegisterClassExA(&wc);
  // Never shown: the canvas is read from its image, not from a screen.
  parent_ = CreateWindowExA(0, kParentClass, "render", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                            nullptr);
  if (!parent_) throw std::runtime_error("the canvas for --exact cannot be made");
  const runtime::LayoutRow row = CanvasRow();
  box_ = std::make_unique<runtime::PictureBox>(parent_, row, runtime::LayoutFont{}, 1);
  if (box_->PixelWidth() != patterns::kCanvasPixels || box_->PixelHeight() != patterns::kCanvasPixels)
    throw std::logic_error("the canvas for --exact is not 201 x 201 pixels");
}

ExactCanvas::~ExactCanvas() {
  box_.reset();
  if (parent_) DestroyWindow(parent_);
}

patterns::Picture ExactCanvas::Draw(const patterns::PatternCode& code, bool seamless) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (seamless) {
    patterns::DrawSeamlessPattern(*box_, code);
  } else {
    patterns::DrawPattern(*box_, code);
  }
  return box_->Image();
}

}  // namespace render
