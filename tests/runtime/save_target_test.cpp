// What is at the chosen path decides how a save goes: a whole file with one
// name is replaced atomically and keeps its mode, owner and group; a file with
// several names, in a folder the user may not write, or of an owner the saver
// cannot give a new file is rewritten in place; anything else is refused with
// nothing written. The permission cases run as an ordinary user, also when
// the tests run as root.
//
// Sections: the atomic replace; the rewrite in place; failures of the rewrite;
// what is refused; as an ordinary user.
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <cstring>

#include "runtime/runtime_error.h"
#include "runtime/save_picture_fixture.h"
#include "support/unprivileged.h"

namespace runtime {
namespace {

using hwf::test::RunUnprivileged;
using hwf::test::UnprivilegedIds;
using hwf::test::UserIds;

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path << ": " << std::strerror(errno);
  return st;
}

class SaveTargetTest : public SavePictureTest {
 protected:
  // Gives a file or folder to the user the unprivileged child runs as (a no-op
  // when the tests do not run as root: the child is then the file's owner).
  void HandTo(const std::string& path, const UserIds& ids) {
    ASSERT_EQ(::chown(path.c_str(), ids.uid, ids.gid), 0) << path << ": " << std::strerror(errno);
  }
  // The test's folder is private to its maker; the child needs to pass it.
  void OpenFolderToOthers() { ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0); }

  // Runs in the child: what became of a save to `path`.
  std::string SaveInChild(const std::string& path) {
    return RunUnprivileged([&] {
      try {
        SavePicture(Picture(), path);
        return std::string("saved");
      } catch (const FileError& e) {
        return "error " + std::to_string(e.Number()) + " " + std::strerror(e.OsError());
      }
    });
  }
  static std::string Error(int number, int os_error) {
    return "error " + std::to_string(number) + " " + std::strerror(os_error);
  }
};

// ---- the atomic replace -----------------------------------------------------------------

