// SavePicture: a picture written to a file as an uncompressed 24-bit Windows
// bitmap.
//
// A new file, or a regular file with one name, is written next to its target
// under a temporary name, flushed to disk and only then renamed over the
// target, so a save that fails half way (full disk, vanished folder) leaves
// any earlier file of that name intact and no partial file behind. The new
// file keeps the old one's permission bits, owner and group.
//
// Where renaming would change what the user chose (a file with several hard
// links, a folder the user may not write, an owner the saver cannot give a new
// file), the file is rewritten in place instead: truncated, written, flushed.
// A failure in the middle of that can leave the file incomplete; the error is
// reported all the same. Anything that is not a regular file (a named pipe, a
// device, a socket, a folder) is refused before anything is written.
// Failures throw runtime::FileError.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "patterns/picture.h"
#include "runtime/runtime_error.h"

namespace runtime {

// Pixels are 0x00RRGGBB, row-major, top row first, stride == width: the
// platform's pixel-buffer format.
struct PictureView {
  std::span<const std::uint32_t> pixels{};
  int width = 0;
  int height = 0;
};

inline constexpr std::size_t kBmpHeaderSize = 14 + 40;
inline constexpr std::int32_t kPixelsPerMetre96Dpi = 3780;

// Bytes per stored row: three per pixel, padded to a multiple of four.
constexpr std::size_t BmpRowStride(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

// The whole file in memory. Throws std::invalid_argument when the sizes do not
// match the pixels or the file would not fit the format's 32-bit size fields.
std::vector<std::uint8_t> EncodeBmp24(const PictureView& picture);

// The system calls the writer makes, so that tests can make any one of them
// fail. The default forwards to POSIX.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Fchown(int fd, uid_t owner, gid_t group);
  virtual int Ftruncate(int fd, off_t length);
  // Sets aside room for `length` bytes without changing the file's size
  // (fallocate with FALLOC_FL_KEEP_SIZE).
  virtual int Reserve(int fd, off_t length);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
};

FileOps& SystemFileOps();

// Writes the picture to `path`, used exactly as given (UTF-8, no extension
// added); a path with a NUL byte is a bad file name (52), never its prefix. A
// symbolic link as target is followed, so the file it names is replaced and
// the link stays. Throws FileError carrying the error number, the path and the
// reason; a target that is no regular file is "path/file access error" (75)
// with a reason that names what it is.
void SavePicture(const PictureView& picture, const std::string& path, FileOps& ops = SystemFileOps());

// The same for a picture box's Image. An empty picture has nothing to write
// and raises "invalid procedure call" (5) without touching the file system.
void SavePicture(const patterns::Picture& picture, const std::string& path, FileOps& ops = SystemFileOps());

// What SavePicture refuses before it writes anything, for writers of other
// files: an empty or NUL-holding name, a folder, anything that is not a
// regular file, a file the user may not write. Throws the same FileError.
void CheckSaveTarget(const std::string& path);

}  // namespace runtime
