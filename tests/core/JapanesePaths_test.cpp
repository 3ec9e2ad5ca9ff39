// Files and folders with Japanese names, and with characters no Japanese
// code page holds: every file function takes them as they are (wide names on
// Windows, never the narrow ANSI ones), and messages show them in UTF-8.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/FaceArchive.h"
#include "core/FileReplace.h"
#include "core/Messages.h"
#include "core/NameList.h"
#include "core/OfficerFile.h"
#include "core/Settings.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::FileNamesIn;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

// Kanji and kana (in code page 932), and Hangul and an emoji (in none of the
// Japanese code pages), so that a detour through a narrow name would show.
const fs::path kFolder = fs::path(u8"ゲーム・データ");
const fs::path kOfficer = fs::path(u8"武田信玄の登録.K4R");
const fs::path kForeign = fs::path(u8"장수_😀.K4R");

// A name as UTF-8 bytes.
std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

TEST(JapanesePaths, OfficerFilesAreCreatedReplacedAndReadBack) {
  TempDir dir;
  const fs::path folder = dir.Path() / kFolder;
  fs::create_directory(folder);
  for (const fs::path& name : {kOfficer, kForeign}) {
    SCOPED_TRACE(Utf8(name));
    const fs::path path = folder / name;
    BushouFile file;
    OfficerForm form = StartForm({});
    form.botu = "1573";              // the death-year label, empty until computed
    form.sei1 = "\x95\x90\x93\x63";  // 武田
    const Status created = SaveOfficerFile(path, file, form, {});
    ASSERT_TRUE(created) << created.failure().message;
    form.mei1 = "\x90\x4d\x8c\xba";                      // 信玄
    ASSERT_TRUE(SaveOfficerFile(path, file, form, {}));  // replaces it
    EXPECT_EQ(ReadBytes(path), file.image);

    BushouFile loaded;
    OfficerForm shown = StartForm({});
    ASSERT_TRUE(LoadOfficerFile(path, loaded, shown, {}, {}, {}));
    EXPECT_EQ(loaded.path, path);
    EXPECT_EQ(shown.sei1, form.sei1);
    EXPECT_EQ(shown.mei1, form.mei1);
  }
  EXPECT_EQ(FileNamesIn(folder), (std::set<std::string>{Utf8(kOfficer), Utf8(kForeign)}));
}

TEST(JapanesePaths, MessagesNameThePathInUtf8) {
  TempDir dir;
  const fs::path missing = dir.Path() / kFolder / kForeign;
  BushouFile file;
  OfficerForm form = StartForm({});
  const Status loaded = LoadOfficerFile(missing, file, form, {}, {}, {});
  ASSERT_FALSE(loaded);
  EXPECT_EQ(loaded.failure().message, "ファイル " + Utf8(missing) + " は開けません");
  const Status saved = ReplaceFileAtomically(missing, "x");
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.failure().message, messages::CannotCreate(missing));
}

TEST(JapanesePaths, SettingsNameListsAndFacesLiveInJapaneseFolders) {
  TempDir dir;
  const fs::path folder = dir.Path() / kFolder;
  fs::create_directory(folder);

  const fs::path ini = SettingsPathFor(folder / fs::path(u8"登録武将エディタ.exe"));
  EXPECT_EQ(ini, folder / fs::path(u8"登録武将エディタ.ini"));
  ASSERT_TRUE(SaveFacePath(ini, "C:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9"));  // C:\ゲーム\KAO_M.VX9
  ASSERT_TRUE(SaveWindowPos(ini, 12, 34));
  const Settings settings = LoadSettings(ini);
  EXPECT_EQ(settings.WinTop, 12);
  EXPECT_EQ(settings.WinLeft, 34);
  EXPECT_EQ(settings.KaoPath, "C:\\\x83\x51\x81\x5b\x83\x80\\KAO_M.VX9");

  WriteBytes(folder / kOfficerListFile, "a\r\nb\r\n");
  const NameListLoad names = LoadNameList(folder / kOfficerListFile);
  ASSERT_EQ(names.outcome, NameListLoad::Outcome::Loaded);
  EXPECT_EQ(names.entries, (NameList{"a", "b"}));

  ByteString faces(static_cast<std::size_t>(face_file::kTableEnd + face_file::kImageSize), '\x07');
  for (std::size_t i = 0; i < 4; ++i) {  // face 0 starts right after the table
    faces[static_cast<std::size_t>(face_file::kTableOffset) + i] =
        static_cast<char>((face_file::kTableEnd >> (8 * i)) & 0xFF);
  }
  const fs::path faceFile = folder / fs::path(u8"顔_한.VX9");
  WriteBytes(faceFile, faces);
  FaceArchive archive;
  ASSERT_TRUE(archive.LoadOffsetTable(faceFile));
  const Result<FacePortrait> portrait = archive.ReadPortrait(0);
  ASSERT_TRUE(portrait);
  EXPECT_EQ(portrait.value().pixels[0], 7);
}

#ifdef _WIN32
// On Windows a file marked read-only is refused although its folder would
// let the replacement through.
TEST(JapanesePaths, AReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  const fs::path path = dir.Path() / kOfficer;
  WriteBytes(path, "old");
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const Status saved = ReplaceFileAtomically(path, "new");
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.failure().message, messages::CannotCreate(path));
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(FileNamesIn(dir.Path()), std::set<std::string>{Utf8(kOfficer)});
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}
#endif

}  // namespace
}  // namespace k4r
