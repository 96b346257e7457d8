#include "export/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "export/export_error.h"

namespace exporter {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
constexpr int kTempNameAttempts = 100;

// The temporary files being written, where a signal handler can read them:
// fixed buffers, published by a flag, never freed.
constexpr int kSlots = 64;
struct Unfinished {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 holds a name
  char name[PATH_MAX];
};
Unfinished g_unfinished[kSlots];

int Remember(const std::string& name) {
  if (name.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (g_unfinished[i].state.compare_exchange_strong(expected, 1)) {
      std::memcpy(g_unfinished[i].name, name.c_str(), name.size() + 1);
      g_unfinished[i].state.store(2, std::memory_order_release);
      return i;
    }
  }
  return -1;  // more files at once than slots: those are not cleaned up on a signal
}

void Forget(int slot) {
  if (slot >= 0) g_unfinished[slot].state.store(0, std::memory_order_release);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string TempNameIn(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + "/.hwf-render-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) +
         ".tmp";
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path) : path_(path), target_(path) {
  if (path.empty() || path.back() == '/') Fail("cannot write", EISDIR);
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (real) target_ = real.get();
  }
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) Fail("cannot write", EISDIR);
  if (exists && !S_ISREG(st.st_mode))
    throw ExportError("cannot write " + path + ": it is not a regular file, and it is left as it is");

  const std::string folder = FolderOf(target_);
  for (int attempt = 0; attempt < kTempNameAttempts && fd_ < 0; ++attempt) {
    temp_ = TempNameIn(folder);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int err = errno;
    temp_.clear();
    Fail("cannot write", err);
  }
  slot_ = Remember(temp_);
  // A replaced file keeps its permissions.
  if (exists) ::fchmod(fd_, st.st_mode & 07777);
  buffer_.reserve(kBufferBytes);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
  Forget(slot_);
}

void AtomicFile::Fail(const char* what, int os_error) { throw FileWriteError(path_, what, os_error); }

void AtomicFile::Drain() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    // A write that makes no progress counts as a full disk rather than
    // looping for ever.
    if (n <= 0) Fail("cannot write", n < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

void AtomicFile::Write(const void* data, std::size_t size) {
  if (fd_ < 0) Fail("cannot write", EBADF);
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const std::size_t n = std::min(size, kBufferBytes - buffer_.size());
    buffer_.insert(buffer_.end(), p, p + n);
    p += n;
    size -= n;
    if (buffer_.size() == kBufferBytes) Drain();
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) Fail("cannot write", EBADF);
  Drain();
  if (::fsync(fd_) != 0) Fail("cannot write", errno);
  const int rc = ::close(fd_);
  fd_ = -1;
  if (rc != 0) Fail("cannot write", errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail("cannot write", errno);
  temp_.clear();
}

void RemoveUnfinishedFiles() noexcept {
  for (Unfinished& u : g_unfinished) {
    if (u.state.load(std::memory_order_acquire) == 2) ::unlink(u.name);
  }
}

void WriteFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce) {
  AtomicFile file(path);
  produce(file);
  file.Commit();
}

}  // namespace exporter
