// Runs a piece of a test in a child process: for failures the test process
// must not suffer itself (a file size limit) or cannot meet as root (a
// folder it may not write). The child reports through its exit status.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <functional>

namespace hwf::testing {

inline constexpr int kChildCrashed = 250;
inline constexpr int kChildCannotDrop = 251;

// Forks, optionally becomes the unprivileged user "nobody" when running as
// root, runs `body` and exits with what it returns (kChildCrashed on an
// exception). Returns that status, or -1 when the child died of a signal.
inline int RunInChild(const std::function<int()>& body, bool drop_root = false) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    int rc = kChildCrashed;
    if (drop_root && ::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::setgroups(0, nullptr) != 0 ||
          ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0 ||
          ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0)
        ::_exit(kChildCannotDrop);
    }
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
  while (::waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace hwf::testing
