// Windows owned by another on the screen: what the screen is told about them
// (owner, modal while the owner is disabled, a minimise button or not), and
// a click on a disabled owner bringing its dialog forward.
#include <memory>
#include <vector>

#include "platform/backend/headless.h"
#include "platform/user/backend.h"
#include "platform/user/modal.h"
#include "support/window_fixture.h"

namespace {

using hwf::test::WindowTest;
using platform::user::TopLevelState;
namespace pt = platform::testing;

// A headless screen that also keeps every state it was told, in order.
class RecordingScreen final : public platform::user::Backend {
 public:
  struct Told {
    HWND hwnd;
    TopLevelState state;
  };

  void TopLevelChanged(HWND hwnd, const TopLevelState& state) override {
    told.push_back({hwnd, state});
    screen.TopLevelChanged(hwnd, state);
  }
  void TopLevelDestroyed(HWND hwnd) override { screen.TopLevelDestroyed(hwnd); }
  void Present(HWND hwnd, const platform::gdi::PixelBuffer& pixels, std::span<const RECT> dirty) override {
    screen.Present(hwnd, pixels, dirty);
  }
  void SetCursorShape(platform::user::CursorShape shape) override { screen.SetCursorShape(shape); }
  void PumpEvents() override {}
  bool WaitEvents(int timeoutMs) override { return screen.WaitEvents(timeoutMs); }
  SIZE ScreenSize() const override { return screen.ScreenSize(); }
  std::string ClipboardText() const override { return screen.ClipboardText(); }
  void SetClipboardText(const std::string& text) override { screen.SetClipboardText(text); }

  // How many times the window was told it is the active one.
  int ActivationsOf(HWND hwnd) const {
    int n = 0;
    for (const Told& t : told) n += t.hwnd == hwnd && t.state.active;
    return n;
  }

  platform::backend::HeadlessBackend screen{SIZE{800, 600}};
  std::vector<Told> told;
};

class OwnedWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    auto screen = std::make_unique<RecordingScreen>();
    screen_ = screen.get();
    platform::user::AttachBackend(std::move(screen));
  }
  HWND Main() {
    return Top(0, 0, 400, 300, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
  }
  HWND Owned(HWND owner, int x, int y) {
    return CreateWindowExA(WS_EX_DLGMODALFRAME, cls_.c_str(), "dialog",
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, x, y, 100, 80,
                           owner, nullptr, nullptr, nullptr);
  }
  const TopLevelState& Told(HWND hwnd) {
    const TopLevelState* s = screen_->screen.State(hwnd);
    EXPECT_NE(s, nullptr);
    static const TopLevelState none;
    return s ? *s : none;
  }
  RecordingScreen* screen_ = nullptr;
};

TEST_F(OwnedWindowTest, ADialogIsModalOnTheScreenExactlyWhileItsOwnerIsDisabled) {
  HWND main = Main();
  HWND dialog = Owned(main, 150, 100);
  Pump();
  EXPECT_EQ(Told(dialog).owner, main);
  EXPECT_FALSE(Told(dialog).modal) << "an owned window whose owner is enabled is modeless";
  EXPECT_TRUE(Told(main).minimizable);
  EXPECT_FALSE(Told(dialog).minimizable) << "dialogs have no minimise button";
  EXPECT_EQ(Told(main).owner, nullptr);
  EXPECT_FALSE(Told(main).modal);

  bool modalInLoop = false;
  pt::SetIdleHook([&]() {
    modalInLoop = Told(dialog).modal;
    platform::user::EndModalLoop(dialog, 1);
    return true;
  });
  EXPECT_EQ(platform::user::RunModalLoop(dialog, main), 1);
  pt::SetIdleHook(nullptr);
  EXPECT_TRUE(modalInLoop) << "the screen heard of the modal state when the loop disabled the owner";
  EXPECT_FALSE(Told(dialog).modal) << "and of its end";

  // A disabled window that owns nothing tells nothing new.
  HWND lone = Top(500, 0, 50, 50);
  const std::size_t before = screen_->told.size();
  EnableWindow(lone, FALSE);
  EnableWindow(lone, FALSE);
  EXPECT_EQ(screen_->told.size(), before);
}

