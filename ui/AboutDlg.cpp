#include "ui/AboutDlg.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

#include "ui/DialogFrame.h"
#include "ui/HomePage.h"
#include "ui/Prompts.h"
#include "ui_AboutDlg.h"

using k4r::ui::kHomePageAddress;
using k4r::ui::PlaceAtOffset;
using k4r::ui::Prompts;
using k4r::ui::SetUpFixedDialog;

TForm2::TForm2(const k4r::ui::OwnerFrame& ownerFrame, QWidget* owner)
    : QDialog(owner), ui_(std::make_unique<Ui::TForm2>()) {
  ui_->setupUi(this);
  SetUpFixedDialog(*this, QSize(397, 106));

  QFont titleFont = ui_->Label1->font();
  titleFont.setPixelSize(17);
  ui_->Label1->setFont(titleFont);

  // The program's own icon, drawn for this size; the window icon if the
  // picture is missing.
  QPixmap icon(QStringLiteral(":/icons/app32.png"));
  if (icon.isNull()) {
    icon = windowIcon().pixmap(32, 32);
  }
  ui_->Image1->setPixmap(icon);

  ui_->Label4->setText(kHomePageAddress);
  ColourLink();
  ui_->Label4->installEventFilter(this);

  ui_->Label2->adjustSize();
  ui_->Label3->adjustSize();
  ui_->Label4->adjustSize();

  PlaceAtOffset(*this, ownerFrame, QPoint(130, 100));
  // OK is both the default and the cancel button; Esc and the close box
  // reject, which closes the dialog just the same.
  connect(ui_->OkBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

// The palette's link colour: blue on a light palette, and readable on a dark one.
void TForm2::ColourLink() {
  QPalette link;
  link.setColor(QPalette::WindowText, palette().color(QPalette::Link));
  ui_->Label4->setPalette(link);
}

void TForm2::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    ColourLink();
  }
}

TForm2::~TForm2() = default;

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->Label4 && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && ui_->Label4->rect().contains(mouse->position().toPoint())) {
      Label4Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm2::Label4Click() {
  // Whether a browser opened or not, the dialog has done its part.
  Prompts::OpenUrl(kHomePageAddress);
  accept();
}
