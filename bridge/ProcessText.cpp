#include "bridge/ProcessText.h"

#include <cstdio>
#include <iostream>
#include <ostream>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace k4r::bridge {

std::vector<std::string> Utf8Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
  std::vector<std::string> arguments;
#ifdef _WIN32
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    for (int index = 1; index < count; ++index) {
      arguments.push_back(QString::fromWCharArray(wide[index]).toStdString());
    }
    LocalFree(wide);
    return arguments;
  }
#endif
  arguments.assign(argv + 1, argv + argc);
  return arguments;
}

ConsoleBuffer::~ConsoleBuffer() {
  sync();
}

ConsoleBuffer::int_type ConsoleBuffer::overflow(int_type character) {
  if (!traits_type::eq_int_type(character, traits_type::eof())) {
    pending_.push_back(traits_type::to_char_type(character));
  }
  return traits_type::not_eof(character);
}

std::streamsize ConsoleBuffer::xsputn(const char* text, std::streamsize count) {
  pending_.append(text, static_cast<std::size_t>(count));
  return count;
}

int ConsoleBuffer::sync() {
  // The decoder keeps an unfinished sequence for the next flush.
  const QString text = decoder_(QByteArrayView(pending_.data(), static_cast<qsizetype>(pending_.size())));
  pending_.clear();
  if (!text.isEmpty()) {
    write_(text);
  }
  return 0;
}

#ifdef _WIN32
namespace {

// The console behind a standard handle, or nullptr for a file, a pipe or none.
HANDLE ConsoleOf(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || GetConsoleMode(handle, &mode) == 0) {
    return nullptr;
  }
  return handle;
}

std::unique_ptr<std::streambuf> ConsoleBufferFor(HANDLE console) {
  if (console == nullptr) {
    return nullptr;
  }
  return std::make_unique<ConsoleBuffer>([console](const QString& text) {
    DWORD written = 0;
    WriteConsoleW(console, reinterpret_cast<const wchar_t*>(text.utf16()), static_cast<DWORD>(text.size()), &written,
                  nullptr);
  });
}

}  // namespace
#endif

Utf8StandardStreams::Utf8StandardStreams() : out_(&std::cout), err_(&std::cerr) {
#ifdef _WIN32
  // Bytes as they are: no CR added before LF, no end at a 0x1A in the input.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  outConsole_ = ConsoleBufferFor(ConsoleOf(STD_OUTPUT_HANDLE));
  errConsole_ = ConsoleBufferFor(ConsoleOf(STD_ERROR_HANDLE));
#endif
  if (outConsole_) {
    ownOut_ = std::make_unique<std::ostream>(outConsole_.get());
    out_ = ownOut_.get();
  }
  if (errConsole_) {
    ownErr_ = std::make_unique<std::ostream>(errConsole_.get());
    ownErr_->setf(std::ios::unitbuf);
    err_ = ownErr_.get();
  }
}

bool Utf8StandardStreams::ErrIsTerminal() const {
#ifdef _WIN32
  return errConsole_ != nullptr;
#else
  return ::isatty(STDERR_FILENO) == 1;
#endif
}

Utf8StandardStreams::~Utf8StandardStreams() {
  out_->flush();
  err_->flush();
}

}  // namespace k4r::bridge
