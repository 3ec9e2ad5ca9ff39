#include "bridge/Messages.h"

namespace k4r::bridge {

QString NotFoundText(const QString& searched) {
  // U+201D on both sides, then an ideographic space (U+3000).
  return QStringLiteral("\u201D") + searched + QStringLiteral("\u201D\u3000は見つかりませんでした。");
}

}  // namespace k4r::bridge
