// 导出高清图案… and 导出四方连续图… against `huiwenfang render --code`: the
// same bytes for the same type and size (the sheet and the fourth type
// seamless); what the save dialog is asked; the
// type taken from the dialog or the name; failures reported with no file
// left behind.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/form1_fixture.h"
#include "render/render_command.h"

namespace app {
namespace {

namespace fs = std::filesystem;

std::vector<char> Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Form1ExportTest : public Form1Test {
 protected:
  void SetUp() override {
    Form1Test::SetUp();
    char tmpl[] = "/tmp/hwf-export-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
    Form1Test::TearDown();
  }

  // What `huiwenfang render --code CODE args... -o file` writes.
  std::vector<char> Rendered(const std::string& code, std::vector<std::string> args) {
    const fs::path out = dir_ / "reference";
    args.insert(args.begin(), {"--code", code});
    args.insert(args.end(), {"-o", out.string()});
    std::ostringstream o, e;
    EXPECT_EQ(render::RunRenderCommand(args, o, e, false), 0) << e.str();
    std::vector<char> bytes = Bytes(out);
    fs::remove(out);
    return bytes;
  }
  std::vector<fs::path> Files() const {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename());
    return out;
  }

  fs::path dir_;
};

TEST_F(Form1ExportTest, TheFilesAreTheBytesRenderWritesForTheSameTypeAndSize) {
  Click("cmdpaint");
  const std::string code = patterns::WritePatternCode(*form_->CurrentPatternCode());

  dialogs_.paths = {(dir_ / "tile.png").string()};
  form_->mnuExportTile_Click();
  ASSERT_EQ(dialogs_.saveRequests.size(), 1u);
  const runtime::SaveDialogRequest& asked = dialogs_.saveRequests[0];
  EXPECT_EQ(asked.title, "导出高清图案");
  std::string filter;
  for (const char* part : {"PNG 图像 4096×4096 (*.png)", "*.png", "SVG 矢量图 (*.svg)", "*.svg",
                           "PDF 矢量图 (*.pdf)", "*.pdf", "PNG 无缝图块 4096×4096 (*.png)", "*.png", ""})
    filter.append(part).push_back('\0');
  EXPECT_EQ(asked.filter, filter);
  EXPECT_EQ(asked.file_name, code) << "named by the pattern's code";
  EXPECT_EQ(asked.filter_index, 1);
  EXPECT_EQ(asked.default_ext, "png") << "a name without an extension gets the chosen type's";
  EXPECT_EQ(asked.flags, 0x6u) << "overwrite prompt, no read-only box";
  EXPECT_TRUE(Bytes(dir_ / "tile.png") == Rendered(code, {"--size", "4096"}));

  // The sheet as SVG, the type chosen in the dialog: 4 x 4 seamless tiles in
  // the same 4096.
  dialogs_.paths = {(dir_ / "sheet").string()};
  dialogs_.filterIndices = {2};
  form_->mnuExportSheet_Click();
  ASSERT_EQ(dialogs_.saveRequests.size(), 2u);
  EXPECT_EQ(dialogs_.saveRequests[1].title, "导出四方连续图");
  EXPECT_EQ(dialogs_.saveRequests[1].file_name, (dir_ / code).string()) << "in the folder of the last export";
  EXPECT_TRUE(Bytes(dir_ / "sheet") ==
              Rendered(code, {"--format", "svg", "--size", "1024", "--repeat", "4", "--seamless"}));

  // A name ending in another type's extension wins over the type shown.
  dialogs_.paths = {(dir_ / "tile.PDF").string()};
  form_->mnuExportTile_Click();
  EXPECT_EQ(dialogs_.saveRequests[2].filter_index, 2) << "the last type chosen is offered again";
  EXPECT_TRUE(Bytes(dir_ / "tile.PDF") == Rendered(code, {"--format", "pdf", "--size", "4096"}));
  EXPECT_TRUE(reports_.empty());
}

TEST_F(Form1ExportTest, ThePatternInTheTileBufferIsWrittenEvenAfterATickOrAStep) {
  Click("cmdpaint");
  Click("cmdpaint");
  form_->mnuPrevious_Click();
  const std::string first = patterns::WritePatternCode(form_->History().At(0).code);
  dialogs_.paths = {(dir_ / "sheet.png").string()};
  form_->mnuExportSheet_Click();
  EXPECT_EQ(dialogs_.saveRequests.back().file_name, first);
  EXPECT_TRUE(Bytes(dir_ / "sheet.png") ==
              Rendered(first, {"--size", "1024", "--repeat", "4", "--seamless"}));
}

TEST_F(Form1ExportTest, TheFourthTypeIsTheSeamlessTile) {
  SetAmplitude("2012");  // curves far past the tile, so seamless and ordinary differ
  Click("cmdpaint");
  const std::string code = patterns::WritePatternCode(*form_->CurrentPatternCode());
  dialogs_.paths = {(dir_ / "tile.png").string()};
  dialogs_.filterIndices = {4};
  form_->mnuExportTile_Click();
  const std::vector<char> seamless = Bytes(dir_ / "tile.png");
  EXPECT_TRUE(seamless == Rendered(code, {"--size", "4096", "--seamless"}));
  EXPECT_FALSE(seamless == Rendered(code, {"--size", "4096"}));

  // The sheet of the fourth type: the same seamless copies as the first.
  dialogs_.paths = {(dir_ / "sheet.png").string()};
  dialogs_.filterIndices = {4};
  form_->mnuExportSheet_Click();
  EXPECT_TRUE(Bytes(dir_ / "sheet.png") == Rendered(code, {"--size", "1024", "--repeat", "4", "--seamless"}));

  // A name ending in another type's extension still wins.
  dialogs_.paths = {(dir_ / "tile.svg").string()};
  dialogs_.filterIndices = {4};
  form_->mnuExportTile_Click();
  EXPECT_TRUE(Bytes(dir_ / "tile.svg") == Rendered(code, {"--format", "svg", "--size", "4096"}));
  EXPECT_TRUE(reports_.empty());
}

TEST_F(Form1ExportTest, ASheetTooWideToWrapIsReportedAndLeavesNoFile) {
  // The canvas draws it; its curves reach further than a seamless tile follows.
  SetAmplitude("100000");
  Click("cmdpaint");
  ASSERT_TRUE(reports_.empty());
  dialogs_.paths = {(dir_ / "sheet.png").string()};
  form_->Form().RaiseEvent("mnuExportSheet_Click");
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("溢出"), std::string::npos) << reports_[0];
  EXPECT_TRUE(Files().empty());
  // The ordinary tile of the same pattern is still written.
  dialogs_.paths = {(dir_ / "tile.png").string()};
  form_->Form().RaiseEvent("mnuExportTile_Click");
  EXPECT_EQ(reports_.size(), 1u);
  EXPECT_EQ(Files(), std::vector<fs::path>{"tile.png"});
}

