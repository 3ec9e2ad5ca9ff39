// k4r set-face killed outright at moments spread over one import: the face
// file holds the old bytes or the new ones, never a mix, and a backup, when
// one is there, is the whole old file.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
  std::vector<std::string> arguments{K4R_BIN_DIR "/k4r", "set-face", faceFile.string(), "12", picture.string()};
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t child = -1;
  EXPECT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  return child;
}

int Wait(pid_t child) {
  int status = 0;
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
  for (int y = 0; y < 500; ++y) {
    for (int x = 0; x < 400; ++x) {
      picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    }
  }
  ASSERT_TRUE(picture.save(QString::fromStdString((dir / "me.png").string())));
  const fs::path faceFile = dir / "KAO_M.VX9";
  WriteBytes(faceFile, old);
  const Clock::time_point started = Clock::now();
  ASSERT_EQ(Wait(StartImport(faceFile, dir / "me.png")), 0);
  const auto whole = Clock::now() - started;
  const ByteString imported = ReadBytes(faceFile);
  ASSERT_NE(imported, old);

  constexpr int kTrials = 8;
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
