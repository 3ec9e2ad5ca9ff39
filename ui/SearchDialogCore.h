#pragma once
// The search that the three search dialogs share: the joined text of the
// target list, taken once per opening, and one find-next step over the
// main window's list, with its outcome applied.

#include <QSize>
#include <QString>
#include <cstdint>

#include "core/Bytes.h"
#include "core/NameList.h"
#include "ui/ListItems.h"

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;

namespace k4r::ui {

// The client area of every search dialog.
inline constexpr QSize kSearchDialogSize{259, 73};

// What the search dialogs' forms share beyond their frame: the cancel button
// closing with the cancel result, the edit box ready for Japanese input and
// holding the focus.
void WireSearchDialog(QDialog& dialog, QLineEdit& findEdit, QPushButton& cancelButton);

// Enables the search button exactly while the edit box holds text.
void FollowEditText(QPushButton& findButton, const QLineEdit& findEdit);

class ListSearch {
 public:
  enum class Outcome { Selected, Unchanged, NotFound };

  // Takes the joined text of `list` as it is now; searches use it until the
  // next call.
  void TakeJoinedText(const QComboBox& list);

  // One search for `typed` from the list's current selection over `span`
  // positions. Selected: the list's selection has been set. NotFound: the
  // exclamation sound has played and the information box has been shown in
  // the middle of the screen. Text that CP932 cannot hold is never found.
  Outcome Run(QComboBox& list, std::int32_t span, const QString& typed) const;

  [[nodiscard]] const ByteString& JoinedText() const { return joined_; }

 private:
  ByteString joined_;
};

}  // namespace k4r::ui
