#include "ui/Composition.h"

#include <QApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QWidget>

namespace k4r::ui {

CompositionWatch::CompositionWatch(QObject* parent) : QObject(parent) {
  qApp->installEventFilter(this);
}

QString CompositionWatch::PreeditOf(const QWidget* box) const {
  return box != nullptr && box_ == box ? preedit_ : QString();
}

bool CompositionWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::InputMethod && watched->isWidgetType()) {
    // Only one box composes at a time: the one with the input focus.
    box_ = static_cast<QWidget*>(watched);
    preedit_ = static_cast<QInputMethodEvent*>(event)->preeditString();
  }
  return QObject::eventFilter(watched, event);
}

void CompositionWatch::CommitComposition() {
  const QPointer<QWidget> box = box_;
  if (PreeditOf(box).isEmpty()) {
    return;
  }
  QGuiApplication::inputMethod()->commit();
  if (PreeditOf(box).isEmpty()) {
    return;
  }
  // fcitx5's Qt module ignores commit(); its reset() commits what is composed.
  QGuiApplication::inputMethod()->reset();
  const QString left = PreeditOf(box);
  if (left.isEmpty() || box.isNull()) {
    return;
  }
  QInputMethodEvent commit;
  commit.setCommitString(left);
  QApplication::sendEvent(box, &commit);
}

}  // namespace k4r::ui
