// Runs a piece of a test in a child process: as an ordinary user, or for
// failures the test process must not suffer itself (a file size limit).
// Permission checks do not apply to root, and CI runs the tests as root: there
// the piece runs in a child process that has dropped to the user "nobody" and
// its group for good, so the checks apply as they do for any user. Run as an
// ordinary user, the child keeps that user.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

namespace hwf::test {

struct UserIds {
  uid_t uid;
  gid_t gid;
};

// The ids the child runs with; nullopt when the tests run as root and the
// system has no "nobody".
std::optional<UserIds> UnprivilegedIds();

// Runs `body` in the child and returns what it returned. A child that could
// not start, drop its privileges or finish returns a text beginning with "!"
// that says why. `body` must not use test assertions: they would be lost
// with the child. It should report what it saw and let the test judge.
std::string RunUnprivileged(const std::function<std::string()>& body);

inline constexpr int kChildCrashed = 250;
inline constexpr int kChildCannotDrop = 251;

// Forks, with drop_root becomes the unprivileged user as above, runs `body`
// and exits with what it returns (kChildCrashed on an exception, which is
// printed). Returns that status, or -1 when the child died of a signal.
int RunInChild(const std::function<int()>& body, bool drop_root = false);

}  // namespace hwf::test
