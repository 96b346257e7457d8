// Form1 on the headless desktop: virtual time, scripted dialogs, a fixed
// clock, error boxes recorded instead of shown, and clicks at the places the
// layout gives the controls.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/testing.h"
#include "runtime/error_report.h"
#include "support/scripted_dialogs.h"

namespace app {

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseVirtualTime(1000);
    runtime::SetErrorReporter([this](HWND, const runtime::ErrorBox& box) {
      reports_.push_back(box.text);
      if (on_report_) on_report_();
    });
    form_ = Make();
  }
  void TearDown() override {
    form_.reset();
    runtime::SetErrorReporter(nullptr);
    platform::testing::Reset();
  }

  std::unique_ptr<Form1> Make() {
    auto f = std::make_unique<Form1>(Form1Options{
        .clock = [] { return patterns::LocalDateTime{2026, 12, 7, 14, 3, 5}; }, .dialogs = &dialogs_});
    f->Form().SetQuitOnDestroy(false);
    f->LoadAndShow();
    platform::testing::PumpMessages();
    return f;
  }

  runtime::PictureBox& Box(std::string_view name) { return *form_->Form().Picture(name); }

  // A left click in the middle of a windowed control, or at a point of the
  // form's client area.
  void ClickAt(POINT client) {
    ClientToScreen(form_->Hwnd() ? form_->Hwnd() : form_->Form().Hwnd(), &client);
    platform::testing::Click(client.x, client.y);
    platform::testing::PumpMessages();
  }
  void Click(std::string_view control) {
    RECT r;
    GetWindowRect(form_->Form().ControlHwnd(control), &r);
    platform::testing::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    platform::testing::PumpMessages();
  }
  void Advance(std::uint64_t ms) {
    platform::testing::AdvanceTime(ms);
    platform::testing::PumpMessages();
  }
  void SetAmplitude(const char* text) { SetWindowTextA(form_->Form().ControlHwnd("Combo1"), text); }

  // The program's own loop: the window sees its accelerators and Tab before
  // a message is dispatched.
  void PumpLikeTheProgram() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (form_->PreTranslateMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // A key with a modifier held (VK_MENU, VK_CONTROL, VK_SHIFT), through that loop.
  void Chord(UINT modifier, UINT vk) {
    platform::testing::KeyDown(modifier);
    platform::testing::KeyDown(vk);
    platform::testing::KeyUp(vk);
    platform::testing::KeyUp(modifier);
    PumpLikeTheProgram();
  }

  static std::vector<std::uint32_t> Pixels(runtime::PictureBox& b) {
    auto p = b.Image().Pixels();
    return {p.begin(), p.end()};
  }

  hwf::test::ScriptedDialogs dialogs_;
  std::unique_ptr<Form1> form_;
  std::vector<std::string> reports_;
  std::function<void()> on_report_;
};

}  // namespace app
