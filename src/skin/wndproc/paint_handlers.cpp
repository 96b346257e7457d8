// WM_PAINT and WM_NCPAINT by class group: the push button's face in place of its own drawing, the
// check and option marks over the control's own, and the flat border of sunken-edge windows over
// the platform's 3-D one. The other kinds are in paint_lists.cpp and paint_bars.cpp.
#include "platform/scoped_handles.h"
#include "skin/button_faces.h"
#include "skin/class_groups.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/wndproc/button_messages.h"
#include "skin/wndproc/paint_branches.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

constexpr std::int32_t kOpaque = 255;

LRESULT PaintPushButton(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Check boxes and radio buttons of the button class keep their own drawing.
  if (GetIntProp(hWnd, kOldStyleProp) & kNotPushButtonBits)
    return HandOn(previous, hWnd, msg, wParam, lParam);
  // A fade in progress ends here with its face shown fully.
  StopHoverTimer(hWnd);
  SetIntProp(hWnd, kAlphaLevelProp, kOpaque);
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hWnd, &ps);
  PaintButton(hWnd, dc);
  EndPaint(hWnd, &ps);
  return 0;
}

// The sunken edge replaced by one line in the border colour and, inside it, frames in the client's
// background colour as thick as the frame is.
void DrawFlatBorder(HWND hWnd) {
  std::int32_t bx = 0;
  std::int32_t by = 0;
  GetBorderSize(hWnd, bx, by);
  SkinBox box;
  GetWindowBox(hWnd, box);
  win32::WindowDc windowDC(hWnd);
  win32::WindowDc clientDC(hWnd, /*client=*/true);
  FrameBox(windowDC.get(), 0, 0, box.Width, box.Height, BorderColourOf(hWnd));
  for (std::int32_t d = 1; d <= bx; ++d)
    FrameBox(windowDC.get(), d, d, box.Width - d - 1, box.Height - d - 1, GetBkColor(clientDC.get()));
  clientDC.reset();
  windowDC.reset();
}

}  // namespace

LRESULT OnPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (WindowGroup(hWnd)) {
    case ClassGroup::PushButton:
      return PaintPushButton(previous, hWnd, msg, wParam, lParam);
    case ClassGroup::ComboBox:
      return PaintComboBox(previous, hWnd, msg, wParam, lParam);
    case ClassGroup::DriveList:
      return PaintDriveList(previous, hWnd, msg, wParam, lParam);
    case ClassGroup::CheckBox: {
      const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
      PaintCheckBox(hWnd, 0, VbTrue);
      return result;
    }
    case ClassGroup::OptionButton: {
      const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
      PaintOptionButton(hWnd, 0, VbTrue);
      return result;
    }
    case ClassGroup::DataList:
    case ClassGroup::DropDownList:
      return PaintListFrame(previous, hWnd, msg, wParam, lParam);
    case ClassGroup::ProgressBar:
      return PaintProgressBar(hWnd);
    case ClassGroup::Header:
      return PaintHeader(hWnd);
    case ClassGroup::Grid:
      return PaintGrid(previous, hWnd, msg, wParam, lParam);
    default:
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

LRESULT OnNcPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (WindowGroup(hWnd)) {
    case ClassGroup::ProgressBar:
      return NcPaintProgressBar(hWnd);
    case ClassGroup::DataList:
      return HandOn(previous, hWnd, msg, wParam, lParam);
    default: {
      const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
      if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawFlatBorder(hWnd);
      return result;
    }
  }
}

}  // namespace skin
