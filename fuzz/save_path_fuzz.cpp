// Fuzzes the save path: the name the user types, how the save dialog turns it
// into a path, and the bitmap writer with any one of its system calls failing.
//
// Sandbox. The process works in a private folder P/box (P from mkdtemp); the
// working directory is P/box, so relative names land there. Before each input
// the box is emptied and refilled with a few things a user meets: a folder, a
// file, a link to that file and a dangling link. Links never point at folders,
// so ".." is resolved by the kernel exactly as it is lexically, and a path
// whose lexical form stays in the box cannot leave it. Paths that would leave
// the box are mapped or refused by the harness, not by the program:
//   - absolute names are taken below the box ("/etc/x" -> "P/box/etc/x");
//   - a name whose ".." climbs out of the box is skipped.
// Names with NUL bytes are passed on as they are: the writer must refuse them.
//
// Invariants after every save:
//   - success: exactly one file changed or appeared, the target (for a link,
//     the file it names), holding 54 + rowbytes x h bytes that begin "BM" and
//     equal the encoder's output; nothing else in the box changed;
//   - failure: a FileError with the given path and a known number, and the box
//     exactly as before: no temporary file, the old file untouched (the box
//     holds no file that must be rewritten in place, so the writer gets there
//     only after the one injected fault, and that rewrite does not fail);
//   - never anything beside the box in P, never a leaked descriptor.
//
// Input: [width][height][fault][mode] then the typed name.
//   fault: low 5 bits = index of the system call that fails (0: none),
//          high 3 bits = how (errno, a write that makes no progress, ...).
//   mode:  bit 0 = through the dialog's name rules and Resolve, else straight
//          to the writer; bit 1 = short writes.
//
// The working folder changes when the target starts, so give libFuzzer
// absolute paths (corpus, dictionary, artifact prefix), as scripts/fuzz.sh does.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "patterns/runtime_error.h"
#include "platform/dialogs/file_paths.h"
#include "runtime/runtime_error.h"
#include "runtime/save_picture.h"

namespace {

namespace fs = std::filesystem;
namespace dlg = platform::dialogs;

std::string g_parent;  // P
std::string g_box;     // P/box

[[noreturn]] void Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "save_path_fuzz: %s; path \"", what);
  for (unsigned char c : path) std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02x", c);
  std::fprintf(stderr, "\"\n");
  std::abort();
}

// --- The box and its snapshots.

void WriteFile(const std::string& path, const std::string& text, mode_t mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
  if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
  ::close(fd);
}

void RefillBox() {
  // The box itself stays: it is the working folder.
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(g_box)) fs::remove_all(e.path(), ec);
  ::mkdir((g_box + "/sub").c_str(), 0755);
  WriteFile(g_box + "/old.bmp", "OLD", 0644);
  WriteFile(g_box + "/sub/deep.bmp", "DEEP", 0644);
  WriteFile(g_box + "/ro.bmp", "READONLY", 0444);
  if (::symlink("old.bmp", (g_box + "/link.bmp").c_str()) != 0) std::abort();
  if (::symlink("gone.bmp", (g_box + "/dangling.bmp").c_str()) != 0) std::abort();
}

struct Entry {
  char type;            // 'f' file, 'd' folder, 'l' link
  std::string content;  // file bytes or link target
  mode_t mode;
  bool operator==(const Entry&) const = default;
};
using Tree = std::map<std::string, Entry>;

void Walk(const std::string& dir, const std::string& rel, Tree& out) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string full = dir + "/" + name, key = rel + name;
    struct stat st {};
    if (::lstat(full.c_str(), &st) != 0) continue;
    Entry en{'f', {}, st.st_mode & 07777};
    if (S_ISDIR(st.st_mode)) {
      en.type = 'd';
      Walk(full, key + "/", out);
    } else if (S_ISLNK(st.st_mode)) {
      en.type = 'l';
      char buf[4096];
      const ssize_t n = ::readlink(full.c_str(), buf, sizeof buf);
      en.content.assign(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
    } else {
      const int fd = ::open(full.c_str(), O_RDONLY);
      char buf[8192];
      ssize_t n;
      while (fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0)
        en.content.append(buf, static_cast<std::size_t>(n));
      if (fd >= 0) ::close(fd);
    }
    out[key] = en;
  }
  ::closedir(d);
}

