#include "ui/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QToolButton>

#include "ui/PortraitBox.h"
#include "ui/UpDown.h"
#include "ui_Main.h"

namespace k4r::ui {
namespace {

// A pick-only drop-down list: named by its caption (its accessible name or
// its buddy label), its chosen entry as the value, its popup list as its one
// child, and "show menu" opening it.
class LabelledListAccessible : public QAccessibleWidget {
 public:
  explicit LabelledListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  [[nodiscard]] QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) {
      return List().currentText();
    }
    QString said = QAccessibleWidget::text(kind);
    // A list nobody named is still told apart by what it shows.
    if (kind == QAccessible::Name && said.isEmpty()) {
      said = List().currentText();
    }
    return said;
  }
  [[nodiscard]] int childCount() const override { return 1; }
  [[nodiscard]] QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(List().view()) : nullptr;
  }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == List().view() ? 0 : -1;
  }
  [[nodiscard]] QStringList actionNames() const override {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction()) {
      static_cast<QComboBox*>(widget())->showPopup();
      return;
    }
    QAccessibleWidget::doAction(action);
  }

 private:
  [[nodiscard]] const QComboBox& List() const { return *static_cast<const QComboBox*>(object()); }
};

// Qt's accessibility cache owns what a factory returns.
QAccessibleInterface* EditorAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("QComboBox")) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (list != nullptr && !list->isEditable()) {
      return new LabelledListAccessible(list);
    }
  }
  if (className == QLatin1String("PortraitBox")) {
    return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::Graphic);
  }
  return nullptr;
}

void NamePortrait(PortraitBox& portrait, const QComboBox& faces, bool faceShown) {
  const bool drawn = faceShown && faces.currentIndex() >= 0;
  portrait.setAccessibleName(QStringLiteral("顔CG: ") + (drawn ? faces.currentText() : QStringLiteral("なし")));
}

}  // namespace

void InstallListAccessibility() {
  QAccessible::installFactory(EditorAccessibleFactory);
}

QString NameOfCaption(QString caption) {
  static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
  caption.remove(mnemonic);
  // A lone "&" marks a mnemonic; "&&" stands for one "&".
  static const QRegularExpression marker(QStringLiteral("&(?!&)"));
  caption.remove(marker);
  caption = caption.trimmed();
  for (const QString& tail : {QStringLiteral("..."), QStringLiteral(":")}) {
    if (caption.endsWith(tail)) {
      caption.chop(tail.size());
      caption = caption.trimmed();
    }
  }
  return caption;
}

void NameByLabels(QWidget& window) {
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->buddy() != nullptr) {
      label->buddy()->setAccessibleName(NameOfCaption(label->text()));
    }
  }
}

void NameMainControls(Ui::TForm1& form, bool faceShown) {
  NameByLabels(*form.centralwidget);
  // One caption serves both the sex list and its code.
  form.seibetuEdit1->setAccessibleName(NameOfCaption(form.Label13->text()) + QStringLiteral("コード"));
  form.ToolButton1->setAccessibleName(NameOfCaption(form.Open1->text()));
  form.ToolButton2->setAccessibleName(NameOfCaption(form.Save1->text()));

  struct Row {
    const QLabel* caption;
    QWidget* keep;
    QWidget* search;
  };
  const Row rows[] = {
      {form.Label25, form.FixedCheckBox1, form.FindBtn1}, {form.Label26, form.FixedCheckBox2, nullptr},
      {form.Label27, form.FixedCheckBox3, form.FindBtn2}, {form.Label28, form.FixedCheckBox4, form.FindBtn3},
      {form.Label29, form.FixedCheckBox5, form.FindBtn4}, {form.Label31, nullptr, form.FindBtn5}};
  for (const Row& row : rows) {
    const QString name = NameOfCaption(row.caption->text());
    if (row.keep != nullptr) {
      row.keep->setAccessibleName(name + QStringLiteral("を固定"));
    }
    if (row.search != nullptr) {
      row.search->setAccessibleName(name + QStringLiteral("を検索"));
    }
  }

  // The preset buttons share their captions ("min", "max", "set").
  const QString abilities = QStringLiteral("能力");
  const QString lifespan = NameOfCaption(form.Label15->text());
  form.MinBtn1->setAccessibleName(abilities + QStringLiteral(" min"));
  form.MaxBtn1->setAccessibleName(abilities + QStringLiteral(" max"));
  form.MinBtn2->setAccessibleName(lifespan + QStringLiteral(" min"));
  form.MaxBtn2->setAccessibleName(lifespan + QStringLiteral(" max"));
  const std::pair<QWidget*, const QLabel*> presets[] = {{form.GenpukuBtn1, form.Label20},
                                                        {form.GenpukuBtn2, form.Label21},
                                                        {form.GenpukuBtn3, form.Label22},
                                                        {form.GenpukuBtn4, form.Label23}};
  for (const auto& [button, scenario] : presets) {
    button->setAccessibleName(scenario->text().simplified() + QStringLiteral(" set"));
  }

  const std::pair<UpDown*, QWidget*> spinners[] = {{form.UpDown1, form.seijiEdit1},   {form.UpDown2, form.tousotuEdit1},
                                                   {form.UpDown3, form.tiryakuEdit1}, {form.UpDown4, form.kyouyouEdit1},
                                                   {form.UpDown5, form.giriEdit1},    {form.UpDown6, form.tanjouEdit1},
                                                   {form.UpDown7, form.jumyouEdit1}};
  for (const auto& [spinner, box] : spinners) {
    const QString name = box->accessibleName();
    spinner->setAccessibleName(name + QStringLiteral("の増減"));
    for (QToolButton* arrow : spinner->findChildren<QToolButton*>()) {
      const bool up = arrow->arrowType() == Qt::UpArrow;
      arrow->setAccessibleName(name + (up ? QStringLiteral("を1増やす") : QStringLiteral("を1減らす")));
    }
  }

  // The face list's selection moves by the user, a load or a search.
  NamePortrait(*form.PaintBox1, *form.KaoComboBox1, faceShown);
  QObject::connect(form.KaoComboBox1, &QComboBox::currentIndexChanged, form.PaintBox1,
                   [portrait = form.PaintBox1, faces = form.KaoComboBox1, faceShown] {
                     NamePortrait(*portrait, *faces, faceShown);
                   });
}

}  // namespace k4r::ui