TEST_F(OwnedWindowTest, AClickOnTheDisabledOwnerBringsTheDialogForwardWithTheKeyboard) {
  HWND main = Main();
  HWND dialog = Owned(main, 250, 150);
  HWND field = Child(dialog, 5, 5, 40, 20, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  HWND other = Top(600, 0, 100, 100);
  Pump();
  int step = 0;
  int activationsBefore = 0;
  bool dialogActive = false, fieldFocused = false, retold = false;
  pt::SetIdleHook([&]() {
    switch (step++) {
      case 0:
        SetActiveWindow(dialog);
        SetFocus(field);
        SetActiveWindow(other);  // the user went to another window of the program
        pt::Click(20, 40);       // then came back by clicking the disabled owner
        return true;
      case 1:
        dialogActive = GetActiveWindow() == dialog;
        fieldFocused = GetFocus() == dialog || IsChild(dialog, GetFocus());
        // Already active: a window manager may still have put the owner on
        // top, so the screen is told again to raise the dialog.
        activationsBefore = screen_->ActivationsOf(dialog);
        pt::Click(20, 40);
        return true;
      case 2:
        retold = screen_->ActivationsOf(dialog) > activationsBefore;
        platform::user::EndModalLoop(dialog, 1);
        return true;
      default:
        return true;
    }
  });
  rec_.Clear();
  platform::user::RunModalLoop(dialog, main);
  pt::SetIdleHook(nullptr);
  EXPECT_TRUE(dialogActive);
  EXPECT_TRUE(fieldFocused) << "the keyboard went to the dialog";
  EXPECT_TRUE(retold);
  EXPECT_EQ(rec_.Count(main, WM_LBUTTONDOWN), 0) << "the disabled owner hears nothing of the click";
  EXPECT_EQ(rec_.Count(dialog, WM_LBUTTONDOWN), 0);
}

TEST_F(OwnedWindowTest, AClickOnTheOwnerOfADialogWithAPromptBringsThePromptForward) {
  HWND main = Main();
  HWND dialog = Owned(main, 250, 150);
  HWND prompt = Owned(dialog, 270, 170);
  HWND other = Top(600, 0, 100, 100);
  Pump();
  int step = 0;
  HWND activeAfterClick = nullptr;
  pt::SetIdleHook([&]() {
    switch (step++) {
      case 0:
        // The prompt's loop runs inside the dialog's: both owners are disabled.
        EnableWindow(dialog, FALSE);
        SetActiveWindow(other);
        pt::Click(20, 40);
        return true;
      case 1:
        activeAfterClick = GetActiveWindow();
        EnableWindow(dialog, TRUE);
        platform::user::EndModalLoop(dialog, 1);
        return true;
      default:
        return true;
    }
  });
  platform::user::RunModalLoop(dialog, main);
  pt::SetIdleHook(nullptr);
  EXPECT_EQ(activeAfterClick, prompt);
  EXPECT_TRUE(Told(prompt).owner == dialog);
}

TEST_F(OwnedWindowTest, AClickOnADisabledWindowOwningNothingEnabledActivatesNothing) {
  HWND main = Main();
  HWND hidden = Owned(main, 250, 150);
  ShowWindow(hidden, SW_HIDE);
  HWND other = Top(600, 0, 100, 100);
  SetActiveWindow(other);
  EnableWindow(main, FALSE);
  Pump();
  pt::Click(20, 40);
  Pump();
  EXPECT_EQ(GetActiveWindow(), other) << "a hidden owned window is not brought forward";
  EXPECT_EQ(rec_.Count(main, WM_LBUTTONDOWN), 0);
}

}  // namespace
