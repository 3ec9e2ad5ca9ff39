#include "bridge/EditorFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace k4r::bridge {

QFont EditorFont(int pixelSize) {
  // The Windows font under its Japanese and English names, then the
  // proportional gothics that Linux distributions ship.
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
