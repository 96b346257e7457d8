// Colour choice, the background command, saving, and the notice link.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/form1_fixture.h"
#include "app/form1_layout.h"
#include "patterns/random_source.h"
#include "support/bmp_reader.h"

namespace app {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/hwf_form1_XXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

TEST_F(Form1Test, ForegroundColourComesFromTheLastConfirmedColour) {
  Click("cmddan");  // cancelled: nothing confirmed yet
  EXPECT_EQ(form_->icolor(), 0);
  ASSERT_EQ(dialogs_.colourRequests.size(), 1u);
  EXPECT_EQ(dialogs_.colourRequests[0].flags, 0x6u);
  EXPECT_EQ(dialogs_.colourRequests[0].owner, form_->Hwnd());

  dialogs_.colours = {0x000000FF};
  Click("cmddan");
  EXPECT_EQ(form_->icolor(), 0x000000FF);
  Click("cmdpaint");
  int red = 0;
  for (std::uint32_t p : Pixels(Box("picpaint"))) red += p == 0xFF0000;
  EXPECT_GT(red, 100) << "the next pattern is drawn in red";

  // A green confirmed in the background dialog is what a cancelled
  // foreground dialog hands over.
  dialogs_.colours = {0x0000FF00, std::nullopt};
  Click("Command3");
  EXPECT_EQ(form_->icolor(), 0x000000FF) << "the background dialog's colour is applied to nothing";
  Click("cmddan");
  EXPECT_EQ(form_->icolor(), 0x0000FF00);
}

TEST_F(Form1Test, BackgroundCommandDrawsThreeRandomComponentsFirst) {
  // The stream's first three values, scaled by 235 and rounded half to even.
  patterns::Pcg32Random fresh;
  int c[3];
  for (int& v : c) v = static_cast<int>(std::nearbyint(static_cast<double>(fresh.Rnd()) * 235.0));
  const patterns::Colour want = c[0] + c[1] * 256 + c[2] * 65536;
  Click("cmdpaint");
  form_.reset();
  platform::testing::Reset();
  form_ = Make();
  Click("Command3");
  EXPECT_EQ(Box("picpaint").BackColor(), want);
  const std::uint32_t px = patterns::PixelFromColour(want);
  for (std::uint32_t p : Pixels(Box("picpaint"))) ASSERT_EQ(p, px) << "the canvas is erased to the colour";
  EXPECT_EQ(dialogs_.colourRequests.size(), 1u) << "then the colour dialog opens";
}

TEST_F(Form1Test, SaveWritesPicture1PixelForPixel) {
  TempDir dir;
  const std::string path = dir / "effect";  // no extension is added
  Click("cmdpaint");
  Click("Command2");
  dialogs_.paths = {path};
  Click("cmdsave");
  ASSERT_TRUE(reports_.empty()) << reports_[0];
  ASSERT_EQ(dialogs_.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs_.saveRequests[0].title, "保存");
  EXPECT_EQ(dialogs_.saveRequests[0].flags, 0x2006u);
  EXPECT_EQ(dialogs_.saveRequests[0].filter, std::string("BMP Files(*.bmp)\0*.bmp\0\0", 24));
  auto bmp = hwf::test::DecodeBmp24(hwf::test::ReadFileBytes(path));
  ASSERT_TRUE(bmp.has_value());
  ASSERT_EQ(bmp->width, 737);
  ASSERT_EQ(bmp->height, 709);
  runtime::PictureBox& p1 = Box("Picture1");
  int wrong = 0;
  for (int y = 0; y < 709; ++y)
    for (int x = 0; x < 737; ++x)
      wrong += bmp->pixels[static_cast<std::size_t>(y) * 737 + x] != p1.PixelAt(x, y);
  EXPECT_EQ(wrong, 0);

  // The next dialog starts from that name; a cancel writes nothing.
  Click("cmdpaint");
  Click("Command2");
  const auto saved = hwf::test::ReadFileBytes(path);
  Click("cmdsave");
  ASSERT_EQ(dialogs_.saveRequests.size(), 2u);
  EXPECT_EQ(dialogs_.saveRequests[1].file_name, path);
  EXPECT_EQ(hwf::test::ReadFileBytes(path), saved);
}

TEST_F(Form1Test, ASaveBeforeAnyEffectIsPlainBackground) {
  TempDir dir;
  dialogs_.paths = {dir / "plain.bmp"};
  Click("cmdsave");
  auto bmp = hwf::test::DecodeBmp24(hwf::test::ReadFileBytes(dir / "plain.bmp"));
  ASSERT_TRUE(bmp.has_value());
  for (std::uint32_t p : bmp->pixels) ASSERT_EQ(p, 0x8080FFu);  // 0x00FF8080 as a colour
}

TEST_F(Form1Test, AFailedSaveIsReportedWritesNothingAndGoesOn) {
  TempDir dir;
  const std::string path = dir / "missing/folder/x.bmp";
  dialogs_.paths = {path};
  Click("cmdsave");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("'76'"), std::string::npos) << reports_[0];
  EXPECT_NE(reports_[0].find(path), std::string::npos) << "the box names the path";
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::is_empty(dir.Path())) << "no partial file";
  Click("cmdpaint");
  EXPECT_EQ(reports_.size(), 1u);
}

// The notice label opens the maker's page with xdg-open, found on PATH.
class NoticeLinkTest : public Form1Test {
 protected:
  void SetUp() override {
    Form1Test::SetUp();
    const char* old = std::getenv("PATH");
    old_path_ = old ? old : "";
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    Form1Test::TearDown();
  }
  std::string old_path_;
};

TEST_F(NoticeLinkTest, ClickingTheNoticeRunsXdgOpenWithTheAddress) {
  TempDir dir;
  const std::string out = dir / "opened";
  {
    std::ofstream script(dir / "xdg-open");
    // The address arrives as one argument, untouched by any shell.
    script << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" << out << ".tmp' && mv '" << out << ".tmp' '"
           << out << "'\n";
  }
  chmod((dir / "xdg-open").c_str(), 0755);
  setenv("PATH", (dir.Path().string() + ":/usr/bin:/bin").c_str(), 1);
  ClickAt(POINT{816 + 10, 676 + 10});  // Label11
  for (int i = 0; i < 500 && !fs::exists(out); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(out);
  std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(got, "1|" + std::string(kMakerWebAddress));
  EXPECT_TRUE(reports_.empty());
}

TEST_F(NoticeLinkTest, WithoutXdgOpenNothingHappens) {
  TempDir dir;
  setenv("PATH", dir.Path().c_str(), 1);
  const auto r =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "https://x.example", "", "", SW_SHOW));
  EXPECT_LE(r, 32);
  ClickAt(POINT{816 + 10, 676 + 10});
  EXPECT_TRUE(reports_.empty()) << "a missing browser is a silent failure";
  EXPECT_LE(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "edit", "x", "", "", SW_SHOW)), 32);
  EXPECT_LE(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "", "", "", SW_SHOW)), 32);
}

}  // namespace
}  // namespace app
