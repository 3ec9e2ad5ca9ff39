// k4r set --from-csv over 10,000 officer files in one call, as a script
// would run it: the whole process, start to exit. Run once as it is and once
// with a bad cell in the last row, which reads and checks every file but
// writes none: the difference is the part that goes to the disk (the
// temporary files, their flushes and the renames).

#include <benchmark/benchmark.h>

#include <fstream>
#include <stdexcept>

#include "BenchSupport.h"
#include "core/FileRead.h"

namespace k4r::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kFiles = 10'000;

struct Tables {
  fs::path folder;
  fs::path whole;    // changes every file
  fs::path refused;  // the same with a bad last cell
};

// A spreadsheet's kind of edit: numbers, names of list entries and of
// officers, and a biography with a comma, quotes and a line break.
std::string Row(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "%05d.K4R", i);
  static const char* const kBases[] = {"江戸城", "小田原城", "春日山城", "観音寺城"};
  static const char* const kSkills[] = {"軍神", "鉄壁", "神速", "（なし）"};
  return std::string(name) + "," + std::to_string(40 + i % 80) + "," + kBases[i % 4] + "," + kSkills[i % 4] +
         ",\"新しい列伝, その" + std::to_string(i % 10) + "\r\n\"\"二行目\"\"\"," + std::to_string(1 + i % 1000) +
         "\r\n";
}

const Tables& Files() {
  static const Tables tables = [] {
    Tables made;
    made.folder = Demo().root / "set";
    fs::create_directories(made.folder);
    const std::vector<fs::path>& samples = Demo().samples;
    std::string table =
        "\xEF\xBB\xBF"
        "file,seiji,Kyoten_name,tokugi1_name,retuden,Oya\r\n";
    for (int i = 0; i < kFiles; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%05d.K4R", i);
      fs::copy_file(samples[static_cast<std::size_t>(i) % samples.size()], made.folder / name);
      table += Row(i);
    }
    made.whole = made.folder / "whole.csv";
    made.refused = made.folder / "refused.csv";
    std::ofstream(made.whole, std::ios::binary) << table;
    table.resize(table.size() - 2);
    std::ofstream(made.refused, std::ios::binary) << table << "x\r\n";  // Oya "…x": not a number
    return made;
  }();
  return tables;
}

void SetRuns(benchmark::State& state, bool refused) {
  try {
    const Tables& tables = Files();
    ChildRequest request;
    request.program = SiblingProgram("k4r");
    request.arguments = {"set", "--from-csv", (refused ? tables.refused : tables.whole).string(), "--officer-list",
                         (Demo().folder / "BUSHOU.DAT").string()};
    const int expected = refused ? 1 : 0;
    const auto run = [&request, expected](double& cpuSeconds) {
      const long long started = MonotonicNanoseconds();
      const int status = WaitChild(StartChild(request), &cpuSeconds);
      const double seconds = static_cast<double>(MonotonicNanoseconds() - started) / 1e9;
      return status == expected ? seconds : -1.0;
    };
    double cpuSeconds = 0;
    // Once unmeasured: the first run changes the copies, later ones write
    // the same bytes again.
    static_cast<void>(run(cpuSeconds));
    const Result<ByteString> before = ReadWholeFile(tables.folder / "00000.K4R");
    std::vector<double> rates, cpuRates, times;
    for (auto _ : state) {
      const double seconds = run(cpuSeconds);
      if (seconds < 0) {
        state.SkipWithError(refused ? "k4r set did not refuse the bad cell" : "k4r set --from-csv failed");
        break;
      }
      state.SetIterationTime(seconds);
      times.push_back(seconds);
      rates.push_back(kFiles / seconds);
      cpuRates.push_back(kFiles / cpuSeconds);
    }
    if (!before || ReadWholeFile(tables.folder / "00000.K4R").value() != before.value()) {
      state.SkipWithError("the files changed between runs of the same table");
      return;
    }
    state.counters["median_files_per_s"] = Median(rates);
    state.counters["median_files_per_cpu_s"] = Median(cpuRates);
    state.counters["median_us_per_file"] = Median(times) * 1e6 / kFiles;
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

void BM_SetFromCsv10000(benchmark::State& state) {
  SetRuns(state, false);
}

void BM_SetFromCsv10000CheckedOnly(benchmark::State& state) {
  SetRuns(state, true);
}

}  // namespace

BENCHMARK(BM_SetFromCsv10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SetFromCsv10000CheckedOnly)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace k4r::bench
