// The picture box: a child window with the sunken client edge that keeps a
// persistent 32-bit image of its drawing area and repaints itself from it.
// It is the runtime's DrawingSurface for the pattern generators.
//
// Units: a box in pixel scale takes coordinates as pixels; a box in twip scale
// divides them by 15. Either way a coordinate lands on the nearest pixel.
// Lines are one pixel wide, in exact colours (no smoothing) and include their
// end pixel, as the classic runtime's Line does; Win32's LineTo alone would
// leave it out.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "patterns/drawing_surface.h"
#include "platform/scoped_handles.h"
#include "platform/win32.h"
#include "runtime/layout.h"

namespace runtime {

// The font a layout row asks for: height from the point size at 96 dpi,
// weight 700 for bold. An empty face yields no font.
HFONT CreateLayoutFont(std::string_view face, float points, bool bold);

inline constexpr const char* kPictureBoxClass = "ThunderRT6PictureBoxDC";

class PictureBox final : public patterns::DrawingSurface {
 public:
  // Creates the window as a child of `parent` at the row's place. `font` is
  // the row's effective font (its own or the form's).
  PictureBox(HWND parent, const LayoutRow& row, const LayoutFont& font, int id);
  ~PictureBox() override;
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;

  HWND Hwnd() const { return hwnd_; }
  std::string_view Name() const { return name_; }

  // DrawingSurface.
  void Cls() override;
  void PSet(float x, float y, patterns::Colour colour) override;
  void Line(float x, float y, patterns::Colour colour) override;
  void MoveTo(float x, float y) override;
  void SetBackColor(patterns::Colour colour) override;
  patterns::Colour BackColor() const override { return back_; }
  void SetForeColor(patterns::Colour colour) override { fore_ = colour; }
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  patterns::Picture Image() override;
  void SetPicture(const patterns::Picture& picture) override;
  void PaintPicture(const patterns::Picture& picture, float x, float y, float width, float height) override;
  void Print(std::string_view text) override;

  patterns::Colour ForeColor() const { return fore_; }
  double CurrentX() const { return cur_x_; }
  double CurrentY() const { return cur_y_; }
  // Size of the drawing area in pixels.
  int PixelWidth() const { return width_; }
  int PixelHeight() const { return height_; }
  // The persistent image, 0x00RRGGBB, top row first.
  std::uint32_t PixelAt(int x, int y) const;
  HFONT Font() const { return font_.get(); }

  // Window procedure of the class; registered by RegisterRuntimeClasses.
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  // Scale units to pixel space (not yet rounded).
  double ToPixels(double v) const { return v / scale_; }
  void Erase();
  void Changed();
  void SetPixelClipped(int x, int y, std::uint32_t pixel);
  void BlitPicture(const patterns::Picture& picture, int x, int y, int w, int h);
  void OnPaint();

  HWND hwnd_ = nullptr;
  std::string_view name_;
  int width_ = 0;
  int height_ = 0;
  double scale_ = 1.0;
  win32::OwnedDc dc_{CreateCompatibleDC(nullptr)};
  win32::GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  win32::GdiObject<HFONT> font_;
  patterns::Colour back_ = 0;
  patterns::Colour fore_ = 0;
  patterns::Picture picture_;
  double cur_x_ = 0;
  double cur_y_ = 0;
  // Image() hands out the same snapshot until something is drawn again.
  patterns::Picture snapshot_;
  bool snapshot_valid_ = false;
  bool invalidated_ = false;
};

}  // namespace runtime
