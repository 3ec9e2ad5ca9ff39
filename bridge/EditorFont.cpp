#include "bridge/EditorFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace k4r::bridge {

QFont EditorFont(int pixelSize) {
  // The same order as the editor's window.
  const QStringList wanted = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                              QStringLiteral("IPAPGothic"),      QStringLiteral("IPA Pゴシック"),
                              QStringLiteral("VL PGothic"),      QStringLiteral("Noto Sans CJK JP")};
  const QStringList installed = QFontDatabase::families();
  QFont font;
  for (const QString& family : wanted) {
    if (installed.contains(family)) {
      font.setFamily(family);
      break;
    }
  }
  font.setPixelSize(pixelSize);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

}  // namespace k4r::bridge
