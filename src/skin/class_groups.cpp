#include "skin/class_groups.h"

#include <array>
#include <initializer_list>

namespace skin {
namespace {

struct GroupNames {
  ClassGroup group;
  std::initializer_list<std::string_view> names;
};

// The runtime's own classes, the platform's standard ones and the common-control ones the program
// may meet in the dialogs it opens.
const std::array<GroupNames, 10> kGroupTable{{
    {ClassGroup::Form, {"#32770", "thunderformdc", "thunderrt6formdc", "form"}},
    {ClassGroup::PushButton, {"thundercommandbutton", "thunderrt6commandbutton", "button"}},
    {ClassGroup::ComboBox, {"thundercombobox", "thunderrt6combobox", "combo", "combobox"}},
    {ClassGroup::DriveList, {"thunderdrivelistbox", "thunderrt6drivelistbox"}},
    {ClassGroup::CheckBox, {"thundercheckbox", "thunderrt6checkbox"}},
    {ClassGroup::OptionButton, {"thunderoptionbutton", "thunderrt6optionbutton"}},
    {ClassGroup::Header, {"msvb_lib_header", "sysheader32"}},
    {ClassGroup::ProgressBar, {"progressbar20wndclass", "progressbarwndclass"}},
    {ClassGroup::DataList, {"datalistwndclass", "dblistwndclass"}},
    {ClassGroup::DropDownList, {"combolbox"}},
}};

constexpr std::string_view kGridPrefix = "apexgrid";

}  // namespace

std::string GetWindowClass(HWND hWnd) {
  char buffer[255] = {};
  if (GetClassNameA(hWnd, buffer, static_cast<int>(sizeof buffer)) == 0) return std::string();
  // The platform always ends the name inside the buffer; the last byte stays NUL regardless.
  buffer[sizeof buffer - 1] = '\0';
  return std::string(buffer);
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

ClassGroup ClassGroupOf(std::string_view lowerName) {
  for (const GroupNames& row : kGroupTable)
    for (std::string_view name : row.names)
      if (lowerName == name) return row.group;
  if (lowerName.starts_with(kGridPrefix)) return ClassGroup::Grid;
  return ClassGroup::Other;
}

ClassGroup WindowGroup(HWND hWnd) { return ClassGroupOf(LowerCase(GetWindowClass(hWnd))); }

}  // namespace skin
