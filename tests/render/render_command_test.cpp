// The command as a user meets it: bad usage, values it cannot work with, the
// files of one pattern and of a batch, their index, the progress bar, and
// the same bytes whatever the number of workers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "export/pattern_file.h"
#include "patterns/pattern_code.h"
#include "render/batch.h"
#include "render/options.h"
#include "render_fixture.h"

namespace render {
namespace {

std::string DefaultCodeAt(std::uint64_t i) {
  return patterns::WritePatternCode(PlanBatch(RenderOptions{.count = i + 1}).PatternAt(i));
}

TEST_F(RenderTest, BadUsageExitsWith2AndTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},
      {"extra"},
      {"-x"},
      {"--size"},
      {"--size", "big"},
      {"--count", "-3"},
      {"--seed", "1.5"},
      {"--quiet=yes"},
      {"--code", "hwf1-x", "--count", "2"},
      {"--code", "hwf1-x", "--amplitude", "80"},
      {"--exact", "--size", "100"},
  };
  for (const auto& args : cases) {
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.err.rfind("huiwenfang render: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(RenderUsage()), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_TRUE(Names().empty());
}

TEST_F(RenderTest, ValuesItCannotWorkWithExitWith1AndNameTheCause) {
  { std::ofstream("file.txt") << "x"; }
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--size", "0"}, "--size must be between 1 and 32768, not 0"},
      {{"--size", "32769"}, "--size must be between 1 and 32768, not 32769"},
      {{"--count", "0"}, "--count must be at least 1"},
      {{"--format", "jpg"}, "unknown format 'jpg' (png, svg, pdf or bmp)"},
      {{"-o", "x.jpg"}, "x.jpg: unknown format 'jpg'"},
      {{"--code", "hwf1-zz"}, "bad pattern code 'hwf1-zz': a code has five parts"},
      {{"--kind", "3"}, "--kind must be between 1 and 2, not 3"},
      {{"--amplitude", "abc"}, "运行时错误 '13': 类型不匹配"},
      {{"--amplitude", "1e300", "-o", "huge.png"}, "cannot be drawn: 运行时错误 '6': 溢出"},
      {{"--exact", "--format", "svg"}, "png or bmp, not svg"},
      {{"--repeat", "65"}, "--repeat must be between 1 and 64, not 65"},
      {{"--skip", "99999999999999999999"}, "reach too far"},
      {{"-j", "0"}, "--jobs must be between 1 and 1024, not 0"},
      {{"--count", "2", "-o", "file.txt"}, "file.txt is not a folder"},
      {{"-o", ""}, "--output needs the name of a file or folder"},
  };
  for (const auto& [args, cause] : cases) {
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 1) << cause;
    EXPECT_NE(r.err.find(cause), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("usage:"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_EQ(Names(), std::set<std::string>{"file.txt"}) << "no file was begun";
}

TEST_F(RenderTest, HelpAndVersionGoToStandardOutput) {
  RunResult r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, RenderUsage());
  EXPECT_NE(r.out.find("-j, --jobs N"), std::string::npos);
  r = Run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "huiwenfang 0.1\n");
}

TEST_F(RenderTest, OnePatternGoesToTheFileGivenOrIsNamedByItsCode) {
  RunResult r = Run({"--size", "32"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string name = DefaultCodeAt(0) + ".png";
  EXPECT_EQ(Names(), std::set<std::string>{name});
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one summary line: " << r.err;
  EXPECT_NE(r.err.find(name + " (png 32 x 32)"), std::string::npos) << r.err;

  ASSERT_EQ(Run({"--size", "32", "-o", "a.svg"}).status, 0);
  const auto svg = Bytes("a.svg");
  EXPECT_EQ(std::string(svg.begin(), svg.begin() + 5), "<?xml");

  const std::string code = DefaultCodeAt(3);
  ::mkdir("into", 0777);
  ASSERT_EQ(Run({"--code", code, "--format", "pdf", "-o", "into"}).status, 0);
  const auto pdf = Bytes("into/" + code + ".pdf");
  ASSERT_GT(pdf.size(), 4u);
  EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");

  // A path ending in '/' is a folder, made if missing.
  ASSERT_EQ(Run({"--code", code, "--size", "8", "-o", "new/deeper/"}).status, 0);
  EXPECT_EQ(Names("new/deeper"), std::set<std::string>{code + ".png"});

  // Codes are read in any case; the file is named by the written form.
  std::string upper = code;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_EQ(Run({"--code", upper, "--format", "bmp", "--size", "8"}).status, 0);
  EXPECT_EQ(Bytes(code + ".bmp").size(), 54u + 8 * 24);
}

TEST_F(RenderTest, SeveralPatternsGoIntoAFolderWithTheirIndex) {
  const RunResult r =
      Run({"--count", "5", "--size", "16", "--amplitude", "120", "--kind", "2", "-o", "out/deep"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = Lines("out/deep/patterns.csv");
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], "file,code,drawing,amplitude,line_colour,background_colour");
  const Batch b = PlanBatch(RenderOptions{.kind = 2, .amplitude = "120", .count = 5});
  std::set<std::string> files{"patterns.csv"};
  for (std::uint64_t i = 0; i < 5; ++i) {
    const patterns::PatternCode c = b.PatternAt(i);
    const std::string code = patterns::WritePatternCode(c);
    EXPECT_EQ(rows[i + 1], code + ".png," + code + ",2,120," + patterns::ColourText(c.line) + "," +
                               patterns::ColourText(c.background));
    files.insert(code + ".png");
  }
  EXPECT_EQ(Names("out/deep"), files);
  EXPECT_NE(r.err.find("5 patterns (png 16 x 16) and patterns.csv in out/deep"), std::string::npos) << r.err;
}

TEST_F(RenderTest, SkipContinuesTheSameSequence) {
  ASSERT_EQ(Run({"--count", "5", "--size", "20", "-o", "all"}).status, 0);
  ASSERT_EQ(Run({"--skip", "2", "--count", "3", "--size", "20", "-o", "part"}).status, 0);
  const auto all = Lines("all/patterns.csv");
  const auto part = Lines("part/patterns.csv");
  ASSERT_EQ(part.size(), 4u);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(part[i], all[i + 2]);
    const std::string file = part[i].substr(0, part[i].find(','));
    EXPECT_EQ(Bytes("part/" + file), Bytes("all/" + file));
  }
  // One pattern from the middle of the run is the same pattern again.
  ASSERT_EQ(Run({"--skip", "3", "--size", "20", "-o", "one.png"}).status, 0);
  EXPECT_EQ(Bytes("one.png"), Bytes("all/" + all[4].substr(0, all[4].find(','))));
}

TEST_F(RenderTest, TheSameFilesWhateverTheNumberOfWorkers) {
  for (const char* format : {"png", "svg", "pdf", "bmp"}) {
    const std::string f(format);
    ASSERT_EQ(Run({"--count", "6", "--size", "48", "--repeat", "2", "--format", f, "-j", "1", "-o", f + "1"})
                  .status,
              0);
    ASSERT_EQ(Run({"--count", "6", "--size", "48", "--repeat", "2", "--format", f, "-j", "2", "-o", f + "2"})
                  .status,
              0);
    const auto names = Names(f + "1");
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(Names(f + "2"), names);
    for (const std::string& n : names) EXPECT_EQ(Bytes(f + "1/" + n), Bytes(f + "2/" + n)) << f << "/" << n;
  }
  ASSERT_EQ(Run({"--count", "4", "--exact", "-j", "1", "-o", "e1"}).status, 0);
  ASSERT_EQ(Run({"--count", "4", "--exact", "-j", "2", "-o", "e2"}).status, 0);
  for (const std::string& n : Names("e1")) EXPECT_EQ(Bytes("e1/" + n), Bytes("e2/" + n)) << n;
}

TEST_F(RenderTest, AProgressBarOnlyWhileStandardErrorIsATerminal) {
  RunResult r = Run({"--count", "3", "--size", "8", "-o", "t"}, /*terminal=*/true);
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("\r  3/3 ["), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("3 patterns"), std::string::npos);
  for (const bool terminal : {false, true}) {
    r = Run({"--count", "3", "--size", "8", "-o", "q", terminal ? "-q" : "--size=8"}, terminal);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

}  // namespace
}  // namespace render
