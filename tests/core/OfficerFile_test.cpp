#include "core/OfficerFile.h"

#include <gtest/gtest.h>

#include "core/Messages.h"
#include "support/OfficerImage.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::At;
using testing::MakeImage;
using testing::Put;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;
namespace L = layout;

constexpr NameListSizes kSizes{.officers = 700, .faces = 500};
constexpr Availability kBoth{.officerList = true, .face = true};

// A complete officer with every field inside its list.
ByteString SampleImage() {
  ByteString image =
      MakeImage(267, {{L::kKao, 7},      {L::kTanjou, 180}, {L::kTanjou + 1, 5}, {L::kBotu, 33},    {L::kBotu + 1, 6},
                      {L::kSeibetu, 10}, {L::kShutuji, 9},  {L::kSinjin, 1},     {L::kOya, 51},     {L::kOya + 1, 2},
                      {L::kSeiji, 90},   {L::kTousotu, 80}, {L::kTiryaku, 70},   {L::kKyouyou, 60}, {L::kTokugi1, 3},
                      {L::kTokugi2, 19}, {L::kTokugi3, 0},  {L::kKyoten, 200},   {L::kTomo, 100},   {L::kTomo + 1, 2},
                      {L::kTeki, 0},     {L::kTeki + 1, 3}, {L::kAishou, 42},    {L::kGiri, 50}});
  Put(image, L::kSei1, "\x90\x5e\x93\x63");  // two-byte characters
  Put(image, L::kMei1, "Mei");
  Put(image, L::kSei2, "sei");
  Put(image, L::kMei2, "mei");
  Put(image, L::kRetuden, "bio\r\ntext");
  return image;
}

struct Editor {
  BushouFile file;
  OfficerForm form = StartForm(kSizes);
  KeepFlags keep;
  Availability availability = kBoth;

  Status Load(const fs::path& path) { return LoadOfficerFile(path, file, form, keep, availability, kSizes); }
  Status Save() { return SaveOfficerFile(file.path, file, form, availability); }
};

TEST(StartForm, NameListsThatAreEmptyShowNoSelection) {
  const OfficerForm loaded = StartForm({.officers = 3, .faces = 2});
  EXPECT_EQ((std::array{loaded.Oya, loaded.Tomo, loaded.Teki, loaded.Kao}), (std::array{0, 0, 0, 0}));
  const OfficerForm missing = StartForm({});
  EXPECT_EQ((std::array{missing.Oya, missing.Tomo, missing.Teki, missing.Kao}), (std::array{-1, -1, -1, -1}));
  EXPECT_EQ(missing.tokugi, (std::array<ListPosition, 3>{19, 19, 19}));
  EXPECT_EQ(missing.Kyoten, 99);
}

TEST(LoadOfficerFile, ShowsEveryFieldAsTheWindowDoes) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", SampleImage());
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "a.K4R"));
  EXPECT_EQ(editor.file.image, SampleImage());
  EXPECT_EQ(editor.file.path, dir / "a.K4R");
  const OfficerForm& f = editor.form;
  EXPECT_EQ(f.sei1, "\x90\x5e\x93\x63");
  EXPECT_EQ(f.retuden, "bio\r\ntext");
  EXPECT_EQ((std::array{f.seiji, f.tousotu, f.tiryaku, f.kyouyou, f.giri}),
            (std::array<std::string, 5>{"90", "80", "70", "60", "50"}));
  EXPECT_EQ(f.tokugi, (std::array<ListPosition, 3>{3, 19, 0}));
  EXPECT_EQ(f.seibetu, "0A");
  EXPECT_EQ(f.tanjou, "1460");
  EXPECT_EQ(f.botu, "1569");
  EXPECT_EQ(f.jumyou, "110");
  EXPECT_EQ(f.shutuji, 7);
  EXPECT_EQ(f.sinjin, 1);
  EXPECT_EQ(f.Kyoten, 62);
  EXPECT_EQ(f.Aishou, 42);
  EXPECT_EQ((std::array{f.Oya, f.Tomo, f.Teki}), (std::array{1, 50, 206}));
  EXPECT_EQ(f.Kao, 7);
}

TEST(LoadOfficerFile, AnEmptyFileShowsZerosAndNoBase) {
  TempDir dir;
  WriteBytes(dir / "empty.K4R", "");
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "empty.K4R"));
  const OfficerForm& f = editor.form;
  EXPECT_EQ(f.sei1 + f.mei1 + f.sei2 + f.mei2 + f.retuden, "");
  EXPECT_EQ(f.seiji, "0");
  EXPECT_EQ(f.giri, "0");
  EXPECT_EQ(f.tokugi, (std::array<ListPosition, 3>{0, 0, 0}));
  EXPECT_EQ((std::array{f.tanjou, f.botu, f.jumyou, f.seibetu}),
            (std::array<std::string, 4>{"1536", "1536", "1", "00"}));
  EXPECT_EQ((std::array{f.shutuji, f.sinjin, f.Aishou, f.Oya, f.Kao}), (std::array{0, 0, 0, 0, 0}));
  EXPECT_EQ(f.Kyoten, kNoSelection);  // code 0 is base position 262
}

