#pragma once

// The skin pictures: which embedded resource holds which file of the data
// folder's "Graphics" folder, and the writing of those files at start-up.

#include <filesystem>
#include <span>
#include <string_view>

#include "resources.h"

namespace ep {

struct SkinFile {
    int id;                 // resource id, type "Custom"
    std::string_view name;  // file name inside "Graphics", exact case
};

// Every skin picture in ascending id order (1..37, 41..95).
std::span<const SkinFile> SkinFiles();

inline constexpr std::string_view kGraphicsFolder = "Graphics";

// The skin's own spelling of a file name, matched without regard to case
// ("Pencil.ico" gives "pencil.ico"), so that the windows find their files on
// a case-sensitive file system; a name the skin does not have comes back as is.
std::string_view CanonicalSkinName(std::string_view name);

// Writes every skin picture into dataFolder/Graphics, creating the missing
// folders on the way. A file that cannot be written is skipped and the next
// one is tried, so a damaged folder never stops the program; the result is
// the number of files that could not be written, for diagnostics only.
int ExtractSkinGraphics(const ResourceSource& resources, const std::filesystem::path& dataFolder) noexcept;

}  // namespace ep
