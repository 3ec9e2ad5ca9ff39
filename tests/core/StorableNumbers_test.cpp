#include "core/StorableNumbers.h"

#include <gtest/gtest.h>

#include "core/ValueCodes.h"

namespace k4r {
namespace {

// The ranges are exactly the numbers whose code reads back unchanged.
TEST(StorableNumbers, RangesAreTheNumbersThatReadBackUnchanged) {
  for (std::int32_t value = -600; value <= 4200; ++value) {
    SCOPED_TRACE(value);
    ASSERT_EQ(CheckStorableNumber("誕生年", value, kStorableYears).ok(), DecodeYear(EncodeYear(value)) == value);
    ASSERT_EQ(CheckStorableNumber("政治", value, kStorableAbilities).ok(), EncodeAbility(value) == value);
  }
  // The whole record: the first field in the save order that cannot be stored.
  BushouRecord record;
  record.tanjou = 9999;
  record.botu = 1200;
  EXPECT_EQ(CheckStorableNumbers(record).failure().message,
            "誕生年 9999 はファイルに保存できません (保存できるのは 1280 から 1791 まで)");
}

}  // namespace
}  // namespace k4r
