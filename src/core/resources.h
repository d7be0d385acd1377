#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "file_io.h"

namespace ep {

// The program's embedded resources, by numeric id. The program backs this with
// the resources compiled into it; tests back it with a folder of files.
class ResourceSource {
public:
    virtual ~ResourceSource() = default;
    // The bytes of resource `id` of the given type; nothing when there is none.
    virtual std::optional<std::string> Load(int id, std::string_view type) const = 0;
};

// Resources of type "Custom" as files named by their id in one folder.
class FolderResources : public ResourceSource {
public:
    explicit FolderResources(std::filesystem::path folder);
    std::optional<std::string> Load(int id, std::string_view type) const override;

private:
    std::filesystem::path folder_;
};

// Several sources read as one: each resource comes from the first that has it
// (tests lay a fixture course over the program's own skin).
class LayeredResources : public ResourceSource {
public:
    LayeredResources(const ResourceSource& first, const ResourceSource& second) : first_(first), second_(second) {}
    std::optional<std::string> Load(int id, std::string_view type) const override {
        std::optional<std::string> bytes = first_.Load(id, type);
        return bytes ? bytes : second_.Load(id, type);
    }

private:
    const ResourceSource& first_;
    const ResourceSource& second_;
};

// Status numbers of ExtractResource besides 0 (success).
enum ExtractStatus : int {
    kExtractResourceMissing = 326,  // no resource of that id and type
    kExtractAccessDenied = 75,      // the target or its folder may not be written
    kExtractPathNotFound = 76,      // the target's folder does not exist
    kExtractDiskFull = 61,
    kExtractWriteFailed = 57,       // any other input/output error
};

// Copies resource `id` of `type` byte for byte into `target`, replacing its
// content. Returns 0, or the number of the error that stopped it; never throws.
// The target is replaced whole, so a failed extraction leaves the old file.
// Temporary files and the skin, made again at every start, skip the wait for
// the disk (Durability::kCache).
int ExtractResource(const ResourceSource& resources, int id, std::string_view type,
                    const std::filesystem::path& target, Durability durability = Durability::kFlushed) noexcept;

// The status ExtractResource gives for a write that failed with `error`.
int ExtractStatusFor(std::error_code error);

// Words for an ExtractResource status, for messages to the pupil.
std::string ExtractStatusText(int status);

inline constexpr std::string_view kCustomType = "Custom";

}  // namespace ep
