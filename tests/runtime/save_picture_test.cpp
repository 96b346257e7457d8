// Sections: fixture and fault-injecting file operations; successful saves;
// names; folders that cannot take the file; failures half way through.
#include "runtime/save_picture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "patterns/runtime_error.h"
#include "runtime/bmp_reader.h"

namespace runtime {
namespace {

namespace fs = std::filesystem;
using testing::DecodeBmp24;
using testing::ReadFileBytes;

class SavePictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "hwf-save-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    pixels_.resize(7 * 5);
    for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = static_cast<std::uint32_t>(i * 0x030507);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  PictureView Picture() const { return {pixels_, 7, 5}; }
  std::string Path(const std::string& name) const { return (fs::path(dir_) / name).string(); }

  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }

  void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
  std::string ReadText(const std::string& path) {
    const auto b = ReadFileBytes(path);
    return std::string(b.begin(), b.end());
  }

  void ExpectSavedPicture(const std::string& path) {
    const auto decoded = DecodeBmp24(ReadFileBytes(path));
    ASSERT_TRUE(decoded.has_value()) << path;
    EXPECT_EQ(decoded->width, 7);
    EXPECT_EQ(decoded->height, 5);
    EXPECT_EQ(decoded->pixels, pixels_);
  }

  // Runs a save that must fail and returns its error.
  FileError SaveExpectingError(const std::string& path, FileOps& ops = SystemFileOps()) {
    try {
      SavePicture(Picture(), path, ops);
    } catch (const FileError& e) {
      return e;
    }
    ADD_FAILURE() << "saving to " << path << " succeeded";
    return FileError(0, path, 0);
  }

  std::string dir_;
  std::vector<std::uint32_t> pixels_;
};

// Real system calls, except that chosen calls fail with a chosen errno.
class FaultyOps : public FileOps {
 public:
  int fail_write_at = 0;  // 1-based count of Write calls; 0 = never
  int write_errno = ENOSPC;
  std::size_t max_write = 0;  // cap per Write call; 0 = no cap
  bool write_zero = false;
  int eintr_writes = 0;
  bool fail_fsync = false;
  bool fail_close = false;
  bool fail_rename = false;
  int eexist_opens = 0;
  int writes = 0;
  std::vector<std::string> opened;

  int Open(const char* path, int flags, mode_t mode) override {
    opened.emplace_back(path);
    if (eexist_opens > 0 && (flags & O_CREAT)) {
      --eexist_opens;
      errno = EEXIST;
      return -1;
    }
    return FileOps::Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    ++writes;
    if (writes == fail_write_at) {
      errno = write_errno;
      return -1;
    }
    if (eintr_writes > 0) {
      --eintr_writes;
      errno = EINTR;
      return -1;
    }
    if (write_zero) return 0;
    if (max_write != 0) size = std::min(size, max_write);
    return FileOps::Write(fd, data, size);
  }
  int Fsync(int fd) override {
    if (fail_fsync) {
      fail_fsync = false;  // only the file's own sync
      errno = EIO;
      return -1;
    }
    return FileOps::Fsync(fd);
  }
  int Close(int fd) override {
    const int rc = FileOps::Close(fd);
    if (fail_close) {
      fail_close = false;
      errno = EIO;
      return -1;
    }
    return rc;
  }
  int Rename(const char* from, const char* to) override {
    if (fail_rename) {
      errno = EXDEV;
      return -1;
    }
    return FileOps::Rename(from, to);
  }
};

// ---- successful saves ----------------------------------------------------------

TEST_F(SavePictureTest, WritesTheBitmapAndNothingElse) {
  SavePicture(Picture(), Path("a.bmp"));
  ExpectSavedPicture(Path("a.bmp"));
  EXPECT_EQ(ReadFileBytes(Path("a.bmp")), EncodeBmp24(Picture()));
  EXPECT_EQ(Entries(), (std::set<std::string>{"a.bmp"}));
}

TEST_F(SavePictureTest, ReplacesAnExistingFileKeepingItsPermissions) {
  WriteText(Path("old.bmp"), "previous content");
  ASSERT_EQ(::chmod(Path("old.bmp").c_str(), 0640), 0);
  SavePicture(Picture(), Path("old.bmp"));
  ExpectSavedPicture(Path("old.bmp"));
  struct stat st {};
  ASSERT_EQ(::stat(Path("old.bmp").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), (std::set<std::string>{"old.bmp"}));
}

