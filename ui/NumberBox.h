#pragma once
// The edit boxes that hold numbers (the abilities, birth year, lifespan and
// the sex code) take direct input only: the input method is switched off
// while they have focus, and they ask for digits. Full-width digits and signs
// that reach them all the same (a paste, an input method that does not let
// go) become ASCII as they come in, so the box shows what the file gets.

#include <QString>

class QLineEdit;

namespace k4r::ui {

void MakeNumberBox(QLineEdit& box);

// `text` with full-width digits, plus and minus as ASCII.
[[nodiscard]] QString WithAsciiDigits(const QString& text);

}  // namespace k4r::ui
