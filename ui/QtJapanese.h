#pragma once
// Qt's own texts (the file dialog, the edit boxes' context menus, the
// message boxes' buttons) in Japanese, like the rest of the interface.

class QCoreApplication;

namespace k4r::ui {

// Loads Qt's Japanese translations (qtbase_ja.qm from Qt's translations
// folder) into `application`, whatever the user's language: the interface is
// Japanese by design, and Qt's words must not be the odd ones out. Returns
// false where the translations are not installed; Qt then stays in English.
bool InstallQtJapanese(QCoreApplication& application);

}  // namespace k4r::ui
