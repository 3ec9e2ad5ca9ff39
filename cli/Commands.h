#pragma once
// The k4r commands as functions: arguments in, text out, an exit code back.

#include <iosfwd>
#include <string>
#include <vector>

namespace k4r::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs k4r with `arguments` (without the program name); `in` stands for
// standard input.
[[nodiscard]] int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                      std::ostream& err);

}  // namespace k4r::cli
