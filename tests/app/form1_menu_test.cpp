// The context menu of the canvas and the effect picture, its accelerators,
// and pattern codes through the clipboard: what the menu lists and grays,
// the three ways to open it and where, a choice that runs its command, a
// round trip of a code, malformed and undrawable codes, and text fields
// that keep their own Ctrl+C and Ctrl+V.
#include <functional>
#include <set>
#include <string>

#include "app/clipboard_text.h"
#include "app/form1_fixture.h"
#include "app/form1_layout.h"

namespace app {
namespace {

namespace pt = platform::testing;

struct Item {
  std::string text;
  bool separator = false;
  bool grayed = false;
  bool operator==(const Item&) const = default;
};

std::vector<Item> Items(HMENU menu) {
  std::vector<Item> out;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char buf[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), buf, sizeof buf, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    out.push_back(Item{buf, (state & MF_SEPARATOR) != 0, (state & MF_GRAYED) != 0});
  }
  return out;
}

// Which of the six commands are grayed, in menu order.
std::vector<bool> Grayed(const std::vector<Item>& items) {
  std::vector<bool> out;
  for (const Item& i : items)
    if (!i.separator) out.push_back(i.grayed);
  return out;
}

class Form1MenuTest : public Form1Test {
 protected:
  void SetUp() override {
    Form1Test::SetUp();
    // The headless clipboard lives as long as the test program.
    ASSERT_TRUE(PutClipboardText(nullptr, ""));
  }

  std::vector<Item> MenuNow() { return Items(form_->BuildContextMenu().get()); }
  HWND Control(const char* name) { return form_->Form().ControlHwnd(name); }
  POINT Middle(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void RightClick(HWND h) {
    const POINT p = Middle(h);
    pt::Click(p.x, p.y, pt::Button::Right);
  }
  std::string Clipboard() { return ClipboardText(nullptr).value_or("(none)"); }

  // Runs `open`, then `inside` once the menu shows (by default Escape).
  // Returns the menu's items and puts its window's place in shownAt_;
  // nothing when no menu opened.
  std::vector<Item> WhileOpen(const std::function<void()>& open, std::function<void()> inside = {}) {
    std::vector<Item> seen;
    bool done = false;
    pt::SetIdleHook([&]() {
      HWND window = FindWindowA("#32768", nullptr);
      if (done || !window) return false;
      done = true;
      seen = Items(reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0)));
      GetWindowRect(window, &shownAt_);
      if (inside) {
        inside();
      } else {
        pt::KeyDown(VK_ESCAPE);
        pt::KeyUp(VK_ESCAPE);
      }
      return true;
    });
    open();
    PumpLikeTheProgram();
    pt::SetIdleHook(nullptr);
    return seen;
  }

  RECT shownAt_{};
};

TEST_F(Form1MenuTest, EightItemsInOrderAndWhatCannotActIsGrayed) {
  const std::vector<Item> start = MenuNow();
  const std::vector<Item> want = {
      {"上一个图案\tAlt+←", false, true},    {"下一个图案\tAlt+→", false, true},    {"", true, false},
      {"复制图案编号\tCtrl+C", false, true}, {"粘贴图案编号\tCtrl+V", false, true}, {"", true, false},
      {"导出高清图案…", false, true},        {"导出四方连续图…", false, true},
  };
  EXPECT_EQ(start, want) << "nothing can act before the first pattern with an empty clipboard";

  Click("cmdpaint");
  EXPECT_EQ(Grayed(MenuNow()), (std::vector<bool>{true, true, false, true, false, false}));
  ASSERT_TRUE(PutClipboardText(nullptr, "anything"));
  EXPECT_EQ(Grayed(MenuNow()), (std::vector<bool>{true, true, false, false, false, false}));
  Click("cmdpaint");
  EXPECT_EQ(Grayed(MenuNow()), (std::vector<bool>{false, true, false, false, false, false}));
  form_->mnuPrevious_Click();
  EXPECT_EQ(Grayed(MenuNow()), (std::vector<bool>{true, false, false, false, false, false}));
}

