// libFuzzer: the readers of tagged files, the checks of the results values
// and the journal a start reads, on any bytes. They may refuse the bytes, with
// a TaggedFileError, but never crash or throw anything else.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "file_io.h"
#include "results_store.h"
#include "store_change.h"
#include "tagged_file.h"

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "ep-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

template <typename Read>
void Try(Read read) {
    try {
        read();
    } catch (const ep::TaggedFileError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path file = Folder() / "marks2FIX.txt";
    if (ep::WriteNewFile(file, bytes, ep::Durability::kCache)) return 0;

    Try([&] { ep::ReadMarksLists(file, 10); });
    Try([&] { ep::ReadTrendScores(file); });
    Try([&] { ep::ReadAllValues(file, "FSE"); });
    Try([&] { ep::ReadField(file, "NME"); });
    Try([&] { ep::ReadValues10(file, "TN2", 3); });
    Try([&] {
        ep::TextList lines = ep::ReadNumberedLines(file, 50);
        for (const std::string& line : lines) ep::SplitAllValues(line);
    });
    Try([&] { ep::ReadValuesForKeys(file, ep::TextList{"20011", "20013"}, 2); });
    Try([&] { ep::SplitTaggedLine80(bytes, 3); });
    Try([&] { ep::CheckModuleStore(Folder(), "FIX", 2, 10); });

    // The same bytes as a journal left by a killed run.
    const std::vector<std::string> names = {"marks2FIX.txt", "trend2FIX.txt"};
    (void)ep::WriteNewFile(Folder() / "trend2FIX.txt.tmp", bytes.substr(0, 16), ep::Durability::kCache);
    (void)ep::WriteNewFile(Folder() / ep::kJournalName, bytes, ep::Durability::kCache);
    ep::RecoverStoreChange(Folder(), names);
    return 0;
}
