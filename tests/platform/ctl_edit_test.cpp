// "Edit": typing UTF-8 byte by byte, deleting whole characters, selection
// by keys and mouse, the clipboard, long and broken input, multi-line
// layout, the caret's blink, colours from the parent; and the line layout
// of the text model on its own.
#include "ctl_fixture.h"
#include "platform/controls/edit_buffer.h"
#include "platform/gdi/text_utf8.h"
#include "platform/user/clipboard.h"

namespace {

using hwf::test::ControlTest;
namespace pt = platform::testing;
using platform::controls::EditLine;
using platform::controls::LayoutLines;

const std::string kReplacement = "\xEF\xBF\xBD";

class EditTest : public ControlTest {
 protected:
  HWND Edit(DWORD style = ES_AUTOHSCROLL, int w = 200, int h = 22, const char* text = "") {
    HWND e = Make("Edit", text, style, 10, 10, w, h, 77, WS_EX_CLIENTEDGE);
    SetFocus(e);
    Pump();
    rec_.Clear();
    return e;
  }
  static std::string Text(HWND e) {
    std::string out(static_cast<std::size_t>(GetWindowTextLengthA(e)) + 1, '\0');
    out.resize(static_cast<std::size_t>(GetWindowTextA(e, out.data(), static_cast<int>(out.size()))));
    return out;
  }
  static std::pair<DWORD, DWORD> Sel(HWND e) {
    DWORD a = 0, b = 0;
    SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {a, b};
  }
  int Changes() const {
    int n = 0;
    for (auto [id, code] : Commands()) n += id == 77 && code == EN_CHANGE;
    return n;
  }
  void Type(const std::string& s) {
    pt::Text(s);
    Pump();
  }
  void Press(UINT vk) {
    Key(vk);
    Pump();
  }
  void PressWith(UINT modifier, UINT vk) {
    Chord(modifier, vk);
    Pump();
  }
};

TEST_F(EditTest, MultibyteCharactersArriveWholeAndDeleteWhole) {
  HWND e = Edit();
  Type("ab中文");
  EXPECT_EQ(Text(e), "ab中文");
  EXPECT_EQ(Changes(), 4) << "one change per character, not per byte";
  Press(VK_BACK);
  EXPECT_EQ(Text(e), "ab中");
  Press(VK_LEFT);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{2}, DWORD{2})) << "offsets count bytes";
  Press(VK_DELETE);
  EXPECT_EQ(Text(e), "ab");
  Type("\xE4\xB8x");  // a character cut short, then a plain one
  EXPECT_EQ(Text(e), "ab" + kReplacement + "x");
}

TEST_F(EditTest, ShiftExtendsAndCtrlASelectsAll) {
  HWND e = Edit(ES_AUTOHSCROLL, 200, 22, "hello world");
  Press(VK_HOME);
  pt::KeyDown(VK_SHIFT);
  for (int i = 0; i < 5; ++i) Key(VK_RIGHT);
  pt::KeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{0}, DWORD{5}));
  Press(VK_RIGHT);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{5}, DWORD{5})) << "an arrow collapses to the selection's end";
  PressWith(VK_SHIFT, VK_END);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{5}, DWORD{11}));
  PressWith(VK_SHIFT, VK_HOME);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{0}, DWORD{5})) << "the anchor stays where the selection began";
  PressWith(VK_CONTROL, 'A');
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{0}, DWORD{11}));
  Type("X");
  EXPECT_EQ(Text(e), "X") << "typing replaces the selection";
}