// The handler table tells a reader which caption calls which handler; a caption that drifted from
// the window or the menu would send them to the wrong handler.
TEST_F(Form1MenuTest, TheHandlerTableNamesWhatTheUserClicks) {
  std::vector<std::string> menu_texts;
  for (const Item& i : MenuNow())
    if (!i.separator) menu_texts.push_back(i.text.substr(0, i.text.find('\t')));
  std::size_t menu_rows = 0;
  std::set<std::string> events;
  for (const Form1Handler& h : kForm1Handlers) {
    EXPECT_TRUE(events.insert(h.event).second) << h.event << " twice";
    const std::string event = h.event;
    if (h.menu) {
      ASSERT_LT(menu_rows, menu_texts.size());
      EXPECT_EQ(h.caption, menu_texts[menu_rows++]) << event;
      continue;
    }
    if (h.caption.starts_with("（")) continue;  // raised by the program, not clicked
    const std::string control = event.substr(0, event.rfind('_'));
    const runtime::LayoutRow* row = runtime::FindControl(Form1Layout(), control);
    ASSERT_NE(row, nullptr) << event;
    EXPECT_EQ(h.caption, row->text) << event;
  }
  EXPECT_EQ(menu_rows, menu_texts.size()) << "every menu command has its row";
  for (const runtime::LayoutRow& row : Form1Layout().controls) {
    if (row.kind != runtime::ControlKind::CommandButton && row.kind != runtime::ControlKind::Timer) continue;
    const char* what = row.kind == runtime::ControlKind::Timer ? "_Timer" : "_Click";
    EXPECT_TRUE(events.count(std::string(row.name) + what)) << row.name << " has no handler";
  }
}

TEST_F(Form1MenuTest, ARightClickShiftF10AndTheMenuKeyOpenItOnBothPicturesOnly) {
  HWND canvas = Control("picpaint"), effect = Control("Picture1");
  const std::size_t kItems = 8;
  EXPECT_EQ(WhileOpen([&] { RightClick(canvas); }).size(), kItems);
  const POINT at = Middle(canvas);
  EXPECT_EQ(shownAt_.left, at.x) << "at the cursor";
  EXPECT_EQ(shownAt_.top, at.y);
  EXPECT_EQ(WhileOpen([&] { RightClick(effect); }).size(), kItems);

  SetFocus(canvas);
  EXPECT_EQ(WhileOpen([&] { Chord(VK_SHIFT, VK_F10); }).size(), kItems);
  SetFocus(effect);
  EXPECT_EQ(WhileOpen([] {
              pt::KeyDown(VK_APPS);
              pt::KeyUp(VK_APPS);
            }).size(),
            kItems);
  const POINT middle = Middle(effect);
  EXPECT_NEAR(shownAt_.left, middle.x, 2) << "from the keyboard: in the middle of the picture";
  EXPECT_NEAR(shownAt_.top, middle.y, 2);

  EXPECT_TRUE(WhileOpen([&] { RightClick(Control("cmdpaint")); }).empty());
  EXPECT_TRUE(WhileOpen([&] { RightClick(Control("Text1")); }).empty());
  EXPECT_TRUE(WhileOpen([&] {
                const POINT p = Middle(form_->Hwnd());
                pt::Click(p.x + 300, p.y + 300, pt::Button::Right);  // the form's own face
              }).empty());
}