TEST_F(SavePictureTest, ShortAndInterruptedWritesStillCompleteTheFile) {
  FaultyOps ops;
  ops.max_write = 7;
  ops.eintr_writes = 3;
  SavePicture(Picture(), Path("slow.bmp"), ops);
  ExpectSavedPicture(Path("slow.bmp"));
  EXPECT_GT(ops.writes, 20) << "the cap should have forced many writes";
}

TEST_F(SavePictureTest, ALinkIsFollowedAndStaysALink) {
  WriteText(Path("real.bmp"), "old");
  fs::create_symlink(Path("real.bmp"), Path("link.bmp"));
  SavePicture(Picture(), Path("link.bmp"));
  EXPECT_TRUE(fs::is_symlink(Path("link.bmp")));
  ExpectSavedPicture(Path("real.bmp"));
}

TEST_F(SavePictureTest, TakenTemporaryNamesAreSkipped) {
  FaultyOps ops;
  ops.eexist_opens = 2;
  SavePicture(Picture(), Path("x.bmp"), ops);
  ExpectSavedPicture(Path("x.bmp"));
  ASSERT_GE(ops.opened.size(), 3u);
  EXPECT_NE(ops.opened[0], ops.opened[1]);
  EXPECT_NE(ops.opened[1], ops.opened[2]);
  EXPECT_EQ(fs::path(ops.opened[2]).parent_path(), fs::path(dir_)) << "temporary file beside the target";
}

TEST_F(SavePictureTest, AnUntouchedEffectPictureIsItsBackgroundColour) {
  // Picture1's background 0x00FF8080 (BGR) is red 0x80, green 0x80, blue 0xFF.
  SavePicture(patterns::Picture::Solid(737, 709, 0x00FF8080), Path("plain.bmp"));
  const auto decoded = DecodeBmp24(ReadFileBytes(Path("plain.bmp")));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->width, 737);
  EXPECT_EQ(decoded->height, 709);
  EXPECT_EQ(std::count(decoded->pixels.begin(), decoded->pixels.end(), 0x008080FFu), 737 * 709);
}

TEST_F(SavePictureTest, AnEmptyPictureIsAnErrorAndWritesNothing) {
  try {
    SavePicture(patterns::Picture(), Path("empty.bmp"));
    ADD_FAILURE() << "saved an empty picture";
  } catch (const patterns::RuntimeError& e) {
    EXPECT_EQ(e.Number(), 5);
  }
  EXPECT_TRUE(Entries().empty());
}

// ---- names -----------------------------------------------------------------------

TEST_F(SavePictureTest, NameWithoutExtensionIsWrittenExactlyAsTyped) {
  SavePicture(Picture(), Path("图案"));
  EXPECT_EQ(Entries(), (std::set<std::string>{"图案"}));
  ExpectSavedPicture(Path("图案"));
}

TEST_F(SavePictureTest, LongUtf8NamesUpToTheSystemLimit) {
  std::string longest;
  for (int i = 0; i < 85; ++i) longest += "纹";  // 255 bytes, the usual name limit
  SavePicture(Picture(), Path(longest));
  ExpectSavedPicture(Path(longest));

  const std::string too_long = longest + "纹";
  const FileError e = SaveExpectingError(Path(too_long));
  EXPECT_EQ(e.OsError(), ENAMETOOLONG);
  EXPECT_EQ(e.Number(), kErrBadFileName);
  EXPECT_EQ(Entries(), (std::set<std::string>{longest}));
}

TEST_F(SavePictureTest, RelativePathIsTakenFromTheWorkingFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  SavePicture(Picture(), "relative.bmp");
  fs::current_path(before);
  ExpectSavedPicture(Path("relative.bmp"));
  EXPECT_EQ(Entries(), (std::set<std::string>{"relative.bmp"}));
}

// ---- folders that cannot take the file -------------------------------------------

