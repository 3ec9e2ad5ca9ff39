// k4r faces: a sheet of many portraits with their numbers and names, to pick
// a face number by looking.

#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <system_error>

#include "bridge/PortraitImage.h"
#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "cli/FaceSheet.h"
#include "cli/Progress.h"
#include "core/FileReplace.h"
#include "core/Messages.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Draw many face portraits in a grid with their numbers (and names) as a PNG";

constexpr const char* kDetails = R"(Draws the faces N .. N+M-1 of FACEFILE (KAO_M.VX9) in rows of C, each at its
size of 96 x 120 pixels with its face number under it and, with --face-list,
its name from the face list (KAO.DAT) below that, in the editor's Japanese
font. The portraits are the same pixels 'k4r face' writes. A face whose
picture does not lie in the file is a grey box with its number. SHEET.png is
replaced as a whole (never left half written). No display is needed.

With --split DIR each face is written instead as its own picture
DIR/NNNN.png (face 12: DIR/0012.png), the same pixels as 'k4r face', for
editing and bringing back with 'k4r set-face FACEFILE --from-dir DIR'. DIR is
created when missing; a face whose picture does not lie in the file is
reported and skipped (exit status 1 once the others are written). The
pictures take their places together once all are written: a full disk
part-way writes none.

--from defaults to 0, --count to every face from N to 999, --columns to 20.

Examples:
  k4r faces ~/k4r-demo/KAO_M.VX9 --face-list ~/k4r-demo/KAO.DAT -o faces.png
  k4r faces ~/k4r-demo/KAO_M.VX9 --from 100 --count 50 --columns 10 -o faces-100.png
  k4r faces ~/k4r-demo/KAO_M.VX9 --split faces --from 100 --count 50
)";

struct FacesOptions {
  std::string faceFile;
  std::string faceList;
  int from = 0;
  int count = 0;  // 0: up to the last face
  int columns = 20;
  std::string output;
  std::string split;
  bool quiet = false;
};

// Qt's own notes (no XDG_RUNTIME_DIR, ...) are not the user's business;
// failures that matter come back to the command as results.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fputs(qPrintable(message), stderr);
    std::fputc('\n', stderr);
  }
}

// Text on a picture needs a QGuiApplication, which k4r otherwise does without;
// the offscreen platform draws it without any display.
class OffscreenGuiApplication {
 public:
  OffscreenGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
      previousHandler_ = qInstallMessageHandler(QuietQtMessages);
      application_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
    }
  }
  ~OffscreenGuiApplication() {
    if (application_) {
      application_.reset();
      qInstallMessageHandler(previousHandler_);
    }
  }
  OffscreenGuiApplication(const OffscreenGuiApplication&) = delete;
  OffscreenGuiApplication& operator=(const OffscreenGuiApplication&) = delete;
  [[nodiscard]] static bool CanDrawText() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

 private:
  QtMessageHandler previousHandler_ = nullptr;
  std::array<char, 4> program_{"k4r"};
  std::array<char, 10> platformOption_{"-platform"};
  std::array<char, 10> platform_{"offscreen"};
  std::array<char*, 4> argv_{program_.data(), platformOption_.data(), platform_.data(), nullptr};
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  // The system's own platform needs no display server there, and a deployed
  // program may lack the offscreen plugin.
  int argc_ = 1;
#else
  int argc_ = 3;
#endif
  std::unique_ptr<QGuiApplication> application_;
};

Result<QByteArray> PngOf(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    return Failure{messages::WriteError()};
  }
  return png;
}

