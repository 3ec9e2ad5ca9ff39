#pragma once
// A face sheet: many portraits of a face graphics file in a grid, each with
// its face number and, when the face list is known, its name under it.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>

#include "core/FaceArchive.h"
#include "core/NameList.h"

namespace k4r::cli {

struct FaceSheetRequest {
  int from = 0;                       // the first face number drawn
  int count = face_file::kFaceCount;  // how many, in number order
  int columns = 20;
  const NameList* names = nullptr;  // the face list (KAO.DAT), or none
};

// Where everything of a sheet lies; cells run left to right, then down.
class FaceSheetLayout {
 public:
  static constexpr int kMargin = 8;
  static constexpr int kGap = 8;
  static constexpr int kLineHeight = 15;

  explicit FaceSheetLayout(const FaceSheetRequest& request);
  [[nodiscard]] QSize Size() const;
  // The top-left corner of the portrait of the `index`th face drawn (0 is
  // the face number `from`).
  [[nodiscard]] QPoint PortraitAt(int index) const;
  // The top of the first text line under the portrait at `index`.
  [[nodiscard]] int TextTop(int index) const { return PortraitAt(index).y() + FacePortrait::kHeight + 2; }
  [[nodiscard]] int CellWidth() const { return FacePortrait::kWidth + kGap; }
  [[nodiscard]] int CellHeight() const { return FacePortrait::kHeight + 2 + textLines_ * kLineHeight + kGap; }

 private:
  int columns_ = 1;
  int rows_ = 1;
  int textLines_ = 1;
};

// The colour of a face whose picture does not lie in the file.
inline constexpr QRgb kMissingFaceGrey = 0xFFA0A0A0;

// Whether the picture of `face` lies wholly inside a face file of
// `fileSize` bytes, by the archive's offset table.
[[nodiscard]] bool PictureInFile(const FaceArchive& archive, int face, std::uintmax_t fileSize);

// Draws the sheet from the archive's file of `fileSize` bytes. A face whose
// picture does not lie in the file is a grey box; the portraits are the exact
// pixels of bridge::PortraitToImage. A picture that lies in the file but
// cannot be read fails the whole sheet. Text needs a QGuiApplication.
[[nodiscard]] Result<QImage> DrawFaceSheet(const FaceArchive& archive, std::uintmax_t fileSize,
                                           const FaceSheetRequest& request);

}  // namespace k4r::cli
