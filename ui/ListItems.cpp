#include "ui/ListItems.h"

#include <QByteArray>
#include <QComboBox>
#include <QStringList>

#include "bridge/Cp932.h"

namespace k4r::ui {
namespace {

template <typename Entry>
void Append(QComboBox& list, std::span<const Entry> entries) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(entries.size()));
  for (const Entry& entry : entries) {
    texts << bridge::FromCp932(entry);
  }
  const int first = list.count();
  list.addItems(texts);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ByteView bytes(entries[i]);
    list.setItemData(first + static_cast<int>(i), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                     kEntryBytesRole);
  }
}

}  // namespace

void AppendEntries(QComboBox& list, std::span<const ByteString> entries) {
  Append(list, entries);
}

void AppendEntries(QComboBox& list, std::span<const ByteView> entries) {
  Append(list, entries);
}

NameList EntryBytes(const QComboBox& list) {
  NameList entries;
  entries.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) {
    const QByteArray bytes = list.itemData(i, kEntryBytesRole).toByteArray();
    entries.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  return entries;
}

}  // namespace k4r::ui
