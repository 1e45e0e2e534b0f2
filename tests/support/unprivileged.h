#pragma once

#include <functional>
#include <string>

#include <sys/types.h>

namespace tessaly {

// The user whom file permissions bind: nobody when the tests run as root (as CI runs them),
// the current user otherwise.
struct User {
    uid_t uid;
    gid_t gid;
};
User unprivilegedUser();

// Runs `body` in a child process as unprivilegedUser() and returns the text it returned,
// so a refused read or write can be tested whoever runs the suite. Nothing else comes back
// from the child: it must not use gtest assertions. A child that could not drop its rights
// or did not finish gives a text that says so.
std::string runUnprivileged(const std::function<std::string()>& body);

} // namespace tessaly
