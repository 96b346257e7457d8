// Sections:
//   1. Bitmap encoding
//   2. POSIX file operations
//   3. Errors and the kind of file at the target
//   4. The atomic replace through a temporary file
//   5. The rewrite in place
//   6. Choosing between them
#include "runtime/save_picture.h"

#include "patterns/runtime_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <utility>

namespace runtime {

// ---- 1. Bitmap encoding ---------------------------------------------------------

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const PictureView& picture) {
  if (picture.width <= 0 || picture.height <= 0) {
    throw std::invalid_argument("a bitmap needs a positive width and height");
  }
  const std::size_t w = static_cast<std::size_t>(picture.width);
  const std::size_t h = static_cast<std::size_t>(picture.height);
  if (picture.pixels.size() / w != h || picture.pixels.size() % w != 0) {
    throw std::invalid_argument("pixel count does not match width x height");
  }
  const std::size_t stride = BmpRowStride(picture.width);
  if (stride > (std::size_t{UINT32_MAX} - kBmpHeaderSize) / h) {
    throw std::invalid_argument("picture too large for a bitmap file");
  }
  const std::size_t image_size = stride * h;
  const std::size_t file_size = kBmpHeaderSize + image_size;

  // Zero-filled, so the row padding is already in place.
  std::vector<std::uint8_t> out(file_size, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(file_size));
  Put32(out, 10, static_cast<std::uint32_t>(kBmpHeaderSize));  // bfOffBits; bytes 6..9 reserved
  Put32(out, 14, 40);                                          // biSize
  Put32(out, 18, static_cast<std::uint32_t>(picture.width));
  Put32(out, 22, static_cast<std::uint32_t>(picture.height));  // positive: bottom row first
  Put16(out, 26, 1);                                           // biPlanes
  Put16(out, 28, 24);                                          // biBitCount
  Put32(out, 30, 0);                                           // BI_RGB
  Put32(out, 34, static_cast<std::uint32_t>(image_size));
  Put32(out, 38, kPixelsPerMetre96Dpi);
  Put32(out, 42, kPixelsPerMetre96Dpi);
  // biClrUsed and biClrImportant stay 0: no colour table.

  for (std::size_t y = 0; y < h; ++y) {
    const std::uint32_t* src = picture.pixels.data() + (h - 1 - y) * w;
    std::uint8_t* dst = out.data() + kBmpHeaderSize + y * stride;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint32_t p = src[x];
      dst[3 * x] = static_cast<std::uint8_t>(p);            // blue
      dst[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);   // green
      dst[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);  // red
    }
  }
  return out;
}

// ---- 2. POSIX file operations ----------------------------------------------------

int FileOps::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileOps::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int FileOps::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int FileOps::Fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int FileOps::Ftruncate(int fd, off_t length) { return ::ftruncate(fd, length); }
int FileOps::Reserve(int fd, off_t length) { return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length); }
int FileOps::Fsync(int fd) { return ::fsync(fd); }
int FileOps::Close(int fd) { return ::close(fd); }
int FileOps::Rename(const char* from, const char* to) { return ::rename(from, to); }
int FileOps::Unlink(const char* path) { return ::unlink(path); }

FileOps& SystemFileOps() {
  static FileOps ops;
  return ops;
}

// ---- 3. Errors and the kind of file at the target ---------------------------------

namespace {

constexpr std::size_t kWriteChunk = 64 * 1024;
constexpr int kTempNameAttempts = 100;

[[noreturn]] void Fail(const std::string& path, int os_error) {
  throw FileError(FileErrorNumberFor(os_error), path, os_error);
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "文件夹";
  if (S_ISFIFO(mode)) return "命名管道";
  if (S_ISCHR(mode)) return "字符设备";
  if (S_ISBLK(mode)) return "块设备";
  if (S_ISSOCK(mode)) return "套接字";
  return "特殊文件";
}

// Writing into a pipe or a device would hand the picture to whoever reads it,
// and renaming over one would take it away from everyone else: neither is a
// save. The reason names what the user picked.
[[noreturn]] void RefuseNotRegular(const std::string& path, mode_t mode) {
  throw FileError(kErrPathFileAccess, path, S_ISDIR(mode) ? EISDIR : EINVAL,
                  std::string(KindOf(mode)) + "，不是普通文件，未写入任何内容");
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Where the bytes really go: a link is followed to the file it names, so the
// rename replaces that file and not the link. A dangling link is replaced.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

// 0 or the errno of the failure. A write that makes no progress counts as a
// full disk rather than looping for ever.
int WriteAll(FileOps& ops, int fd, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t chunk = std::min(kWriteChunk, bytes.size() - done);
    const ssize_t n = ops.Write(fd, bytes.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// Writes, flushes and closes; the descriptor is gone afterwards, whatever
// happened. 0 or the errno of the first failure.
int WriteSyncClose(FileOps& ops, int fd, const std::vector<std::uint8_t>& bytes) {
  int err = WriteAll(ops, fd, bytes);
  if (err == 0 && ops.Fsync(fd) != 0) err = errno;
  if (ops.Close(fd) != 0 && err == 0) err = errno;
  return err;
}

// ---- 4. The atomic replace through a temporary file --------------------------------

// The temporary name does not grow with the target's name, so a target name
// at the system's length limit can still be saved.
std::string TempNameIn(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + "/.hwf-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) +
         ".tmp";
}

// Owns the temporary file until it has been renamed into place; on every
// other way out it closes and removes it.
class TempFile {
 public:
  explicit TempFile(FileOps& ops) : ops_(ops) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd_ >= 0) ops_.Close(fd_);
    if (!name_.empty()) ops_.Unlink(name_.c_str());
  }

  // 0, or the errno of the last attempt.
  int Create(const std::string& folder) {
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
      std::string name = TempNameIn(folder);
      fd_ = ops_.Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        name_ = std::move(name);
        return 0;
      }
      if (errno != EEXIST) break;
    }
    return errno;
  }

