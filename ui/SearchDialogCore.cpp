#include "ui/SearchDialogCore.h"

#include <QByteArray>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

#include "bridge/Cp932.h"
#include "bridge/Messages.h"
#include "core/FindInList.h"
#include "ui/Prompts.h"

namespace k4r::ui {
namespace {

void ReportNotFound(const QString& typed) {
  Prompts::ExclamationBeep();
  // With no owner the box stands in the middle of the screen rather than
  // over the small search dialog, whose edit box it would hide.
  Prompts::ShowBox(nullptr, BoxIcon::Information, QStringLiteral("情報"), bridge::NotFoundText(typed));
}

}  // namespace

void WireSearchDialog(QDialog& dialog, QLineEdit& findEdit, QPushButton& cancelButton) {
  // Qt cannot ask an input method for its hiragana mode; the box takes
  // composed Japanese input and prefers nothing else.
  findEdit.setAttribute(Qt::WA_InputMethodEnabled, true);
  findEdit.setInputMethodHints(Qt::ImhNone);
  findEdit.setFocus();
  // The box has no caption of its own: the dialog's names what it searches.
  findEdit.setAccessibleName(dialog.windowTitle());
  QObject::connect(&dialog, &QWidget::windowTitleChanged, &findEdit, &QWidget::setAccessibleName);
  QObject::connect(&cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);
}

void FollowEditText(QPushButton& findButton, const QLineEdit& findEdit) {
  findButton.setEnabled(!findEdit.text().isEmpty());
}

void ListSearch::TakeJoinedText(const QComboBox& list) {
  joined_ = JoinEntries(EntryBytes(list));
}

ListSearch::Outcome ListSearch::Run(QComboBox& list, std::int32_t span, const QString& typed) const {
  const std::optional<ByteString> pattern = bridge::ToCp932(typed);
  if (!pattern) {
    ReportNotFound(typed);
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
    case FindOutcome::Kind::NotFound: ReportNotFound(typed); return Outcome::NotFound;
  }
  return Outcome::Unchanged;
}

}  // namespace k4r::ui
