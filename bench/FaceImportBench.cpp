// k4r set-face as a user runs it, the whole process from start to exit, on a
// copy of the 16.4 MB demo face file: one 1024 x 1280 photograph (read,
// fitted, reduced, the file replaced and flushed), and --from-dir of 100
// edited faces in one replace. Beside them the disk's own floor: cp of the
// face file and sync.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageWriter>
#include <cmath>
#include <stdexcept>

#include "BenchSupport.h"

namespace k4r::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kFolderFaces = 100;

// Soft gradients and fine texture, as a photograph has: no palette fits it.
QImage Photo(int width, int height, int seed) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const double u = x / double(width), v = y / double(height);
      const auto level = [&](double phase) {
        return std::clamp(static_cast<int>(128 + 90 * std::sin(7 * u + phase + seed) * std::cos(5 * v - phase) +
                                           20 * std::sin(90 * u * v + phase)),
                          0, 255);
      };
      line[x] = qRgb(level(0), level(2.1), level(4.2));
    }
  }
  return image;
}

struct Inputs {
  fs::path faceFile;  // the copy that is written
  fs::path photo;
  fs::path folder;  // 0000.png .. 0099.png
};

const Inputs& Files() {
  static const Inputs inputs = [] {
    Inputs made;
    const fs::path root = Demo().root / "set-face";
    fs::create_directories(root / "faces");
    made.faceFile = root / "KAO_M.VX9";
    fs::copy_file(Demo().faceFile, made.faceFile, fs::copy_options::overwrite_existing);
    // A camera's JPEG where the plugin is there, else PNG.
    const bool jpeg = QImageWriter::supportedImageFormats().contains("jpg");
    made.photo = root / (jpeg ? "photo.jpg" : "photo.png");
    if (!Photo(1024, 1280, 0).save(QString::fromStdString(made.photo.string()), nullptr, 90)) {
      throw std::runtime_error("cannot write the photograph");
    }
    made.folder = root / "faces";
    for (int face = 0; face < kFolderFaces; ++face) {
      char name[16];
      std::snprintf(name, sizeof name, "%04d.png", face);
      if (!Photo(96, 120, face).save(QString::fromStdString((made.folder / name).string()))) {
        throw std::runtime_error("cannot write a face picture");
      }
    }
    return made;
  }();
  return inputs;
}

// Runs the child to its end as often as the benchmark asks; the median wall
// time in ms and the child's CPU time as counters.
void TimeChild(benchmark::State& state, const ChildRequest& request) {
  std::vector<double> times, cpuTimes;
  for (auto _ : state) {
    double cpuSeconds = 0;
    const long long started = MonotonicNanoseconds();
    const int status = WaitChild(StartChild(request), &cpuSeconds);
    const double seconds = static_cast<double>(MonotonicNanoseconds() - started) / 1e9;
    if (status != 0) {
      state.SkipWithError("the program failed");
      return;
    }
    state.SetIterationTime(seconds);
    times.push_back(seconds * 1e3);
    cpuTimes.push_back(cpuSeconds * 1e3);
  }
  state.counters["median_ms"] = Median(times);
  state.counters["median_cpu_ms"] = Median(cpuTimes);
}

void BM_SetFacePhoto(benchmark::State& state) {
  try {
    ChildRequest request;
    request.program = SiblingProgram("k4r");
    // Every run changes the face (dithering against another face each time
    // would not): a new photo for face 12 after the last run's.
    request.arguments = {"set-face", Files().faceFile.string(), "12", Files().photo.string(), "--no-backup"};
    TimeChild(state, request);
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

void BM_SetFaceFromDir100(benchmark::State& state) {
  try {
    ChildRequest request;
    request.program = SiblingProgram("k4r");
    request.arguments = {"set-face", Files().faceFile.string(), "--from-dir", Files().folder.string(), "--no-backup"};
    TimeChild(state, request);
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

void BM_CopyFaceFileAndSync(benchmark::State& state) {
  try {
    ChildRequest request;
    request.program = "/bin/sh";
    request.arguments = {"-c", "cp \"$0\" \"$1\" && sync", Demo().faceFile.string(),
                         (Files().faceFile.parent_path() / "copy.VX9").string()};
    TimeChild(state, request);
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

}  // namespace

BENCHMARK(BM_SetFacePhoto)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);
BENCHMARK(BM_SetFaceFromDir100)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);
BENCHMARK(BM_CopyFaceFileAndSync)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);

}  // namespace k4r::bench
