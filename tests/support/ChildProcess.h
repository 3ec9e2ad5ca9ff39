#pragma once
// Running part of a test in a forked child, so that resource limits and a
// changed identity do not leak into the test process.

#include <functional>
#include <optional>
#include <string>

namespace k4r::testing {

// Runs `body` in a child process and returns the text it produced, or
// nothing when the child did not end normally.
[[nodiscard]] std::optional<std::string> RunInChild(const std::function<std::string()>& body);

// Root ignores permission bits, so permission faults are exercised as the
// unprivileged user "nobody". As root, gives files to that user; otherwise
// does nothing. True when it succeeded.
bool HandToUnprivilegedUser(const std::string& path);

// In a child: drops root rights to that user (no-op when not root).
bool DropRootRights();

}  // namespace k4r::testing
