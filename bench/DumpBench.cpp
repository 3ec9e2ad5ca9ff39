// k4r dump over 10,000 officer files in one call, JSON Lines or a CSV table
// into a file, as a script would run it: the whole process, start to exit.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "BenchSupport.h"

namespace k4r::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kFiles = 10'000;

// Copies of the demo samples under short names, so that the command line
// stays well within the system's limit.
struct DumpFolder {
  fs::path folder;
  std::vector<std::string> names;
};

const DumpFolder& Files() {
  static const DumpFolder files = [] {
    DumpFolder made;
    made.folder = Demo().root / "dump";
    fs::create_directories(made.folder);
    const std::vector<fs::path>& samples = Demo().samples;
    for (int i = 0; i < kFiles; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%05d.K4R", i);
      fs::copy_file(samples[static_cast<std::size_t>(i) % samples.size()], made.folder / name);
      made.names.emplace_back(name);
    }
    return made;
  }();
  return files;
}

std::size_t CountLines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::size_t lines = 0;
  std::string line;
  while (std::getline(in, line)) {
    lines += line.empty() ? 0 : 1;
  }
  return lines;
}

// The table's rows: each starts with its file's name (the biographies hold
// line breaks, so lines are not rows).
std::size_t CountCsvRows(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::size_t rows = 0;
  std::string line;
  while (std::getline(in, line)) {
    rows += line.size() > 10 && line.compare(5, 5, ".K4R,") == 0 ? 1 : 0;
  }
  return rows;
}

enum class Output { JsonLines, Csv, Xlsx };

void DumpRuns(benchmark::State& state, bool withLists, Output format = Output::JsonLines) {
  try {
    const DumpFolder& files = Files();
    ChildRequest request;
    request.program = SiblingProgram("k4r");
    request.arguments = {"dump"};
    const fs::path output = Demo().root / (format == Output::Csv    ? "dump.csv"
                                           : format == Output::Xlsx ? "dump.xlsx"
                                           : withLists              ? "dump-lists.jsonl"
                                                                    : "dump.jsonl");
    if (format == Output::Csv) {
      request.arguments.emplace_back("--csv");
    }
    if (format == Output::Xlsx) {
      request.arguments.insert(request.arguments.end(), {"--xlsx", "-o", output.string()});
    }
    if (withLists) {
      const fs::path& demo = Demo().folder;
      request.arguments.insert(request.arguments.end(), {"--officer-list", (demo / "BUSHOU.DAT").string(),
                                                         "--face-list", (demo / "KAO.DAT").string()});
    }
    request.arguments.insert(request.arguments.end(), files.names.begin(), files.names.end());
    request.workingFolder = files.folder;

    // Wall-clock seconds for one run (negative when k4r failed) and the CPU
    // time k4r used.
    // The workbook is the one output k4r writes itself.
    const fs::path printed = format == Output::Xlsx ? fs::path("/dev/null") : output;
    const auto run = [&request, &printed](double& cpuSeconds) {
      const int out = ::open(printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      request.stdoutFd = out;
      const long long started = MonotonicNanoseconds();
      const int status = WaitChild(StartChild(request), &cpuSeconds);
      const double seconds = static_cast<double>(MonotonicNanoseconds() - started) / 1e9;
      ::close(out);
      return status == 0 ? seconds : -1.0;
    };
    double cpuSeconds = 0;
    // Once unmeasured: the files were only just written.
    static_cast<void>(run(cpuSeconds));
    std::vector<double> rates, cpuRates;
    for (auto _ : state) {
      const double seconds = run(cpuSeconds);
      if (seconds < 0) {
        state.SkipWithError("k4r dump failed");
        break;
      }
      state.SetIterationTime(seconds);
      rates.push_back(kFiles / seconds);
      cpuRates.push_back(kFiles / cpuSeconds);
    }
    const bool complete = format == Output::Xlsx  ? fs::file_size(output) > 0
                          : format == Output::Csv ? CountCsvRows(output) == kFiles
                                                  : CountLines(output) == kFiles;
    if (!complete) {
      state.SkipWithError("k4r dump did not print one line (row) per file");
      return;
    }
    state.counters["median_files_per_s"] = Median(rates);
    state.counters["median_files_per_cpu_s"] = Median(cpuRates);
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

void BM_Dump10000(benchmark::State& state) {
  DumpRuns(state, false);
}

void BM_Dump10000WithLists(benchmark::State& state) {
  DumpRuns(state, true);
}

void BM_DumpCsv10000(benchmark::State& state) {
  DumpRuns(state, true, Output::Csv);
}

void BM_DumpXlsx10000(benchmark::State& state) {
  DumpRuns(state, true, Output::Xlsx);
}

}  // namespace

BENCHMARK(BM_Dump10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);
BENCHMARK(BM_Dump10000WithLists)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);
BENCHMARK(BM_DumpCsv10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);
BENCHMARK(BM_DumpXlsx10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace k4r::bench
