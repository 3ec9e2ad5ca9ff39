// The XML of a workbook package, read with QXmlStreamReader. Elements are
// matched by name in the transitional or the strict SpreadsheetML namespace
// (or none); anything else, extensions included, is skipped.

#include "cli/XlsxXml.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

namespace k4r::cli::xlsx {
namespace {

constexpr QLatin1StringView kMainNamespace("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
constexpr QLatin1StringView kStrictMainNamespace("http://purl.oclc.org/ooxml/spreadsheetml/main");
constexpr QLatin1StringView kPackageNamespace("http://schemas.openxmlformats.org/package/2006/relationships");
constexpr QLatin1StringView kRelationshipsNamespace(
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships");
constexpr QLatin1StringView kStrictRelationshipsNamespace("http://purl.oclc.org/ooxml/officeDocument/relationships");

class XmlPart {
 public:
  explicit XmlPart(ByteView xml)
      : bytes_(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size()))), reader_(bytes_) {}
  XmlPart(const XmlPart&) = delete;
  XmlPart& operator=(const XmlPart&) = delete;

  QXmlStreamReader& reader() { return reader_; }

  [[nodiscard]] bool Is(QLatin1StringView name) const {
    const QStringView space = reader_.namespaceUri();
    return reader_.name() == name &&
           (space.isEmpty() || space == kMainNamespace || space == kStrictMainNamespace || space == kPackageNamespace);
  }

  // Steps into the document's root element, which must be `name`.
  [[nodiscard]] bool EnterRoot(QLatin1StringView name) { return reader_.readNextStartElement() && Is(name); }

  // Why the part could not be read: the parser's words, or that the root
  // element is not the one expected.
  [[nodiscard]] Failure Broken(QLatin1StringView root) const {
    if (reader_.hasError()) {
      return Failure{"not well-formed XML: " + reader_.errorString().toStdString() + " (line " +
                     std::to_string(reader_.lineNumber()) + ")"};
    }
    return Failure{"not the XML expected: its root element is not <" + root.toString().toStdString() + ">"};
  }

 private:
  QByteArray bytes_;
  QXmlStreamReader reader_;
};

bool IsHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Text as it is shown: _xHHHH_ stands for the UTF-16 unit HHHH, which is how
// Excel writes characters XML cannot carry (a CR as _x000D_); _x005F_ is the
// underscore that keeps a literal "_x0041_" from being read as "A".
QString DecodeEscapes(QString text) {
  if (!text.contains(u"_x")) {
    return text;
  }
  QString decoded;
  decoded.reserve(text.size());
  for (qsizetype at = 0; at < text.size();) {
    if (at + 6 < text.size() && text[at] == u'_' && text[at + 1] == u'x' && text[at + 6] == u'_' &&
        IsHexDigit(text[at + 2]) && IsHexDigit(text[at + 3]) && IsHexDigit(text[at + 4]) && IsHexDigit(text[at + 5])) {
      decoded += QChar(static_cast<char16_t>(text.mid(at + 2, 4).toUInt(nullptr, 16)));
      at += 7;
    } else {
      decoded += text[at++];
    }
  }
  return decoded;
}

// The text of a <si> or <is>: its <t>, or the <t> of each run one after the
// other. Phonetic readings (<rPh>, furigana that Japanese Excel keeps beside
// the text) are not part of what the cell shows.
QString ReadRichText(XmlPart& part) {
  QXmlStreamReader& reader = part.reader();
  QString text;
  while (reader.readNextStartElement()) {
    if (part.Is(QLatin1StringView("t"))) {
      text += DecodeEscapes(reader.readElementText());
    } else if (part.Is(QLatin1StringView("r"))) {
      while (reader.readNextStartElement()) {
        if (part.Is(QLatin1StringView("t"))) {
          text += DecodeEscapes(reader.readElementText());
        } else {
          reader.skipCurrentElement();
        }
      }
    } else {
      reader.skipCurrentElement();
    }
  }
  return text;
}

struct CellPlace {
  std::size_t column = 0;  // A is 0
  std::size_t row = 0;
};

// "C5" → column 2, row 5; nothing unless it is letters then digits. Large
// values come back as they are, for the caller to refuse in words.
std::optional<CellPlace> ParseReference(QStringView reference) {
  CellPlace place;
  qsizetype at = 0;
  for (; at < reference.size() && at < 4 && reference[at].isLetter() && reference[at].unicode() < 0x80; ++at) {
    place.column = place.column * 26 + (reference[at].toUpper().unicode() - u'A' + 1u);
  }
  const qsizetype digits = reference.size() - at;
  if (at == 0 || at > 3 || digits < 1 || digits > 8) {
    return std::nullopt;
  }
  bool isNumber = false;
  place.row = reference.mid(at).toULong(&isNumber);
  if (!isNumber || !reference[at].isDigit()) {
    return std::nullopt;
  }
  place.column -= 1;
  return place;
}

std::string Text(QStringView text) {
  return text.toString().toStdString();
}

// One <c>, read to its end. Empty text counts as no value.
Result<std::optional<SheetCell>> ReadCell(XmlPart& part, const std::string& type, const std::string& reference,
                                          const std::vector<std::string>& sharedStrings) {
  QXmlStreamReader& reader = part.reader();
  std::optional<QString> value;
  std::optional<QString> inlineText;
  bool formula = false;
  while (reader.readNextStartElement()) {
    if (part.Is(QLatin1StringView("v"))) {
      value = reader.readElementText();
    } else if (part.Is(QLatin1StringView("is"))) {
      inlineText = ReadRichText(part);
    } else {
      formula = formula || part.Is(QLatin1StringView("f"));
      reader.skipCurrentElement();
    }
  }
  const QString written = value ? value->trimmed() : QString();
  const auto cell = [](SheetCell::Type cellType, std::string text) -> std::optional<SheetCell> {
    if (text.empty()) {
      return std::nullopt;
    }
    return SheetCell{cellType, std::move(text)};
  };

  if (type == "s") {
    if (!value) {
      return std::optional<SheetCell>();
    }
    bool isIndex = false;
    const qulonglong index = written.toULongLong(&isIndex);
    if (!isIndex || index >= sharedStrings.size()) {
      return Failure{"cell " + reference + " refers to shared string " + Text(written) +
                     ", which the workbook does not hold"};
    }
    return cell(SheetCell::Type::Text, sharedStrings[index]);
  }
  if (type == "inlineStr") {
    return cell(SheetCell::Type::Text, inlineText ? inlineText->toStdString() : std::string());
  }
  if (type == "str" || type == "d") {
    // A formula's text result, or a date written as ISO 8601 text.
    return cell(SheetCell::Type::Text, value ? DecodeEscapes(*value).toStdString() : std::string());
  }
  if (type == "b") {
    if (!value) {
      return std::optional<SheetCell>();
    }
    if (written == u"1" || written == u"0") {
      return cell(SheetCell::Type::Boolean, Text(written));
    }
    return Failure{"cell " + reference + " holds '" + Text(written) + "' as a truth value, which is neither 0 nor 1"};
  }
  if (type == "e") {
    return Failure{"cell " + reference + " holds the error " + Text(written) + " instead of a value"};
  }
  if (type.empty() || type == "n") {
    if (written.isEmpty() && formula) {
      return Failure{"cell " + reference +
                     " holds a formula whose result the file does not hold (open and save the workbook in a "
                     "spreadsheet program to compute it)"};
    }
    return cell(SheetCell::Type::Number, Text(written));
  }
  return Failure{"cell " + reference + " is of a type this reader does not know ('" + type + "')"};
}

// The <row>s of <sheetData>, read to its end.
Status ReadRows(XmlPart& part, const std::vector<std::string>& sharedStrings, std::vector<SheetRow>& rows) {
  QXmlStreamReader& reader = part.reader();
  std::size_t heldCells = 0;
  while (reader.readNextStartElement()) {
    if (!part.Is(QLatin1StringView("row"))) {
      reader.skipCurrentElement();
      continue;
    }
    SheetRow row;
    // A row without a number follows the one before it.
    const QStringView numberText = reader.attributes().value(QLatin1StringView("r"));
    if (numberText.isEmpty()) {
      row.number = rows.empty() ? 1 : rows.back().number + 1;
    } else {
      bool isNumber = false;
      row.number = numberText.toULongLong(&isNumber);
      if (!isNumber || row.number == 0) {
        return Failure{"a row is numbered '" + Text(numberText) + "'"};
      }
    }
    if (row.number > kMaxRows) {
      return Failure{"row " + std::to_string(row.number) + " lies beyond row 1048576, the last a sheet can have"};
    }
    if (!rows.empty() && row.number <= rows.back().number) {
      return Failure{"row " + std::to_string(row.number) + " comes after row " + std::to_string(rows.back().number)};
    }

    std::size_t nextColumn = 0;
    while (reader.readNextStartElement()) {
      if (!part.Is(QLatin1StringView("c"))) {
        reader.skipCurrentElement();
        continue;
      }
      const QXmlStreamAttributes attributes = reader.attributes();
      // A cell without a reference stands right of the one before it.
      std::size_t column = nextColumn;
      const QStringView named = attributes.value(QLatin1StringView("r"));
      if (!named.isEmpty()) {
        const std::optional<CellPlace> place = ParseReference(named);
        if (!place) {
          return Failure{"row " + std::to_string(row.number) + " holds a cell named '" + Text(named) + "'"};
        }
        if (place->row != row.number) {
          return Failure{"cell " + Text(named) + " stands in row " + std::to_string(row.number)};
        }
        column = place->column;
      }
      if (column >= kMaxColumns) {
        return Failure{(named.isEmpty() ? "a cell of row " + std::to_string(row.number) : "cell " + Text(named)) +
                       " lies beyond column XFD, the last a sheet can have"};
      }
      const std::string reference = ColumnName(column) + std::to_string(row.number);
      nextColumn = column + 1;
      Result<std::optional<SheetCell>> cell =
          ReadCell(part, Text(attributes.value(QLatin1StringView("t"))), reference, sharedStrings);
      if (!cell) {
        return cell.failure();
      }
      if (!cell.value()) {
        continue;
      }
      if (column < row.cells.size()) {
        if (row.cells[column]) {
          return Failure{"cell " + reference + " is given twice"};
        }
      } else {
        heldCells += column + 1 - row.cells.size();
        if (heldCells > kMaxHeldCells) {
          return Failure{"the sheet spans more than " + std::to_string(kMaxHeldCells) +
                         " cells, counting the empty ones left of each row's last"};
        }
        row.cells.resize(column + 1);
      }
      row.cells[column] = std::move(cell.value());
    }
    rows.push_back(std::move(row));
  }
  return Success();
}

}  // namespace

bool HasType(const Relationship& relationship, std::string_view kind) {
  constexpr std::string_view kTransitional = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  constexpr std::string_view kStrict = "http://purl.oclc.org/ooxml/officeDocument/relationships/";
  const std::string_view type = relationship.type;
  const auto is = [&](std::string_view base) {
    return type.size() == base.size() + kind.size() && type.starts_with(base) && type.ends_with(kind);
  };
  return is(kTransitional) || is(kStrict);
}

Result<std::vector<Relationship>> ParseRelationships(ByteView xml) {
  XmlPart part(xml);
  QXmlStreamReader& reader = part.reader();
  if (!part.EnterRoot(QLatin1StringView("Relationships"))) {
    return part.Broken(QLatin1StringView("Relationships"));
  }
  std::vector<Relationship> relationships;
  while (reader.readNextStartElement()) {
    if (part.Is(QLatin1StringView("Relationship"))) {
      const QXmlStreamAttributes attributes = reader.attributes();
      relationships.push_back({Text(attributes.value(QLatin1StringView("Id"))),
                               Text(attributes.value(QLatin1StringView("Type"))),
                               Text(attributes.value(QLatin1StringView("Target"))),
                               attributes.value(QLatin1StringView("TargetMode")) == u"External"});
    }
    reader.skipCurrentElement();
  }
  if (reader.hasError()) {
    return part.Broken(QLatin1StringView("Relationships"));
  }
  return relationships;
}

Result<std::optional<SheetEntry>> ParseFirstSheet(ByteView workbookXml) {
  XmlPart part(workbookXml);
  QXmlStreamReader& reader = part.reader();
  if (!part.EnterRoot(QLatin1StringView("workbook"))) {
    return part.Broken(QLatin1StringView("workbook"));
  }
  while (reader.readNextStartElement()) {
    if (!part.Is(QLatin1StringView("sheets"))) {
      reader.skipCurrentElement();
      continue;
    }
    while (reader.readNextStartElement()) {
      if (part.Is(QLatin1StringView("sheet"))) {
        const QXmlStreamAttributes attributes = reader.attributes();
        QStringView id = attributes.value(kRelationshipsNamespace, QLatin1StringView("id"));
        if (id.isNull()) {
          id = attributes.value(kStrictRelationshipsNamespace, QLatin1StringView("id"));
        }
        return std::optional<SheetEntry>(SheetEntry{Text(attributes.value(QLatin1StringView("name"))), Text(id)});
      }
      reader.skipCurrentElement();
    }
  }
  if (reader.hasError()) {
    return part.Broken(QLatin1StringView("workbook"));
  }
  return std::optional<SheetEntry>();
}

Result<std::vector<std::string>> ParseSharedStrings(ByteView xml) {
  XmlPart part(xml);
  QXmlStreamReader& reader = part.reader();
  if (!part.EnterRoot(QLatin1StringView("sst"))) {
    return part.Broken(QLatin1StringView("sst"));
  }
  std::vector<std::string> strings;
  while (reader.readNextStartElement()) {
    if (part.Is(QLatin1StringView("si"))) {
      strings.push_back(ReadRichText(part).toStdString());
    } else {
      reader.skipCurrentElement();
    }
  }
  if (reader.hasError()) {
    return part.Broken(QLatin1StringView("sst"));
  }
  return strings;
}

Result<std::vector<SheetRow>> ParseSheetRows(ByteView xml, const std::vector<std::string>& sharedStrings,
                                             std::string_view sheet, std::string_view partName) {
  XmlPart part(xml);
  QXmlStreamReader& reader = part.reader();
  const auto broken = [&] { return Damaged(partName, part.Broken(QLatin1StringView("worksheet")).message); };
  if (!part.EnterRoot(QLatin1StringView("worksheet"))) {
    return broken();
  }
  std::vector<SheetRow> rows;
  while (reader.readNextStartElement()) {
    if (!part.Is(QLatin1StringView("sheetData"))) {
      reader.skipCurrentElement();
      continue;
    }
    if (Status read = ReadRows(part, sharedStrings, rows); !read) {
      // A parser error cut the reading short; its words say more.
      return reader.hasError() ? broken() : Failure{"sheet '" + std::string(sheet) + "': " + read.failure().message};
    }
  }
  if (reader.hasError()) {
    return broken();
  }
  return rows;
}

Failure Damaged(std::string_view part, std::string_view why) {
  return Failure{"the workbook is damaged (" + std::string(part) + ": " + std::string(why) + ")"};
}

std::string ColumnName(std::size_t column) {
  std::string name;
  for (std::size_t rest = column + 1; rest > 0; rest = (rest - 1) / 26) {
    name.insert(name.begin(), static_cast<char>('A' + (rest - 1) % 26));
  }
  return name;
}

}  // namespace k4r::cli::xlsx
