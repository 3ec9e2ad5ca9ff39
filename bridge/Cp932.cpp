#include "bridge/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>
#include <cstdlib>

namespace k4r::bridge {
namespace {
constexpr const char* kCodecName = "windows-31j";
}

void RequireCp932Codec() {
  static const bool available = QStringDecoder(kCodecName).isValid() && QStringEncoder(kCodecName).isValid();
  if (!available) {
    std::fprintf(stderr,
                 "fatal: Qt has no \"%s\" (code page 932) codec; Qt must be built with ICU.\n", kCodecName);
    std::abort();
  }
}

QString FromCp932(ByteView bytes) {
  RequireCp932Codec();
  QStringDecoder decoder(kCodecName, QStringDecoder::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::optional<ByteString> ToCp932(const QString& text) {
  RequireCp932Codec();
  QStringEncoder encoder(kCodecName, QStringEncoder::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) {
    return std::nullopt;
  }
  return ByteString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::filesystem::path ToPath(const QString& text) {
#ifdef _WIN32
  return std::filesystem::path(text.toStdWString());
#else
  return std::filesystem::path(text.toStdString());
#endif
}

QString FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.wstring());
#else
  return QString::fromStdString(path.string());
#endif
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace k4r::bridge
