// Workbooks as real programs write them (Gnumeric, openpyxl, libxlsxwriter,
// LibreOffice), and zipped by hand where no program writes the case, read
// back cell by cell; broken and hostile files refused in words.

#include "cli/XlsxReader.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "support/TempDir.h"

namespace k4r {
namespace {
namespace fs = std::filesystem;
using cli::SheetCell;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Runs `program` to its end; the reason it failed, or nothing.
std::optional<std::string> Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return program.toStdString() + " failed: " + process.readAll().toStdString();
  }
  return std::nullopt;
}

// A Python that imports `module`, or an empty name. The system's first: the
// one on the path may lack Debian's modules.
QString PythonWith(const std::string& module) {
  static std::map<std::string, QString> found;
  if (!found.contains(module)) {
    for (const QString& python : {QString("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
      if (found[module].isEmpty() && !Run(python, {"-c", QString::fromStdString("import " + module)})) {
        found[module] = python;
      }
    }
  }
  return found[module];
}

// Makes the workbook `out` in `dir`: nothing when done, else why it cannot
// be made here (the test skips); a program that runs and fails fails it.
using Maker = std::function<std::optional<std::string>(const fs::path& dir, const fs::path& out)>;

// Writes `input` to {in} (`inName` in {dir}), runs `program` with
// `arguments` ({in}, {out}, {dir} replaced) and takes the workbook from
// {dir}/`made`, or from {out} when `made` is empty.
Maker Program(QString program, std::string missing, QStringList arguments, std::string input = {},
              std::string inName = "in.csv", std::string made = {}) {
  return [=](const fs::path& dir, const fs::path& out) mutable -> std::optional<std::string> {
    if (program.isEmpty()) {
      return missing;
    }
    WriteBytes(dir / inName, input);
    for (QString& argument : arguments) {
      argument.replace("{in}", QString::fromStdU16String((dir / inName).u16string()))
          .replace("{out}", QString::fromStdU16String(out.u16string()))
          .replace("{dir}", QString::fromStdU16String(dir.u16string()));
    }
    if (const std::optional<std::string> failure = Run(program, arguments)) {
      ADD_FAILURE() << *failure;
    } else if (!made.empty()) {
      fs::copy_file(dir / made, out);
    }
    return std::nullopt;
  };
}

// Gnumeric writes the format its output's name says.
Maker Ssconvert(std::string csv, std::string made = {}) {
  return Program(QStandardPaths::findExecutable("ssconvert"), "Gnumeric's ssconvert is not installed",
                 {"{in}", made.empty() ? "{out}" : "{dir}/" + QString::fromStdString(made)}, csv, "in.csv", made);
}

Maker Soffice(std::string csv) {
  // The CSV's comma, quote, UTF-8 (76), from line 1.
  return Program(QStandardPaths::findExecutable("soffice"), "LibreOffice's soffice is not installed",
                 {"--headless", "--infilter=CSV:44,34,76,1", "--convert-to", "xlsx", "--outdir", "{dir}", "{in}"}, csv,
                 "in.csv", "in.xlsx");
}

Maker Openpyxl(const std::string& script) {
  return Program(PythonWith("openpyxl"), "no Python with openpyxl",
                 {"-c",
                  QString::fromStdString("import sys, openpyxl\nwb = openpyxl.Workbook()\nws = wb.active\n" + script +
                                         "\nwb.save(sys.argv[1])"),
                  "{out}"});
}

// Texts stored as they are (so that a byte can be changed in place), a
// number as that many zero bytes deflated.
Maker HandZipped(const nlohmann::json& parts) {
  return Program(PythonWith("zipfile"), "no Python",
                 {"-c", R"(import json, sys, zipfile
with zipfile.ZipFile(sys.argv[2], 'w', zipfile.ZIP_DEFLATED) as z:
    for name, part in json.load(open(sys.argv[1], encoding='utf-8')).items():
        if isinstance(part, str): z.writestr(name, part, zipfile.ZIP_STORED); continue
        with z.open(name, 'w') as entry:
            for _ in range(part // 65536): entry.write(bytes(65536)))",
                  "{in}", "{out}"},
                 parts.dump(), "parts.json");
}

// The first sheet ("Data") in data.xml, listed before a sheet1.xml that must
// not be read, in the transitional or the strict vocabulary.
nlohmann::json HandParts(bool strict, const std::string& rows) {
  const std::string main = strict ? "http://purl.oclc.org/ooxml/spreadsheetml/main"
                                  : "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string r = strict ? "http://purl.oclc.org/ooxml/officeDocument/relationships"
                               : "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  const std::string rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  const auto to = [&](const char* id, const char* type, const char* target) {
    return "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + r + type + "\" Target=\"" + target + "\"/>";
  };
  const std::string sheet = "<worksheet xmlns=\"" + main + "\"><sheetData>";
  return {{"_rels/.rels", rels + to("rId1", "/officeDocument", "xl/workbook.xml") + "</Relationships>"},
          {"xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + r +
                                  "\"><sheets><sheet name=\"Data\" sheetId=\"2\" r:id=\"rId3\"/>"
                                  "<sheet name=\"Other\" sheetId=\"1\" r:id=\"rId2\"/></sheets></workbook>"},
          {"xl/_rels/workbook.xml.rels", rels + to("rId2", "/worksheet", "worksheets/sheet1.xml") +
                                             to("rId3", "/worksheet", "/xl/worksheets/data.xml") +
                                             to("rId4", "/sharedStrings", "../xl/strings.xml") + "</Relationships>"},
          {"xl/strings.xml", "<sst xmlns=\"" + main + "\"><si><t>漢字</t></si>" +
                                 "<si><r><rPr><b/></rPr><t>漢</t></r><r><t xml:space=\"preserve\">字 </t></r>"
                                 "<rPh sb=\"0\" eb=\"2\"><t>カンジ</t></rPh><phoneticPr fontId=\"1\"/></si>"
                                 "<si><t>CR_x000D_\nLF</t></si><si><t>_x005F_x000D_</t></si></sst>"},
          {"xl/worksheets/sheet1.xml",
           sheet + "<row><c t=\"inlineStr\"><is><t>wrong</t></is></c></row>" + "</sheetData></worksheet>"},
          {"xl/worksheets/data.xml", sheet + rows + "</sheetData></worksheet>"}};
}

// Rows 2, 3 and 5 with left-out and empty cells, references and none.
constexpr const char* kHandRows =
    R"(<row r="2"><c r="A2" t="s"><v>0</v></c><c r="C2" t="s"><v>1</v></c></row>)"
    R"(<row><c t="s"><v>2</v></c><c/><c t="inlineStr"><is><t xml:space="preserve"> 二行
目 </t></is></c></row>)"
    R"(<row r="5"><c r="B5"><v>88.0</v></c><c><v>1E5</v></c><c t="b"><v>0</v></c><c t="s"><v>3</v></c></row>)";

// Shared and rich strings, numbers, a boolean and formulas with their
// results, under a non-ASCII file name.
std::optional<std::string> Libxlsxwriter(const fs::path&, const fs::path& out) {
  const std::u8string name = out.u8string();
  lxw_workbook* workbook = workbook_new(reinterpret_cast<const char*>(name.c_str()));
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "表");
  worksheet_write_string(sheet, 0, 0, "名前", nullptr);
  lxw_rich_string_tuple first{nullptr, const_cast<char*>("漢")}, second{nullptr, const_cast<char*>("字")};
  lxw_rich_string_tuple* runs[] = {&first, &second, nullptr};
  worksheet_write_rich_string(sheet, 0, 2, runs, nullptr);
  worksheet_write_number(sheet, 1, 0, 88, nullptr);
  worksheet_write_number(sheet, 1, 1, 1e20, nullptr);
  worksheet_write_boolean(sheet, 1, 2, 1, nullptr);
  worksheet_write_formula_num(sheet, 2, 0, "=1+1", nullptr, 2);
  worksheet_write_formula_str(sheet, 2, 1, "=\"a\"&\"b\"", nullptr, "ab");
  EXPECT_EQ(workbook_close(workbook), LXW_NO_ERROR);
  return std::nullopt;
}

