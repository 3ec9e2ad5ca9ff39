// Name lists (BUSHOU.DAT, KAO.DAT): one entry per line, bytes kept as read.

#include <algorithm>
#include <system_error>

#include "core/FileRead.h"
#include "core/Messages.h"
#include "core/NameList.h"

namespace k4r {
namespace {

// The expected files hold about a thousand short names; anything near this
// size is not a name list, and reading it whole would only tie up memory.
constexpr std::uintmax_t kNameListReadLimit = std::uintmax_t{64} << 20;

template <typename Entry>
ByteView EntryIn(std::span<const Entry> list, ListPosition position) {
  if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
    return {};
  }
  return list[static_cast<std::size_t>(position)];
}

}  // namespace

ByteView EntryAt(std::span<const ByteString> list, ListPosition position) {
  return EntryIn(list, position);
}

ByteView EntryAt(std::span<const ByteView> list, ListPosition position) {
  return EntryIn(list, position);
}

NameList SplitNameList(ByteView content) {
  if (const std::size_t nul = content.find('\0'); nul != ByteView::npos) {
    content = content.substr(0, nul);
  }
  NameList entries;
  std::size_t lineStart = 0;
  while (lineStart < content.size()) {
    const std::size_t lineEnd = std::min(content.find_first_of("\r\n", lineStart), content.size());
    entries.emplace_back(content.substr(lineStart, lineEnd - lineStart));
    std::size_t next = lineEnd;
    if (next < content.size()) {
      // CR LF is one line break; a lone CR or a lone LF is one as well.
      next += (content[next] == '\r' && next + 1 < content.size() && content[next + 1] == '\n') ? 2 : 1;
    }
    lineStart = next;
  }
  return entries;
}

NameListLoad LoadNameList(const std::filesystem::path& path) {
  NameListLoad load;
  std::error_code error;
  // symlink_status: a link whose target is gone still names a file, which is
  // better reported as unreadable than silently as absent.
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    load.outcome = NameListLoad::Outcome::Missing;
    return load;
  }
  if (error) {
    load.outcome = NameListLoad::Outcome::Unreadable;
    load.failure = Failure{messages::CannotOpen(path)};
    return load;
  }
  Result<ByteString> content = ReadWholeFile(path, kNameListReadLimit);
  if (!content) {
    load.outcome = NameListLoad::Outcome::Unreadable;
    load.failure = content.failure();
    return load;
  }
  load.outcome = NameListLoad::Outcome::Loaded;
  load.entries = SplitNameList(content.value());
  return load;
}

}  // namespace k4r
