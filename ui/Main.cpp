#include "ui/Main.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <span>

#include "bridge/Cp932.h"
#include "bridge/EditorFont.h"
#include "bridge/PortraitImage.h"
#include "core/FieldTable.h"
#include "core/Settings.h"
#include "core/Vocabulary.h"
#include "ui/Accessibility.h"
#include "ui/Composition.h"
#include "ui/DialogFrame.h"
#include "ui/EditBoxFrame.h"
#include "ui/ListItems.h"
#include "ui/Prompts.h"
#include "ui/WindowPlace.h"
#include "ui_Main.h"

// Resources of a static library are registered by hand.
static void InitMainIcons() {
  Q_INIT_RESOURCE(MainIcons);
}

using k4r::bridge::FromUtf8;
using k4r::ui::Prompts;

namespace {

// A caption must end before the control it names. The fallback fonts are a
// little wider than the one the form was laid out for, so a caption that would
// run into its control is set with slightly tighter letters.
void FitBefore(QLabel* caption, const QWidget* control) {
  const int room = control->x() - caption->x() - 2;
  QFont font = caption->font();
  for (qreal spacing = -0.1; caption->sizeHint().width() > room && spacing >= -1.0; spacing -= 0.1) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    caption->setFont(font);
  }
  caption->adjustSize();
}

}  // namespace

