// k4r dump: the decoded fields of officer files as JSON or as a CSV table.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "cli/CsvWriter.h"
#include "cli/FieldHelp.h"
#include "cli/Progress.h"
#include "cli/RecordCells.h"
#include "cli/XlsxWriter.h"
#include "core/BushouFile.h"
#include "core/BushouRecord.h"
#include "core/FieldTable.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Print the fields of officer files as JSON or as a CSV table";

constexpr const char* kOutput = R"(Output: with one FILE, one JSON object (indented); with several, JSON Lines:
one object per line, each starting with "file" (the FILE as given). A FILE that
cannot be read is reported on stderr, the others are still printed, and the
exit status is 1.

Keys, in this order, each followed by its companions:
)";

constexpr const char* kValues = R"(Texts keep their line breaks as stored. Positions are exactly what the file
decodes to, also outside their list; a name for a position outside its list
is null.

Texts that do not convert to UTF-8 and back to the same bytes get an extra key
right after them, e.g. "sei1_hex", with the stored bytes in hexadecimal: bytes
that are not valid CP932 (each shown as U+FFFD in the string) or one of CP932's
duplicate codes (shown as its character). Without such a key, setting the text
as shown gives the same bytes back.

With --xlsx -o WORKBOOK: a workbook for spreadsheet programs, one row per
FILE under a frozen header row. Columns: "file" (the FILE as given), then the
keys above in their order, with the skills as tokugi1 tokugi1_name ..
tokugi3 tokugi3_name and every text followed by its _hex column (empty when
the text shows its bytes exactly, else the bytes as pairs apart by spaces); a
name outside its list is an empty cell. Text columns are typed and formatted
as text, so that no spreadsheet program turns 00000007 into 7 or 12:30 into a
time, even when a cell is typed anew; numbers are numbers; line breaks in a
text are LF. 'k4r set --from-xlsx' reads the first sheet back.

With --csv: the same table as CSV, for scripts: UTF-8 with a byte-order mark,
CR LF row ends, every text in double quotes (its quotes doubled), numbers
bare. 'k4r set --from-csv' reads it back. Both take a relative "file" from
the table's folder, so keep the table in the folder the dump ran in, or give
absolute FILEs.

--face-file is accepted for symmetry with 'set' and not used by dump.

