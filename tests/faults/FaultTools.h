#pragma once
// Real faults for tests: a small file system that fills up, an address
// space that runs out, and the memory a child process used.
// POSIX only.

#ifndef _WIN32

#include <cstddef>
#include <filesystem>
#include <string>

namespace k4r::testing {

// In a forked child (see ChildProcess.h): mounts a fresh file system of
// `bytes` bytes on `folder`, visible to this process only (a private mount
// namespace). Empty on success, else why it cannot be had here.
[[nodiscard]] std::string MountSmallFileSystem(const std::filesystem::path& folder, std::size_t bytes);

// Writes zeros into `path` until the file system refuses more, then gives
// back `leaveFree` bytes. False when the file system never filled.
[[nodiscard]] bool FillFileSystem(const std::filesystem::path& path, std::size_t leaveFree);

// In a forked child: limits the address space to what this process maps now
// plus `headroom` bytes, so that a larger allocation fails (RLIMIT_AS).
// Empty on success, else why it cannot be had here.
[[nodiscard]] std::string LimitAddressSpace(std::size_t headroom);

// Lifts that limit again, as far as the hard limit lets it.
void LiftAddressSpaceLimit();

// The highest resident memory of this process so far, in KiB (VmHWM).
[[nodiscard]] long PeakResidentKiB();

}  // namespace k4r::testing

#endif
