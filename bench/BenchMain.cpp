// Runs every benchmark once, side by side, and prints one table: what was
// measured, the figure, the target, and whether it is met. Progress goes to
// stderr; Google Benchmark's own flags still work (--benchmark_filter,
// --benchmark_out=FILE.json for every detail).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"

namespace {

using Run = benchmark::BenchmarkReporter::Run;

// Keeps the runs for the table; says on stderr what has finished.
class Collector final : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& /*context*/) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") {
        continue;
      }
      runs_[name] = run;
      errors_ += run.error_occurred ? 1 : 0;
      std::cerr << "  done: " << name << (run.error_occurred ? " (error: " + run.error_message + ")" : "") << '\n';
    }
  }
  [[nodiscard]] const Run* Find(const std::string& name) const {
    const auto found = runs_.find(name);
    return found == runs_.end() ? nullptr : &found->second;
  }
  // Runs that stopped with an error (a failed save, a missing program, ...).
  [[nodiscard]] int Errors() const { return errors_; }

 private:
  std::map<std::string, Run> runs_;
  int errors_ = 0;
};

double ToMicroseconds(double value, benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond: return value / 1e3;
    case benchmark::kMicrosecond: return value;
    case benchmark::kMillisecond: return value * 1e3;
    case benchmark::kSecond: return value * 1e6;
  }
  return value;
}