struct Case {
  const char* id;
  Maker make;
  // Each cell that holds a value, as "C5 n:88" (t text, n number, b
  // boolean); or "refused: " and a part of the message.
  std::vector<std::string> expected;
  std::function<void(std::string&)> change = nullptr;  // of the workbook's bytes, once made
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.id;
}

std::string IdOf(const ::testing::TestParamInfo<Case>& param) {
  return param.param.id;
}

// What reading the workbook of `c` gives, in the form of Case::expected.
std::vector<std::string> ReadMade(const Case& c) {
  TempDir dir;
  const fs::path workbook = dir / "表.xlsx";
  if (const std::optional<std::string> missing = c.make(dir.Path(), workbook)) {
    return {"skip: " + *missing};
  }
  if (c.change) {
    std::string bytes = ReadBytes(workbook);
    c.change(bytes);
    WriteBytes(workbook, bytes);
  }
  const auto rows = cli::ReadFirstSheet(workbook);
  if (!rows) {
    return {"refused: " + rows.failure().message};
  }
  std::vector<std::string> cells;
  for (const cli::SheetRow& row : rows.value()) {
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      if (const std::optional<SheetCell>& cell = row.cells[column]) {
        const char type = cell->type == SheetCell::Type::Text ? 't' : cell->type == SheetCell::Type::Number ? 'n' : 'b';
        cells.push_back(std::string(1, static_cast<char>('A' + column)) + std::to_string(row.number) + " " + type +
                        ":" + cell->value);
      }
    }
  }
  return cells;
}

class XlsxReader : public ::testing::TestWithParam<Case> {};

