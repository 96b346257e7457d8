// Fuzzes the main window with the skin on: the input bytes become a stream of
// mouse moves and clicks, keys, typed text and steps of virtual time, played
// against a fresh headless Form1 per input.
//
// Sections: sandbox and confined file writes · decoding · the player ·
// closing dialogs · object counts · the run.
//
// Dialogs (save, colour, error boxes) run modal loops of their own. While one
// runs, the player is called from the idle hook, so the rest of the input is
// played into the dialog; when the input is used up the hook closes the
// innermost dialog (Escape, then WM_CLOSE, then its No/Cancel command) until
// none is left, and every run ends. A dialog that survives all of that is a
// hang and aborts the run.
//
// Files. The save dialog starts in the working folder, a private box made per
// process. The user may type or browse anywhere, so the form's file writer is
// confined: every call that creates, renames or removes a file outside the
// box fails with EACCES (the program then shows its error box, which is
// fuzzed too). Nothing outside the box can be written.
//
// Objects. After start-up the live handles of every kind are recorded. Once
// the input is played, the dialogs are closed and the fades have run out, the
// counts must be back at those values: a dialog, a drop-down list, a fade or
// an error box leaves nothing behind. While a run goes on, the total may not
// exceed the start-up value by more than kRunSlack (dialogs are made of
// windows and fonts; a few hundred events cannot need more). After the form
// is destroyed every count returns to what it was before the form existed,
// and no timer is left. Once its dialogs are closed the main window is
// enabled again.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/form1_layout.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "runtime/error_report.h"

namespace {

namespace fs = std::filesystem;
namespace pt = platform::testing;
using platform::HandleKind;

// --- Sandbox and confined file writes.

std::string g_box;

bool InBox(const char* path) {
  std::string p = path;
  if (p.empty()) return false;
  if (p[0] != '/') p = g_box + "/" + p;
  // The folder must exist for a write to succeed at all; judge it by its
  // real location, so links and ".." cannot lead out.
  const std::size_t slash = p.rfind('/');
  const std::string folder = slash == 0 ? "/" : p.substr(0, slash);
  char* real = ::realpath(folder.c_str(), nullptr);
  if (!real) return false;
  const std::string r = real;
  std::free(real);
  return r == g_box || r.rfind(g_box + "/", 0) == 0;
}

class ConfinedOps : public runtime::FileOps {
 public:
  int Open(const char* path, int flags, mode_t mode) override {
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT)) && !InBox(path)) return Refuse();
    return FileOps::Open(path, flags, mode);
  }
  int Rename(const char* from, const char* to) override {
    if (!InBox(from) || !InBox(to)) return Refuse();
    return FileOps::Rename(from, to);
  }
  int Unlink(const char* path) override { return InBox(path) ? FileOps::Unlink(path) : Refuse(); }

 private:
  static int Refuse() {
    errno = EACCES;
    return -1;
  }
};

ConfinedOps g_ops;

// --- Decoding.

