// The platform dialogs behind the runtime: the colour dialog and the error
// message box are modal, the form's timers keep ticking while they are open,
// and a cancel changes nothing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdlib>

#include "patterns/runtime_error.h"
#include "platform/testing.h"
#include "runtime/error_report.h"
#include "runtime/form.h"

namespace runtime {
namespace {

namespace pt = platform::testing;

constexpr std::array<LayoutRow, 2> kRows{{
    {.kind = ControlKind::Timer, .name = "Timer1", .interval_ms = 2000, .enabled = true},
    {.kind = ControlKind::CommonDialog, .name = "cdl1"},
}};
const FormLayout kLayout{.form = {.kind = ControlKind::Form,
                                  .name = "Form1",
                                  .text = "对话框测试",
                                  .width = 3000,
                                  .height = 3000,
                                  .font = {"宋体", 10.5f, true}},
                         .controls = kRows};

class ModalDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pt::Reset();
    pt::UseVirtualTime(1000);
    SetErrorReporter(nullptr);
    form_ = std::make_unique<Form>(kLayout);
    form_->SetQuitOnDestroy(false);
    form_->On("Timer1_Timer", [this] { ++ticks_; });
    form_->LoadAndShow();
    pt::PumpMessages();
  }
  void TearDown() override {
    pt::SetIdleHook(nullptr);
    form_.reset();
    pt::Reset();
  }
  // While the dialog waits: first let two ticks fall due, then answer.
  void AnswerAfterTwoTicks(WPARAM command) {
    pt::SetIdleHook([this, command, step = 0]() mutable {
      HWND dlg = FindWindowA("#32770", nullptr);
      if (!dlg) return false;
      if (step == 0) {
        char text[128] = {};
        GetWindowTextA(dlg, text, sizeof text);
        caption_ = text;
      }
      if (step++ < 2) {
        pt::AdvanceTime(2000);
        return true;
      }
      PostMessageA(dlg, WM_COMMAND, command, 0);
      return true;
    });
  }

  std::unique_ptr<Form> form_;
  int ticks_ = 0;
  std::string caption_;
};

TEST_F(ModalDialogTest, CancellingTheColourDialogKeepsColorAndTimersTick) {
  CommonDialog& cdl = *form_->Dialog("cdl1");
  cdl.SetColor(0x0000FF00);
  AnswerAfterTwoTicks(IDCANCEL);
  EXPECT_FALSE(cdl.ShowColor());
  EXPECT_EQ(cdl.Color(), 0x0000FF00u);
  EXPECT_EQ(ticks_, 2) << "the form's timer ticks while the dialog is open";
  EXPECT_FALSE(IsWindow(FindWindowA("#32770", nullptr)));
}

TEST_F(ModalDialogTest, ConfirmingTheColourDialogSetsColor) {
  CommonDialog& cdl = *form_->Dialog("cdl1");
  cdl.SetFlags(12294);
  AnswerAfterTwoTicks(IDOK);
  EXPECT_TRUE(cdl.ShowColor());
  EXPECT_EQ(cdl.Color() & 0xFF000000u, 0u);
}

TEST_F(ModalDialogTest, AnErrorInAHandlerShowsAMessageBoxAndTheFormGoesOn) {
  form_->OnMenu("mnuFail_Click", [] { patterns::Raise(patterns::kErrOverflow); });
  AnswerAfterTwoTicks(IDOK);
  EXPECT_FALSE(form_->RaiseEvent("mnuFail_Click"));
  EXPECT_EQ(caption_, "对话框测试") << "the box carries the program's title";
  EXPECT_EQ(ticks_, 2);
  EXPECT_FALSE(IsWindow(FindWindowA("#32770", nullptr)));
  EXPECT_TRUE(IsWindowEnabled(form_->Hwnd())) << "the owner is usable again";
}

TEST_F(ModalDialogTest, TheSaveDialogReturnsTheConfirmedNameAndCancelKeepsTheOld) {
  CommonDialog& cdl = *form_->Dialog("cdl1");
  cdl.SetFilter("BMP Files(*.bmp)|*.bmp");
  cdl.SetDialogTitle("保存");
  char dir[] = "/tmp/hwf_save_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string name = std::string(dir) + "/effect.bmp";
  cdl.SetFileName(name);
  AnswerAfterTwoTicks(IDOK);
  EXPECT_TRUE(cdl.ShowSave());
  EXPECT_EQ(caption_, "保存");
  EXPECT_EQ(cdl.FileName(), name);
  EXPECT_EQ(ticks_, 2);
  AnswerAfterTwoTicks(IDCANCEL);
  EXPECT_FALSE(cdl.ShowSave());
  EXPECT_EQ(cdl.FileName(), name);
  rmdir(dir);
}

}  // namespace
}  // namespace runtime
