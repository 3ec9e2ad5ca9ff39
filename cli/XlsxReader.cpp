// A workbook is a zip archive of XML parts tied together by relationship
// parts: the package's relationships name the workbook, the workbook's name
// its sheets and its shared strings. The archive is read from memory, so
// the file's name never passes through libzip's own file handling.

#include "cli/XlsxReader.h"

#include <zip.h>

#include <memory>
#include <utility>

#include "cli/XlsxXml.h"
#include "core/FileRead.h"

namespace k4r::cli {
namespace {

// No part of a table of officers comes near this; a zip bomb does.
constexpr zip_uint64_t kMaxPartBytes = zip_uint64_t{256} << 20;

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
  void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
struct SourceFreer {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};

std::string ZipErrorText(zip_error_t* error) {
  return zip_error_strerror(error);
}

Failure NotAWorkbook(const std::string& why) {
  return Failure{"not an .xlsx workbook (" + why + ")"};
}

class ZipPackage {
 public:
  explicit ZipPackage(ByteString bytes) : bytes_(std::move(bytes)) {}
  // libzip keeps pointers into bytes_, which must stay where they are.
  ZipPackage(ZipPackage&&) = delete;
  ZipPackage& operator=(ZipPackage&&) = delete;

  [[nodiscard]] Status Open() {
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, SourceFreer> source(
        zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error));
    if (source) {
      // On success the archive owns the source.
      archive_.reset(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
      if (archive_) {
        static_cast<void>(source.release());
      }
    }
    if (archive_) {
      zip_error_fini(&error);
      return Success();
    }
    const std::string why = zip_error_code_zip(&error) == ZIP_ER_NOZIP
                                ? "not a zip archive, or a truncated one"
                                : "a damaged zip archive: " + ZipErrorText(&error);
    zip_error_fini(&error);
    return NotAWorkbook(why);
  }

  // The bytes of the entry `name` (matched regardless of case, as package
  // part names are), or nothing when the archive lacks it.
  [[nodiscard]] Result<std::optional<ByteString>> Read(const std::string& name) const {
    const zip_int64_t index = zip_name_locate(archive_.get(), name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
      return std::optional<ByteString>();
    }
    const auto at = static_cast<zip_uint64_t>(index);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_.get(), at, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0 &&
        stat.size > kMaxPartBytes) {
      return TooLarge(name);
    }
    const std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive_.get(), at, 0));
    if (!entry) {
      return xlsx::Damaged(name, ZipErrorText(zip_get_error(archive_.get())));
    }
    // Read in pieces whatever size the entry claims, so that a false one
    // cannot make it take more than the limit.
    ByteString content;
    char piece[65536];
    for (;;) {
      const zip_int64_t count = zip_fread(entry.get(), piece, sizeof piece);
      if (count < 0) {
        return xlsx::Damaged(name, ZipErrorText(zip_file_get_error(entry.get())));
      }
      if (count == 0) {
        return std::optional<ByteString>(std::move(content));
      }
      content.append(piece, static_cast<std::size_t>(count));
      if (content.size() > kMaxPartBytes) {
        return TooLarge(name);
      }
    }
  }

 private:
  static Failure TooLarge(const std::string& name) {
    return Failure{"the workbook's part " + name + " is larger than 256 MB unpacked, more than any table needs"};
  }

  ByteString bytes_;
  std::unique_ptr<zip_t, ArchiveCloser> archive_;
};

// The part a relationship of `source` points to: relative to the source's
// folder, or from the package's root when it starts with a slash.
std::string ResolvePart(std::string_view source, std::string_view target) {
  std::string joined;
  if (target.starts_with('/')) {
    joined = target.substr(1);
  } else {
    const std::size_t slash = source.rfind('/');
    joined = std::string(slash == std::string_view::npos ? std::string_view() : source.substr(0, slash + 1)) +
             std::string(target);
  }
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= joined.size()) {
    const std::size_t end = std::min(joined.find('/', start), joined.size());
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) {
        segments.pop_back();
      }
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string part;
  for (const std::string& segment : segments) {
    part += (part.empty() ? "" : "/") + segment;
  }
  return part;
}

// "xl/workbook.xml" → "xl/_rels/workbook.xml.rels"; "" (the package) → "_rels/.rels".
std::string RelationshipsPartOf(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  return std::string(part.substr(0, nameStart)) + "_rels/" + std::string(part.substr(nameStart)) + ".rels";
}

Result<ByteString> ReadRequired(const ZipPackage& package, const std::string& part) {
  Result<std::optional<ByteString>> content = package.Read(part);
  if (!content) {
    return content.failure();
  }
  if (!content.value()) {
    return xlsx::Damaged(part, "missing from the archive");
  }
  return std::move(*content.value());
}