TEST_F(Form1ExportTest, NothingToExportCancelAndFailuresLeaveNoFile) {
  form_->mnuExportTile_Click();
  EXPECT_TRUE(dialogs_.saveRequests.empty()) << "before the first pattern there is nothing to export";
  Click("cmdpaint");
  form_->mnuExportTile_Click();  // cancelled
  EXPECT_TRUE(Files().empty());

  fs::create_directory(dir_ / "sub");
  ASSERT_EQ(mkfifo((dir_ / "pipe.svg").c_str(), 0600), 0);
  const struct {
    fs::path path;
    const char* says;
  } cases[] = {
      {dir_ / "missing" / "x.png", "路径未找到"},
      {dir_ / "sub", "文件夹，不是普通文件"},
      {dir_ / "pipe.svg", "命名管道"},
  };
  for (const auto& c : cases) {
    reports_.clear();
    dialogs_.paths = {c.path.string()};
    form_->Form().RaiseEvent("mnuExportTile_Click");  // as the menu raises it
    ASSERT_EQ(reports_.size(), 1u) << c.path;
    EXPECT_NE(reports_[0].find(c.says), std::string::npos) << reports_[0];
    EXPECT_NE(reports_[0].find(c.path.string()), std::string::npos) << "the box names the file";
  }
  std::vector<fs::path> left = Files();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<fs::path>{"pipe.svg", "sub"})) << "no temporary file is left";
  EXPECT_TRUE(fs::is_empty(dir_ / "sub"));
}

}  // namespace
}  // namespace app
