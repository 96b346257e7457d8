// Sections:
//   1. Creation and teardown
//   2. Erasing: Cls, BackColor, Picture
//   3. Points and lines
//   4. Pictures in and out: Image, PaintPicture
//   5. Text: Print
//   6. Window procedure
#include "runtime/picture_box.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace runtime {
namespace {

using patterns::PixelFromColour;

constexpr char kSelfProp[] = "RuntimePictureBox";

// Lines far outside the box are cut to this margin around it before they
// reach integer pixels, so amplitudes in the thousands cannot overflow.
constexpr double kClipMargin = 4096.0;

int NearestPixel(double v) { return static_cast<int>(std::floor(v + 0.5)); }

COLORREF ResolveColour(const LayoutColour& c, int sysColour) {
  return c.is_default ? GetSysColor(sysColour) : static_cast<COLORREF>(c.value);
}

}  // namespace

// ---- 1. Creation and teardown ----------------------------------------------------

PictureBox::PictureBox(HWND parent, const LayoutRow& row, const LayoutFont& font, int id)
    : name_(row.name),
      scale_(row.scale_mode == ScaleMode::Pixel ? 1.0 : static_cast<double>(kTwipsPerPixel)) {
  const PixelRect outer = OuterPixels(row);
  const PixelRect client = ClientPixels(row);
  width_ = std::max(client.width, 1);
  height_ = std::max(client.height, 1);
  back_ = static_cast<patterns::Colour>(ResolveColour(row.back_colour, COLOR_BTNFACE));
  fore_ = static_cast<patterns::Colour>(ResolveColour(row.fore_colour, COLOR_BTNTEXT));
  font_.reset(CreateLayoutFont(font.face, font.points, font.bold));

  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width_;
  bmi.bmiHeader.biHeight = -height_;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !dc_.get()) throw std::runtime_error("picture box: no memory for its image");
  bits_ = static_cast<std::uint32_t*>(bits);
  old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
  SelectObject(dc_.get(), GetStockObject(DC_PEN));
  SetROP2(dc_.get(), R2_COPYPEN);
  SetBkMode(dc_.get(), TRANSPARENT);
  Erase();

  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (row.tab_index != kNoTabIndex) style |= WS_TABSTOP;
  const std::string name(row.name);
  hwnd_ = CreateWindowExA(row.client_edge ? WS_EX_CLIENTEDGE : 0, kPictureBoxClass, name.c_str(), style,
                          outer.x, outer.y, outer.width, outer.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (!hwnd_) throw std::runtime_error("picture box: cannot create window " + name);
  SetPropA(hwnd_, kSelfProp, this);
}

PictureBox::~PictureBox() {
  if (IsWindow(hwnd_)) RemovePropA(hwnd_, kSelfProp);
  if (old_bitmap_) SelectObject(dc_.get(), old_bitmap_);
}

float PictureBox::ScaleWidth() const { return static_cast<float>(width_ * scale_); }
float PictureBox::ScaleHeight() const { return static_cast<float>(height_ * scale_); }

std::uint32_t PictureBox::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return bits_[static_cast<std::size_t>(y) * width_ + x];
}

