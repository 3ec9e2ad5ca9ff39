// Opening a file and saving it without edits must change exactly the bytes
// whose stored values the editor cannot show, and nothing else.
#include <gtest/gtest.h>

#include <random>

#include "core/OfficerFile.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace L = layout;

constexpr NameListSizes kSizes{.officers = 700, .faces = 500};

class RandomImage {
 public:
  explicit RandomImage(unsigned seed) : random_(seed) {}

  ByteString Make() {
    ByteString image(300, '\0');
    for (char& byte : image) {
      byte = Byte();
    }
    for (const auto& [offset, width] : {std::pair{L::kSei1, L::kSei1Width}, std::pair{L::kSei2, L::kSei2Width},
                                        std::pair{L::kMei1, L::kMei1Width}, std::pair{L::kMei2, L::kMei2Width}}) {
      MaybeZeroInside(image, offset, width);
    }
    // Biographies rich in line breaks and two-byte characters.
    static constexpr char kBiographyBytes[] = {'\r', '\n', 'a', 'b', '\x93', '\xbf', '\x82', '\xa0', ' '};
    for (std::size_t i = 0; i < L::kRetudenWidth; ++i) {
      image[L::kRetuden + i] = kBiographyBytes[Below(sizeof kBiographyBytes)];
    }
    MaybeZeroInside(image, L::kRetuden, L::kRetudenWidth);
    // Values near the edges of each code, half of the time.
    for (const std::size_t marker : {L::kTanjou + 1, L::kBotu + 1}) {
      Sometimes(image, marker, Below(2) == 0 ? 5 : 6);
    }
    Sometimes(image, L::kShutuji, Below(16));
    for (const std::size_t small : {L::kTokugi1, L::kTokugi2, L::kTokugi3, L::kSinjin}) {
      Sometimes(image, small, Below(24));
    }
    Sometimes(image, L::kAishou, 90 + Below(20));
    if (Below(2) == 0) {
      PutWord(image, L::kKyoten, 155 + Below(115));
    }
    for (const std::size_t ref : {L::kOya, L::kTomo, L::kTeki}) {
      Sometimes(image, ref + 1, 1 + Below(7));
    }
    if (Below(2) == 0) {
      PutWord(image, L::kKao, 450 + Below(100));
    }
    return image;
  }

 private:
  std::size_t Below(std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_); }
  char Byte() { return static_cast<char>(Below(256)); }
  void Sometimes(ByteString& image, std::size_t offset, std::size_t value) {
    if (Below(2) == 0) {
      image[offset] = static_cast<char>(value);
    }
  }
  void MaybeZeroInside(ByteString& image, std::size_t offset, std::size_t width) {
    if (Below(3) != 0) {
      image[offset + Below(width)] = '\0';
    }
  }
  static void PutWord(ByteString& image, std::size_t offset, std::size_t value) {
    image[offset] = static_cast<char>(value & 0xFF);
    image[offset + 1] = static_cast<char>(value >> 8);
  }
  std::mt19937 random_;
};

// The expected file after open and save, from the list of normalisations.
class ExpectedSave {
 public:
  ExpectedSave(ByteString image, Availability availability) : out_(std::move(image)), availability_(availability) {}

  ByteString Build() {
    for (const auto& [offset, width] : {std::pair{L::kSei1, L::kSei1Width}, std::pair{L::kSei2, L::kSei2Width},
                                        std::pair{L::kMei1, L::kMei1Width}, std::pair{L::kMei2, L::kMei2Width}}) {
      ZeroAfterFirstZero(offset, width);
    }
    Biography();
    for (const std::size_t marker : {L::kTanjou + 1, L::kBotu + 1}) {
      if (Get(marker) != 5) {
        Set(marker, 6);
      }
    }
    const unsigned origin = Get(L::kShutuji);
    if (origin == 6 || origin == 8 || origin > 13) {
      Set(L::kShutuji, 0);
    }
    LimitSmall(L::kTokugi1, 20);
    LimitSmall(L::kTokugi2, 20);
    LimitSmall(L::kTokugi3, 20);
    LimitSmall(L::kSinjin, 3);
    LimitSmall(L::kAishou, 100);
    if (const unsigned base = Word(L::kKyoten); base < 163 || base > 262) {
      SetWord(L::kKyoten, 263);
    }
    if (availability_.officerList) {
      for (const std::size_t ref : {L::kOya, L::kTomo, L::kTeki}) {
        const unsigned high = Get(ref + 1);
        const int position = high >= 2 && high <= 6 ? static_cast<int>(Word(ref)) - 562 : 0;
        // Position 0 (none) and positions outside the list are both stored as 0.
        if (position < 1 || position >= kSizes.officers) {
          SetWord(ref, 0);
        }
      }
    }
    if (availability_.face && Word(L::kKao) >= static_cast<unsigned>(kSizes.faces)) {
      SetWord(L::kKao, 0xFFFF);
    }
    return out_;
  }

