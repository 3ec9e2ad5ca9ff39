#pragma once
// A temporary working folder with small generated name lists and face
// graphics file, a settings file of its own, and prompts recorded, for tests
// of the main window on real files.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/Bytes.h"
#include "support/TempDir.h"

class TForm1;

namespace k4r::testing {

enum class FacePath { Present, Empty, Missing };

// Points $XDG_DATA_HOME and $XDG_DATA_DIRS at the given folders while it
// lives, and puts the old values back.
class DataFoldersForTest {
 public:
  DataFoldersForTest(const std::filesystem::path& dataHome, const std::filesystem::path& dataDir);
  ~DataFoldersForTest();
  DataFoldersForTest(const DataFoldersForTest&) = delete;
  DataFoldersForTest& operator=(const DataFoldersForTest&) = delete;

 private:
  QByteArray oldHome_;
  QByteArray oldDirs_;
  bool hadHome_;
  bool hadDirs_;
};

struct EditorFiles {
  bool officerList = true;  // BUSHOU.DAT in the working folder
  bool faceList = true;     // KAO.DAT in the working folder
  FacePath facePath = FacePath::Present;
};

inline constexpr int kOfficerCount = 40;  // lines of the generated BUSHOU.DAT
inline constexpr int kFaceCount = 30;     // lines of the generated KAO.DAT

// The generated face graphics file: face i uses image i % 3, whose colour c
// is (c, 80 x image, 255 - c) and whose pixel (x, y) is colour (x + y + image) % 256.
[[nodiscard]] ByteString FaceFileBytes();
[[nodiscard]] std::uint32_t FacePixel(int face, int x, int y);  // 0xRRGGBB

// Officer and face names as shown ("（なし）", "武将1", ...; "顔0", ...).
[[nodiscard]] QString OfficerName(int position);
[[nodiscard]] QString FaceName(int position);

// Text as CP932 bytes; aborts on text CP932 cannot hold.
[[nodiscard]] ByteString Sjis(const QString& text);

// An officer file image built byte by byte at the file's offsets.
class OfficerBytes {
 public:
  explicit OfficerBytes(std::size_t size = 300);
  OfficerBytes& Put(std::size_t offset, ByteView bytes);
  OfficerBytes& Byte(std::size_t offset, std::uint8_t value);
  OfficerBytes& Word(std::size_t offset, std::uint16_t value);  // little-endian
  [[nodiscard]] const ByteString& Image() const { return image_; }

 private:
  ByteString image_;
};

// A plausible officer: names, abilities 11..15, years 1500 to 1560, etc.
[[nodiscard]] OfficerBytes SampleOfficer();

class EditorFixture {
 public:
  explicit EditorFixture(const EditorFiles& files = {});
  ~EditorFixture();
  EditorFixture(const EditorFixture&) = delete;
  EditorFixture& operator=(const EditorFixture&) = delete;

  [[nodiscard]] const TempDir& Folder() const { return folder_; }
  [[nodiscard]] const std::filesystem::path& SettingsPath() const { return settingsPath_; }
  [[nodiscard]] std::filesystem::path FacePathFile() const { return folder_ / "faces" / "KAO_M.VX9"; }
  // $XDG_DATA_HOME and the one folder of $XDG_DATA_DIRS while the fixture
  // lives (empty folders of its own, so that lists installed on this machine
  // never take part); the name lists may be looked for in their k4r-editor/.
  [[nodiscard]] std::filesystem::path DataHome() const { return folder_ / "data-home"; }
  [[nodiscard]] std::filesystem::path DataDir() const { return folder_ / "data-dir"; }
  // Adds lines to the settings file (e.g. "[Win]\r\nTop=5\r\n").
  void AppendSettings(ByteView text) const;
  // Writes an officer file into the folder and gives its path.
  [[nodiscard]] QString WriteOfficer(const char* name, const OfficerBytes& bytes) const;

  // Creates the main window, which runs its start-up.
  TForm1& Start();
  [[nodiscard]] TForm1& Window() { return *window_; }
  // Shows the window and waits until it is active (for shortcuts and focus).
  bool ShowActive();

 private:
  TempDir folder_;
  std::filesystem::path settingsPath_;
  std::filesystem::path previousFolder_;
  DataFoldersForTest dataFolders_;
  std::unique_ptr<TForm1> window_;
};

// File dialog answers that a fixture left unused, summed since the last call.
// Call it in each test's cleanup(): unused answers mean a dialog never came.
[[nodiscard]] int TakeLeftoverAnswers();

// A control of the main window by object name; aborts when there is none.
template <typename T>
T* Control(QWidget& window, const char* name) {
  T* control = window.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) {
    std::fprintf(stderr, "no control %s of the wanted kind\n", name);
    std::abort();
  }
  return control;
}

}  // namespace k4r::testing
