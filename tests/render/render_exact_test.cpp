// The exact mode against the window itself: the headless main window draws
// by clicks and by ticks, and the render command draws the same codes; the
// vector file, drawn back at the canvas's size, lies on the canvas's ink.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/form1_fixture.h"
#include "export/pattern_file.h"
#include "render/batch.h"
#include "render/exact_canvas.h"
#include "render/render_command.h"
#include "support/png_reader.h"
#include "support/tool_run.h"

namespace app {
namespace {

using hwf::test::DecodePng;

std::vector<std::uint32_t> PicturePixels(const patterns::Picture& p) {
  return {p.Pixels().begin(), p.Pixels().end()};
}

class ExactTest : public Form1Test {
 protected:
  void TearDown() override {
    exact_.reset();
    Form1Test::TearDown();
  }
  render::ExactCanvas& Exact() {
    if (!exact_) exact_ = std::make_unique<render::ExactCanvas>();
    return *exact_;
  }
  void ExpectCanvasIs(const patterns::PatternCode& code, const std::string& what) {
    const auto current = form_->CurrentPatternCode();
    ASSERT_TRUE(current.has_value()) << what;
    EXPECT_TRUE(current->SameAs(code)) << what << ": the window drew " << patterns::WritePatternCode(*current)
                                       << ", expected " << patterns::WritePatternCode(code);
    EXPECT_EQ(PicturePixels(Exact().Draw(code)), FormPixels(Box("picpaint"))) << what;
  }
  static std::vector<std::uint32_t> FormPixels(runtime::PictureBox& b) { return Form1Test::Pixels(b); }

  std::unique_ptr<render::ExactCanvas> exact_;
};

TEST_F(ExactTest, EqualsTheCanvasAfterEachDrawingWhateverItsAmplitude) {
  for (const char* amplitude : {"80", "120", "-64", "7200"}) {
    SetAmplitude(amplitude);
    for (const char* button : {"cmdpaint", "Command1"}) {
      Click(button);
      const auto code = form_->CurrentPatternCode();
      ASSERT_TRUE(code.has_value());
      EXPECT_EQ(code->drawing, std::string(button) == "cmdpaint" ? 1 : 2);
      EXPECT_EQ(PicturePixels(Exact().Draw(*code)), FormPixels(Box("picpaint")))
          << button << " at " << amplitude;
    }
  }
}

TEST_F(ExactTest, EqualsTheCanvasAfterEachTickOfBothAutomaticModes) {
  // The window's own start, as render's default seed is.
  const render::Batch mode1 = render::PlanBatch(render::RenderOptions{.count = 3});
  Click("Command4");  // 自动图1
  for (std::uint64_t i = 0; i < 3; ++i) {
    Advance(2000);
    ExpectCanvasIs(mode1.PatternAt(i), "自动图1 tick " + std::to_string(i + 1));
  }
  // 自动图2 continues the same stream, three ticks in.
  const render::Batch mode2 = render::PlanBatch(render::RenderOptions{.kind = 2, .count = 2, .skip = 3});
  SetAmplitude("120");
  const render::Batch mode2at120 =
      render::PlanBatch(render::RenderOptions{.kind = 2, .amplitude = "120", .count = 2, .skip = 3});
  Click("Command5");
  Advance(2000);
  ExpectCanvasIs(mode2at120.PatternAt(0), "自动图2 tick 1");
  EXPECT_FALSE(form_->CurrentPatternCode()->SameAs(mode2.PatternAt(0)))
      << "the amplitude is part of the code";
  Advance(2000);
  ExpectCanvasIs(mode2at120.PatternAt(1), "自动图2 tick 2");
}

TEST_F(ExactTest, TheCommandsFirstExactPatternIsTheFirstTickOfAFreshWindow) {
  char tmpl[] = "/tmp/hwf-exact-test.XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  std::ostringstream out, err;
  ASSERT_EQ(render::RunRenderCommand({"--count", "1", "--exact", "-o", dir + "/first.png"}, out, err, false),
            0)
      << err.str();
  const auto png = DecodePng(hwf::test::ReadFile(dir + "/first.png"));
  std::system(("rm -rf '" + dir + "'").c_str());

  Click("Command4");
  Advance(2000);
  ASSERT_EQ(png.width, 201);
  ASSERT_EQ(png.height, 201);
  EXPECT_EQ(png.pixels, FormPixels(Box("picpaint")));
}

// Pixels within one pixel of a marked pixel of `mask`.
std::vector<bool> Grown(const std::vector<bool>& mask, int w) {
  std::vector<bool> out(mask.size());
  const int h = static_cast<int>(mask.size()) / w;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int dy = -1; dy <= 1 && !out[y * w + x]; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < w && ny < h && mask[ny * w + nx]) {
            out[y * w + x] = true;
            break;
          }
        }
  return out;
}

int Distance(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift : {0, 8, 16})
    d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return d;
}

TEST_F(ExactTest, TheSvgDrawnBackAtTheCanvasSizeLiesOnTheCanvasInk) {
  if (!hwf::test::HaveTool("rsvg-convert")) GTEST_SKIP() << "rsvg-convert (librsvg2-bin) missing";
  char tmpl[] = "/tmp/hwf-svg-test.XXXXXX";
  const std::string dir = ::mkdtemp(tmpl);
  const std::string svg = dir + "/t.svg";
  int checked = 0;
  for (int drawing : {1, 2}) {
    for (const char* amplitude : {"80", "120"}) {
      const render::Batch b = render::PlanBatch(render::RenderOptions{
          .kind = static_cast<std::uint64_t>(drawing), .amplitude = amplitude, .count = 4});
      for (std::uint64_t i = 0; i < 4; ++i) {
        const patterns::PatternCode code = b.PatternAt(i);
        const auto exact = PicturePixels(Exact().Draw(code));
        const std::uint32_t back = patterns::PixelFromColour(code.background);
        const std::uint32_t line = patterns::PixelFromColour(code.line);
        // Lines hardly distinguishable from their background are no test.
        if (Distance(line, back) < 64) continue;

        exporter::MemorySink sink;
        exporter::WritePattern(code, {.format = exporter::Format::kSvg, .size = 2048, .repeat = 1}, sink);
        std::ofstream(svg, std::ios::binary)
            .write(reinterpret_cast<const char*>(sink.bytes.data()), sink.bytes.size());
        int status = 0;
        const std::string png = hwf::test::RunTool("rsvg-convert -w 201 -h 201 '" + svg + "'", &status);
        ASSERT_EQ(status, 0);
        const auto drawn = DecodePng(std::vector<std::uint8_t>(png.begin(), png.end()));
        ASSERT_EQ(drawn.width, 201);

        std::vector<bool> exactInk(exact.size());
        for (std::size_t p = 0; p < exact.size(); ++p) exactInk[p] = exact[p] != back;
        const auto near = Grown(exactInk, 201);
        int ink = 0, onInk = 0;
        for (std::size_t p = 0; p < exact.size(); ++p) {
          // Ink: at least a quarter of the way from the background to the line.
          if (Distance(drawn.pixels[p], back) * 4 < Distance(line, back)) continue;
          ++ink;
          onInk += near[p];
        }
        ASSERT_GT(ink, 300) << patterns::WritePatternCode(code);
        EXPECT_GE(onInk, ink * 9 / 10) << patterns::WritePatternCode(code) << ": " << onInk << " of " << ink;
        ++checked;
      }
    }
  }
  std::system(("rm -rf '" + dir + "'").c_str());
  EXPECT_GE(checked, 8);
}

}  // namespace
}  // namespace app
