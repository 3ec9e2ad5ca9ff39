#pragma once
// Reading and writing single keys of a Windows profile (INI) file, on its
// bytes, following the platform's own rules. Names are read character by
// character in code page 932 and compare with ASCII letters folded; values
// are bytes, never converted. A UTF-8 byte-order mark at the start is no
// part of the first line and stays where it is.

#include <optional>

#include "core/Bytes.h"

namespace k4r {

// The value of `key` in the first section named `section`, trimmed of
// space, TAB and VT and of one pair of matching quotes; nullopt when the
// section or the key is missing.
[[nodiscard]] std::optional<ByteString> ReadProfileValue(ByteView content, ByteView section, ByteView key);

// The file content after writing `key`=`value` into `section`: the key's line
// replaced in place, or the key added after the section's last key, or the
// section appended. Every other byte stays as it was.
[[nodiscard]] ByteString WriteProfileValue(ByteView content, ByteView section, ByteView key, ByteView value);

}  // namespace k4r