TEST(LoadOfficerFile, PositionsOutsideTheirListsShowNoSelection) {
  TempDir dir;
  ByteString image = SampleImage();
  const std::pair<std::size_t, std::uint8_t> outside[] = {
      {L::kTokugi1, 20}, {L::kTokugi3, 255}, {L::kSinjin, 3},   {L::kAishou, 100}, {L::kKyoten, 162},
      {L::kOya, 49},     {L::kTomo, 255},    {L::kTomo + 1, 4}, {L::kKao, 244},    {L::kKao + 1, 1},
  };
  for (const auto& [offset, byte] : outside) {
    image[offset] = static_cast<char>(byte);
  }
  WriteBytes(dir / "odd.K4R", image);
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "odd.K4R"));
  const OfficerForm& f = editor.form;
  EXPECT_EQ(f.tokugi, (std::array<ListPosition, 3>{-1, 19, -1}));
  EXPECT_EQ((std::array{f.sinjin, f.Aishou, f.Kyoten}), (std::array{-1, -1, -1}));
  EXPECT_EQ(f.Oya, -1);   // (49, 2): before the first officer
  EXPECT_EQ(f.Tomo, -1);  // position 717, past the 700 officers
  EXPECT_EQ(f.Teki, 206);
  EXPECT_EQ(f.Kao, -1);  // 500, past the 500 faces
}

TEST(LoadOfficerFile, KeepFlagsAndAMissingOfficerListKeepTheFormerValues) {
  TempDir dir;
  WriteBytes(dir / "a.K4R", SampleImage());
  struct Case {
    const char* name;
    KeepFlags keep;
    bool officerList;
    std::array<ListPosition, 5> expected;  // Kyoten, Aishou, Oya, Tomo, Teki
  };
  const Case cases[] = {
      {"nothing kept", {}, true, {62, 42, 1, 50, 206}},
      {"base", {.Kyoten = true}, true, {5, 42, 1, 50, 206}},
      {"compatibility", {.Aishou = true}, true, {62, 6, 1, 50, 206}},
      {"father", {.Oya = true}, true, {62, 42, 7, 50, 206}},
      {"friend", {.Tomo = true}, true, {62, 42, 1, 8, 206}},
      {"enemy", {.Teki = true}, true, {62, 42, 1, 50, 9}},
      {"no officer list", {}, false, {62, 42, 7, 8, 9}},
  };
  for (const Case& c : cases) {
    Editor editor;
    editor.keep = c.keep;
    editor.availability.officerList = c.officerList;
    editor.form.Kyoten = 5;
    editor.form.Aishou = 6;
    editor.form.Oya = 7;
    editor.form.Tomo = 8;
    editor.form.Teki = 9;
    ASSERT_TRUE(editor.Load(dir / "a.K4R")) << c.name;
    const OfficerForm& f = editor.form;
    EXPECT_EQ((std::array{f.Kyoten, f.Aishou, f.Oya, f.Tomo, f.Teki}), c.expected) << c.name;
    EXPECT_EQ(f.sei1, "\x90\x5e\x93\x63") << c.name;  // the rest is loaded
  }
}

TEST(LoadOfficerFile, AFailedLoadChangesNothing) {
  TempDir dir;
  WriteBytes(dir / "first.K4R", SampleImage());
  fs::create_directory(dir / "folder.K4R");
  for (const fs::path& bad : {dir / "missing.K4R", dir / "folder.K4R"}) {
    SCOPED_TRACE(bad.string());
    Editor editor;
    ASSERT_TRUE(editor.Load(dir / "first.K4R"));
    editor.form.seiji = "edited";
    const BushouFile fileBefore = editor.file;
    const OfficerForm formBefore = editor.form;
    const Status status = editor.Load(bad);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.failure().message, messages::CannotOpen(bad));
    EXPECT_EQ(editor.file.image, fileBefore.image);
    EXPECT_EQ(editor.file.path, fileBefore.path);
    EXPECT_EQ(editor.form, formBefore);
  }
}

