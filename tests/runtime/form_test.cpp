// A form built from a small layout table: the window tree it makes, what it
// paints, how events reach handlers, errors in handlers, timers and keyboard
// navigation by tab index.
#include "runtime/form.h"

#include <gtest/gtest.h>

#include <array>
#include <new>
#include <stdexcept>

#include "patterns/runtime_error.h"
#include "platform/testing.h"
#include "runtime/error_report.h"

namespace runtime {
namespace {

namespace pt = platform::testing;

constexpr LayoutFont kSong{"宋体", 10.5f, true};
constexpr std::uint32_t kFormBack = 0x00F5A038;

constexpr LayoutRow Btn(std::string_view name, int x, int y, int tab) {
  return LayoutRow{.kind = ControlKind::CommandButton,
                   .name = name,
                   .text = name,
                   .left = x * 15,
                   .top = y * 15,
                   .width = 69 * 15,
                   .height = 21 * 15,
                   .tab_index = tab};
}

constexpr std::array<LayoutRow, 8> kRows{{
    Btn("cmdA", 10, 10, 2),
    {.kind = ControlKind::TextBox,
     .name = "Text1",
     .text = "intro\r\n",
     .left = 150,
     .top = 600,
     .width = 1500,
     .height = 750,
     .back_colour = Colour(kFormBack),
     .fore_colour = Colour(0x0006F9B0),
     .tab_index = 1,
     .multi_line = true,
     .client_edge = true},
    {.kind = ControlKind::Timer, .name = "Timer1", .interval_ms = 2000, .enabled = false},
    Btn("cmdB", 50, 15, 0),
    {.kind = ControlKind::Label,
     .name = "Label1",
     .text = "软件简介",
     .left = 150 * 15,
     .top = 150,
     .width = 100 * 15,
     .height = 21 * 15,
     .fore_colour = Colour(0x000080FF),
     .tab_index = 3},
    {.kind = ControlKind::Shape,
     .name = "Shape1",
     .left = 140 * 15,
     .top = 100 * 15,
     .width = 100 * 15,
     .height = 60 * 15,
     .shape = {.border_colour = Colour(0x00FFFFFF), .border_width = 2}},
    {.kind = ControlKind::PictureBox,
     .name = "pic",
     .left = 250 * 15,
     .top = 150 * 15,
     .width = 40 * 15,
     .height = 40 * 15,
     .back_colour = Colour(0x00FF8080),
     .font = {"MS Sans Serif", 12.0f, true},
     .tab_index = 4,
     .client_edge = true},
    {.kind = ControlKind::Frame,
     .name = "Frame1",
     .text = "框",
     .left = 150,
     .top = 100 * 15,
     .width = 120 * 15,
     .height = 80 * 15,
     .back_colour = Colour(0x001D673F),
     .fore_colour = Colour(0x000080FF),
     .tab_index = 5},
}};

const FormLayout kLayout{.form = {.kind = ControlKind::Form,
                                  .name = "Form1",
                                  .text = "测试窗体",
                                  .width = 300 * 15,
                                  .height = 200 * 15,
                                  .back_colour = Colour(kFormBack),
                                  .font = kSong},
                         .controls = kRows};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pt::Reset();
    pt::UseVirtualTime(1000);
    SetErrorReporter([this](HWND, const ErrorBox& box) { reports_.push_back(box.text); });
    form_ = std::make_unique<Form>(kLayout);
    form_->SetQuitOnDestroy(false);
    for (const char* e : {"cmdA_Click", "cmdB_Click", "Label1_Click", "Timer1_Timer", "Form_Load"})
      form_->On(e, [this, e] { events_.push_back(e); });
  }
  void TearDown() override {
    form_.reset();
    SetErrorReporter(nullptr);
    pt::Reset();
  }
  RECT ChildRect(std::string_view name) {
    RECT r;
    HWND h = form_->ControlHwnd(name);
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, form_->Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // Screen position of a point of the form's client area.
  POINT Screen(int x, int y) {
    POINT p{x, y};
    ClientToScreen(form_->Hwnd(), &p);
    return p;
  }
  COLORREF At(int x, int y) {
    const POINT p = Screen(x, y);
    return pt::ScreenPixel(p.x, p.y);
  }

  std::unique_ptr<Form> form_;
  std::vector<std::string> events_;
  std::vector<std::string> reports_;
};

TEST_F(FormTest, WindowTreeFollowsTheTable) {
  HWND f = form_->Hwnd();
  char cls[64];
  GetClassNameA(f, cls, sizeof cls);
  EXPECT_STREQ(cls, "ThunderRT6FormDC");
  RECT client;
  GetClientRect(f, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_TRUE(GetWindowLongA(f, GWL_STYLE) & WS_CLIPCHILDREN);
  char caption[64];
  GetWindowTextA(f, caption, sizeof caption);
  EXPECT_STREQ(caption, "测试窗体");

  // Windowed rows only, front to back, exactly in table order.
  const char* order[] = {"cmdA", "Text1", "cmdB", "pic", "Frame1"};
  const char* classes[] = {"Button", "Edit", "Button", "ThunderRT6PictureBoxDC", "ThunderRT6Frame"};
  HWND h = GetWindow(f, GW_CHILD);
  for (int i = 0; i < 5; ++i, h = GetWindow(h, GW_HWNDNEXT)) {
    ASSERT_EQ(h, form_->ControlHwnd(order[i])) << order[i];
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ(cls, classes[i]);
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & WS_CLIPSIBLINGS) << order[i];
  }
  EXPECT_EQ(h, nullptr) << "labels, shapes and timers have no window";
  EXPECT_EQ(GetDlgCtrlID(form_->ControlHwnd("cmdB")), kFirstControlId + 3);

  const RECT a = ChildRect("cmdA");
  EXPECT_EQ(a.left, 10);
  EXPECT_EQ(a.top, 10);
  EXPECT_EQ(a.right, 79);
  EXPECT_EQ(a.bottom, 31);
  const RECT t = ChildRect("Text1");
  EXPECT_EQ(t.left, 10);
  EXPECT_EQ(t.bottom, 90);

  EXPECT_TRUE(GetWindowLongA(form_->ControlHwnd("cmdA"), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongA(form_->ControlHwnd("Frame1"), GWL_STYLE) & WS_TABSTOP)
      << "a frame takes no focus";
  EXPECT_TRUE(GetWindowLongA(form_->ControlHwnd("Text1"), GWL_STYLE) & ES_MULTILINE);
  EXPECT_TRUE(GetWindowLongA(form_->ControlHwnd("Text1"), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(FormTest, FontsComeFromTheLayout) {
  LOGFONTA lf{};
  ASSERT_GT(GetObjectA(form_->FormFont(), sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfHeight, -14);  // 10.5 pt at 96 dpi
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_STREQ(lf.lfFaceName, "宋体");
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(form_->ControlHwnd("cmdA"), WM_GETFONT, 0, 0)),
            form_->FormFont());
  auto* own = reinterpret_cast<HFONT>(SendMessageA(form_->ControlHwnd("pic"), WM_GETFONT, 0, 0));
  ASSERT_NE(own, nullptr);
  ASSERT_GT(GetObjectA(own, sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfHeight, -16);  // 12 pt
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
}

TEST_F(FormTest, PaintsBackgroundShapesLabelsAndFrames) {
  form_->LoadAndShow();
  pt::PumpMessages();
  EXPECT_EQ(At(295, 195), kFormBack);
  // The shape's 2-pixel white outline lies inside its rectangle.
  EXPECT_EQ(At(140, 130), 0x00FFFFFFu);
  EXPECT_EQ(At(141, 130), 0x00FFFFFFu);
  EXPECT_EQ(At(142, 130), kFormBack);
  EXPECT_EQ(At(239, 130), 0x00FFFFFFu);
  EXPECT_EQ(At(190, 159), 0x00FFFFFFu);
  EXPECT_EQ(At(190, 160), kFormBack);
  // The label's text is drawn in its colour on the form's background.
  int orange = 0;
  for (int y = 10; y < 31; ++y)
    for (int x = 150; x < 250; ++x) orange += At(x, y) == 0x000080FFu;
  EXPECT_GT(orange, 0);
  // Frame body in its own colour; Text1's colours from the table.
  EXPECT_EQ(At(60, 160), 0x001D673Fu);
  HDC dc = GetDC(form_->Hwnd());
  auto brush = SendMessageA(form_->Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(form_->ControlHwnd("Text1")));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), 0x0006F9B0u);
  EXPECT_EQ(GetBkColor(dc), kFormBack);
  ReleaseDC(form_->Hwnd(), dc);
}

TEST_F(FormTest, ClicksReachTheFrontControlAndLabels) {
  form_->LoadAndShow();
  pt::PumpMessages();
  events_.clear();
  POINT p = Screen(60, 20);  // cmdA lies over cmdB here
  pt::Click(p.x, p.y);
  pt::PumpMessages();
  p = Screen(110, 30);  // only cmdB
  pt::Click(p.x, p.y);
  pt::PumpMessages();
  p = Screen(160, 20);  // Label1
  pt::Click(p.x, p.y);
  pt::PumpMessages();
  p = Screen(290, 100);  // bare form
  pt::Click(p.x, p.y);
  pt::PumpMessages();
  EXPECT_EQ(events_, (std::vector<std::string>{"cmdA_Click", "cmdB_Click", "Label1_Click"}));
}

// A label is clicked by a press and a release both on it; the second press of a double-click
// arrives as a double-click, which labels do not handle.
TEST_F(FormTest, ALabelClickNeedsThePressAndTheReleaseOnTheLabel) {
  form_->LoadAndShow();
  pt::PumpMessages();
  const POINT label = Screen(160, 20), bare = Screen(290, 100), outside = Screen(400, 300);
  const POINT picture = Screen(260, 160);  // a child window that does not hold the mouse
  struct Gesture {
    const char* name;
    POINT down, up;
    std::size_t clicks;
  };
  // Each gesture follows the one before, so a press left over would show in the next.
  for (const Gesture& g : {Gesture{"press on the label, release elsewhere", label, bare, 0},
                           Gesture{"press on the label, release outside the window", label, outside, 0},
                           Gesture{"press on a child window, release on the label", picture, label, 0},
                           Gesture{"press elsewhere, release on the label", bare, label, 0},
                           Gesture{"press and release on the label", label, label, 1}}) {
    SCOPED_TRACE(g.name);
    events_.clear();
    pt::AdvanceTime(1000);  // no double-click with the gesture before
    pt::MouseMove(g.down.x, g.down.y);
    pt::MouseDown(g.down.x, g.down.y);
    pt::PumpMessages();
    pt::MouseMove(g.up.x, g.up.y);
    pt::MouseUp(g.up.x, g.up.y);
    pt::PumpMessages();
    EXPECT_EQ(events_.size(), g.clicks);
    EXPECT_EQ(GetCapture(), nullptr) << "the press lets the mouse go";
  }
  events_.clear();
  pt::AdvanceTime(1000);
  pt::Click(label.x, label.y);
  pt::Click(label.x, label.y);
  pt::PumpMessages();
  EXPECT_EQ(events_, std::vector<std::string>{"Label1_Click"}) << "a double-click is one click";
}

TEST_F(FormTest, AFailingHandlerIsReportedAndTheFormGoesOn) {
  form_->On("cmdA_Click", [] { patterns::Raise(patterns::kErrTypeMismatch); });
  form_->On("cmdB_Click", [] { throw std::bad_alloc(); });
  EXPECT_FALSE(form_->RaiseEvent("cmdA_Click"));
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("'13'"), std::string::npos) << reports_[0];
  EXPECT_FALSE(form_->RaiseEvent("cmdB_Click"));
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_NE(reports_[1].find("'7'"), std::string::npos) << reports_[1];
  EXPECT_TRUE(form_->RaiseEvent("Label1_Click"));
  EXPECT_TRUE(form_->RaiseEvent("NoSuch_Click")) << "an event without a handler does nothing";
  EXPECT_EQ(events_, std::vector<std::string>{"Label1_Click"});
}

// A handler whose name matches nothing the form raises would never run; registering it must fail at
// once, naming it, rather than leave a button silently dead.
TEST_F(FormTest, AHandlerForAnEventTheFormNeverRaisesIsRefused) {
  auto refused = [&](std::string_view event, bool menu) {
    try {
      if (menu)
        form_->OnMenu(event, [] {});
      else
        form_->On(event, [] {});
    } catch (const std::logic_error& e) {
      EXPECT_NE(std::string(e.what()).find(event), std::string::npos) << e.what();
      return true;
    }
    return false;
  };
  EXPECT_TRUE(refused("cmdC_Click", false)) << "no such control";
  EXPECT_TRUE(refused("cmda_Click", false)) << "names are matched exactly";
  EXPECT_TRUE(refused("Timer1_Click", false)) << "a timer only ticks";
  EXPECT_TRUE(refused("cmdA_Timer", false)) << "a button only clicks";
  EXPECT_TRUE(refused("Text1_Click", false)) << "a text box raises no event here";
  EXPECT_TRUE(refused("Form_Click", false));
  EXPECT_TRUE(refused("cmdAClick", false)) << "no event part";
  EXPECT_TRUE(refused("mnuNext_Click", false)) << "menu commands go through OnMenu";
  EXPECT_TRUE(refused("cmdA_Click", true)) << "a control's event is not a menu command";
  EXPECT_TRUE(refused("mnuNext_Timer", true));
  EXPECT_TRUE(refused("Next_Click", true));

  EXPECT_FALSE(refused("Form_Load", false));
  EXPECT_FALSE(refused("Label1_Click", false));
  EXPECT_FALSE(refused("Timer1_Timer", false));
  EXPECT_FALSE(refused("mnuNext_Click", true));
  bool ran = false;
  form_->OnMenu("mnuNext_Click", [&] { ran = true; });
  EXPECT_TRUE(form_->RaiseEvent("mnuNext_Click"));
  EXPECT_TRUE(ran) << "a menu command runs when the program raises it";
}

TEST_F(FormTest, TimersTickEveryIntervalWhileEnabled) {
  Timer* t = form_->TimerNamed("Timer1");
  ASSERT_NE(t, nullptr);
  auto ticksAfter = [&](std::uint64_t ms) {
    events_.clear();
    pt::AdvanceTime(ms);
    pt::PumpMessages();
    return events_.size();
  };
  EXPECT_EQ(ticksAfter(5000), 0u) << "disabled in the table";
  t->SetEnabled(true);
  EXPECT_EQ(ticksAfter(1999), 0u);
  EXPECT_EQ(ticksAfter(1), 1u);
  EXPECT_EQ(ticksAfter(2000), 1u);
  // Enabling a running timer again keeps its rhythm and its one platform timer.
  EXPECT_EQ(ticksAfter(1500), 0u);
  t->SetEnabled(true);
  EXPECT_EQ(pt::PendingTimers(), 1u);
  EXPECT_EQ(ticksAfter(499), 0u);
  EXPECT_EQ(ticksAfter(1), 1u);
  // A new interval counts from the moment it is set.
  EXPECT_EQ(ticksAfter(1500), 0u);
  t->SetInterval(2000);
  EXPECT_EQ(ticksAfter(1999), 0u);
  EXPECT_EQ(ticksAfter(1), 1u);
  t->SetEnabled(false);
  EXPECT_EQ(ticksAfter(10000), 0u);
  EXPECT_EQ(pt::PendingTimers(), 0u);
  t->SetEnabled(true);
  t->SetInterval(0);
  EXPECT_EQ(ticksAfter(10000), 0u) << "interval 0 stops the ticks";
  EXPECT_TRUE(t->Enabled());
}

// A start-up step that fails is reported like any failed handler, and the window opens all the
// same, with the keyboard on its first control, ready for the next event.
TEST_F(FormTest, AFailedLoadIsReportedAndTheWindowStillOpens) {
  form_->On("Form_Load", [] { throw std::runtime_error("Combo1 cannot take the amplitude list"); });
  form_->LoadAndShow();
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("Combo1 cannot take the amplitude list"), std::string::npos) << reports_[0];
  EXPECT_TRUE(IsWindowVisible(form_->Hwnd()));
  EXPECT_EQ(GetFocus(), form_->ControlHwnd("cmdB"));
  EXPECT_TRUE(form_->RaiseEvent("cmdA_Click"));
  EXPECT_EQ(events_, std::vector<std::string>{"cmdA_Click"});
}

TEST_F(FormTest, TabMovesByTabIndexNotByStacking) {
  form_->LoadAndShow();
  EXPECT_EQ(events_, std::vector<std::string>{"Form_Load"});
  HWND cmdA = form_->ControlHwnd("cmdA"), cmdB = form_->ControlHwnd("cmdB");
  HWND text = form_->ControlHwnd("Text1"), pic = form_->ControlHwnd("pic");
  EXPECT_EQ(GetFocus(), cmdB) << "tab index 0 has the focus at start";
  EXPECT_EQ(form_->TabStops(), (std::vector<HWND>{cmdB, text, cmdA, pic}));
  MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  std::vector<HWND> seen;
  for (int i = 0; i < 4; ++i) {
    tab.hwnd = GetFocus();
    ASSERT_TRUE(form_->PreTranslateMessage(tab));
    seen.push_back(GetFocus());
  }
  EXPECT_EQ(seen, (std::vector<HWND>{text, cmdA, pic, cmdB}));
  EXPECT_EQ(form_->NextTabStop(cmdB, true), pic);
  EXPECT_EQ(form_->NextTabStop(text, true), cmdB);
  EXPECT_EQ(GetWindow(form_->Hwnd(), GW_CHILD), cmdA) << "navigation leaves the stacking alone";
  MSG other{cmdA, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_FALSE(form_->PreTranslateMessage(other));
}

TEST_F(FormTest, TheFocusedControlGetsTheKeyboardBackAfterAMessageBox) {
  form_->LoadAndShow();
  HWND cmdA = form_->ControlHwnd("cmdA"), text = form_->ControlHwnd("Text1");
  SetFocus(cmdA);
  pt::SetIdleHook([] {
    HWND box = FindWindowA("#32770", nullptr);
    if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    return box != nullptr;
  });
  MessageBoxA(form_->Hwnd(), "x", "y", MB_OK);
  EXPECT_EQ(GetFocus(), cmdA);
  SetFocus(text);
  MessageBoxA(form_->Hwnd(), "x", "y", MB_OK);
  EXPECT_EQ(GetFocus(), text);
  // A control disabled meanwhile is not given the focus.
  SetFocus(cmdA);
  pt::SetIdleHook([cmdA] {
    HWND box = FindWindowA("#32770", nullptr);
    if (box) {
      EnableWindow(cmdA, FALSE);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return box != nullptr;
  });
  MessageBoxA(form_->Hwnd(), "x", "y", MB_OK);
  pt::SetIdleHook(nullptr);
  EXPECT_NE(GetFocus(), cmdA);
}

TEST_F(FormTest, EndStopsEverythingAndPostsQuit) {
  form_->TimerNamed("Timer1")->SetEnabled(true);
  form_->End();
  EXPECT_TRUE(form_->Ended());
  EXPECT_FALSE(form_->TimerNamed("Timer1")->Running());
  EXPECT_FALSE(form_->RaiseEvent("cmdA_Click"));
  EXPECT_TRUE(events_.empty());
  MSG m;
  bool quit = false;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) quit |= m.message == WM_QUIT;
  EXPECT_TRUE(quit);
}

TEST_F(FormTest, ClosingTheWindowPostsQuit) {
  form_->SetQuitOnDestroy(true);
  form_->LoadAndShow();
  pt::RequestClose(form_->Hwnd());
  MSG m;
  bool quit = false;
  for (int i = 0; i < 1000 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (m.message == WM_QUIT)
      quit = true;
    else
      DispatchMessageA(&m);
  }
  EXPECT_TRUE(quit);
  EXPECT_FALSE(IsWindow(form_->Hwnd()));
}

}  // namespace
}  // namespace runtime
