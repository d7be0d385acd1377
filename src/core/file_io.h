#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace ep {

// Reads the whole file as bytes.
std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Whether a file must be on the disk before the write returns: results must
// survive a power cut; files made again at the next start need not wait.
enum class Durability { kFlushed, kCache };

// Replaces the file's content with `bytes` so that it is never seen half
// written: the bytes go to a temporary file in the same folder, which is
// (when asked) flushed to disk and renamed over the target, and the folder is
// then flushed so that the rename itself survives a power cut. On failure the
// old file is left as it was. A target that exists but may not be written is
// refused, as a truncating write would have been.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                    Durability durability = Durability::kFlushed);

// The steps a change of the results store is made of. Each one calls the
// step hook once it has changed what is on disk.

// Creates or truncates the file and writes `bytes` to it, flushed to disk
// when asked. Not atomic: the caller writes beside its target.
std::error_code WriteNewFile(const std::filesystem::path& path, std::string_view bytes, Durability durability);
std::error_code RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);
// A file that is already gone is no error.
std::error_code RemoveFile(const std::filesystem::path& path);
// A folder and everything in it; one that is already gone is no error.
std::error_code RemoveFolder(const std::filesystem::path& path);
// A folder that already exists is no error.
std::error_code MakeFolder(const std::filesystem::path& path);
// Flushes the folder's entries (the names that renames and removals changed).
std::error_code SyncFolder(const std::filesystem::path& folder);

// Called after each file-system step above. The crash tests end the process
// there, step after step; the program leaves it unset.
using FileStepHook = void (*)();
void SetFileStepHook(FileStepHook hook);

}  // namespace ep
