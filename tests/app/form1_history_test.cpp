// 上一个图案 and 下一个图案 in the window: five patterns made by clicks, a
// colour, a tick and a new background, stepped back and forth with the
// accelerators and the menu, against what the window showed when each was
// made; the random stream untouched; an automatic mode stopped by a step.
#include "app/form1_fixture.h"

namespace app {
namespace {

struct Shown {
  std::vector<std::uint32_t> canvas, effect, tile;
  patterns::Colour icolor = 0, background = 0;
};

class Form1HistoryTest : public Form1Test {
 protected:
  Shown Now() {
    return Shown{Pixels(Box("picpaint")), Pixels(Box("Picture1")), Pixels(Box("Picture2")), form_->icolor(),
                 Box("picpaint").BackColor()};
  }
  void ExpectShows(const Shown& want, const char* what) {
    const Shown now = Now();
    EXPECT_TRUE(now.canvas == want.canvas) << what << ": canvas";
    EXPECT_TRUE(now.effect == want.effect) << what << ": effect picture";
    EXPECT_TRUE(now.tile == want.canvas) << what << ": the tile buffer holds the pattern";
    EXPECT_EQ(now.icolor, want.icolor) << what;
    EXPECT_EQ(now.background, want.background) << what;
  }

  // 1: 画图1. 2: red lines, 画图1, 效果图. 3: a tick of 自动图1, then stopped.
  // 4: 画图1 in the tick's colours. 5: 背景色, then 画图1.
  std::vector<Shown> DrawFive() {
    std::vector<Shown> after;
    Click("cmdpaint");
    after.push_back(Now());
    dialogs_.colours.push_back(0x000000FF);
    Click("cmddan");
    Click("cmdpaint");
    Click("Command2");
    after.push_back(Now());
    Click("Command4");
    Advance(2000);
    Click("Command6");
    after.push_back(Now());
    Click("cmdpaint");
    after.push_back(Now());
    dialogs_.colours.push_back(std::nullopt);
    Click("Command3");
    Click("cmdpaint");
    after.push_back(Now());
    return after;
  }
};

TEST_F(Form1HistoryTest, BackThreeForwardOneShowsTheThirdPatternAsItWasMade) {
  const std::vector<Shown> after = DrawFive();
  ASSERT_EQ(form_->History().Size(), 5u);
  EXPECT_NE(after[2].icolor, after[1].icolor) << "the tick chose its own colours";
  EXPECT_TRUE(after[3].effect == after[2].effect) << "画图1 leaves the tick's effect picture";
  EXPECT_NE(after[0].effect, after[1].effect);

  Chord(VK_MENU, VK_LEFT);
  ExpectShows(after[3], "back one");
  Chord(VK_MENU, VK_LEFT);
  ExpectShows(after[2], "back two");
  form_->mnuPrevious_Click();
  ExpectShows(after[1], "back three");
  Chord(VK_MENU, VK_RIGHT);
  ExpectShows(after[2], "forward one: the third pattern");
  EXPECT_EQ(form_->History().Position(), 2u);

  form_->mnuPrevious_Click();
  form_->mnuPrevious_Click();
  ExpectShows(after[0], "the first, before any effect picture");
  Chord(VK_MENU, VK_LEFT);
  ExpectShows(after[0], "nothing before the first");
  for (int i = 0; i < 4; ++i) Chord(VK_MENU, VK_RIGHT);
  ExpectShows(after[4], "the last again");
  EXPECT_EQ(form_->History().Size(), 5u) << "stepping adds nothing";
}

TEST_F(Form1HistoryTest, TheStreamIsUntouchedAndANewPatternGoesToTheEnd) {
  DrawFive();
  Click("cmdpaint");
  const patterns::PatternCode sixth = *form_->CurrentPatternCode();
  const std::vector<std::uint32_t> sixthCanvas = Pixels(Box("picpaint"));

  form_.reset();
  platform::testing::Reset();
  form_ = Make();
  DrawFive();
  for (int i = 0; i < 3; ++i) Chord(VK_MENU, VK_LEFT);
  Chord(VK_MENU, VK_RIGHT);
  const patterns::PatternCode third = form_->History().At(2).code;
  Click("cmdpaint");
  const patterns::PatternCode drawn = *form_->CurrentPatternCode();
  EXPECT_EQ(drawn.randoms, sixth.randoms) << "what it would have drawn without the stepping";
  EXPECT_EQ(drawn.line, third.line) << "in the colours of the pattern stepped to";
  EXPECT_EQ(drawn.background, third.background);
  ASSERT_EQ(form_->History().Size(), 6u);
  EXPECT_EQ(form_->History().Position(), 5u);
  EXPECT_TRUE(form_->History().At(5).code.SameAs(drawn));

  // Back at the fifth, the same click draws the very same pixels.
  form_.reset();
  platform::testing::Reset();
  form_ = Make();
  DrawFive();
  Chord(VK_MENU, VK_LEFT);
  Chord(VK_MENU, VK_RIGHT);
  Click("cmdpaint");
  EXPECT_TRUE(form_->CurrentPatternCode()->SameAs(sixth));
  EXPECT_TRUE(Pixels(Box("picpaint")) == sixthCanvas);
}

TEST_F(Form1HistoryTest, CreditLinesAsideAnEffectPictureComesBackAsItsTiles) {
  Click("cmdpaint");
  Click("Command2");
  const std::vector<std::uint32_t> clean = Pixels(Box("Picture1"));
  Click("Command2");  // the credit line now shows in every tile
  EXPECT_NE(Pixels(Box("Picture1")), clean);
  Click("cmdpaint");
  form_->mnuPrevious_Click();
  EXPECT_TRUE(Pixels(Box("Picture1")) == clean);

  // 效果图 after stepping shows the pattern stepped to, and stays with it.
  form_->mnuNext_Click();
  Click("Command2");
  const std::vector<std::uint32_t> second = Pixels(Box("Picture1"));
  form_->mnuPrevious_Click();
  form_->mnuNext_Click();
  EXPECT_TRUE(Pixels(Box("Picture1")) == second);
  int wrong = 0;
  for (int y = 0; y < 709; y += 3)
    for (int x = 0; x < 737; x += 3)
      wrong += second[y * 737 + x] != Box("picpaint").PixelAt(x % 201, y % 201);
  EXPECT_EQ(wrong, 0) << "the tiles are the second pattern's";
}

TEST_F(Form1HistoryTest, SteppingStopsARunningModeSoThePatternStays) {
  Click("Command4");
  Advance(2000);
  const std::vector<std::uint32_t> firstTick = Pixels(Box("picpaint"));
  Advance(2000);
  ASSERT_EQ(form_->History().Size(), 2u);
  Chord(VK_MENU, VK_LEFT);
  EXPECT_FALSE(form_->Form().TimerNamed("Timer1")->Enabled());
  EXPECT_FALSE(form_->Form().TimerNamed("Timer2")->Enabled());
  Advance(4000);
  EXPECT_TRUE(Pixels(Box("picpaint")) == firstTick);
  EXPECT_EQ(form_->History().Size(), 2u);

  // Where there is nothing to step to, nothing happens, not even a stop.
  Click("Command5");
  Advance(2000);
  ASSERT_EQ(form_->History().Size(), 3u);
  Chord(VK_MENU, VK_RIGHT);
  EXPECT_TRUE(form_->Form().TimerNamed("Timer2")->Enabled());
}

TEST_F(Form1HistoryTest, AFailedPatternAddsNothingAndTheLimitIs500) {
  Click("cmdpaint");
  SetAmplitude("abc");
  Click("cmdpaint");
  EXPECT_EQ(reports_.size(), 1u);
  EXPECT_EQ(form_->History().Size(), 1u);
  SetAmplitude("80");
  for (int i = 0; i < 500; ++i) form_->cmdpaint_Click();
  EXPECT_EQ(form_->History().Size(), 500u);
  EXPECT_EQ(form_->History().Position(), 499u);
  EXPECT_TRUE(form_->History().At(499).code.SameAs(*form_->CurrentPatternCode()));
}

}  // namespace
}  // namespace app
