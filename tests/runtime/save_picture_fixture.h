// The fixture of the save tests: a private folder, a small picture, and file
// operations that fail on request.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "runtime/save_picture.h"
#include "support/bmp_reader.h"

namespace runtime {

namespace fs = std::filesystem;
using hwf::test::DecodeBmp24;
using hwf::test::ReadFileBytes;

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
    // Folders a test closed to writing must open again for the removal.
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& e : fs::recursive_directory_iterator(dir_, ec))
      if (e.is_directory(ec)) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  PictureView Picture() const { return {pixels_, 7, 5}; }
  std::string Path(const std::string& name) const { return (fs::path(dir_) / name).string(); }

  // The names in the test's folder, or in one of its subfolders.
  std::set<std::string> Entries(const std::string& sub = {}) const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(sub.empty() ? dir_ : Path(sub)))
      names.insert(e.path().filename().string());
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
  int fail_fchown = 0;  // errno for Fchown; 0 = no failure
  int fail_fchmod = 0;
  int fail_reserve = 0;
  bool fail_truncate = false;
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
  int Fchown(int fd, uid_t owner, gid_t group) override {
    return fail_fchown ? Refuse(fail_fchown) : FileOps::Fchown(fd, owner, group);
  }
  int Fchmod(int fd, mode_t mode) override {
    return fail_fchmod ? Refuse(fail_fchmod) : FileOps::Fchmod(fd, mode);
  }
  int Reserve(int fd, off_t length) override {
    return fail_reserve ? Refuse(fail_reserve) : FileOps::Reserve(fd, length);
  }
  int Ftruncate(int fd, off_t length) override {
    return fail_truncate ? Refuse(EIO) : FileOps::Ftruncate(fd, length);
  }
  int Rename(const char* from, const char* to) override {
    if (fail_rename) {
      errno = EXDEV;
      return -1;
    }
    return FileOps::Rename(from, to);
  }

 private:
  static int Refuse(int err) {
    errno = err;
    return -1;
  }
};

}  // namespace runtime