// The relationships of `part`, or nothing when it has no relationship part.
Result<std::optional<std::vector<xlsx::Relationship>>> RelationshipsOf(const ZipPackage& package,
                                                                       std::string_view part) {
  const std::string name = RelationshipsPartOf(part);
  Result<std::optional<ByteString>> content = package.Read(name);
  if (!content) {
    return content.failure();
  }
  if (!content.value()) {
    return std::optional<std::vector<xlsx::Relationship>>();
  }
  Result<std::vector<xlsx::Relationship>> relationships = xlsx::ParseRelationships(*content.value());
  if (!relationships) {
    return xlsx::Damaged(name, relationships.failure().message);
  }
  return std::optional(std::move(relationships).value());
}

const xlsx::Relationship* FindOfType(const std::vector<xlsx::Relationship>& relationships, std::string_view kind) {
  for (const xlsx::Relationship& relationship : relationships) {
    if (!relationship.external && xlsx::HasType(relationship, kind)) {
      return &relationship;
    }
  }
  return nullptr;
}

// Why a zip archive without package relationships is no workbook: an
// OpenDocument spreadsheet says what it is in its first entry.
Failure NoPackage(const ZipPackage& package) {
  const Result<std::optional<ByteString>> mimetype = package.Read("mimetype");
  if (mimetype && mimetype.value() && mimetype.value()->find("opendocument.spreadsheet") != std::string::npos) {
    return NotAWorkbook("an OpenDocument spreadsheet (.ods); save it as .xlsx");
  }
  return NotAWorkbook("a zip archive without the parts of a workbook");
}

Result<std::vector<std::string>> SharedStringsOf(const ZipPackage& package,
                                                 const std::vector<xlsx::Relationship>& relationships,
                                                 const std::string& workbookPart) {
  const xlsx::Relationship* shared = FindOfType(relationships, "sharedStrings");
  if (shared == nullptr) {
    return std::vector<std::string>();
  }
  const std::string part = ResolvePart(workbookPart, shared->target);
  const Result<ByteString> content = ReadRequired(package, part);
  if (!content) {
    return content.failure();
  }
  Result<std::vector<std::string>> strings = xlsx::ParseSharedStrings(content.value());
  if (!strings) {
    return xlsx::Damaged(part, strings.failure().message);
  }
  return strings;
}

}  // namespace

Result<std::vector<SheetRow>> ReadFirstSheet(const std::filesystem::path& path) {
  Result<ByteString> bytes = ReadWholeFile(path);
  if (!bytes) {
    return bytes.failure();
  }
  // Excel wraps a workbook saved with a password, as it wrote every .xls,
  // in a compound file rather than a zip archive.
  if (bytes.value().starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
    return NotAWorkbook("a workbook saved with a password, or an old .xls one; save it as .xlsx without a password");
  }
  ZipPackage package(std::move(bytes).value());
  if (Status opened = package.Open(); !opened) {
    return opened.failure();
  }

  const Result<std::optional<std::vector<xlsx::Relationship>>> documents = RelationshipsOf(package, "");
  if (!documents) {
    return documents.failure();
  }
  if (!documents.value()) {
    return NoPackage(package);
  }
  const xlsx::Relationship* document = FindOfType(*documents.value(), "officeDocument");
  if (document == nullptr) {
    return NotAWorkbook("a package without a workbook in it");
  }
  const std::string workbookPart = ResolvePart("", document->target);
  const Result<ByteString> workbook = ReadRequired(package, workbookPart);
  if (!workbook) {
    return workbook.failure();
  }
  const Result<std::optional<xlsx::SheetEntry>> first = xlsx::ParseFirstSheet(workbook.value());
  if (!first) {
    return xlsx::Damaged(workbookPart, first.failure().message);
  }
  if (!first.value()) {
    return Failure{"the workbook has no sheet"};
  }
  const xlsx::SheetEntry& sheet = *first.value();

  Result<std::optional<std::vector<xlsx::Relationship>>> found = RelationshipsOf(package, workbookPart);
  if (!found) {
    return found.failure();
  }
  const std::vector<xlsx::Relationship> relationships =
      std::move(found.value()).value_or(std::vector<xlsx::Relationship>());
  const xlsx::Relationship* sheetTarget = nullptr;
  for (const xlsx::Relationship& relationship : relationships) {
    if (relationship.id == sheet.relationshipId && !relationship.external) {
      sheetTarget = &relationship;
    }
  }
  if (sheetTarget == nullptr) {
    return xlsx::Damaged(workbookPart, "sheet '" + sheet.name + "' leads to no part");
  }
  if (!xlsx::HasType(*sheetTarget, "worksheet")) {
    return Failure{"the first sheet, '" + sheet.name +
                   "', is no table of cells (a chart or dialog sheet); move the table's sheet to the front"};
  }

  const Result<std::vector<std::string>> sharedStrings = SharedStringsOf(package, relationships, workbookPart);
  if (!sharedStrings) {
    return sharedStrings.failure();
  }
  const std::string sheetPart = ResolvePart(workbookPart, sheetTarget->target);
  const Result<ByteString> sheetXml = ReadRequired(package, sheetPart);
  if (!sheetXml) {
    return sheetXml.failure();
  }
  return xlsx::ParseSheetRows(sheetXml.value(), sharedStrings.value(), sheet.name, sheetPart);
}

}  // namespace k4r::cli
