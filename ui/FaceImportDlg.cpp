#include "ui/FaceImportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "bridge/PortraitImage.h"

namespace {

// Twice the size, pixel for pixel: a 96 x 120 face is small on a modern screen.
QPixmap Enlarged(const k4r::FacePortrait& face) {
  const QImage image = k4r::bridge::PortraitToImage(face);
  return QPixmap::fromImage(image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter);
  return label;
}

}  // namespace

TForm7::TForm7(const QImage& picture, const k4r::FacePortrait& present, const QString& faceFile, int faceNumber,
               QWidget* parent)
    : QDialog(parent), picture_(picture), present_(present), result_(present) {
  setObjectName(QStringLiteral("TForm7"));
  setWindowTitle(QStringLiteral("顔画像の取り込み"));

  auto* presentLabel = new QLabel(this);
  presentLabel->setObjectName(QStringLiteral("PresentLabel1"));
  presentLabel->setPixmap(Enlarged(present_));
  PreviewLabel1 = new QLabel(this);
  PreviewLabel1->setObjectName(QStringLiteral("PreviewLabel1"));

  FitComboBox1 = new QComboBox(this);
  FitComboBox1->setObjectName(QStringLiteral("FitComboBox1"));
  // In the order of bridge::FaceFit.
  FitComboBox1->addItems(
      {QStringLiteral("切り抜いて埋める"), QStringLiteral("余白を付けて収める"), QStringLiteral("引き伸ばす")});
  DitherCheckBox1 = new QCheckBox(QStringLiteral("ディザリング"), this);
  DitherCheckBox1->setObjectName(QStringLiteral("DitherCheckBox1"));
  DitherCheckBox1->setChecked(k4r::bridge::kDitherByDefault);

  // The backup is made only before the first change: say so only then.
  QString text = QStringLiteral("顔画像ファイル %1 の顔 %2 を書き換えます。").arg(faceFile).arg(faceNumber);
  if (!QFileInfo::exists(faceFile + QStringLiteral(".bak"))) {
    text += QStringLiteral("\n書き換える前に、元のファイルを %1.bak として残します。").arg(faceFile);
  }
  auto* note = new QLabel(text, this);
  note->setObjectName(QStringLiteral("NoteLabel1"));
  note->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* faces = new QGridLayout;
  faces->addWidget(Caption(QStringLiteral("今の顔"), this), 0, 0);
  faces->addWidget(Caption(QStringLiteral("取り込む顔"), this), 0, 1);
  faces->addWidget(presentLabel, 1, 0);
  faces->addWidget(PreviewLabel1, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(faces);
  auto* choices = new QFormLayout;
  choices->addRow(QStringLiteral("合わせ方 :"), FitComboBox1);
  choices->addRow(QString(), DitherCheckBox1);
  layout->addLayout(choices);
  layout->addWidget(note);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(FitComboBox1, &QComboBox::currentIndexChanged, this, &TForm7::UpdatePreview);
  connect(DitherCheckBox1, &QCheckBox::toggled, this, &TForm7::UpdatePreview);
  UpdatePreview();
}

void TForm7::UpdatePreview() {
  const auto fit = static_cast<k4r::bridge::FaceFit>(FitComboBox1->currentIndex());
  result_ =
      k4r::bridge::PictureToFace(picture_, present_, fit, {k4r::PaletteChoice::New, DitherCheckBox1->isChecked()});
  PreviewLabel1->setPixmap(Enlarged(result_));
}
