// k4r diff: the decoded fields in which two officer files differ.

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "cli/FieldHelp.h"
#include "cli/RecordCells.h"
#include "core/BushouFile.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Show the fields in which two officer files differ";

constexpr const char* kComparison = R"(Compares the decoded fields of A and B, the keys of 'k4r dump --csv' (the
skills as tokugi1..tokugi3; jumyou follows tanjou and botu), and prints one
line for each field that differs:
  FIELD: A-VALUE → B-VALUE
Texts are in JSON quotes (a line break shows as \r\n); a list position has
its entry's name beside it (officers with --officer-list, faces with
--face-list); a text whose bytes do not show exactly has them in hexadecimal
beside it. Bytes that no field covers are not compared:
  bytes )";

constexpr const char* kNotCompared = R"(;
nor are a text's bytes after its first zero byte, nor the files' lengths.

With --json: one object holding each key that differs, in the dump's order,
as {"a": A-VALUE, "b": B-VALUE}; a name key comes with its position, a "_hex"
key when the bytes differ, e.g.
)";

constexpr const char* kAfterExample = R"(
and {} when nothing differs.

Exit status, as for diff(1): 0 no field differs, 1 some do, 2 a usage error
or a file that cannot be read (the message on stderr).

Examples:
  k4r diff ~/k4r-demo/SAMPLE1.K4R ~/k4r-demo/SAMPLE2.K4R
  k4r diff --officer-list ~/k4r-demo/BUSHOU.DAT --json old/SAMPLE1.K4R ~/k4r-demo/SAMPLE1.K4R
)";

struct DiffOptions {
  std::string a, b;
  NameListOptions lists;
  bool json = false;
};

// What --json prints for two officers who differ in politics and base.
std::string JsonExample() {
  const auto pair = [](const Json& a, const Json& b) { return Json{{"a", a}, {"b", b}}; };
  const RecordField& base = Field(FieldId::Kyoten);
  Json example = Json::object();
  example[std::string(Field(FieldId::seiji).key)] = pair(90, 95);
  example[std::string(base.key)] = pair(44, 99);
  example[std::string(NameKey(base))] = pair("江戸城", "室町御所");
  return "  " + example.dump(-1, ' ', false);
}

// A cell as the line shows it: texts quoted, numbers as they are, and
// nothing for a name outside its list.
std::string Shown(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The field's side of a line: its value and, beside it, its companions
// (a name unquoted, bytes as "(hex …)").
std::string Side(const std::vector<FieldCell>& cells, std::size_t first, std::size_t end) {
  const std::string own = Shown(cells[first].value);
  std::string text = own;
  for (std::size_t i = first + 1; i < end; ++i) {
    const Json& value = cells[i].value;
    // A compatibility value's name is its own number: no need to say it twice.
    if (value.is_null() || (value.is_string() && value.get_ref<const std::string&>() == own)) {
      continue;
    }
    if (cells[i].key.ends_with("_hex")) {
      text += " (hex " + value.get<std::string>() + ")";
    } else if (value.is_string()) {
      text += " " + value.get<std::string>();
    } else {
      text += " " + Shown(value);
    }
  }
  return text;
}

void PrintLines(const std::vector<FieldCell>& a, const std::vector<FieldCell>& b, std::ostream& out) {
  // Both sides come from the same lists, so their cells match key for key.
  std::size_t field = 0;
  while (field < a.size()) {
    std::size_t end = field + 1;
    while (end < a.size() && a[end].companion) {
      ++end;
    }
    bool differs = false;
    for (std::size_t i = field; i < end; ++i) {
      differs = differs || a[i].value != b[i].value;
    }
    if (differs) {
      out << a[field].key << ": " << Side(a, field, end) << " → " << Side(b, field, end) << '\n';
    }
    field = end;
  }
}

Json DifferenceObject(const std::vector<FieldCell>& a, const std::vector<FieldCell>& b) {
  Json object = Json::object();
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].value != b[i].value) {
      object[std::string(a[i].key)] = Json{{"a", a[i].value}, {"b", b[i].value}};
    }
  }
  return object;
}

int RunDiff(const DiffOptions& options, std::ostream& out, std::ostream& err) {
  const LoadedNameLists loaded = LoadNameLists(options.lists, err);
  const ListViews lists(loaded);
  std::vector<std::vector<FieldCell>> sides;
  for (const std::string* file : {&options.a, &options.b}) {
    const Result<ByteString> image = BushouFile::LoadFromFile(PathFromArgument(*file));
    if (!image) {
      ReportFailure(err, image.failure());
      return kExitUsage;
    }
    sides.push_back(RecordCells(DecodeRecord(image.value()), lists, FieldLayout::Table));
  }
  bool differ = false;
  if (options.json) {
    const Json differences = DifferenceObject(sides[0], sides[1]);
    out << differences.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    differ = !differences.empty();
  } else {
    std::ostringstream lines;
    PrintLines(sides[0], sides[1], lines);
    out << lines.str();
    differ = !lines.str().empty();
  }
  // Output that never arrived is trouble (2), not "the files differ".
  if (!out.flush()) {
    return kExitUsage;
  }
  return differ ? kExitFailure : kExitOk;
}

}  // namespace

CommandEntry AddDiffCommand(CLI::App& app) {
  auto options = std::make_shared<DiffOptions>();
  CLI::App* command = app.add_subcommand("diff", kDescription);
  command->footer(std::string(kComparison) + UncoveredBytesText() + kNotCompared + JsonExample() + kAfterExample);
  command->add_option("A", options->a, "The first officer file (.K4R)")->required()->type_name("A.K4R");
  command->add_option("B", options->b, "The second officer file (.K4R)")->required()->type_name("B.K4R");
  command
      ->add_option("--officer-list", options->lists.officerList,
                   "Officer name list (BUSHOU.DAT): names beside Oya, Tomo, Teki")
      ->type_name("PATH");
  command->add_option("--face-list", options->lists.faceList, "Face name list (KAO.DAT): names beside Kao")
      ->type_name("PATH");
  command->add_flag("--json", options->json, "One JSON object of the differences instead of lines");
  return {command,
          [options](std::istream&, std::ostream& out, std::ostream& err) { return RunDiff(*options, out, err); }};
}

}  // namespace k4r::cli
