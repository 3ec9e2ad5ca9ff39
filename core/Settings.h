#pragma once
// The settings file: window position, open folder and face graphics file
// path. It lives beside the program, or in the user's configuration folder
// when the program's folder takes no files (an installed editor).

#include <cstdint>
#include <filesystem>

#include "core/Bytes.h"
#include "core/Result.h"

namespace k4r {

struct Settings {
  std::int32_t WinTop = 100;
  std::int32_t WinLeft = 230;
  // Paths as stored: UTF-8, or CP932 in files written by earlier versions
  // and on Windows. Only the bridge (FromSettingsPath) turns them into text.
  ByteString OpenDir;
  ByteString KaoPath;
  friend bool operator==(const Settings&, const Settings&) = default;
};

// Text values are read up to this many bytes.
inline constexpr std::size_t kSettingsTextLimit = 2047;

// The program's own path with its extension replaced by ".ini".
[[nodiscard]] std::filesystem::path SettingsPathFor(const std::filesystem::path& programPath);

// Where the editor keeps its settings: beside the program (SettingsPathFor)
// when that file is already there or the program's folder takes new files;
// otherwise <xdgConfigHome>/k4r-editor/k4r-editor.ini, with <home>/.config
// standing in for an empty or relative xdgConfigHome. With neither usable, the
// file beside the program (whose saves then report the failure).
[[nodiscard]] std::filesystem::path ChooseSettingsPath(const std::filesystem::path& programPath,
                                                       const std::filesystem::path& xdgConfigHome,
                                                       const std::filesystem::path& home);

// Reads Win/Top, Win/Left, Open/Dir, Kao/Path; anything missing, empty (for
// the integers) or not an integer gives the default. Never fails.
[[nodiscard]] Settings LoadSettings(const std::filesystem::path& settingsPath);

// The writers create a missing folder of the settings file first; when
// memory runs out they fail with messages::OutOfMemory().
// Writes Win/Top, then Win/Left. Failure: "%s に書き込めません".
[[nodiscard]] Status SaveWindowPos(const std::filesystem::path& settingsPath, std::int32_t top, std::int32_t left);

// Writes Kao/Path as given. Failure: "%s に書き込めません".
[[nodiscard]] Status SaveFacePath(const std::filesystem::path& settingsPath, ByteView kaoPath);

}  // namespace k4r
