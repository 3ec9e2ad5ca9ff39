#pragma once
// What the k4r commands share: UTF-8 outside and CP932 inside, reporting,
// and the three name-list options with what they make available.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/Bytes.h"
#include "core/NameList.h"
#include "core/OfficerFile.h"
#include "core/Result.h"

namespace CLI {
class App;
}

namespace k4r::cli {

// CP932 bytes as UTF-8 for showing. `exact` tells whether converting the
// text back gives the same bytes, that is whether a user can give the text
// back without changing the file.
struct ShownText {
  std::string utf8;
  bool exact = true;
};
// Every byte that is not part of a valid CP932 character shows as U+FFFD
// (one per byte), whatever the codec makes of it.
[[nodiscard]] ShownText ShowCp932(ByteView bytes);
[[nodiscard]] std::string Utf8FromCp932(ByteView bytes);
// nullopt when `text` is not valid UTF-8 or holds a character CP932 lacks.
[[nodiscard]] std::optional<ByteString> Cp932FromUtf8(std::string_view text);
// Lowercase hexadecimal, two digits per byte, nothing between.
[[nodiscard]] std::string HexOf(ByteView bytes);
// The bytes of hexadecimal digits, either case, pairs maybe apart by spaces
// ("8790", "87 90"); nullopt for anything else.
[[nodiscard]] std::optional<ByteString> BytesOfHex(std::string_view hex);

// A command-line argument (UTF-8) as a file system path.
[[nodiscard]] std::filesystem::path PathFromArgument(std::string_view argument);

// The editor's way of telling a failure: its text and a full stop.
void ReportFailure(std::ostream& err, const Failure& failure);
void ReportFailure(std::ostream& err, std::string_view message);

// --officer-list, --face-list, --face-file as given (empty: not given).
struct NameListOptions {
  std::string officerList;
  std::string faceList;
  std::string faceFile;
};
void AddNameListOptions(CLI::App& command, NameListOptions& options);

// -q/--quiet: no progress line (see Progress).
void AddQuietOption(CLI::App& command, bool& quiet);

// The name lists as the editor has them after its start: each list is
// either loaded or absent, and the availability follows the editor's rules.
struct LoadedNameLists {
  std::optional<NameList> officers;
  std::optional<NameList> faces;
  Availability availability;
  [[nodiscard]] NameListSizes Sizes() const;
};

// Loads the lists that were named, once. A named list that cannot be read is
// reported on `err` as a warning and treated as absent, as the editor treats
// a missing list; the face file only has to exist.
[[nodiscard]] LoadedNameLists LoadNameLists(const NameListOptions& options, std::ostream& err);

}  // namespace k4r::cli
