#include "cli/SetBatch.h"

#include <map>
#include <ostream>
#include <system_error>

#include "cli/Commands.h"
#include "core/Messages.h"
#include "core/OfficerFile.h"

namespace k4r::cli {
namespace {

// Enough to fix a table by; the rest are counted.
constexpr int kMostReported = 10;

struct PendingSave {
  const BatchItem* item = nullptr;
  BushouFile file;
  BushouRecord record;
};

// Two rows naming one file would each save over the other's change.
std::filesystem::path SameFileKey(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).lexically_normal();
}

}  // namespace

std::filesystem::path ResolvedFile(std::string_view file, const std::filesystem::path& folder) {
  const std::filesystem::path path = PathFromArgument(file);
  return path.is_absolute() || folder.empty() ? path : folder / path;
}

int ApplyBatch(const std::vector<BatchItem>& items, const ListViews& lists, std::ostream& err) {
  const LoadedNameLists& loaded = lists.loaded();
  const NameListSizes sizes = loaded.Sizes();
  std::vector<PendingSave> pending;
  pending.reserve(items.size());
  std::map<std::filesystem::path, const BatchItem*> seen;
  int refused = 0;
  const auto refuse = [&](const BatchItem& item, const std::string& message) {
    if (++refused <= kMostReported) {
      ReportFailure(err, item.where + ": " + message);
    }
  };

  for (const BatchItem& item : items) {
    const auto [earlier, fresh] = seen.emplace(SameFileKey(item.path), &item);
    if (!fresh) {
      refuse(item, "the same file as " + earlier->second->where);
      continue;
    }
    PendingSave save{&item, {}, {}};
    if (const Status read = LoadOfficerRecord(item.path, save.file, save.record, loaded.availability, sizes); !read) {
      refuse(item, read.failure().message);
      continue;
    }
    if (const Status applied = item.input.ApplyTo(save.file, save.record, lists); !applied) {
      refuse(item, applied.failure().message);
      continue;
    }
    pending.push_back(std::move(save));
  }
  if (refused > 0) {
    if (refused > kMostReported) {
      err << "... and " << refused - kMostReported << " more.\n";
    }
    err << "k4r set: " << refused << " of " << items.size() << " refused; no file was written.\n";
    return kExitFailure;
  }

  std::size_t written = 0;
  for (PendingSave& save : pending) {
    if (const Status saved = SaveOfficerRecord(save.item->path, save.file, save.record, loaded.availability); !saved) {
      ReportFailure(err, save.item->where + ": " + saved.failure().message);
      err << "k4r set: " << written << " of " << pending.size()
          << " files were written before this failure; the others are as they were.\n";
      return kExitFailure;
    }
    ++written;
  }
  return kExitOk;
}

}  // namespace k4r::cli
