// k4r face: a portrait from a face graphics file built with known pixels.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>

#include "cli/FaceFileImage.h"
#include "cli/K4rTestRun.h"
#include "core/FaceArchive.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::Colour;
using testing::ColourNumber;
using testing::ReadBytes;
using testing::RunK4r;
using testing::TempDir;
using testing::WriteBytes;

TEST(FaceCommand, WritesThePortraitAsPng) {
  TempDir dir;
  WriteBytes(dir / "KAO_M.VX9", testing::SmallArchive());
  for (const auto& [face, seed] : {std::pair{3, 0}, std::pair{999, 7}}) {
    SCOPED_TRACE(face);
    const auto out = dir / ("face" + std::to_string(face) + ".png");
    const testing::K4rRun run =
        RunK4r({"face", (dir / "KAO_M.VX9").string(), std::to_string(face), "-o", out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadBytes(out).substr(1, 3), "PNG");
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(out.string()), "PNG"));
    ASSERT_EQ(image.size(), QSize(96, 120));
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{95, 0}, std::pair{0, 119}, std::pair{95, 119},
                               std::pair{40, 77}, std::pair{17, 3}}) {
      EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, Colour(ColourNumber(x, y, seed)) & 0xFFFFFF) << x << "," << y;
    }
  }
}

TEST(FaceCommand, Failures) {
  TempDir dir;
  WriteBytes(dir / "KAO_M.VX9", testing::SmallArchive());
  WriteBytes(dir / "short.VX9", ByteString(100, '\0'));
  const std::string archive = (dir / "KAO_M.VX9").string();
  const std::string out = (dir / "out.png").string();
  const std::string missing = (dir / "none.VX9").string();
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;  // a part of stderr
  } cases[] = {
      {{"face", missing, "3", "-o", out}, 1, "ファイル " + missing + " は開けません."},
      // A file too short for its table (a name list given by mistake) and a
      // picture past the end name the file.
      {{"face", (dir / "short.VX9").string(), "3", "-o", out},
       1,
       "ファイル " + (dir / "short.VX9").string() + ": ストリームからの読み込みエラー.\n"},
      {{"face", archive, "5", "-o", out}, 1, "ファイル " + archive + ": ストリームからの読み込みエラー.\n"},
      {{"face", archive, "3", "-o", (dir / "no" / "such.png").string()},
       1,
       "ファイル " + (dir / "no" / "such.png").string() + " を作成できません."},
      {{"face", archive, "1000", "-o", out}, 2, "NUMBER"},
      {{"face", archive, "-1", "-o", out}, 2, ""},
      {{"face", archive, "3"}, 2, "--output"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments[2]);
    const testing::K4rRun run = RunK4r(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace k4r
