#include "bridge/FaceFit.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "core/Messages.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>
#endif

namespace k4r::bridge {
namespace {

constexpr int kWidth = FacePortrait::kWidth;
constexpr int kHeight = FacePortrait::kHeight;

// The mean colour of the outermost rows and columns: what a padded picture
// continues with.
QColor EdgeColour(const QImage& image) {
  std::uint64_t red = 0, green = 0, blue = 0, count = 0;
  const auto add = [&](int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    red += static_cast<std::uint64_t>(qRed(pixel));
    green += static_cast<std::uint64_t>(qGreen(pixel));
    blue += static_cast<std::uint64_t>(qBlue(pixel));
    ++count;
  };
  for (int x = 0; x < image.width(); ++x) {
    add(x, 0);
    add(x, image.height() - 1);
  }
  for (int y = 1; y + 1 < image.height(); ++y) {
    add(0, y);
    add(image.width() - 1, y);
  }
  if (count == 0) {
    return Qt::white;
  }
  const auto mean = [count](std::uint64_t sum) { return static_cast<int>((sum + count / 2) / count); };
  return QColor(mean(red), mean(green), mean(blue));
}

QImage Opaque(const QImage& picture) {
  if (!picture.hasAlphaChannel()) {
    return picture.convertToFormat(QImage::Format_RGB32);
  }
  QImage opaque(picture.size(), QImage::Format_RGB32);
  opaque.fill(Qt::white);
  QPainter painter(&opaque);
  painter.drawImage(0, 0, picture);
  return opaque;
}

// k4r runs without an application object, and then Qt on Windows does not
// find qt.conf, so the image plugins beside the program (GIF, ICO) stay
// unknown: the program's folder is named to Qt once. Elsewhere the plugins
// lie where Qt was installed.
void FindPluginsBesideTheProgram() {
#ifdef _WIN32
  static const bool named = [] {
    if (QCoreApplication::instance() == nullptr) {
      std::vector<wchar_t> path(32768);
      const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length > 0 && length < path.size()) {
        QCoreApplication::addLibraryPath(
            QFileInfo(QString::fromWCharArray(path.data(), static_cast<qsizetype>(length))).absolutePath());
      }
    }
    return true;
  }();
  static_cast<void>(named);
#endif
}

}  // namespace

std::optional<FaceFit> FaceFitNamed(std::string_view name) {
  if (name == "cover") {
    return FaceFit::Cover;
  }
  if (name == "contain") {
    return FaceFit::Contain;
  }
  if (name == "stretch") {
    return FaceFit::Stretch;
  }
  return std::nullopt;
}

Result<QImage> ReadPicture(const std::filesystem::path& path) {
  FindPluginsBesideTheProgram();
  QImageReader reader(QString::fromStdU16String(path.u16string()));
  reader.setAutoTransform(true);
  QImage picture = reader.read();
  if (picture.isNull() || picture.width() < 1 || picture.height() < 1) {
    return Failure{messages::PictureUnreadable(path)};
  }
  return picture;
}

QImage FitToFace(const QImage& picture, FaceFit fit) {
  const QImage source = Opaque(picture);
  const QSize size(kWidth, kHeight);
  if (source.size() == size || source.isNull()) {
    return source.isNull() ? QImage(size, QImage::Format_RGB32) : source;
  }
  switch (fit) {
    case FaceFit::Stretch: return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    case FaceFit::Cover: {
      const QImage scaled = source.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
      return scaled.copy((scaled.width() - kWidth) / 2, (scaled.height() - kHeight) / 2, kWidth, kHeight);
    }
    case FaceFit::Contain: {
      const QImage scaled = source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      QImage padded(size, QImage::Format_RGB32);
      padded.fill(EdgeColour(source));
      QPainter painter(&padded);
      painter.drawImage((kWidth - scaled.width()) / 2, (kHeight - scaled.height()) / 2, scaled);
      return padded;
    }
  }
  return source;
}

std::vector<Rgb> ColoursOf(const QImage& fitted) {
  const QImage image = fitted.convertToFormat(QImage::Format_RGB32);
  std::vector<Rgb> colours;
  colours.reserve(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < std::min(kHeight, image.height()); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < std::min(kWidth, image.width()); ++x) {
      colours.push_back(Rgb{static_cast<std::uint8_t>(qRed(line[x])), static_cast<std::uint8_t>(qGreen(line[x])),
                            static_cast<std::uint8_t>(qBlue(line[x]))});
    }
  }
  return colours;
}

FacePortrait PictureToFace(const QImage& picture, const FacePortrait& present, FaceFit fit,
                           const ReductionOptions& options) {
  return ReduceToFace(ColoursOf(FitToFace(picture, fit)), present, options);
}

}  // namespace k4r::bridge
