// The Win32 clipboard calls and global blocks over the text clipboard the
// edit control uses: a round trip in both directions with an edit control,
// the rules of opening and owning, and blocks that are never leaked.
#include <cstring>

#include "platform/handles.h"
#include "support/window_fixture.h"

namespace {

using hwf::test::WindowTest;
using platform::HandleKind;
namespace pt = platform::testing;

class ClipboardTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    owner_ = Top(100, 100, 300, 200);
    edit_ = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, owner_, nullptr, nullptr,
                            nullptr);
    // The headless clipboard outlives the windows of a test.
    ASSERT_TRUE(OpenClipboard(owner_));
    EmptyClipboard();
    CloseClipboard();
  }

  static HGLOBAL Block(const char* text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(mem), text, std::strlen(text) + 1);
    EXPECT_FALSE(GlobalUnlock(mem)) << "no longer locked";
    return mem;
  }
  bool Put(const char* text) {
    HGLOBAL mem = Block(text);
    if (!OpenClipboard(owner_)) return false;
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_TEXT, mem) == mem;
    if (!ok) GlobalFree(mem);
    CloseClipboard();
    return ok;
  }
  std::string Get() {
    std::string out = "(none)";
    if (!OpenClipboard(owner_)) return "(not opened)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      out = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return out;
  }
  std::string EditText() const {
    char buf[256] = {};
    GetWindowTextA(edit_, buf, sizeof buf);
    return buf;
  }

  HWND owner_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(ClipboardTest, TextGoesBothWaysBetweenTheCallsAndAnEditControl) {
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(Get(), "(none)");

  ASSERT_TRUE(Put("hwf1-图案"));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  SendMessageA(edit_, WM_PASTE, 0, 0);
  EXPECT_EQ(EditText(), "hwf1-图案") << "UTF-8 as it was put";

  SetWindowTextA(edit_, "从编辑框复制");
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  SendMessageA(edit_, WM_COPY, 0, 0);
  EXPECT_EQ(Get(), "从编辑框复制");

  // The text ends at the block's first NUL.
  HGLOBAL mem = GlobalAlloc(GHND, 8);
  std::memcpy(GlobalLock(mem), "ab\0cd", 5);
  GlobalUnlock(mem);
  ASSERT_TRUE(OpenClipboard(owner_));
  EmptyClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "emptied";
  EXPECT_EQ(SetClipboardData(CF_TEXT, mem), mem);
  CloseClipboard();
  EXPECT_EQ(Get(), "ab");
}

TEST_F(ClipboardTest, OneWindowAtATimeAndOnlyWhileOpen) {
  HWND other = Top(0, 0, 50, 50);
  HGLOBAL mem = Block("x");
  EXPECT_FALSE(SetClipboardData(CF_TEXT, mem)) << "not open";
  EXPECT_FALSE(GetClipboardData(CF_TEXT));
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());

  ASSERT_TRUE(OpenClipboard(owner_));
  EXPECT_TRUE(OpenClipboard(owner_)) << "the same window again";
  EXPECT_FALSE(OpenClipboard(other)) << "while another window has it";
  EXPECT_FALSE(SetClipboardData(2 /* CF_BITMAP */, mem)) << "text only";
  EXPECT_FALSE(SetClipboardData(CF_TEXT, nullptr)) << "no delayed rendering";
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(OpenClipboard(other));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x1234))) << "not a window";
  EXPECT_EQ(GlobalFree(mem), nullptr) << "still the caller's after the refusals";
}

TEST_F(ClipboardTest, BlocksTheClipboardTakesAreItsOwnAndFreedWhenReplaced) {
  const std::size_t before = pt::LiveObjects(HandleKind::Global);
  ASSERT_TRUE(Put("first"));
  EXPECT_EQ(pt::LiveObjects(HandleKind::Global), before + 1) << "the clipboard holds the block";
  ASSERT_TRUE(Put("second"));
  EXPECT_EQ(pt::LiveObjects(HandleKind::Global), before + 1) << "the first block went with its text";

  ASSERT_TRUE(OpenClipboard(owner_));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(GetClipboardData(CF_TEXT), data) << "asking again hands out the same block";
  EXPECT_EQ(GlobalFree(data), data) << "the clipboard's block is not the program's to free";
  EXPECT_EQ(GlobalSize(data), 7u);
  CloseClipboard();

  // Text copied elsewhere replaces the block on the next read.
  SetWindowTextA(edit_, "third");
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  SendMessageA(edit_, WM_COPY, 0, 0);
  EXPECT_EQ(Get(), "third");
  EXPECT_EQ(pt::LiveObjects(HandleKind::Global), before + 1);
  EXPECT_EQ(GlobalLock(data), nullptr) << "the old block is gone, and its handle fails cleanly";

  ASSERT_TRUE(OpenClipboard(owner_));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(pt::LiveObjects(HandleKind::Global), before);
  HGLOBAL mine = GlobalAlloc(GMEM_FIXED, 0);
  EXPECT_NE(GlobalLock(mine), nullptr) << "an empty block still locks";
  EXPECT_TRUE(GlobalUnlock(mine) == FALSE);
  EXPECT_EQ(GlobalFree(mine), nullptr);
  EXPECT_EQ(GlobalFree(mine), mine) << "freed twice";
  EXPECT_EQ(pt::LiveObjects(HandleKind::Global), before);
}

}  // namespace
