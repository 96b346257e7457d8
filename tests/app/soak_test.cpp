// Soak: thousands of automatic ticks under virtual time, switching between
// the two modes and interleaved with hover fades on the push buttons. A long
// session must hold exactly the objects and window properties it held after
// start-up, and its heap may not creep.
#include <malloc.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/form1_fixture.h"
#include "patterns/random_source.h"
#include "platform/user/window.h"

#if defined(__SANITIZE_ADDRESS__)
#define HWF_SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HWF_SOAK_UNDER_ASAN 1
#endif
#endif
#ifdef HWF_SOAK_UNDER_ASAN
// From the sanitizer runtime; its header ships with clang only, not with gcc.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace app {
namespace {

namespace pt = platform::testing;
using platform::HandleKind;

// Every draw of the stream counted: a tick uses exactly ten.
class CountingRandom final : public patterns::RandomSource {
 public:
  float Rnd() override {
    ++draws;
    return inner_.Rnd();
  }
  std::uint64_t draws = 0;

 private:
  patterns::Pcg32Random inner_;
};

#ifdef HWF_SOAK_UNDER_ASAN
// The sanitizer build runs the same soak at a fifth of the length, which
// keeps it to a few minutes there.
constexpr int kTicks = 2000;
std::size_t HeapInUse() { return __sanitizer_get_current_allocated_bytes(); }
#else
constexpr int kTicks = 10000;
std::size_t HeapInUse() { return mallinfo2().uordblks; }
#endif
constexpr int kSwitchEvery = 250;  // ticks per automatic mode before switching
constexpr int kHoverEvery = 10;    // a hover fade every this many ticks
constexpr std::uint64_t kTickMs = 2000;
// A fade climbs 3 levels of 255 per tick of its 15 ms timer: 85 ticks, in or
// out. Time moves in steps of 16 ms, each delivering one fade tick, because
// 16 divides the interval: the mode's tick is then delivered on time, not a
// step late, and its next one stays on the interval grid.
constexpr std::uint64_t kFadeStepMs = 16;
constexpr int kFadeSteps = 90;
// A hover (in and out, 2880 ms) spans two intervals, so two ticks fall in it.
constexpr int kTicksPerHover = 2;

// The push buttons the mouse can reach (cmdexit lies under Picture1).
constexpr std::array<const char*, 9> kButtons{"cmdpaint", "Command1", "Command2", "cmdsave", "cmddan",
                                              "Command3", "Command4", "Command5", "Command6"};

class SoakTest : public Form1Test {
 protected:
  void SetUp() override {
    Form1Test::SetUp();
    // A form of our own, on a stream whose draws are counted.
    form_.reset();
    pt::Reset();
    form_ = std::make_unique<Form1>(
        Form1Options{.rnd = &rnd_,
                     .clock = [] { return patterns::LocalDateTime{2026, 12, 7, 14, 3, 5}; },
                     .dialogs = &dialogs_});
    form_->Form().SetQuitOnDestroy(false);
    form_->LoadAndShow();
    pt::PumpMessages();
  }

