#include "core/StorableNumbers.h"

#include "core/FieldTable.h"
#include "core/Messages.h"

namespace k4r {

Status CheckStorableNumber(std::string_view caption, std::int32_t value, NumberRange range) {
  if (range.Holds(value)) {
    return Success();
  }
  return Failure{messages::NumberNotStorable(caption, value, range.lowest, range.highest)};
}

Status CheckStorableNumbers(const BushouRecord& record) {
  // The table lists the abilities before the years, as the save writes them.
  for (const RecordField& field : RecordFields()) {
    if (field.kind != FieldKind::Ability && field.kind != FieldKind::Year) {
      continue;
    }
    const NumberRange range = field.kind == FieldKind::Ability ? kStorableAbilities : kStorableYears;
    if (Status checked = CheckStorableNumber(field.caption, NumberIn(field, record), range); !checked) {
      return checked;
    }
  }
  return Success();
}

}  // namespace k4r
