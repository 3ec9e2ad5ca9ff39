// k4r set-face: any picture becomes a face of the face graphics file.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <system_error>
#include <thread>

#include "bridge/FaceFit.h"
#include "cli/CliSupport.h"
#include "cli/CommandParts.h"
#include "cli/Commands.h"
#include "cli/Progress.h"
#include "core/FaceWriter.h"
#include "core/FileRead.h"
#include "core/Messages.h"

namespace k4r::cli {
namespace {

constexpr const char* kDescription = "Make a picture (PNG, JPEG, BMP, GIF, ...) a face of the face graphics file";

constexpr const char* kDetails = R"(IMAGE becomes face N (0..999) of FACEFILE (KAO_M.VX9): fitted to 96 x 120
(--fit cover: scaled to fill and cropped at the centre; contain: scaled to fit,
padded with the picture's edge colour; stretch), then reduced to 256 colours,
a new colour table for the face by default or, with --keep-palette, the
colours the face has now. Dithering is on by default (--no-dither turns it
off). A picture whose colours all stand in the face's present table keeps that
table, so a face written by 'k4r face' or 'k4r faces --split' and brought back
untouched changes no byte.

With --from-dir DIR every picture in DIR named by its face number (12.png,
0012.png, any format) is imported, all in one replace of the file: if one
cannot be read, nothing is written. Other files in DIR are ignored.

Only the face's colours and the drawn 96 bytes of each of its rows change; the
file is replaced as a whole (never left half written). Before its first
change a copy is kept as FACEFILE.bak, never overwritten later (--no-backup:
no copy).

Examples:
  k4r set-face ~/k4r-demo/KAO_M.VX9 12 me.jpg
  k4r faces ~/k4r-demo/KAO_M.VX9 --split faces --from 0 --count 10
  k4r set-face ~/k4r-demo/KAO_M.VX9 --from-dir faces
)";

struct SetFaceOptions {
  std::string faceFile;
  int number = -1;
  std::string image;
  std::string fromDir;
  std::string fit = "cover";
  bool keepPalette = false;
  bool dither = bridge::kDitherByDefault;
  bool noBackup = false;
  bool quiet = false;
};

struct Picture {
  int faceNumber = 0;
  std::filesystem::path path;
};

// A face number spelt in decimal digits only: "12", "0012".
std::optional<int> FaceNumberOf(const std::filesystem::path& file) {
  // UTF-8: any name can be looked at, also one outside the system's code page.
  const std::u8string stem = file.stem().u8string();
  if (stem.empty() || stem.size() > 6 ||
      !std::all_of(stem.begin(), stem.end(), [](char8_t c) { return c >= u8'0' && c <= u8'9'; })) {
    return std::nullopt;
  }
  return std::stoi(std::string(stem.begin(), stem.end()));
}

// The pictures of DIR by face number; a number named twice, or one past the
// last face, refuses the whole folder.
Result<std::vector<Picture>> PicturesIn(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::directory_iterator entries(dir, error);
  if (error) {
    return Failure{messages::CannotOpen(dir)};
  }
  std::map<int, std::filesystem::path> byNumber;
  for (const std::filesystem::directory_entry& entry : entries) {
    const std::optional<int> number = FaceNumberOf(entry.path().filename());
    if (!number || entry.is_directory(error)) {
      continue;
    }
    if (*number >= face_file::kFaceCount) {
      return Failure{messages::FaceOutsideFile(entry.path(), *number)};
    }
    const auto [place, added] = byNumber.emplace(*number, entry.path());
    if (!added) {
      std::string twice = messages::PathText(place->second);
      twice += ", ";
      twice += messages::PathText(entry.path());
      twice += ": 顔 " + std::to_string(*number) + " が二度あります";
      return Failure{twice};
    }
  }
  std::vector<Picture> pictures;
  for (const auto& [number, path] : byNumber) {
    pictures.push_back({number, path});
  }
  return pictures;
}

// Each picture read and reduced against its face as it is now, side by side
// on every processor: no face depends on another. In the pictures' order.
std::vector<std::optional<Result<FacePortrait>>> MakeFaces(const std::vector<Picture>& pictures,
                                                           const std::vector<FacePortrait>& present,
                                                           bridge::FaceFit fit, const ReductionOptions& reduction,
                                                           Progress& progress) {
  std::vector<std::optional<Result<FacePortrait>>> made(pictures.size());
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  progress.Phase("reading", pictures.size());
  // Only this thread draws the line, after each face it makes.
  const auto work = [&](bool drawsProgress) {
    for (std::size_t i = next++; i < pictures.size(); i = next++) {
      if (drawsProgress) {
        progress.Advance(done.load());
      }
      try {
        const Result<QImage> image = bridge::ReadPicture(pictures[i].path);
        made[i] = image ? Result<FacePortrait>(bridge::PictureToFace(image.value(), present[i], fit, reduction))
                        : Result<FacePortrait>(image.failure());
      } catch (const std::bad_alloc&) {
        made[i] = Result<FacePortrait>(Failure{messages::OutOfMemory()});
      }
      ++done;
    }
  };
  const std::size_t helpers =
      std::min<std::size_t>(std::max(1U, std::thread::hardware_concurrency()), pictures.size()) - 1;
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < helpers; ++i) {
    threads.emplace_back(work, false);
  }
  work(true);
  for (std::thread& thread : threads) {
    thread.join();
  }
  progress.Clear();
  return made;
}

int RunSetFace(const SetFaceOptions& options, std::ostream& err) {
  const bool single = options.number >= 0 || !options.image.empty();
  if (single == !options.fromDir.empty() || (single && (options.number < 0 || options.image.empty()))) {
    err << "k4r set-face: give either N IMAGE or --from-dir DIR\nRun with --help for more information.\n";
    return kExitUsage;
  }
  const std::optional<bridge::FaceFit> fit = bridge::FaceFitNamed(options.fit);
  std::vector<Picture> pictures;
  if (single) {
    pictures.push_back({options.number, PathFromArgument(options.image)});
  } else {
    Result<std::vector<Picture>> found = PicturesIn(PathFromArgument(options.fromDir));
    if (!found) {
      ReportFailure(err, found.failure());
      return kExitFailure;
    }
    pictures = std::move(found.value());
  }

  const std::filesystem::path faceFile = PathFromArgument(options.faceFile);
  const Result<ByteString> file = ReadWholeFile(faceFile);
  if (!file) {
    ReportFailure(err, file.failure());
    return kExitFailure;
  }
  const ReductionOptions reduction{options.keepPalette ? PaletteChoice::Keep : PaletteChoice::New, options.dither};
  std::vector<FacePortrait> present;
  present.reserve(pictures.size());
  for (const Picture& picture : pictures) {
    Result<FacePortrait> face = FaceIn(file.value(), picture.faceNumber, faceFile);
    if (!face) {
      ReportFailure(err, face.failure());
      return kExitFailure;
    }
    present.push_back(std::move(face.value()));
  }
  std::vector<NewFace> faces;
  faces.reserve(pictures.size());
  Progress progress(err, options.quiet, "k4r set-face");
  std::vector<std::optional<Result<FacePortrait>>> made = MakeFaces(pictures, present, *fit, reduction, progress);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (!*made[i]) {
      ReportFailure(err, made[i]->failure());
      return kExitFailure;
    }
    faces.push_back({pictures[i].faceNumber, std::move(made[i]->value())});
  }
  if (const Status written = WriteFaces(faceFile, faces, FaceWriteOptions{!options.noBackup}); !written) {
    ReportFailure(err, written.failure());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

CommandEntry AddSetFaceCommand(CLI::App& app) {
  auto options = std::make_shared<SetFaceOptions>();
  CLI::App* command = app.add_subcommand("set-face", kDescription);
  command->footer(kDetails);
  command->add_option("FACEFILE", options->faceFile, "Face graphics file (KAO_M.VX9)")->required()->type_name("PATH");
  command->add_option("N", options->number, "Face number")
      ->type_name("0..999")
      ->check(CLI::Range(0, face_file::kFaceCount - 1).description(""));
  command->add_option("IMAGE", options->image, "The picture")->type_name("PATH");
  command->add_option("--from-dir", options->fromDir, "Import every picture named by its face number")
      ->type_name("DIR");
  command->add_option("--fit", options->fit, "How the picture fills 96 x 120 (default cover)")
      ->type_name("cover|contain|stretch")
      ->check(CLI::IsMember({"cover", "contain", "stretch"}).description(""));
  command->add_flag("--keep-palette", options->keepPalette, "Map onto the face's present 256 colours");
  command->add_flag_callback(
      "--dither", [options] { options->dither = true; }, "Dither (the default)");
  command->add_flag_callback(
      "--no-dither", [options] { options->dither = false; }, "Do not dither");
  command->add_flag("--no-backup", options->noBackup, "Keep no FACEFILE.bak copy");
  AddQuietOption(*command, options->quiet);
  return {command, [options](std::istream&, std::ostream&, std::ostream& err) { return RunSetFace(*options, err); }};
}

}  // namespace k4r::cli
