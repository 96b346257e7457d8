// Failures a batch meets on the way: a folder that may not be written, a
// path through a file, a disk that fills. Each gets status 1, a message that
// names the cause, and no partial file. The real binary runs with no display.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <sys/wait.h>

#include <csignal>

#include "render/options.h"
#include "render_fixture.h"
#include "support/unprivileged.h"

namespace render {
namespace {

// The child's exit status: the command's status times 10, plus 1 when the
// message names the cause.
int RunInChildFor(const std::vector<std::string>& args, const std::string& cause, bool drop_root,
                  const std::function<void()>& before = {}) {
  return hwf::test::RunInChild(
      [&] {
        if (before) before();
        std::ostringstream out, err;
        const int status = RunRenderCommand(args, out, err, false);
        if (err.str().find(cause) == std::string::npos)
          std::fprintf(stderr, "message: %s", err.str().c_str());
        return status * 10 + (err.str().find(cause) != std::string::npos ? 1 : 0);
      },
      drop_root);
}

TEST_F(RenderTest, AFolderThatMayNotBeWrittenGetsNoFile) {
  ::mkdir("locked", 0555);
  EXPECT_EQ(RunInChildFor({"--size", "8", "-o", "locked/a.png"},
                          "cannot write locked/a.png: Permission denied", true),
            11);
  EXPECT_EQ(RunInChildFor({"--count", "3", "--size", "8", "-o", "locked"}, "Permission denied", true), 11);
  EXPECT_EQ(RunInChildFor({"--count", "3", "--size", "8", "-o", "locked/new"},
                          "cannot make the folder locked/new: Permission denied", true),
            11);
  EXPECT_TRUE(Names("locked").empty());
}

TEST_F(RenderTest, APathThroughAFileIsNamed) {
  { std::ofstream("plain") << "x"; }
  RunResult r = Run({"--size", "8", "-o", "plain/a.png"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write plain/a.png: Not a directory"), std::string::npos) << r.err;
  r = Run({"--count", "2", "--size", "8", "-o", "plain/sub"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot make the folder plain/sub: Not a directory"), std::string::npos) << r.err;
  EXPECT_EQ(Names(), std::set<std::string>{"plain"});
}

TEST_F(RenderTest, ADiskThatFillsLeavesNoPartialFile) {
  const auto limit = [] {
    const rlimit l{256 << 10, 256 << 10};
    ::setrlimit(RLIMIT_FSIZE, &l);
    std::signal(SIGXFSZ, SIG_IGN);
  };
  EXPECT_EQ(RunInChildFor({"--size", "2048", "--format", "bmp", "-o", "big.bmp"},
                          "cannot write big.bmp: File too large", false, limit),
            11);
  EXPECT_EQ(RunInChildFor({"--count", "4", "--size", "1024", "--format", "bmp", "-o", "many"},
                          "File too large", false, limit),
            11);
  EXPECT_EQ(Names(), std::set<std::string>{"many"});
  EXPECT_TRUE(Names("many").empty()) << "neither pattern files nor their index";
}

TEST_F(RenderTest, ABatchStoppedByASignalLeavesNoTemporaryFile) {
  ::mkdir("stopped", 0777);
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::ostringstream out, err;
    RunRenderCommand({"--count", "40", "--size", "6000", "-j", "2", "-o", "stopped"}, out, err, false);
    ::_exit(0);
  }
  // Wait until files are being written, then stop the batch.
  bool writing = false;
  for (int i = 0; i < 600 && !writing; ++i) {
    for (const std::string& n : Names("stopped")) writing |= n.rfind(".hwf-render-", 0) == 0;
    if (!writing) ::usleep(10000);
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(writing) << "the batch never began a file";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "the signal ends the program as it asks";
  for (const std::string& n : Names("stopped")) EXPECT_EQ(n.rfind(".hwf", 0), std::string::npos) << n;
}

TEST_F(RenderTest, TheRealBinaryRendersWithNoDisplay) {
  const std::string bin = HWF_BINARY;
  const auto run = [&](const std::string& args) {
    const int rc = std::system(
        ("env -u DISPLAY -u WAYLAND_DISPLAY '" + bin + "' render " + args + " >out.txt 2>err.txt").c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  };
  EXPECT_EQ(run("--count 1 --exact -o first.png"), 0);
  EXPECT_GT(Bytes("first.png").size(), 100u);
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(Bytes("out.txt").size(), std::string(RenderUsage()).size());
  EXPECT_EQ(run("--bogus"), 2);
  EXPECT_EQ(run("--size 0"), 1);
}

}  // namespace
}  // namespace render
