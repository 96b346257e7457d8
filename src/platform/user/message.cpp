// Sending, posting, retrieving and dispatching messages; timers; waiting.
//
// Retrieval order, as in Win32: posted messages (input included), then
// WM_QUIT, then WM_PAINT, then WM_TIMER. WM_PAINT and WM_TIMER are never
// queued: they are made up when nothing else is waiting, so paints coalesce
// and a late timer yields one tick, not a pile of them.
//
// Sections: queue · timers · waiting · retrieval · dispatch and translation
#include <algorithm>
#include <deque>

#include "platform/user/backend.h"
#include "platform/user/clock.h"
#include "platform/user/input.h"
#include "platform/user/queue.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

// --- queue ------------------------------------------------------------------

struct QueueState {
  std::deque<MSG> posted;
  bool quit = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  std::function<bool()> idleHook;
};

QueueState& queue() {
  static QueueState q;
  return q;
}

bool MatchesFilter(HWND msgHwnd, HWND filter) {
  if (!filter) return true;
  return msgHwnd == filter || IsChild(filter, msgHwnd);
}

bool InRange(UINT msg, UINT lo, UINT hi) {
  if (lo == 0 && hi == 0) return true;
  return msg >= lo && msg <= hi;
}

// --- timers -----------------------------------------------------------------

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT interval;
  TIMERPROC proc;
  std::uint64_t due;
};

std::vector<Timer>& timers() {
  static std::vector<Timer> t;
  return t;
}

UINT_PTR g_nextThreadTimer = 0x7FF0;

}  // namespace

void PostQueued(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd, msg, wParam, lParam, static_cast<DWORD>(NowMs()), desktop().cursor};
  queue().posted.push_back(m);
}

void PostFront(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd, msg, wParam, lParam, static_cast<DWORD>(NowMs()), desktop().cursor};
  queue().posted.push_front(m);
}

void ResetQueue() {
  queue().posted.clear();
  queue().quit = false;
  timers().clear();
}

void PurgeQueue(HWND hwnd) {
  auto& p = queue().posted;
  p.erase(std::remove_if(p.begin(), p.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), p.end());
}

std::optional<std::uint64_t> NextTimerDue() {
  std::optional<std::uint64_t> best;
  for (const Timer& t : timers())
    if (!best || t.due < *best) best = t.due;
  return best;
}

void KillWindowTimers(HWND hwnd) {
  auto& t = timers();
  t.erase(std::remove_if(t.begin(), t.end(), [hwnd](const Timer& x) { return x.hwnd == hwnd; }), t.end());
}

std::size_t TimerCount() { return timers().size(); }

void SetIdleHook(std::function<bool()> hook) { queue().idleHook = std::move(hook); }

// --- waiting ----------------------------------------------------------------

bool WaitForWork() {
  // Show what changed before going to sleep.
  const std::optional<std::uint64_t> next = NextTimerDue();
  std::optional<std::uint64_t> wake = PresentChangedTopLevels(next);
  if (queue().idleHook && queue().idleHook()) return true;
  if (next) wake = wake ? std::min(*wake, *next) : *next;
  int timeout = -1;
  if (wake) {
    const std::uint64_t now = NowMs();
    timeout = *wake <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(*wake - now, 1u << 30));
  }
  return CurrentBackend().WaitEvents(timeout);
}

}  // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !IsWindow(hwnd)) return 0;
  // USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM.
  elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
  auto& list = timers();
  if (!hwnd) {
    auto it = std::find_if(list.begin(), list.end(), [id](const Timer& t) { return !t.hwnd && t.id == id; });
    if (it == list.end()) id = g_nextThreadTimer++;
  }
  for (Timer& t : list)
    if (t.hwnd == hwnd && t.id == id) {
      t.interval = elapse;
      t.proc = proc;
      t.due = NowMs() + elapse;
      return hwnd && id == 0 ? 1 : id;
    }
  list.push_back(Timer{hwnd, id, elapse, proc, NowMs() + elapse});
  return hwnd && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& list = timers();
  auto it =
      std::find_if(list.begin(), list.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == list.end()) return FALSE;
  list.erase(it);
  return TRUE;
}

