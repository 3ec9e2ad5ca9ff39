#pragma once
// Replacing face portraits in the face graphics file: only the colours and
// the drawn part of each row of the faces given change, and the file is
// replaced as a whole, all faces or none.

#include <filesystem>
#include <span>

#include "core/Bytes.h"
#include "core/FaceArchive.h"
#include "core/Result.h"

namespace k4r {

struct NewFace {
  int faceNumber = 0;  // 0..999
  FacePortrait portrait;
};

// `file` with the faces' blue, green and red bytes of their 256 colours and
// the 96 drawn bytes of each of their 120 rows set; every other byte (the
// lead-in, each colour's fourth byte, the undrawn end of each row, the table,
// other faces) as it was. Fails, changing nothing, when the file is shorter
// than its offset table or a face's picture does not lie wholly inside it
// (messages::FaceOutsideFile, `path` names the file in the messages).
[[nodiscard]] Result<ByteString> PatchFaces(ByteString file, std::span<const NewFace> faces,
                                            const std::filesystem::path& path);

// Face `faceNumber` decoded from the bytes of a whole face file; fails as
// PatchFaces does.
[[nodiscard]] Result<FacePortrait> FaceIn(ByteView file, int faceNumber, const std::filesystem::path& path);

// "KAO_M.VX9" -> "KAO_M.VX9.bak", beside it.
[[nodiscard]] std::filesystem::path BackupPathOf(const std::filesystem::path& path);

struct FaceWriteOptions {
  // Keep a copy of the file as it was in BackupPathOf(path) before changing
  // it, unless one is there already: the first copy is the one worth keeping.
  bool backup = true;
};

// Reads the face file at `path`, patches the faces and replaces the file
// atomically (ReplaceFileAtomically): afterwards it holds every new face or
// none of them. Writes nothing at all when no byte would change. A backup
// made by this call is removed again when the replace fails.
[[nodiscard]] Status WriteFaces(const std::filesystem::path& path, std::span<const NewFace> faces,
                                const FaceWriteOptions& options);

}  // namespace k4r
