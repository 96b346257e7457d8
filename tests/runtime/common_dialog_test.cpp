// The common-dialog component: what each dialog is asked for, and which
// results the component keeps across dialogs.
#include "runtime/common_dialog.h"

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"

namespace runtime {
namespace {

using hwf::test::ScriptedDialogs;

TEST(DialogFilterTest, PairsBecomeNulSeparatedWithAFinalNul) {
  using namespace std::string_literals;
  EXPECT_EQ(DialogFilter("BMP Files(*.bmp)|*.bmp"), "BMP Files(*.bmp)\0*.bmp\0\0"s);
  EXPECT_EQ(DialogFilter("A|*.a|B|*.b;*.c"), "A\0*.a\0B\0*.b;*.c\0\0"s);
  EXPECT_EQ(DialogFilter("A|*.a|dangling"), "A\0*.a\0\0"s) << "a description without a pattern is dropped";
  EXPECT_EQ(DialogFilter(""), "\0"s);
}

TEST(CommonDialogTest, EachDialogTakesOnlyItsOwnFlagBits) {
  ScriptedDialogs d;
  d.colours = {std::nullopt};
  d.paths = {std::nullopt};
  CommonDialog c(nullptr, "BMP Files(*.bmp)|*.bmp", d);
  c.SetFlags(12294);  // 0x3006
  c.ShowColor();
  c.ShowSave();
  ASSERT_EQ(d.colourRequests.size(), 1u);
  EXPECT_EQ(d.colourRequests[0].flags, 0x0006u) << "full open and prevent full open; no preselection";
  ASSERT_EQ(d.saveRequests.size(), 1u);
  EXPECT_EQ(d.saveRequests[0].flags, 0x2006u) << "file-must-exist means nothing when saving";
}

TEST(CommonDialogTest, ColorKeepsTheLastConfirmedColourThroughCancels) {
  ScriptedDialogs d;
  d.colours = {std::nullopt, 0x0000FF00, std::nullopt, 0x000000FF};
  CommonDialog c(nullptr, "", d);
  EXPECT_FALSE(c.ShowColor());
  EXPECT_EQ(c.Color(), 0u) << "black until a colour is confirmed";
  EXPECT_TRUE(c.ShowColor());
  EXPECT_EQ(c.Color(), 0x0000FF00u);
  EXPECT_FALSE(c.ShowColor());
  EXPECT_EQ(c.Color(), 0x0000FF00u);
  EXPECT_TRUE(c.ShowColor());
  EXPECT_EQ(c.Color(), 0x000000FFu);
  // Custom colours persist: every dialog gets the same array of the component.
  EXPECT_EQ(d.colourRequests[0].custom_colours, d.colourRequests[3].custom_colours);
  EXPECT_NE(d.colourRequests[0].custom_colours, nullptr);
}

TEST(CommonDialogTest, SaveStartsFromTheLastNameAndCancelKeepsIt) {
  ScriptedDialogs d;
  d.paths = {std::string("/tmp/a"), std::nullopt, std::string("")};
  CommonDialog c(nullptr, "BMP Files(*.bmp)|*.bmp", d);
  c.SetDialogTitle("保存");
  EXPECT_TRUE(c.ShowSave());
  EXPECT_EQ(c.FileName(), "/tmp/a");
  EXPECT_FALSE(c.ShowSave());
  EXPECT_EQ(c.FileName(), "/tmp/a");
  EXPECT_FALSE(c.ShowSave()) << "an empty answer is no file";
  EXPECT_EQ(c.FileName(), "/tmp/a");
  ASSERT_EQ(d.saveRequests.size(), 3u);
  EXPECT_EQ(d.saveRequests[0].file_name, "");
  EXPECT_EQ(d.saveRequests[1].file_name, "/tmp/a");
  EXPECT_EQ(d.saveRequests[1].title, "保存");
  EXPECT_EQ(d.saveRequests[1].filter, std::string("BMP Files(*.bmp)\0*.bmp\0\0", 24));
}

}  // namespace
}  // namespace runtime
