#pragma once
// The invented people of the demo set: officer names made by combining
// kanji parts, and three sample officers. Texts are UTF-8; the demo command
// turns them into CP932.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/FaceArchive.h"
#include "core/NameList.h"
#include "core/ValueCodes.h"

namespace k4r::demo {

// As long as the game's lists: every position a search covers names someone.
inline constexpr int kOfficerCount = kOfficerListLength;  // lines of BUSHOU.DAT
inline constexpr int kFaceCount = kFaceListLength;        // lines of KAO.DAT, one per portrait
inline constexpr const char* kNoOfficer = "（なし）";

// kOfficerCount distinct names; entry 0 stands for no officer.
[[nodiscard]] std::vector<std::string> OfficerNames();
// kFaceCount entries: face i is the portrait of officer i + 1.
[[nodiscard]] std::vector<std::string> FaceNames(const std::vector<std::string>& officerNames);

struct SampleOfficer {
  std::string fileName;
  std::string sei1, mei1, sei2, mei2;  // names and their readings in hiragana
  std::string retuden;                 // lines joined by CR LF
  std::int32_t seiji = 0, tousotu = 0, tiryaku = 0, kyouyou = 0, giri = 0;
  std::array<ListPosition, 3> tokugi{};
  std::uint8_t seibetu = 0;  // 0 male, 1 female
  std::int32_t tanjou = 0, botu = 0;
  ListPosition shutuji = 0, sinjin = 0, Kyoten = 0, Aishou = 0;
  ListPosition Oya = 0, Tomo = 0, Teki = 0;  // positions in OfficerNames()
  ListPosition Kao = 0;
  std::uint32_t gameBytesSeed = 0;  // makes the bytes the editor does not own
  std::size_t fileSize = 0;         // 267 or more
};

// Three officers whose references point into `officerNames`.
[[nodiscard]] std::vector<SampleOfficer> SampleOfficers(const std::vector<std::string>& officerNames);

}  // namespace k4r::demo
