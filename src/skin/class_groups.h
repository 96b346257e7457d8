// Class groups: the engine knows a window only by its class name, lower-cased and looked up afresh
// on every use, so a window that changes class (or is gone) is never judged by a stale answer.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32.h"

namespace skin {

// In the order the groups are tested; the first match wins.
enum class ClassGroup {
  Form,
  PushButton,
  ComboBox,
  DriveList,
  CheckBox,
  OptionButton,
  Header,
  ProgressBar,
  DataList,
  DropDownList,
  Grid,
  Other,
};

// The window's class name as registered (not lower-cased), at most 254 characters; "" when the
// window is gone or has no class.
std::string GetWindowClass(HWND hWnd);

// ASCII lower-casing; bytes of multi-byte characters pass unchanged.
std::string LowerCase(std::string_view text);

// The group of an already lower-cased class name: exact comparison with the known names, and
// every name that begins with "apexgrid" in the grid group.
ClassGroup ClassGroupOf(std::string_view lowerName);

// GetWindowClass, lower-cased, then ClassGroupOf.
ClassGroup WindowGroup(HWND hWnd);

}  // namespace skin