TEST(SaveOfficerFile, WritesTheFormIntoTheImageAndTheFile) {
  TempDir dir;
  const ByteString original = SampleImage() + "tail bytes";
  WriteBytes(dir / "a.K4R", original);
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "a.K4R"));
  editor.form.sei1 = "New";
  editor.form.seiji = "0x2C";
  editor.form.giri = "$10";
  editor.form.tanjou = "1535";
  editor.form.botu = "1600";
  editor.form.shutuji = 6;
  editor.form.Oya = 974;
  editor.form.Kao = kNoSelection;
  editor.form.seibetu = "FF";  // shown only: never written
  ASSERT_TRUE(editor.Save());

  const ByteString saved = ReadBytes(dir / "a.K4R");
  EXPECT_EQ(saved, editor.file.image);
  ASSERT_EQ(saved.size(), original.size());
  EXPECT_EQ(saved.substr(267), "tail bytes");
  EXPECT_EQ(saved.substr(L::kSei1, 8), ByteView("New\0\0\0\0\0", 8));
  const std::pair<std::size_t, std::uint8_t> expected[] = {
      {L::kSeiji, 44},  {L::kGiri, 16}, {L::kTanjou, 255}, {L::kTanjou + 1, 5}, {L::kBotu, 64},     {L::kBotu + 1, 6},
      {L::kShutuji, 7}, {L::kOya, 0},   {L::kOya + 1, 6},  {L::kKao, 255},      {L::kKao + 1, 255}, {L::kSeibetu, 10},
  };
  for (const auto& [offset, byte] : expected) {
    EXPECT_EQ(At(saved, offset), byte) << "offset " << offset;
  }
}

TEST(SaveOfficerFile, ShortFilesGrowTo267AndLongOnesKeepTheirLength) {
  TempDir dir;
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{100}, std::size_t{266}, std::size_t{267}, std::size_t{400}}) {
    const ByteString original = MakeImage(size, {}, '\x5A');
    WriteBytes(dir / "f.K4R", original);
    Editor editor;
    ASSERT_TRUE(editor.Load(dir / "f.K4R"));
    ASSERT_TRUE(editor.Save());
    const ByteString saved = ReadBytes(dir / "f.K4R");
    EXPECT_EQ(saved.size(), std::max<std::size_t>(size, 267)) << size;
    EXPECT_EQ(saved.substr(0, std::min<std::size_t>(size, 36)), original.substr(0, 36)) << size;
    if (size > 267) {
      EXPECT_EQ(saved.substr(267), original.substr(267));
    }
  }
}

TEST(SaveOfficerFile, BiographyLineBreaksBecomeCrLfAndAreCutOnACharacterBoundary) {
  struct Case {
    ByteString shown;
    ByteString stored;  // the first bytes of the field; the rest is zero
  };
  const ByteString nearlyFull = ByteString(143, 'x');
  const Case cases[] = {
      {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd"},
      {"\n\n", "\r\n\r\n"},
      {"", ""},
      {nearlyFull + "\n\x93\xBF", nearlyFull + "\r\n"},  // the character would end past byte 146
      {nearlyFull + "a\n", nearlyFull + "a\r\n"},
      {nearlyFull + "ab\n", nearlyFull + "ab\r"},  // 147 bytes: the field keeps 146
  };
  TempDir dir;
  WriteBytes(dir / "a.K4R", SampleImage());
  for (const Case& c : cases) {
    SCOPED_TRACE("biography of " + std::to_string(c.shown.size()) + " bytes: " + c.shown);
    Editor editor;
    ASSERT_TRUE(editor.Load(dir / "a.K4R"));
    editor.form.retuden = c.shown;
    ASSERT_TRUE(editor.Save());
    const ByteString field = ReadBytes(dir / "a.K4R").substr(L::kRetuden, L::kRetudenWidth);
    ASSERT_LE(c.stored.size(), 146U);
    EXPECT_EQ(field, c.stored + ByteString(146 - c.stored.size(), '\0')) << c.shown.size();
  }
}

TEST(SaveOfficerFile, ANonIntegerTextWritesNothing) {
  struct Case {
    std::string OfficerForm::*field;
    std::string text;
    std::string_view caption;
  };
  const Case cases[] = {
      {&OfficerForm::seiji, "abc", "政治"},   {&OfficerForm::tousotu, "", "統率"},
      {&OfficerForm::tiryaku, "1 2", "知略"}, {&OfficerForm::kyouyou, "9x", "教養"},
      {&OfficerForm::giri, "0x", "義理"},     {&OfficerForm::tanjou, "千五百", "誕生年"},
      {&OfficerForm::botu, "", "没年"},
  };
  TempDir dir;
  const ByteString original = SampleImage();
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.text + "'");
    WriteBytes(dir / "a.K4R", original);
    Editor editor;
    ASSERT_TRUE(editor.Load(dir / "a.K4R"));
    editor.form.sei1 = "Changed";
    editor.form.*c.field = c.text;
    const Status status = editor.Save();
    ASSERT_FALSE(status) << c.text;
    EXPECT_EQ(status.failure().message, std::string(c.caption) + ": '" + c.text + "' は整数ではありません");
    EXPECT_EQ(ReadBytes(dir / "a.K4R"), original) << c.text;
    EXPECT_EQ(editor.file.image, original) << c.text;
  }
  // The first failing text in the order of the save is the one reported.
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "a.K4R"));
  editor.form.tanjou = "late";
  editor.form.kyouyou = "early";
  EXPECT_EQ(editor.Save().failure().message, messages::NotAnIntegerIn("教養", "early"));
}