TEST_F(SavePictureTest, MissingFolderIsPathNotFound) {
  const std::string path = Path("no-such-folder/a.bmp");
  const FileError e = SaveExpectingError(path);
  EXPECT_EQ(e.Number(), kErrPathNotFound);
  EXPECT_EQ(e.OsError(), ENOENT);
  EXPECT_EQ(e.Path(), path);
  EXPECT_EQ(e.Reason(), std::strerror(ENOENT));
  EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(SavePictureTest, FolderThatIsAFileIsPathNotFound) {
  WriteText(Path("plain"), "x");
  const FileError e = SaveExpectingError(Path("plain/a.bmp"));
  EXPECT_EQ(e.OsError(), ENOTDIR);
  EXPECT_EQ(e.Number(), kErrPathNotFound);
  EXPECT_EQ(ReadText(Path("plain")), "x");
}

TEST_F(SavePictureTest, EmptyPathAndFolderNamesAreRefused) {
  EXPECT_EQ(SaveExpectingError("").Number(), kErrPathNotFound);
  fs::create_directory(Path("sub"));
  EXPECT_EQ(SaveExpectingError(Path("sub")).OsError(), EISDIR);
  EXPECT_EQ(SaveExpectingError(Path("sub") + "/").OsError(), EISDIR);
  EXPECT_TRUE(fs::is_directory(Path("sub")));
  EXPECT_TRUE(fs::is_empty(Path("sub")));
}

TEST_F(SavePictureTest, ANameWithANulByteIsRefusedNotCutShort) {
  const std::string path = Path("a") + std::string(1, '\0') + "b.bmp";
  const FileError e = SaveExpectingError(path);
  EXPECT_EQ(e.Number(), kErrBadFileName);
  EXPECT_EQ(e.Path(), path);
  EXPECT_TRUE(fs::is_empty(dir_)) << "nothing written under the part before the NUL";
}

TEST_F(SavePictureTest, ReadOnlyFolderIsPermissionDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  fs::create_directory(Path("ro"));
  ASSERT_EQ(::chmod(Path("ro").c_str(), 0555), 0);
  const FileError e = SaveExpectingError(Path("ro/a.bmp"));
  EXPECT_EQ(e.Number(), kErrPermissionDenied);
  EXPECT_EQ(e.OsError(), EACCES);
  EXPECT_TRUE(fs::is_empty(Path("ro")));
}

TEST_F(SavePictureTest, ReadOnlyFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  WriteText(Path("keep.bmp"), "protected");
  ASSERT_EQ(::chmod(Path("keep.bmp").c_str(), 0444), 0);
  EXPECT_EQ(SaveExpectingError(Path("keep.bmp")).Number(), kErrPermissionDenied);
  EXPECT_EQ(ReadText(Path("keep.bmp")), "protected");
}

// ---- failures half way through -------------------------------------------------------

TEST_F(SavePictureTest, EveryFailingStepLeavesTheOldFileAndNoTemporary) {
  struct Case {
    const char* step;
    void (*arm)(FaultyOps&);
    int os_error;
    int number;
  };
  const Case cases[] = {
      {"first write", [](FaultyOps& o) { o.fail_write_at = 1; }, ENOSPC, kErrDiskFull},
      {"second write", [](FaultyOps& o) { o.max_write = 16, o.fail_write_at = 2; }, ENOSPC, kErrDiskFull},
      {"write error", [](FaultyOps& o) { o.fail_write_at = 1, o.write_errno = EIO; }, EIO,
       kErrPathFileAccess},
      {"no progress", [](FaultyOps& o) { o.write_zero = true; }, ENOSPC, kErrDiskFull},
      {"fsync", [](FaultyOps& o) { o.fail_fsync = true; }, EIO, kErrPathFileAccess},
      {"close", [](FaultyOps& o) { o.fail_close = true; }, EIO, kErrPathFileAccess},
      {"rename", [](FaultyOps& o) { o.fail_rename = true; }, EXDEV, kErrPathFileAccess},
  };
  for (const Case& c : cases) {
    WriteText(Path("kept.bmp"), "earlier save");
    FaultyOps ops;
    c.arm(ops);
    const FileError e = SaveExpectingError(Path("kept.bmp"), ops);
    EXPECT_EQ(e.OsError(), c.os_error) << c.step;
    EXPECT_EQ(e.Number(), c.number) << c.step;
    EXPECT_EQ(e.Path(), Path("kept.bmp")) << c.step << ": the user's path, not the temporary one";
    EXPECT_EQ(ReadText(Path("kept.bmp")), "earlier save") << c.step;
    EXPECT_EQ(Entries(), (std::set<std::string>{"kept.bmp"})) << c.step;
  }
}

TEST_F(SavePictureTest, FailedFirstSaveLeavesNoFileAtAll) {
  FaultyOps ops;
  ops.fail_write_at = 1;
  SaveExpectingError(Path("new.bmp"), ops);
  EXPECT_TRUE(Entries().empty());
}

}  // namespace
}  // namespace runtime
