#include "cli/FaceSheet.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>

#include "bridge/Cp932.h"
#include "bridge/EditorFont.h"
#include "bridge/PortraitImage.h"

namespace k4r::cli {

FaceSheetLayout::FaceSheetLayout(const FaceSheetRequest& request)
    : columns_(std::max(1, std::min(request.columns, std::max(1, request.count)))),
      rows_(std::max(1, (request.count + columns_ - 1) / columns_)),
      textLines_(request.names != nullptr ? 2 : 1) {}

QSize FaceSheetLayout::Size() const {
  // The gap after the last cell is the margin's part on that side.
  return {2 * kMargin + columns_ * CellWidth() - kGap, 2 * kMargin + rows_ * CellHeight() - kGap};
}

QPoint FaceSheetLayout::PortraitAt(int index) const {
  return {kMargin + (index % columns_) * CellWidth(), kMargin + (index / columns_) * CellHeight()};
}

namespace {

void DrawCaption(QPainter& painter, const QFontMetrics& metrics, int left, int top, const QString& text) {
  const QString shown = metrics.elidedText(text, Qt::ElideRight, FacePortrait::kWidth);
  painter.drawText(QRect(left, top, FacePortrait::kWidth, FaceSheetLayout::kLineHeight),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, shown);
}

}  // namespace

bool PictureInFile(const FaceArchive& archive, int face, std::uintmax_t fileSize) {
  const std::int32_t start = archive.ImageOffset(face);
  if (start < 0) {
    return false;
  }
  const auto end = static_cast<std::uintmax_t>(start) + static_cast<std::uintmax_t>(face_file::kImageSize);
  return end <= fileSize;
}

Result<QImage> DrawFaceSheet(const FaceArchive& archive, std::uintmax_t fileSize, const FaceSheetRequest& request) {
  const FaceSheetLayout layout(request);
  QImage sheet(layout.Size(), QImage::Format_RGB32);
  sheet.fill(Qt::white);

  QPainter painter(&sheet);
  const QFont font = bridge::EditorFont();
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font);
  for (int index = 0; index < request.count; ++index) {
    const int face = request.from + index;
    const QPoint corner = layout.PortraitAt(index);
    if (PictureInFile(archive, face, fileSize)) {
      const Result<FacePortrait> portrait = archive.ReadPortrait(face);
      if (!portrait) {
        return portrait.failure();
      }
      // Same format, no scaling: the pixels arrive as they are.
      painter.drawImage(corner, bridge::PortraitToImage(portrait.value()));
    } else {
      painter.fillRect(QRect(corner, QSize(FacePortrait::kWidth, FacePortrait::kHeight)), QColor(kMissingFaceGrey));
    }
    const int top = layout.TextTop(index);
    DrawCaption(painter, metrics, corner.x(), top, QString::number(face));
    if (request.names != nullptr) {
      const QString name = bridge::FromCp932(EntryAt(*request.names, face));
      DrawCaption(painter, metrics, corner.x(), top + FaceSheetLayout::kLineHeight, name);
    }
  }
  painter.end();
  return sheet;
}

}  // namespace k4r::cli
