#include "ui/Prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
#include <cstdio>
#include <cstdlib>

namespace k4r::ui {
namespace {

struct Recorder {
  bool recording = false;
  QStringList shown;
  std::deque<QString> fileAnswers;
};

Recorder& State() {
  static Recorder recorder;
  return recorder;
}

QString IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Warning: return QStringLiteral("warning");
    case BoxIcon::Error: return QStringLiteral("error");
    case BoxIcon::Information: return QStringLiteral("information");
  }
  return {};
}

constexpr int kToolTipMilliseconds = 5000;

// Created once per widget; a new text restarts its time.
QLabel& ToolTipOf(QWidget& at) {
  auto* tip = at.findChild<QLabel*>(QStringLiteral("inputToolTip"), Qt::FindDirectChildrenOnly);
  if (tip == nullptr) {
    tip = new QLabel(&at, Qt::ToolTip);
    tip->setObjectName(QStringLiteral("inputToolTip"));
    tip->setPalette(QToolTip::palette());
    tip->setFont(QToolTip::font());
    tip->setForegroundRole(QPalette::ToolTipText);
    tip->setBackgroundRole(QPalette::ToolTipBase);
    tip->setAutoFillBackground(true);
    tip->setFrameStyle(QFrame::Box | QFrame::Plain);
    tip->setMargin(2);
    auto* timer = new QTimer(tip);
    timer->setObjectName(QStringLiteral("hideTimer"));
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, tip, &QWidget::hide);
    // It speaks of this box only: gone once the user moves on.
    QObject::connect(qApp, &QApplication::focusChanged, tip, [tip, box = &at](QWidget* old, QWidget* /*now*/) {
      if (old == box) {
        tip->hide();
      }
    });
  }
  return *tip;
}

}  // namespace

void Prompts::Beep() {
  if (State().recording) {
    State().shown << QStringLiteral("beep");
    return;
  }
  QApplication::beep();
}

void Prompts::ExclamationBeep() {
  if (State().recording) {
    State().shown << QStringLiteral("exclamation");
    return;
  }
#ifdef _WIN32
  MessageBeep(MB_ICONEXCLAMATION);
#else
  // Qt offers one system sound elsewhere; the exclamation is that sound too.
  QApplication::beep();
#endif
}

void Prompts::ShowBox(QWidget* parent, BoxIcon icon, const QString& caption, const QString& text) {
  if (State().recording) {
    State().shown << QStringLiteral("box|%1|%2|%3").arg(IconName(icon), caption, text);
    return;
  }
  const QMessageBox::Icon boxIcon = icon == BoxIcon::Warning ? QMessageBox::Warning
                                    : icon == BoxIcon::Error ? QMessageBox::Critical
                                                             : QMessageBox::Information;
  QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

void Prompts::ShowError(QWidget* parent, const QString& message) {
  ShowBox(parent, BoxIcon::Error, kAppTitle, message + QLatin1Char('.'));
}

void Prompts::ShowToolTip(QWidget& at, const QString& text) {
  if (State().recording) {
    State().shown << QStringLiteral("tooltip|") + text;
  }
  QLabel& tip = ToolTipOf(at);
  tip.setText(text);
  tip.adjustSize();
  tip.move(at.mapToGlobal(QPoint(0, at.height() + 2)));
  tip.show();
  tip.findChild<QTimer*>(QStringLiteral("hideTimer"))->start(kToolTipMilliseconds);
}

namespace {

// The one set-up of a file-open dialog, shown or recorded. Each file type is
// listed by its description alone: the descriptions already name their
// patterns, which Qt would otherwise repeat after them.
void SetUpOpenDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setWindowTitle(request.caption);
  dialog.setDirectory(request.directory);
  dialog.setNameFilter(request.filter);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!request.presetName.isEmpty()) {
    dialog.selectFile(request.presetName);
  }
}

// The file types as Qt's own dialog lists them to the user.
QString ShownFileTypes(const FileDialogRequest& request) {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  SetUpOpenDialog(dialog, request);
  const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  if (types == nullptr) {
    return QStringLiteral("<no file-type list>");
  }
  QStringList shown;
  for (int index = 0; index < types->count(); ++index) {
    shown << types->itemText(index);
  }
  return shown.join(QLatin1Char(';'));
}

}  // namespace

namespace {

// A file dialog, or while recording the next queued answer. `kind` names it
// in the record.
std::optional<QString> AskFileName(QWidget* parent, const FileDialogRequest& request, const char* kind,
                                   QFileDialog::AcceptMode mode) {
  if (State().recording) {
    State().shown << QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(QLatin1String(kind), request.caption, request.directory, ShownFileTypes(request),
                              request.presetName);
    if (State().fileAnswers.empty()) {
      std::fprintf(stderr, "Prompts: a file dialog was shown but the test queued no answer\n");
      std::abort();
    }
    QString answer = State().fileAnswers.front();
    State().fileAnswers.pop_front();
    if (answer.isEmpty()) {
      return std::nullopt;
    }
    return answer;
  }
  QFileDialog dialog(parent);
  SetUpOpenDialog(dialog, request);
  dialog.setAcceptMode(mode);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> Prompts::AskOpenFileName(QWidget* parent, const FileDialogRequest& request) {
  return AskFileName(parent, request, "open-dialog", QFileDialog::AcceptOpen);
}

std::optional<QString> Prompts::AskSaveFileName(QWidget* parent, const FileDialogRequest& request) {
  return AskFileName(parent, request, "save-dialog", QFileDialog::AcceptSave);
}

void Prompts::OpenUrl(const QString& address) {
  if (State().recording) {
    State().shown << QStringLiteral("url|%1").arg(address);
    return;
  }
  QDesktopServices::openUrl(QUrl(address));
}

void Prompts::StartRecording() {
  State() = Recorder{};
  State().recording = true;
}

void Prompts::StopRecording() {
  State() = Recorder{};
}

QStringList& Prompts::Shown() {
  return State().shown;
}

void Prompts::QueueFileAnswer(const QString& answer) {
  State().fileAnswers.push_back(answer);
}

int Prompts::PendingAnswers() {
  return static_cast<int>(State().fileAnswers.size());
}

}  // namespace k4r::ui
