#ifndef _WIN32

#include "faults/FaultTools.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace k4r::testing {
namespace fs = std::filesystem;

std::string MountSmallFileSystem(const fs::path& folder, std::size_t bytes) {
  // Root needs only its own mount namespace; anyone else may get one inside
  // a user namespace where the kernel allows that.
  const int flags = ::geteuid() == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS;
  if (::unshare(flags) != 0) {
    return std::string("no private mount namespace: ") + std::strerror(errno);
  }
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("cannot make the mounts private: ") + std::strerror(errno);
  }
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  if (::mount("k4r-test", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
    return std::string("cannot mount a small tmpfs: ") + std::strerror(errno);
  }
  return {};
}

bool FillFileSystem(const fs::path& path, std::size_t leaveFree) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  const std::vector<char> zeros(4096, '\0');
  off_t size = 0;
  bool full = false;
  for (int i = 0; i < 1'000'000; ++i) {
    const ssize_t written = ::write(fd, zeros.data(), zeros.size());
    if (written <= 0) {
      full = errno == ENOSPC;
      break;
    }
    size += written;
  }
  const off_t kept = size > static_cast<off_t>(leaveFree) ? size - static_cast<off_t>(leaveFree) : 0;
  const bool shrunk = ::ftruncate(fd, kept) == 0;
  ::close(fd);
  return full && shrunk;
}

std::string LimitAddressSpace(std::size_t headroom) {
#if defined(__SANITIZE_ADDRESS__)
  return "the address sanitizer's shadow memory does not live with an address-space limit";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return "the address sanitizer's shadow memory does not live with an address-space limit";
#endif
#endif
  // statm's first field is the mapped size in pages.
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  if (!(statm >> pages)) {
    return "cannot read /proc/self/statm";
  }
  rlimit limit{};
  ::getrlimit(RLIMIT_AS, &limit);
  limit.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + headroom;
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_cur > limit.rlim_max) {
    return "the hard address-space limit is lower than needed";
  }
  return ::setrlimit(RLIMIT_AS, &limit) == 0 ? ""
                                             : std::string("cannot limit the address space: ") + std::strerror(errno);
}

void LiftAddressSpaceLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_AS, &limit);
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_AS, &limit);
}

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::stol(line.substr(6));
    }
  }
  return -1;
}

}  // namespace k4r::testing

#endif
