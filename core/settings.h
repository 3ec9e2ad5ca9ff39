#pragma once
// The settings file beside the program: window position, open folder and
// face graphics file path.

#include <cstdint>
#include <filesystem>

#include "core/bytes.h"
#include "core/result.h"

namespace k4r {

struct Settings {
  std::int32_t WinTop = 100;
  std::int32_t WinLeft = 230;
  ByteString OpenDir;  // CP932 bytes as stored
  ByteString KaoPath;  // CP932 bytes as stored
  friend bool operator==(const Settings&, const Settings&) = default;
};

// Text values are read up to this many bytes.
inline constexpr std::size_t kSettingsTextLimit = 2047;

// The program's own path with its extension replaced by ".ini".
[[nodiscard]] std::filesystem::path SettingsPathFor(const std::filesystem::path& programPath);

// Reads Win/Top, Win/Left, Open/Dir, Kao/Path; anything missing, empty (for
// the integers) or not an integer gives the default. Never fails.
[[nodiscard]] Settings LoadSettings(const std::filesystem::path& settingsPath);

// Writes Win/Top, then Win/Left. Failure: "%s に書き込めません".
[[nodiscard]] Status SaveWindowPos(const std::filesystem::path& settingsPath, std::int32_t top, std::int32_t left);

// Writes Kao/Path as given. Failure: "%s に書き込めません".
[[nodiscard]] Status SaveFacePath(const std::filesystem::path& settingsPath, ByteView kaoPath);

}  // namespace k4r
