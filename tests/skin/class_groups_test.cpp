// Sorting windows into class groups by name, reading class names of every length, the library
// probe, and the signed halves of a message parameter.
#include <gtest/gtest.h>

#include <string>

#include "skin/class_groups.h"
#include "skin/library_probe.h"
#include "skin/skin_install.h"
#include "skin/wndproc/skin_wndproc.h"
#include "skin_window_fixture.h"

namespace {

using namespace skin;

TEST(ClassGroups, OnlyExactLowerCaseNamesAndTheGridPrefixMatch) {
  EXPECT_EQ(ClassGroupOf("combolbox"), ClassGroup::DropDownList);
  EXPECT_EQ(ClassGroupOf("#32770"), ClassGroup::Form);
  EXPECT_EQ(ClassGroupOf("apexgrid"), ClassGroup::Grid) << "the empty run after the prefix";
  EXPECT_EQ(ClassGroupOf("apexgrid.grid7"), ClassGroup::Grid);
  EXPECT_EQ(ClassGroupOf("apexgri"), ClassGroup::Other);
  EXPECT_EQ(ClassGroupOf("xapexgrid"), ClassGroup::Other);
  EXPECT_EQ(ClassGroupOf("Button"), ClassGroup::Other) << "callers lower-case first";
  EXPECT_EQ(ClassGroupOf("buttons"), ClassGroup::Other);
  EXPECT_EQ(ClassGroupOf("combolistbox"), ClassGroup::Other);
  EXPECT_EQ(ClassGroupOf(""), ClassGroup::Other);
  EXPECT_EQ(LowerCase("ThunderRT6FormDC"), "thunderrt6formdc");
  EXPECT_EQ(LowerCase("ApexGrid按钮#32770"), "apexgrid按钮#32770") << "multi-byte text passes unchanged";
}

class ClassNames : public skintest::SkinWindowTest {};

TEST_F(ClassNames, NamesOfEveryLengthAreReadAndGrouped) {
  const std::string exact(254, 'k');
  const std::string longer = std::string(200, 'q') + std::string(100, 'r');
  skintest::RegisterPlainClass(exact.c_str());
  skintest::RegisterPlainClass(longer.c_str());
  skintest::RegisterPlainClass("ApexGridCtl");
  HWND form = Form();
  HWND a = Control(form, exact.c_str(), 0, 0, 0, 10, 10);
  HWND b = Control(form, longer.c_str(), 0, 0, 0, 10, 10);
  HWND grid = Control(form, "ApexGridCtl", 0, 0, 0, 10, 10);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetWindowClass(a), exact);
  EXPECT_EQ(GetWindowClass(b), longer.substr(0, 254)) << "the 255-character buffer keeps 254 and the NUL";
  EXPECT_EQ(GetWindowClass(form), kFormClass) << "returned as registered, not lower-cased";
  EXPECT_EQ(WindowGroup(form), ClassGroup::Form);
  EXPECT_EQ(WindowGroup(grid), ClassGroup::Grid);
  EXPECT_EQ(GetWindowClass(nullptr), "");
  EXPECT_EQ(WindowGroup(nullptr), ClassGroup::Other);
  DestroyWindow(a);
  EXPECT_EQ(GetWindowClass(a), "") << "a window that is gone";
}

TEST(LibraryProbe, FindsExportsOfLoadedAndLoadableLibraries) {
  EXPECT_EQ(HasLibraryFunction("TrackMouseEvent", "User32"), VbTrue);
  EXPECT_EQ(HasLibraryFunction("_TrackMouseEvent", "Comctl32"), VbTrue);
  EXPECT_EQ(HasLibraryFunction("_TrackMouseEvent", "User32"), VbFalse) << "exported elsewhere";
  EXPECT_EQ(HasLibraryFunction("NoSuchFunction", "User32"), VbFalse);
  EXPECT_EQ(HasLibraryFunction("TrackMouseEvent", "NoSuchLibrary"), VbFalse);
}

// The skin reads cursor positions with the platform's macros; a cursor left of or above the window
// must come out negative.
TEST(Words, HalvesOfAParameterAreSigned) {
  const LPARAM left_above = static_cast<LPARAM>(static_cast<std::uint32_t>((0xFFFE << 16) | 0xFFFB));
  EXPECT_EQ(GET_X_LPARAM(left_above), -5);
  EXPECT_EQ(GET_Y_LPARAM(left_above), -2);
  EXPECT_EQ(GET_X_LPARAM(MAKELPARAM(300, 7)), 300);
  EXPECT_EQ(GET_Y_LPARAM(MAKELPARAM(300, 7)), 7);
  EXPECT_EQ(GET_X_LPARAM(0x7FFF8000), -32768);
  EXPECT_EQ(GET_Y_LPARAM(0x7FFF8000), 32767);
  // Only the low 32 bits carry the position, whatever the upper half of a 64-bit LPARAM holds.
  EXPECT_EQ(GET_Y_LPARAM(static_cast<LPARAM>(0x1234567800050006LL)), 5);
}

}  // namespace
