#include "demo/DemoFaces.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QSet>
#include <cstdlib>
#include <memory>

#include "bridge/PortraitImage.h"
#include "core/FaceArchive.h"
#include "support/TempDir.h"

namespace k4r::demo {
namespace {

// The archive takes a few seconds to make: once for the whole suite.
class DemoFacesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<testing::TempDir>();
    path_ = *dir_ / "KAO_M.VX9";
    testing::WriteBytes(path_, MakeDemoFaceArchive());
  }
  static void TearDownTestSuite() { dir_.reset(); }
  static inline std::unique_ptr<testing::TempDir> dir_;
  static inline std::filesystem::path path_;
};

QByteArray PixelHash(const QImage& image) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (int y = 0; y < image.height(); ++y) {
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4));
  }
  return hash.result();
}

TEST_F(DemoFacesTest, EveryFaceReadsAndNoTwoAreAlike) {
  FaceArchive archive;
  const Status loaded = archive.LoadOffsetTable(path_);
  ASSERT_TRUE(loaded.ok()) << loaded.failure().message;
  QSet<QByteArray> seen;
  for (int face = 0; face < face_file::kFaceCount; ++face) {
    const Result<FacePortrait> portrait = archive.ReadPortrait(face);
    ASSERT_TRUE(portrait.ok()) << face << ": " << portrait.failure().message;
    const QImage image = bridge::PortraitToImage(portrait.value());
    const QByteArray hash = PixelHash(image);
    EXPECT_FALSE(seen.contains(hash)) << "face " << face << " repeats an earlier one";
    seen.insert(hash);
  }
}

TEST_F(DemoFacesTest, StoredPortraitsMatchTheDrawings) {
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(path_).ok());
  for (const int face : {0, 1, 7, 123, 500, 998, 999}) {
    SCOPED_TRACE(face);
    const Result<FacePortrait> portrait = archive.ReadPortrait(face);
    ASSERT_TRUE(portrait.ok());
    const QImage stored = bridge::PortraitToImage(portrait.value());
    const QImage drawn = RenderDemoFace(face);
    ASSERT_EQ(drawn.size(), QSize(96, 120));
    // The palette loses a little; a flipped, shifted or foreign picture loses a lot.
    long long totalError = 0;
    int worst = 0;
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 96; ++x) {
        const QRgb a = stored.pixel(x, y);
        const QRgb b = drawn.pixel(x, y);
        const int error = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        totalError += error;
        worst = std::max(worst, error);
      }
    }
    EXPECT_LT(static_cast<double>(totalError) / (96 * 120), 6.0);
    EXPECT_LT(worst, 90);
  }
}

TEST(DemoFaceArt, SameFaceEveryTimeAndAFaceNotABlank) {
  const QImage first = RenderDemoFace(42);
  EXPECT_EQ(first, RenderDemoFace(42));
  EXPECT_NE(first, RenderDemoFace(43));
  // A drawn face has many colours, not a flat fill.
  QSet<QRgb> colours;
  for (int y = 0; y < first.height(); ++y) {
    for (int x = 0; x < first.width(); ++x) {
      colours.insert(first.pixel(x, y));
    }
  }
  EXPECT_GT(colours.size(), 200);
}

}  // namespace
}  // namespace k4r::demo
