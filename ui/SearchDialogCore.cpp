#include "ui/SearchDialogCore.h"

#include <QByteArray>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

#include "bridge/Cp932.h"
#include "bridge/Messages.h"
#include "core/find_in_list.h"
#include "ui/DialogFrame.h"
#include "ui/Prompts.h"

namespace k4r::ui {
namespace {

void ReportNotFound(QWidget* dialog, const QString& typed) {
  Prompts::ExclamationBeep();
  Prompts::ShowBox(dialog, BoxIcon::Information, QStringLiteral("情報"), bridge::NotFoundText(typed));
}

}  // namespace

NameList EntryBytes(const QComboBox& list) {
  NameList entries;
  entries.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) {
    const QVariant kept = list.itemData(i, kEntryBytesRole);
    if (kept.typeId() == QMetaType::QByteArray) {
      const QByteArray bytes = kept.toByteArray();
      entries.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
      continue;
    }
    // Without kept bytes an item that does not convert back cannot match
    // anything typed; an empty entry keeps the positions of the others.
    entries.push_back(bridge::ToCp932(list.itemText(i)).value_or(ByteString{}));
  }
  return entries;
}

void SetUpSearchDialog(QDialog& dialog, QLineEdit& findEdit, QPushButton& cancelButton) {
  SetUpFixedDialog(dialog, QSize(259, 73));
  // Qt cannot ask an input method for its hiragana mode; the box takes
  // composed Japanese input and prefers nothing else.
  findEdit.setAttribute(Qt::WA_InputMethodEnabled, true);
  findEdit.setInputMethodHints(Qt::ImhNone);
  findEdit.setFocus();
  QObject::connect(&cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);
}

void FollowEditText(QPushButton& findButton, const QLineEdit& findEdit) {
  findButton.setEnabled(!findEdit.text().isEmpty());
}

void ListSearch::TakeJoinedText(const QComboBox& list) {
  joined_ = JoinEntries(EntryBytes(list));
}

ListSearch::Outcome ListSearch::Run(QComboBox& list, std::int32_t span, const QString& typed, QWidget* dialog) const {
  const std::optional<ByteString> pattern = bridge::ToCp932(typed);
  if (!pattern) {
    ReportNotFound(dialog, typed);
    return Outcome::NotFound;
  }
  const NameList entries = EntryBytes(list);
  const FindOutcome found = FindInList(entries, list.currentIndex(), span, joined_, *pattern);
  switch (found.kind) {
    case FindOutcome::Kind::Select:
      if (found.position < 0 || found.position >= list.count()) {
        return Outcome::Unchanged;  // never happens while T matches the list
      }
      list.setCurrentIndex(found.position);
      return Outcome::Selected;
    case FindOutcome::Kind::NoChange: return Outcome::Unchanged;
    case FindOutcome::Kind::NotFound: ReportNotFound(dialog, typed); return Outcome::NotFound;
  }
  return Outcome::Unchanged;
}

}  // namespace k4r::ui
