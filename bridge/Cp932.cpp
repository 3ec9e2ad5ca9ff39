#include "bridge/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>
#include <cstdlib>

namespace k4r::bridge {
namespace {

constexpr const char* kCodecName = "windows-31j";
constexpr char16_t kReplacement = u'\uFFFD';
// ICU's converter behind this name follows IBM's control-code layout: it
// swaps 0x1A, 0x1C and 0x7F and marks unusable bytes with SUB (U+001A).
// Code page 932 maps 0x00-0x7F one to one, so single ASCII bytes never go
// through the codec, and a SUB that comes out of it always means a broken byte.
constexpr char16_t kCodecSubstitute = u'\u001A';

// Input methods and text from JIS encodings give these seven characters in
// their JIS X 0208 forms; code page 932 holds the same characters under the
// forms Windows uses, which is how they are shown once read back.
struct WindowsForm {
  char16_t jis;
  char16_t windows;
};
constexpr WindowsForm kWindowsForms[] = {
    {u'\u301C', u'\uFF5E'},  // 〜 WAVE DASH -> ～ FULLWIDTH TILDE
    {u'\u2016', u'\u2225'},  // ‖ DOUBLE VERTICAL LINE -> ∥ PARALLEL TO
    {u'\u2212', u'\uFF0D'},  // − MINUS SIGN -> － FULLWIDTH HYPHEN-MINUS
    {u'\u00A2', u'\uFFE0'},  // ¢ -> ￠
    {u'\u00A3', u'\uFFE1'},  // £ -> ￡
    {u'\u00AC', u'\uFFE2'},  // ¬ -> ￢
    {u'\u2014', u'\u2015'},  // — EM DASH -> ― HORIZONTAL BAR
};

QString InWindowsForms(QStringView run) {
  QString mapped = run.toString();
  for (QChar& character : mapped) {
    for (const WindowsForm& form : kWindowsForms) {
      if (character.unicode() == form.jis) {
        character = QChar(form.windows);
      }
    }
  }
  return mapped;
}

bool IsAscii(unsigned char byte) {
  return byte < 0x80;
}

// Stateless converters report errors at the end of each text instead of
// waiting for more input, so one that ends a text without an error is as
// good as new. ICU's converter keeps an error once it has met one, though:
// such a converter is dropped and the next text gets a fresh one. Opening a
// converter costs more than converting a name, and `k4r dump` converts
// several texts per file over thousands of files.
template <typename Converter>
class ConverterCache {
 public:
  Converter& Get() {
    if (!converter_ || converter_->hasError()) {
      converter_.emplace(kCodecName, Converter::Flag::Stateless);
    }
    return *converter_;
  }

 private:
  std::optional<Converter> converter_;
};

QStringDecoder& Decoder() {
  thread_local ConverterCache<QStringDecoder> cache;
  return cache.Get();
}
QStringEncoder& Encoder() {
  thread_local ConverterCache<QStringEncoder> cache;
  return cache.Get();
}

}  // namespace

void RequireCp932Codec() {
  static const bool available = QStringDecoder(kCodecName).isValid() && QStringEncoder(kCodecName).isValid();
  if (!available) {
    std::fprintf(stderr, "fatal: Qt has no \"%s\" (code page 932) codec; Qt must be built with ICU.\n", kCodecName);
    std::abort();
  }
}

QString FromCp932(ByteView bytes) {
  RequireCp932Codec();
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (IsAscii(static_cast<unsigned char>(bytes[at]))) {
      text += QChar(static_cast<char16_t>(bytes[at]));
      ++at;
      continue;
    }
    // A run of characters that start with a non-ASCII byte (a two-byte
    // character's second byte may be ASCII) goes to the codec in one piece.
    const std::size_t runStart = at;
    bool dangling = false;
    while (at < bytes.size() && !IsAscii(static_cast<unsigned char>(bytes[at]))) {
      const std::size_t width = IsShiftJisLeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
      if (at + width > bytes.size()) {
        dangling = true;  // a first byte with nothing after it
        break;
      }
      at += width;
    }
    QStringDecoder& decoder = Decoder();
    QString run = decoder.decode(QByteArrayView(bytes.data() + runStart, static_cast<qsizetype>(at - runStart)));
    run.replace(QChar(kCodecSubstitute), QChar(kReplacement));
    text += run;
    if (dangling) {
      text += QChar(kReplacement);
      ++at;
    }
  }
  return text;
}

std::optional<ByteString> ToCp932(const QString& text) {
  RequireCp932Codec();
  ByteString bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()) * 2);
  qsizetype at = 0;
  while (at < text.size()) {
    if (text[at].unicode() < 0x80) {
      bytes += static_cast<char>(text[at].unicode());
      ++at;
      continue;
    }
    const qsizetype runStart = at;
    while (at < text.size() && text[at].unicode() >= 0x80) {
      ++at;
    }
    const QString run = InWindowsForms(QStringView(text).mid(runStart, at - runStart));
    QStringEncoder& encoder = Encoder();
    const QByteArray encoded = encoder.encode(run);
    if (encoder.hasError()) {
      return std::nullopt;
    }
    // Refuse "best fit" stand-ins: what is written must read back as the
    // same characters (in their Windows forms).
    if (QString(Decoder().decode(encoded)) != run) {
      return std::nullopt;
    }
    bytes.append(encoded.constData(), static_cast<std::size_t>(encoded.size()));
  }
  return bytes;
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
