#include "core/BushouRecord.h"

#include <gtest/gtest.h>

#include "support/OfficerImage.h"
#include "support/RecordLayout.h"

namespace k4r {
namespace {
using testing::At;
using testing::MakeImage;
using testing::Put;
namespace L = layout;

constexpr EncodeSwitches kAll{.officerRefs = true, .face = true};

TEST(DecodeRecord, EmptyFileReadsAsZeroBytes) {
  const BushouRecord record = DecodeRecord("");
  BushouRecord expected;
  expected.tanjou = expected.botu = 1536;
  expected.jumyou = 1;
  expected.Kyoten = 262;  // outside the base list: shown as no selection
  EXPECT_EQ(record, expected);
}

// The offsets are the file format's own numbers, not the layout constants,
// so that a wrong constant fails here.
TEST(DecodeRecord, ReadsEachFieldFromItsOffset) {
  ByteString image = MakeImage(
      267, {{236, 2},   {237, 1}, {238, 180}, {239, 5},   {240, 33}, {241, 6},  {242, 10}, {244, 7}, {245, 2},
            {248, 51},  {249, 2}, {252, 1},   {253, 2},   {254, 3},  {255, 4},  {256, 5},  {257, 6}, {258, 255},
            {259, 163}, {261, 0}, {262, 3},   {263, 255}, {264, 6},  {265, 99}, {266, 200}});
  Put(image, 36, "SEI1");
  Put(image, 62, "MEI1");
  Put(image, 45, "sei-reading");
  Put(image, 71, "mei-reading");
  Put(image, 88, "line1\r\nline2\nline3");
  const BushouRecord r = DecodeRecord(image);
  EXPECT_EQ(r.sei1, "SEI1");
  EXPECT_EQ(r.mei1, "MEI1");
  EXPECT_EQ(r.sei2, "sei-reading");
  EXPECT_EQ(r.mei2, "mei-reading");
  EXPECT_EQ(r.retuden, "line1\r\nline2\nline3");  // line breaks as stored
  EXPECT_EQ(r.Kao, 258);
  EXPECT_EQ(r.tanjou, 1460);
  EXPECT_EQ(r.botu, 1569);
  EXPECT_EQ(r.jumyou, 110);
  EXPECT_EQ(r.seibetu, 10);
  EXPECT_EQ(r.shutuji, 6);
  EXPECT_EQ(r.sinjin, 2);
  EXPECT_EQ((std::array{r.seiji, r.tousotu, r.tiryaku, r.kyouyou, r.giri}), (std::array{1, 2, 3, 4, 200}));
  EXPECT_EQ(r.tokugi, (std::array<ListPosition, 3>{5, 6, 255}));
  EXPECT_EQ(r.Kyoten, 99);
  EXPECT_EQ(r.Aishou, 99);
  EXPECT_EQ((std::array{r.Oya, r.Tomo, r.Teki}), (std::array{1, 206, 1229}));
}

TEST(DecodeRecord, TextEndsAtTheFirstZeroOrTheFieldWidth) {
  struct Case {
    ByteView stored;  // written at the field's offset, may run past it
    ByteView decoded;
  };
  const Case names[] = {
      {"ABCDEFGH", "ABCDEFGH"},    // no zero: all 8 bytes
      {"ABCDEFGHIJ", "ABCDEFGH"},  // the field ends at 8 whatever follows
      {ByteView("AB\0CDEF", 7), "AB"},
      {ByteView("\0BCD", 4), ""},
  };
  for (const Case& c : names) {
    ByteString image = MakeImage(267);
    Put(image, L::kSei1, c.stored);
    EXPECT_EQ(DecodeRecord(image).sei1, c.decoded) << c.stored;
  }
  ByteString image = MakeImage(267);
  const ByteString fullBiography(146, 'x');
  Put(image, L::kRetuden, fullBiography + "y");
  EXPECT_EQ(DecodeRecord(image).retuden, fullBiography);
  // A file that ends inside a field reads the bytes it has.
  EXPECT_EQ(DecodeRecord(ByteString(L::kSei1, ' ') + "AB").sei1, "AB");
}

TEST(EncodeRecord, TextFillsItsWidthWithZerosAndNeverSpills) {
  ByteString image = MakeImage(300, {}, '\xEE');
  BushouRecord record = DecodeRecord(image);
  record.sei1 = "AB";
  record.mei1 = "ABCDEFG\x93\xBF";  // 9 bytes: the two-byte character does not fit
  record.sei2 = "";
  record.mei2 = ByteString(16, 'm');
  record.retuden = ByteString(145, 'r') + "\x93\xBF";  // would end half a character into byte 234
  ASSERT_TRUE(EncodeRecord(record, image, kAll));
  EXPECT_EQ(image.substr(36, 8), ByteView("AB\0\0\0\0\0\0", 8));
  EXPECT_EQ(image.substr(62, 8), ByteView("ABCDEFG\0", 8));
  EXPECT_EQ(image.substr(45, 16), ByteString(16, '\0'));
  EXPECT_EQ(image.substr(71, 16), ByteString(16, 'm'));
  EXPECT_EQ(image.substr(88, 146), ByteString(145, 'r') + '\0');
  for (const std::size_t untouched : {0, 35, 44, 61, 70, 87, 234, 235, 243, 246, 247, 250, 251, 267, 299}) {
    EXPECT_EQ(At(image, untouched), 0xEE) << untouched;
  }
}

TEST(EncodeRecord, ExtendsAShortImageWithZeros) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{250}}) {
    SCOPED_TRACE("image of " + std::to_string(size) + " bytes");
    ByteString image = MakeImage(size, {}, '\x11');
    BushouRecord record;
    record.Kyoten = 0;
    ASSERT_TRUE(EncodeRecord(record, image, {}));
    ASSERT_EQ(image.size(), 267U) << size;
    EXPECT_EQ(image.substr(0, std::min<std::size_t>(size, 36)), ByteString(std::min<std::size_t>(size, 36), '\x11'));
    // Bytes that no field covers and the file did not have are zero.
    for (const std::size_t uncovered : {243, 246, 247, 250, 251}) {
      if (uncovered >= size) {
        EXPECT_EQ(At(image, uncovered), 0) << size << " @" << uncovered;
      }
    }
    // Switched-off fields are not written, but the image still reaches 267.
    if (size <= L::kKao) {
      EXPECT_EQ(At(image, L::kKao), 0);
      EXPECT_EQ(At(image, L::kOya), 0);
    }
  }
}

