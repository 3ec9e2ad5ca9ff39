// Opening an officer file into the window, and saving it.
//
// Open: TForm1::OpenOfficerFile, the path the open command takes once a file
// is chosen: LoadOfficerFile, every control filled, the portrait redrawn (the
// window is shown, offscreen, so the redraw really paints).
//
// Save: SaveOfficerFile as the product runs it, plus the same work split in
// two. The product always flushes the temporary file and its folder to disk
// before and after the rename, and offers no way to skip that, rightly; so
// the split runs here, built from the same core pieces (the save's field
// conversion, EncodeRecord, the same system calls in the same order as the
// file replacement), with a clock around each flush.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QWindow>
#include <memory>
#include <random>
#include <stdexcept>

#include "BenchSupport.h"
#include "bridge/Cp932.h"
#include "core/BushouRecord.h"
#include "core/OfficerFile.h"
#include "ui/Main.h"
#include "ui/Prompts.h"

namespace k4r::bench {
namespace fs = std::filesystem;

namespace {

std::unique_ptr<TForm1>& WindowSlot(bool shown) {
  static std::unique_ptr<TForm1> shownWindow, hiddenWindow;
  return shown ? shownWindow : hiddenWindow;
}

// The editor's window on the demo set, shown offscreen or never shown;
// prompts are recorded so that no box can wait for a click.
TForm1& Window(bool shown) {
  std::unique_ptr<TForm1>& window = WindowSlot(shown);
  if (!window) {
    ui::Prompts::StartRecording();
    const fs::path before = fs::current_path();
    fs::current_path(Demo().folder);  // the name lists are read from the working folder
    window = std::make_unique<TForm1>(Demo().settingsFile);
    fs::current_path(before);
    if (shown) {
      window->show();
      for (int round = 0; round < 100 && !(window->windowHandle() && window->windowHandle()->isExposed()); ++round) {
        QApplication::processEvents();
      }
    }
    QApplication::processEvents();
    if (!window->OfficerListAvailable() || !window->FaceAvailable() || !ui::Prompts::Shown().isEmpty()) {
      throw std::runtime_error("the window did not start on the complete demo set");
    }
  }
  return *window;
}

void OpenRuns(benchmark::State& state, bool shown) {
  TForm1& window = Window(shown);
  std::vector<QString> paths;
  for (const fs::path& sample : Demo().samples) {
    paths.push_back(bridge::FromPath(sample));
  }
  std::size_t next = 0;
  for (auto _ : state) {
    // Alternating files, so that every field really changes.
    if (!window.OpenOfficerFile(paths[next])) {
      state.SkipWithError("OpenOfficerFile failed");
      break;
    }
    next = (next + 1) % paths.size();
  }
  QApplication::processEvents();
  if (!ui::Prompts::Shown().isEmpty()) {
    state.SkipWithError("a prompt was shown");
  }
}

// The shown window: the portrait's immediate repaint makes Qt paint every
// control changed so far, so this is load, fill and paint.
void BM_OpenIntoWindow(benchmark::State& state) {
  OpenRuns(state, true);
}

// A window never shown: load and fill only.
void BM_OpenIntoHiddenWindow(benchmark::State& state) {
  OpenRuns(state, false);
}

void BM_LoadOfficerFileCore(benchmark::State& state) {
  const std::vector<fs::path>& samples = Demo().samples;
  const NameListSizes sizes{static_cast<std::int32_t>(Demo().officers.size()),
                            static_cast<std::int32_t>(Demo().faces.size())};
  BushouFile file;
  OfficerForm form = StartForm(sizes);
  std::size_t next = 0;
  for (auto _ : state) {
    if (!LoadOfficerFile(samples[next], file, form, KeepFlags{}, Availability{true, true}, sizes)) {
      state.SkipWithError("LoadOfficerFile failed");
      break;
    }
    benchmark::DoNotOptimize(form);
    next = (next + 1) % samples.size();
  }
}

// A loaded sample in a folder of its own, to be saved over and over.
struct SaveSubject {
  fs::path target;
  BushouFile file;
  OfficerForm form;
};

SaveSubject MakeSaveSubject() {
  SaveSubject subject;
  const fs::path folder = Demo().root / "save";
  fs::create_directories(folder);
  subject.target = folder / "SAVE.K4R";
  fs::copy_file(Demo().samples.front(), subject.target, fs::copy_options::overwrite_existing);
  const NameListSizes sizes{static_cast<std::int32_t>(Demo().officers.size()),
                            static_cast<std::int32_t>(Demo().faces.size())};
  subject.form = StartForm(sizes);
  if (!LoadOfficerFile(subject.target, subject.file, subject.form, KeepFlags{}, Availability{true, true}, sizes)) {
    throw std::runtime_error("cannot load the save sample");
  }
  return subject;
}

void BM_SaveOfficerFile(benchmark::State& state) {
  SaveSubject subject = MakeSaveSubject();
  for (auto _ : state) {
    if (!SaveOfficerFile(subject.target, subject.file, subject.form, Availability{true, true})) {
      state.SkipWithError("SaveOfficerFile failed");
      break;
    }
  }
}

// --- The save, split --------------------------------------------------------

struct SaveTimes {
  long long cpu = 0;      // ns: conversion, encode, creating and writing the temporary file
  long long flush = 0;    // ns: fsync of the temporary file and of the folder
  long long replace = 0;  // ns: close, rename over the old file, scan for leftovers
};

void Check(bool ok, const char* what) {
  if (!ok) {
    throw std::runtime_error(what);
  }
}

// The steps of SaveOfficerFile and of the file replacement, in their order.
SaveTimes TimedSave(const SaveSubject& subject) {
  SaveTimes times;
  long long mark = MonotonicNanoseconds();
  auto lap = [&mark](long long& into) {
    const long long now = MonotonicNanoseconds();
    into += now - mark;
    mark = now;
  };

  ByteString patched = subject.file.image;
  const Result<BushouRecord> record = RecordFromForm(subject.form);
  Check(record.ok() && static_cast<bool>(EncodeRecord(record.value(), patched, EncodeSwitches{true, true})), "encode");

  struct stat info {};
  Check(::stat(subject.target.c_str(), &info) == 0 && ::access(subject.target.c_str(), W_OK) == 0, "stat");
  std::random_device random;
  std::uniform_int_distribution<int> pick(0, 61);
  std::string name(1, '.');
  name += subject.target.filename().string();
  name += ".k4r-tmp-";
  for (int i = 0; i < 6; ++i) {
    name += "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"[pick(random)];
  }
  const fs::path folder = subject.target.parent_path();
  const fs::path temp = folder / name;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  Check(fd >= 0, "create");
  static_cast<void>(::flock(fd, LOCK_EX | LOCK_NB));
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    // as the save does: ownership is kept only where allowed
  }
  Check(::fchmod(fd, info.st_mode & 07777) == 0, "fchmod");
  Check(::write(fd, patched.data(), patched.size()) == static_cast<ssize_t>(patched.size()), "write");
  lap(times.cpu);
  Check(::fsync(fd) == 0, "fsync");
  lap(times.flush);
  Check(::close(fd) == 0 && ::rename(temp.c_str(), subject.target.c_str()) == 0, "rename");
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  lap(times.replace);
  static_cast<void>(::fsync(folderFd));
  lap(times.flush);
  ::close(folderFd);
  // The scan for temporary files abandoned by killed saves.
  std::size_t leftovers = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    leftovers += entry.path().filename().string().rfind(name.substr(0, name.size() - 6), 0) == 0 ? 1 : 0;
  }
  benchmark::DoNotOptimize(leftovers);
  lap(times.replace);
  return times;
}

// Manual time: the CPU part; the rest as counters, per save.
void BM_SaveSplit(benchmark::State& state) {
  SaveSubject subject = MakeSaveSubject();
  SaveTimes total;
  for (auto _ : state) {
    const SaveTimes times = TimedSave(subject);
    state.SetIterationTime(static_cast<double>(times.cpu) / 1e9);
    total.flush += times.flush;
    total.replace += times.replace;
  }
  const auto perSaveUs = [&state](long long ns) {
    return benchmark::Counter(static_cast<double>(ns) / 1e3 / static_cast<double>(state.iterations()));
  };
  state.counters["flush_us"] = perSaveUs(total.flush);
  state.counters["replace_us"] = perSaveUs(total.replace);
}

}  // namespace

void ReleaseWindow() {
  WindowSlot(true).reset();
  WindowSlot(false).reset();
}

BENCHMARK(BM_OpenIntoWindow)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenIntoHiddenWindow)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadOfficerFileCore)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveOfficerFile)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveSplit)->Unit(benchmark::kMicrosecond)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace k4r::bench
