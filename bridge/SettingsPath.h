#pragma once
// The two paths of the settings file (Open/Dir, Kao/Path) as text and back.
// On Linux and other POSIX systems they are stored as the file system's own
// bytes, UTF-8, so that any folder a user can pick can be stored; a value
// that is not valid UTF-8 was written in code page 932 (by earlier versions,
// or copied from Windows) and is read as such. Windows builds store code page
// 932, the system's ANSI code page, as the game's own tools do.

#include <QString>
#include <optional>

#include "core/Bytes.h"

namespace k4r::bridge {

[[nodiscard]] QString FromSettingsPath(ByteView stored);

// nullopt when the path would not read back as the same path (on Windows, a
// character code page 932 lacks).
[[nodiscard]] std::optional<ByteString> ToSettingsPath(const QString& path);

}  // namespace k4r::bridge
