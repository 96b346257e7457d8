// Runs a piece of a test as an ordinary user. Permission checks do not apply
// to root, and CI runs the tests as root: there the piece runs in a child
// process that has dropped to the user "nobody" and its group for good, so
// the checks apply as they do for any user. Run as an ordinary user, the child
// keeps that user.
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

}  // namespace hwf::test