// --- sending and posting ----------------------------------------------------

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallProc(hwnd, msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !IsWindow(hwnd)) return FALSE;
  PostQueued(hwnd, msg, wParam, lParam);
  return TRUE;
}

VOID PostQuitMessage(int exitCode) {
  queue().quit = true;
  queue().quitCode = exitCode;
}

// --- retrieval --------------------------------------------------------------

BOOL PeekMessageA(LPMSG out, HWND hwnd, UINT lo, UINT hi, UINT flags) {
  CurrentBackend().PumpEvents();
  auto& q = queue();
  const bool remove = (flags & PM_REMOVE) != 0;
  MSG m{};

  for (auto it = q.posted.begin(); it != q.posted.end();) {
    if (it->hwnd && !IsWindow(it->hwnd)) {
      it = q.posted.erase(it);
      continue;
    }
    if (MatchesFilter(it->hwnd, hwnd) && InRange(it->message, lo, hi)) {
      m = *it;
      if (remove) {
        q.posted.erase(it);
        NoteRetrieved(m);
      }
      q.lastTime = m.time;
      if (out) *out = m;
      return TRUE;
    }
    ++it;
  }

  if (q.quit && InRange(WM_QUIT, lo, hi) && !hwnd) {
    m = MSG{nullptr,         WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, static_cast<DWORD>(NowMs()),
            desktop().cursor};
    if (remove) q.quit = false;
    if (out) *out = m;
    return TRUE;
  }

  if (InRange(WM_PAINT, lo, hi))
    if (HWND p = FindWindowToPaint(hwnd)) {
      if (out) *out = MSG{p, WM_PAINT, 0, 0, static_cast<DWORD>(NowMs()), desktop().cursor};
      return TRUE;
    }

  if (InRange(WM_TIMER, lo, hi)) {
    std::uint64_t now = NowMs();
    Timer* pick = nullptr;
    for (Timer& t : timers()) {
      if (t.due > now || !MatchesFilter(t.hwnd, hwnd)) continue;
      if (!pick || t.due < pick->due) pick = &t;
    }
    if (pick) {
      m = MSG{
          pick->hwnd,      WM_TIMER, pick->id, reinterpret_cast<LPARAM>(pick->proc), static_cast<DWORD>(now),
          desktop().cursor};
      // Missed intervals are dropped: the next tick is one interval from
      // now, not from when this one was due.
      if (remove) pick->due = now + pick->interval;
      if (out) *out = m;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL GetMessageA(LPMSG out, HWND hwnd, UINT lo, UINT hi) {
  MSG m{};
  for (;;) {
    if (PeekMessageA(&m, hwnd, lo, hi, PM_REMOVE)) break;
    if (!WaitForWork()) {
      // Headless with nothing that could ever arrive: end the loop the way
      // the program would end, instead of spinning forever.
      PostQuitMessage(0);
    }
  }
  if (out) *out = m;
  return m.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage() {
  if (PeekMessageA(nullptr, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
  return WaitForWork() ? TRUE : FALSE;
}

DWORD GetMessageTime() { return queue().lastTime; }

BOOL InSendMessage() { return FALSE; }

// --- dispatch and translation -----------------------------------------------

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // The timer may have been killed since the message was taken.
    auto& list = timers();
    auto it = std::find_if(list.begin(), list.end(),
                           [msg](const Timer& t) { return t.hwnd == msg->hwnd && t.id == msg->wParam; });
    if (it == list.end()) return 0;
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  if (msg->message == WM_PAINT) {
    Window* w = FromHandle(msg->hwnd);
    if (!w) return 0;
    w->internalPaint = false;
    PrepareForPaint(msg->hwnd);
  }
  return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  // Printable characters come from the text input of the screen (which
  // knows the keyboard layout and the input method); keys whose character
  // is the same on every layout are translated here.
  WPARAM ch = 0;
  switch (msg->wParam) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
      ch = msg->wParam;
      break;
    default:
      if ((GetKeyState(VK_CONTROL) & 0x8000) && msg->wParam >= 'A' && msg->wParam <= 'Z')
        ch = msg->wParam - 'A' + 1;  // Ctrl+letter gives the control code
      break;
  }
  if (!ch) return FALSE;
  PostFront(msg->hwnd, WM_CHAR, ch, msg->lParam & 0x00FFFFFF);
  return TRUE;
}
