#include "demo/DemoData.h"

#include <string_view>

namespace k4r::demo {
namespace {

struct Part {
  std::string_view kanji;
  std::string_view reading;
};

// Family names: a tree or plant and a feature of the land.
constexpr Part kFamilyFirst[] = {
    {"朝", "あさ"}, {"葛", "くず"},   {"鷹", "たか"},   {"霧", "きり"}, {"梓", "あずさ"}, {"柚", "ゆず"},
    {"檜", "ひの"}, {"榊", "さかき"}, {"蓬", "よもぎ"}, {"萩", "はぎ"}, {"葦", "あし"},   {"椿", "つばき"},
    {"楢", "なら"}, {"樫", "かし"},   {"栗", "くり"},   {"菱", "ひし"},
};
constexpr Part kFamilySecond[] = {
    {"沢", "さわ"}, {"原", "はら"}, {"野", "の"},   {"森", "もり"}, {"岡", "おか"}, {"谷", "たに"},
    {"淵", "ふち"}, {"塚", "つか"}, {"浦", "うら"}, {"尾", "お"},   {"瀬", "せ"},   {"根", "ね"},
};
// Given names: two of the characters such names are made of.
constexpr Part kGivenFirst[] = {
    {"信", "のぶ"}, {"義", "よし"}, {"元", "もと"}, {"長", "なが"}, {"秀", "ひで"}, {"忠", "ただ"},
    {"輝", "てる"}, {"景", "かげ"}, {"勝", "かつ"}, {"政", "まさ"}, {"氏", "うじ"}, {"晴", "はる"},
    {"直", "なお"}, {"頼", "より"}, {"昌", "まさ"}, {"光", "みつ"},
};
constexpr Part kGivenSecond[] = {
    {"綱", "つな"}, {"盛", "もり"}, {"春", "はる"}, {"久", "ひさ"}, {"家", "いえ"}, {"康", "やす"},
    {"房", "ふさ"}, {"虎", "とら"}, {"友", "とも"}, {"資", "すけ"}, {"定", "さだ"}, {"親", "ちか"},
    {"安", "やす"}, {"兼", "かね"}, {"範", "のり"}, {"重", "しげ"},
};

constexpr std::size_t kFamilies = std::size(kFamilyFirst) * std::size(kFamilySecond);  // 192
constexpr std::size_t kGivens = std::size(kGivenFirst) * std::size(kGivenSecond);      // 256

std::string Family(std::size_t index) {
  return std::string(kFamilyFirst[index / std::size(kFamilySecond)].kanji) +
         std::string(kFamilySecond[index % std::size(kFamilySecond)].kanji);
}

std::string Given(std::size_t index) {
  return std::string(kGivenFirst[index / std::size(kGivenSecond)].kanji) +
         std::string(kGivenSecond[index % std::size(kGivenSecond)].kanji);
}

// The first officer of a family, as the father of a sample officer.
ListPosition FirstOf(const std::vector<std::string>& names, std::string_view family) {
  for (std::size_t position = 1; position < names.size(); ++position) {
    if (std::string_view(names[position]).starts_with(family)) {
      return static_cast<ListPosition>(position);
    }
  }
  return 0;
}

}  // namespace

std::vector<std::string> OfficerNames() {
  std::vector<std::string> names;
  names.reserve(kOfficerCount);
  names.emplace_back(kNoOfficer);
  // Every family comes round in turn; within a family the given name steps by
  // an odd stride modulo 256, so no full name repeats (5 or 6 per family).
  for (std::size_t n = 0; names.size() < static_cast<std::size_t>(kOfficerCount); ++n) {
    const std::size_t family = n % kFamilies;
    const std::size_t given = (37 * n + 5 * (n / kFamilies)) % kGivens;
    names.push_back(Family(family) + Given(given));
  }
  return names;
}

std::vector<std::string> FaceNames(const std::vector<std::string>& officerNames) {
  std::vector<std::string> faces;
  faces.reserve(kFaceCount);
  for (int face = 0; face < kFaceCount; ++face) {
    faces.push_back(officerNames.at(static_cast<std::size_t>(face) + 1));
  }
  return faces;
}

std::vector<SampleOfficer> SampleOfficers(const std::vector<std::string>& officerNames) {
  SampleOfficer spearman;
  spearman.fileName = "SAMPLE1.K4R";
  spearman.sei1 = "鷹沢";
  spearman.mei1 = "忠房";
  spearman.sei2 = "たかさわ";
  spearman.mei2 = "ただふさ";
  spearman.retuden =
      "北国の小さな城主の次男。\r\n"
      "槍の名手として知られ、主家の危機を幾度も救った。\r\n"
      "晩年は甥を支えた。";
  spearman.seiji = 52, spearman.tousotu = 91, spearman.tiryaku = 64, spearman.kyouyou = 38, spearman.giri = 84;
  spearman.tokugi = {0, 6, 10};  // 槍衾1, 突撃1, 鉄壁
  spearman.seibetu = 0;
  spearman.tanjou = 1523, spearman.botu = 1582;
  spearman.shutuji = 4;  // 武士
  spearman.sinjin = 0;   // 神仏
  spearman.Kyoten = 59;  // 春日山城
  spearman.Aishou = 12;
  spearman.Oya = FirstOf(officerNames, "鷹沢");
  spearman.Tomo = 301, spearman.Teki = 845;
  spearman.Kao = 7;
  spearman.gameBytesSeed = 0x1523;
  spearman.fileSize = 300;

  SampleOfficer steward;
  steward.fileName = "SAMPLE2.K4R";
  steward.sei1 = "椿野";
  steward.mei1 = "綾";
  steward.sei2 = "つばきの";
  steward.mei2 = "あや";
  steward.retuden =
      "京の公家に連なる家の生まれ。\r\n"
      "和歌と算術に通じ、城下の商いを立て直した。";
  steward.seiji = 97, steward.tousotu = 31, steward.tiryaku = 88, steward.kyouyou = 112, steward.giri = 63;
  steward.tokugi = {17, 18, 19};  // 収拾, 鼓舞, none
  steward.seibetu = 1;
  steward.tanjou = 1541, steward.botu = 1603;
  steward.shutuji = 5;  // 高家
  steward.sinjin = 2;   // キリスト教
  steward.Kyoten = 60;  // 吉田郡山城
  steward.Aishou = 47;
  steward.Oya = FirstOf(officerNames, "椿野");
  steward.Tomo = 17, steward.Teki = 0;
  steward.Kao = 128;
  steward.gameBytesSeed = 0x1541;
  steward.fileSize = 267;

  SampleOfficer scholar;
  scholar.fileName = "SAMPLE3.K4R";
  scholar.sei1 = "霧谷";
  scholar.mei1 = "宗円";
  scholar.sei2 = "きりたに";
  scholar.mei2 = "そうえん";
  scholar.retuden =
      "山寺で育った学僧。\r\n"
      "諸国を巡って兵法を学び、\r\n"
      "請われて軍配を預かった。";
  scholar.seiji = 74, scholar.tousotu = 58, scholar.tiryaku = 109, scholar.kyouyou = 95, scholar.giri = 71;
  scholar.tokugi = {12, 14, 19};  // ※軍師, 混乱, none
  scholar.seibetu = 0;
  scholar.tanjou = 1508, scholar.botu = 1575;
  scholar.shutuji = 6;  // 僧侶
  scholar.sinjin = 1;   // 一向宗
  scholar.Kyoten = 93;  // 石山御坊
  scholar.Aishou = 88;
  scholar.Oya = FirstOf(officerNames, "霧谷");
  scholar.Tomo = 0, scholar.Teki = 1090;
  scholar.Kao = 503;
  scholar.gameBytesSeed = 0x1508;
  scholar.fileSize = 320;

  return {spearman, steward, scholar};
}

}  // namespace k4r::demo
