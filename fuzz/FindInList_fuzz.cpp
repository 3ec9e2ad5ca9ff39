// FindInList with arbitrary lists, selections, spans and texts, against a
// plain model that walks the joined text one character at a time. Beyond
// agreeing with the model: a selected position lies inside the span and
// inside the list, and the entry it names holds an occurrence that begins on
// a character boundary.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/FindInList.h"

namespace {
using namespace k4r;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

bool IsLead(char byte) {
  return IsShiftJisLeadByte(static_cast<unsigned char>(byte));
}

// The first occurrence at or after `from` that begins on a character
// boundary, boundaries counted from `from`.
std::optional<std::size_t> ModelFind(ByteView text, ByteView pattern, std::size_t from) {
  if (from >= text.size() || (from == 0 && pattern.empty())) {
    return std::nullopt;
  }
  for (std::size_t at = from; at < text.size(); at += IsLead(text[at]) ? 2 : 1) {
    if (text.substr(at, pattern.size()) == pattern && at + pattern.size() <= text.size()) {
      return at;
    }
  }
  return std::nullopt;
}

FindOutcome Model(const std::vector<ByteString>& entries, ListPosition selection, std::int32_t span, ByteView joined,
                  ByteView pattern) {
  const std::int32_t positions = span < 0 ? 0 : span;
  std::vector<std::size_t> start(static_cast<std::size_t>(positions) + 1, 0);
  for (std::int32_t i = 1; i <= positions; ++i) {
    const auto previous = static_cast<std::size_t>(i - 1);
    start[static_cast<std::size_t>(i)] =
        start[previous] + (previous < entries.size() ? entries[previous].size() : 0) + 1;
  }
  if (selection < -1 || selection >= positions) {
    selection = -1;  // the search goes from the top, as with nothing selected
  }
  std::optional<std::size_t> match;
  if (selection != positions - 1) {
    match = ModelFind(joined, pattern, start[static_cast<std::size_t>(selection + 1)]);
  }
  if (!match) {
    match = ModelFind(joined, pattern, 0);
  }
  if (!match) {
    return {FindOutcome::Kind::NotFound, kNoSelection};
  }
  for (std::int32_t i = 0; i < positions; ++i) {
    if (start[static_cast<std::size_t>(i)] <= *match && *match < start[static_cast<std::size_t>(i) + 1]) {
      return {FindOutcome::Kind::Select, i};
    }
  }
  return {FindOutcome::Kind::NoChange, kNoSelection};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::int32_t span = data.ConsumeBool() ? data.ConsumeIntegralInRange<std::int32_t>(-2, 40)
                                               : data.ConsumeIntegralInRange<std::int32_t>(-2, 1200);
  const ListPosition selection =
      data.ConsumeBool() ? data.ConsumeIntegralInRange<ListPosition>(-3, 45) : data.ConsumeIntegral<ListPosition>();
  const bool ownJoin = data.ConsumeBool();  // the joined text as a dialog makes it, or anything
  const ByteString pattern = data.ConsumeRandomLengthString(12);
  const ByteString otherJoined = ownJoin ? ByteString() : data.ConsumeRandomLengthString(200);
  std::vector<ByteString> entries;
  const std::size_t count = data.ConsumeIntegralInRange<std::size_t>(0, 60);
  for (std::size_t i = 0; i < count && data.remaining_bytes() > 0; ++i) {
    entries.push_back(data.ConsumeRandomLengthString(16));
  }
  const ByteString joined = ownJoin ? JoinEntries(entries) : otherJoined;

  const FindOutcome outcome = FindInList(entries, selection, span, joined, pattern);
  Require(outcome == Model(entries, selection, span, joined, pattern), "the outcome agrees with the model");
  if (outcome.kind == FindOutcome::Kind::Select) {
    Require(outcome.position >= 0 && outcome.position < span, "a selected position lies inside the span");
    if (ownJoin) {
      // With the list's own joined text an occurrence in entry i starts in
      // entry i's bytes or the comma after it, so the list holds entry i.
      Require(static_cast<std::size_t>(outcome.position) < entries.size(), "a selected position lies in the list");
    }
  } else {
    Require(outcome.position == kNoSelection, "no position without a selection");
  }
  return 0;
}
