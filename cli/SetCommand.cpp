// k4r set: open an officer file as the editor does, change fields, save it.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "core/bushou_file.h"
#include "core/integer_rule.h"
#include "core/messages.h"
#include "core/officer_file.h"
#include "core/record_layout.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Change fields of an officer file and save it as the editor does";

constexpr const char* kDetails = R"(The file is opened and saved exactly as the editor opens and saves it (no
"固定" box checked). With no NAME=VALUE the command is "open, then save without
edits", which writes the editor's normal forms of the fields back.
Assignments apply from left to right; nothing is written unless all succeed.

Names (the same as in 'k4r dump'):
  sei1 mei1           family and given name, at most 8 bytes in CP932
  sei2 mei2           their readings, at most 16 bytes in CP932
  retuden             biography, at most 146 bytes in CP932 after every line
                      break (LF, CR or CR LF) became CR LF
  seiji tousotu tiryaku kyouyou giri   abilities; the low 8 bits are stored
  tokugi1 tokugi2 tokugi3   skill positions (0..19; 19 is "（なし）")
  tanjou              birth year; moves botu so that the lifespan stays
  jumyou              lifespan; moves botu (botu = tanjou + jumyou - 1)
  botu                death year; moves jumyou, the birth year stays
  shutuji sinjin Kyoten Aishou   origin (0..11), faith (0..2), base (0..99),
                      compatibility (0..99) positions
  Oya Tomo Teki       father, friend, enemy: positions in the officer list
                      (0 none); need --officer-list
  Kao                 face number; needs --face-list and --face-file
  seibetu             read only: the editor never writes it
Numbers are decimal or hexadecimal after "$", "0x" or "0X", 32-bit, with an
optional sign. A list position outside its list, or -1, means no selection, as
in the editor. Texts are UTF-8 and must be expressible in code page 932.

As in the editor, the officer references are read and written only when
--officer-list names a readable list (its lines are the list), and the face
number is written only when --face-list names a readable list and --face-file
an existing file. A text that does not fit or cannot be encoded, a number that
is not an integer, or a field that would not be written is refused: the file
stays exactly as it was and the exit status is 1.
)";

enum class FieldKind { Text, Ability, Skill, BirthYear, Lifespan, DeathYear, Position, OfficerRef, Face, ReadOnly };

struct SettableField {
  std::string_view name;
  FieldKind kind;
  ByteString OfficerForm::*text = nullptr;        // Text
  std::size_t width = 0;                          // Text
  std::string OfficerForm::*number = nullptr;     // Ability
  ListPosition OfficerForm::*position = nullptr;  // Position, OfficerRef, Face
  std::int32_t listLength = 0;                    // Position
  int skill = 0;                                  // Skill
};

std::int32_t Length(const Vocabulary& list) {
  return static_cast<std::int32_t>(list.entries.size());
}

const std::vector<SettableField>& SettableFields() {
  using F = OfficerForm;
  static const std::vector<SettableField> fields = {
      {.name = "sei1", .kind = FieldKind::Text, .text = &F::sei1, .width = layout::kSei1Width},
      {.name = "mei1", .kind = FieldKind::Text, .text = &F::mei1, .width = layout::kMei1Width},
      {.name = "sei2", .kind = FieldKind::Text, .text = &F::sei2, .width = layout::kSei2Width},
      {.name = "mei2", .kind = FieldKind::Text, .text = &F::mei2, .width = layout::kMei2Width},
      {.name = "retuden", .kind = FieldKind::Text, .text = &F::retuden, .width = layout::kRetudenWidth},
      {.name = "seiji", .kind = FieldKind::Ability, .number = &F::seiji},
      {.name = "tousotu", .kind = FieldKind::Ability, .number = &F::tousotu},
      {.name = "tiryaku", .kind = FieldKind::Ability, .number = &F::tiryaku},
      {.name = "kyouyou", .kind = FieldKind::Ability, .number = &F::kyouyou},
      {.name = "giri", .kind = FieldKind::Ability, .number = &F::giri},
      {.name = "tokugi1", .kind = FieldKind::Skill, .skill = 0},
      {.name = "tokugi2", .kind = FieldKind::Skill, .skill = 1},
      {.name = "tokugi3", .kind = FieldKind::Skill, .skill = 2},
      {.name = "seibetu", .kind = FieldKind::ReadOnly},
      {.name = "tanjou", .kind = FieldKind::BirthYear},
      {.name = "jumyou", .kind = FieldKind::Lifespan},
      {.name = "botu", .kind = FieldKind::DeathYear},
      {.name = "shutuji",
       .kind = FieldKind::Position,
       .position = &F::shutuji,
       .listLength = Length(vocabulary::Origins())},
      {.name = "sinjin",
       .kind = FieldKind::Position,
       .position = &F::sinjin,
       .listLength = Length(vocabulary::Faiths())},
      {.name = "Kyoten",
       .kind = FieldKind::Position,
       .position = &F::Kyoten,
       .listLength = Length(vocabulary::Bases())},
      {.name = "Aishou",
       .kind = FieldKind::Position,
       .position = &F::Aishou,
       .listLength = Length(vocabulary::Compatibility())},
      {.name = "Oya", .kind = FieldKind::OfficerRef, .position = &F::Oya},
      {.name = "Tomo", .kind = FieldKind::OfficerRef, .position = &F::Tomo},
      {.name = "Teki", .kind = FieldKind::OfficerRef, .position = &F::Teki},
      {.name = "Kao", .kind = FieldKind::Face, .position = &F::Kao},
  };
  return fields;
}

