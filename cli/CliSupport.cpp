#include "cli/CliSupport.h"

#include <CLI/CLI.hpp>
#include <QString>
#include <ostream>
#include <system_error>

#include "bridge/Cp932.h"
#include "core/Messages.h"

namespace k4r::cli {

ShownText ShowCp932(ByteView bytes) {
  // Broken bytes read as U+FFFD; they, and the code page's duplicate codes
  // (which read as their common form), do not give the same bytes back.
  const QString decoded = bridge::FromCp932(bytes);
  const std::optional<ByteString> back = bridge::ToCp932(decoded);
  return {decoded.toStdString(), back.has_value() && *back == bytes};
}

std::string Utf8FromCp932(ByteView bytes) {
  return ShowCp932(bytes).utf8;
}

std::optional<ByteString> Cp932FromUtf8(std::string_view text) {
  // Qt turns broken UTF-8 into U+FFFD, which CP932 cannot hold; checking the
  // way back catches both kinds of bad input in one place.
  const QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (decoded.toUtf8() != QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))) {
    return std::nullopt;
  }
  return bridge::ToCp932(decoded);
}

std::string HexOf(ByteView bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    hex.push_back(kDigits[value >> 4]);
    hex.push_back(kDigits[value & 0x0F]);
  }
  return hex;
}

std::optional<ByteString> BytesOfHex(std::string_view spaced) {
  std::string hex;
  for (std::size_t i = 0; i < spaced.size(); ++i) {
    // A space may only stand between two bytes.
    if (spaced[i] == ' ' && hex.size() % 2 == 0 && !hex.empty() && i + 1 < spaced.size() && spaced[i + 1] != ' ') {
      continue;
    }
    hex += spaced[i];
  }
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') {
      return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
      return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
      return c - 'A' + 10;
    }
    return -1;
  };
  if (hex.size() % 2 != 0) {
    return std::nullopt;
  }
  ByteString bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::filesystem::path PathFromArgument(std::string_view argument) {
  return bridge::ToPath(bridge::FromUtf8(argument));
}

void ReportFailure(std::ostream& err, const Failure& failure) {
  ReportFailure(err, failure.message);
}

void ReportFailure(std::ostream& err, std::string_view message) {
  err << message << ".\n";
}

void AddQuietOption(CLI::App& command, bool& quiet) {
  command.add_flag("-q,--quiet", quiet, "No progress line on a terminal while many files take long");
}

void AddNameListOptions(CLI::App& command, NameListOptions& options) {
  command
      .add_option("--officer-list", options.officerList,
                  "Officer name list (BUSHOU.DAT: CP932, one name per line; line 1 is \"no officer\")")
      ->type_name("PATH");
  command.add_option("--face-list", options.faceList, "Face name list (KAO.DAT: CP932, one name per face)")
      ->type_name("PATH");
  command.add_option("--face-file", options.faceFile, "Face graphics file (KAO_M.VX9)")->type_name("PATH");
}

NameListSizes LoadedNameLists::Sizes() const {
  NameListSizes sizes;
  if (officers) {
    sizes.officers = static_cast<std::int32_t>(officers->size());
  }
  if (faces) {
    sizes.faces = static_cast<std::int32_t>(faces->size());
  }
  return sizes;
}

namespace {

std::optional<NameList> LoadNamed(const std::string& argument, std::ostream& err) {
  if (argument.empty()) {
    return std::nullopt;
  }
  const std::filesystem::path path = PathFromArgument(argument);
  NameListLoad load = LoadNameList(path);
  switch (load.outcome) {
    case NameListLoad::Outcome::Loaded: return std::move(load.entries);
    case NameListLoad::Outcome::Missing:
      err << "warning: ";
      ReportFailure(err, messages::CannotOpen(path));
      return std::nullopt;
    case NameListLoad::Outcome::Unreadable:
      err << "warning: ";
      ReportFailure(err, load.failure);
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

LoadedNameLists LoadNameLists(const NameListOptions& options, std::ostream& err) {
  LoadedNameLists lists;
  lists.officers = LoadNamed(options.officerList, err);
  lists.faces = LoadNamed(options.faceList, err);
  lists.availability.officerList = lists.officers.has_value();
  // As at the editor's start: the face list must be loaded and the graphics
  // file must exist (a folder does not count); it is not read here.
  bool faceFileExists = false;
  if (!options.faceFile.empty()) {
    std::error_code error;
    faceFileExists = std::filesystem::is_regular_file(PathFromArgument(options.faceFile), error);
  }
  lists.availability.face = lists.faces.has_value() && faceFileExists;
  return lists;
}

}  // namespace k4r::cli
