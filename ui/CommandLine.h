#pragma once
// The editor's command line, read once Qt has taken its own options (-style,
// -platform, ...) out of it, and after --help and --version were answered.

#include <QString>
#include <QStringList>

namespace k4r::ui {

inline const QString kEditorUsage = QStringLiteral("Usage: k4r-editor [FILE]");

struct EditorCommandLine {
  QString file;        // the officer file to open at start; empty: none
  QString usageError;  // what is wrong, one line; empty when the line is valid
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
// At most one FILE; any other argument starting with a dash is an unknown
// option, up to "--", after which a name starting with a dash is a file.
[[nodiscard]] EditorCommandLine ReadEditorCommandLine(const QStringList& arguments);

}  // namespace k4r::ui
