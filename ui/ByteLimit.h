#pragma once
// Counting and fitting text by its size in code page 932 bytes, for the edit
// boxes whose limits are the widths of the officer file's fields.

#include <QString>
#include <cstddef>
#include <optional>

#include "core/Bytes.h"

namespace k4r::ui {

enum class LineBreaks { AsIs, CountAsCrLf };

// The CP932 size of `text`; nullopt when CP932 cannot hold one of its
// characters. With CountAsCrLf each '\n' counts as the two bytes CR LF.
[[nodiscard]] std::optional<std::size_t> Cp932Size(const QString& text, LineBreaks lineBreaks);

// Inserted text split into the characters CP932 can hold, in order, and
// those it cannot, each named once in the order they first came.
struct ScreenedText {
  QString storable;
  QString refused;
};
[[nodiscard]] ScreenedText ScreenStorable(const QString& inserted);

// The longest run of whole characters from the start of `inserted` whose
// CP932 size is at most `room`; nullopt when `inserted` holds a character
// CP932 cannot hold (the insertion is refused, never replaced by "?").
[[nodiscard]] std::optional<QString> FitInsertion(const QString& inserted, std::size_t room, LineBreaks lineBreaks);

// The size that EncodeEdited gives `text` (each '\n' as CR LF with
// CountAsCrLf): what an edited text takes in the file.
[[nodiscard]] std::size_t EncodedSize(const QString& text, LineBreaks lineBreaks);

// CP932 bytes of text that the user edited. Characters CP932 cannot hold
// never get in through the edit boxes; the one way one can be there is a
// stand-in for bytes that were not CP932 in the file, and once the text has
// been edited it is left out rather than written as "?".
[[nodiscard]] ByteString EncodeEdited(const QString& text);

}  // namespace k4r::ui
