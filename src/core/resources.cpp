#include "resources.h"

#include <cerrno>

#include "file_io.h"

namespace ep {
int ExtractStatusFor(std::error_code error) {
    if (error.category() != std::generic_category() && error.category() != std::system_category()) {
        return kExtractWriteFailed;
    }
    switch (error.value()) {
        case EACCES:
        case EPERM:
        case EROFS:
            return kExtractAccessDenied;
        case ENOENT:
        case ENOTDIR:
            return kExtractPathNotFound;
        case ENOSPC:
        case EDQUOT:
            return kExtractDiskFull;
        default:
            return kExtractWriteFailed;
    }
}

FolderResources::FolderResources(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::string> FolderResources::Load(int id, std::string_view type) const {
    if (type != kCustomType) return std::nullopt;
    std::string bytes;
    if (ReadWholeFile(folder_ / std::to_string(id), bytes)) return std::nullopt;
    return bytes;
}

int ExtractResource(const ResourceSource& resources, int id, std::string_view type,
                    const std::filesystem::path& target, Durability durability) noexcept {
    try {
        std::optional<std::string> bytes = resources.Load(id, type);
        if (!bytes) return kExtractResourceMissing;
        if (std::error_code error = WriteFileAtomically(target, *bytes, durability)) return ExtractStatusFor(error);
        return 0;
    } catch (...) {
        // Out of memory, or a resource source that throws: still only a status.
        return kExtractWriteFailed;
    }
}

std::string ExtractStatusText(int status) {
    switch (status) {
        case 0:
            return "no error";
        case kExtractResourceMissing:
            return "the program does not contain the resource";
        case kExtractAccessDenied:
            return "the folder or file may not be written";
        case kExtractPathNotFound:
            return "the folder does not exist";
        case kExtractDiskFull:
            return "the disk is full";
        case kExtractWriteFailed:
            return "the file cannot be written";
        default:
            return "error " + std::to_string(status);
    }
}

}  // namespace ep
