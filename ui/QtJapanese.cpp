#include "ui/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace k4r::ui {

bool InstallQtJapanese(QCoreApplication& application) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  // From here the application owns it, for the rest of its life.
  translator->setParent(&application);
  return QCoreApplication::installTranslator(translator.release());
}

}  // namespace k4r::ui