Tree Snapshot() {
  Tree t;
  Walk(g_box, "", t);
  return t;
}

int OpenDescriptors() {
  int n = 0;
  DIR* d = ::opendir("/proc/self/fd");
  while (d && ::readdir(d)) ++n;
  if (d) ::closedir(d);
  return n;
}

// --- System calls that fail on request.

class FaultyOps : public runtime::FileOps {
 public:
  FaultyOps(int failAt, int how, bool shortWrites) : fail_at_(failAt), how_(how), short_(shortWrites) {}

  int Open(const char* path, int flags, mode_t mode) override {
    if (Hit()) return Refuse(how_ == 1 ? EEXIST : Errno());
    return FileOps::Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (Hit()) {
      if (how_ == 2) return 0;  // no progress
      return Refuse(how_ == 3 ? EINTR : Errno());
    }
    if (short_ && size > 1) size = size / 2 + 1;
    return FileOps::Write(fd, data, size);
  }
  int Fchmod(int fd, mode_t mode) override { return Hit() ? Refuse(Errno()) : FileOps::Fchmod(fd, mode); }
  int Fchown(int fd, uid_t owner, gid_t group) override {
    return Hit() ? Refuse(Errno()) : FileOps::Fchown(fd, owner, group);
  }
  int Ftruncate(int fd, off_t length) override {
    return Hit() ? Refuse(Errno()) : FileOps::Ftruncate(fd, length);
  }
  int Reserve(int fd, off_t length) override {
    return Hit() ? Refuse(Errno()) : FileOps::Reserve(fd, length);
  }
  int Fsync(int fd) override { return Hit() ? Refuse(Errno()) : FileOps::Fsync(fd); }
  int Close(int fd) override {
    const int rc = FileOps::Close(fd);  // the descriptor goes either way, as on Linux
    return Hit() ? Refuse(Errno()) : rc;
  }
  int Rename(const char* from, const char* to) override {
    return Hit() ? Refuse(Errno()) : FileOps::Rename(from, to);
  }
  // Cleaning up never fails here: a temporary left by a failed unlink is the
  // system's doing, not the writer's.

 private:
  bool Hit() { return ++calls_ == fail_at_; }
  int Errno() const {
    static constexpr int kErrors[] = {EIO, ENOSPC, EACCES, EDQUOT, EROFS, ENOENT, EFBIG, EPERM};
    return kErrors[(how_ + fail_at_) % 8];
  }
  static int Refuse(int err) {
    errno = err;
    return -1;
  }

  int fail_at_, how_;
  bool short_;
  int calls_ = 0;
};

// --- Paths.

bool InsideBox(const std::string& resolved) {
  return resolved.size() > g_box.size() && resolved.compare(0, g_box.size(), g_box) == 0 &&
         resolved[g_box.size()] == '/';
}

void CheckResolved(const std::string& typed, const std::string& r) {
  if (r.empty() || r[0] != '/') Fail("Resolve gave a relative path", typed);
  if (r != "/" && r.back() == '/') Fail("Resolve left a trailing slash", typed);
  if (r.find("//") != std::string::npos) Fail("Resolve left an empty component", typed);
  for (const char* bad : {"/./", "/../"})
    if ((r + "/").find(bad) != std::string::npos) Fail("Resolve left a dot component", typed);
  if (dlg::Resolve("/", r) != r) Fail("Resolve is not idempotent", typed);
}

