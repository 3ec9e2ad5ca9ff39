#pragma once
// Telling the user that input did not go into an edit box as given: the
// system beep and a tool tip at the box, which is also announced to screen
// readers. Either characters the officer file cannot store were refused, or
// what did not fit the box's byte limit was left out.

#include <QString>

class QWidget;

namespace k4r::ui {

// "保存できない文字は入力できません: 😀 é"; a character that shows no glyph
// (a space, a format or control character) is named by its code, "U+200B".
[[nodiscard]] QString RefusedInputText(const QString& refused);

// "8 バイトを超える分は入力できません: 法", naming what was left out the same way.
[[nodiscard]] QString CutInputText(const QString& leftOut, int byteLimit);

// The beep and the tool tip naming `refused` at `box`.
void ReportRefusedInput(QWidget& box, const QString& refused);

// The beep and the tool tip naming `leftOut`, which did not fit in `box`.
void ReportCutInput(QWidget& box, const QString& leftOut, int byteLimit);

}  // namespace k4r::ui