TEST_P(XlsxReader, ReadsEveryCellAsWrittenOrRefusesInWords) {
  const std::vector<std::string> read = ReadMade(GetParam());
  const std::vector<std::string>& expected = GetParam().expected;
  if (!read.empty() && read.front().starts_with("skip: ")) {
    GTEST_SKIP() << read.front().substr(6);
  }
  if (expected.size() == 1 && expected.front().starts_with("refused: ")) {
    ASSERT_EQ(read.size(), 1u) << "read, not refused";
    EXPECT_NE(read.front().find(expected.front().substr(9)), std::string::npos) << read.front();
  } else {
    EXPECT_EQ(read, expected);
  }
}

const std::string kCsv = "名前,数,メモ\n太郎,88,\"一行目\n二行目\"\n,1E5,\n,,\n  spaced ,TRUE,x\n";
const std::vector<std::string> kHandCells = {"A2 t:漢字", "C2 t:漢字 ", "A3 t:CR\r\nLF", "C3 t: 二行\n目 ",
                                             "B5 n:88.0", "C5 n:1E5",   "D5 b:0",        "E5 t:_x000D_"};

nlohmann::json With(nlohmann::json parts, const char* name, nlohmann::json part) {
  parts[name] = std::move(part);
  return parts;
}

// Gnumeric: inline strings, the CSV's numbers as it stores them, the empty
// row left out. LibreOffice: shared strings. openpyxl: part names from the
// root, text in character references. libxlsxwriter: see above. By hand:
// phonetic runs, escapes, 88.0 as written, rows and cells without numbers.
INSTANTIATE_TEST_SUITE_P(
    XlsxReaderFiles, XlsxReader,
    ::testing::Values(
        Case{"Gnumeric",
             Ssconvert(kCsv),
             {"A1 t:名前", "B1 t:数", "C1 t:メモ", "A2 t:太郎", "B2 n:88", "C2 t:一行目\n二行目", "B3 n:100000",
              "A5 t:  spaced ", "B5 b:1", "C5 t:x"}},
        Case{"LibreOffice",
             Soffice("名前,数\n太郎,88\n\"一行目\n二行目\",\n"),
             {"A1 t:名前", "B1 t:数", "A2 t:太郎", "B2 n:88", "A3 t:一行目\n二行目"}},
        Case{"openpyxl",
             Openpyxl("ws['A1'] = '名前'\nws['C1'] = 88.5\nws['D1'] = False\nws['B2'] = ' a\\nb'\nws['A4'] = 7\n"
                      "wb.create_sheet('後')['A1'] = 'wrong'"),
             {"A1 t:名前", "C1 n:88.5", "D1 b:0", "B2 t: a\nb", "A4 n:7"}},
        Case{"libxlsxwriter",
             Libxlsxwriter,
             {"A1 t:名前", "C1 t:漢字", "A2 n:88", "B2 n:1E+20", "C2 b:1", "A3 n:2", "B3 t:ab"}},
        Case{"byHand", HandZipped(HandParts(false, kHandRows)), kHandCells},
        Case{"byHandStrict", HandZipped(HandParts(true, kHandRows)), kHandCells},
        Case{"notAZip",
             Libxlsxwriter,
             {"refused: not an .xlsx workbook (not a zip archive, or a truncated one)"},
             [](std::string& bytes) { bytes = "file,seiji\n"; }},
        Case{"truncated",
             Libxlsxwriter,
             {"refused: not a zip archive, or a truncated one"},
             [](std::string& bytes) { bytes.resize(bytes.size() / 2); }},
        Case{"entryDamaged",
             HandZipped(HandParts(false, "<row><c><v>12345</v></c></row>")),
             {"refused: the workbook is damaged (xl/worksheets/data.xml: "},
             [](std::string& bytes) { bytes.replace(bytes.find("12345"), 5, "12346"); }},
        Case{"password",
             Libxlsxwriter,
             {"refused: saved with a password"},
             [](std::string& bytes) { bytes.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"); }},
        Case{"ods", Ssconvert(kCsv, "made.ods"), {"refused: an OpenDocument spreadsheet (.ods)"}},
        Case{"errorCell", Openpyxl("ws['B2'] = '#N/A'"), {"refused: sheet 'Sheet': cell B2 holds the error #N/A"}},
        Case{"formulaWithoutResult", Openpyxl("ws['A3'] = '=1+1'"), {"refused: cell A3 holds a formula whose result"}},
        Case{"noSheet",
             HandZipped(With(HandParts(false, ""), "xl/workbook.xml", "<workbook><sheets/></workbook>")),
             {"refused: the workbook has no sheet"}},
        Case{"rowBeyondTheLast",
             HandZipped(HandParts(false, R"(<row r="1048577"/>)")),
             {"refused: row 1048577 lies beyond row 1048576"}},
        Case{"columnBeyondTheLast",
             HandZipped(HandParts(false, R"(<row><c r="XFE1"><v>1</v></c></row>)")),
             {"refused: cell XFE1 lies beyond column XFD"}},
        Case{"zipBomb",
             HandZipped(With(HandParts(false, ""), "xl/worksheets/data.xml", std::uint64_t{257} << 20)),
             {"refused: xl/worksheets/data.xml is larger than 256 MB"}}),
    IdOf);

}  // namespace
}  // namespace k4r
