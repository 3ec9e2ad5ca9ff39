#include "core/StorableNumbers.h"

#include "core/Messages.h"

namespace k4r {

Status CheckStorableNumber(std::string_view caption, std::int32_t value, NumberRange range) {
  if (range.Holds(value)) {
    return Success();
  }
  return Failure{messages::NumberNotStorable(caption, value, range.lowest, range.highest)};
}

Status CheckStorableNumbers(const BushouRecord& record) {
  const struct {
    std::string_view caption;
    std::int32_t value;
    NumberRange range;
  } fields[] = {
      {"政治", record.seiji, kStorableAbilities},   {"統率", record.tousotu, kStorableAbilities},
      {"知略", record.tiryaku, kStorableAbilities}, {"教養", record.kyouyou, kStorableAbilities},
      {"義理", record.giri, kStorableAbilities},    {"誕生年", record.tanjou, kStorableYears},
      {"没年", record.botu, kStorableYears},
  };
  for (const auto& field : fields) {
    if (Status checked = CheckStorableNumber(field.caption, field.value, field.range); !checked) {
      return checked;
    }
  }
  return Success();
}

}  // namespace k4r
