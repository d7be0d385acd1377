#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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
int ExtractResource(const ResourceSource& resources, int id, std::string_view type,
                    const std::filesystem::path& target) noexcept;

// Words for an ExtractResource status, for messages to the pupil.
std::string ExtractStatusText(int status);

inline constexpr std::string_view kCustomType = "Custom";

}  // namespace ep