  std::vector<HWND> Windows() const {
    std::vector<HWND> out{form_->Hwnd()};
    EnumChildWindows(
        form_->Hwnd(),
        [](HWND h, LPARAM p) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
  }

  std::map<HWND, std::size_t> PropertyCounts() const {
    std::map<HWND, std::size_t> out;
    for (HWND h : Windows()) out[h] = platform::user::FromHandle(h)->props.size();
    return out;
  }

  static std::array<std::size_t, static_cast<std::size_t>(HandleKind::Count)> LiveCounts() {
    std::array<std::size_t, static_cast<std::size_t>(HandleKind::Count)> c{};
    for (std::size_t k = 1; k < c.size(); ++k) c[k] = pt::LiveObjects(static_cast<HandleKind>(k));
    return c;
  }

  POINT CentreOf(const char* control) const {
    RECT r;
    GetWindowRect(form_->Form().ControlHwnd(control), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  // What the button shows on screen right now.
  std::vector<COLORREF> Face(const char* control) const {
    RECT r;
    GetWindowRect(form_->Form().ControlHwnd(control), &r);
    std::vector<COLORREF> px;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) px.push_back(pt::ScreenPixel(x, y));
    return px;
  }

  // Onto the button, through the fade in, off again and through the fade
  // out. Returns whether the hover showed a face other than the resting one,
  // and how much time it took.
  bool Hover(const char* control, std::uint64_t& spent) {
    const std::vector<COLORREF> resting = Face(control);
    const POINT p = CentreOf(control);
    pt::MouseMove(p.x, p.y);
    pt::PumpMessages();
    for (int i = 0; i < kFadeSteps; ++i) Advance(kFadeStepMs);
    const bool changed = Face(control) != resting;
    pt::MouseMove(kOffButton.x, kOffButton.y);
    pt::PumpMessages();
    for (int i = 0; i < kFadeSteps; ++i) Advance(kFadeStepMs);
    spent = 2 * kFadeSteps * kFadeStepMs;
    return changed;
  }

  // A point on the window's background, beside Frame1 and below picpaint's
  // edge: no control and no label there.
  static constexpr POINT kOffButton{5, 5};

  CountingRandom rnd_;
};

TEST_F(SoakTest, TenThousandTicksLeaveObjectsPropertiesAndHeapAsAfterStartUp) {
  // Fades run where the mouse is; begin with it away from every control.
  pt::MouseMove(kOffButton.x, kOffButton.y);
  Advance(1000);
  const auto objects = LiveCounts();
  const auto properties = PropertyCounts();
  const std::size_t heap = HeapInUse();
  const std::size_t timers = pt::PendingTimers();

  int hovers = 0, faded = 0, switches = 0;
  for (int tick = 0; tick < kTicks;) {
    // Each round starts on an interval boundary, so a switch's first tick
    // comes exactly one interval later, like every later one.
    if (tick / kSwitchEvery >= switches) {
      // The click itself is a press fade; the mouse then leaves the button.
      Click(switches++ % 2 == 0 ? "Command4" : "Command5");
      pt::MouseMove(kOffButton.x, kOffButton.y);
      pt::PumpMessages();
    }
    std::uint64_t used = 0;
    int intervals = 1;
    if (tick % kHoverEvery == 0 && tick + kTicksPerHover <= kTicks) {
      ++hovers;
      faded += Hover(kButtons[static_cast<std::size_t>(hovers) % kButtons.size()], used);
      intervals = kTicksPerHover;
    }
    // The rest of the round: exactly `intervals` ticks fall due in it.
    Advance(intervals * kTickMs - used);
    tick += intervals;
  }
  Click("Command6");
  pt::MouseMove(kOffButton.x, kOffButton.y);
  // A late fade timer yields one step, not the steps it missed: walk it out.
  for (int i = 0; i < kFadeSteps; ++i) Advance(kFadeStepMs);

  ASSERT_TRUE(reports_.empty()) << reports_.front();
  EXPECT_EQ(rnd_.draws, 10u * kTicks) << "every interval drew one pattern of ten random values";
  EXPECT_EQ(faded, hovers) << "every hover showed the hover face";
  EXPECT_EQ(pt::PendingTimers(), timers) << "no fade or mode timer left running";

  const auto objects_after = LiveCounts();
  for (std::size_t k = 1; k < objects.size(); ++k)
    EXPECT_EQ(objects_after[k], objects[k]) << "live objects of handle kind " << k;
  EXPECT_EQ(PropertyCounts(), properties) << "window properties per window";
  const std::size_t heap_after = HeapInUse();
  EXPECT_LT(heap_after, heap + 1024 * 1024) << "heap grew from " << heap << " to " << heap_after << " bytes";
}

}  // namespace
}  // namespace app
