// k4r set-face and k4r faces --split: pictures in, faces out, and what is
// refused, on face graphics files built byte by byte.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <random>

#include "bridge/FaceFit.h"
#include "cli/FaceFileImage.h"
#include "cli/K4rTestRun.h"
#include "core/ColourReduction.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::RunK4r;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;
namespace ff = face_file;

// A plasma fractal: random colours on ever finer grids, smoothly enlarged and
// summed with falling weights; as soft and as varied as a photograph.
QImage Plasma(int width, int height) {
  std::mt19937 random(21);
  std::vector<int> sum(static_cast<std::size_t>(width * height * 3), 0);
  for (int cells = 2, weight = 8; cells <= 64; cells *= 2, weight = weight * 2 / 3) {
    QImage grid(cells, cells, QImage::Format_RGB32);
    for (int i = 0; i < cells * cells; ++i) {
      grid.setPixel(i % cells, i / cells, random() & 0xFFFFFF);
    }
    const QImage layer = grid.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int i = 0; i < width * height; ++i) {
      const QRgb p = layer.pixel(i % width, i / width);
      for (const auto& [c, v] : {std::pair{0, qRed(p)}, std::pair{1, qGreen(p)}, std::pair{2, qBlue(p)}}) {
        sum[static_cast<std::size_t>(i * 3 + c)] += (v - 128) * weight;
      }
    }
  }
  QImage image(width, height, QImage::Format_RGB32);
  for (int i = 0; i < width * height; ++i) {
    const auto level = [&](int c) { return std::clamp(128 + sum[static_cast<std::size_t>(i * 3 + c)] / 16, 0, 255); };
    image.setPixel(i % width, i / width, qRgb(level(0), level(1), level(2)));
  }
  return image;
}

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

TEST(SetFace, RefusedWithNothingWritten) {
  TempDir dir;
  const fs::path archive = dir / "KAO_M.VX9";
  const std::string face = archive.string();
  WriteBytes(archive, testing::SmallArchive());
  WriteBytes(dir / "note.png", "not a picture");
  ASSERT_TRUE(Plasma(96, 120).save(Q(dir / "good.png")));
  fs::create_directories(dir / "mixed");
  fs::copy_file(dir / "good.png", dir / "mixed" / "3.png");
  fs::copy_file(dir / "note.png", dir / "mixed" / "0999.png");
  fs::create_directories(dir / "twice");
  fs::copy_file(dir / "good.png", dir / "twice" / "3.png");
  fs::copy_file(dir / "good.png", dir / "twice" / "003.jpg");
  const std::string good = (dir / "good.png").string();
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;  // a part of stderr
  } cases[] = {
      {{"set-face", face, "1000", good}, 2, "N"},
      {{"set-face", face, "3"}, 2, "either N IMAGE or --from-dir"},
      {{"set-face", face, "3", good, "--from-dir", dir.Path().string()}, 2, "either"},
      {{"set-face", face, "3", (dir / "note.png").string()},
       1,
       "ファイル " + (dir / "note.png").string() + " は画像として読めません."},
      {{"set-face", face, "5", good}, 1, "ファイル " + face + " の顔 5 の画像はファイルの中にありません."},
      {{"set-face", face, "--from-dir", (dir / "mixed").string()},
       1,
       "ファイル " + (dir / "mixed" / "0999.png").string() + " は画像として読めません."},
      {{"set-face", face, "--from-dir", (dir / "twice").string()}, 1, "顔 3 が二度あります"},
      {{"set-face", (dir / "short.VX9").string(), "3", good}, 1, "は開けません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::ParseJson(nlohmann::json(c.arguments).dump()).dump());
    const testing::K4rRun run = RunK4r(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(archive), testing::SmallArchive());
    EXPECT_FALSE(fs::exists(dir / "KAO_M.VX9.bak"));
  }
#ifndef _WIN32
  fs::permissions(archive, fs::perms::owner_read | fs::perms::group_read);
  const testing::K4rRun readOnly = RunK4r({"set-face", face, "3", good});
  EXPECT_EQ(readOnly.exitCode, 1);
  EXPECT_NE(readOnly.err.find("ファイル " + face + " を作成できません."), std::string::npos) << readOnly.err;
  EXPECT_EQ(ReadBytes(archive), testing::SmallArchive());
  EXPECT_FALSE(fs::exists(dir / "KAO_M.VX9.bak"));
#endif
}

