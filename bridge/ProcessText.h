#pragma once
// k4r speaks UTF-8 on every system. On Windows that takes work: main's argv
// is in the ANSI code page (Japanese typed on a Western system arrives as
// "??"), and bytes written to a console are shown in the console's code page.
// So the arguments are read from the wide command line, and a console gets
// its text through the wide console function; a file or a pipe gets the
// UTF-8 bytes unchanged, without line-ending translation, as on Linux.

#include <QString>
#include <QStringDecoder>
#include <functional>
#include <iosfwd>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace k4r::bridge {

// The program's arguments without the program name, as UTF-8.
[[nodiscard]] std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and standard error for UTF-8 text while the object lives;
// standard input is read as bytes.
class Utf8StandardStreams {
 public:
  Utf8StandardStreams();
  ~Utf8StandardStreams();
  Utf8StandardStreams(const Utf8StandardStreams&) = delete;
  Utf8StandardStreams& operator=(const Utf8StandardStreams&) = delete;

  [[nodiscard]] std::ostream& Out() const { return *out_; }
  [[nodiscard]] std::ostream& Err() const { return *err_; }
  // Whether standard error is a terminal (a console on Windows) someone
  // watches, rather than a pipe or a file.
  [[nodiscard]] bool ErrIsTerminal() const;

 private:
  std::unique_ptr<std::streambuf> outConsole_;
  std::unique_ptr<std::streambuf> errConsole_;
  std::unique_ptr<std::ostream> ownOut_;
  std::unique_ptr<std::ostream> ownErr_;
  std::ostream* out_;
  std::ostream* err_;
};

// UTF-8 text handed on as UTF-16 to `write` (a console's wide write) at each
// flush. A character split across two writes is held back until it is whole;
// bytes that are not UTF-8 come out as U+FFFD.
class ConsoleBuffer : public std::streambuf {
 public:
  using WideWriter = std::function<void(const QString&)>;
  explicit ConsoleBuffer(WideWriter write) : write_(std::move(write)) {}
  ~ConsoleBuffer() override;
  ConsoleBuffer(const ConsoleBuffer&) = delete;
  ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;

 protected:
  int_type overflow(int_type character) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  WideWriter write_;
  QStringDecoder decoder_{QStringDecoder::Utf8};
  std::string pending_;
};

}  // namespace k4r::bridge