TEST_F(EditTest, ClipboardRoundTripThroughCopyCutAndPaste) {
  HWND e = Edit(ES_AUTOHSCROLL, 200, 22, "hello 世界");
  SendMessageA(e, EM_SETSEL, 6, 12);
  PressWith(VK_CONTROL, 'C');
  EXPECT_EQ(platform::user::GetClipboardText(), "世界");
  PressWith(VK_CONTROL, VK_END);
  PressWith(VK_CONTROL, 'V');
  EXPECT_EQ(Text(e), "hello 世界世界");
  SendMessageA(e, EM_SETSEL, 0, 6);
  PressWith(VK_CONTROL, 'X');
  EXPECT_EQ(platform::user::GetClipboardText(), "hello ");
  EXPECT_EQ(Text(e), "世界世界");
  PressWith(VK_CONTROL, 'Z');
  EXPECT_EQ(Text(e), "hello 世界世界") << "undo brings the cut text back";
  SendMessageA(e, EM_SETREADONLY, TRUE, 0);
  SendMessageA(e, EM_SETSEL, 0, -1);
  PressWith(VK_CONTROL, 'X');
  EXPECT_EQ(Text(e), "hello 世界世界") << "read-only text cannot be cut";
  EXPECT_EQ(platform::user::GetClipboardText(), "hello ") << "nor does the attempt copy it";
  PressWith(VK_CONTROL, 'C');
  EXPECT_EQ(platform::user::GetClipboardText(), "hello 世界世界") << "copying read-only text works";
}

TEST_F(EditTest, InvalidUtf8PastedBecomesReplacementCharacters) {
  HWND e = Edit();
  platform::user::SetClipboardText(
      std::string("a\xFF"
                  "b\xC0\xAF"
                  "c\xED\xA0\x80"
                  "d",
                  11));
  PressWith(VK_CONTROL, 'V');
  // A byte that can never start a character, an overlong form and a
  // surrogate: every byte of them becomes one U+FFFD.
  EXPECT_EQ(Text(e), "a" + kReplacement + "b" + kReplacement + kReplacement + "c" + kReplacement +
                         kReplacement + kReplacement + "d");
  platform::user::SetClipboardText("line1\r\nline2");
  SendMessageA(e, EM_SETSEL, 0, -1);
  PressWith(VK_CONTROL, 'V');
  EXPECT_EQ(Text(e), "line1") << "a single line keeps what precedes the break";
}

// The field repairs bad text by the rule the captions draw by: a character cut short is one mark
// however many of its bytes arrived, so the field and a label show the same string alike.
TEST_F(EditTest, SetTextRepairsLikeACaption) {
  HWND e = Edit();
  const std::string cut =
      "A\xE4\xB8"
      "B\xF0\x9F\x98";
  SetWindowTextA(e, cut.c_str());
  EXPECT_EQ(Text(e), "A" + kReplacement + "B" + kReplacement);
  EXPECT_EQ(Text(e), platform::gdi::RepairUtf8(cut));
  SetWindowTextA(e, "x\xC3");
  EXPECT_EQ(Text(e), "x" + kReplacement) << "a lead byte at the very end";
}

TEST_F(EditTest, VeryLongTextKeepsEveryByteAndStillTakesTyping) {
  HWND e = Edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 200, 100);
  std::string big;
  for (int i = 0; big.size() < 100 * 1024; ++i) big += "第" + std::to_string(i) + "行 some words here\r\n";
  SetWindowTextA(e, big.c_str());
  EXPECT_EQ(GetWindowTextLengthA(e), static_cast<int>(big.size()));
  PressWith(VK_CONTROL, VK_END);
  Type("尾Z");
  EXPECT_EQ(Text(e), big + "尾Z");
  DWORD a = 0, b = 0;
  LRESULT packed = SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, big.size() + 4);
  EXPECT_EQ(b, a);
  EXPECT_EQ(packed, -1) << "offsets past 65535 do not fit the packed answer";
  EXPECT_GT(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 3000);
}

TEST_F(EditTest, MultiLineReturnInsertsCrLfAndArrowsMoveBetweenLines) {
  HWND e = Edit(ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL, 200, 80);
  Type("ab\rcd");
  EXPECT_EQ(Text(e), "ab\r\ncd");
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 1, 0), 4);
  Press(VK_UP);
  EXPECT_EQ(Sel(e).first, 2u) << "same column on the line above";
  Press(VK_DOWN);
  Press(VK_HOME);
  EXPECT_EQ(Sel(e).first, 4u);
  Press(VK_BACK);
  EXPECT_EQ(Text(e), "abcd") << "the line end goes as one";
  PressWith(VK_CONTROL, VK_HOME);
  EXPECT_EQ(Sel(e).first, 0u);
}