TEST(SetFace, SplitFacesComeBackWithoutAChangedByte) {
  TempDir dir;
  const fs::path archive = dir / "KAO_M.VX9";
  WriteBytes(archive, testing::SmallArchive());
  // Face 5 lies outside the file: reported, the others written.
  const testing::K4rRun split =
      RunK4r({"faces", archive.string(), "--split", (dir / "faces").string(), "--from", "3", "--count", "3"});
  EXPECT_EQ(split.exitCode, 1);
  EXPECT_NE(split.err.find("face 5"), std::string::npos) << split.err;
  EXPECT_EQ(testing::FileNamesIn(dir / "faces"), (std::set<std::string>{"0003.png", "0004.png"}));
  fs::remove(dir / "faces" / "0004.png");  // face 4 is the table read as a picture: not ours to write
  // A picture that cannot take its place (a folder has its name) stops the split before any is written.
  fs::create_directories(dir / "blocked" / "0004.png");
  const testing::K4rRun blocked =
      RunK4r({"faces", archive.string(), "--split", (dir / "blocked").string(), "--from", "3", "--count", "2"});
  EXPECT_EQ(blocked.exitCode, 1);
  EXPECT_NE(blocked.err.find("no picture was written"), std::string::npos) << blocked.err;
  EXPECT_EQ(testing::FileNamesIn(dir / "blocked"), (std::set<std::string>{"0004.png"}));
  ASSERT_EQ(RunK4r({"faces", archive.string(), "--split", (dir / "faces").string(), "--from", "999"}).exitCode, 0);

  for (const char* dither : {"--dither", "--no-dither"}) {
    const testing::K4rRun run = RunK4r({"set-face", archive.string(), "--from-dir", (dir / "faces").string(), dither});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadBytes(archive), testing::SmallArchive());
    EXPECT_FALSE(fs::exists(dir / "KAO_M.VX9.bak"));
  }
  // A change without a backup, then one beside a backup that is someone's.
  const std::string other = (dir / "faces" / "0003.png").string();
  ASSERT_EQ(RunK4r({"set-face", archive.string(), "999", other, "--no-backup"}).exitCode, 0);
  EXPECT_FALSE(fs::exists(dir / "KAO_M.VX9.bak"));
  WriteBytes(dir / "KAO_M.VX9.bak", "someone's");
  ASSERT_EQ(RunK4r({"set-face", archive.string(), "3", (dir / "faces" / "0999.png").string()}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "KAO_M.VX9.bak"), "someone's");
}

TEST(SetFace, PhotoLikePictureReadsBackClose) {
  TempDir dir;
  const fs::path archive = dir / "KAO_M.VX9";
  WriteBytes(archive, testing::SmallArchive());
  const QImage photo = Plasma(640, 720);
  ASSERT_TRUE(photo.save(Q(dir / "photo.png")));
  const struct {
    const char* fit;
    const char* dither;
    double leastPsnr;
  } cases[] = {{"cover", "--dither", 30}, {"contain", "--no-dither", 30}, {"stretch", "--dither", 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fit);
    const testing::K4rRun run =
        RunK4r({"set-face", archive.string(), "3", (dir / "photo.png").string(), "--fit", c.fit, c.dither});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(RunK4r({"face", archive.string(), "3", "-o", (dir / "back.png").string()}).exitCode, 0);
    QImage back;
    ASSERT_TRUE(back.load(Q(dir / "back.png")));
    const std::vector<Rgb> fitted = bridge::ColoursOf(bridge::FitToFace(photo, *bridge::FaceFitNamed(c.fit)));
    EXPECT_GE(PeakSignalToNoise(fitted, bridge::ColoursOf(back)), c.leastPsnr);
    // Face 999 and the table are as they were; the first state is kept.
    const ByteString bytes = ReadBytes(archive);
    const auto face3End = static_cast<std::size_t>(ff::kTableEnd + ff::kImageSize);
    EXPECT_EQ(bytes.substr(0, static_cast<std::size_t>(ff::kTableEnd)),
              testing::SmallArchive().substr(0, static_cast<std::size_t>(ff::kTableEnd)));
    EXPECT_EQ(bytes.substr(face3End), testing::SmallArchive().substr(face3End));
    EXPECT_EQ(ReadBytes(dir / "KAO_M.VX9.bak"), testing::SmallArchive());
  }
  // Contained, a wide picture is padded with its edge colour, not black.
  QImage wide(300, 60, QImage::Format_RGB32);
  wide.fill(QColor(200, 30, 60));
  EXPECT_EQ(bridge::FitToFace(wide, bridge::FaceFit::Contain).pixel(95, 119), qRgb(200, 30, 60));
}

}  // namespace
}  // namespace k4r
