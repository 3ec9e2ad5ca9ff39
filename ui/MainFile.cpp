// Open and save, and the one mapping between the controls and the fields.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "bridge/Cp932.h"
#include "ui/Composition.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui_Main.h"

using k4r::bridge::FromUtf8;
using k4r::ui::Prompts;

namespace {

const QString kOpenFilter = QStringLiteral("登録武将ファイル(*.K4R) (*.K4R)");

k4r::ListPosition PositionOf(const QComboBox* list) {
  return list->currentIndex();
}

// A position outside the list shows as no selection.
void Select(QComboBox* list, k4r::ListPosition position) {
  list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

std::string TextOf(const QLineEdit* edit) {
  return edit->text().toStdString();
}
QString Text(const std::string& utf8) {
  return FromUtf8(utf8);
}

}  // namespace

// Open/Dir when set by hand; else the folder of the file opened last in this
// run, so that the next one is picked beside it; else the working folder.
QString TForm1::OpenDialogFolder() const {
  if (!openDir_.isEmpty()) {
    return openDir_;
  }
  if (!BushouFile.path.empty()) {
    return QFileInfo(k4r::bridge::FromPath(BushouFile.path)).absolutePath();
  }
  return QDir::currentPath();
}

void TForm1::CommitComposition() {
  composition_->CommitComposition();
}

void TForm1::Open1Click() {
  CommitComposition();
  k4r::ui::FileDialogRequest request;
  request.caption = QStringLiteral("開く");
  request.directory = OpenDialogFolder();
  request.filter = kOpenFilter;
  const std::optional<QString> chosen = Prompts::AskOpenFileName(this, request);
  if (chosen) {
    OpenOfficerFile(*chosen);
  }
}

void TForm1::ToolButton1Click() {
  Open1Click();
}

bool TForm1::OpenOfficerFile(const QString& path) {
  CommitComposition();
  k4r::OfficerForm form = ReadForm();
  const k4r::KeepFlags keep = ReadKeepFlags();
  const k4r::Status loaded =
      k4r::LoadOfficerFile(k4r::bridge::ToPath(path), BushouFile, form, keep, availability_, ListSizes());
  if (!loaded) {
    Prompts::ShowError(this, FromUtf8(loaded.failure().message));
    return false;
  }
  ListsToShow lists;
  lists.Kyoten = !keep.Kyoten;
  lists.Aishou = !keep.Aishou;
  lists.Oya = availability_.officerList && !keep.Oya;
  lists.Tomo = availability_.officerList && !keep.Tomo;
  lists.Teki = availability_.officerList && !keep.Teki;
  ShowForm(form, lists);
  KaoComboBox1Change();
  // Enabled for good from the first successful load.
  ui->Save1->setEnabled(true);
  ui->ToolButton2->setEnabled(true);
  setWindowTitle(k4r::ui::kAppTitle + QStringLiteral(" - ") + QDir::toNativeSeparators(path));
  return true;
}

void TForm1::Save1Click() {
  if (BushouFile.path.empty()) {
    return;  // nothing was opened; the command is disabled until then
  }
  CommitComposition();
  const k4r::Status saved = k4r::SaveOfficerFile(BushouFile.path, BushouFile, ReadForm(), availability_);
  if (!saved) {
    Prompts::ShowError(this, FromUtf8(saved.failure().message));
  }
}

void TForm1::ToolButton2Click() {
  Save1Click();
}

k4r::KeepFlags TForm1::ReadKeepFlags() const {
  k4r::KeepFlags keep;
  keep.Kyoten = ui->FixedCheckBox1->isChecked();
  keep.Aishou = ui->FixedCheckBox2->isChecked();
  keep.Oya = ui->FixedCheckBox3->isChecked();
  keep.Tomo = ui->FixedCheckBox4->isChecked();
  keep.Teki = ui->FixedCheckBox5->isChecked();
  return keep;
}

k4r::NameListSizes TForm1::ListSizes() const {
  k4r::NameListSizes sizes;
  sizes.officers = ui->OyaComboBox1->count();
  sizes.faces = ui->KaoComboBox1->count();
  return sizes;
}

k4r::OfficerForm TForm1::ReadForm() const {
  k4r::OfficerForm form;
  form.sei1 = ui->sei1Edit1->Bytes();
  form.mei1 = ui->mei1Edit1->Bytes();
  form.sei2 = ui->sei2Edit1->Bytes();
  form.mei2 = ui->mei2Edit1->Bytes();
  form.retuden = ui->retudenMemo1->Bytes();
  form.seiji = TextOf(ui->seijiEdit1);
  form.tousotu = TextOf(ui->tousotuEdit1);
  form.tiryaku = TextOf(ui->tiryakuEdit1);
  form.kyouyou = TextOf(ui->kyouyouEdit1);
  form.giri = TextOf(ui->giriEdit1);
  form.tokugi = {PositionOf(ui->tokugiComboBox1), PositionOf(ui->tokugiComboBox2), PositionOf(ui->tokugiComboBox3)};
  form.seibetu = TextOf(ui->seibetuEdit1);
  form.tanjou = TextOf(ui->tanjouEdit1);
  form.jumyou = TextOf(ui->jumyouEdit1);
  form.botu = ui->botuLabel1->text().toStdString();
  form.shutuji = PositionOf(ui->shutujiComboBox1);
  form.sinjin = PositionOf(ui->sinjinComboBox1);
  form.Kyoten = PositionOf(ui->KyotenComboBox1);
  form.Aishou = PositionOf(ui->Aishou1ComboBox1);
  form.Oya = PositionOf(ui->OyaComboBox1);
  form.Tomo = PositionOf(ui->TomoComboBox1);
  form.Teki = PositionOf(ui->TekiComboBox1);
  form.Kao = PositionOf(ui->KaoComboBox1);
  return form;
}

// In the order a load makes the fields current: the texts are set so that
// their change handlers run (birth year and lifespan recompute the derived
// labels); lists are set without running a handler.
void TForm1::ShowForm(const k4r::OfficerForm& form, const ListsToShow& lists) {
  ui->sei1Edit1->SetBytes(form.sei1);
  ui->mei1Edit1->SetBytes(form.mei1);
  ui->sei2Edit1->SetBytes(form.sei2);
  ui->mei2Edit1->SetBytes(form.mei2);
  ui->seijiEdit1->setText(Text(form.seiji));
  ui->tousotuEdit1->setText(Text(form.tousotu));
  ui->tiryakuEdit1->setText(Text(form.tiryaku));
  ui->kyouyouEdit1->setText(Text(form.kyouyou));
  ui->giriEdit1->setText(Text(form.giri));
  Select(ui->tokugiComboBox1, form.tokugi[0]);
  Select(ui->tokugiComboBox2, form.tokugi[1]);
  Select(ui->tokugiComboBox3, form.tokugi[2]);
  ui->seibetuEdit1->setText(Text(form.seibetu));
  ui->tanjouEdit1->setText(Text(form.tanjou));
  ui->botuLabel1->setText(Text(form.botu));
  ui->botuLabel1->adjustSize();
  ui->jumyouEdit1->setText(Text(form.jumyou));
  Select(ui->shutujiComboBox1, form.shutuji);
  Select(ui->sinjinComboBox1, form.sinjin);
  ui->retudenMemo1->SetBytes(form.retuden);
  if (lists.Kyoten) {
    Select(ui->KyotenComboBox1, form.Kyoten);
  }
  if (lists.Aishou) {
    Select(ui->Aishou1ComboBox1, form.Aishou);
  }
  if (lists.Oya) {
    Select(ui->OyaComboBox1, form.Oya);
  }
  if (lists.Tomo) {
    Select(ui->TomoComboBox1, form.Tomo);
  }
  if (lists.Teki) {
    Select(ui->TekiComboBox1, form.Teki);
  }
  Select(ui->KaoComboBox1, form.Kao);
}
