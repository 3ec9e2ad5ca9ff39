// k4r set --from-csv: a table of dump keys, one row per officer file, read
// with libcsv.

#include <csv.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/SetBatch.h"

namespace k4r::cli {
namespace {

struct Record {
  std::size_t number = 0;  // as a spreadsheet counts rows: the header is 1
  std::vector<std::string> cells;
};

struct Collected {
  std::vector<Record> records;
  Record current;
};

extern "C" void OnCell(void* cell, std::size_t length, void* data) {
  auto& collected = *static_cast<Collected*>(data);
  collected.current.cells.emplace_back(static_cast<const char*>(cell), length);
}

extern "C" void OnRowEnd(int /*terminator*/, void* data) {
  auto& collected = *static_cast<Collected*>(data);
  collected.current.number = collected.records.size() + 1;
  collected.records.push_back(std::move(collected.current));
  collected.current = Record{};
}

// Blanks are part of a cell: a name may start with one.
extern "C" int NoBlanks(unsigned char /*c*/) {
  return 0;
}

// libcsv's parser, released on every path.
class CsvReader {
 public:
  CsvReader() : started_(csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) == 0) {
    if (started_) {
      csv_set_space_func(&parser_, NoBlanks);
    }
  }
  ~CsvReader() {
    if (started_) {
      csv_free(&parser_);
    }
  }
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  Result<std::vector<Record>> Read(std::string_view content) {
    if (!started_) {
      return Failure{"cannot start the CSV reader"};
    }
    Collected collected;
    const bool parsed =
        csv_parse(&parser_, content.data(), content.size(), OnCell, OnRowEnd, &collected) == content.size() &&
        csv_fini(&parser_, OnCell, OnRowEnd, &collected) == 0;
    if (!parsed) {
      return Failure{"not a CSV table (" + std::string(csv_strerror(csv_error(&parser_))) + " after row " +
                     std::to_string(collected.records.size()) + ")"};
    }
    return std::move(collected.records);
  }

 private:
  csv_parser parser_{};
  bool started_ = false;
};

Result<std::vector<Record>> ReadRecords(std::string_view content) {
  if (content.starts_with("\xEF\xBB\xBF")) {
    content.remove_prefix(3);
  }
  CsvReader reader;
  return reader.Read(content);
}

bool AllEmpty(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return cell.empty(); });
}

}  // namespace

Result<std::vector<BatchItem>> ItemsFromCsv(std::string_view content, std::string_view source,
                                            const std::filesystem::path& folder) {
  const std::string name(source);
  Result<std::vector<Record>> records = ReadRecords(content);
  if (!records) {
    return Failure{name + ": " + records.failure().message};
  }
  if (records.value().empty()) {
    return Failure{name + ": no header row"};
  }
  const std::vector<std::string>& header = records.value().front().cells;
  {
    // Every column must be a key, once; a scratch input checks that.
    RecordInput columns;
    for (const std::string& column : header) {
      if (Status known = columns.Add(column, "row 1, column " + column, std::string()); !known) {
        return Failure{name + ": " + known.failure().message};
      }
    }
    if (!columns.file()) {
      return Failure{name + ": row 1: no column \"file\" names the officer files"};
    }
  }

  std::vector<BatchItem> items;
  items.reserve(records.value().size() - 1);
  for (std::size_t r = 1; r < records.value().size(); ++r) {
    const Record& record = records.value()[r];
    // A spreadsheet may end a table with rows of nothing.
    if (AllEmpty(record.cells)) {
      continue;
    }
    const std::string where = name + ": row " + std::to_string(record.number);
    if (record.cells.size() > header.size()) {
      return Failure{where + ": " + std::to_string(record.cells.size()) + " cells, the header has " +
                     std::to_string(header.size())};
    }
    RecordInput input;
    for (std::size_t c = 0; c < record.cells.size(); ++c) {
      if (record.cells[c].empty()) {
        continue;
      }
      if (Status added = input.Add(header[c], "column " + header[c], record.cells[c]); !added) {
        return Failure{where + ": " + added.failure().message};
      }
    }
    if (!input.file()) {
      return Failure{where + ": the file cell is empty"};
    }
    std::filesystem::path path = ResolvedFile(*input.file(), folder);
    items.push_back({where, std::move(path), std::move(input)});
  }
  return items;
}

}  // namespace k4r::cli