struct Assignment {
  const SettableField* field = nullptr;
  std::string value;
};

// Checks every NAME=VALUE before any file is touched; a usage error names the
// offending argument.
std::optional<std::string> ParseAssignments(const std::vector<std::string>& arguments,
                                            std::vector<Assignment>& assignments) {
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos) {
      return "'" + argument + "' is not NAME=VALUE";
    }
    const std::string_view name = std::string_view(argument).substr(0, equals);
    const auto& fields = SettableFields();
    const auto found =
        std::find_if(fields.begin(), fields.end(), [&](const SettableField& f) { return f.name == name; });
    if (found == fields.end()) {
      return "unknown field '" + std::string(name) + "' (see k4r set --help for the names)";
    }
    if (found->kind == FieldKind::ReadOnly) {
      return "seibetu is read only: the sex byte is never written";
    }
    assignments.push_back({&*found, argument.substr(equals + 1)});
  }
  return std::nullopt;
}

// What an assignment needs besides the form.
struct SetContext {
  const LoadedNameLists& lists;
};

Result<std::int32_t> Integer(std::string_view text) {
  const std::optional<std::int32_t> value = ParseInteger(text);
  if (!value) {
    return Failure{messages::NotAnInteger(text)};
  }
  return *value;
}

Result<std::string> YearSum(std::string_view field, std::int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) {
    return Failure{std::string(field) + ": the result " + std::to_string(value) + " is not a 32-bit integer"};
  }
  return std::to_string(value);
}

Status SetText(const SettableField& field, std::string_view value, OfficerForm& form) {
  std::optional<ByteString> bytes = Cp932FromUtf8(value);
  if (!bytes) {
    return Failure{std::string(field.name) + ": '" + std::string(value) + "' cannot be written in code page 932"};
  }
  if (bytes->find('\0') != ByteString::npos) {
    return Failure{std::string(field.name) + ": a text cannot hold the NUL character"};
  }
  // The editor gives the biography back with CR LF line breaks; measure that.
  ByteString stored = field.text == &OfficerForm::retuden ? NormalizeLineBreaks(*bytes) : std::move(*bytes);
  if (stored.size() > field.width) {
    return Failure{std::string(field.name) + ": '" + std::string(value) + "' takes " + std::to_string(stored.size()) +
                   " bytes in code page 932; the field holds " + std::to_string(field.width)};
  }
  form.*field.text = std::move(stored);
  return Success();
}

// A position outside its list shows as no selection in the editor.
ListPosition InList(std::int32_t position, std::int32_t length) {
  return position >= 0 && position < length ? position : kNoSelection;
}

