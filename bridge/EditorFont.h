#pragma once
// The editor's one Japanese font: the window, its dialogs and the pictures
// that k4r draws.

#include <QFont>

namespace k4r::bridge {

// MS P Gothic where installed, else the first installed proportional
// Japanese Gothic of the editor's fallback list (IPA P Gothic from
// fonts-ipafont-gothic on Debian), at `pixelSize`. Needs a QGuiApplication.
[[nodiscard]] QFont EditorFont(int pixelSize = 12);

}  // namespace k4r::bridge
