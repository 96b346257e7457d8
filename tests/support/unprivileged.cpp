#include "support/unprivileged.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace hwf::test {
namespace {

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string Drop(const UserIds& ids) {
  if (::setgroups(0, nullptr) != 0) return std::string("!setgroups: ") + std::strerror(errno);
  if (::setresgid(ids.gid, ids.gid, ids.gid) != 0) return std::string("!setresgid: ") + std::strerror(errno);
  if (::setresuid(ids.uid, ids.uid, ids.uid) != 0) return std::string("!setresuid: ") + std::strerror(errno);
  if (::geteuid() == 0 || ::setresuid(0, 0, 0) == 0) return "!still root after dropping";
  return {};
}

// In the child: never returns to the test framework. The ids were looked up
// before the fork, where the user database may be read safely.
[[noreturn]] void Child(int out, bool root, const std::optional<UserIds>& ids,
                        const std::function<std::string()>& body) {
  std::string result;
  if (root) result = ids ? Drop(*ids) : "!no user nobody";
  if (result.empty()) {
    try {
      result = body();
    } catch (const std::exception& e) {
      result = std::string("!exception: ") + e.what();
    } catch (...) {
      result = "!exception";
    }
  }
  WriteAll(out, result);
  ::close(out);
  ::_exit(0);
}

}  // namespace

std::optional<UserIds> UnprivilegedIds() {
  if (::geteuid() != 0) return UserIds{::geteuid(), ::getegid()};
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody || nobody->pw_uid == 0) return std::nullopt;
  gid_t gid = nobody->pw_gid;
  if (const group* g = ::getgrnam("nogroup")) gid = g->gr_gid;
  return UserIds{nobody->pw_uid, gid};
}

std::string RunUnprivileged(const std::function<std::string()>& body) {
  const bool root = ::geteuid() == 0;
  const std::optional<UserIds> ids = UnprivilegedIds();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::string("!pipe: ") + std::strerror(errno);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return std::string("!fork: ") + std::strerror(errno);
  }
  if (pid == 0) {
    ::close(fds[0]);
    Child(fds[1], root, ids, body);
  }
  ::close(fds[1]);
  std::string result;
  char buf[512];
  for (;;) {
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "!the child did not finish: " + result;
  return result;
}

int RunInChild(const std::function<int()>& body, bool drop_root) {
  const std::optional<UserIds> ids = drop_root && ::geteuid() == 0 ? UnprivilegedIds() : std::nullopt;
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (drop_root && ::geteuid() == 0) {
      const std::string why = ids ? Drop(*ids) : "!no user nobody";
      if (!why.empty()) {
        std::fprintf(stderr, "child: %s\n", why.c_str());
        ::_exit(kChildCannotDrop);
      }
    }
    int rc = kChildCrashed;
    try {
      rc = body();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "child: %s\n", e.what());
    } catch (...) {
    }
    std::fflush(nullptr);
    ::_exit(rc);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace hwf::test