TEST_F(EditTest, MultiLineWrapsAtSpacesUnlessItScrollsSideways) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE word{}, two{};
  GetTextExtentPoint32A(dc, "wwww", 4, &word);
  GetTextExtentPoint32A(dc, "wwww wwww", 9, &two);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // Room for one word and its space, not for two words.
  int width = (word.cx + two.cx) / 2 + 4 + 4;
  HWND wrap = Edit(ES_MULTILINE, width, 80, "wwww wwww wwww");
  HWND wide = Edit(ES_MULTILINE | ES_AUTOHSCROLL, width, 80, "wwww wwww wwww");
  EXPECT_EQ(SendMessageA(wrap, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(wrap, EM_LINEINDEX, 1, 0), 5);
  EXPECT_EQ(SendMessageA(wrap, EM_LINEINDEX, 2, 0), 10);
  EXPECT_EQ(SendMessageA(wide, EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(Text(wrap), "wwww wwww wwww") << "wrapping changes no text";
}

TEST_F(EditTest, MouseDragSelectsWithCaptureAndDoubleClickTakesAWord) {
  HWND e = Edit(ES_AUTOHSCROLL, 200, 22, "hello world");
  POINT start = Screen(e, 1, 8), far = Screen(e, 190, 8);
  pt::MouseDown(start.x, start.y);
  Pump();
  EXPECT_EQ(GetCapture(), e);
  pt::MouseMove(far.x, far.y);
  pt::MouseUp(far.x, far.y);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{0}, DWORD{11}));
  HDC dc = GetDC(e);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE pre{};
  GetTextExtentPoint32A(dc, "hello wo", 8, &pre);
  SelectObject(dc, old);
  ReleaseDC(e, dc);
  POINT in = Screen(e, 2 + pre.cx, 8);
  pt::Click(in.x, in.y);
  pt::Click(in.x, in.y);
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{6}, DWORD{11}));
}

TEST_F(EditTest, SetSelAndReplaceSelWorkInBytesOnCharacterBoundaries) {
  HWND e = Edit(ES_AUTOHSCROLL, 200, 22, "hello");
  SendMessageA(e, EM_SETSEL, 1, 3);
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("XY中"));
  EXPECT_EQ(Text(e), "hXY中lo");
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{6}, DWORD{6}));
  EXPECT_EQ(Changes(), 1);
  SendMessageA(e, EM_SETSEL, 4, 5);  // both inside 中 (bytes 3..5)
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{3}, DWORD{3}));
  SendMessageA(e, EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{0}, DWORD{8}));
  SendMessageA(e, EM_LIMITTEXT, 3, 0);
  SendMessageA(e, EM_SETSEL, 0, -1);
  rec_.Clear();
  Type("abcd");
  EXPECT_EQ(Text(e), "abc");
  auto cmds = Commands();
  EXPECT_EQ(cmds.back(), std::make_pair(77, EN_MAXTEXT));
}

TEST_F(EditTest, CaretBlinksOnTheTimerBeat) {
  HWND e = Edit(ES_AUTOHSCROLL, 100, 22);
  RECT column{2, 0, 3, 18};  // the caret of an empty field stands at the left margin
  int shown = CountPixels(e, column, Dark);
  EXPECT_GT(shown, 8);
  pt::AdvanceTime(GetCaretBlinkTime());
  Pump();
  EXPECT_EQ(CountPixels(e, column, Dark), 0);
  pt::AdvanceTime(GetCaretBlinkTime());
  Pump();
  EXPECT_EQ(CountPixels(e, column, Dark), shown);
  SetFocus(parent_);
  pt::AdvanceTime(GetCaretBlinkTime());
  Pump();
  EXPECT_EQ(CountPixels(e, column, Dark), 0) << "no caret without focus";
}