TEST_F(Form1MenuTest, AChosenItemRunsItsCommandAndTheOwnerIsTheWindow) {
  Click("cmdpaint");
  const std::vector<std::uint32_t> first = Pixels(Box("picpaint"));
  Click("cmdpaint");
  WhileOpen([&] { RightClick(Control("picpaint")); },
            [] {
              pt::KeyDown(VK_DOWN);  // the first item that can act: 上一个图案
              pt::KeyUp(VK_DOWN);
              pt::KeyDown(VK_RETURN);
              pt::KeyUp(VK_RETURN);
            });
  EXPECT_EQ(form_->History().Position(), 0u);
  EXPECT_TRUE(Pixels(Box("picpaint")) == first);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(Form1MenuTest, ACopiedCodeDrawsItsPatternAgainWhenPasted) {
  Click("cmdpaint");
  Click("cmdpaint");
  const std::vector<std::uint32_t> canvas = Pixels(Box("picpaint"));
  const patterns::PatternCode code = *form_->CurrentPatternCode();
  ClickAt(POINT{846, 106});  // on the canvas, which takes the keyboard
  ASSERT_EQ(GetFocus(), Control("picpaint"));
  Chord(VK_CONTROL, 'C');
  EXPECT_EQ(Clipboard(), patterns::WritePatternCode(code));

  dialogs_.colours.push_back(0x0000FF00);
  Click("cmddan");
  Click("cmdpaint");
  Click("Command2");
  const std::vector<std::uint32_t> effect = Pixels(Box("Picture1"));
  Click("Command4");  // a running mode stops for the pasted pattern
  Chord(VK_CONTROL, 'V');
  EXPECT_TRUE(Pixels(Box("picpaint")) == canvas);
  EXPECT_TRUE(Pixels(Box("Picture2")) == canvas);
  EXPECT_TRUE(Pixels(Box("Picture1")) == effect) << "pasting draws the canvas, as 画图1 does";
  EXPECT_EQ(form_->icolor(), code.line);
  EXPECT_FALSE(form_->Form().TimerNamed("Timer1")->Enabled());
  ASSERT_EQ(form_->History().Size(), 4u);
  EXPECT_TRUE(form_->History().At(3).code.SameAs(code));
  EXPECT_TRUE(form_->CurrentPatternCode()->SameAs(code));

  // From another program: upper case, blanks around it.
  std::string shouted = " " + patterns::WritePatternCode(form_->History().At(0).code) + "\n";
  for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_TRUE(PutClipboardText(nullptr, shouted));
  form_->mnuPasteCode_Click();
  EXPECT_TRUE(form_->CurrentPatternCode()->SameAs(form_->History().At(0).code));
  EXPECT_TRUE(reports_.empty());
}

TEST_F(Form1MenuTest, AMalformedOrUndrawableCodeIsExplainedAndNothingChanges) {
  Click("cmdpaint");
  Click("Command2");
  Click("Command4");
  struct State {
    std::vector<std::uint32_t> canvas, tile, effect;
    patterns::Colour icolor;
    std::size_t history;
    bool running;
    bool operator==(const State&) const = default;
  };
  auto now = [&] {
    return State{Pixels(Box("picpaint")), Pixels(Box("Picture2")),
                 Pixels(Box("Picture1")), form_->icolor(),
                 form_->History().Size(), form_->Form().TimerNamed("Timer1")->Enabled()};
  };
  const State before = now();
  std::string code = patterns::WritePatternCode(*form_->CurrentPatternCode());
  code[30] = code[30] == 'a' ? 'b' : 'a';
  const patterns::PatternCode huge{.drawing = 1, .amplitude = 1e300, .randoms = {0.1f, 0.2f, 0.3f, 0.4f}};
  const struct {
    std::string pasted;
    const char* says;
  } cases[] = {
      {code, "校验字符不符"},
      {"hello", "“hwf1-”开头"},
      {"hwf1-1-000000-80ff80", "五部分"},
      {patterns::WritePatternCode(huge), "画不出来"},
      {"   ", "空白"},
  };
  for (const auto& c : cases) {
    reports_.clear();
    ASSERT_TRUE(PutClipboardText(nullptr, c.pasted));
    Chord(VK_CONTROL, 'V');
    ASSERT_EQ(reports_.size(), 1u) << c.pasted;
    EXPECT_NE(reports_[0].find("无法粘贴图案编号"), std::string::npos) << reports_[0];
    EXPECT_NE(reports_[0].find(c.says), std::string::npos) << reports_[0];
    EXPECT_TRUE(now() == before) << c.pasted;
    if (c.pasted == code) {
      EXPECT_NE(reports_[0].find("“" + code + "”"), std::string::npos) << "the box quotes what was pasted";
    }
  }

  // A long text is quoted short, cut between characters.
  reports_.clear();
  std::string essay;
  for (int i = 0; i < 100; ++i) essay += "图案";
  ASSERT_TRUE(PutClipboardText(nullptr, essay));
  form_->mnuPasteCode_Click();
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_LT(reports_[0].size(), 300u);
  EXPECT_NE(reports_[0].find("…"), std::string::npos);

  // Nothing on the clipboard: nothing to paste, nothing to say.
  reports_.clear();
  ASSERT_TRUE(PutClipboardText(nullptr, ""));
  Chord(VK_CONTROL, 'V');
  EXPECT_TRUE(reports_.empty());
  EXPECT_TRUE(now() == before);
}

TEST_F(Form1MenuTest, TextFieldsKeepTheirOwnCopyAndPasteAndTheStepsToo) {
  Click("cmdpaint");
  Click("cmdpaint");
  const std::string code = patterns::WritePatternCode(*form_->CurrentPatternCode());

  HWND comboEdit = GetWindow(Control("Combo1"), GW_CHILD);
  ASSERT_NE(comboEdit, nullptr);
  SetFocus(comboEdit);
  SendMessageA(comboEdit, EM_SETSEL, 0, -1);
  Chord(VK_CONTROL, 'C');
  EXPECT_EQ(Clipboard(), "80") << "the amplitude field copied its own text";
  Chord(VK_MENU, VK_LEFT);
  EXPECT_EQ(form_->History().Position(), 1u) << "no step from a text field";

  ASSERT_TRUE(PutClipboardText(nullptr, code));
  HWND text1 = Control("Text1");
  SetFocus(text1);
  SetWindowTextA(text1, "");
  Chord(VK_CONTROL, 'V');
  char buf[128] = {};
  GetWindowTextA(text1, buf, sizeof buf);
  EXPECT_EQ(std::string(buf), code) << "the introduction's text took the paste";
  EXPECT_EQ(form_->History().Size(), 2u) << "and no pattern was drawn";

  // Anywhere else in the window the keys are the menu's.
  SetFocus(Control("Command2"));
  Chord(VK_MENU, VK_LEFT);
  EXPECT_EQ(form_->History().Position(), 0u);
  EXPECT_TRUE(reports_.empty());
}

}  // namespace
}  // namespace app
