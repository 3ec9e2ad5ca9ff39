// The vocabularies' byte literals checked against the texts they stand for,
// converted by the code page codec the editor shows them with.

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "bridge/Cp932.h"
#include "core/Vocabulary.h"

namespace k4r::bridge {
namespace {

// UTF-8 texts of every entry, in list order.
constexpr const char* kSkills[] = {"槍衾1", "槍衾2", "槍衾3", "斉射1", "斉射2", "斉射3",   "突撃1",
                                   "突撃2", "突撃3", "軍神",  "鉄壁",  "神速",  "※軍師",   "破壊",
                                   "混乱",  "※威圧", "挑発",  "収拾",  "鼓舞",  "（なし）"};
constexpr const char* kOrigins[] = {"守護", "守護代", "国人", "重臣", "武士", "高家",
                                    "僧侶", "商人",   "海賊", "忍者", "剣豪", "庶民"};
constexpr const char* kFaiths[] = {"神仏", "一向宗", "キリスト教"};
constexpr const char* kBases[] = {
    "徳山館",   "石川城",     "三戸城",   "肝付城",     "内城",     "高水寺城",   "角館城",     "湊城",     "寺池城",
    "人吉城",   "日野江城",   "隈本城",   "名生城",     "山形城",   "飫肥城",     "柳河城",     "村中城",   "勢福寺城",
    "米沢城",   "岩切城",     "二本松城", "小高城",     "佐土原城", "岡城",       "秋月城",     "立花山城", "鳥山城",
    "大館城",   "太田城",     "木田余城", "新発田城",   "府内館",   "城井谷城",   "小倉城",     "久留里城", "宇都宮城",
    "古河御所", "本佐倉城",   "黒川城",   "栃尾城",     "指月城",   "黒瀬城",     "中村御所",   "岩付城",   "江戸城",
    "沼田城",   "山口館",     "箕輪城",   "玉縄城",     "坂戸城",   "佐東銀山城", "躑躅ヶ崎館", "小田原城", "山吹城",
    "湯築城",   "駿府城",     "飯山城",   "月山富田城", "引馬城",   "春日山城",   "吉田郡山城", "岡山城",   "岡豊城",
    "吉田城",   "海津城",     "魚津城",   "桜洞城",     "三星城",   "天神山城",   "十河城",     "勝瑞城",   "岡崎城",
    "深志城",   "木曽福島城", "富山城",   "七尾城",     "鳥取城",   "此隅城",     "那古野城",   "岩村城",   "御山御坊",
    "姫路城",   "清洲城",     "建部山城", "三木城",     "八上城",   "雑賀城",     "信貴山城",   "霧山御所", "安濃津城",
    "稲葉山城", "一乗谷城",   "金ヶ崎城", "石山御坊",   "芥川山城", "筒井城",     "福地城",     "小谷城",   "観音寺城",
    "室町御所"};
constexpr const char* kSexes[] = {"男", "女"};
constexpr const char* kStates[] = {"仕官", "浪人"};

std::vector<std::string> Numbers() {
  std::vector<std::string> numbers;
  for (int n = 0; n < 100; ++n) {
    numbers.push_back(std::to_string(n));
  }
  return numbers;
}

struct Expected {
  const char* name;
  const Vocabulary& list;
  std::vector<std::string> texts;
  ListPosition startSelection;
};

TEST(Vocabulary, EntriesAreTheCp932OfTheirTexts) {
  const auto texts = [](std::span<const char* const> items) {
    return std::vector<std::string>(items.begin(), items.end());
  };
  const Expected lists[] = {
      {"skills", vocabulary::Skills(), texts(kSkills), 19},
      {"origins", vocabulary::Origins(), texts(kOrigins), 0},
      {"faiths", vocabulary::Faiths(), texts(kFaiths), 0},
      {"bases", vocabulary::Bases(), texts(kBases), 99},
      {"compatibility", vocabulary::Compatibility(), Numbers(), 0},
      {"sexes", vocabulary::Sexes(), texts(kSexes), kNoSelection},
      {"states", vocabulary::States(), texts(kStates), kNoSelection},
  };
  for (const Expected& expected : lists) {
    SCOPED_TRACE(expected.name);
    ASSERT_EQ(expected.list.entries.size(), expected.texts.size());
    for (std::size_t i = 0; i < expected.texts.size(); ++i) {
      const std::optional<ByteString> bytes = ToCp932(QString::fromUtf8(expected.texts[i]));
      ASSERT_TRUE(bytes.has_value()) << expected.texts[i];
      EXPECT_EQ(expected.list.entries[i], *bytes) << "entry " << i << " " << expected.texts[i];
    }
    EXPECT_EQ(expected.list.startSelection, expected.startSelection);
  }
  EXPECT_EQ(vocabulary::Skills().entries[vocabulary::kNoSkill], *ToCp932(QStringLiteral("（なし）")));
}

}  // namespace
}  // namespace k4r::bridge
