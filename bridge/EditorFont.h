#pragma once
// The editor's Japanese font, for pictures drawn outside a window.

#include <QFont>

namespace k4r::bridge {

// MS P Gothic where installed, else the first installed proportional
// Japanese Gothic of the editor's fallback list (IPA P Gothic from
// fonts-ipafont-gothic on Debian), at `pixelSize`. Needs a QGuiApplication.
[[nodiscard]] QFont EditorFont(int pixelSize = 12);

}  // namespace k4r::bridge