// Birth year and lifespan are the window's inputs and the death year follows
// them; a death year given directly moves the lifespan instead.
Status SetYear(FieldKind kind, const std::string& text, std::int32_t value, OfficerForm& form) {
  if (kind == FieldKind::DeathYear) {
    const Result<std::int32_t> birth = Integer(form.tanjou);
    if (!birth) {
      return birth.failure();
    }
    Result<std::string> lifespan = YearSum("jumyou", std::int64_t{value} - birth.value() + 1);
    if (!lifespan) {
      return lifespan.failure();
    }
    form.jumyou = std::move(lifespan.value());
    form.botu = std::to_string(value);
    return Success();
  }
  const bool birthGiven = kind == FieldKind::BirthYear;
  const Result<std::int32_t> other = Integer(birthGiven ? form.jumyou : form.tanjou);
  if (!other) {
    return other.failure();
  }
  Result<std::string> death = YearSum("botu", std::int64_t{value} + other.value() - 1);
  if (!death) {
    return death.failure();
  }
  (birthGiven ? form.tanjou : form.jumyou) = text;
  form.botu = std::move(death.value());
  return Success();
}

Status Apply(const Assignment& assignment, OfficerForm& form, const SetContext& context) {
  const SettableField& field = *assignment.field;
  const std::string& value = assignment.value;
  if (field.kind == FieldKind::Text) {
    return SetText(field, value, form);
  }
  const Result<std::int32_t> number = Integer(value);
  if (!number) {
    return number.failure();
  }
  switch (field.kind) {
    case FieldKind::Ability:
      // Kept as typed: the save converts it by the same rule.
      form.*field.number = value;
      return Success();
    case FieldKind::Skill:
      form.tokugi[static_cast<std::size_t>(field.skill)] = InList(number.value(), Length(vocabulary::Skills()));
      return Success();
    case FieldKind::BirthYear:
    case FieldKind::Lifespan:
    case FieldKind::DeathYear: return SetYear(field.kind, value, number.value(), form);
    case FieldKind::Position: form.*field.position = InList(number.value(), field.listLength); return Success();
    case FieldKind::OfficerRef:
      // Without the list the save would leave the bytes alone: say so rather
      // than report a change that never reaches the file.
      if (!context.lists.availability.officerList) {
        return Failure{std::string(field.name) +
                       ": officer references are written only with a readable --officer-list"};
      }
      form.*field.position = InList(number.value(), context.lists.Sizes().officers);
      return Success();
    case FieldKind::Face:
      if (!context.lists.availability.face) {
        return Failure{std::string(field.name) +
                       ": the face number is written only with a readable --face-list and an existing --face-file"};
      }
      form.*field.position = InList(number.value(), context.lists.Sizes().faces);
      return Success();
    case FieldKind::Text:
    case FieldKind::ReadOnly: break;
  }
  return Failure{std::string(field.name) + ": cannot be set"};
}

struct SetOptions {
  std::string file;
  std::vector<std::string> assignments;
  NameListOptions lists;
};

int RunSet(const SetOptions& options, std::ostream& err) {
  std::vector<Assignment> assignments;
  if (const std::optional<std::string> problem = ParseAssignments(options.assignments, assignments)) {
    err << "k4r set: " << *problem << "\nRun with --help for more information.\n";
    return kExitUsage;
  }

  const LoadedNameLists lists = LoadNameLists(options.lists, err);
  const NameListSizes sizes = lists.Sizes();
  const std::filesystem::path path = PathFromArgument(options.file);

  OfficerForm form = StartForm(sizes);
  BushouFile file;
  if (const Status loaded = LoadOfficerFile(path, file, form, KeepFlags{}, lists.availability, sizes); !loaded) {
    ReportFailure(err, loaded.failure());
    return kExitFailure;
  }

  const SetContext context{lists};
  for (const Assignment& assignment : assignments) {
    if (const Status applied = Apply(assignment, form, context); !applied) {
      ReportFailure(err, applied.failure());
      return kExitFailure;
    }
  }

  if (const Status saved = SaveOfficerFile(path, file, form, lists.availability); !saved) {
    ReportFailure(err, saved.failure());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

CommandEntry AddSetCommand(CLI::App& app) {
  auto options = std::make_shared<SetOptions>();
  CLI::App* command = app.add_subcommand("set", kDescription);
  command->footer(kDetails);
  command->add_option("FILE", options->file, "Officer file (.K4R), overwritten in place")
      ->required()
      ->type_name("PATH");
  command->add_option("ASSIGNMENTS", options->assignments, "Fields to change, as NAME=VALUE (see below)")
      ->type_name("NAME=VALUE");
  AddNameListOptions(*command, options->lists);
  return {command, [options](std::ostream&, std::ostream& err) { return RunSet(*options, err); }};
}

}  // namespace k4r::cli
