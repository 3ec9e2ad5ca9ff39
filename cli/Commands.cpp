#include "cli/Commands.h"

#include <ostream>

namespace k4r::cli {

int Run(const std::vector<std::string>& /*arguments*/, std::ostream& /*out*/, std::ostream& err) {
  err << "k4r: no commands yet\n";
  return kExitUsage;
}

}  // namespace k4r::cli
