#pragma once
// The face import dialog: the present face beside the picture reduced to a
// face, with the fit and dithering choices, and which file and face an OK
// changes.

#include <QDialog>
#include <QImage>

#include "bridge/FaceFit.h"
#include "core/FaceArchive.h"

class QCheckBox;
class QComboBox;
class QLabel;

class TForm7 : public QDialog {
  Q_OBJECT

 public:
  // `picture` as read; `present` the face as it is now.
  TForm7(const QImage& picture, const k4r::FacePortrait& present, const QString& faceFile, int faceNumber,
         QWidget* parent = nullptr);

  // The face as the preview shows it.
  [[nodiscard]] const k4r::FacePortrait& Result() const { return result_; }

 private:
  // Reduces the picture again with the chosen fit and dithering.
  void UpdatePreview();

  QImage picture_;
  k4r::FacePortrait present_;
  k4r::FacePortrait result_;
  QComboBox* FitComboBox1 = nullptr;
  QCheckBox* DitherCheckBox1 = nullptr;
  QLabel* PreviewLabel1 = nullptr;
};