TEST_F(EditTest, ColoursComeFromTheParentAndReadOnlyAsksForStaticOnes) {
  const COLORREF back = 0x00F5A038, fore = 0x0006F9B0;
  HBRUSH brush = CreateSolidBrush(back);
  std::vector<UINT> asked;
  rec_.SetHandler([&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    if (h != parent_ || (m != WM_CTLCOLOREDIT && m != WM_CTLCOLORSTATIC)) return std::nullopt;
    asked.push_back(m);
    SetTextColor(reinterpret_cast<HDC>(w), fore);
    SetBkColor(reinterpret_cast<HDC>(w), back);
    return reinterpret_cast<LRESULT>(brush);
  });
  HWND e = Edit(ES_AUTOHSCROLL, 120, 22, "");
  SetFocus(parent_);  // no caret in the picture
  Pump();
  EXPECT_EQ(CountColour(e, ClientOf(e), back), 116 * 18);
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back(), static_cast<UINT>(WM_CTLCOLOREDIT));
  SendMessageA(e, EM_SETREADONLY, TRUE, 0);
  Pump();
  EXPECT_EQ(asked.back(), static_cast<UINT>(WM_CTLCOLORSTATIC));
  DestroyWindow(e);
  DeleteObject(brush);
}

// --- The line layout on its own, with every character 10 pixels wide.

std::vector<std::pair<std::size_t, std::size_t>> Lines(const std::string& t, bool multi, int wrap) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (const EditLine& l : LayoutLines(t, multi, wrap, [](std::uint32_t) { return 10; }))
    out.emplace_back(l.start, l.end);
  return out;
}
using Spans = std::vector<std::pair<std::size_t, std::size_t>>;

TEST(EditLayout, BreaksAtLineEndsSpacesAndInsideOverlongWords) {
  EXPECT_EQ(Lines("", true, 0), (Spans{{0, 0}}));
  EXPECT_EQ(Lines("a\r\nb\nc", true, 0), (Spans{{0, 1}, {3, 4}, {5, 6}}));
  EXPECT_EQ(Lines("a\r\n", true, 0), (Spans{{0, 1}, {3, 3}}));
  EXPECT_EQ(Lines("a\r\nb", false, 0), (Spans{{0, 4}})) << "one line when single-line";
  EXPECT_EQ(Lines("aa bb cc", true, 50), (Spans{{0, 6}, {6, 8}})) << "spaces may hang past the edge";
  EXPECT_EQ(Lines("aaa bbb", true, 50), (Spans{{0, 4}, {4, 7}}));
  EXPECT_EQ(Lines("abcdefgh", true, 30), (Spans{{0, 3}, {3, 6}, {6, 8}}));
  EXPECT_EQ(Lines("中文中文", true, 20), (Spans{{0, 6}, {6, 12}})) << "whole characters only";
}

}  // namespace

namespace {

class EditScrollTest : public EditTest {};

TEST_F(EditScrollTest, TheFieldScrollsToKeepTheCaretInView) {
  HWND e = Edit(ES_AUTOHSCROLL, 60, 22);
  Type("0123456789012345678901234567890123456789");
  // Scrolled to the end: the left edge now shows a later character.
  ClickAt(e, 3, 8);
  Pump();
  EXPECT_GT(Sel(e).first, 10u);
  Press(VK_HOME);
  ClickAt(e, 3, 8);
  Pump();
  EXPECT_EQ(Sel(e).first, 0u) << "Home scrolls back";

  HWND m = Edit(ES_MULTILINE | ES_AUTOVSCROLL, 100, 40);
  for (int i = 0; i < 10; ++i) Type("line\r");
  ClickAt(m, 3, 3);
  Pump();
  EXPECT_GE(SendMessageA(m, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 8 * 6)
      << "the first line shown is a late one";
}

}  // namespace
