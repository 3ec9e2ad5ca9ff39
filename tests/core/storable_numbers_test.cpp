#include "core/storable_numbers.h"

#include <gtest/gtest.h>

#include "core/value_codes.h"

namespace k4r {
namespace {

// The ranges are exactly the numbers whose code reads back unchanged.
TEST(StorableNumbers, RangesAreTheNumbersThatReadBackUnchanged) {
  for (std::int32_t value = -600; value <= 4200; ++value) {
    SCOPED_TRACE(value);
    ASSERT_EQ(CheckStorableNumber("誕生年", value, kStorableYears).ok(), DecodeYear(EncodeYear(value)) == value);
    ASSERT_EQ(CheckStorableNumber("政治", value, kStorableAbilities).ok(), EncodeAbility(value) == value);
  }
}

TEST(StorableNumbers, TheFirstFieldInSaveOrderNamesItsCaptionAndValue) {
  BushouRecord valid;
  valid.seiji = valid.tousotu = valid.tiryaku = valid.kyouyou = valid.giri = 70;
  valid.tanjou = 1460;
  valid.botu = 1569;
  ASSERT_TRUE(CheckStorableNumbers(valid));
  const struct {
    std::int32_t BushouRecord::*first;
    std::int32_t firstValue;
    std::int32_t BushouRecord::*second;
    const char* message;
  } cases[] = {
      {&BushouRecord::seiji, 300, &BushouRecord::botu,
       "政治 300 はファイルに保存できません (保存できるのは 0 から 255 まで)"},
      {&BushouRecord::giri, -1, &BushouRecord::tanjou,
       "義理 -1 はファイルに保存できません (保存できるのは 0 から 255 まで)"},
      {&BushouRecord::tanjou, 9999, &BushouRecord::botu,
       "誕生年 9999 はファイルに保存できません (保存できるのは 1280 から 1791 まで)"},
      {&BushouRecord::botu, 1792, &BushouRecord::botu,
       "没年 1792 はファイルに保存できません (保存できるのは 1280 から 1791 まで)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    BushouRecord record = valid;
    record.*c.second = 100000;  // later in the save order, or the same field
    record.*c.first = c.firstValue;
    const Status checked = CheckStorableNumbers(record);
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.failure().message, c.message);
  }
}

}  // namespace
}  // namespace k4r
