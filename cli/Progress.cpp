#include "cli/Progress.h"

#include <cmath>
#include <ostream>

namespace k4r::cli {
namespace {

// Work shorter than this shows nothing; a drawn line is redrawn this often.
constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedraw = std::chrono::milliseconds(200);

int TerminalMark() {
  static const int index = std::ios_base::xalloc();
  return index;
}

// 12345 as "12,345": long counts read at a glance.
std::string Grouped(std::size_t value) {
  std::string digits = std::to_string(value);
  for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), 1, ',');
  }
  return digits;
}

std::string Duration(double seconds) {
  const long long whole = std::llround(std::max(seconds, 0.0));
  if (whole < 60) {
    return std::to_string(whole) + " s";
  }
  std::string text = std::to_string(whole / 60);
  text += " min ";
  text += std::to_string(whole % 60);
  text += " s";
  return text;
}

}  // namespace

void MarkAsTerminal(std::ostream& stream) {
  stream.iword(TerminalMark()) = 1;
}

Progress::Progress(std::ostream& err, bool quiet, std::string command)
    : err_(!quiet && err.iword(TerminalMark()) != 0 ? &err : nullptr),
      command_(std::move(command)),
      started_(Clock::now()),
      phaseStarted_(started_),
      drawn_(started_) {}

Progress::~Progress() {
  Clear();
}

void Progress::Phase(std::string_view name, std::size_t total) {
  phase_ = name;
  total_ = total;
  done_ = 0;
  phaseStarted_ = Clock::now();
  if (err_ != nullptr && shownWidth_ > 0) {
    Draw(phaseStarted_);
  }
}

void Progress::Advance(std::size_t done) {
  done_ = done;
  if (err_ == nullptr) {
    return;
  }
  const Clock::time_point now = Clock::now();
  if (now - started_ >= kQuietStart && (shownWidth_ == 0 || now - drawn_ >= kRedraw || done == total_)) {
    Draw(now);
  }
}

void Progress::Clear() {
  if (err_ != nullptr && shownWidth_ > 0) {
    *err_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
  }
}

std::string Progress::Line(std::string_view command, std::string_view phase, std::size_t done, std::size_t total,
                           double seconds) {
  std::string line(command);
  line += ": ";
  line += phase;
  line += ' ';
  line += Grouped(done);
  line += " of ";
  line += Grouped(total);
  line += " files";
  if (done > 0 && seconds > 0) {
    const double rate = static_cast<double>(done) / seconds;
    line += ", ";
    line += Grouped(static_cast<std::size_t>(std::llround(rate)));
    line += " files/s, ";
    line += Duration(static_cast<double>(total - std::min(done, total)) / rate);
    line += " left";
  }
  return line;
}

void Progress::Draw(Clock::time_point now) {
  const double seconds = std::chrono::duration<double>(now - phaseStarted_).count();
  const std::string line = Line(command_, phase_, done_, total_, seconds);
  // Spaces over what a longer line before left, and back to the start:
  // every terminal understands that, escape sequences not all consoles.
  const std::size_t width = line.size();
  *err_ << '\r' << line;
  if (width < shownWidth_) {
    *err_ << std::string(shownWidth_ - width, ' ');
  }
  *err_ << std::flush;
  shownWidth_ = std::max(width, shownWidth_);
  drawn_ = now;
}

}  // namespace k4r::cli