TEST(SaveOfficerFile, RefusedOrFailedSavesLeaveImageAndDiskAlone) {
  TempDir dir;
  const ByteString original = SampleImage();
  WriteBytes(dir / "a.K4R", original);
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "a.K4R"));
  editor.form.sei1 = "Changed";
  // The save checks its numbers itself; no caller has to remember to.
  editor.form.seiji = "300";
  const Status unstorable = editor.Save();
  ASSERT_FALSE(unstorable);
  EXPECT_EQ(unstorable.failure().message, messages::NumberNotStorable("政治", 300, 0, 255));
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), original);
  editor.form.seiji = "70";
  editor.form.Teki = 1230;
  const Status refused = editor.Save();
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.failure().message.find("Teki"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir / "a.K4R"), original);
  EXPECT_EQ(editor.file.image, original);

  // Without the officer list the reference is neither written nor refused.
  editor.availability.officerList = false;
  ASSERT_TRUE(editor.Save());
  EXPECT_EQ(ReadBytes(dir / "a.K4R").substr(L::kTeki, 2), original.substr(L::kTeki, 2));

  editor.availability.officerList = true;
  editor.form.Teki = 0;
  editor.form.sei1 = "Again";
  const fs::path gone = dir / "no such folder" / "a.K4R";
  const Status failed = SaveOfficerFile(gone, editor.file, editor.form, editor.availability);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.failure().message, messages::CannotCreate(gone));
  EXPECT_EQ(editor.file.image.substr(L::kSei1, 7), ByteView("Changed"));  // as last written
}

TEST(SaveOfficerFile, ConditionalFieldsFollowTheAvailabilityFlags) {
  TempDir dir;
  ByteString original = SampleImage();
  WriteBytes(dir / "a.K4R", original);
  for (const bool officerList : {false, true}) {
    for (const bool face : {false, true}) {
      SCOPED_TRACE(std::string("officer list ") + (officerList ? "loaded" : "missing") + ", face " +
                   (face ? "available" : "not available"));
      WriteBytes(dir / "a.K4R", original);
      Editor editor;
      editor.availability = {.officerList = officerList, .face = face};
      ASSERT_TRUE(editor.Load(dir / "a.K4R"));
      EXPECT_EQ(editor.form.Kao, 7);  // read whether or not it is written
      editor.form.Oya = editor.form.Tomo = editor.form.Teki = 2;
      editor.form.Kao = 3;
      ASSERT_TRUE(editor.Save());
      const ByteString saved = ReadBytes(dir / "a.K4R");
      for (const std::size_t ref : {L::kOya, L::kTomo, L::kTeki}) {
        EXPECT_EQ(saved.substr(ref, 2), officerList ? ByteView("\x34\x02") : original.substr(ref, 2)) << ref;
      }
      EXPECT_EQ(saved.substr(L::kKao, 2), face ? ByteView("\x03\x00", 2) : original.substr(L::kKao, 2));
    }
  }
}

TEST(SaveOfficerFile, KeptValuesAreCarriedIntoTheNextFile) {
  TempDir dir;
  WriteBytes(dir / "first.K4R", SampleImage());
  ByteString second = SampleImage();
  second[L::kKyoten] = static_cast<char>(170);
  second[L::kAishou] = 3;
  WriteBytes(dir / "second.K4R", second);
  Editor editor;
  ASSERT_TRUE(editor.Load(dir / "first.K4R"));
  editor.keep = {.Kyoten = true, .Aishou = true};
  ASSERT_TRUE(editor.Load(dir / "second.K4R"));
  EXPECT_EQ(editor.form.Kyoten, 62);
  EXPECT_EQ(editor.form.Aishou, 42);
  ASSERT_TRUE(editor.Save());
  const ByteString saved = ReadBytes(dir / "second.K4R");
  EXPECT_EQ(At(saved, L::kKyoten), 200);
  EXPECT_EQ(At(saved, L::kAishou), 42);
}

}  // namespace
}  // namespace k4r
