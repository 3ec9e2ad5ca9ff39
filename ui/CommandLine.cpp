#include "ui/CommandLine.h"

namespace k4r::ui {

EditorCommandLine ReadEditorCommandLine(const QStringList& arguments) {
  EditorCommandLine line;
  QStringList files;
  bool optionsEnded = false;
  for (qsizetype index = 1; index < arguments.size(); ++index) {
    const QString& argument = arguments.at(index);
    if (!optionsEnded && argument == QLatin1String("--")) {
      optionsEnded = true;
      continue;
    }
    // A lone "-" is a name like any other, as in most tools.
    if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
      line.usageError = QStringLiteral("unknown option '%1'").arg(argument);
      return line;
    }
    files << argument;
  }
  if (files.size() > 1) {
    line.usageError = QStringLiteral("one FILE at most, not %1: '%2'").arg(files.size()).arg(files.join("' '"));
    return line;
  }
  if (!files.isEmpty()) {
    line.file = files.constFirst();
  }
  return line;
}

}  // namespace k4r::ui