  int fd() const { return fd_; }
  const std::string& name() const { return name_; }
  // The descriptor now belongs to the caller.
  int TakeFd() { return std::exchange(fd_, -1); }
  void Committed() { name_.clear(); }

 private:
  FileOps& ops_;
  int fd_ = -1;
  std::string name_;
};

// Gives the new file the old one's owner, group and permission bits. The
// owner goes first: changing it clears the set-id bits, which the mode then
// puts back.
bool TakeOverOwnerAndMode(FileOps& ops, int fd, const struct stat& old) {
  return ops.Fchown(fd, old.st_uid, old.st_gid) == 0 && ops.Fchmod(fd, old.st_mode & 07777) == 0;
}

void SyncFolder(FileOps& ops, const std::string& folder) {
  // Makes the rename itself durable. Some file systems refuse to sync a
  // folder; the file is complete by now, so that is not worth an error.
  const int fd = ops.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  ops.Fsync(fd);
  ops.Close(fd);
}

// False, with nothing changed, when the old file cannot be replaced this way
// (the folder takes no new file from this user, or the new file cannot have
// the old one's owner and mode) and must be rewritten in place instead.
bool ReplaceAtomically(FileOps& ops, const std::vector<std::uint8_t>& bytes, const std::string& path,
                       const std::string& target, const struct stat* old) {
  const std::string folder = FolderOf(target);
  TempFile temp(ops);
  if (const int err = temp.Create(folder)) {
    if (old && (err == EACCES || err == EPERM)) return false;
    Fail(path, err);
  }
  if (old && !TakeOverOwnerAndMode(ops, temp.fd(), *old)) return false;
  if (const int err = WriteSyncClose(ops, temp.TakeFd(), bytes)) Fail(path, err);
  if (ops.Rename(temp.name().c_str(), target.c_str()) != 0) Fail(path, errno);
  temp.Committed();
  SyncFolder(ops, folder);
  return true;
}

// ---- 5. The rewrite in place --------------------------------------------------------

void RewriteInPlace(FileOps& ops, const std::vector<std::uint8_t>& bytes, const std::string& path,
                    const std::string& target) {
  // Not blocking: should a pipe have taken the file's place since it was
  // looked at, the open must not wait for a reader.
  const int fd = ops.Open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
  if (fd < 0) Fail(path, errno);
  int err = 0;
  struct stat now {};
  if (::fstat(fd, &now) != 0) {
    err = errno;
  } else if (!S_ISREG(now.st_mode)) {
    ops.Close(fd);
    RefuseNotRegular(path, now.st_mode);
  } else if (const int flags = ::fcntl(fd, F_GETFL);
             flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    err = errno;
  } else if (ops.Reserve(fd, static_cast<off_t>(bytes.size())) != 0 &&
             (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)) {
    // The room is not there: better to say so while the old content is whole.
    // A file system that cannot reserve at all is no reason to stop.
    err = errno;
  } else if (ops.Ftruncate(fd, 0) != 0) {
    err = errno;
  }
  if (err != 0) {
    ops.Close(fd);
    Fail(path, err);
  }
  if (const int write_err = WriteSyncClose(ops, fd, bytes)) Fail(path, write_err);
}

}  // namespace

// ---- 6. Choosing between them --------------------------------------------------------

void CheckSaveTarget(const std::string& path) {
  if (path.empty()) Fail(path, ENOENT);
  if (path.back() == '/') Fail(path, EISDIR);
  if (path.find('\0') != std::string::npos) Fail(path, EINVAL);
  struct stat existing {};
  if (::stat(ResolveTarget(path).c_str(), &existing) != 0) return;
  if (!S_ISREG(existing.st_mode)) RefuseNotRegular(path, existing.st_mode);
  if (::faccessat(AT_FDCWD, ResolveTarget(path).c_str(), W_OK, AT_EACCESS) != 0) Fail(path, errno);
}

void SavePicture(const PictureView& picture, const std::string& path, FileOps& ops) {
  const std::vector<std::uint8_t> bytes = EncodeBmp24(picture);
  if (path.empty()) Fail(path, ENOENT);
  if (path.back() == '/') Fail(path, EISDIR);
  // The system reads a name only up to its first NUL: "a\0b" would be saved
  // as "a", a file the user never named.
  if (path.find('\0') != std::string::npos) Fail(path, EINVAL);

  const std::string target = ResolveTarget(path);
  struct stat existing {};
  if (::stat(target.c_str(), &existing) != 0) {
    // Nothing there yet (or nothing reachable: creating the file reports why).
    ReplaceAtomically(ops, bytes, path, target, nullptr);
    return;
  }
  if (!S_ISREG(existing.st_mode)) RefuseNotRegular(path, existing.st_mode);
  // rename() would happily replace a file the user made read-only; honour the
  // protection instead.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) Fail(path, errno);
  // A rename would part a file with several names from the others.
  if (existing.st_nlink == 1 && ReplaceAtomically(ops, bytes, path, target, &existing)) return;
  RewriteInPlace(ops, bytes, path, target);
}

void SavePicture(const patterns::Picture& picture, const std::string& path, FileOps& ops) {
  if (picture.IsEmpty()) patterns::Raise(patterns::kErrInvalidProcedureCall);
  SavePicture(PictureView{picture.Pixels(), picture.Width(), picture.Height()}, path, ops);
}

}  // namespace runtime
