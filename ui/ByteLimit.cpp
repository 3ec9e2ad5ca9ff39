#include "ui/ByteLimit.h"

#include "bridge/Cp932.h"

namespace k4r::ui {
namespace {

// One character: a single UTF-16 unit or a surrogate pair.
qsizetype CharacterLength(const QString& text, qsizetype at) {
  if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
    return 2;
  }
  return 1;
}

std::optional<std::size_t> CharacterSize(const QString& character, LineBreaks lineBreaks) {
  if (character == QLatin1String("\n") && lineBreaks == LineBreaks::CountAsCrLf) {
    return 2;
  }
  const std::optional<ByteString> bytes = bridge::ToCp932(character);
  if (!bytes || bytes->empty()) {
    return std::nullopt;
  }
  return bytes->size();
}

}  // namespace

std::optional<std::size_t> Cp932Size(const QString& text, LineBreaks lineBreaks) {
  std::size_t total = 0;
  for (qsizetype at = 0; at < text.size();) {
    const qsizetype length = CharacterLength(text, at);
    const std::optional<std::size_t> size = CharacterSize(text.mid(at, length), lineBreaks);
    if (!size) {
      return std::nullopt;
    }
    total += *size;
    at += length;
  }
  return total;
}

ScreenedText ScreenStorable(const QString& inserted) {
  if (bridge::ToCp932(inserted)) {
    return {inserted, {}};
  }
  ScreenedText screened;
  for (qsizetype at = 0; at < inserted.size();) {
    const QString character = inserted.mid(at, CharacterLength(inserted, at));
    if (bridge::ToCp932(character)) {
      screened.storable += character;
    } else if (!screened.refused.contains(character)) {
      screened.refused += character;
    }
    at += character.size();
  }
  return screened;
}

std::optional<QString> FitInsertion(const QString& inserted, std::size_t room, LineBreaks lineBreaks) {
  if (!Cp932Size(inserted, lineBreaks)) {
    return std::nullopt;
  }
  std::size_t used = 0;
  qsizetype at = 0;
  while (at < inserted.size()) {
    const qsizetype length = CharacterLength(inserted, at);
    const std::size_t size = *CharacterSize(inserted.mid(at, length), lineBreaks);
    if (used + size > room) {
      break;
    }
    used += size;
    at += length;
  }
  return inserted.left(at);
}

std::size_t EncodedSize(const QString& text, LineBreaks lineBreaks) {
  std::size_t total = 0;
  for (qsizetype at = 0; at < text.size();) {
    const qsizetype length = CharacterLength(text, at);
    total += CharacterSize(text.mid(at, length), lineBreaks).value_or(0);
    at += length;
  }
  return total;
}

ByteString EncodeEdited(const QString& text) {
  if (std::optional<ByteString> bytes = bridge::ToCp932(text)) {
    return *std::move(bytes);
  }
  ByteString bytes;
  for (qsizetype at = 0; at < text.size();) {
    const qsizetype length = CharacterLength(text, at);
    if (const std::optional<ByteString> character = bridge::ToCp932(text.mid(at, length))) {
      bytes += *character;
    }
    at += length;
  }
  return bytes;
}

}  // namespace k4r::ui
