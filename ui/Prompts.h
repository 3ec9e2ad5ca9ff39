#pragma once
// Every message box, beep and file dialog of the editor goes through here, so
// that tests can answer them and read what was shown, in order.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

class QWidget;

namespace k4r::ui {

enum class BoxIcon { Warning, Error, Information };

// The caption of the general error box and the application title.
inline const QString kAppTitle = QStringLiteral("Miravel 登録武将エディタ");

struct FileDialogRequest {
  QString caption;
  QString directory;  // initial folder; empty: the system's choice
  QString filter;     // Qt filter syntax, e.g. "登録武将ファイル(*.K4R) (*.K4R)"; the
                      // dialog shows the part before the last parentheses

  QString presetName;  // file name preset in the dialog; may be a full path
};

class Prompts {
 public:
  // The plain message beep and the exclamation sound.
  static void Beep();
  static void ExclamationBeep();

  // A modal box with one OK button.
  static void ShowBox(QWidget* parent, BoxIcon icon, const QString& caption, const QString& text);
  // The general error box: caption kAppTitle, error icon, message + ".".
  static void ShowError(QWidget* parent, const QString& message);

  // A tool tip just below `at` that stays a few seconds, also while the user
  // goes on typing (Qt's own closes at the next key release). It is shown
  // while recording too (it is not modal) and is the child "inputToolTip" of `at`.
  static void ShowToolTip(QWidget& at, const QString& text);

  // The file-open dialog; nullopt when the user cancels.
  static std::optional<QString> AskOpenFileName(QWidget* parent, const FileDialogRequest& request);
  // The file-save dialog (asks before replacing a file); nullopt on cancel.
  static std::optional<QString> AskSaveFileName(QWidget* parent, const FileDialogRequest& request);

  // Opens a web address with the system's open action.
  static void OpenUrl(const QString& address);

  // --- Test side -----------------------------------------------------------
  // While recording, nothing is shown: each prompt is appended to Shown() as
  // one line ("beep", "exclamation", "box|<icon>|<caption>|<text>", "tooltip|<text>",
  // "open-dialog|<caption>|<dir>|<file types as listed>|<preset>", "save-dialog|..." alike,
  // "url|<address>"; file types as Qt's own dialog lists them, ";" between) and file
  // dialogs take their answer from the queue (an empty QString answers
  // "cancel"); an unexpected dialog with an empty queue fails loudly.
  static void StartRecording();
  static void StopRecording();
  [[nodiscard]] static QStringList& Shown();
  static void QueueFileAnswer(const QString& answer);
  [[nodiscard]] static int PendingAnswers();
};

}  // namespace k4r::ui
