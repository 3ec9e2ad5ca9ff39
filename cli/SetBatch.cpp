#include "cli/SetBatch.h"

#include <ostream>
#include <system_error>
#include <unordered_map>

#include "cli/Commands.h"
#include "cli/Progress.h"
#include "core/FileReplace.h"
#include "core/Messages.h"
#include "core/OfficerFile.h"

namespace k4r::cli {
namespace {

// Enough to fix a table by; the rest are counted.
constexpr int kMostReported = 10;

struct PendingSave {
  const BatchItem* item = nullptr;
  ByteString image;  // the file as it will be saved
};

// A rename that failed part-way: which files are already new.
void ReportPartialCommit(std::ostream& err, const std::vector<std::filesystem::path>& replaced, std::size_t total) {
  if (replaced.empty()) {
    err << "k4r set: no file was written.\n";
    return;
  }
  err << "k4r set: " << replaced.size() << " of " << total
      << " files were replaced before this failure; the others are as they were. Replaced:\n";
  for (const std::filesystem::path& path : replaced) {
    err << "  " << messages::PathText(path) << "\n";
  }
}

// Two rows naming one file would each save over the other's change. A
// string, not a path: a path keeps each of its parts apart, several times
// the memory over a table of 100,000 rows.
std::filesystem::path::string_type SameFileKey(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).lexically_normal().native();
}

}  // namespace

std::filesystem::path ResolvedFile(std::string_view file, const std::filesystem::path& folder) {
  const std::filesystem::path path = PathFromArgument(file);
  return path.is_absolute() || folder.empty() ? path : folder / path;
}

int ApplyBatch(const std::vector<BatchItem>& items, const ListViews& lists, std::ostream& err, Progress& progress) {
  const LoadedNameLists& loaded = lists.loaded();
  const NameListSizes sizes = loaded.Sizes();
  // Only the new images are kept between the phases: a file's loaded form
  // is gone once its image is made, so a long table stays small in memory.
  std::vector<PendingSave> pending;
  pending.reserve(items.size());
  std::unordered_map<std::filesystem::path::string_type, const BatchItem*> seen;
  seen.reserve(items.size());
  int refused = 0;
  const auto refuse = [&](const BatchItem& item, const std::string& message) {
    if (++refused <= kMostReported) {
      progress.Clear();
      ReportFailure(err, item.where + ": " + message);
    }
  };

  progress.Phase("checking", items.size());
  for (const BatchItem& item : items) {
    progress.Advance(pending.size() + static_cast<std::size_t>(refused));
    const auto [earlier, fresh] = seen.emplace(SameFileKey(item.path), &item);
    if (!fresh) {
      refuse(item, "the same file as " + earlier->second->where);
      continue;
    }
    BushouFile file;
    BushouRecord record;
    if (const Status read = LoadOfficerRecord(item.path, file, record, loaded.availability, sizes); !read) {
      refuse(item, read.failure().message);
      continue;
    }
    if (const Status applied = item.input.ApplyTo(file, record, lists); !applied) {
      refuse(item, applied.failure().message);
      continue;
    }
    Result<ByteString> image = SavedImage(file, record, loaded.availability);
    if (!image) {
      refuse(item, image.failure().message);
      continue;
    }
    pending.push_back({&item, std::move(image).value()});
  }
  progress.Clear();
  if (refused > 0) {
    if (refused > kMostReported) {
      err << "... and " << refused - kMostReported << " more.\n";
    }
    err << "k4r set: " << refused << " of " << items.size() << " refused; no file was written.\n";
    return kExitFailure;
  }

  // Every new file is written and flushed before the first takes its place,
  // so a full disk part-way changes nothing.
  FileReplaceGroup group;
  progress.Phase("writing", pending.size());
  for (PendingSave& save : pending) {
    if (const Status staged = group.Stage(save.item->path, save.image); !staged) {
      progress.Clear();
      ReportFailure(err, save.item->where + ": " + staged.failure().message);
      err << "k4r set: no file was written.\n";
      return kExitFailure;
    }
    ByteString().swap(save.image);
    progress.Advance(group.StagedCount());
  }
  progress.Phase("committing", pending.size());
  const Status committed = group.Commit([&progress](std::size_t renamed) { progress.Advance(renamed); });
  progress.Clear();
  if (!committed) {
    ReportFailure(err, committed.failure());
    ReportPartialCommit(err, group.Replaced(), pending.size());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace k4r::cli
