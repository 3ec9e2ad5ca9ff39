#include "ui/support/ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace k4r::testing {

QDialog* ActiveModalDialog() {
  return qobject_cast<QDialog*>(QApplication::activeModalWidget());
}

ModalRun DriveModal(const std::function<void()>& open, const std::function<void(QDialog&)>& act, int timeLimitMs) {
  ModalRun run;
  QPointer<QDialog> seen;
  bool acted = false;
  QElapsedTimer clock;
  clock.start();

  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QDialog* active = ActiveModalDialog();
    if (!acted && active != nullptr && active->isVisible()) {
      acted = true;
      run.appeared = true;
      seen = active;
      act(*active);
      return;
    }
    if (clock.elapsed() > timeLimitMs) {
      // Stuck: close whatever is still modal so that `open` returns.
      if (active != nullptr) {
        run.problem = acted ? QStringLiteral("the dialog was still open after the time limit")
                            : QStringLiteral("no modal dialog appeared in time");
        active->reject();
      } else if (!acted) {
        run.problem = QStringLiteral("no modal dialog appeared in time");
      }
    }
  });
  poll.start();
  open();
  poll.stop();
  if (!acted && run.problem.isEmpty()) {
    run.problem = QStringLiteral("no modal dialog was shown");
  }
  run.closed = acted && (seen.isNull() || !seen->isVisible());
  run.destroyed = acted && seen.isNull();
  return run;
}

}  // namespace k4r::testing
