// Start-up: from starting the program to its window on screen, 20 runs each,
// on the complete demo set (both name lists, the face file named in the
// settings), so that the start does all its work.
//
// - The probe (k4r_startup_probe: the editor's start sequence, reporting its
//   first finished paint), on the offscreen platform and on X (Xvfb).
// - The editor itself, k4r-editor, on X: the time until the X server maps its
//   window, seen from outside; then its peak resident memory, read from
//   /proc before it is killed.
// Each starts once unmeasured first (a cold page cache and font cache are not
// what a user meets twice).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "BenchSupport.h"

#ifdef K4R_BENCH_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace k4r::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kRuns = 20;
constexpr int kTimeoutMs = 20'000;

struct ProbeResult {
  double seconds = 0;
  long peakKiB = 0;
  long prompts = 0;
};

class Pipe {
 public:
  Pipe() {
    if (::pipe2(fds_, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe");
    }
  }
  ~Pipe() {
    CloseWrite();
    ::close(fds_[0]);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  [[nodiscard]] int Read() const { return fds_[0]; }
  [[nodiscard]] int Write() const { return fds_[1]; }
  void CloseWrite() {
    if (fds_[1] >= 0) {
      ::close(fds_[1]);
      fds_[1] = -1;
    }
  }

 private:
  int fds_[2] = {-1, -1};
};

ProbeResult RunProbe(const std::string& platform) {
  Pipe report;
  ChildRequest request;
  request.program = SiblingProgram("k4r_startup_probe");
  request.arguments = {Demo().settingsFile.string(), std::to_string(report.Write())};
  request.workingFolder = Demo().folder;
  request.setEnvironment = {"QT_QPA_PLATFORM=" + platform};
  request.passFd = report.Write();

  const long long started = MonotonicNanoseconds();
  const pid_t child = StartChild(request);
  report.CloseWrite();
  std::string line;
  pollfd wait{report.Read(), POLLIN, 0};
  char buffer[256];
  while (line.find('\n') == std::string::npos && ::poll(&wait, 1, kTimeoutMs) > 0) {
    const ssize_t got = ::read(report.Read(), buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    line.append(buffer, static_cast<std::size_t>(got));
  }
  if (line.find('\n') == std::string::npos) {
    ::kill(child, SIGKILL);
  }
  const int status = WaitChild(child);
  long long shown = 0;
  ProbeResult result;
  std::istringstream fields(line);
  if (status != 0 || !(fields >> shown >> result.peakKiB >> result.prompts)) {
    throw std::runtime_error("the probe did not report (exit status " + std::to_string(status) + ")");
  }
  result.seconds = static_cast<double>(shown - started) / 1e9;
  return result;
}

void ProbeRuns(benchmark::State& state, const std::string& platform) {
  if (platform == "xcb" && std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return;
  }
  try {
    static_cast<void>(RunProbe(platform));
    std::vector<double> times;
    long peakKiB = 0;
    for (auto _ : state) {
      const ProbeResult result = RunProbe(platform);
      if (result.prompts != 0) {
        state.SkipWithError("the start-up showed a prompt");
        break;
      }
      state.SetIterationTime(result.seconds);
      times.push_back(result.seconds * 1e3);
      peakKiB = std::max(peakKiB, result.peakKiB);
    }
    state.counters["median_ms"] = Median(times);
    state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

void BM_StartupProbeOffscreen(benchmark::State& state) {
  ProbeRuns(state, "offscreen");
}

void BM_StartupProbeXvfb(benchmark::State& state) {
  ProbeRuns(state, "xcb");
}

#ifdef K4R_BENCH_HAVE_XCB

// Watches the X server for top-level windows being mapped.
class MapWatch {
 public:
  MapWatch() : connection_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection_) != 0) {
      xcb_disconnect(connection_);
      throw std::runtime_error("cannot connect to the X display");
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
  }
  ~MapWatch() { xcb_disconnect(connection_); }
  MapWatch(const MapWatch&) = delete;
  MapWatch& operator=(const MapWatch&) = delete;

  // The time of the next map of a plain top-level window; 0 on time-out.
  long long NextMap() {
    const long long deadline = MonotonicNanoseconds() + kTimeoutMs * 1'000'000LL;
    while (MonotonicNanoseconds() < deadline) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                            reinterpret_cast<xcb_map_notify_event_t*>(event)->event == root_ &&
                            reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect == 0;
        std::free(event);
        if (mapped) {
          return MonotonicNanoseconds();
        }
      }
      pollfd wait{xcb_get_file_descriptor(connection_), POLLIN, 0};
      ::poll(&wait, 1, 100);
    }
    return 0;
  }

 private:
  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
};

// The editor keeps its settings beside itself: a copy of it in the demo's
// folder gets the demo settings without touching the build folder.
fs::path EditorCopy() {
  const fs::path folder = Demo().root / "bin";
  const fs::path editor = folder / "k4r-editor";
  if (!fs::exists(editor)) {
    fs::create_directories(folder);
    fs::copy_file(SiblingProgram("k4r-editor"), editor);
    fs::copy_file(Demo().settingsFile, folder / "k4r-editor.ini");
  }
  return editor;
}

struct EditorRun {
  double seconds = 0;
  long peakKiB = 0;
};

EditorRun RunEditor(MapWatch& watch) {
  ChildRequest request;
  request.program = EditorCopy();
  request.workingFolder = Demo().folder;
  request.setEnvironment = {"QT_QPA_PLATFORM=xcb"};
  const long long started = MonotonicNanoseconds();
  const pid_t child = StartChild(request);
  const long long mapped = watch.NextMap();
  EditorRun run;
  if (mapped != 0) {
    // Let it paint and settle before its memory is read.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    run.peakKiB = PeakResidentKiB(child);
  }
  ::kill(child, SIGTERM);
  static_cast<void>(WaitChild(child));
  if (mapped == 0) {
    throw std::runtime_error("the editor's window did not appear");
  }
  run.seconds = static_cast<double>(mapped - started) / 1e9;
  return run;
}

void BM_StartupEditorXvfb(benchmark::State& state) {
  if (std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return;
  }
  try {
    MapWatch watch;
    static_cast<void>(RunEditor(watch));
    std::vector<double> times;
    long peakKiB = 0;
    for (auto _ : state) {
      const EditorRun run = RunEditor(watch);
      state.SetIterationTime(run.seconds);
      times.push_back(run.seconds * 1e3);
      peakKiB = std::max(peakKiB, run.peakKiB);
    }
    state.counters["median_ms"] = Median(times);
    state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

#else

void BM_StartupEditorXvfb(benchmark::State& state) {
  state.SkipWithError("built without xcb");
}

#endif

}  // namespace

BENCHMARK(BM_StartupProbeOffscreen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRuns);
BENCHMARK(BM_StartupProbeXvfb)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRuns);
BENCHMARK(BM_StartupEditorXvfb)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRuns);

}  // namespace k4r::bench
