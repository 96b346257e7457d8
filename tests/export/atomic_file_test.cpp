// Files written in full or not at all: what is left after success, after an
// exception half way, on a full disk and in a folder that may not be written;
// links followed, permissions kept, and things that are not files left alone.
#include "export/atomic_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>

#include "export/export_error.h"
#include "support/unprivileged.h"

namespace exporter {
namespace {

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/hwf-atomic-test.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    ::chmod(dir_.c_str(), 0777);  // the unprivileged child must reach it
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::set<std::string> Names(const std::string& folder = {}) const {
    std::set<std::string> names;
    DIR* d = ::opendir((folder.empty() ? dir_ : folder).c_str());
    while (const dirent* e = d ? ::readdir(d) : nullptr) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.insert(n);
    }
    if (d) ::closedir(d);
    return names;
  }
  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Put(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
  static void Produce(ByteSink& sink, std::size_t bytes) {
    const std::string chunk(1000, 'x');
    for (std::size_t done = 0; done < bytes; done += chunk.size()) sink.Write(chunk.data(), chunk.size());
  }

  std::string dir_;
};

TEST_F(AtomicFileTest, AFinishedFileIsInPlaceWithNothingElseBeside) {
  WriteFileAtomically(Path("a.png"), [](ByteSink& s) { Produce(s, 3 << 20); });  // more than one buffer
  EXPECT_EQ(Content(Path("a.png")).size(), 3146000u);                            // 3146 chunks of 1000 bytes
  EXPECT_EQ(Names(), std::set<std::string>{"a.png"});
}

TEST_F(AtomicFileTest, AFailureHalfWayLeavesTheOldFileAndNoTemporaryOne) {
  Put(Path("old.svg"), "old");
  EXPECT_THROW(WriteFileAtomically(Path("old.svg"),
                                   [](ByteSink& s) {
                                     Produce(s, 2 << 20);
                                     throw std::runtime_error("drawing failed");
                                   }),
               std::runtime_error);
  EXPECT_EQ(Content(Path("old.svg")), "old");
  EXPECT_THROW(WriteFileAtomically(Path("new.svg"), [](ByteSink&) { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_EQ(Names(), std::set<std::string>{"old.svg"});
}

TEST_F(AtomicFileTest, AReplacedFileKeepsItsPermissionsAndALinkStaysALink) {
  Put(Path("real.pdf"), "old");
  ::chmod(Path("real.pdf").c_str(), 0640);
  ASSERT_EQ(::symlink("real.pdf", Path("link.pdf").c_str()), 0);
  WriteFileAtomically(Path("link.pdf"), [](ByteSink& s) { s.Write("new", 3); });
  struct stat st {};
  ASSERT_EQ(::lstat(Path("link.pdf").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Content(Path("real.pdf")), "new");
  ASSERT_EQ(::stat(Path("real.pdf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicFileTest, WhatIsNotARegularFileIsLeftAlone) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0666), 0);
  EXPECT_THROW(AtomicFile(Path("pipe")), ExportError);
  struct stat st {};
  ASSERT_EQ(::lstat(Path("pipe").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  ::mkdir(Path("folder").c_str(), 0777);
  try {
    AtomicFile f(Path("folder"));
    FAIL() << "a folder was opened as a file";
  } catch (const FileWriteError& e) {
    EXPECT_EQ(e.OsError(), EISDIR);
    EXPECT_NE(std::string(e.what()).find(Path("folder")), std::string::npos) << e.what();
  }
  EXPECT_EQ(Names(), (std::set<std::string>{"folder", "pipe"}));
}

TEST_F(AtomicFileTest, AFullDiskLeavesNoPartialFile) {
  // The file size limit makes the disk "full" after 64 KiB, for the child only.
  const int rc = hwf::test::RunInChild([&] {
    const rlimit limit{64 << 10, 64 << 10};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    try {
      WriteFileAtomically(Path("big.png"), [](ByteSink& s) { Produce(s, 4 << 20); });
    } catch (const FileWriteError& e) {
      return e.OsError() == EFBIG ? 10 : 11;
    }
    return 12;
  });
  EXPECT_EQ(rc, 10);
  EXPECT_TRUE(Names().empty());
}

TEST_F(AtomicFileTest, AFolderThatMayNotBeWrittenGetsNoFile) {
  const std::string locked = Path("locked");
  ::mkdir(locked.c_str(), 0555);
  const int rc = hwf::test::RunInChild(
      [&] {
        try {
          WriteFileAtomically(locked + "/a.png", [](ByteSink& s) { s.Write("x", 1); });
        } catch (const FileWriteError& e) {
          return e.OsError() == EACCES && std::string(e.what()).find("Permission denied") != std::string::npos
                     ? 10
                     : 11;
        }
        return 12;
      },
      /*drop_root=*/true);
  EXPECT_EQ(rc, 10);
  EXPECT_TRUE(Names(locked).empty());
}

}  // namespace
}  // namespace exporter
