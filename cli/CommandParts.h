#pragma once
// How each k4r command plugs into the dispatcher: it adds its subcommand,
// binds its options, and hands back the action to run once parsing is done.

#include <functional>
#include <iosfwd>

namespace CLI {
class App;
}

namespace k4r::cli {

// Runs a parsed command; returns the exit code.
using CommandAction = std::function<int(std::istream& in, std::ostream& out, std::ostream& err)>;

struct CommandEntry {
  CLI::App* command = nullptr;
  CommandAction action;
};

[[nodiscard]] CommandEntry AddDumpCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddSetCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddFindCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddFaceCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddDemoCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddFacesCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddSetFaceCommand(CLI::App& app);
[[nodiscard]] CommandEntry AddDiffCommand(CLI::App& app);

}  // namespace k4r::cli
