// Find-next over the officer list (1113 entries): the worst case, a text that
// is not there, so both passes run over the whole joined text; and making
// the joined text, which a search dialog does once when it opens.

#include <benchmark/benchmark.h>

#include <array>
#include <stdexcept>

#include "BenchSupport.h"
#include "core/Bytes.h"
#include "core/FindInList.h"

namespace k4r::bench {
namespace {

// A pattern that starts with the joined text's most frequent two-byte
// character, so that the search meets as many candidates as it can, and
// goes on with one that never follows it there: never found.
ByteString HardestMissingPattern(ByteView joined) {
  std::array<std::size_t, 65536> counts{};
  for (std::size_t i = 0; i + 1 < joined.size();) {
    const auto lead = static_cast<unsigned char>(joined[i]);
    if (IsShiftJisLeadByte(lead)) {
      ++counts[lead * 256u + static_cast<unsigned char>(joined[i + 1])];
      i += 2;
    } else {
      ++i;
    }
  }
  std::size_t best = 0;
  for (std::size_t code = 1; code < counts.size(); ++code) {
    best = counts[code] > counts[best] ? code : best;
  }
  const ByteString first{static_cast<char>(best >> 8), static_cast<char>(best & 0xFF)};
  for (std::size_t code = 0x8140; code < 0x9FFC; ++code) {
    ByteString pattern = first + ByteString{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    if ((code & 0xFF) >= 0x40 && joined.find(pattern) == ByteView::npos) {
      return pattern;
    }
  }
  throw std::runtime_error("no missing pattern");
}

void BM_FindInListNotFound(benchmark::State& state) {
  const NameList& officers = Demo().officers;
  const ByteString joined = JoinEntries(officers);
  const ByteString pattern = HardestMissingPattern(joined);
  for (auto _ : state) {
    // From the first entry: the first pass covers entries 1..1112, the second all of them.
    const FindOutcome outcome = FindInList(officers, 0, search_span::kOfficers, joined, pattern);
    if (outcome.kind != FindOutcome::Kind::NotFound) {
      state.SkipWithError("the pattern was found");
      break;
    }
    benchmark::DoNotOptimize(outcome);
  }
  state.counters["entries"] = static_cast<double>(officers.size());
  state.counters["joined_bytes"] = static_cast<double>(joined.size());
}

void BM_JoinEntries(benchmark::State& state) {
  const NameList& officers = Demo().officers;
  for (auto _ : state) {
    ByteString joined = JoinEntries(officers);
    benchmark::DoNotOptimize(joined.data());
  }
}

}  // namespace

BENCHMARK(BM_FindInListNotFound)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_JoinEntries)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace k4r::bench
