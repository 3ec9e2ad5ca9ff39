#pragma once
// The main window's drop-down lists keep, with each item, the CP932 bytes it
// was made from, so that a search matches the file's bytes exactly even where
// the shown text cannot give them back (duplicate codes, broken bytes).

#include <Qt>
#include <span>

#include "core/Bytes.h"
#include "core/NameList.h"

class QComboBox;

namespace k4r::ui {

// The item data role holding an item's bytes (a QByteArray).
inline constexpr int kEntryBytesRole = Qt::UserRole + 32;

// Appends one item per entry, shown as decoded text, keeping its bytes.
void AppendEntries(QComboBox& list, std::span<const ByteString> entries);
void AppendEntries(QComboBox& list, std::span<const ByteView> entries);

// The entries of a list as CP932 bytes, one per item, in list order.
[[nodiscard]] NameList EntryBytes(const QComboBox& list);

}  // namespace k4r::ui