TEST_F(SaveTargetTest, AWholeFileIsReplacedAtomicallyKeepingModeOwnerAndGroup) {
  const std::optional<UserIds> other = UnprivilegedIds();
  ASSERT_TRUE(other.has_value());
  WriteText(Path("one.bmp"), "earlier picture");
  ASSERT_EQ(::chmod(Path("one.bmp").c_str(), 0640), 0);
  // As root the file goes to another user, whom the new file must get too.
  HandTo(Path("one.bmp"), *other);
  const struct stat before = StatOf(Path("one.bmp"));
  // A reader who opened the file before the save keeps reading the earlier picture whole.
  const int reader = ::open(Path("one.bmp").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(reader, 0);

  SavePicture(Picture(), Path("one.bmp"));

  ExpectSavedPicture(Path("one.bmp"));
  const struct stat after = StatOf(Path("one.bmp"));
  EXPECT_NE(after.st_ino, before.st_ino) << "renamed into place, not written over";
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  char old[32] = {};
  EXPECT_EQ(::read(reader, old, sizeof old), 15);
  EXPECT_STREQ(old, "earlier picture");
  ::close(reader);
  EXPECT_EQ(Entries(), (std::set<std::string>{"one.bmp"}));
}

// ---- the rewrite in place ---------------------------------------------------------------

TEST_F(SaveTargetTest, AFileWithSeveralNamesIsRewrittenInPlaceForAllOfThem) {
  WriteText(Path("a.bmp"), "shared");
  ASSERT_EQ(::chmod(Path("a.bmp").c_str(), 0604), 0);
  ASSERT_EQ(::link(Path("a.bmp").c_str(), Path("b.bmp").c_str()), 0);
  const struct stat before = StatOf(Path("a.bmp"));

  SavePicture(Picture(), Path("a.bmp"));

  ExpectSavedPicture(Path("a.bmp"));
  ExpectSavedPicture(Path("b.bmp"));
  const struct stat after = StatOf(Path("a.bmp"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2u);
  EXPECT_EQ(after.st_mode & 07777, 0604u);
  EXPECT_EQ(Entries(), (std::set<std::string>{"a.bmp", "b.bmp"}));
}

TEST_F(SaveTargetTest, AnOwnerOrModeTheNewFileCannotTakeMeansARewriteInPlace) {
  const struct {
    const char* what;
    int fchown, fchmod;
  } cases[] = {{"owner refused", EPERM, 0}, {"owner unmapped", EINVAL, 0}, {"mode refused", 0, EPERM}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(Path("kept.bmp"), "earlier save");
    const struct stat before = StatOf(Path("kept.bmp"));
    FaultyOps ops;
    ops.fail_fchown = c.fchown;
    ops.fail_fchmod = c.fchmod;
    SavePicture(Picture(), Path("kept.bmp"), ops);
    ExpectSavedPicture(Path("kept.bmp"));
    EXPECT_EQ(StatOf(Path("kept.bmp")).st_ino, before.st_ino);
    EXPECT_EQ(Entries(), (std::set<std::string>{"kept.bmp"})) << "the temporary file is gone";
  }
}

// ---- failures of the rewrite --------------------------------------------------------------

TEST_F(SaveTargetTest, AFailedRewriteInPlaceIsReported) {
  struct Case {
    const char* step;
    void (*arm)(FaultyOps&);
    int number;
    bool content_kept;  // failed before the old content was touched
  };
  const Case cases[] = {
      {"no room", [](FaultyOps& o) { o.fail_reserve = ENOSPC; }, kErrDiskFull, true},
      {"over quota", [](FaultyOps& o) { o.fail_reserve = EDQUOT; }, kErrDiskFull, true},
      {"truncate", [](FaultyOps& o) { o.fail_truncate = true; }, kErrPathFileAccess, true},
      {"second write", [](FaultyOps& o) { o.max_write = 16, o.fail_write_at = 2; }, kErrDiskFull, false},
      {"fsync", [](FaultyOps& o) { o.fail_fsync = true; }, kErrPathFileAccess, false},
      {"close", [](FaultyOps& o) { o.fail_close = true; }, kErrPathFileAccess, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    std::error_code ec;
    fs::remove(Path("twin.bmp"), ec);
    WriteText(Path("kept.bmp"), "earlier save");
    ASSERT_EQ(::link(Path("kept.bmp").c_str(), Path("twin.bmp").c_str()), 0);
    FaultyOps ops;
    c.arm(ops);
    const FileError e = SaveExpectingError(Path("kept.bmp"), ops);
    EXPECT_EQ(e.Number(), c.number);
    EXPECT_EQ(e.Path(), Path("kept.bmp"));
    if (c.content_kept) {
      EXPECT_EQ(ReadText(Path("twin.bmp")), "earlier save");
    }
    EXPECT_EQ(Entries(), (std::set<std::string>{"kept.bmp", "twin.bmp"}));
  }
  // A file system that cannot set room aside is no reason to give up.
  FaultyOps ops;
  ops.fail_reserve = EOPNOTSUPP;
  SavePicture(Picture(), Path("kept.bmp"), ops);
  ExpectSavedPicture(Path("twin.bmp"));
}

// ---- what is refused ------------------------------------------------------------------

TEST_F(SaveTargetTest, WhatIsNotARegularFileIsRefusedAndStaysAsItWas) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0666), 0);
  // A reader on the pipe, so that a save writing into it would not block but deliver.
  const int reader = ::open(Path("pipe").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  ASSERT_LT(Path("sock").size(), sizeof addr.sun_path);
  std::strcpy(addr.sun_path, Path("sock").c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
  fs::create_directory(Path("folder"));
  fs::create_symlink(Path("pipe"), Path("link-to-pipe"));
  struct Target {
    const char* name;
    const char* kind;
  };
  std::vector<Target> targets = {
      {"pipe", "命名管道"}, {"sock", "套接字"}, {"folder", "文件夹"}, {"link-to-pipe", "命名管道"}};
  // Only root may make a device node; this one has the numbers of the null device.
  if (::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    targets.push_back({"null", "字符设备"});

  for (const Target& t : targets) {
    SCOPED_TRACE(t.name);
    const std::set<std::string> entries = Entries();
    const struct stat before = StatOf(Path(t.name));
    const FileError e = SaveExpectingError(Path(t.name));
    EXPECT_EQ(e.Number(), kErrPathFileAccess);
    EXPECT_EQ(e.Reason(), std::string(t.kind) + "，不是普通文件，未写入任何内容");
    const struct stat after = StatOf(Path(t.name));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(Entries(), entries);
  }
  char byte;
  EXPECT_LE(::read(reader, &byte, 1), 0) << "nothing was written into the pipe";
  EXPECT_TRUE(fs::is_empty(Path("folder")));
  ::close(reader);
  ::close(sock);

  // The message box is laid out like every other file error.
  const ErrorBox box = FormatRuntimeError("澜帆绘纹坊0.1版", SaveExpectingError(Path("pipe")));
  EXPECT_EQ(box.text, "运行时错误 '75':\n\n路径/文件访问错误\n\n文件：" + Path("pipe") +
                          "\n原因：命名管道，不是普通文件，未写入任何内容");
}

// ---- as an ordinary user ----------------------------------------------------------------

TEST_F(SaveTargetTest, AWritableFileInAFolderTheUserMayNotWriteIsRewrittenInPlace) {
  const std::optional<UserIds> user = UnprivilegedIds();
  ASSERT_TRUE(user.has_value());
  OpenFolderToOthers();
  fs::create_directory(Path("closed"));
  WriteText(Path("closed/mine.bmp"), "earlier save");
  ASSERT_EQ(::chmod(Path("closed/mine.bmp").c_str(), 0644), 0);
  HandTo(Path("closed/mine.bmp"), *user);
  // Not the user's folder when run as root; closed to its owner otherwise.
  ASSERT_EQ(::chmod(Path("closed").c_str(), ::geteuid() == 0 ? 0755 : 0555), 0);
  const struct stat before = StatOf(Path("closed/mine.bmp"));

  EXPECT_EQ(SaveInChild(Path("closed/mine.bmp")), "saved");

  ExpectSavedPicture(Path("closed/mine.bmp"));
  const struct stat after = StatOf(Path("closed/mine.bmp"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_mode & 07777, 0644u);
  EXPECT_EQ(Entries("closed"), (std::set<std::string>{"mine.bmp"}));
  // A new name there is still refused.
  EXPECT_EQ(SaveInChild(Path("closed/new.bmp")), Error(kErrPermissionDenied, EACCES));
  EXPECT_EQ(Entries("closed"), (std::set<std::string>{"mine.bmp"}));
}

TEST_F(SaveTargetTest, AFileOfAnotherOwnerIsRewrittenInPlaceAndKeepsItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can make a file of another owner";
  const std::optional<UserIds> user = UnprivilegedIds();
  ASSERT_TRUE(user.has_value());
  OpenFolderToOthers();
  fs::create_directory(Path("theirs"));
  HandTo(Path("theirs"), *user);  // the user may put files here
  WriteText(Path("theirs/root.bmp"), "root's picture");
  ASSERT_EQ(::chmod(Path("theirs/root.bmp").c_str(), 0666), 0);
  const struct stat before = StatOf(Path("theirs/root.bmp"));

  EXPECT_EQ(SaveInChild(Path("theirs/root.bmp")), "saved");

  ExpectSavedPicture(Path("theirs/root.bmp"));
  const struct stat after = StatOf(Path("theirs/root.bmp"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, 0u);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_mode & 07777, 0666u);
  EXPECT_EQ(Entries("theirs"), (std::set<std::string>{"root.bmp"})) << "no temporary file left";
}

TEST_F(SaveTargetTest, AReadOnlyFileAndAReadOnlyFolderAreNotWritten) {
  const std::optional<UserIds> user = UnprivilegedIds();
  ASSERT_TRUE(user.has_value());
  OpenFolderToOthers();
  fs::create_directory(Path("open"));
  HandTo(Path("open"), *user);
  WriteText(Path("open/keep.bmp"), "protected");
  HandTo(Path("open/keep.bmp"), *user);
  ASSERT_EQ(::chmod(Path("open/keep.bmp").c_str(), 0444), 0);
  EXPECT_EQ(SaveInChild(Path("open/keep.bmp")), Error(kErrPermissionDenied, EACCES));
  EXPECT_EQ(ReadText(Path("open/keep.bmp")), "protected");
  EXPECT_EQ(Entries("open"), (std::set<std::string>{"keep.bmp"}));

  fs::create_directory(Path("ro"));
  HandTo(Path("ro"), *user);
  ASSERT_EQ(::chmod(Path("ro").c_str(), 0555), 0);
  EXPECT_EQ(SaveInChild(Path("ro/a.bmp")), Error(kErrPermissionDenied, EACCES));
  EXPECT_TRUE(fs::is_empty(Path("ro")));
}

}  // namespace
}  // namespace runtime