 private:
  unsigned Get(std::size_t offset) const { return static_cast<unsigned char>(out_[offset]); }
  void Set(std::size_t offset, unsigned value) { out_[offset] = static_cast<char>(value); }
  unsigned Word(std::size_t offset) const { return Get(offset) + 256 * Get(offset + 1); }
  void SetWord(std::size_t offset, unsigned value) {
    Set(offset, value & 0xFF);
    Set(offset + 1, value >> 8);
  }
  void LimitSmall(std::size_t offset, unsigned listLength) {
    if (Get(offset) >= listLength) {
      Set(offset, 255);
    }
  }
  void ZeroAfterFirstZero(std::size_t offset, std::size_t width) {
    const std::size_t zero = out_.find('\0', offset);
    for (std::size_t i = std::max(zero, offset); i < offset + width; ++i) {
      out_[i] = '\0';
    }
  }
  // Every line break (CR LF, CR or LF) becomes CR LF; the field keeps its
  // first 146 bytes without ending inside a two-byte character.
  void Biography() {
    ByteString text = out_.substr(L::kRetuden, L::kRetudenWidth);
    text = text.substr(0, text.find('\0'));
    ByteString lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
      lines += (text[i] == '\r' || text[i] == '\n') ? "\n" : ByteString(1, text[i]);
      i += crlf ? 1 : 0;
    }
    ByteString widened;
    for (const char c : lines) {
      widened += c == '\n' ? ByteString("\r\n") : ByteString(1, c);
    }
    std::size_t kept = 0;
    while (kept < widened.size()) {
      const std::size_t step = IsShiftJisLeadByte(static_cast<unsigned char>(widened[kept])) ? 2 : 1;
      if (kept + step > L::kRetudenWidth) {
        break;
      }
      kept += step;
    }
    widened.resize(kept);
    widened.resize(L::kRetudenWidth, '\0');
    out_.replace(L::kRetuden, L::kRetudenWidth, widened);
  }

  ByteString out_;
  Availability availability_;
};

TEST(OpenAndSave, ChangesExactlyTheBytesTheEditorCannotShow) {
  TempDir dir;
  const auto path = dir / "random.K4R";
  for (const bool officerList : {false, true}) {
    for (const bool face : {false, true}) {
      SCOPED_TRACE(std::string("officer list ") + (officerList ? "loaded" : "missing") + ", face " +
                   (face ? "available" : "not available"));
      const Availability availability{.officerList = officerList, .face = face};
      for (unsigned seed = 1; seed <= 40; ++seed) {
        const ByteString original = RandomImage(seed * 7919 + (officerList ? 2 : 0) + (face ? 1 : 0)).Make();
        WriteBytes(path, original);
        BushouFile file;
        OfficerForm form = StartForm(kSizes);
        ASSERT_TRUE(LoadOfficerFile(path, file, form, {}, availability, kSizes));
        ASSERT_TRUE(SaveOfficerFile(path, file, form, availability));
        const ByteString saved = ReadBytes(path);
        const ByteString expected = ExpectedSave(original, availability).Build();
        ASSERT_EQ(saved.size(), expected.size());
        for (std::size_t i = 0; i < saved.size(); ++i) {
          EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(saved[i])),
                    static_cast<int>(static_cast<unsigned char>(expected[i])))
              << "byte " << i << ", seed " << seed << ", officer list " << officerList << ", face " << face;
        }
        if (saved != expected) {
          return;  // one image's report is enough
        }
      }
    }
  }
}

}  // namespace
}  // namespace k4r
