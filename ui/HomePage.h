#pragma once
// The project's home page, shown and opened by the About dialog. The README
// names the same address.

#include <QString>

namespace k4r::ui {

inline const QString kHomePageAddress = QStringLiteral("https://k4r-editor.example.org/");

}  // namespace k4r::ui
