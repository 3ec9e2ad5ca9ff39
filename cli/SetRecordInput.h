#pragma once
// What one JSON object or one table row says about one officer file, key by
// key, and how it applies to the record loaded from that file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ListViews.h"
#include "core/BushouFile.h"
#include "core/BushouRecord.h"
#include "core/FieldTable.h"
#include "core/Result.h"

namespace k4r::cli {

class RecordInput {
 public:
  // Takes `text` under a key of 'k4r dump' (a table column): a field, its
  // "_name" or "_hex" companion, or "file"; the skills one by one as
  // tokugi1..3 and tokugi1_name..3. nullopt is a JSON null, allowed for names
  // only. `label` names the value in messages. Unknown and repeated keys are
  // refused.
  [[nodiscard]] Status Add(std::string_view key, std::string label, std::optional<std::string> text);

  // The "file" value, when given.
  [[nodiscard]] const std::optional<std::string>& file() const { return file_; }

  // Room for `values` values of `bytes` in all, so that a table's row
  // takes no more.
  void Reserve(std::size_t values, std::size_t bytes);

  // Applies every value to `record`, freshly loaded from `file`. A field
  // whose given values all equal what 'k4r dump' shows for the file keeps the
  // loaded value, so a file's own dump changes nothing; other values follow
  // the rules of NAME=VALUE. The result must be savable: the save's own
  // checks run here too, so that nothing is refused once writing starts.
  [[nodiscard]] Status ApplyTo(const BushouFile& file, BushouRecord& record, const ListViews& lists) const;

 private:
  struct Given {
    std::string label;
    std::optional<std::string> text;
  };
  struct Parts {
    std::optional<Given> value, name, hex;
  };
  enum class Part : std::uint8_t { Value, Name, Hex };
  // One value given: its label and its text lie in `texts_`, one after the
  // other, ending at these offsets.
  struct Entry {
    FieldId id;
    Part part;
    bool null;
    std::uint32_t labelEnd;
    std::uint32_t textEnd;
  };
  // One step per field (the three years together), in the fields' order;
  // `decoded` is the file as it is.
  [[nodiscard]] Status ApplyStep(std::size_t index, const BushouRecord& decoded, BushouRecord& record,
                                 const ListViews& lists) const;
  [[nodiscard]] Status ApplyText(const RecordField& field, const Parts& parts, const BushouRecord& decoded,
                                 BushouRecord& record) const;
  [[nodiscard]] Status ApplyList(const RecordField& field, const Parts& parts, const BushouRecord& decoded,
                                 BushouRecord& record, const ListViews& lists) const;
  [[nodiscard]] Status ApplyYears(BushouRecord& record) const;
  [[nodiscard]] Parts PartsOf(FieldId id) const;
  [[nodiscard]] Parts PartsAt(std::size_t index) const { return PartsOf(static_cast<FieldId>(index)); }
  // The label of the first value given for the step, for naming a refusal.
  [[nodiscard]] std::optional<std::string> LabelOf(std::size_t index) const;

  std::optional<std::string> file_;
  // Only the values given, in their order, their texts packed into one
  // string: a table of 100,000 rows holds as many inputs at once.
  std::vector<Entry> given_;
  std::string texts_;
};

}  // namespace k4r::cli
