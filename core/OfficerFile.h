#pragma once
// Opening an officer file into the editor's fields and saving them back.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/BushouFile.h"
#include "core/BushouRecord.h"
#include "core/Bytes.h"
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

// Encodes the form (see RecordFromForm) into the image of `file` and writes the image over the
// file at `path`. The biography's line breaks become CR LF first; a result
// longer than the field is cut on a character boundary. On a conversion
// failure ("'%s' は整数ではありません", abilities first, then birth and death
// year) or a refused field, neither the image nor the file on disk changes.
// The patched image replaces `file.image` only once the file is written, so
// after any failure the image still matches what was last read or written.
// Running out of memory is such a failure (messages::OutOfMemory()).
[[nodiscard]] Status SaveOfficerFile(const std::filesystem::path& path, BushouFile& file, const OfficerForm& form,
                                     const Availability& availability);

// The biography as the editor gives it back: every CR LF, lone CR and lone LF
// becomes CR LF.
[[nodiscard]] ByteString NormalizeLineBreaks(ByteView text);

}  // namespace k4r
