// k4r set-face killed outright at moments spread over one import: the face
// file holds the old bytes or the new ones, never a mix, and a backup, when
// one is there, is the whole old file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <chrono>
#include <thread>

#include "cli/FaceFileImage.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

pid_t StartImport(const fs::path& faceFile, const fs::path& picture) {
  const pid_t child = fork();
  if (child == 0) {
    execl(K4R_BIN_DIR "/k4r", "k4r", "set-face", faceFile.c_str(), "12", picture.c_str(), nullptr);
    _exit(127);
  }
  return child;
}

int Wait(pid_t child) {
  int status = -1;
  waitpid(child, &status, 0);
  return status;
}

TEST(KilledImport, LeavesTheOldOrTheNewFile) {
  TempDir dir;
  // As large as the game's file: 1000 faces after the table.
  ByteString old(static_cast<std::size_t>(face_file::kTableEnd), '\0');
  for (int face = 0; face < face_file::kFaceCount; ++face) {
    testing::PutImageOffset(old, face, face_file::kTableEnd + face_file::kImageSize * face);
    old += testing::FaceImage(face % 5);
  }
  QImage picture(400, 500, QImage::Format_RGB32);
  picture.fill(QColor(1, 2, 3));
  ASSERT_TRUE(picture.save(QString::fromStdString((dir / "me.png").string())));
  const fs::path faceFile = dir / "KAO_M.VX9";
  WriteBytes(faceFile, old);
  const Clock::time_point started = Clock::now();
  ASSERT_EQ(Wait(StartImport(faceFile, dir / "me.png")), 0);
  const auto whole = Clock::now() - started;
  const ByteString imported = ReadBytes(faceFile);
  ASSERT_NE(imported, old);

  constexpr int kTrials = 5;
  for (int trial = 0; trial < kTrials; ++trial) {
    SCOPED_TRACE(trial);
    WriteBytes(faceFile, old);
    fs::remove(dir / "KAO_M.VX9.bak");
    const pid_t child = StartImport(faceFile, dir / "me.png");
    std::this_thread::sleep_for(whole * trial / kTrials);
    kill(child, SIGKILL);
    Wait(child);
    const ByteString after = ReadBytes(faceFile);
    EXPECT_TRUE(after == old || after == imported);
    if (fs::exists(dir / "KAO_M.VX9.bak")) {
      EXPECT_TRUE(ReadBytes(dir / "KAO_M.VX9.bak") == old);
    }
  }
}

}  // namespace
}  // namespace k4r
