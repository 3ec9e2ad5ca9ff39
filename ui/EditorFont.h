#pragma once
// The one font of the editor's windows: the main window, its menus and tool
// tips, and every dialog it opens.

#include <QFont>

namespace k4r::ui {

// "ＭＳ Ｐゴシック" at 12 pixels where installed, else the first installed
// proportional Japanese gothic of the same kind.
[[nodiscard]] QFont EditorFont();

}  // namespace k4r::ui
