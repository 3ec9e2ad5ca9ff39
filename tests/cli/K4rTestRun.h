#pragma once
// Running k4r in the test process and building its inputs.

#include <gtest/gtest.h>
#include <QString>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/Cp932.h"
#include "cli/Commands.h"
#include "core/Bytes.h"

namespace k4r::testing {

struct K4rRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline K4rRun RunK4r(const std::vector<std::string>& arguments, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = cli::Run(arguments, in, out, err);
  return {code, out.str(), err.str()};
}

// The CP932 bytes of a UTF-8 text the code page holds.
inline ByteString Sjis(const char* utf8) {
  return bridge::ToCp932(QString::fromUtf8(utf8)).value();
}

inline nlohmann::ordered_json ParseJson(const std::string& text) {
  return nlohmann::ordered_json::parse(text);
}

// The JSON object `k4r dump` prints for one file, or a null value (with the
// reason in the test log) when it fails.
inline nlohmann::ordered_json DumpOf(const std::string& path, std::vector<std::string> options = {}) {
  std::vector<std::string> arguments{"dump", path};
  arguments.insert(arguments.end(), options.begin(), options.end());
  const K4rRun run = RunK4r(arguments);
  if (run.exitCode != 0) {
    ADD_FAILURE() << "dump failed: " << run.err;
    return nullptr;
  }
  return ParseJson(run.out);
}

}  // namespace k4r::testing
