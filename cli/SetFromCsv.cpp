// k4r set --from-csv: a table of dump keys, one row per officer file, read
// with libcsv.

#include <csv.h>

#include <QByteArrayView>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "bridge/Cp932.h"
#include "cli/SetBatch.h"

namespace k4r::cli {
namespace {

using Record = TableRow;

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

bool ValidUtf8(std::string_view text) {
  const QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return decoded.toUtf8() == QByteArrayView(text.data(), static_cast<qsizetype>(text.size()));
}

// How much of a text is Japanese: kana, kanji, their punctuation.
std::size_t JapaneseCharacters(const QString& text) {
  std::size_t count = 0;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    count += (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF61 && u <= 0xFF9F) ? 1 : 0;
  }
  return count;
}

// Without a byte-order mark: UTF-8 when the bytes are UTF-8, unless they are
// code page 932 too and read as more Japanese that way (half-width kana pairs
// such as ﾎｱ are also the UTF-8 of α).
TableEncoding Detected(std::string_view content) {
  if (!ValidUtf8(content)) {
    return TableEncoding::Cp932;
  }
  const QString asCp932 = bridge::FromCp932(content);
  if (asCp932.contains(QChar(0xFFFD))) {
    return TableEncoding::Utf8;
  }
  const QString asUtf8 = QString::fromUtf8(content.data(), static_cast<qsizetype>(content.size()));
  return JapaneseCharacters(asCp932) > JapaneseCharacters(asUtf8) ? TableEncoding::Cp932 : TableEncoding::Utf8;
}

const char* NameOf(TableEncoding encoding) {
  return encoding == TableEncoding::Cp932 ? "code page 932" : "UTF-8";
}

// The cells as UTF-8. Code page 932 never uses the bytes of a comma, a quote
// or a line break inside a character, so the table splits alike in both.
Status DecodeCells(std::vector<Record>& records, TableEncoding encoding, bool detected) {
  for (Record& record : records) {
    for (std::string& cell : record.cells) {
      if (encoding == TableEncoding::Utf8) {
        if (!ValidUtf8(cell)) {
          return Failure{"row " + std::to_string(record.number) +
                         ": not valid UTF-8 (--encoding cp932 reads a table "
                         "saved in code page 932)"};
        }
        continue;
      }
      const QString text = bridge::FromCp932(cell);
      if (text.contains(QChar(0xFFFD))) {
        return Failure{"row " + std::to_string(record.number) + ": not valid in " + NameOf(encoding) +
                       (detected ? ", which the table was read in because it is not UTF-8 without a byte-order "
                                   "mark"
                                 : "") +
                       " (--encoding utf-8|cp932 says which it is)"};
      }
      cell = text.toStdString();
    }
  }
  return Success();
}

}  // namespace

Result<std::vector<BatchItem>> ItemsFromCsv(std::string_view content, std::string_view source,
                                            const std::filesystem::path& folder, TableEncoding encoding) {
  const std::string name(source);
  const bool marked = content.starts_with("\xEF\xBB\xBF");
  if (marked) {
    content.remove_prefix(3);
  }
  const bool detected = encoding == TableEncoding::Detect;
  if (detected) {
    encoding = marked ? TableEncoding::Utf8 : Detected(content);
  }
  CsvReader reader;
  Result<std::vector<Record>> records = reader.Read(content);
  if (!records) {
    return Failure{name + ": " + records.failure().message};
  }
  if (Status decoded = DecodeCells(records.value(), encoding, detected); !decoded) {
    return Failure{name + ": " + decoded.failure().message};
  }
  std::vector<TableRow> rows;
  rows.reserve(records.value().size());
  for (Record& record : records.value()) {
    rows.push_back({record.number, std::move(record.cells)});
  }
  return ItemsFromTable(std::move(rows), source, folder);
}

}  // namespace k4r::cli
