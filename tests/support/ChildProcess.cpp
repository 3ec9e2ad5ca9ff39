#include "support/ChildProcess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace k4r::testing {
namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
}  // namespace

std::optional<std::string> RunInChild(const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) {
    return std::nullopt;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(channel[0]);
    ::close(channel[1]);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(channel[0]);
    const std::string text = body();
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t written = ::write(channel[1], text.data() + done, text.size() - done);
      if (written <= 0) {
        ::_exit(2);
      }
      done += static_cast<std::size_t>(written);
    }
    ::_exit(0);  // no static destructors or gtest teardown in the child
  }
  ::close(channel[1]);
  std::string text;
  char buffer[512];
  for (;;) {
    const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(channel[0]);
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  return text;
}

bool HandToUnprivilegedUser(const std::string& path) {
  return ::geteuid() != 0 || ::chown(path.c_str(), kNobody, kNogroup) == 0;
}

bool DropRootRights() {
  if (::geteuid() != 0) {
    return true;
  }
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNogroup) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace k4r::testing