TEST(EncodeRecord, SwitchesDecideOfficerAndFaceBytes) {
  BushouRecord record;
  record.Oya = 1;
  record.Tomo = 974;
  record.Teki = kNoSelection;
  record.Kao = kNoSelection;
  const ByteString original = MakeImage(267, {}, '\x42');
  for (const bool refs : {false, true}) {
    for (const bool face : {false, true}) {
      SCOPED_TRACE(std::string("officer refs ") + (refs ? "on" : "off") + ", face " + (face ? "on" : "off"));
      ByteString image = original;
      ASSERT_TRUE(EncodeRecord(record, image, {.officerRefs = refs, .face = face}));
      EXPECT_EQ(image.substr(L::kOya, 2), refs ? ByteView("\x33\x02") : ByteView("\x42\x42")) << refs;
      EXPECT_EQ(image.substr(L::kTomo, 2), refs ? ByteView("\x00\x06", 2) : ByteView("\x42\x42")) << refs;
      EXPECT_EQ(image.substr(L::kTeki, 2), refs ? ByteView("\x00\x00", 2) : ByteView("\x42\x42")) << refs;
      EXPECT_EQ(image.substr(L::kKao, 2), face ? ByteView("\xFF\xFF") : ByteView("\x42\x42")) << face;
      EXPECT_EQ(At(image, L::kSeibetu), 0x42);  // never written
    }
  }
}

TEST(EncodeRecord, RefusesAnOfficerPositionWithoutACodeBeforeWritingAnything) {
  struct Case {
    ListPosition BushouRecord::*field;
    ListPosition position;
    std::string_view label;
  };
  const Case cases[] = {{&BushouRecord::Oya, 1230, "実父武将 (Oya)"},
                        {&BushouRecord::Tomo, 5000, "親友武将 (Tomo)"},
                        {&BushouRecord::Teki, 1230, "敵対武将 (Teki)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    BushouRecord record;
    record.sei1 = "NEW";
    record.*c.field = c.position;
    const ByteString original = MakeImage(100, {}, '\x42');
    ByteString image = original;
    const Status status = EncodeRecord(record, image, kAll);
    ASSERT_FALSE(status) << c.label;
    EXPECT_NE(status.failure().message.find(c.label), std::string::npos) << status.failure().message;
    EXPECT_NE(status.failure().message.find(std::to_string(c.position)), std::string::npos);
    EXPECT_EQ(image, original) << c.label;

    // Not written, so not refused, while the officer references are off.
    EXPECT_TRUE(EncodeRecord(record, image, {.officerRefs = false, .face = true}));
  }
  BushouRecord last;
  last.Oya = kLastCodableOfficer;
  ByteString image;
  ASSERT_TRUE(EncodeRecord(last, image, kAll));
  EXPECT_EQ(image.substr(L::kOya, 2), "\xFF\x06");
}

TEST(EncodeRecord, WritesTheValueCodesAtTheirOffsets) {
  BushouRecord record;
  record.seiji = 300;
  record.tousotu = -1;
  record.tiryaku = 120;
  record.kyouyou = 1;
  record.giri = 200;
  record.tokugi = {0, 19, kNoSelection};
  record.tanjou = 1535;
  record.botu = 1536;
  record.shutuji = 6;
  record.sinjin = kNoSelection;
  record.Kyoten = kNoSelection;
  record.Aishou = 99;
  ByteString image;
  ASSERT_TRUE(EncodeRecord(record, image, {}));
  const std::pair<std::size_t, std::uint8_t> expected[] = {
      {252, 44}, {253, 255}, {254, 120}, {255, 1}, {266, 200}, {256, 0}, {257, 19}, {258, 255}, {238, 255},
      {239, 5},  {240, 0},   {241, 6},   {244, 7}, {245, 255}, {259, 7}, {260, 1},  {265, 99},
  };
  for (const auto& [offset, byte] : expected) {
    EXPECT_EQ(At(image, offset), byte) << "offset " << offset;
  }
}

}  // namespace
}  // namespace k4r
