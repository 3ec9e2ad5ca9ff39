// k4r face: one portrait of a face graphics file as a PNG picture.

#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <memory>
#include <ostream>

#include "bridge/PortraitImage.h"
#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "core/FaceArchive.h"
#include "core/FileReplace.h"
#include "core/Messages.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Write one face portrait as a 96 x 120 PNG picture";

constexpr const char* kDetails = R"(FACEFILE is a face graphics file (KAO_M.VX9): a table of 1000 image offsets
and 96 x 120 pictures with 256 colours. NUMBER is the face number, 0..999, as
stored in an officer file's Kao field. Only the offset table and the one
picture are read. OUT is replaced as a whole (never left half written).
)";

struct FaceOptions {
  std::string faceFile;
  int number = 0;
  std::string output;
};

int RunFace(const FaceOptions& options, std::ostream& err) {
  FaceArchive archive;
  if (const Status loaded = archive.LoadOffsetTable(PathFromArgument(options.faceFile)); !loaded) {
    ReportFailure(err, loaded.failure());
    return kExitFailure;
  }
  const Result<FacePortrait> portrait = archive.ReadPortrait(options.number);
  if (!portrait) {
    ReportFailure(err, portrait.failure());
    return kExitFailure;
  }

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!bridge::PortraitToImage(portrait.value()).save(&buffer, "PNG")) {
    ReportFailure(err, messages::WriteError());
    return kExitFailure;
  }
  const std::filesystem::path output = PathFromArgument(options.output);
  if (const Status written =
          ReplaceFileAtomically(output, ByteView(png.constData(), static_cast<std::size_t>(png.size())));
      !written) {
    ReportFailure(err, written.failure());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

CommandEntry AddFaceCommand(CLI::App& app) {
  auto options = std::make_shared<FaceOptions>();
  CLI::App* command = app.add_subcommand("face", kDescription);
  command->footer(kDetails);
  command->add_option("FACEFILE", options->faceFile, "Face graphics file (KAO_M.VX9)")->required()->type_name("PATH");
  command->add_option("NUMBER", options->number, "Face number")
      ->required()
      ->type_name("0..999")
      ->check(CLI::Range(0, face_file::kFaceCount - 1).description(""));
  command->add_option("-o,--output", options->output, "The PNG file to write")->type_name("OUT.png")->required();
  return {command, [options](std::istream&, std::ostream&, std::ostream& err) { return RunFace(*options, err); }};
}

}  // namespace k4r::cli
