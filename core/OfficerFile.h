#pragma once
// Opening an officer file and saving it back: as a record (what k4r edits)
// and as the editor's fields, which the window shows.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/BushouFile.h"
#include "core/BushouRecord.h"
#include "core/Bytes.h"
#include "core/FieldTable.h"
#include "core/Result.h"
#include "core/ValueCodes.h"
#include "core/Vocabulary.h"

namespace k4r {

// The editor's fields as its controls hold them: names and biography as raw
// CP932 bytes, abilities and years as the texts of their boxes (UTF-8), list
// fields as positions (-1 when the list shows no selection).
struct OfficerForm {
  ByteString sei1, mei1, sei2, mei2;
  ByteString retuden;  // as shown: any of CR LF, lone CR, lone LF is a line break
  std::string seiji = "70", tousotu = "70", tiryaku = "70", kyouyou = "70", giri = "70";
  std::array<ListPosition, 3> tokugi{vocabulary::kNoSkill, vocabulary::kNoSkill, vocabulary::kNoSkill};
  std::string seibetu;  // the sex byte as two uppercase hexadecimal digits; empty at start
  std::string tanjou = "1460", jumyou = "110";
  std::string botu;  // the death-year label; empty until first computed
  ListPosition shutuji = 0, sinjin = 0, Kyoten = 99, Aishou = 0;
  ListPosition Oya = 0, Tomo = 0, Teki = 0;
  ListPosition Kao = 0;
  friend bool operator==(const OfficerForm&, const OfficerForm&) = default;
};

// The five "固定" check boxes: a checked box keeps its field at a load.
struct KeepFlags {
  bool Kyoten = false, Aishou = false, Oya = false, Tomo = false, Teki = false;
};

// Fixed at start for the whole run.
struct Availability {
  bool officerList = false;  // BUSHOU.DAT was loaded
  bool face = false;         // KAO.DAT was loaded and the face graphics file exists
};

// Lengths of the two name lists; a decoded position outside its list shows
// as no selection. The fixed vocabularies have fixed lengths.
struct NameListSizes {
  std::int32_t officers = 0;
  std::int32_t faces = 0;
};

// How many entries the list of a field has: the fixed vocabularies' own
// lengths, the name lists' as loaded.
[[nodiscard]] std::int32_t ListLength(FieldList list, const NameListSizes& sizes);

// The record as a load leaves it, from the `decoded` file and the record
// `before` the load: a position outside its list becomes no selection; a
// kept field, and the officer references while the officer list is not
// available, keep the position they had before.
[[nodiscard]] BushouRecord RecordAsLoaded(BushouRecord decoded, const BushouRecord& before,
                                          const Availability& availability, const NameListSizes& sizes,
                                          const KeepFlags& keep = {});

// Reads the file at `path`. On success `file` holds its image and path and
// `record` the record as loaded (see RecordAsLoaded; `record` is the one
// before the load); on failure both are unchanged.
[[nodiscard]] Status LoadOfficerRecord(const std::filesystem::path& path, BushouFile& file, BushouRecord& record,
                                       const Availability& availability, const NameListSizes& sizes,
                                       const KeepFlags& keep = {});

// The image a save of `record` over `file` writes, the biography's line
// breaks made CR LF first. Refused, with the image untouched: a number the
// file would store as another one (CheckStorableNumbers) and an officer
// reference without a code. Running out of memory is such a failure.
[[nodiscard]] Result<ByteString> SavedImage(const BushouFile& file, const BushouRecord& record,
                                            const Availability& availability);

// Writes SavedImage over the file at `path`. The new image replaces
// `file.image` only once the file is written, so after any failure the image
// still matches what was last read or written.
[[nodiscard]] Status SaveOfficerRecord(const std::filesystem::path& path, BushouFile& file, const BushouRecord& record,
                                       const Availability& availability);

// The start state of the editor's fields, given the name lists loaded.
[[nodiscard]] OfficerForm StartForm(const NameListSizes& sizes);

// Reads the file at `path` and makes its fields the new form: `form` is the
// form before the load (kept fields and, while the officer list is not
// available, the officer references keep its values). On success `file`
// holds the new image and path and `form` the new fields; on failure both are
// unchanged.
[[nodiscard]] Status LoadOfficerFile(const std::filesystem::path& path, BushouFile& file, OfficerForm& form,
                                     const KeepFlags& keep, const Availability& availability,
                                     const NameListSizes& sizes);

// The record a form stands for: numbers parsed by the integer rule (the first
// that fails, abilities first, then birth and death year, gives
// "'%s' は整数ではありません"), the biography's line breaks made CR LF.
[[nodiscard]] Result<BushouRecord> RecordFromForm(const OfficerForm& form);

// Saves the record the form stands for (RecordFromForm, then
// SaveOfficerRecord). A text longer than its field is cut on a character
// boundary. On a conversion failure ("'%s' は整数ではありません", abilities
// first, then birth and death year) or a refused field, neither the image nor
// the file on disk changes.
[[nodiscard]] Status SaveOfficerFile(const std::filesystem::path& path, BushouFile& file, const OfficerForm& form,
                                     const Availability& availability);

// The biography as the editor gives it back: every CR LF, lone CR and lone LF
// becomes CR LF.
[[nodiscard]] ByteString NormalizeLineBreaks(ByteView text);

}  // namespace k4r