std::optional<double> Counter(const Run& run, const std::string& name) {
  const auto found = run.counters.find(name);
  if (found == run.counters.end()) {
    return std::nullopt;
  }
  return found->second.value;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// A figure for the table: its text and the value compared with the target.
struct Figure {
  std::string text;
  std::optional<double> value;  // nothing: not measured
  std::string error;
  std::optional<double> cpu;  // the thread's CPU time, where it means something
};

struct Row {
  std::string what;
  Figure figure;
  std::string target;  // empty: reported, no target
  std::function<bool(double)> meets = nullptr;
};

class Table {
 public:
  explicit Table(const Collector& runs) : runs_(runs) {}

  // The median time of a benchmark in microseconds (or milliseconds).
  // The median wall-clock time of a benchmark; with `withCpu`, the
  // thread's CPU time beside it, which is what an idle machine would take
  // where the work does not wait for the disk.
  Figure Time(const std::string& name, bool withCpu = true) const {
    const Run* run = runs_.Find(name);
    if (run == nullptr || run->error_occurred) {
      return Missing(run);
    }
    const double us = ToMicroseconds(run->GetAdjustedRealTime(), run->time_unit);
    std::string text = Fixed(us, us < 10 ? 2 : 1) + " µs";
    if (withCpu) {
      const double cpu = ToMicroseconds(run->GetAdjustedCPUTime(), run->time_unit);
      text += " (CPU " + Fixed(cpu, cpu < 10 ? 2 : 1) + ")";
      return Figure{text, us, {}, cpu};
    }
    return Figure{text, us, {}, std::nullopt};
  }
  Figure CounterOf(const std::string& name, const std::string& counter, const std::string& unit, int decimals,
                   double scale = 1) const {
    const Run* run = runs_.Find(name);
    if (run == nullptr || run->error_occurred) {
      return Missing(run);
    }
    const std::optional<double> value = Counter(*run, counter);
    if (!value) {
      return Figure{"-", std::nullopt, "no " + counter, std::nullopt};
    }
    return Figure{Fixed(*value * scale, decimals) + unit, *value * scale, {}, std::nullopt};
  }
  // A rate counter, with the same rate per CPU second of the child beside it.
  Figure RateOf(const std::string& name, const std::string& counter, const std::string& cpuCounter,
                const std::string& unit) const {
    Figure figure = CounterOf(name, counter, unit, 0);
    const Run* run = runs_.Find(name);
    if (figure.value && run != nullptr) {
      if (const std::optional<double> cpu = Counter(*run, cpuCounter)) {
        figure.text += " (CPU " + Fixed(*cpu, 0) + ")";
      }
    }
    return figure;
  }
  // What the slower figure takes beyond the faster one.
  static Figure Difference(const Figure& slow, const Figure& fast, const std::string& unit) {
    if (!slow.value || !fast.value) {
      return Figure{"-", std::nullopt, "not measured", std::nullopt};
    }
    const double difference = *slow.value - *fast.value;
    return Figure{Fixed(difference, 0) + unit, difference, {}, std::nullopt};
  }
  static Figure Ratio(const Figure& slow, const Figure& fast, int decimals = 0) {
    if (!slow.value || !fast.value || *fast.value <= 0) {
      return Figure{"-", std::nullopt, "not measured", std::nullopt};
    }
    const double ratio = *slow.value / *fast.value;
    std::string text = Fixed(ratio, decimals) + "x";
    if (slow.cpu && fast.cpu && *fast.cpu > 0) {
      text += " (CPU " + Fixed(*slow.cpu / *fast.cpu, 0) + "x)";
    }
    return Figure{text, ratio, {}, std::nullopt};
  }

 private:
  static Figure Missing(const Run* run) {
    return Figure{"-", std::nullopt, run == nullptr ? "not run" : run->error_message, std::nullopt};
  }
  const Collector& runs_;
};

std::string MachineLine() {
  std::string cpu = "unknown CPU";
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  // Other work on the machine stretches every figure: say how busy it was.
  std::string load;
  std::getline(std::ifstream("/proc/loadavg") >> std::ws, load);
  return "Machine: " + std::to_string(std::thread::hardware_concurrency()) + " CPUs (nproc), " + cpu + "; Qt " +
         qVersion() + "; load average at the end: " + load.substr(0, load.find(' '));
}

void PrintTable(const std::vector<Row>& rows) {
  // Verdicts go by the wall-clock figure; "(CPU ...)" beside it is the
  // benchmark thread's own CPU time, the better guide on a busy machine.
  std::cout << "| benchmark | measured | target | ok? |\n|---|---:|---:|:---:|\n";
  for (const Row& row : rows) {
    std::string verdict;
    if (!row.figure.value) {
      verdict = "not measured: " + row.figure.error;
    } else if (row.meets) {
      verdict = row.meets(*row.figure.value) ? "yes" : "**no**";
    }
    std::cout << "| " << row.what << " | " << row.figure.text << " | " << (row.target.empty() ? "-" : row.target)
              << " | " << verdict << " |\n";
  }
}

std::vector<Row> Rows(const Collector& runs) {
  const Table table(runs);
  const auto atMost = [](double limit) { return [limit](double value) { return value <= limit; }; };
  const auto atLeast = [](double limit) { return [limit](double value) { return value >= limit; }; };
  const Figure portrait = table.Time("BM_PortraitFaceRange");
  const Figure wholeFile = table.Time("BM_PortraitWholeFile");
  const Figure importPerFile = table.CounterOf("BM_SetFromCsv10000", "median_us_per_file", " µs", 0);
  const Figure checkPerFile = table.CounterOf("BM_SetFromCsv10000CheckedOnly", "median_us_per_file", " µs", 0);
  const Figure copyTime = table.CounterOf("BM_CopyAndSync10000", "median_us_per_file", " µs", 0);
  const Figure crowdedTime = table.CounterOf("BM_SetFromCsv10000Crowded", "median_us_per_file", " µs", 0);
  const Figure oneFace = table.CounterOf("BM_SetFacePhoto", "median_ms", " ms", 0);
  const Figure hundredFaces = table.CounterOf("BM_SetFaceFromDir100", "median_ms", " ms", 0);
  // KiB -> MB (10^6 bytes)
  constexpr double kMiBToMB = 1024.0 * 1024.0 / 1e6;
  return {
      {"Portrait: ReadPortrait (the face's bytes only) + DrawPortrait into QImage", portrait, "<= 50 µs", atMost(50)},
      {"&nbsp;&nbsp;of which ReadPortrait", table.Time("BM_PortraitReadOnly"), "", nullptr},
      {"&nbsp;&nbsp;of which DrawPortrait into QImage", table.Time("BM_PortraitDrawOnly"), "", nullptr},
      {"Portrait the whole-file way: read 16.4 MB file, decode, draw", wholeFile, "", nullptr},
      {"Portrait: speed-up over the whole-file way", Table::Ratio(wholeFile, portrait), ">= 500x", atLeast(500)},
      {"Open: OpenOfficerFile (LoadOfficerFile, every control, portrait), window shown offscreen",
       table.Time("BM_OpenIntoWindow"), "<= 2000 µs", atMost(2000)},
      {"Open: the same into a window never shown (load and fill, nothing painted)",
       table.Time("BM_OpenIntoHiddenWindow"), "<= 2000 µs", atMost(2000)},
      {"&nbsp;&nbsp;LoadOfficerFile alone (core)", table.Time("BM_LoadOfficerFileCore"), "", nullptr},
      {"Save: CPU part (convert, encode, write the temporary file)", table.Time("BM_SaveSplit", false), "<= 200 µs",
       atMost(200)},
      {"Save: flush to disk (fsync of the file and of its folder)",
       table.CounterOf("BM_SaveSplit", "flush_us", " µs", 0), "", nullptr},
      {"Save: rename over the old file (and leftover scan)", table.CounterOf("BM_SaveSplit", "replace_us", " µs", 0),
       "", nullptr},
      {"Save: SaveOfficerFile as the editor runs it (all of the above)", table.Time("BM_SaveOfficerFile", false), "",
       nullptr},
      {"FindInList over 1113 entries, not found (both passes)", table.Time("BM_FindInListNotFound"), "<= 20 µs",
       atMost(20)},
      {"JoinEntries of 1113 entries (once per dialog opening)", table.Time("BM_JoinEntries"), "", nullptr},
      {"Start to first paint, offscreen (probe, median of 20)",
       table.CounterOf("BM_StartupProbeOffscreen", "median_ms", " ms", 1), "<= 300 ms", atMost(300)},
      {"Start to first paint, Xvfb (probe, median of 20)",
       table.CounterOf("BM_StartupProbeXvfb", "median_ms", " ms", 1), "<= 300 ms", atMost(300)},
      {"Start to window mapped, Xvfb (k4r-editor, median of 20)",
       table.CounterOf("BM_StartupEditorXvfb", "median_ms", " ms", 1), "<= 300 ms", atMost(300)},
      {"Peak resident memory, k4r-editor on Xvfb (highest of 20)",
       table.CounterOf("BM_StartupEditorXvfb", "peak_rss_MiB", " MB", 1, kMiBToMB), "<= 80 MB", atMost(80)},
      {"Peak resident memory, probe offscreen (highest of 20)",
       table.CounterOf("BM_StartupProbeOffscreen", "peak_rss_MiB", " MB", 1, kMiBToMB), "<= 80 MB", atMost(80)},
      {"k4r dump of 10,000 files, JSON Lines (median of 7)",
       table.RateOf("BM_Dump10000", "median_files_per_s", "median_files_per_cpu_s", " files/s"), ">= 20,000 files/s",
       atLeast(20000)},
      {"&nbsp;&nbsp;the same with --officer-list and --face-list",
       table.RateOf("BM_Dump10000WithLists", "median_files_per_s", "median_files_per_cpu_s", " files/s"),
       ">= 20,000 files/s", atLeast(20000)},
      {"k4r dump --csv of 10,000 files, with --officer-list and --face-list (median of 7)",
       table.RateOf("BM_DumpCsv10000", "median_files_per_s", "median_files_per_cpu_s", " files/s"), ">= 20,000 files/s",
       atLeast(20000)},
      {"k4r dump --xlsx of 10,000 files, with --officer-list and --face-list (median of 3)",
       table.RateOf("BM_DumpXlsx10000", "median_files_per_s", "median_files_per_cpu_s", " files/s"), "", nullptr},
      {"k4r set --from-csv of 10,000 files, 6 columns by name and number (median of 3)",
       table.RateOf("BM_SetFromCsv10000", "median_files_per_s", "median_files_per_cpu_s", " files/s"), "", nullptr},
      {"&nbsp;&nbsp;read and check only (bad last cell: nothing written, median of 5)",
       table.RateOf("BM_SetFromCsv10000CheckedOnly", "median_files_per_s", "median_files_per_cpu_s", " files/s"), "",
       nullptr},
      {"&nbsp;&nbsp;disk part per file (temporary file, flush, rename: the difference)",
       Table::Difference(importPerFile, checkPerFile, " µs"), "", nullptr},
      {"cp -r of the same 10,000 files + sync (median of 3)",
       table.RateOf("BM_CopyAndSync10000", "median_files_per_s", "", " files/s"), "", nullptr},
      {"&nbsp;&nbsp;k4r set --from-csv time over cp -r + sync time", Table::Ratio(importPerFile, copyTime, 2), "<= 2x",
       atMost(2)},
      {"k4r set --from-csv of 10,000 files into a folder of 20,000 (median of 3)",
       table.RateOf("BM_SetFromCsv10000Crowded", "median_files_per_s", "median_files_per_cpu_s", " files/s"), "",
       nullptr},
      {"&nbsp;&nbsp;time over the same batch in a folder of its own", Table::Ratio(crowdedTime, importPerFile, 2),
       "<= 1.25x", atMost(1.25)},
      {"k4r set --from-csv of 100,000 files: rate (one run)",
       table.RateOf("BM_SetFromCsv100000", "median_files_per_s", "median_files_per_cpu_s", " files/s"), "", nullptr},
      {"&nbsp;&nbsp;peak resident memory", table.CounterOf("BM_SetFromCsv100000", "peak_rss_MiB", " MB", 1, kMiBToMB),
       "<= 300 MB", atMost(300)},
      {"k4r set-face of a 1024 x 1280 photo into the 16.4 MB face file (fit, reduce, write, flush; median of 7)",
       oneFace, "< 1000 ms", atMost(999)},
      {"&nbsp;&nbsp;its CPU time", table.CounterOf("BM_SetFacePhoto", "median_cpu_ms", " ms", 0), "", nullptr},
      {"k4r set-face --from-dir of 100 faces of 96 x 120 (median of 7)", hundredFaces, "", nullptr},
      {"&nbsp;&nbsp;100 faces against one", Table::Ratio(hundredFaces, oneFace), "<= 2x", atMost(2)},
      {"cp of the face file and sync (the disk's floor; median of 7)",
       table.CounterOf("BM_CopyFaceFileAndSync", "median_ms", " ms", 0), "", nullptr},
  };
}

}  // namespace

