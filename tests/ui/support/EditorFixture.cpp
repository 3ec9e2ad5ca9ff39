#include "ui/support/EditorFixture.h"

#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <tuple>

#include "bridge/Cp932.h"
#include "ui/Main.h"
#include "ui/Prompts.h"

namespace k4r::testing {
namespace {

int leftoverAnswers = 0;

constexpr std::size_t kTableOffset = 28;
constexpr std::size_t kTableStride = 20;
constexpr std::size_t kFaces = 1000;
constexpr std::size_t kImageSize = 16406;
constexpr int kImages = 3;

void PutU32(ByteString& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

ByteString Lines(const QStringList& lines) {
  ByteString content;
  for (const QString& line : lines) {
    content += Sjis(line) + "\r\n";
  }
  return content;
}

}  // namespace

ByteString Sjis(const QString& text) {
  const std::optional<ByteString> bytes = bridge::ToCp932(text);
  if (!bytes) {
    std::fprintf(stderr, "test text that CP932 cannot hold\n");
    std::abort();
  }
  return *bytes;
}

QString OfficerName(int position) {
  return position == 0 ? QStringLiteral("（なし）") : QStringLiteral("武将%1").arg(position);
}

QString FaceName(int position) {
  return QStringLiteral("顔%1").arg(position);
}

ByteString FaceFileBytes() {
  const std::size_t imagesStart = kTableOffset + kTableStride * kFaces;
  ByteString bytes(imagesStart + kImageSize * kImages, '\0');
  for (std::size_t face = 0; face < kFaces; ++face) {
    PutU32(bytes, kTableOffset + kTableStride * face,
           static_cast<std::uint32_t>(imagesStart + kImageSize * (face % kImages)));
  }
  for (int image = 0; image < kImages; ++image) {
    const std::size_t start = imagesStart + kImageSize * static_cast<std::size_t>(image);
    for (std::size_t colour = 0; colour < 256; ++colour) {
      bytes[start + 22 + 4 * colour] = static_cast<char>(255 - colour);         // blue
      bytes[start + 23 + 4 * colour] = static_cast<char>((80 * image) & 0xFF);  // green
      bytes[start + 24 + 4 * colour] = static_cast<char>(colour);               // red
      bytes[start + 25 + 4 * colour] = static_cast<char>(0x5A);                 // never read
    }
    for (std::size_t y = 0; y < 120; ++y) {
      for (std::size_t x = 0; x < 128; ++x) {
        bytes[start + 1046 + 128 * y + x] = static_cast<char>((x + y + static_cast<std::size_t>(image)) % 256);
      }
    }
  }
  return bytes;
}

std::uint32_t FacePixel(int face, int x, int y) {
  const int image = face % kImages;
  const auto colour = static_cast<std::uint32_t>((x + y + image) % 256);
  return (colour << 16) | (static_cast<std::uint32_t>((80 * image) & 0xFF) << 8) | (255 - colour);
}

OfficerBytes::OfficerBytes(std::size_t size) : image_(size, '\0') {}

OfficerBytes& OfficerBytes::Put(std::size_t offset, ByteView bytes) {
  image_.replace(offset, bytes.size(), bytes);
  return *this;
}

OfficerBytes& OfficerBytes::Byte(std::size_t offset, std::uint8_t value) {
  image_[offset] = static_cast<char>(value);
  return *this;
}

OfficerBytes& OfficerBytes::Word(std::size_t offset, std::uint16_t value) {
  Byte(offset, static_cast<std::uint8_t>(value & 0xFF));
  return Byte(offset + 1, static_cast<std::uint8_t>(value >> 8));
}

OfficerBytes SampleOfficer() {
  OfficerBytes officer;
  for (std::size_t i = 0; i < 36; ++i) {
    officer.Byte(i, static_cast<std::uint8_t>(0xA0 + i));  // bytes no field owns
  }
  officer.Put(36, Sjis(QStringLiteral("山田")))
      .Put(62, Sjis(QStringLiteral("太郎")))
      .Put(45, Sjis(QStringLiteral("やまだ")))
      .Put(71, Sjis(QStringLiteral("たろう")))
      .Put(88, Sjis(QStringLiteral("一行目\r\n二行目")))
      .Word(236, 4)        // face 4
      .Word(238, 1500)     // born 1500 (low 0xDC, marker 5)
      .Word(240, 1560)     // died 1560
      .Byte(242, 0x0A)     // sex, shown as "0A"
      .Byte(244, 7)        // origin code 7: position 6 "僧侶"
      .Byte(245, 2)        // faith 2 "キリスト教"
      .Word(248, 562 + 3)  // father: officer 3
      .Byte(252, 11)
      .Byte(253, 12)
      .Byte(254, 13)
      .Byte(255, 14)
      .Byte(256, 0)  // skills 0, 9, 19
      .Byte(257, 9)
      .Byte(258, 19)
      .Word(259, 262 - 5)  // base position 5
      .Word(261, 562 + 7)  // friend: officer 7
      .Word(263, 0)        // enemy: none
      .Byte(265, 57)       // compatibility 57
      .Byte(266, 15);      // duty 15
  for (std::size_t i = 267; i < 300; ++i) {
    officer.Byte(i, static_cast<std::uint8_t>(i & 0xFF));  // a tail beyond the fields
  }
  return officer;
}

DataFoldersForTest::DataFoldersForTest(const std::filesystem::path& dataHome, const std::filesystem::path& dataDir)
    : oldHome_(qgetenv("XDG_DATA_HOME")),
      oldDirs_(qgetenv("XDG_DATA_DIRS")),
      hadHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME")),
      hadDirs_(qEnvironmentVariableIsSet("XDG_DATA_DIRS")) {
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome.string()));
  qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(dataDir.string()));
}