TForm1::TForm1(std::filesystem::path settingsPath, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), settingsPath_(std::move(settingsPath)) {
  InitMainIcons();
  k4r::ui::InstallListAccessibility();  // before the lists exist
  ui->setupUi(this);
  composition_ = new k4r::ui::CompositionWatch(this);
  SetUpControls();
  // The start contents; the derived labels are first filled at the end of
  // FormCreate, once the handlers are connected.
  ShowForm(k4r::StartForm({}), ListsToShow{});
  ConnectHandlers();
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::SetUpControls() {
  setWindowIcon(QIcon(QStringLiteral(":/icons/app48.png")));
  // Fixed size, no maximise button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  ui->centralwidget->setFixedSize(856, 441);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  k4r::ui::KeepNormalState(*this);
  setAcceptDrops(true);

  const QFont font = k4r::bridge::EditorFont();
  setFont(font);
  for (QMenu* menu : findChildren<QMenu*>()) {
    menu->setFont(font);
  }
  QToolTip::setFont(font);

  // The number boxes (NumberEdit) take direct input of their own accord.
  ui->seibetuEdit1->setAttribute(Qt::WA_InputMethodEnabled, false);
  ApplyPaletteColours();
  // The boxes hold what their fields hold.
  const auto width = [](k4r::FieldId id) { return static_cast<int>(k4r::Field(id).width); };
  ui->sei1Edit1->setByteLimit(width(k4r::FieldId::sei1));
  ui->mei1Edit1->setByteLimit(width(k4r::FieldId::mei1));
  ui->sei2Edit1->setByteLimit(width(k4r::FieldId::sei2));
  ui->mei2Edit1->setByteLimit(width(k4r::FieldId::mei2));
  ui->retudenMemo1->setByteLimit(width(k4r::FieldId::retuden));
  k4r::ui::FrameLikeEditBoxes(*ui->retudenMemo1, *this);
  // The drop-down lists show the number of rows given on the form. The tool
  // bar has edge lines above and below and no margin of its own, so that its
  // buttons keep their places on the form (left 4 and 27, top 2).
  // The "固定" boxes are narrower than the style's indicator, spacing and
  // caption: a tighter spacing lets the caption show whole.
  setStyleSheet(
      QStringLiteral("QComboBox { combobox-popup: 0; }"
                     "QCheckBox { spacing: 2px; }"
                     "QToolBar#ToolBar1 { border: none; margin: 0; padding: 0; spacing: 0;"
                     " border-top: 1px solid palette(mid); border-bottom: 1px solid palette(mid); }"));

  ui->UpDown1->SetBuddy(ui->seijiEdit1);
  ui->UpDown2->SetBuddy(ui->tousotuEdit1);
  ui->UpDown3->SetBuddy(ui->tiryakuEdit1);
  ui->UpDown4->SetBuddy(ui->kyouyouEdit1);
  ui->UpDown5->SetBuddy(ui->giriEdit1);
  ui->UpDown6->SetBuddy(ui->tanjouEdit1);
  ui->UpDown7->SetBuddy(ui->jumyouEdit1);

  namespace vocabulary = k4r::vocabulary;
  for (QComboBox* skills : {ui->tokugiComboBox1, ui->tokugiComboBox2, ui->tokugiComboBox3}) {
    k4r::ui::AppendEntries(*skills, vocabulary::Skills().entries);
  }
  k4r::ui::AppendEntries(*ui->shutujiComboBox1, vocabulary::Origins().entries);
  k4r::ui::AppendEntries(*ui->sinjinComboBox1, vocabulary::Faiths().entries);
  k4r::ui::AppendEntries(*ui->KyotenComboBox1, vocabulary::Bases().entries);
  k4r::ui::AppendEntries(*ui->Aishou1ComboBox1, vocabulary::Compatibility().entries);
  // Shown for information only: never filled from a file, read or enabled.
  ui->seibetuComboBox1->clear();
  ui->joutaiComboBox1->clear();
  k4r::ui::AppendEntries(*ui->seibetuComboBox1, vocabulary::Sexes().entries);
  k4r::ui::AppendEntries(*ui->joutaiComboBox1, vocabulary::States().entries);
  ui->seibetuComboBox1->setCurrentIndex(-1);
  ui->joutaiComboBox1->setCurrentIndex(-1);

  // Labels are sized to their text.
  for (QLabel* label : ui->centralwidget->findChildren<QLabel*>()) {
    label->adjustSize();
  }
  const std::pair<QLabel*, QWidget*> captions[] = {
      {ui->Label1, ui->sei1Edit1},         {ui->Label2, ui->mei1Edit1},         {ui->Label3, ui->sei2Edit1},
      {ui->Label4, ui->mei2Edit1},         {ui->Label5, ui->seijiEdit1},        {ui->Label6, ui->tousotuEdit1},
      {ui->Label7, ui->tiryakuEdit1},      {ui->Label8, ui->kyouyouEdit1},      {ui->Label9, ui->giriEdit1},
      {ui->Label10, ui->tokugiComboBox1},  {ui->Label11, ui->tokugiComboBox2},  {ui->Label12, ui->tokugiComboBox3},
      {ui->Label13, ui->seibetuComboBox1}, {ui->Label16, ui->shutujiComboBox1}, {ui->Label17, ui->sinjinComboBox1},
      {ui->Label14, ui->tanjouEdit1},      {ui->Label19, ui->botuLabel1},       {ui->Label15, ui->jumyouEdit1},
      {ui->Label20, ui->katokuLabel1},     {ui->Label21, ui->okehazamaLabel1},  {ui->Label22, ui->houiLabel1},
      {ui->Label23, ui->honnoujiLabel1},   {ui->Label26, ui->Aishou1ComboBox1}, {ui->Label27, ui->OyaComboBox1},
      {ui->Label28, ui->TomoComboBox1},    {ui->Label29, ui->TekiComboBox1},    {ui->Label25, ui->KyotenComboBox1},
      {ui->Label24, ui->joutaiComboBox1},  {ui->Label18, ui->retudenMemo1},     {ui->Label31, ui->FindBtn5}};
  for (const auto& [caption, control] : captions) {
    FitBefore(caption, control);
  }
}

void TForm1::ConnectHandlers() {
  connect(ui->Open1, &QAction::triggered, this, &TForm1::Open1Click);
  connect(ui->ToolButton1, &QToolButton::clicked, this, &TForm1::ToolButton1Click);
  connect(ui->Save1, &QAction::triggered, this, &TForm1::Save1Click);
  connect(ui->ToolButton2, &QToolButton::clicked, this, &TForm1::ToolButton2Click);
  connect(ui->Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
  connect(ui->Settings1, &QAction::triggered, this, &TForm1::Settings1Click);
  connect(ui->About1, &QAction::triggered, this, &TForm1::About1Click);

  // Program changes of these texts run the same handling as typing.
  connect(ui->tanjouEdit1, &QLineEdit::textChanged, this, &TForm1::tanjouEdit1Change);
  connect(ui->jumyouEdit1, &QLineEdit::textChanged, this, &TForm1::jumyouEdit1Change);
  connect(ui->MaxBtn1, &QPushButton::clicked, this, &TForm1::MaxBtn1Click);
  connect(ui->MinBtn1, &QPushButton::clicked, this, &TForm1::MinBtn1Click);
  connect(ui->MinBtn2, &QPushButton::clicked, this, &TForm1::MinBtn2Click);
  connect(ui->MaxBtn2, &QPushButton::clicked, this, &TForm1::MaxBtn2Click);
  connect(ui->GenpukuBtn1, &QPushButton::clicked, this, &TForm1::GenpukuBtn1Click);
  connect(ui->GenpukuBtn2, &QPushButton::clicked, this, &TForm1::GenpukuBtn2Click);
  connect(ui->GenpukuBtn3, &QPushButton::clicked, this, &TForm1::GenpukuBtn3Click);
  connect(ui->GenpukuBtn4, &QPushButton::clicked, this, &TForm1::GenpukuBtn4Click);

  // Only a user's choice runs the face list's handler; setting it from code does not.
  connect(ui->KaoComboBox1, &QComboBox::activated, this, &TForm1::KaoComboBox1Change);
  ui->PaintBox1->SetPaintHandler([this](QPainter& painter) { PaintBox1Paint(painter); });
  SetUpPortraitMenu();

  connect(ui->FindBtn1, &QPushButton::clicked, this, &TForm1::FindBtn1Click);
  connect(ui->FindBtn2, &QPushButton::clicked, this, &TForm1::FindBtn2Click);
  connect(ui->FindBtn3, &QPushButton::clicked, this, &TForm1::FindBtn3Click);
  connect(ui->FindBtn4, &QPushButton::clicked, this, &TForm1::FindBtn4Click);
  connect(ui->FindBtn5, &QPushButton::clicked, this, &TForm1::FindBtn5Click);
}

void TForm1::ApplyPaletteColours() {
  // The read-only sex code on the window's colour, as a scroll bar's.
  QPalette readOnly = palette();
  readOnly.setColor(QPalette::Base, palette().color(QPalette::Window));
  ui->seibetuEdit1->setPalette(readOnly);
  for (QLabel* state : {ui->genpukuLabel1, ui->genpukuLabel2, ui->genpukuLabel3, ui->genpukuLabel4}) {
    ColourState(*state, palette());
  }
}

// A new colour scheme (a dark one, say) while the editor runs. Under the
// window's style sheet the controls do not take a palette from the window,
// so each is handed the new one.
void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    for (QWidget* control : findChildren<QWidget*>()) {
      if (control->testAttribute(Qt::WA_StyleSheet)) {
        control->setPalette(palette());
      }
    }
    ApplyPaletteColours();
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  CommitComposition();
  FormCloseQuery();
  event->accept();
}

// The close is never refused: a position that cannot be written is reported
// and the window closes all the same.
void TForm1::FormCloseQuery() {
  // The frame's corner, which the next start gives back to the frame; where
  // the window system does not tell it, the stored place stays.
  const QPoint position = k4r::ui::FrameTopLeft(*this);
  const k4r::Status written = k4r::ui::StoreWindowPlace(settingsPath_, k4r::ui::PlatformReportsWindowPlace(), position);
  if (!written) {
    Prompts::ShowError(this, FromUtf8(written.failure().message));
  }
}

void TForm1::Exit1Click() {
  close();
}

namespace {
QString DroppedOfficerFile(const QMimeData* mime) {
  if (mime == nullptr || mime->urls().size() != 1 || !mime->urls().constFirst().isLocalFile()) {
    return {};
  }
  const QString path = mime->urls().constFirst().toLocalFile();
  return QFileInfo(path).suffix().compare(QLatin1String("K4R"), Qt::CaseInsensitive) == 0 ? path : QString();
}
}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedOfficerFile(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = DroppedOfficerFile(event->mimeData());
  if (path.isEmpty()) {
    return;
  }
  event->acceptProposedAction();
  OpenOfficerFile(QFileInfo(path).absoluteFilePath());
}

void TForm1::KaoComboBox1Change() {
  // A new choice may be reported again if it cannot be drawn.
  portraitFailureReported_ = false;
  ui->PaintBox1->repaint();
}

void TForm1::PaintBox1Paint(QPainter& painter) {
  if (!availability_.face) {
    return;
  }
  // No selection, or a face the file's table does not cover: nothing to draw.
  const int face = ui->KaoComboBox1->currentIndex();
  if (face < 0 || face >= k4r::face_file::kFaceCount) {
    return;
  }
  const k4r::Result<k4r::FacePortrait> portrait = faceArchive_.ReadPortrait(face);
  if (!portrait) {
    ReportPortraitFailure(FromUtf8(portrait.failure().message));
    return;
  }
  painter.drawImage(0, 0, k4r::bridge::PortraitToImage(portrait.value()));
}

// Shown once per choice of face, and after the paint has finished: the box
// itself makes the area repaint, which must not report again.
void TForm1::ReportPortraitFailure(const QString& message) {
  if (portraitFailureReported_) {
    return;
  }
  portraitFailureReported_ = true;
  QTimer::singleShot(0, this, [this, message] { Prompts::ShowError(this, message); });
}
