// The death year and the four scenario ages, kept in step with the birth
// year and the lifespan, and the buttons that preset those and the abilities.

#include <QLabel>
#include <QLineEdit>
#include <limits>
#include <optional>

#include "bridge/Cp932.h"
#include "core/IntegerRule.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
#include "ui/Main.h"
#include "ui/Prompts.h"
#include "ui_Main.h"

using k4r::BirthYear;
using k4r::DeathYear;
using k4r::Lifespan;
using k4r::ui::BoxIcon;
using k4r::ui::Prompts;

namespace {

std::optional<qint64> WholeNumber(const QString& text) {
  const std::optional<std::int32_t> value = k4r::ParseInteger(text.toStdString());
  if (!value) {
    return std::nullopt;
  }
  return *value;
}

bool FitsInt32(qint64 value) {
  return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

void ShowNotAnInteger(QWidget* parent, const QString& text) {
  Prompts::ShowError(parent, k4r::bridge::FromUtf8(k4r::messages::NotAnInteger(text.toStdString())));
}

struct ScenarioRow {
  int year;
  QLabel* age;
  QLabel* state;
};

constexpr int kGenpukuAge = 15;  // up to this age an officer is before his coming of age
const QString kGrownUp = QStringLiteral("元服後");

}  // namespace

// Reads the lifespan, then the birth year. A birth year that is not a whole
// number is put back to the one that goes with the death year shown; setting
// it runs this handler again for the repaired text before this one goes on.
void TForm1::tanjouEdit1Change() {
  const QString lifespanText = ui->jumyouEdit1->text();
  const std::optional<qint64> lifespan = WholeNumber(lifespanText);
  if (!lifespan) {
    ShowNotAnInteger(this, lifespanText);
    return;
  }
  std::optional<qint64> birthYear = WholeNumber(ui->tanjouEdit1->text());
  if (!birthYear) {
    Prompts::Beep();
    Prompts::ShowBox(this, BoxIcon::Warning, QStringLiteral("警告"), QStringLiteral("整数ではありません"));
    const QString deathText = ui->botuLabel1->text();
    const std::optional<qint64> deathYear = WholeNumber(deathText);
    // A repair that would not read back as a number would repair forever.
    if (!deathYear || !FitsInt32(BirthYear(*deathYear, *lifespan))) {
      ShowNotAnInteger(this, deathText);
      return;
    }
    birthYear = BirthYear(*deathYear, *lifespan);
    ui->tanjouEdit1->setText(QString::number(*birthYear));
  }
  ShowDeathYear(*birthYear, *lifespan);
  ShowAges(*birthYear);
}

// The same for the lifespan; the ages depend on the birth year alone.
void TForm1::jumyouEdit1Change() {
  const QString birthText = ui->tanjouEdit1->text();
  const std::optional<qint64> birthYear = WholeNumber(birthText);
  if (!birthYear) {
    ShowNotAnInteger(this, birthText);
    return;
  }
  std::optional<qint64> lifespan = WholeNumber(ui->jumyouEdit1->text());
  if (!lifespan) {
    Prompts::Beep();
    Prompts::ShowBox(this, BoxIcon::Warning, QStringLiteral("警告"), QStringLiteral("整数ではありません"));
    const QString deathText = ui->botuLabel1->text();
    const std::optional<qint64> deathYear = WholeNumber(deathText);
    if (!deathYear || !FitsInt32(Lifespan(*birthYear, *deathYear))) {
      ShowNotAnInteger(this, deathText);
      return;
    }
    lifespan = Lifespan(*birthYear, *deathYear);
    ui->jumyouEdit1->setText(QString::number(*lifespan));
  }
  ShowDeathYear(*birthYear, *lifespan);
}

void TForm1::ShowDeathYear(qint64 birthYear, qint64 lifespan) {
  ui->botuLabel1->setText(QString::number(DeathYear(birthYear, lifespan)));
  ui->botuLabel1->adjustSize();
}

// The year of birth counts as age 1.
void TForm1::ShowAges(qint64 birthYear) {
  const ScenarioRow rows[] = {{1551, ui->katokuLabel1, ui->genpukuLabel1},
                              {1560, ui->okehazamaLabel1, ui->genpukuLabel2},
                              {1570, ui->houiLabel1, ui->genpukuLabel3},
                              {1582, ui->honnoujiLabel1, ui->genpukuLabel4}};
  for (const ScenarioRow& row : rows) {
    const qint64 age = row.year - birthYear + 1;
    row.age->setText(QString::number(age));
    row.age->adjustSize();
    const bool grownUp = age > kGenpukuAge;
    row.state->setText(grownUp ? kGrownUp : QStringLiteral("元服前"));
    ColourState(*row.state, palette());
    row.state->adjustSize();
  }
}

// "元服後" in the window's text colour, black on a light palette; "元服前"
// stands out in blue: pure blue on a light window, a light blue on a dark one,
// on which pure blue can hardly be read. The label gets the whole palette of
// the window: under the window's style sheet it does not inherit one.
void TForm1::ColourState(QLabel& state, const QPalette& windowPalette) {
  QPalette own = windowPalette;
  if (state.text() != kGrownUp) {
    const bool darkWindow = windowPalette.color(QPalette::Window).lightness() < 128;
    own.setColor(QPalette::WindowText, darkWindow ? QColor(110, 160, 255) : QColor(0, 0, 255));
  }
  state.setPalette(own);
}

void TForm1::MaxBtn1Click() {
  ui->seijiEdit1->setText(QStringLiteral("120"));
  ui->tousotuEdit1->setText(QStringLiteral("120"));
  ui->tiryakuEdit1->setText(QStringLiteral("120"));
  ui->kyouyouEdit1->setText(QStringLiteral("120"));
  ui->giriEdit1->setText(QStringLiteral("100"));
}

void TForm1::MinBtn1Click() {
  for (QLineEdit* ability : {ui->seijiEdit1, ui->tousotuEdit1, ui->tiryakuEdit1, ui->kyouyouEdit1, ui->giriEdit1}) {
    ability->setText(QStringLiteral("1"));
  }
}

void TForm1::MinBtn2Click() {
  ui->jumyouEdit1->setText(QStringLiteral("16"));
}
void TForm1::MaxBtn2Click() {
  ui->jumyouEdit1->setText(QStringLiteral("110"));
}

// Each sets the birth year that makes the age in its row's year exactly 15.
void TForm1::GenpukuBtn1Click() {
  ui->tanjouEdit1->setText(QStringLiteral("1537"));
}
void TForm1::GenpukuBtn2Click() {
  ui->tanjouEdit1->setText(QStringLiteral("1546"));
}
void TForm1::GenpukuBtn3Click() {
  ui->tanjouEdit1->setText(QStringLiteral("1556"));
}
void TForm1::GenpukuBtn4Click() {
  ui->tanjouEdit1->setText(QStringLiteral("1568"));
}
