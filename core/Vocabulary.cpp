// The fixed vocabularies of the editor's drop-down lists, as the CP932 bytes
// the lists show and the officer file's positions refer to. The bytes are
// written out here because the core never converts text; each entry carries
// its text in a comment.

#include "core/Vocabulary.h"

#include <iterator>

namespace k4r {
namespace {

constexpr ByteView kSkillEntries[] = {
    "\x91\x84\xe5\xce\x31",              // 0 槍衾1
    "\x91\x84\xe5\xce\x32",              // 1 槍衾2
    "\x91\x84\xe5\xce\x33",              // 2 槍衾3
    "\x90\xc4\x8e\xcb\x31",              // 3 斉射1
    "\x90\xc4\x8e\xcb\x32",              // 4 斉射2
    "\x90\xc4\x8e\xcb\x33",              // 5 斉射3
    "\x93\xcb\x8c\x82\x31",              // 6 突撃1
    "\x93\xcb\x8c\x82\x32",              // 7 突撃2
    "\x93\xcb\x8c\x82\x33",              // 8 突撃3
    "\x8c\x52\x90\x5f",                  // 9 軍神
    "\x93\x53\x95\xc7",                  // 10 鉄壁
    "\x90\x5f\x91\xac",                  // 11 神速
    "\x81\xa6\x8c\x52\x8e\x74",          // 12 ※軍師
    "\x94\x6a\x89\xf3",                  // 13 破壊
    "\x8d\xac\x97\x90",                  // 14 混乱
    "\x81\xa6\x88\xd0\x88\xb3",          // 15 ※威圧
    "\x92\xa7\x94\xad",                  // 16 挑発
    "\x8e\xfb\x8f\x45",                  // 17 収拾
    "\x8c\xdb\x95\x91",                  // 18 鼓舞
    "\x81\x69\x82\xc8\x82\xb5\x81\x6a",  // 19 （なし）
};

constexpr ByteView kOriginEntries[] = {
    "\x8e\xe7\x8c\xec",          // 0 守護
    "\x8e\xe7\x8c\xec\x91\xe3",  // 1 守護代
    "\x8d\x91\x90\x6c",          // 2 国人
    "\x8f\x64\x90\x62",          // 3 重臣
    "\x95\x90\x8e\x6d",          // 4 武士
    "\x8d\x82\x89\xc6",          // 5 高家
    "\x91\x6d\x97\xb5",          // 6 僧侶
    "\x8f\xa4\x90\x6c",          // 7 商人
    "\x8a\x43\x91\xaf",          // 8 海賊
    "\x94\x45\x8e\xd2",          // 9 忍者
    "\x8c\x95\x8d\x8b",          // 10 剣豪
    "\x8f\x8e\x96\xaf",          // 11 庶民
};

constexpr ByteView kFaithEntries[] = {
    "\x90\x5f\x95\xa7",                          // 0 神仏
    "\x88\xea\x8c\xfc\x8f\x40",                  // 1 一向宗
    "\x83\x4c\x83\x8a\x83\x58\x83\x67\x8b\xb3",  // 2 キリスト教
};

constexpr ByteView kBaseEntries[] = {
    "\x93\xbf\x8e\x52\x8a\xd9",                  // 0 徳山館
    "\x90\xce\x90\xec\x8f\xe9",                  // 1 石川城
    "\x8e\x4f\x8c\xcb\x8f\xe9",                  // 2 三戸城
    "\x8a\xcc\x95\x74\x8f\xe9",                  // 3 肝付城
    "\x93\xe0\x8f\xe9",                          // 4 内城
    "\x8d\x82\x90\x85\x8e\x9b\x8f\xe9",          // 5 高水寺城
    "\x8a\x70\x8a\xd9\x8f\xe9",                  // 6 角館城
    "\x96\xa9\x8f\xe9",                          // 7 湊城
    "\x8e\x9b\x92\x72\x8f\xe9",                  // 8 寺池城
    "\x90\x6c\x8b\x67\x8f\xe9",                  // 9 人吉城
    "\x93\xfa\x96\xec\x8d\x5d\x8f\xe9",          // 10 日野江城
    "\x8c\x47\x96\x7b\x8f\xe9",                  // 11 隈本城
    "\x96\xbc\x90\xb6\x8f\xe9",                  // 12 名生城
    "\x8e\x52\x8c\x60\x8f\xe9",                  // 13 山形城
    "\xe9\x4b\x94\xec\x8f\xe9",                  // 14 飫肥城
    "\x96\xf6\x89\xcd\x8f\xe9",                  // 15 柳河城
    "\x91\xba\x92\x86\x8f\xe9",                  // 16 村中城
    "\x90\xa8\x95\x9f\x8e\x9b\x8f\xe9",          // 17 勢福寺城
    "\x95\xc4\x91\xf2\x8f\xe9",                  // 18 米沢城
    "\x8a\xe2\x90\xd8\x8f\xe9",                  // 19 岩切城
    "\x93\xf1\x96\x7b\x8f\xbc\x8f\xe9",          // 20 二本松城
    "\x8f\xac\x8d\x82\x8f\xe9",                  // 21 小高城
    "\x8d\xb2\x93\x79\x8c\xb4\x8f\xe9",          // 22 佐土原城
    "\x89\xaa\x8f\xe9",                          // 23 岡城
    "\x8f\x48\x8c\x8e\x8f\xe9",                  // 24 秋月城
    "\x97\xa7\x89\xd4\x8e\x52\x8f\xe9",          // 25 立花山城
    "\x92\xb9\x8e\x52\x8f\xe9",                  // 26 鳥山城
    "\x91\xe5\x8a\xd9\x8f\xe9",                  // 27 大館城
    "\x91\xbe\x93\x63\x8f\xe9",                  // 28 太田城
    "\x96\xd8\x93\x63\x97\x5d\x8f\xe9",          // 29 木田余城
    "\x90\x56\x94\xad\x93\x63\x8f\xe9",          // 30 新発田城
    "\x95\x7b\x93\xe0\x8a\xd9",                  // 31 府内館
    "\x8f\xe9\x88\xe4\x92\x4a\x8f\xe9",          // 32 城井谷城
    "\x8f\xac\x91\x71\x8f\xe9",                  // 33 小倉城
    "\x8b\x76\x97\xaf\x97\xa2\x8f\xe9",          // 34 久留里城
    "\x89\x46\x93\x73\x8b\x7b\x8f\xe9",          // 35 宇都宮城
    "\x8c\xc3\x89\xcd\x8c\xe4\x8f\x8a",          // 36 古河御所
    "\x96\x7b\x8d\xb2\x91\x71\x8f\xe9",          // 37 本佐倉城
    "\x8d\x95\x90\xec\x8f\xe9",                  // 38 黒川城
    "\x93\xc8\x94\xf6\x8f\xe9",                  // 39 栃尾城
    "\x8e\x77\x8c\x8e\x8f\xe9",                  // 40 指月城
    "\x8d\x95\x90\xa3\x8f\xe9",                  // 41 黒瀬城
    "\x92\x86\x91\xba\x8c\xe4\x8f\x8a",          // 42 中村御所
    "\x8a\xe2\x95\x74\x8f\xe9",                  // 43 岩付城
    "\x8d\x5d\x8c\xcb\x8f\xe9",                  // 44 江戸城
    "\x8f\xc0\x93\x63\x8f\xe9",                  // 45 沼田城
    "\x8e\x52\x8c\xfb\x8a\xd9",                  // 46 山口館
    "\x96\xa5\x97\xd6\x8f\xe9",                  // 47 箕輪城
    "\x8b\xca\x93\xea\x8f\xe9",                  // 48 玉縄城
    "\x8d\xe2\x8c\xcb\x8f\xe9",                  // 49 坂戸城
    "\x8d\xb2\x93\x8c\x8b\xe2\x8e\x52\x8f\xe9",  // 50 佐東銀山城
    "\xe7\x55\xe7\x50\x83\x96\x8d\xe8\x8a\xd9",  // 51 躑躅ヶ崎館
    "\x8f\xac\x93\x63\x8c\xb4\x8f\xe9",          // 52 小田原城
    "\x8e\x52\x90\x81\x8f\xe9",                  // 53 山吹城
    "\x93\x92\x92\x7a\x8f\xe9",                  // 54 湯築城
    "\x8f\x78\x95\x7b\x8f\xe9",                  // 55 駿府城
    "\x94\xd1\x8e\x52\x8f\xe9",                  // 56 飯山城
    "\x8c\x8e\x8e\x52\x95\x78\x93\x63\x8f\xe9",  // 57 月山富田城
    "\x88\xf8\x94\x6e\x8f\xe9",                  // 58 引馬城
    "\x8f\x74\x93\xfa\x8e\x52\x8f\xe9",          // 59 春日山城
    "\x8b\x67\x93\x63\x8c\x53\x8e\x52\x8f\xe9",  // 60 吉田郡山城
    "\x89\xaa\x8e\x52\x8f\xe9",                  // 61 岡山城
    "\x89\xaa\x96\x4c\x8f\xe9",                  // 62 岡豊城
    "\x8b\x67\x93\x63\x8f\xe9",                  // 63 吉田城
    "\x8a\x43\x92\xc3\x8f\xe9",                  // 64 海津城
    "\x8b\x9b\x92\xc3\x8f\xe9",                  // 65 魚津城
    "\x8d\xf7\x93\xb4\x8f\xe9",                  // 66 桜洞城
    "\x8e\x4f\x90\xaf\x8f\xe9",                  // 67 三星城
    "\x93\x56\x90\x5f\x8e\x52\x8f\xe9",          // 68 天神山城
    "\x8f\x5c\x89\xcd\x8f\xe9",                  // 69 十河城
    "\x8f\x9f\x90\x90\x8f\xe9",                  // 70 勝瑞城
    "\x89\xaa\x8d\xe8\x8f\xe9",                  // 71 岡崎城
    "\x90\x5b\x8e\x75\x8f\xe9",                  // 72 深志城
    "\x96\xd8\x91\x5d\x95\x9f\x93\x87\x8f\xe9",  // 73 木曽福島城
    "\x95\x78\x8e\x52\x8f\xe9",                  // 74 富山城
    "\x8e\xb5\x94\xf6\x8f\xe9",                  // 75 七尾城
    "\x92\xb9\x8e\xe6\x8f\xe9",                  // 76 鳥取城
    "\x8d\x9f\x8b\xf7\x8f\xe9",                  // 77 此隅城
    "\x93\xdf\x8c\xc3\x96\xec\x8f\xe9",          // 78 那古野城
    "\x8a\xe2\x91\xba\x8f\xe9",                  // 79 岩村城
    "\x8c\xe4\x8e\x52\x8c\xe4\x96\x56",          // 80 御山御坊
    "\x95\x50\x98\x48\x8f\xe9",                  // 81 姫路城
    "\x90\xb4\x8f\x46\x8f\xe9",                  // 82 清洲城
    "\x8c\x9a\x95\x94\x8e\x52\x8f\xe9",          // 83 建部山城
    "\x8e\x4f\x96\xd8\x8f\xe9",                  // 84 三木城
    "\x94\xaa\x8f\xe3\x8f\xe9",                  // 85 八上城
    "\x8e\x47\x89\xea\x8f\xe9",                  // 86 雑賀城
    "\x90\x4d\x8b\x4d\x8e\x52\x8f\xe9",          // 87 信貴山城
    "\x96\xb6\x8e\x52\x8c\xe4\x8f\x8a",          // 88 霧山御所
    "\x88\xc0\x94\x5a\x92\xc3\x8f\xe9",          // 89 安濃津城
    "\x88\xee\x97\x74\x8e\x52\x8f\xe9",          // 90 稲葉山城
    "\x88\xea\x8f\xe6\x92\x4a\x8f\xe9",          // 91 一乗谷城
    "\x8b\xe0\x83\x96\x8d\xe8\x8f\xe9",          // 92 金ヶ崎城
    "\x90\xce\x8e\x52\x8c\xe4\x96\x56",          // 93 石山御坊
    "\x8a\x48\x90\xec\x8e\x52\x8f\xe9",          // 94 芥川山城
    "\x93\x9b\x88\xe4\x8f\xe9",                  // 95 筒井城
    "\x95\x9f\x92\x6e\x8f\xe9",                  // 96 福地城
    "\x8f\xac\x92\x4a\x8f\xe9",                  // 97 小谷城
    "\x8a\xcf\x89\xb9\x8e\x9b\x8f\xe9",          // 98 観音寺城
    "\x8e\xba\x92\xac\x8c\xe4\x8f\x8a",          // 99 室町御所
};

constexpr ByteView kSexEntries[] = {
    "\x92\x6a",  // 0 男
    "\x8f\x97",  // 1 女
};

constexpr ByteView kStateEntries[] = {
    "\x8e\x64\x8a\xaf",  // 0 仕官
    "\x98\x51\x90\x6c",  // 1 浪人
};

// clang-format off
constexpr ByteView kCompatibilityEntries[] = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "10", "11", "12", "13", "14", "15", "16", "17", "18", "19",
    "20", "21", "22", "23", "24", "25", "26", "27", "28", "29",
    "30", "31", "32", "33", "34", "35", "36", "37", "38", "39",
    "40", "41", "42", "43", "44", "45", "46", "47", "48", "49",
    "50", "51", "52", "53", "54", "55", "56", "57", "58", "59",
    "60", "61", "62", "63", "64", "65", "66", "67", "68", "69",
    "70", "71", "72", "73", "74", "75", "76", "77", "78", "79",
    "80", "81", "82", "83", "84", "85", "86", "87", "88", "89",
    "90", "91", "92", "93", "94", "95", "96", "97", "98", "99",
};
// clang-format on

static_assert(std::size(kSkillEntries) == vocabulary::kSkillCount);
static_assert(std::size(kOriginEntries) == vocabulary::kOriginCount);
static_assert(std::size(kFaithEntries) == vocabulary::kFaithCount);
static_assert(std::size(kBaseEntries) == vocabulary::kBaseCount);
static_assert(std::size(kCompatibilityEntries) == vocabulary::kCompatibilityCount);
static_assert(std::size(kSexEntries) == vocabulary::kSexCount);
static_assert(std::size(kStateEntries) == vocabulary::kStateCount);
static_assert(vocabulary::kNoSkill < vocabulary::kSkillCount);

}  // namespace

namespace vocabulary {

const Vocabulary& Skills() {
  static const Vocabulary list{kSkillEntries, kNoSkill};
  return list;
}

const Vocabulary& Origins() {
  static const Vocabulary list{kOriginEntries, 0};
  return list;
}

const Vocabulary& Faiths() {
  static const Vocabulary list{kFaithEntries, 0};
  return list;
}

const Vocabulary& Bases() {
  static const Vocabulary list{kBaseEntries, 99};
  return list;
}

const Vocabulary& Compatibility() {
  static const Vocabulary list{kCompatibilityEntries, 0};
  return list;
}

// Sex and status are shown for information only: nothing selects in them.
const Vocabulary& Sexes() {
  static const Vocabulary list{kSexEntries, kNoSelection};
  return list;
}

const Vocabulary& States() {
  static const Vocabulary list{kStateEntries, kNoSelection};
  return list;
}

}  // namespace vocabulary
}  // namespace k4r
