// The portrait's context menu: the shown face written out as a PNG picture,
// and any picture made the face in the face graphics file.

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QImageReader>
#include <QMenu>

#include "bridge/Cp932.h"
#include "bridge/FaceFit.h"
#include "bridge/PortraitImage.h"
#include "core/FaceWriter.h"
#include "core/FileReplace.h"
#include "core/Messages.h"
#include "ui/FaceImportDlg.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui_Main.h"

using k4r::bridge::FromUtf8;
using k4r::ui::Prompts;

namespace {

std::filesystem::path PathOf(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

// Every format this Qt reads, as one file type, then any file.
QString PictureFilter() {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    patterns << QStringLiteral("*.") + QString::fromLatin1(format);
  }
  return QStringLiteral("画像ファイル (%1);;すべてのファイル (*)").arg(patterns.join(QLatin1Char(' ')));
}

}  // namespace

void TForm1::SetUpPortraitMenu() {
  PortraitMenu1 = new QMenu(this);
  PortraitMenu1->setObjectName(QStringLiteral("PortraitMenu1"));
  QAction* exportFace = PortraitMenu1->addAction(QStringLiteral("顔画像を書き出す..."));
  exportFace->setObjectName(QStringLiteral("ExportFace1"));
  QAction* importFace = PortraitMenu1->addAction(QStringLiteral("顔画像を取り込む..."));
  importFace->setObjectName(QStringLiteral("ImportFace1"));
  connect(exportFace, &QAction::triggered, this, &TForm1::ExportFace1Click);
  connect(importFace, &QAction::triggered, this, &TForm1::ImportFace1Click);

  // The portrait takes no keyboard focus; the context-menu key reaches the
  // menu through the face list, which names the face.
  for (QWidget* widget : {static_cast<QWidget*>(ui->PaintBox1), static_cast<QWidget*>(ui->KaoComboBox1)}) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this,
            [this, widget](const QPoint& at) { PaintBox1ContextPopup(widget->mapToGlobal(at)); });
  }
}

int TForm1::MenuFaceNumber() const {
  const int face = ui->KaoComboBox1->currentIndex();
  return availability_.face && face >= 0 && face < k4r::face_file::kFaceCount ? face : -1;
}

void TForm1::PaintBox1ContextPopup(const QPoint& globalPosition) {
  if (MenuFaceNumber() < 0) {
    return;
  }
  PortraitMenu1->popup(globalPosition);
}

void TForm1::ExportFace1Click() {
  const int face = MenuFaceNumber();
  if (face < 0) {
    return;
  }
  const k4r::Result<k4r::FacePortrait> portrait = faceArchive_.ReadPortrait(face);
  if (!portrait) {
    Prompts::ShowError(this, FromUtf8(portrait.failure().message));
    return;
  }
  k4r::ui::FileDialogRequest request;
  request.caption = QStringLiteral("顔画像を書き出す");
  request.filter = QStringLiteral("PNG 画像 (*.png)");
  request.presetName = QStringLiteral("%1.png").arg(face, 4, 10, QLatin1Char('0'));
  const std::optional<QString> chosen = Prompts::AskSaveFileName(this, request);
  if (!chosen) {
    return;
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!k4r::bridge::PortraitToImage(portrait.value()).save(&buffer, "PNG")) {
    Prompts::ShowError(this, FromUtf8(k4r::messages::WriteError()));
    return;
  }
  const k4r::Status written =
      k4r::ReplaceFileAtomically(PathOf(*chosen), k4r::ByteView(png.constData(), static_cast<std::size_t>(png.size())));
  if (!written) {
    Prompts::ShowError(this, FromUtf8(written.failure().message));
  }
}

void TForm1::ImportFace1Click() {
  const int face = MenuFaceNumber();
  if (face < 0) {
    return;
  }
  const k4r::Result<k4r::FacePortrait> present = faceArchive_.ReadPortrait(face);
  if (!present) {
    Prompts::ShowError(this, FromUtf8(present.failure().message));
    return;
  }
  k4r::ui::FileDialogRequest request;
  request.caption = QStringLiteral("顔画像を取り込む");
  request.filter = PictureFilter();
  const std::optional<QString> chosen = Prompts::AskOpenFileName(this, request);
  if (!chosen) {
    return;
  }
  const k4r::Result<QImage> picture = k4r::bridge::ReadPicture(PathOf(*chosen));
  if (!picture) {
    Prompts::ShowError(this, FromUtf8(picture.failure().message));
    return;
  }
  TForm7 dialog(picture.value(), present.value(), kaoPath_, face, this);
  if (dialog.exec() != QDialog::Accepted) {
    return;
  }
  const std::vector<k4r::NewFace> faces{{face, dialog.Result()}};
  if (const k4r::Status written = k4r::WriteFaces(faceArchive_.Path(), faces, {}); !written) {
    Prompts::ShowError(this, FromUtf8(written.failure().message));
    return;
  }
  portraitFailureReported_ = false;
  ui->PaintBox1->repaint();
}
