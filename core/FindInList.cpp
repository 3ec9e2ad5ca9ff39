// Find-next over a list, run on the entries joined by commas: a match may
// run across an entry's end, and it belongs to the entry in which it begins.

#include "core/FindInList.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace k4r {
namespace {

using Offset = std::size_t;

// start[i] is where entry i begins in the joined text, for i in 0..span;
// entries past the end of the list count as empty.
std::vector<Offset> EntryStarts(std::span<const ByteString> entries, std::int32_t span) {
  const auto count = static_cast<std::size_t>(std::max(span, 0));
  std::vector<Offset> starts(count + 1);
  starts[0] = 0;
  for (std::size_t i = 1; i <= count; ++i) {
    const std::size_t length = i - 1 < entries.size() ? entries[i - 1].size() : 0;
    starts[i] = starts[i - 1] + length + 1;
  }
  return starts;
}

// The first occurrence of `pattern` at or after `from` that begins on a
// character boundary, boundaries counted from `from` itself.
std::optional<Offset> FindAtBoundary(ByteView text, ByteView pattern, Offset from) {
  if (from >= text.size()) {
    return std::nullopt;
  }
  if (pattern.empty()) {
    // Searching the whole text for nothing finds nothing; from inside the
    // text it finds the starting point.
    return from == 0 ? std::nullopt : std::optional<Offset>(from);
  }
  Offset boundary = from;
  Offset candidate = text.find(pattern, from);
  while (candidate != ByteView::npos) {
    while (boundary < candidate) {
      boundary += IsShiftJisLeadByte(static_cast<unsigned char>(text[boundary])) ? 2 : 1;
    }
    if (boundary == candidate) {
      return candidate;
    }
    // The candidate is the second byte of a two-byte character.
    candidate = text.find(pattern, candidate + 1);
  }
  return std::nullopt;
}

}  // namespace

ByteString JoinEntries(std::span<const ByteString> entries) {
  std::size_t length = entries.empty() ? 0 : entries.size() - 1;
  for (const ByteString& entry : entries) {
    length += entry.size();
  }
  ByteString joined;
  joined.reserve(length);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) {
      joined += ',';
    }
    joined += entries[i];
  }
  return joined;
}

FindOutcome FindInList(std::span<const ByteString> entries, ListPosition selection, std::int32_t span, ByteView joined,
                       ByteView pattern) {
  const std::vector<Offset> starts = EntryStarts(entries, span);
  const auto spanPositions = static_cast<ListPosition>(starts.size() - 1);

  // A selection outside the span (only a name list longer than its span
  // allows one) searches from the start, as if nothing were selected.
  if (selection < kNoSelection || selection >= spanPositions) {
    selection = kNoSelection;
  }

  std::optional<Offset> match;
  if (selection != spanPositions - 1) {
    match = FindAtBoundary(joined, pattern, starts[static_cast<std::size_t>(selection + 1)]);
  }
  if (!match) {
    match = FindAtBoundary(joined, pattern, 0);
  }
  if (!match) {
    return FindOutcome{FindOutcome::Kind::NotFound, kNoSelection};
  }

  // The owner is the last entry that begins at or before the match.
  const auto after = std::upper_bound(starts.begin(), starts.end(), *match);
  const auto owner = static_cast<ListPosition>(after - starts.begin() - 1);
  if (owner >= spanPositions) {
    return FindOutcome{FindOutcome::Kind::NoChange, kNoSelection};
  }
  return FindOutcome{FindOutcome::Kind::Select, owner};
}

}  // namespace k4r
