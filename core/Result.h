#pragma once
// Success-or-failure values for operations whose failures the user sees.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace k4r {

// A failure as the user is told of it: the message text (UTF-8) without the
// full stop that the error box appends.
struct Failure {
  std::string message;
  friend bool operator==(const Failure&, const Failure&) = default;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}            // NOLINT: implicit by design
  Result(Failure failure) : state_(std::move(failure)) {}  // NOLINT

  [[nodiscard]] bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  [[nodiscard]] const T& value() const& { return std::get<0>(state_); }
  [[nodiscard]] T& value() & { return std::get<0>(state_); }
  [[nodiscard]] T&& value() && { return std::get<0>(std::move(state_)); }
  [[nodiscard]] const Failure& failure() const { return std::get<1>(state_); }

 private:
  std::variant<T, Failure> state_;
};

struct Done {};
// The outcome of an operation that yields nothing but may fail.
using Status = Result<Done>;
inline Status Success() {
  return Done{};
}

}  // namespace k4r
