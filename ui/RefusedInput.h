#pragma once
// Telling the user that characters the officer file cannot store were not
// taken into an edit box: the system beep and a tool tip at the box.

#include <QString>

class QWidget;

namespace k4r::ui {

// "保存できない文字は入力できません: 😀 é"; a character that shows no glyph
// (a space, a format or control character) is named by its code, "U+200B".
[[nodiscard]] QString RefusedInputText(const QString& refused);

// The beep and the tool tip naming `refused` at `box`.
void ReportRefusedInput(QWidget& box, const QString& refused);

}  // namespace k4r::ui
