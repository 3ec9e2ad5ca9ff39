#pragma once
// Any picture as a face portrait: read, fitted to 96 x 120 and reduced to
// the face's 256 colours.

#include <QImage>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/ColourReduction.h"
#include "core/FaceArchive.h"
#include "core/Result.h"

namespace k4r::bridge {

// Dithering unless the user says otherwise: chosen by looking at photographs
// and drawings reduced both ways.
inline constexpr bool kDitherByDefault = true;

enum class FaceFit {
  Cover,    // scaled to fill, cropped at the centre
  Contain,  // scaled to fit, the rest in the picture's edge colour
  Stretch,  // scaled to the size, proportions lost
};

// "cover", "contain", "stretch".
[[nodiscard]] std::optional<FaceFit> FaceFitNamed(std::string_view name);

// A picture in any format Qt reads, turned upright as its camera noted.
// Fails with messages::PictureUnreadable(path).
[[nodiscard]] Result<QImage> ReadPicture(const std::filesystem::path& path);

// The picture at 96 x 120 (RGB32), scaled with area averaging; transparent
// parts over white. A picture of that size already is used as it is.
[[nodiscard]] QImage FitToFace(const QImage& picture, FaceFit fit);

// The 96 x 120 colours of a fitted picture, row by row.
[[nodiscard]] std::vector<Rgb> ColoursOf(const QImage& fitted);

// FitToFace, then ReduceToFace against the face as it is now.
[[nodiscard]] FacePortrait PictureToFace(const QImage& picture, const FacePortrait& present, FaceFit fit,
                                         const ReductionOptions& options);

}  // namespace k4r::bridge
