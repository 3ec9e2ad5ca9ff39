#pragma once
// The files the k4r set tests start from.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/K4rTestRun.h"
#include "support/OfficerImage.h"
#include "support/RecordLayout.h"
#include "support/TempDir.h"

namespace k4r::testing {

// Three officers and three faces, and a face file that only has to exist.
struct Lists {
  TempDir dir;
  Lists() {
    WriteBytes(dir / "BUSHOU.DAT", Sjis("（なし）\r\n甲\r\n乙\r\n丙\r\n丁\r\n"));
    WriteBytes(dir / "KAO.DAT", Sjis("顔〇\r\n顔一\r\n顔二\r\n"));
    WriteBytes(dir / "KAO_M.VX9", "faces");
  }
  [[nodiscard]] std::vector<std::string> Options() const {
    return {"--officer-list", (dir / "BUSHOU.DAT").string(), "--face-list", (dir / "KAO.DAT").string(),
            "--face-file",    (dir / "KAO_M.VX9").string()};
  }
};

inline std::vector<std::string> SetArguments(const std::filesystem::path& file, std::vector<std::string> assignments,
                                             const std::vector<std::string>& options = {}) {
  std::vector<std::string> arguments{"set", file.string()};
  arguments.insert(arguments.end(), assignments.begin(), assignments.end());
  arguments.insert(arguments.end(), options.begin(), options.end());
  return arguments;
}

// An officer whose every field is already in the editor's normal form.
inline ByteString NormalImage() {
  namespace L = layout;
  ByteString image =
      MakeImage(290, {{L::kKao, 1},      {L::kTanjou, 0x0C}, {L::kTanjou + 1, 6}, {L::kBotu, 0x40},  {L::kBotu + 1, 6},
                      {L::kSeibetu, 1},  {L::kShutuji, 3},   {L::kSinjin, 1},     {L::kOya, 0x33},   {L::kOya + 1, 2},
                      {L::kSeiji, 80},   {L::kTousotu, 70},  {L::kTiryaku, 60},   {L::kKyouyou, 50}, {L::kTokugi1, 1},
                      {L::kTokugi2, 19}, {L::kTokugi3, 9},   {L::kKyoten, 200},   {L::kTomo, 0},     {L::kTomo + 1, 0},
                      {L::kTeki, 0x34},  {L::kTeki + 1, 2},  {L::kAishou, 30},    {L::kGiri, 40},    {288, 0xEE}},
                '\0');
  Put(image, L::kSei1, Sjis("椿野"));
  Put(image, L::kMei1, Sjis("綾"));
  Put(image, L::kSei2, Sjis("つばきの"));
  Put(image, L::kMei2, Sjis("あや"));
  Put(image, L::kRetuden, Sjis("一\r\n二"));
  Put(image, 0, "game header bytes");
  return image;
}

}  // namespace k4r::testing
