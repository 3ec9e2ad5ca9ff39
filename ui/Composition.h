#pragma once
// Text that an input method is still composing (the preedit) is shown in its
// box but is not yet the box's text. Save, open and close end the composition
// first, so that what the user sees is what is written.

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace k4r::ui {

class CompositionWatch final : public QObject {
 public:
  // Watches every input-method event of the application while it lives.
  explicit CompositionWatch(QObject* parent = nullptr);

  // The text being composed in `box`; empty when none.
  [[nodiscard]] QString PreeditOf(const QWidget* box) const;

  // Ends the composition in the box composing by committing it: through the
  // input method, and where it neither commits nor resets, by handing the
  // box the composed text itself.
  void CommitComposition();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> box_;
  QString preedit_;
};

}  // namespace k4r::ui