// The file a successful save must have written: links are followed.
std::string PhysicalKey(const std::string& path) {
  std::string p = path[0] == '/' ? path : g_box + "/" + path;
  char* real = ::realpath(p.c_str(), nullptr);
  if (real) {
    p = real;
    std::free(real);
  } else {
    // Not there yet, or a dangling link, which the file replaces.
    char* dir = ::realpath(dlg::ParentOf(dlg::Resolve(g_box, p)).c_str(), nullptr);
    if (!dir) return {};
    p = std::string(dir) + "/" + dlg::NameOf(dlg::Resolve(g_box, p));
    std::free(dir);
  }
  return InsideBox(p) ? p.substr(g_box.size() + 1) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/hwf-savefuzz-XXXXXX";
  if (!::mkdtemp(tmpl)) std::abort();
  g_parent = tmpl;
  g_box = g_parent + "/box";
  if (::mkdir(g_box.c_str(), 0755) != 0) std::abort();
  RefillBox();
  if (::chdir(g_box.c_str()) != 0) std::abort();
  std::atexit([] {
    std::error_code ec;
    fs::remove_all(g_parent, ec);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const int width = data[0] % 24 + 1, height = data[1] % 24 + 1;
  const int fail_at = data[2] & 31, how = data[2] >> 5;
  const bool through_dialog = data[3] & 1, short_writes = data[3] & 2;
  std::string path(reinterpret_cast<const char*>(data) + 4, size - 4);

  if (through_dialog) {
    const std::string problem = dlg::NameProblem(path);
    bool control = false;
    for (unsigned char c : path) control |= c < 0x20 || c == 0x7F;
    if (control && problem.empty()) Fail("a name with a control character passed the name rules", path);
    if (!problem.empty() || path.find_first_not_of(' ') == std::string::npos) return 0;
    const std::string resolved = dlg::Resolve(g_box, path);
    CheckResolved(path, resolved);
    if (path[0] == '/' && resolved != dlg::Resolve("/", path))
      Fail("an absolute name depends on the folder", path);
    if (!InsideBox(resolved)) return 0;  // the user went elsewhere: not ours to write
    path = resolved;
  } else {
    if (!path.empty() && path[0] == '/') path = g_box + path;
    // The NUL-free prefix is what the system would see; it must stay home.
    const std::string seen = path.substr(0, path.find('\0'));
    if (!seen.empty() && !InsideBox(dlg::Resolve(g_box, seen))) return 0;
  }

  RefillBox();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint32_t>(i * 0x9E3779B9u) >> 8;
  const runtime::PictureView picture{pixels, width, height};
  Tree before = Snapshot();
  const int fds = OpenDescriptors();
  const std::string target = path.find('\0') == std::string::npos ? PhysicalKey(path) : std::string();

  FaultyOps ops(fail_at, how, short_writes);
  bool saved = false;
  try {
    runtime::SavePicture(picture, path, ops);
    saved = true;
  } catch (const runtime::FileError& e) {
    if (e.Path() != path) Fail("the error names another path", path);
    switch (e.Number()) {
      case runtime::kErrBadFileName:
      case runtime::kErrDiskFull:
      case runtime::kErrPermissionDenied:
      case runtime::kErrPathFileAccess:
      case runtime::kErrPathNotFound:
        break;
      default:
        Fail("unexpected error number", path);
    }
  }

  if (OpenDescriptors() != fds) Fail("a descriptor leaked", path);
  {
    Tree beside;
    Walk(g_parent, "", beside);
    for (const auto& [name, entry] : beside)
      if (name != "box" && name.rfind("box/", 0) != 0) Fail("something was written beside the box", path);
  }
  Tree after = Snapshot();
  if (!saved) {
    if (after != before) Fail("a failed save changed the folder", path);
    return 0;
  }
  if (path.find('\0') != std::string::npos) Fail("a name with a NUL byte was saved under its prefix", path);
  if (target.empty()) Fail("saved, but the target is not a file in the box", path);
  const auto it = after.find(target);
  if (it == after.end() || it->second.type != 'f') Fail("no file at the target after a save", path);
  const std::vector<std::uint8_t> want = runtime::EncodeBmp24(picture);
  const std::string& got = it->second.content;
  if (got.size() != runtime::kBmpHeaderSize + runtime::BmpRowStride(width) * height)
    Fail("the file has the wrong size", path);
  if (got.compare(0, 2, "BM") != 0) Fail("the file does not begin with BM", path);
  if (std::memcmp(got.data(), want.data(), want.size()) != 0)
    Fail("the file differs from the encoding", path);
  // Nothing else changed: take the target out of both and compare. (A dangling
  // link as target is itself the target: the file replaces it.)
  before.erase(target);
  after.erase(target);
  if (before != after) Fail("a save touched something besides its target", path);
  return 0;
}