void PictureBox::Changed() {
  snapshot_valid_ = false;
  if (!invalidated_ && IsWindow(hwnd_)) {
    invalidated_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

// ---- 2. Erasing --------------------------------------------------------------------

void PictureBox::Erase() {
  std::fill_n(bits_, static_cast<std::size_t>(width_) * height_, PixelFromColour(back_));
  if (!picture_.IsEmpty()) BlitPicture(picture_, 0, 0, picture_.Width(), picture_.Height());
  Changed();
}

void PictureBox::Cls() {
  Erase();
  cur_x_ = 0;
  cur_y_ = 0;
}

void PictureBox::SetBackColor(patterns::Colour colour) {
  back_ = colour;
  Erase();
}

void PictureBox::SetPicture(const patterns::Picture& picture) {
  picture_ = picture;
  Erase();
}

// ---- 3. Points and lines -------------------------------------------------------------

void PictureBox::SetPixelClipped(int x, int y, std::uint32_t pixel) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  bits_[static_cast<std::size_t>(y) * width_ + x] = pixel;
}

void PictureBox::PSet(float x, float y, patterns::Colour colour) {
  cur_x_ = x;
  cur_y_ = y;
  const double px = ToPixels(x), py = ToPixels(y);
  if (std::fabs(px) < 1e9 && std::fabs(py) < 1e9)
    SetPixelClipped(NearestPixel(px), NearestPixel(py), PixelFromColour(colour));
  Changed();
}

void PictureBox::MoveTo(float x, float y) {
  cur_x_ = x;
  cur_y_ = y;
}

void PictureBox::Line(float x, float y, patterns::Colour colour) {
  double x0 = ToPixels(cur_x_), y0 = ToPixels(cur_y_);
  double x1 = ToPixels(x), y1 = ToPixels(y);
  cur_x_ = x;
  cur_y_ = y;
  const bool endInside = std::fabs(x1) < 1e9 && std::fabs(y1) < 1e9 && NearestPixel(x1) >= 0 &&
                         NearestPixel(y1) >= 0 && NearestPixel(x1) < width_ && NearestPixel(y1) < height_;
  if (patterns::ClipSegment(x0, y0, x1, y1, -kClipMargin, width_ + kClipMargin, height_ + kClipMargin)) {
    HDC dc = dc_.get();
    SetDCPenColor(dc, static_cast<COLORREF>(colour));
    MoveToEx(dc, NearestPixel(x0), NearestPixel(y0), nullptr);
    LineTo(dc, NearestPixel(x1), NearestPixel(y1));
    if (endInside) SetPixelClipped(NearestPixel(x1), NearestPixel(y1), PixelFromColour(colour));
  }
  Changed();
}

// ---- 4. Pictures in and out -------------------------------------------------------------

patterns::Picture PictureBox::Image() {
  if (!snapshot_valid_) {
    auto data = std::make_shared<patterns::PictureData>();
    data->width = width_;
    data->height = height_;
    data->pixels.assign(bits_, bits_ + static_cast<std::size_t>(width_) * height_);
    snapshot_ = patterns::Picture(std::move(data));
    snapshot_valid_ = true;
  }
  return snapshot_;
}

// Nearest-pixel scaling; at natural size whole rows are copied.
void PictureBox::BlitPicture(const patterns::Picture& picture, int x, int y, int w, int h) {
  if (picture.IsEmpty() || w <= 0 || h <= 0) return;
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min<long long>(static_cast<long long>(x) + w, width_);
  const int y1 = std::min<long long>(static_cast<long long>(y) + h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  const auto src = picture.Pixels();
  const int sw = picture.Width(), sh = picture.Height();
  const bool natural = (w == sw && h == sh);
  for (int dy = y0; dy < y1; ++dy) {
    const int sy = natural ? dy - y : static_cast<int>((static_cast<long long>(dy - y) * sh) / h);
    const std::uint32_t* srow = src.data() + static_cast<std::size_t>(sy) * sw;
    std::uint32_t* drow = bits_ + static_cast<std::size_t>(dy) * width_;
    if (natural) {
      std::memcpy(drow + x0, srow + (x0 - x), static_cast<std::size_t>(x1 - x0) * sizeof(std::uint32_t));
    } else {
      for (int dx = x0; dx < x1; ++dx) drow[dx] = srow[(static_cast<long long>(dx - x) * sw) / w];
    }
  }
}

void PictureBox::PaintPicture(const patterns::Picture& picture, float x, float y, float width, float height) {
  const double px = ToPixels(x), py = ToPixels(y), pw = ToPixels(width), ph = ToPixels(height);
  for (double v : {px, py, pw, ph}) {
    if (!(std::fabs(v) < 1e9)) return;
  }
  BlitPicture(picture, NearestPixel(px), NearestPixel(py), NearestPixel(pw), NearestPixel(ph));
  Changed();
}

// ---- 5. Text ----------------------------------------------------------------------------

void PictureBox::Print(std::string_view text) {
  HDC dc = dc_.get();
  win32::SelectedObject font(dc, font_.get());
  SetTextColor(dc, static_cast<COLORREF>(fore_));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const double px = ToPixels(cur_x_), py = ToPixels(cur_y_);
  if (std::fabs(px) < 1e9 && std::fabs(py) < 1e9 && !text.empty()) {
    const std::string s(text);
    TextOutA(dc, NearestPixel(px), NearestPixel(py), s.c_str(), static_cast<int>(s.size()));
  }
  cur_x_ = 0;
  cur_y_ += tm.tmHeight * scale_;
  Changed();
}

// ---- 6. Window procedure -------------------------------------------------------------------

void PictureBox::OnPaint() {
  {
    win32::PaintDc dc(hwnd_);
    if (dc.get()) BitBlt(dc.get(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
  }
  invalidated_ = false;
}

LRESULT CALLBACK PictureBox::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<PictureBox*>(GetPropA(hwnd, kSelfProp));
  switch (msg) {
    case WM_PAINT:
      if (self) {
        self->OnPaint();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      // The image covers the whole drawing area.
      if (self) return 1;
      break;
    case WM_GETFONT:
      if (self) return reinterpret_cast<LRESULT>(self->font_.get());
      break;
    case WM_SETFONT:
      return 0;  // the box prints in the font of its own layout row
    case WM_LBUTTONDOWN:
      // A click gives the box the focus, as its tab stop promises.
      if (GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) SetFocus(hwnd);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace runtime
