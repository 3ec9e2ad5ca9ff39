#include "bridge/SettingsPath.h"

#include "bridge/Cp932.h"

namespace k4r::bridge {

QString FromSettingsPath(ByteView stored) {
#ifdef _WIN32
  return FromCp932(stored);
#else
  if (IsValidUtf8(stored)) {
    return QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
  }
  return FromCp932(stored);
#endif
}

std::optional<ByteString> ToSettingsPath(const QString& path) {
#ifdef _WIN32
  return ToCp932(path);
#else
  // A lone surrogate has no UTF-8 form and would come back as another character.
  const QByteArray utf8 = path.toUtf8();
  if (QString::fromUtf8(utf8) != path) {
    return std::nullopt;
  }
  return ByteString(utf8.constData(), static_cast<std::size_t>(utf8.size()));
#endif
}

}  // namespace k4r::bridge