int main(int argc, char** argv) {
  // Our own window runs offscreen; the start-up benchmarks choose the
  // platform of each child themselves.
  std::vector<std::string> qtArguments{argv[0], "-platform", "offscreen"};
  std::vector<char*> qtArgv;
  for (std::string& argument : qtArguments) {
    qtArgv.push_back(argument.data());
  }
  int qtArgc = static_cast<int>(qtArgv.size());
  qtArgv.push_back(nullptr);
  QApplication application(qtArgc, qtArgv.data());

  // Repetitions of different benchmarks take turns, so that a slow spell of
  // this shared machine does not fall on one side of a comparison.
  std::vector<std::string> arguments{argv[0], "--benchmark_enable_random_interleaving=true"};
  arguments.insert(arguments.end(), argv + 1, argv + argc);
  std::vector<char*> benchArgv;
  for (std::string& argument : arguments) {
    benchArgv.push_back(argument.data());
  }
  int benchArgc = static_cast<int>(benchArgv.size());
  benchmark::Initialize(&benchArgc, benchArgv.data());
  if (benchmark::ReportUnrecognizedArguments(benchArgc, benchArgv.data())) {
    return 2;
  }

  int status = 0;
  try {
    std::cerr << "Preparing the demo set...\n";
    static_cast<void>(k4r::bench::Demo());
    Collector runs;
    benchmark::RunSpecifiedBenchmarks(&runs);
    k4r::bench::ReleaseWindow();
    std::cout << MachineLine() << "\n\n";
    PrintTable(Rows(runs));
    if (runs.Errors() > 0) {
      std::cerr << "k4r_bench: " << runs.Errors() << " benchmark(s) stopped with an error\n";
      status = 1;
    }
  } catch (const std::exception& failure) {
    std::cerr << "k4r_bench: " << failure.what() << '\n';
    status = 1;
  }
  k4r::bench::ReleaseWindow();
  k4r::bench::RemoveDemo();
  benchmark::Shutdown();
  return status;
}