ByteView BytesOf(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

Status WritePng(const QImage& image, const std::filesystem::path& path) {
  const Result<QByteArray> png = PngOf(image);
  return png ? ReplaceFileAtomically(path, BytesOf(png.value())) : Status(png.failure());
}

// "0012.png": four digits, so that a file manager lists them in face order.
std::filesystem::path SplitName(int face) {
  std::string name = std::to_string(face);
  name.insert(0, 4 - std::min<std::size_t>(4, name.size()), '0');
  name += ".png";
  return name;
}

// Every picture is written before the first takes its place, and all are
// flushed together: a thousand faces cost about what copying them would.
int SplitFaces(const FaceArchive& archive, int from, int count, const std::filesystem::path& dir, bool quiet,
               std::ostream& err) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  int result = kExitOk;
  Progress progress(err, quiet, "k4r faces");
  FileReplaceGroup group;
  progress.Phase("writing", static_cast<std::size_t>(count));
  for (int face = from; face < from + count; ++face) {
    progress.Advance(static_cast<std::size_t>(face - from));
    const Result<FacePortrait> portrait = archive.ReadPortrait(face);
    if (!portrait) {
      progress.Clear();
      err << "k4r faces: face " << face << ": ";
      ReportFailure(err, portrait.failure());
      result = kExitFailure;
      continue;
    }
    const Result<QByteArray> png = PngOf(bridge::PortraitToImage(portrait.value()));
    const Status staged = png ? group.Stage(dir / SplitName(face), BytesOf(png.value())) : Status(png.failure());
    if (!staged) {
      // The folder cannot take them: the next would fail alike.
      progress.Clear();
      ReportFailure(err, staged.failure());
      err << "k4r faces: no picture was written.\n";
      return kExitFailure;
    }
  }
  progress.Phase("committing", group.StagedCount());
  const Status committed = group.Commit([&progress](std::size_t renamed) { progress.Advance(renamed); });
  progress.Clear();
  if (!committed) {
    ReportFailure(err, committed.failure());
    err << "k4r faces: " << group.Replaced().size() << " of " << group.StagedCount() << " pictures were written.\n";
    return kExitFailure;
  }
  return result;
}

int RunFaces(const FacesOptions& options, std::ostream& err) {
  if (options.output.empty() == options.split.empty()) {
    err << "k4r faces: give either -o SHEET.png or --split DIR\nRun with --help for more information.\n";
    return kExitUsage;
  }
  const int count = options.count > 0 ? options.count : face_file::kFaceCount - options.from;
  if (options.from + count > face_file::kFaceCount) {
    err << "k4r faces: --from " << options.from << " --count " << count << " runs past the last face, "
        << face_file::kFaceCount - 1 << "\n";
    return kExitUsage;
  }

  const std::filesystem::path faceFile = PathFromArgument(options.faceFile);
  FaceArchive archive;
  if (const Status loaded = archive.LoadOffsetTable(faceFile); !loaded) {
    ReportFailure(err, loaded.failure());
    return kExitFailure;
  }
  if (!options.split.empty()) {
    return SplitFaces(archive, options.from, count, PathFromArgument(options.split), options.quiet, err);
  }
  std::error_code sizeError;
  const std::uintmax_t fileSize = std::filesystem::file_size(faceFile, sizeError);
  if (sizeError) {
    ReportFailure(err, messages::CannotOpen(faceFile));
    return kExitFailure;
  }

  NameListOptions listOption;
  listOption.faceList = options.faceList;
  const LoadedNameLists lists = LoadNameLists(listOption, err);

  const OffscreenGuiApplication gui;
  if (!OffscreenGuiApplication::CanDrawText()) {
    err << "k4r faces: no GUI application to draw text with\n";
    return kExitFailure;
  }
  FaceSheetRequest request;
  request.from = options.from;
  request.count = count;
  request.columns = options.columns;
  request.names = lists.faces ? &*lists.faces : nullptr;
  const Result<QImage> sheet = DrawFaceSheet(archive, fileSize, request);
  if (!sheet) {
    ReportFailure(err, sheet.failure());
    return kExitFailure;
  }

  if (const Status written = WritePng(sheet.value(), PathFromArgument(options.output)); !written) {
    ReportFailure(err, written.failure());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

CommandEntry AddFacesCommand(CLI::App& app) {
  auto options = std::make_shared<FacesOptions>();
  CLI::App* command = app.add_subcommand("faces", kDescription);
  command->footer(kDetails);
  command->add_option("FACEFILE", options->faceFile, "Face graphics file (KAO_M.VX9)")->required()->type_name("PATH");
  command->add_option("--face-list", options->faceList, "Face name list (KAO.DAT): names under the numbers")
      ->type_name("PATH");
  command->add_option("--from", options->from, "The first face number drawn")
      ->type_name("N")
      ->check(CLI::Range(0, face_file::kFaceCount - 1).description(""));
  command->add_option("--count", options->count, "How many faces, in number order")
      ->type_name("M")
      ->check(CLI::Range(1, face_file::kFaceCount).description(""));
  command->add_option("--columns", options->columns, "Portraits to a row")
      ->type_name("C")
      ->check(CLI::Range(1, 100).description(""));
  command->add_option("-o,--output", options->output, "The PNG file to write")->type_name("SHEET.png");
  command->add_option("--split", options->split, "Write each face as DIR/NNNN.png instead of a sheet")
      ->type_name("DIR");
  AddQuietOption(*command, options->quiet);
  return {command, [options](std::istream&, std::ostream&, std::ostream& err) { return RunFaces(*options, err); }};
}

}  // namespace k4r::cli
