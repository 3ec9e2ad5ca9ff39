#pragma once
// One line of progress on standard error for work that runs long: the phase,
// files done of all, the rate and the time left. Drawn only on a terminal
// (k4r's main marks its error stream when it is one) and only once the work
// has run about a second; never with --quiet.

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace k4r::cli {

// Marks `stream` as a terminal someone watches. Unmarked streams (pipes,
// files, a test's string stream) never get a progress line.
void MarkAsTerminal(std::ostream& stream);

class Progress {
 public:
  using Clock = std::chrono::steady_clock;
  // `command` starts the line ("k4r set").
  Progress(std::ostream& err, bool quiet, std::string command);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Starts a phase ("checking", "writing", "committing") of `total` files.
  void Phase(std::string_view name, std::size_t total);
  // `done` files of the phase's total are through. Cheap enough to call
  // for every file.
  void Advance(std::size_t done);
  // Clears the line, so that messages after it start on a clean line.
  void Clear();

  // The line for `done` of `total` after `seconds` of the phase.
  [[nodiscard]] static std::string Line(std::string_view command, std::string_view phase, std::size_t done,
                                        std::size_t total, double seconds);

 private:
  void Draw(Clock::time_point now);

  std::ostream* err_ = nullptr;  // null: nothing is drawn
  std::string command_;
  std::string phase_;
  std::size_t total_ = 0;
  std::size_t done_ = 0;
  Clock::time_point started_;
  Clock::time_point phaseStarted_;
  Clock::time_point drawn_;
  std::size_t shownWidth_ = 0;
};

}  // namespace k4r::cli
