#include "core/Settings.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/FileRead.h"
#include "core/FileReplace.h"
#include "core/IntegerRule.h"
#include "core/Messages.h"
#include "core/OsHandle.h"
#include "core/ProfileFile.h"

namespace k4r {
namespace {
namespace fs = std::filesystem;

std::int32_t ReadInteger(ByteView content, ByteView section, ByteView key, std::int32_t fallback) {
  const std::optional<ByteString> text = ReadProfileValue(content, section, key);
  if (!text) {
    return fallback;
  }
  return ParseInteger(*text).value_or(fallback);
}

ByteString ReadText(ByteView content, ByteView section, ByteView key) {
  const std::optional<ByteString> text = ReadProfileValue(content, section, key);
  if (!text) {
    return {};
  }
  // Never keep half of a two-byte character at the cut.
  return ByteString(CutAtCharacterBoundary(*text, kSettingsTextLimit));
}

Failure CannotWrite(const fs::path& settingsPath) {
  std::error_code error;
  fs::path shown = fs::absolute(settingsPath, error);
  if (error) {
    shown = settingsPath;
  }
  return Failure{messages::CannotWriteSettings(shown)};
}

// The file's current bytes for a write: a missing file is empty. A file that
// is there but cannot be read is not treated as empty, or the write would
// throw its other keys away.
std::optional<ByteString> CurrentContent(const fs::path& settingsPath) {
  Result<ByteString> content = ReadWholeFile(settingsPath);
  if (content) {
    return std::move(content).value();
  }
  std::error_code error;
  const fs::file_status status = fs::status(settingsPath, error);
  if (status.type() == fs::file_type::not_found) {
    return ByteString();
  }
  return std::nullopt;
}

// Overwrites an existing file's bytes without creating anything beside it:
// for a writable settings file in a folder that refuses new files. The part
// that grows the file is written first, so a full disk or a file-size limit
// stops the write before any old byte is overwritten, and the file is cut
// back to its old length. Overwriting bytes that are already there needs no
// new room.
bool RewriteInPlace(const fs::path& settingsPath, ByteView bytes) {
  std::error_code error;
  const fs::file_status status = fs::status(settingsPath, error);
  if (!fs::is_regular_file(status)) {
    return false;
  }
  // A file without any write permission is read-only for root as well.
  constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((status.permissions() & kAnyWrite) == fs::perms::none) {
    return false;
  }
  const std::uintmax_t oldSize = fs::file_size(settingsPath, error);
  if (error) {
    return false;
  }
  // in|out neither creates nor truncates; it opens only a writable file.
  std::fstream file(settingsPath, std::ios::in | std::ios::out | std::ios::binary);
  if (!file) {
    return false;
  }
  const std::size_t kept = static_cast<std::size_t>(std::min<std::uintmax_t>(oldSize, bytes.size()));
  if (bytes.size() > kept) {
    file.seekp(static_cast<std::streamoff>(kept));
    file.write(bytes.data() + kept, static_cast<std::streamsize>(bytes.size() - kept));
    file.flush();
    if (!file) {
      file.close();
      fs::resize_file(settingsPath, oldSize, error);
      return false;
    }
  }
  file.seekp(0);
  file.write(bytes.data(), static_cast<std::streamsize>(kept));
  file.flush();
  if (!file) {
    return false;
  }
  file.close();
  if (bytes.size() < oldSize) {
    fs::resize_file(settingsPath, bytes.size(), error);
  }
  return !error;
}

Status WriteContent(const fs::path& settingsPath, ByteView bytes) {
  if (ReplaceFileAtomically(settingsPath, bytes)) {
    return Success();
  }
  if (RewriteInPlace(settingsPath, bytes)) {
    return Success();
  }
  return CannotWrite(settingsPath);
}

struct KeyValue {
  ByteView section;
  ByteView key;
  ByteView value;
};

// One read of the file, the keys applied in order, one write. The copies of
// the file's text take memory; running out fails the write and leaves the
// file as it was.
template <std::size_t N>
Status WriteKeys(const fs::path& settingsPath, const KeyValue (&keys)[N]) try {
  // The configuration folder may not exist before the first save.
  std::error_code folderError;
  if (const fs::path folder = settingsPath.parent_path(); !folder.empty() && !fs::exists(folder, folderError)) {
    fs::create_directories(folder, folderError);
  }
  std::optional<ByteString> content = CurrentContent(settingsPath);
  if (!content) {
    return CannotWrite(settingsPath);
  }
  for (const KeyValue& entry : keys) {
    *content = WriteProfileValue(*content, entry.section, entry.key, entry.value);
  }
  return WriteContent(settingsPath, *content);
} catch (const std::bad_alloc&) {
  return Failure{messages::OutOfMemory()};
}

// Whether the folder takes a new file, found by creating one and removing it:
// permission bits, access lists, read-only mounts and root's rights all show
// in the answer, which no look at the folder's attributes gives.
// A system without a random source to name the probe counts as a no.
bool FolderTakesNewFiles(const fs::path& folder) try {
  std::random_device random;
  const std::string name = ".k4r-editor-probe-" + std::to_string(random()) + std::to_string(random());
  const fs::path probe = folder / name;
#ifdef _WIN32
  const os::UniqueHandle handle(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return handle.valid();
#else
  os::UniqueHandle handle(::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!handle.valid()) {
    return false;
  }
  static_cast<void>(handle.Close());
  ::unlink(probe.c_str());
  return true;
#endif
} catch (const std::exception&) {
  return false;
}

}  // namespace

fs::path ChooseSettingsPath(const fs::path& programPath, const fs::path& xdgConfigHome, const fs::path& home) {
  const fs::path beside = SettingsPathFor(programPath);
  std::error_code error;
  if (fs::exists(beside, error)) {
    return beside;
  }
  const fs::path programFolder = beside.parent_path().empty() ? fs::path(".") : beside.parent_path();
  if (FolderTakesNewFiles(programFolder)) {
    return beside;
  }
  fs::path configHome;
  if (xdgConfigHome.is_absolute()) {
    configHome = xdgConfigHome;
  } else if (home.is_absolute()) {
    configHome = home / ".config";
  } else {
    return beside;
  }
  return configHome / "k4r-editor" / "k4r-editor.ini";
}

fs::path SettingsPathFor(const fs::path& programPath) {
  // Native strings, so that no name is converted on the way.
  fs::path::string_type name = programPath.filename().native();
  const std::size_t dot = name.rfind(fs::path::value_type{'.'});
  if (dot != fs::path::string_type::npos) {
    name.erase(dot);
  }
  return programPath.parent_path() / (fs::path(name) += ".ini");
}

Settings LoadSettings(const fs::path& settingsPath) {
  Settings settings;
  Result<ByteString> content = ReadWholeFile(settingsPath);
  if (!content) {
    return settings;
  }
  const ByteView bytes = content.value();
  settings.WinTop = ReadInteger(bytes, "Win", "Top", settings.WinTop);
  settings.WinLeft = ReadInteger(bytes, "Win", "Left", settings.WinLeft);
  settings.OpenDir = ReadText(bytes, "Open", "Dir");
  settings.KaoPath = ReadText(bytes, "Kao", "Path");
  return settings;
}

Status SaveWindowPos(const fs::path& settingsPath, std::int32_t top, std::int32_t left) {
  const std::string topText = std::to_string(top);
  const std::string leftText = std::to_string(left);
  const KeyValue keys[] = {{"Win", "Top", topText}, {"Win", "Left", leftText}};
  return WriteKeys(settingsPath, keys);
}

Status SaveFacePath(const fs::path& settingsPath, ByteView kaoPath) {
  const KeyValue keys[] = {{"Kao", "Path", kaoPath}};
  return WriteKeys(settingsPath, keys);
}

}  // namespace k4r
