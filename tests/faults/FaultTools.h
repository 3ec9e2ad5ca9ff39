#pragma once
// Real faults for tests: a small file system that fills up, and the memory
// a child process used.
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

// The highest resident memory of this process so far, in KiB (VmHWM).
[[nodiscard]] long PeakResidentKiB();

}  // namespace k4r::testing

#endif
