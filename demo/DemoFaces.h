#pragma once
// Invented face portraits for the demo set: drawn by our own code, one
// distinct face per face number, the same on every run.

#include <QImage>

#include "core/Bytes.h"

namespace k4r::demo {

// The portrait of `faceNumber` (0..999) as a 96 x 120 RGB32 image, before
// its colours are reduced to a palette.
[[nodiscard]] QImage RenderDemoFace(int faceNumber);

// A complete face graphics file holding the 1000 demo portraits.
[[nodiscard]] ByteString MakeDemoFaceArchive();

}  // namespace k4r::demo
