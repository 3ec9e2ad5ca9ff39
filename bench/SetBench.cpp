// k4r set --from-csv over 10,000 officer files in one call, as a script
// would run it: the whole process, start to exit. Run once as it is and once
// with a bad cell in the last row, which reads and checks every file but
// writes none: the difference is the part that goes to the disk (the
// temporary files, their flush and the renames). Beside it: cp -r of the
// same files plus sync, the same batch in a folder that holds 10,000 other
// files, and a table of 100,000 rows for the memory it takes.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "BenchSupport.h"
#include "core/FileRead.h"

namespace k4r::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kFiles = 10'000;
constexpr int kHugeRows = 100'000;

// A folder of officer files with a table that changes every one of them.
struct Batch {
  fs::path folder;
  fs::path whole;    // changes every file
  fs::path refused;  // the same with a bad last cell
  int files = 0;
};

// A spreadsheet's kind of edit: numbers, names of list entries and of
// officers, and a biography with a comma, quotes and a line break.
std::string Row(const std::string& folder, int i) {
  char name[16];
  std::snprintf(name, sizeof name, "%06d.K4R", i);
  static const char* const kBases[] = {"江戸城", "小田原城", "春日山城", "観音寺城"};
  static const char* const kSkills[] = {"軍神", "鉄壁", "神速", "（なし）"};
  return folder + "/" + name + "," + std::to_string(40 + i % 80) + "," + kBases[i % 4] + "," + kSkills[i % 4] +
         ",\"新しい列伝, その" + std::to_string(i % 10) + "\r\n\"\"二行目\"\"\"," + std::to_string(1 + i % 1000) +
         "\r\n";
}

// `files` officer files in Demo().root / `name`, beside `others` files that
// the table does not name (a crowded folder).
Batch MakeBatch(const std::string& name, int files, int others) {
  Batch made;
  made.files = files;
  made.folder = Demo().root / name;
  fs::create_directories(made.folder);
  const std::vector<fs::path>& samples = Demo().samples;
  std::string table =
      "\xEF\xBB\xBF"
      "file,seiji,Kyoten_name,tokugi1_name,retuden,Oya\r\n";
  for (int i = 0; i < files; ++i) {
    char file[16];
    std::snprintf(file, sizeof file, "%06d.K4R", i);
    fs::copy_file(samples[static_cast<std::size_t>(i) % samples.size()], made.folder / file);
    table += Row(name, i);
  }
  for (int i = 0; i < others; ++i) {
    char file[24];
    std::snprintf(file, sizeof file, "other%06d.K4R", i);
    fs::copy_file(samples[static_cast<std::size_t>(i) % samples.size()], made.folder / file);
  }
  made.whole = Demo().root / (name + "-whole.csv");
  made.refused = Demo().root / (name + "-refused.csv");
  std::ofstream(made.whole, std::ios::binary) << table;
  table.resize(table.size() - 2);
  std::ofstream(made.refused, std::ios::binary) << table << "x\r\n";  // Oya "…x": not a number
  return made;
}

const Batch& Plain() {
  static const Batch batch = MakeBatch("set", kFiles, 0);
  return batch;
}

const Batch& Crowded() {
  static const Batch batch = MakeBatch("crowded", kFiles, kFiles);
  return batch;
}

const Batch& Huge() {
  static const Batch batch = MakeBatch("huge", kHugeRows, 0);
  return batch;
}

void SetRuns(benchmark::State& state, const Batch& batch, bool refused) {
  try {
    ChildRequest request;
    request.program = SiblingProgram("k4r");
    request.arguments = {"set", "--from-csv", (refused ? batch.refused : batch.whole).string(), "--officer-list",
                         (Demo().folder / "BUSHOU.DAT").string()};
    const int expected = refused ? 1 : 0;
    long peakKiB = 0;
    const auto run = [&](double& cpuSeconds) {
      const long long started = MonotonicNanoseconds();
      const int status = WaitChild(StartChild(request), &cpuSeconds, &peakKiB);
      const double seconds = static_cast<double>(MonotonicNanoseconds() - started) / 1e9;
      return status == expected ? seconds : -1.0;
    };
    double cpuSeconds = 0;
    // Once unmeasured: the first run changes the copies, later ones write
    // the same bytes again.
    static_cast<void>(run(cpuSeconds));
    const Result<ByteString> before = ReadWholeFile(batch.folder / "000000.K4R");
    std::vector<double> rates, cpuRates, times;
    long highestKiB = 0;
    for (auto _ : state) {
      const double seconds = run(cpuSeconds);
      if (seconds < 0) {
        state.SkipWithError(refused ? "k4r set did not refuse the bad cell" : "k4r set --from-csv failed");
        break;
      }
      state.SetIterationTime(seconds);
      times.push_back(seconds);
      rates.push_back(batch.files / seconds);
      cpuRates.push_back(batch.files / cpuSeconds);
      highestKiB = std::max(highestKiB, peakKiB);
    }
    if (!before || ReadWholeFile(batch.folder / "000000.K4R").value() != before.value()) {
      state.SkipWithError("the files changed between runs of the same table");
      return;
    }
    state.counters["median_files_per_s"] = Median(rates);
    state.counters["median_files_per_cpu_s"] = Median(cpuRates);
    state.counters["median_us_per_file"] = Median(times) * 1e6 / batch.files;
    state.counters["peak_rss_MiB"] = static_cast<double>(highestKiB) / 1024.0;
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

void BM_SetFromCsv10000(benchmark::State& state) {
  SetRuns(state, Plain(), false);
}

void BM_SetFromCsv10000CheckedOnly(benchmark::State& state) {
  SetRuns(state, Plain(), true);
}

void BM_SetFromCsv10000Crowded(benchmark::State& state) {
  SetRuns(state, Crowded(), false);
}

void BM_SetFromCsv100000(benchmark::State& state) {
  SetRuns(state, Huge(), false);
}

// The physical anchor: the same 10,000 files copied as they are and made
// durable, the least any way of writing them could take.
void BM_CopyAndSync10000(benchmark::State& state) {
  try {
    const fs::path copy = Demo().root / "copy";
    ChildRequest request;
    request.program = "/bin/sh";
    request.arguments = {"-c", "cp -r '" + Plain().folder.string() + "' '" + copy.string() + "' && sync"};
    std::vector<double> rates, times;
    for (auto _ : state) {
      fs::remove_all(copy);
      ::sync();
      const long long started = MonotonicNanoseconds();
      if (WaitChild(StartChild(request)) != 0) {
        state.SkipWithError("cp -r or sync failed");
        break;
      }
      const double seconds = static_cast<double>(MonotonicNanoseconds() - started) / 1e9;
      state.SetIterationTime(seconds);
      times.push_back(seconds);
      rates.push_back(kFiles / seconds);
    }
    fs::remove_all(copy);
    state.counters["median_files_per_s"] = Median(rates);
    state.counters["median_us_per_file"] = Median(times) * 1e6 / kFiles;
  } catch (const std::exception& failure) {
    state.SkipWithError(failure.what());
  }
}

}  // namespace

BENCHMARK(BM_SetFromCsv10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SetFromCsv10000CheckedOnly)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_CopyAndSync10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SetFromCsv10000Crowded)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SetFromCsv100000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace k4r::bench
