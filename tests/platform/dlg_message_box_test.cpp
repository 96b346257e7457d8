// MessageBoxA: answers by Return, Escape, clicks and the frame's close
// button for each button set; layout of long and multi-line texts; icons;
// the owner's view of the modal loop.
#include <cmath>

#include "dlg_fixture.h"
#include "platform/handles.h"

namespace {

using hwf::test::DialogTest;
using hwf::test::MatchSequence;
namespace pt = platform::testing;

using MessageBoxTest = DialogTest;

struct Case {
  UINT type;
  std::vector<int> buttons;  // left to right
  int onEscape;              // what Escape and the close button answer
};

const Case kCases[] = {
    {MB_OK, {IDOK}, IDOK},
    {MB_OKCANCEL, {IDOK, IDCANCEL}, IDCANCEL},
    {MB_YESNO, {IDYES, IDNO}, IDNO},
    {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
    {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDCANCEL},
};

TEST_F(MessageBoxTest, ReturnAnswersTheDefaultButtonOfEverySet) {
  for (const Case& c : kCases)
    for (UINT def = 0; def < c.buttons.size(); ++def) {
      Script({[] { Key(VK_RETURN); }});
      int r = MessageBoxA(owner_, "text", "caption", c.type | (def << 8));
      EXPECT_EQ(r, c.buttons[def]) << "type " << c.type << " default " << def;
    }
}

TEST_F(MessageBoxTest, EscapeAndTheCloseButtonCancelOrSayNo) {
  for (const Case& c : kCases) {
    Script({[] { Key(VK_ESCAPE); }});
    EXPECT_EQ(MessageBoxA(owner_, "text", "caption", c.type), c.onEscape) << "Escape, type " << c.type;
    Script({[] { pt::RequestClose(Active()); }});
    EXPECT_EQ(MessageBoxA(owner_, "text", "caption", c.type), c.onEscape) << "close, type " << c.type;
  }
}

TEST_F(MessageBoxTest, ClickingAButtonAnswersItsId) {
  for (const Case& c : kCases)
    for (int id : c.buttons) {
      Script({[id] { ClickOn(GetDlgItem(Active(), id)); }});
      EXPECT_EQ(MessageBoxA(owner_, "text", "caption", c.type), id) << "type " << c.type;
    }
}

TEST_F(MessageBoxTest, AbortRetryIgnoreCannotBeEscaped) {
  Script({[] { Key(VK_ESCAPE); }, [] { pt::RequestClose(Active()); }, [] { Key(VK_RETURN); }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "caption", MB_ABORTRETRYIGNORE), IDABORT);
  EXPECT_EQ(StepsRun(), 3u) << "Escape and the close button left the box open";
}

TEST_F(MessageBoxTest, TabMovesTheFocusAndReturnPressesTheFocusedButton) {
  HWND focusedAfterTab = nullptr, focusedAtStart = nullptr;
  Script({[&] {
            focusedAtStart = GetFocus();
            Key(VK_TAB);
          },
          [&] {
            focusedAfterTab = GetFocus();
            Key(VK_RETURN);
          }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "caption", MB_YESNOCANCEL), IDNO);
  EXPECT_NE(focusedAtStart, focusedAfterTab);

  Script({[] { ShiftTab(); }, [] { Key(VK_RETURN); }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "caption", MB_YESNOCANCEL), IDCANCEL) << "Shift+Tab wraps backwards";
}

TEST_F(MessageBoxTest, UnderlinedLettersAnswerWithOrWithoutAlt) {
  Script({[] { Key('N'); }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "caption", MB_YESNO), IDNO);
  Script({[] {
    pt::KeyDown(VK_MENU);
    Key('Y');
    pt::KeyUp(VK_MENU);
  }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "caption", MB_YESNOCANCEL | MB_DEFBUTTON3), IDYES);
  Script({[] { Key('Q'); }, [] { Key(VK_RETURN); }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "caption", MB_YESNO | MB_DEFBUTTON2), IDNO) << "no button has Q";
  EXPECT_EQ(StepsRun(), 2u);
}

TEST_F(MessageBoxTest, OpensAsAnOwnedDialogCentredOverTheOwnerWithTheDefaultFocused) {
  HWND box = nullptr, focus = nullptr, parent = nullptr, cancel = nullptr;
  std::string cls, caption;
  RECT br{}, or_{};
  Script({[&] {
    box = Active();
    focus = GetFocus();
    cancel = GetDlgItem(box, IDCANCEL);
    parent = GetParent(box);
    cls = ClassOf(box);
    caption = Text(box);
    GetWindowRect(box, &br);
    GetWindowRect(owner_, &or_);
    Key(VK_RETURN);
  }});
  EXPECT_EQ(MessageBoxA(owner_, "正文", "标题", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(cls, "#32770");
  EXPECT_EQ(caption, "标题");
  EXPECT_EQ(parent, owner_);
  EXPECT_NE(cancel, nullptr);
  EXPECT_EQ(focus, cancel) << "the focus starts on the default button";
  EXPECT_LE(std::abs((br.left + br.right) - (or_.left + or_.right)), 1);
  EXPECT_LE(std::abs((br.top + br.bottom) - (or_.top + or_.bottom)), 1);
  EXPECT_FALSE(IsWindow(box)) << "the box is gone once answered";
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(MessageBoxTest, TextGrowsTheBoxByLinesAndWrapsLongLinesAtAReadableWidth) {
  auto measure = [&](const char* text, RECT& box, RECT& label) {
    Script({[&] {
      HWND b = Active();
      GetWindowRect(b, &box);
      GetWindowRect(GetDlgItem(b, 0xFFFF), &label);
      Key(VK_RETURN);
    }});
    MessageBoxA(owner_, text, "c", MB_OK);
  };
  RECT one{}, oneLabel{}, three{}, threeLabel{}, longBox{}, longLabel{};
  measure("一行", one, oneLabel);
  measure("一行\n二行\n三行", three, threeLabel);
  const int lineH = oneLabel.bottom - oneLabel.top;
  EXPECT_GT(lineH, 0);
  EXPECT_EQ(threeLabel.bottom - threeLabel.top, 3 * lineH);
  EXPECT_EQ((three.bottom - three.top) - (one.bottom - one.top), 2 * lineH);

  std::string words;
  for (int i = 0; i < 80; ++i) words += "word ";
  measure(words.c_str(), longBox, longLabel);
  EXPECT_LE(longLabel.right - longLabel.left, 482) << "wrapped at the maximum width";
  EXPECT_GE(longLabel.bottom - longLabel.top, 3 * lineH) << "the long line became several";
  EXPECT_LE(longBox.right - longBox.left, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(MessageBoxTest, IconsShowTheirColours) {
  auto count = [&](UINT icon, auto pred) {
    int n = 0;
    Script({[&] {
      HWND b = Active();
      RECT r;
      GetWindowRect(b, &r);
      for (int y = r.top + 12; y < r.top + 44; ++y)
        for (int x = r.left + 12; x < r.left + 44; ++x)
          if (pred(pt::ScreenPixel(x, y))) ++n;
      Key(VK_RETURN);
    }});
    MessageBoxA(owner_, "text", "c", MB_OK | icon);
    return n;
  };
  auto reddish = [](COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 60 && GetBValue(c) < 60; };
  auto white = [](COLORREF c) { return c == RGB(255, 255, 255); };
  auto yellow = [](COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 180 && GetBValue(c) < 60; };
  auto blue = [](COLORREF c) { return GetBValue(c) > 180 && GetRValue(c) < 80; };
  EXPECT_GT(count(MB_ICONERROR, reddish), 300);
  EXPECT_GT(count(MB_ICONERROR, white), 40) << "the white cross";
  EXPECT_GT(count(MB_ICONWARNING, yellow), 150);
  EXPECT_GT(count(MB_ICONQUESTION, blue), 300);
  EXPECT_GT(count(MB_ICONINFORMATION, blue), 300);
  EXPECT_EQ(count(0, reddish) + count(0, yellow) + count(0, blue), 0) << "no icon, no colour";
}

TEST_F(MessageBoxTest, TheOwnerHearsEnterIdleWithTheBoxAndItsTimerTicks) {
  HWND box = nullptr;
  int ticksWhileOpen = 0;
  SetTimer(owner_, 7, 100, nullptr);
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == owner_ && msg == WM_TIMER && GetActiveWindow() != owner_) ++ticksWhileOpen;
    return std::nullopt;
  });
  Script({[&] {
            box = Active();
            pt::AdvanceTime(100);
          },
          [] { pt::AdvanceTime(100); }, [] { Key(VK_RETURN); }});
  rec_.Clear();
  EXPECT_EQ(MessageBoxA(owner_, "text", "c", MB_OK), IDOK);
  KillTimer(owner_, 7);
  EXPECT_EQ(ticksWhileOpen, 2);
  const LPARAM d = reinterpret_cast<LPARAM>(box);
  auto seen = rec_.Filtered([&](const hwf::test::LoggedMessage& m) {
    return m.hwnd == owner_ && (m.msg == WM_ENABLE || m.msg == WM_ACTIVATE || m.msg == WM_ENTERIDLE);
  });
  EXPECT_TRUE(MatchSequence(seen, {
                                      {owner_, WM_ACTIVATE, WA_INACTIVE, d},
                                      {owner_, WM_ENABLE, FALSE},
                                      {owner_, WM_ENTERIDLE, MSGF_DIALOGBOX, d},
                                      {owner_, WM_ENTERIDLE, MSGF_DIALOGBOX, d},
                                      {owner_, WM_ENTERIDLE, MSGF_DIALOGBOX, d},
                                      {owner_, WM_ENABLE, TRUE},
                                      {owner_, WM_ACTIVATE, WA_ACTIVE},
                                  }));
}

TEST_F(MessageBoxTest, BadTypesFailAndNothingLeaks) {
  std::size_t windows = pt::LiveObjects(platform::HandleKind::Window);
  std::size_t fonts = pt::LiveObjects(platform::HandleKind::Font);
  EXPECT_EQ(MessageBoxA(owner_, "text", "c", 0x7), 0);
  Script({[] { Key(VK_ESCAPE); }});
  EXPECT_EQ(MessageBoxA(owner_, "text", "c", MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
  EXPECT_EQ(pt::LiveObjects(platform::HandleKind::Window), windows);
  EXPECT_EQ(pt::LiveObjects(platform::HandleKind::Font), fonts);
  // Nothing can ever arrive: the box goes away with the cautious answer.
  EXPECT_EQ(MessageBoxA(owner_, "text", "c", MB_YESNO), IDNO);
}

}  // namespace