DataFoldersForTest::~DataFoldersForTest() {
  for (const auto& [name, had, old] :
       {std::tuple{"XDG_DATA_HOME", hadHome_, oldHome_}, std::tuple{"XDG_DATA_DIRS", hadDirs_, oldDirs_}}) {
    if (had) {
      qputenv(name, old);
    } else {
      qunsetenv(name);
    }
  }
}

EditorFixture::EditorFixture(const EditorFiles& files)
    : settingsPath_(folder_ / "k4r-editor.ini"),
      previousFolder_(std::filesystem::current_path()),
      dataFolders_(DataHome(), DataDir()) {
  if (files.officerList) {
    QStringList names;
    for (int i = 0; i < kOfficerCount; ++i) {
      names << OfficerName(i);
    }
    WriteBytes(folder_ / "BUSHOU.DAT", Lines(names));
  }
  if (files.faceList) {
    QStringList names;
    for (int i = 0; i < kFaceCount; ++i) {
      names << FaceName(i);
    }
    WriteBytes(folder_ / "KAO.DAT", Lines(names));
  }
  std::filesystem::create_directory(folder_ / "faces");
  ByteString kaoPath;
  if (files.facePath == FacePath::Present) {
    WriteBytes(FacePathFile(), FaceFileBytes());
  }
  if (files.facePath != FacePath::Empty) {
    kaoPath = Sjis(bridge::FromPath(FacePathFile()));
  }
  WriteBytes(settingsPath_, "[Kao]\r\nPath=" + kaoPath + "\r\n");
  std::filesystem::current_path(folder_.Path());
  ui::Prompts::StartRecording();
}

EditorFixture::~EditorFixture() {
  window_.reset();
  leftoverAnswers += ui::Prompts::PendingAnswers();
  ui::Prompts::StopRecording();
  std::error_code ignored;
  std::filesystem::current_path(previousFolder_, ignored);
}

void EditorFixture::AppendSettings(ByteView text) const {
  std::ofstream out(settingsPath_, std::ios::binary | std::ios::app);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

QString EditorFixture::WriteOfficer(const char* name, const OfficerBytes& bytes) const {
  const std::filesystem::path path = folder_ / name;
  WriteBytes(path, bytes.Image());
  return bridge::FromPath(path);
}

TForm1& EditorFixture::Start() {
  window_ = std::make_unique<TForm1>(settingsPath_);
  return *window_;
}

bool EditorFixture::ShowActive() {
  window_->show();
  window_->activateWindow();
  return QTest::qWaitForWindowActive(window_.get());
}

int TakeLeftoverAnswers() {
  const int count = leftoverAnswers;
  leftoverAnswers = 0;
  return count;
}

}  // namespace k4r::testing
