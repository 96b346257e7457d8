#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/win32.h"

extern char** environ;

namespace {

HINSTANCE Result(INT_PTR code) { return reinterpret_cast<HINSTANCE>(code); }

// The child is reaped by a detached waiter of its own, so a finished
// browser leaves no zombie and no other child of the program is disturbed.
void ReapLater(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

// Whether a program of that name can be run from PATH. posix_spawnp says
// so itself on glibc, but not every C library reports a failed exec to the
// parent, so the search is made here first.
bool OnPath(const std::string& prog) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    std::string candidate = end > start ? dirs.substr(start, end - start) : std::string(".");
    candidate.push_back('/');
    candidate.append(prog);
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT) {
  if (!file || !*file) return Result(SE_ERR_FNF);
  if (operation && *operation && std::strcmp(operation, "open") != 0) return Result(SE_ERR_NOASSOC);
  if ((parameters && *parameters) || (directory && *directory)) return Result(SE_ERR_NOASSOC);
  std::string prog = "xdg-open";
  if (!OnPath(prog)) return Result(SE_ERR_FNF);
  std::string arg = file;
  char* argv[] = {prog.data(), arg.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The browser's chatter does not belong on the program's terminal.
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int err = posix_spawnp(&pid, prog.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err == ENOENT) return Result(SE_ERR_FNF);
  if (err == EACCES) return Result(SE_ERR_ACCESSDENIED);
  if (err == ENOMEM) return Result(SE_ERR_OOM);
  if (err != 0) return Result(SE_ERR_NOASSOC);
  ReapLater(pid);
  return Result(42);
}
