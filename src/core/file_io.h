#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace ep {

// Reads the whole file as bytes.
std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Replaces the file's content with `bytes` so that it is never seen half
// written: the bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the target. On failure the old file is
// left as it was. A target that exists but may not be written is refused,
// as a truncating write would have been.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ep
