#include "ui/SettingDlg1.h"

#include <QDir>
#include <QFileInfo>

#include "bridge/Cp932.h"
#include "bridge/SettingsPath.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "ui/DialogFrame.h"
#include "ui/Prompts.h"
#include "ui_SettingDlg1.h"

using k4r::ui::FileDialogRequest;
using k4r::ui::PlaceAtOffset;
using k4r::ui::Prompts;
using k4r::ui::SetUpFixedDialog;

namespace {

const QString kFaceFileName = QStringLiteral("KAO_M.VX9");
// Shows "Miravel 顔CGファイル(KAO_M.VX9)" and lists only files of that name.
const QString kFaceFileFilter = QStringLiteral("Miravel 顔CGファイル(KAO_M.VX9) (KAO_M.VX9)");

// The folder in which the preset name stands: the folder of the path in the
// field when that folder exists, else the working folder (the game's folder
// when the editor is started there, as the name lists want).
QString BrowseFolderFor(const QString& fieldText) {
  if (!fieldText.isEmpty()) {
    const QDir folder = QFileInfo(fieldText).absoluteDir();
    if (folder.exists()) {
      return folder.absolutePath();
    }
  }
  return QDir::currentPath();
}

}  // namespace

TForm5::TForm5(const QString& facePath, std::filesystem::path settingsFile, const k4r::ui::OwnerFrame& ownerFrame,
               QWidget* owner)
    : QDialog(owner), settingsFile_(std::move(settingsFile)), ui_(std::make_unique<Ui::TForm5>()) {
  ui_->setupUi(this);
  SetUpFixedDialog(*this, QSize(379, 85));
  ui_->Label1->adjustSize();
  ui_->Label2->adjustSize();
  PlaceAtOffset(*this, ownerFrame, QPoint(150, 100));
  // The path read at start, not what the settings file holds now.
  ui_->PathEdit1->setText(facePath);
  connect(ui_->OpenFileBtn1, &QPushButton::clicked, this, &TForm5::OpenFileBtn1Click);
  connect(ui_->OKBtn1, &QPushButton::clicked, this, &TForm5::OKBtn1Click);
  connect(ui_->CancelBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

TForm5::~TForm5() = default;

void TForm5::OpenFileBtn1Click() {
  FileDialogRequest request;
  request.caption = QStringLiteral("開く");
  request.filter = kFaceFileFilter;
  if (lastChoice_.isEmpty()) {
    request.directory = BrowseFolderFor(ui_->PathEdit1->text());
    request.presetName = kFaceFileName;
  } else {
    const QFileInfo chosen(lastChoice_);
    request.directory = chosen.absolutePath();
    request.presetName = chosen.fileName();
  }
  const std::optional<QString> answer = Prompts::AskOpenFileName(this, request);
  if (!answer) {
    return;
  }
  lastChoice_ = QFileInfo(*answer).absoluteFilePath();
  // As the system writes paths (C:\game\KAO_M.VX9 on Windows).
  ui_->PathEdit1->setText(QDir::toNativeSeparators(lastChoice_));
}

void TForm5::OKBtn1Click() {
  // Written as it stands, unchecked: an empty field or a missing file too.
  const QString text = ui_->PathEdit1->text();
  const std::optional<k4r::ByteString> bytes = k4r::bridge::ToSettingsPath(text);
  if (!bytes) {
    // Stored, this path would come back as another path.
    Prompts::ShowError(this, k4r::bridge::FromUtf8(k4r::messages::PathNotStorable(text.toStdString())));
  } else if (const k4r::Status written = k4r::SaveFacePath(settingsFile_, *bytes); !written) {
    Prompts::ShowError(this, k4r::bridge::FromUtf8(written.failure().message));
  }
  accept();
}
