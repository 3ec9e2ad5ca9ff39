#pragma once
// What a screen reader hears of the editor's controls: every box and list by
// the name of its caption, the buttons and check boxes of the rows by their
// row, the portrait by the face it shows.

#include <QString>

class QWidget;

namespace Ui {
class TForm1;
}

namespace k4r::ui {

// Drop-down lists are then named by their caption, with the chosen entry as
// their value: Qt's own interface names a list by its entry on Linux, so a
// screen reader could not tell the lists apart. Call it after QApplication.
void InstallListAccessibility();

// A caption as a name: "政治 :" gives "政治", "開く(&O)..." gives "開く".
[[nodiscard]] QString NameOfCaption(QString caption);

// Each control of `window` that a label names (its buddy) takes the label's
// caption as its accessible name.
void NameByLabels(QWidget& window);

// The main window's names: the boxes and lists by their captions, the rows'
// search buttons and "固定" check boxes by their rows, the spinners' arrows,
// the two tool buttons by their commands and the portrait by its face, which
// follows the face list while `faceShown`.
void NameMainControls(Ui::TForm1& form, bool faceShown);

}  // namespace k4r::ui
