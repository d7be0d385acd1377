// libFuzzer: the web-archive reader of coursetool on any bytes. It refuses
// what it cannot read with a reason, and never crashes or throws.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "web_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::optional<ep::coursetool::WebArchive> archive = ep::coursetool::ParseWebArchive(bytes, error);
    if (!archive && error.empty()) std::abort();  // a refusal always says why
    if (archive) {
        for (const ep::coursetool::ArchivePart& part : archive->parts) {
            ep::coursetool::PageText(part.body);
            ep::coursetool::ResolveReference(part.Location(), "p.svg");
            ep::coursetool::HeaderParameter(part.Header("content-type"), "charset");
        }
    }
    return 0;
}