Examples:
  k4r dump ~/k4r-demo/SAMPLE1.K4R
  k4r dump ~/k4r-demo/*.K4R > officers.jsonl
  cd ~/k4r-demo && k4r dump --xlsx -o officers.xlsx --officer-list BUSHOU.DAT --face-list KAO.DAT *.K4R
  cd ~/k4r-demo && k4r dump --csv *.K4R > officers.csv
)";

// `file` first when given: the key of a line of JSON Lines.
std::string Details() {
  return std::string(kOutput) + DumpFieldHelp() + kValues;
}

Json RecordToJson(const BushouRecord& record, const ListViews& lists, const std::string* file) {
  Json object = Json::object();
  if (file != nullptr) {
    object["file"] = *file;
  }
  for (FieldCell& cell : RecordCells(record, lists, FieldLayout::Dump)) {
    object[std::string(cell.key)] = std::move(cell.value);
  }
  return object;
}

// One row of the CSV dump: the file as given, then every cell.
std::string RecordToCsv(const BushouRecord& record, const ListViews& lists, const std::string& file) {
  std::string row;
  row.reserve(512);
  AppendCsvValue(row, Json(file));
  for (const FieldCell& cell : RecordCells(record, lists, FieldLayout::Sheet)) {
    row += ',';
    AppendCsvValue(row, cell.value);
  }
  row += "\r\n";
  return row;
}

std::string ToText(const Json& object, int indent) {
  // Arguments may be any bytes; never let a stray one abort the output.
  return object.dump(indent, ' ', false, Json::error_handler_t::replace);
}

struct DumpOptions {
  std::vector<std::string> files;
  NameListOptions lists;
  bool csv = false;
  bool xlsx = false;
  std::string output;
  bool quiet = false;
};

constexpr std::string_view kFileKey = "file";

// Which columns hold texts: the file, the text fields, names and bytes.
bool IsTextColumn(std::string_view key) {
  if (key == kFileKey) {
    return true;
  }
  return std::any_of(RecordFields().begin(), RecordFields().end(), [key](const RecordField& field) {
    return key == NameKey(field) || key == HexKey(field) || (key == field.key && field.kind == FieldKind::Text);
  });
}

// The record of each FILE that can be read, in order; the others are
// reported and make the exit status 1.
template <typename Each>
int ForEachRecord(const std::vector<std::string>& files, bool quiet, std::ostream& err, Each each) {
  int status = kExitOk;
  Progress progress(err, quiet, "k4r dump");
  progress.Phase("reading", files.size());
  for (const std::string& file : files) {
    progress.Advance(static_cast<std::size_t>(&file - files.data()));
    Result<ByteString> image = BushouFile::LoadFromFile(PathFromArgument(file));
    if (!image) {
      progress.Clear();
      ReportFailure(err, image.failure());
      status = kExitFailure;
      continue;
    }
    each(file, DecodeRecord(image.value()));
  }
  return status;
}

int RunDumpXlsx(const DumpOptions& options, const ListViews& lists, std::ostream& err) {
  std::vector<SheetColumn> columns{{kFileKey, true}};
  for (const std::string_view key : TableKeys(lists)) {
    columns.push_back({key, IsTextColumn(key)});
  }
  std::vector<std::vector<Json>> rows;
  rows.reserve(options.files.size());
  const int status =
      ForEachRecord(options.files, options.quiet, err, [&](const std::string& file, const BushouRecord& record) {
        std::vector<Json>& row = rows.emplace_back();
        row.reserve(columns.size());
        row.emplace_back(file);
        for (FieldCell& cell : RecordCells(record, lists, FieldLayout::Sheet)) {
          row.push_back(std::move(cell.value));
        }
      });
  if (const Status written = WriteWorkbook(PathFromArgument(options.output), columns, rows); !written) {
    ReportFailure(err, written.failure());
    return kExitFailure;
  }
  return status;
}

int RunDump(const DumpOptions& options, std::ostream& out, std::ostream& err) {
  if (options.xlsx == options.output.empty()) {
    err << "k4r dump: " << (options.xlsx ? "--xlsx needs -o WORKBOOK" : "-o is for --xlsx")
        << "\nRun with --help for more information.\n";
    return kExitUsage;
  }
  // The shown lists view the loaded ones, which must outlive them.
  const LoadedNameLists loaded = LoadNameLists(options.lists, err);
  const ListViews lists(loaded);
  if (options.xlsx) {
    return RunDumpXlsx(options, lists, err);
  }
  const bool single = options.files.size() == 1 && !options.csv;
  if (options.csv) {
    std::vector<std::string_view> header{kFileKey};
    const std::vector<std::string_view> keys = TableKeys(lists);
    header.insert(header.end(), keys.begin(), keys.end());
    out << kUtf8ByteOrderMark << CsvRow(header);
  }
  const int status =
      ForEachRecord(options.files, options.quiet, err, [&](const std::string& file, const BushouRecord& record) {
        if (options.csv) {
          out << RecordToCsv(record, lists, file);
        } else if (single) {
          out << ToText(RecordToJson(record, lists, nullptr), 2) << '\n';
        } else {
          out << ToText(RecordToJson(record, lists, &file), -1) << '\n';
        }
      });
  out.flush();
  return status;
}

}  // namespace

CommandEntry AddDumpCommand(CLI::App& app) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* command = app.add_subcommand("dump", kDescription);
  command->footer(Details());
  command->add_option("FILE", options->files, "Officer files (.K4R)")->required()->type_name("PATH ...");
  AddNameListOptions(*command, options->lists);
  CLI::Option* csv = command->add_flag("--csv", options->csv, "One CSV table for scripts instead of JSON (see below)");
  command->add_flag("--xlsx", options->xlsx, "One workbook for spreadsheet programs, written to -o (see below)")
      ->excludes(csv);
  command->add_option("-o,--output", options->output, "The workbook --xlsx writes")->type_name("WORKBOOK");
  AddQuietOption(*command, options->quiet);
  return {command,
          [options](std::istream&, std::ostream& out, std::ostream& err) { return RunDump(*options, out, err); }};
}

}  // namespace k4r::cli
