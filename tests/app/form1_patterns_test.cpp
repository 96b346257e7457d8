// Form1's pattern commands through real clicks: the first pattern of a run,
// the tiled effect picture, the credit line, the automatic modes under
// virtual time and a tick that fails.
#include <cmath>

#include "app/form1_fixture.h"

namespace app {
namespace {

TEST_F(Form1Test, TheFirstPatternIsTheSameInEveryRun) {
  Click("cmdpaint");
  const auto first = Pixels(Box("picpaint"));
  EXPECT_EQ(Pixels(Box("Picture2")), first) << "the tile buffer holds a copy of the canvas";
  int drawn = 0;
  for (std::uint32_t p : first) drawn += p != 0x80FF80;
  EXPECT_GT(drawn, 200) << "a pattern was drawn";

  // A fresh window, as at the start of another run.
  form_.reset();
  platform::testing::Reset();
  form_ = Make();
  Click("cmdpaint");
  EXPECT_EQ(Pixels(Box("picpaint")), first);
  Click("cmdpaint");
  EXPECT_NE(Pixels(Box("picpaint")), first) << "the second click draws the next pattern";
}

TEST_F(Form1Test, EffectPictureRepeatsTheTileEvery201Pixels) {
  Click("cmdpaint");
  const patterns::Picture tile = Box("picpaint").Image();
  Click("Command2");
  runtime::PictureBox& p1 = Box("Picture1");
  int wrong = 0;
  for (int y = 0; y < 709; ++y)
    for (int x = 0; x < 737; ++x) wrong += p1.PixelAt(x, y) != tile.PixelAt(x % 201, y % 201);
  EXPECT_EQ(wrong, 0);
  // Picture3 keeps the tile at its top-left corner.
  runtime::PictureBox& p3 = Box("Picture3");
  for (int y = 0; y < 201; y += 7)
    for (int x = 0; x < 201; x += 7) ASSERT_EQ(p3.PixelAt(x, y), tile.PixelAt(x, y)) << x << "," << y;
}

TEST_F(Form1Test, TheCreditLineShowsInTheNextEffectPicture) {
  Click("cmdpaint");
  const auto canvas = Pixels(Box("picpaint"));
  Click("Command2");
  runtime::PictureBox& p2 = Box("Picture2");
  const double line = p2.CurrentY() / 15.0;  // one text line, in pixels
  ASSERT_GT(line, 5.0);
  const auto withCredit = Pixels(p2);
  int inLine = 0, below = 0;
  for (std::size_t i = 0; i < canvas.size(); ++i) {
    if (canvas[i] == withCredit[i]) continue;
    (static_cast<double>(i / 201) < line ? inLine : below)++;
  }
  EXPECT_GT(inLine, 20) << "the credit line is printed at the top of the tile buffer";
  EXPECT_EQ(below, 0);

  Click("Command2");
  runtime::PictureBox& p1 = Box("Picture1");
  int wrong = 0;
  for (int y = 0; y < 709; ++y)
    for (int x = 0; x < 737; ++x) wrong += p1.PixelAt(x, y) != withCredit[(y % 201) * 201 + x % 201];
  EXPECT_EQ(wrong, 0) << "every tile carries the first credit line";
  EXPECT_DOUBLE_EQ(p2.CurrentY() / 15.0, 2 * line) << "the next line goes one line lower";
}

TEST_F(Form1Test, SwitchesRunAtMostOneMode) {
  runtime::Timer& t1 = *form_->Form().TimerNamed("Timer1");
  runtime::Timer& t2 = *form_->Form().TimerNamed("Timer2");
  EXPECT_FALSE(t1.Enabled());
  EXPECT_FALSE(t2.Enabled());
  Click("Command4");
  EXPECT_TRUE(t1.Enabled());
  EXPECT_FALSE(t2.Enabled());
  Click("Command4");
  EXPECT_TRUE(t1.Enabled());
  // A clicked button fades back to its face on a timer of its own, step by step for under 1.3 s,
  // short of the modes' 2 s: once those have run out, the modes' timers are all that is left.
  auto fadesRunOut = [&] {
    for (int i = 0; i < 90; ++i) Advance(15);
  };
  fadesRunOut();
  EXPECT_EQ(platform::testing::PendingTimers(), 1u) << "a second start makes no second timer";
  Click("Command5");
  EXPECT_FALSE(t1.Enabled());
  EXPECT_TRUE(t2.Enabled());
  fadesRunOut();
  EXPECT_EQ(platform::testing::PendingTimers(), 1u);
  Click("Command6");
  EXPECT_FALSE(t1.Enabled());
  EXPECT_FALSE(t2.Enabled());
  fadesRunOut();
  EXPECT_EQ(platform::testing::PendingTimers(), 0u);
  Click("Command6");
  EXPECT_FALSE(t1.Enabled() || t2.Enabled());
}

TEST_F(Form1Test, AModeDrawsANewDesignEveryTwoSeconds) {
  const auto start = Pixels(Box("picpaint"));
  Click("Command4");
  Advance(1999);
  EXPECT_EQ(Pixels(Box("picpaint")), start) << "the first tick comes one full interval later";
  Advance(1);
  const auto first = Pixels(Box("picpaint"));
  EXPECT_NE(first, start);
  const patterns::Colour c = form_->icolor();
  EXPECT_LE(c & 0xFF, 235);
  EXPECT_LE((c >> 8) & 0xFF, 235);
  EXPECT_LE((c >> 16) & 0xFF, 235);
  // The effect picture was rebuilt from this tick's pattern.
  EXPECT_EQ(Box("Picture1").PixelAt(201 + 100, 100), Box("picpaint").PixelAt(100, 100));
  EXPECT_EQ(Box("Picture1").PixelAt(0, 0), Box("Picture3").PixelAt(0, 0));
  Advance(2000);
  EXPECT_NE(Pixels(Box("picpaint")), first);
  // Mode 2 takes over; mode 1 draws no more.
  Click("Command5");
  const auto switched = Pixels(Box("picpaint"));
  Advance(1999);
  EXPECT_EQ(Pixels(Box("picpaint")), switched);
  Advance(1);
  EXPECT_NE(Pixels(Box("picpaint")), switched);
  Click("Command6");
  const auto stopped = Pixels(Box("picpaint"));
  Advance(10000);
  EXPECT_EQ(Pixels(Box("picpaint")), stopped);
  EXPECT_TRUE(reports_.empty());
}

// Clicks the switches at the given times (ms from the first click) and returns the times at
// which picpaint showed a new pattern, watched in 100 ms steps up to `until`.
struct TimedClick {
  int at;
  const char* button;
};
class AutoRhythmTest : public Form1Test {
 protected:
  std::vector<int> TickTimes(const std::vector<TimedClick>& clicks, int until) {
    std::vector<int> ticks;
    auto last = Pixels(Box("picpaint"));
    std::size_t next = 0;
    for (int now = 0; now <= until; now += 100) {
      if (now > 0) Advance(100);
      const auto shown = Pixels(Box("picpaint"));
      if (shown != last) ticks.push_back(now);
      last = shown;
      for (; next < clicks.size() && clicks[next].at == now; ++next) Click(clicks[next].button);
    }
    return ticks;
  }
};

TEST_F(AutoRhythmTest, ASecondClickOnARunningModeKeepsItsRhythm) {
  EXPECT_EQ(TickTimes({{0, "Command4"}, {1500, "Command4"}}, 4500), (std::vector<int>{2000, 4000}));
}

TEST_F(AutoRhythmTest, ClickingEverySecondStillDrawsEveryTwoSeconds) {
  std::vector<TimedClick> clicks;
  for (int t = 0; t < 10000; t += 1000) clicks.push_back({t, "Command4"});
  EXPECT_EQ(TickTimes(clicks, 10000), (std::vector<int>{2000, 4000, 6000, 8000, 10000}));
}

TEST_F(AutoRhythmTest, SwitchingModesStartsTheNewModeFresh) {
  EXPECT_EQ(TickTimes({{0, "Command5"}, {1500, "Command4"}}, 5500), (std::vector<int>{3500, 5500}));
  EXPECT_TRUE(reports_.empty());
}

TEST_F(Form1Test, AFailedTickStopsItsModeBeforeTheMessageShows) {
  bool enabledDuringReport = true;
  on_report_ = [&] { enabledDuringReport = form_->Form().TimerNamed("Timer2")->Enabled(); };
  SetAmplitude("abc");
  Click("Command5");
  const auto before = Pixels(Box("Picture2"));
  Advance(2000);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("'13'"), std::string::npos) << reports_[0];
  EXPECT_FALSE(enabledDuringReport);
  EXPECT_EQ(Pixels(Box("Picture2")), before) << "the failed pattern leaves the tile alone";
  Advance(10000);
  EXPECT_EQ(reports_.size(), 1u) << "no failing tick every two seconds";
  // The program goes on.
  SetAmplitude(" 80 ");
  Click("cmdpaint");
  EXPECT_EQ(reports_.size(), 1u);
  EXPECT_NE(Pixels(Box("Picture2")), before);
}

TEST_F(Form1Test, AFailedClickIsReportedAndLeavesTheTile) {
  Click("cmdpaint");
  const auto tile = Pixels(Box("Picture2"));
  SetAmplitude("");
  Click("Command1");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(Pixels(Box("Picture2")), tile);
  SetAmplitude("1e39");  // beyond the single range
  Click("cmdpaint");
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_NE(reports_[1].find("'6'"), std::string::npos) << reports_[1];
}

}  // namespace
}  // namespace app
