// k4r faces: the sheet's portraits against k4r face's, and the faces whose
// pictures are not in the file.

#include <gtest/gtest.h>

#include <QImage>

#include "cli/FaceFileImage.h"
#include "cli/FaceSheet.h"
#include "cli/K4rTestRun.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::PutImageOffset;
using testing::RunK4r;
using testing::Sjis;
using testing::TempDir;
using testing::WriteBytes;
namespace ff = face_file;

// Faces 0 and 999 have pictures; face 1 points past the end of the file,
// face 2 before its start; every other offset is 0, the table itself read as
// a picture, as 'k4r face' reads it.
ByteString Archive() {
  ByteString file(static_cast<std::size_t>(ff::kTableEnd), '\0');
  PutImageOffset(file, 0, ff::kTableEnd);
  PutImageOffset(file, 999, ff::kTableEnd + ff::kImageSize);
  PutImageOffset(file, 1, ff::kTableEnd + ff::kImageSize + 1);
  PutImageOffset(file, 2, -5);
  file += testing::FaceImage(0);
  file += testing::FaceImage(7);
  return file;
}

QImage Load(const std::filesystem::path& path) {
  QImage image;
  EXPECT_TRUE(image.load(QString::fromStdString(path.string()), "PNG")) << path;
  return image.convertToFormat(QImage::Format_RGB32);
}

// Whether anything but the white background lies in the rectangle.
bool Inked(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
        return true;
      }
    }
  }
  return false;
}

TEST(FacesCommand, PortraitsAreThePixelsOfFaceAndMissingOnesAreGrey) {
  TempDir dir;
  const std::string archive = (dir / "KAO_M.VX9").string();
  WriteBytes(archive, Archive());
  WriteBytes(dir / "KAO.DAT", Sjis("顔〇\r\n\r\n顔二\r\n"));  // face 1 has an empty name
  const auto sheetPath = dir / "sheet.png";
  const testing::K4rRun run = RunK4r(
      {"faces", archive, "--face-list", (dir / "KAO.DAT").string(), "--columns", "40", "-o", sheetPath.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage sheet = Load(sheetPath);

  cli::FaceSheetRequest request;
  request.columns = 40;
  const NameList names(3);
  request.names = &names;
  const cli::FaceSheetLayout layout(request);
  ASSERT_EQ(sheet.size(), layout.Size());

  for (const int face : {0, 999, 500}) {
    SCOPED_TRACE(face);
    const auto facePath = dir / ("face" + std::to_string(face) + ".png");
    ASSERT_EQ(RunK4r({"face", archive, std::to_string(face), "-o", facePath.string()}).exitCode, 0);
    const QImage single = Load(facePath);
    ASSERT_EQ(single.size(), QSize(96, 120));
    EXPECT_EQ(sheet.copy(QRect(layout.PortraitAt(face), single.size())), single);
  }
  for (const int face : {1, 2}) {
    SCOPED_TRACE(face);
    const QImage box = sheet.copy(QRect(layout.PortraitAt(face), QSize(96, 120)));
    QImage grey(box.size(), QImage::Format_RGB32);
    grey.fill(cli::kMissingFaceGrey);
    EXPECT_EQ(box, grey);
  }

  // Every face has its number; a name only where the list has one.
  const auto line = [&](int face, int lineIndex) {
    const QPoint corner = layout.PortraitAt(face);
    return QRect(corner.x(), layout.TextTop(face) + lineIndex * cli::FaceSheetLayout::kLineHeight, 96,
                 cli::FaceSheetLayout::kLineHeight);
  };
  for (const int face : {0, 1, 2, 999}) {
    EXPECT_TRUE(Inked(sheet, line(face, 0))) << face;
  }
  EXPECT_TRUE(Inked(sheet, line(0, 1)));
  EXPECT_FALSE(Inked(sheet, line(1, 1)));
  EXPECT_TRUE(Inked(sheet, line(2, 1)));
  EXPECT_FALSE(Inked(sheet, line(3, 1)));
}

TEST(FacesCommand, RangeAndFailures) {
  TempDir dir;
  const std::string archive = (dir / "KAO_M.VX9").string();
  WriteBytes(archive, Archive());
  const std::string out = (dir / "sheet.png").string();
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;  // a part of stderr
  } cases[] = {
      {{"faces", archive, "--from", "990", "--count", "11", "-o", out}, 2, "past the last face"},
      {{"faces", archive, "--from", "1000", "-o", out}, 2, "--from"},
      {{"faces", archive, "--columns", "0", "-o", out}, 2, "--columns"},
      {{"faces", (dir / "none.VX9").string(), "-o", out}, 1, " は開けません."},
      {{"faces", archive, "-o", (dir / "no" / "such.png").string()}, 1, " を作成できません."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    const testing::K4rRun run = RunK4r(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }

  // The last faces in rows of 4: face 999 is the sheet's last portrait.
  ASSERT_EQ(RunK4r({"faces", archive, "--from", "990", "--columns", "4", "-o", out}).exitCode, 0);
  cli::FaceSheetRequest request;
  request.from = 990;
  request.count = 10;
  request.columns = 4;
  const cli::FaceSheetLayout layout(request);
  const QImage sheet = Load(out);
  ASSERT_EQ(sheet.size(), layout.Size());
  const QPoint last = layout.PortraitAt(9);
  EXPECT_EQ(sheet.pixel(last) & 0xFFFFFF, testing::Colour(testing::ColourNumber(0, 0, 7)) & 0xFFFFFF);
}

}  // namespace
}  // namespace k4r
