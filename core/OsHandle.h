#pragma once
// An owning wrapper for the operating system's open-file handle, used inside
// the core's file functions only.

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#include <cerrno>
#endif

#include <utility>

namespace k4r::os {

#ifdef _WIN32
using NativeHandle = HANDLE;
inline const NativeHandle kNoHandle = INVALID_HANDLE_VALUE;
inline bool CloseNative(NativeHandle handle) {
  return CloseHandle(handle) != 0;
}
#else
using NativeHandle = int;
inline constexpr NativeHandle kNoHandle = -1;
// An interrupted close has still released the descriptor on Linux, so it is
// not retried; it counts as success because nothing was lost.
inline bool CloseNative(NativeHandle handle) {
  return ::close(handle) == 0 || errno == EINTR;
}
#endif

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(NativeHandle handle) : handle_(handle) {}
  ~UniqueHandle() { static_cast<void>(Close()); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      static_cast<void>(Close());
      handle_ = std::exchange(other.handle_, kNoHandle);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  [[nodiscard]] bool valid() const { return handle_ != kNoHandle; }
  [[nodiscard]] NativeHandle get() const { return handle_; }

  // Closes now and tells whether the system accepted it (a failed close can
  // mean lost data on some file systems).
  [[nodiscard]] bool Close() {
    if (!valid()) {
      return true;
    }
    return CloseNative(std::exchange(handle_, kNoHandle));
  }

 private:
  NativeHandle handle_ = kNoHandle;
};

}  // namespace k4r::os
