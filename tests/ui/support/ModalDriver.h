#pragma once
// Drives a modal dialog from inside its own event loop: the test starts the
// dialog the way the user does, and acts on it once it is the active modal
// window. Nothing waits forever: a dialog still open after the time limit
// is closed and the run is reported as failed.

#include <QString>
#include <functional>

class QDialog;

namespace k4r::testing {

struct ModalRun {
  bool appeared = false;   // a modal dialog was shown
  bool closed = false;     // it had closed when `open` returned
  bool destroyed = false;  // ... and had been destroyed
  QString problem;         // why the run failed, empty when it did not
};

// Calls `open`, which must run a modal dialog (e.g. by clicking a button whose
// handler calls exec()); as soon as that dialog is active, `act` is called
// with it. `act` normally ends by closing the dialog. Only a dialog that
// never comes or never goes waits out the limit, so it is generous enough for
// a busy machine.
ModalRun DriveModal(const std::function<void()>& open, const std::function<void(QDialog&)>& act,
                    int timeLimitMs = 60000);

// The modal dialog that is active now, or nullptr.
[[nodiscard]] QDialog* ActiveModalDialog();

}  // namespace k4r::testing
