#include "cli/Commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <new>
#include <ostream>
#include <string>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "core/Messages.h"
#include "k4r_version.h"

namespace k4r::cli {
namespace {

constexpr const char* kOverview =
    "k4r - read and edit registered-officer files (.K4R) from the shell, with the same rules as the editor.\n"
    "Text is UTF-8 on the command line and in the output; the files hold code page 932 (Shift-JIS).";

constexpr const char* kFooter =
    "Exit status: 0 success, 1 failure (the editor's message on stderr; for find: not found; for diff: the files\n"
    "differ), 2 usage error (for diff also a file that cannot be read).\n"
    "Run 'k4r COMMAND --help' for the details of a command.\n";

int RunUnguarded(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err) {
  CLI::App app(kOverview, "k4r");
  app.footer(kFooter);
  app.set_version_flag("--version", std::string("k4r ") + kVersion);
  app.require_subcommand(1);
  app.fallthrough(false);

  const std::vector<CommandEntry> commands = {AddDumpCommand(app), AddSetCommand(app),   AddFindCommand(app),
                                              AddFaceCommand(app), AddFacesCommand(app), AddSetFaceCommand(app),
                                              AddDiffCommand(app), AddDemoCommand(app)};

  // Without this CLI11 only says that a command is required.
  if (!arguments.empty() && !arguments.front().starts_with('-')) {
    const bool known = std::any_of(commands.begin(), commands.end(), [&](const CommandEntry& entry) {
      return entry.command->get_name() == arguments.front();
    });
    if (!known) {
      err << "k4r: unknown command '" << arguments.front() << "'\nRun with --help for more information.\n";
      return kExitUsage;
    }
  }

  try {
    // CLI11 takes its arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, out, err);
    return code == 0 ? kExitOk : kExitUsage;
  }

  for (const CommandEntry& entry : commands) {
    if (entry.command->parsed()) {
      return entry.action(in, out, err);
    }
  }
  err << "k4r: no command given\n";
  return kExitUsage;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err) {
  // Nothing may escape: a caller gets an exit code and a message, always.
  try {
    const int code = RunUnguarded(arguments, in, out, err);
    // Output that never arrived (a full disk, a closed pipe) is a failure,
    // however well the command went.
    if (!out.flush()) {
      ReportFailure(err, messages::WriteError());
      return code == kExitOk ? kExitFailure : code;
    }
    return code;
  } catch (const std::bad_alloc&) {
    ReportFailure(err, messages::OutOfMemory());
  } catch (const std::exception& error) {
    err << "k4r: unexpected failure: " << error.what() << "\n";
  } catch (...) {
    err << "k4r: unexpected failure\n";
  }
  return kExitFailure;
}

}  // namespace k4r::cli
