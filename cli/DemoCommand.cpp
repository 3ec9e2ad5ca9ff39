// k4r demo: a complete invented demo set, generated on demand.

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <system_error>

#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "core/BushouRecord.h"
#include "core/FieldTable.h"
#include "core/FileReplace.h"
#include "core/Lifespan.h"
#include "core/Messages.h"
#include "demo/DemoData.h"
#include "demo/DemoFaces.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Write an invented demo set: name lists, face graphics and sample officers";

constexpr const char* kDetails = R"(Writes into DIR (created when missing):
  BUSHOU.DAT    1113 invented officer names (line 1 "（なし）" is no officer)
  KAO.DAT       1000 lines: face i is the portrait of officer i + 1
  KAO_M.VX9     face graphics file with 1000 drawn 96 x 120 portraits
  SAMPLE1.K4R .. SAMPLE3.K4R   three officers whose references and faces
                point into the lists above
Everything is CP932 with CR LF line ends, made up by this program.
When any of these files is already in DIR (a game folder holds the first
three), nothing is written and the command fails; --force replaces them.
Try: k4r dump DIR/SAMPLE1.K4R --officer-list DIR/BUSHOU.DAT --face-list DIR/KAO.DAT
)";

struct DemoOptions {
  std::string directory;
  bool force = false;
};

// Demo texts are ours and all encodable; a failure here is a fault of ours.
ByteString Encode(const std::string& text) {
  std::optional<ByteString> bytes = Cp932FromUtf8(text);
  if (!bytes) {
    throw std::logic_error("demo text not in code page 932: " + text);
  }
  return std::move(*bytes);
}

ByteString NameListFile(const std::vector<std::string>& names) {
  ByteString content;
  for (const std::string& name : names) {
    content += Encode(name);
    content += "\r\n";
  }
  return content;
}

// The bytes an officer file holds besides the editor's fields: made up,
// varied, and the same on every run.
ByteString GameBytes(std::uint32_t seed, std::size_t size) {
  ByteString bytes(size, '\0');
  std::uint32_t state = seed * 2654435761u + 12345u;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

Result<ByteString> SampleImage(const demo::SampleOfficer& officer) {
  BushouRecord record;
  record.sei1 = Encode(officer.sei1);
  record.mei1 = Encode(officer.mei1);
  record.sei2 = Encode(officer.sei2);
  record.mei2 = Encode(officer.mei2);
  record.retuden = Encode(officer.retuden);
  record.seiji = officer.seiji;
  record.tousotu = officer.tousotu;
  record.tiryaku = officer.tiryaku;
  record.kyouyou = officer.kyouyou;
  record.giri = officer.giri;
  record.tokugi = officer.tokugi;
  record.tanjou = officer.tanjou;
  record.botu = officer.botu;
  record.jumyou = static_cast<std::int32_t>(Lifespan(officer.tanjou, officer.botu));
  record.shutuji = officer.shutuji;
  record.sinjin = officer.sinjin;
  record.Kyoten = officer.Kyoten;
  record.Aishou = officer.Aishou;
  record.Oya = officer.Oya;
  record.Tomo = officer.Tomo;
  record.Teki = officer.Teki;
  record.Kao = officer.Kao;

  ByteString image = GameBytes(officer.gameBytesSeed, officer.fileSize);
  if (const Status encoded = EncodeRecord(record, image, EncodeSwitches{.officerRefs = true, .face = true}); !encoded) {
    return encoded.failure();
  }
  // The editor never writes the sex byte; the game does.
  image[Field(FieldId::seibetu).offset] = static_cast<char>(officer.seibetu);
  return image;
}

// The first file of the set that is already in `directory`; empty when none is.
std::filesystem::path FirstExisting(const std::filesystem::path& directory, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    std::error_code error;
    const std::filesystem::path path = directory / name;
    // symlink_status: a link, even a dangling one, is the player's too. A
    // folder that cannot be looked into fails at the write instead.
    const std::filesystem::file_type type = std::filesystem::symlink_status(path, error).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none) {
      return path;
    }
  }
  return {};
}

int RunDemo(const DemoOptions& options, std::ostream& out, std::ostream& err) {
  const std::filesystem::path directory = PathFromArgument(options.directory);
  const std::vector<std::string> officers = demo::OfficerNames();
  const std::vector<demo::SampleOfficer> samples = demo::SampleOfficers(officers);
  std::vector<std::string> names{kOfficerListFile, kFaceListFile, "KAO_M.VX9"};
  for (const demo::SampleOfficer& officer : samples) {
    names.push_back(officer.fileName);
  }
  // A game folder holds files of the same names: nothing of it is replaced
  // unless asked for, and a refusal writes nothing at all.
  if (!options.force) {
    if (const std::filesystem::path existing = FirstExisting(directory, names); !existing.empty()) {
      err << "k4r demo: " << messages::PathText(existing)
          << " already exists; nothing was written (--force replaces the demo files)\n";
      return kExitFailure;
    }
  }

  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error || !std::filesystem::is_directory(directory)) {
    ReportFailure(err, messages::CannotCreate(directory));
    return kExitFailure;
  }

  std::vector<std::pair<std::string, ByteString>> files;
  files.emplace_back(kOfficerListFile, NameListFile(officers));
  files.emplace_back(kFaceListFile, NameListFile(demo::FaceNames(officers)));
  files.emplace_back("KAO_M.VX9", demo::MakeDemoFaceArchive());
  for (const demo::SampleOfficer& officer : samples) {
    Result<ByteString> image = SampleImage(officer);
    if (!image) {
      ReportFailure(err, image.failure());
      return kExitFailure;
    }
    files.emplace_back(officer.fileName, std::move(image.value()));
  }

  // The set is written as one: all of it or, after any failure, none.
  FileReplaceGroup group;
  for (const auto& [name, bytes] : files) {
    if (const Status staged = group.Stage(directory / name, bytes); !staged) {
      ReportFailure(err, staged.failure());
      return kExitFailure;
    }
  }
  if (const Status committed = group.Commit(); !committed) {
    ReportFailure(err, committed.failure());
    return kExitFailure;
  }
  for (const auto& [name, bytes] : files) {
    out << messages::PathText(directory / name) << '\n';
  }
  return kExitOk;
}

}  // namespace

CommandEntry AddDemoCommand(CLI::App& app) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* command = app.add_subcommand("demo", kDescription);
  command->footer(kDetails);
  command->add_option("DIR", options->directory, "Folder to write the demo set into")->required()->type_name("PATH");
  command->add_flag("--force", options->force, "Replace files of the demo set's names that are already in DIR");
  return {command,
          [options](std::istream&, std::ostream& out, std::ostream& err) { return RunDemo(*options, out, err); }};
}

}  // namespace k4r::cli