class Bytes {
 public:
  Bytes(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
  bool Empty() const { return at_ >= n_; }
  std::uint8_t Next() { return at_ < n_ ? d_[at_++] : 0; }
  std::string Take(std::size_t n) {
    std::string s;
    while (n-- && !Empty()) s += static_cast<char>(Next());
    return s;
  }

 private:
  const std::uint8_t* d_;
  std::size_t n_;
  std::size_t at_ = 0;
};

struct Key {
  UINT vk;
  UINT modifier;  // 0, VK_SHIFT, VK_MENU or VK_CONTROL held around vk
};

// The last six open the context menu and use its accelerators.
constexpr std::array<Key, 30> kKeys{{
    {VK_TAB, 0},        {VK_TAB, VK_SHIFT}, {VK_SPACE, 0},       {VK_RETURN, 0},        {VK_ESCAPE, 0},
    {VK_LEFT, 0},       {VK_RIGHT, 0},      {VK_UP, 0},          {VK_DOWN, 0},          {VK_F4, 0},
    {VK_DOWN, VK_MENU}, {VK_BACK, 0},       {VK_DELETE, 0},      {VK_HOME, 0},          {VK_END, 0},
    {VK_PRIOR, 0},      {VK_NEXT, 0},       {'S', VK_MENU},      {'N', VK_MENU},        {'Y', VK_MENU},
    {'I', VK_MENU},     {'A', VK_CONTROL},  {VK_UP, VK_MENU},    {VK_RETURN, VK_SHIFT}, {VK_APPS, 0},
    {VK_F10, VK_SHIFT}, {VK_LEFT, VK_MENU}, {VK_RIGHT, VK_MENU}, {'C', VK_CONTROL},     {'V', VK_CONTROL},
}};

const char* const kTexts[] = {
    "80",    "7200",          "0",          "-80",      "abc",  "1e39",      "1e400",    "1,000",  " 16 ",
    ".",     "effect",        "effect.bmp", "sub",      "sub/", "sub/x.bmp", "../x.bmp", "/tmp",   "/",
    "*.bmp", "missing/x.bmp", "保存图案",   "\xE4\xBF", "x\ty", "old.bmp",   "..",       "0.5e-3",
};

constexpr std::array<std::uint64_t, 8> kTimeSteps{1, 15, 16, 45, 150, 500, 2000, 4000};

// --- The player.

struct Run {
  app::Form1* form = nullptr;
  HWND main = nullptr;
  std::size_t startup_total = 0;
};

Run* g_run = nullptr;

std::size_t LiveTotal() {
  std::size_t n = 0;
  for (int k = 1; k < static_cast<int>(HandleKind::Count); ++k)
    n += pt::LiveObjects(static_cast<HandleKind>(k));
  return n;
}

// A run may hold dialogs and their fonts, never a pile of leaked objects.
constexpr std::size_t kRunSlack = 1500;

void CheckBound() {
  if (LiveTotal() > g_run->startup_total + kRunSlack) {
    std::fprintf(stderr, "events_fuzz: %zu live objects, %zu after start-up\n", LiveTotal(),
                 g_run->startup_total);
    std::abort();
  }
}

HWND FrontWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        if (!IsWindowVisible(h)) return TRUE;
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> VisibleChildren(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM p) -> BOOL {
        if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// A screen point picked by three bytes: which place, and where inside it.
// On the main window the places are the layout's rows (windowed or painted);
// elsewhere the front window's visible children, or the window itself.
POINT PickPoint(Bytes& in) {
  const std::uint8_t which = in.Next(), fx = in.Next(), fy = in.Next();
  HWND front = FrontWindow();
  RECT r{0, 0, 952, 716};
  if (front && front == g_run->main && IsWindow(g_run->main)) {
    const auto& rows = app::Form1Layout().controls;
    const auto& row = rows[which % rows.size()];
    if (row.width > 0 && row.height > 0) {
      POINT tl{row.left / 15, row.top / 15};
      ClientToScreen(g_run->main, &tl);
      r = RECT{tl.x, tl.y, tl.x + row.width / 15, tl.y + row.height / 15};
    } else {
      GetWindowRect(front, &r);
    }
  } else if (front) {
    std::vector<HWND> kids = VisibleChildren(front);
    if (which % 4 == 0 || kids.empty())
      GetWindowRect(front, &r);
    else
      GetWindowRect(kids[which % kids.size()], &r);
  }
  const int w = std::max<int>(1, r.right - r.left), h = std::max<int>(1, r.bottom - r.top);
  return POINT{r.left + fx * w / 256, r.top + fy * h / 256};
}

void PressKey(const Key& k) {
  if (k.modifier) pt::KeyDown(k.modifier);
  pt::KeyDown(k.vk);
  pt::KeyUp(k.vk);
  if (k.modifier) pt::KeyUp(k.modifier);
}

// Plays one event; false when the input is used up.
bool PlayOne(Bytes& in) {
  if (in.Empty()) return false;
  const std::uint8_t op = in.Next();
  switch (op % 16) {
    case 0:
    case 1: {
      const POINT p = PickPoint(in);
      pt::Click(p.x, p.y);
      break;
    }
    case 2: {
      const POINT p = PickPoint(in);
      pt::MouseMove(p.x, p.y);
      break;
    }
    case 3: {
      const POINT p = PickPoint(in);
      pt::MouseDown(p.x, p.y);
      break;
    }
    case 4: {
      const POINT p = PickPoint(in);
      pt::MouseUp(p.x, p.y);
      break;
    }
    case 5:
    case 6:
    case 7:
      PressKey(kKeys[in.Next() % kKeys.size()]);
      break;
    case 8:
      pt::Text(kTexts[in.Next() % std::size(kTexts)]);
      break;
    case 9:
      pt::Text(in.Take(in.Next() % 8));
      break;
    case 10:
    case 11:
      pt::AdvanceTime(kTimeSteps[in.Next() % kTimeSteps.size()]);
      break;
    case 12: {  // a hover: onto something, through part of its fade, and off again
      const POINT p = PickPoint(in);
      pt::MouseMove(p.x, p.y);
      pt::AdvanceTime(15u * (in.Next() % 12));
      pt::MouseMove(p.x, p.y - 40);
      break;
    }
    case 13: {
      const POINT p = PickPoint(in);
      pt::Click(p.x, p.y);
      pt::Click(p.x, p.y);  // a double click within the system's interval
      break;
    }
    case 14: {
      const POINT p = PickPoint(in);
      if (op & 0x10)
        pt::Click(p.x, p.y, pt::Button::Right);
      else
        pt::Wheel(p.x, p.y, (op & 0x20) ? 120 : -120);
      break;
    }
    default:
      // The frame's close button; rare, since it ends the run on the main window.
      if ((op & 0xF0) == 0xF0) {
        if (HWND front = FrontWindow()) pt::RequestClose(front);
      }
      break;
  }
  CheckBound();
  return true;
}

// --- Closing dialogs.

bool IsDialog(HWND h) {
  char cls[32] = {};
  GetClassNameA(h, cls, sizeof cls);
  return std::string(cls) == "#32770";
}

HWND InnermostDialog() {
  struct Find {
    HWND enabled = nullptr, any = nullptr;
  } f;
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Find*>(p);
        if (!IsDialog(h)) return TRUE;
        if (!f->any) f->any = h;
        if (!f->enabled && IsWindowEnabled(h)) f->enabled = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.enabled ? f.enabled : f.any;
}

struct Closer {
  HWND dialog = nullptr;
  int attempts = 0;
  int idle_without_dialog = 0;
};
Closer g_closer;

// One step towards closing the innermost dialog, as a user who wants out.
bool CloseOneStep() {
  HWND d = InnermostDialog();
  if (!d) {
    // A modal loop with no dialog to answer: only time can move it on.
    if (++g_closer.idle_without_dialog > 1000) {
      std::fprintf(stderr, "events_fuzz: a modal loop waits with no dialog open\n");
      std::abort();
    }
    return false;
  }
  if (d != g_closer.dialog) g_closer = Closer{d, 0, 0};
  switch (g_closer.attempts++) {
    case 0:
      pt::KeyDown(VK_ESCAPE);
      pt::KeyUp(VK_ESCAPE);
      break;
    case 1:
      PostMessageA(d, WM_CLOSE, 0, 0);
      break;
    case 2:
      PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
      break;
    case 3:
      PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      break;
    default:
      std::fprintf(stderr, "events_fuzz: a dialog cannot be closed (Escape, WM_CLOSE, No, Cancel)\n");
      std::abort();
  }
  return true;
}

Bytes* g_input = nullptr;

bool OnIdle() {
  if (g_input && PlayOne(*g_input)) return true;
  return CloseOneStep();
}

// Like the program's own loop: the window sees its accelerators and Tab first.
void Pump() {
  MSG msg;
  for (int n = 0; n < 200000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (g_run->form->Form().Ended()) continue;
    if (g_run->form->PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// --- Object counts.

using Counts = std::array<std::size_t, static_cast<std::size_t>(HandleKind::Count)>;

Counts Live() {
  Counts c{};
  for (int k = 1; k < static_cast<int>(HandleKind::Count); ++k)
    c[static_cast<std::size_t>(k)] = pt::LiveObjects(static_cast<HandleKind>(k));
  return c;
}

void ExpectCounts(const Counts& want, const Counts& got, const char* when) {
  static const char* const kNames[] = {"none",   "DC",      "bitmap", "brush",  "pen",  "font",
                                       "region", "palette", "window", "module", "menu", "global"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(HandleKind::Count));
  bool same = true;
  for (std::size_t k = 1; k < want.size(); ++k) same &= want[k] == got[k];
  if (same) return;
  std::fprintf(stderr, "events_fuzz: live objects %s differ:\n", when);
  for (std::size_t k = 1; k < want.size(); ++k)
    if (want[k] != got[k]) std::fprintf(stderr, "  %s: %zu, expected %zu\n", kNames[k], got[k], want[k]);
  std::abort();
}

}  // namespace

// --- The run.

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/hwf-eventfuzz-XXXXXX";
  if (!::mkdtemp(tmpl)) std::abort();
  g_box = tmpl;
  ::mkdir((g_box + "/sub").c_str(), 0755);
  if (FILE* f = std::fopen((g_box + "/old.bmp").c_str(), "w")) {
    std::fputs("OLD", f);
    std::fclose(f);
  }
  if (::chdir(g_box.c_str()) != 0) std::abort();
  std::atexit([] {
    std::error_code ec;
    fs::remove_all(g_box, ec);
  });
  // The notice link must not start a browser: xdg-open is looked up on PATH.
  ::setenv("PATH", "/nonexistent", 1);
  pt::UseVirtualTime(1000);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;  // longer inputs only make the runs slow
  pt::Reset();
  runtime::SetErrorReporter(nullptr);
  const Counts before = Live();

  Run run;
  g_run = &run;
  {
    auto form = std::make_unique<app::Form1>(app::Form1Options{.file_ops = &g_ops});
    form->Form().SetQuitOnDestroy(false);
    run.form = form.get();
    form->LoadAndShow();
    run.main = form->Hwnd();
    Pump();
    const Counts startup = Live();
    run.startup_total = LiveTotal();

    Bytes in(data, size);
    g_input = &in;
    g_closer = Closer{};
    pt::SetIdleHook(OnIdle);
    while (IsWindow(run.main) && !form->Form().Ended() && PlayOne(in)) Pump();
    g_input = nullptr;
    pt::SetIdleHook(nullptr);

    if (InnermostDialog()) {
      std::fprintf(stderr, "events_fuzz: a dialog is still open after its loop ended\n");
      std::abort();
    }
    // Let every fade run out and the drop-down close, the way a user leaves.
    if (IsWindow(run.main) && !form->Form().Ended()) {
      pt::MouseMove(0, 0);
      PressKey({VK_ESCAPE, 0});
      for (int i = 0; i < 4; ++i) {
        pt::AdvanceTime(500);
        Pump();
      }
      ExpectCounts(startup, Live(), "after the run, with every dialog closed");
      if (!IsWindowEnabled(run.main)) {
        std::fprintf(stderr, "events_fuzz: the main window stays disabled after its dialogs closed\n");
        std::abort();
      }
    }
    form.reset();
  }
  if (pt::PendingTimers() != 0) {
    std::fprintf(stderr, "events_fuzz: %zu timers outlive the form\n", pt::PendingTimers());
    std::abort();
  }
  pt::Reset();
  ExpectCounts(before, Live(), "after the form is gone");
  g_run = nullptr;
  return 0;
}
