#include "startup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "results_store.h"
#include "store_change.h"
#include "tagged_file.h"

namespace ep {
namespace {

bool IsPageName(const std::string& name) {
    // "temppaper" + question id + ".mht", as a paper window writes them.
    const std::string head = "temppaper";
    const std::string tail = ".mht";
    if (name.size() <= head.size() + tail.size() || name.rfind(head, 0) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0) {
        return false;
    }
    for (std::size_t i = head.size(); i < name.size() - tail.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
    }
    return true;
}

bool EndsWith(const std::string& name, std::string_view tail) {
    return name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

// What a run that was killed can leave behind besides a change of the
// results store: the temporary catalogue text and the question page on show.
// Only those names, and only files, so nothing else in the folder is touched.
void RemoveLeftovers(const std::filesystem::path& dataFolder) {
    const std::vector<std::string> names = {"temptext.txt", "temptext.txt.tmp", "temptext30000.txt.tmp"};
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder, error)) {
        const std::string name = entry.path().filename().string();
        const bool page = IsPageName(name) || (EndsWith(name, ".tmp") && IsPageName(name.substr(0, name.size() - 4)));
        if (!page && std::find(names.begin(), names.end(), name) == names.end()) continue;
        std::error_code ignored;
        if (entry.is_regular_file(ignored)) std::filesystem::remove(entry.path(), ignored);
    }
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder / "Graphics", error)) {
        std::error_code ignored;
        if (EndsWith(entry.path().filename().string(), ".tmp") && entry.is_regular_file(ignored)) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
}

}  // namespace

StartupData PrepareCourseData(const ResourceSource& resources, const std::filesystem::path& dataFolder) {
    const std::string folder = dataFolder.string();
    StartupData data;
    int status = 0;
    try {
        data.course = ReadCourseDefinition(resources, dataFolder, status);
    } catch (const TaggedFileError& error) {
        throw StartupError("The course in this program is damaged (" + error.reason() + ", key \"" + error.key() +
                           "\"), so it cannot start.");
    }
    if (status != 0) {
        if (status == kExtractResourceMissing) {
            throw StartupError("The course in this program is damaged (" + ExtractStatusText(status) +
                               "), so it cannot start.");
        }
        throw StartupError("The program cannot work in its folder " + folder + ": " + ExtractStatusText(status) +
                           ". It needs a folder it may write to.");
    }
    data.firstModule = data.course.FirstModule();
    if (data.firstModule == 0) {
        throw StartupError("The course in this program defines no module, so it cannot start.");
    }
    std::vector<std::string> storeNames;
    for (int m = 1; m <= 3; ++m) {
        if (!data.course.Module(m).Defined()) continue;
        for (ResultsFile file : kResultsFiles) storeNames.push_back(ResultsFileName(file, m, data.course.code));
    }
    RecoverStoreChange(dataFolder, storeNames);
    RemoveLeftovers(dataFolder);
    const bool anyBackup = !ListBackups(dataFolder).empty();
    StoreChange firstStart(dataFolder, data.course.code);
    for (int m = 1; m <= 3; ++m) {
        const ModuleDefinition& module = data.course.Module(m);
        if (!module.Defined()) continue;
        ModuleTrouble trouble{m, CheckModuleStore(dataFolder, data.course.code, m, module.paperCount), {}};
        if (trouble.problems.empty()) continue;
        const bool none = std::all_of(trouble.problems.begin(), trouble.problems.end(),
                                      [](const StoreProblem& p) { return p.missing; }) &&
                          trouble.problems.size() == kResultsFiles.size();
        if (none && !anyBackup) {
            for (ResultsFile file : kResultsFiles) {
                const int id = TemplateResource(file, m);
                std::optional<std::string> bytes = resources.Load(id, kCustomType);
                if (!bytes) {
                    throw StartupError("The course in this program is damaged (" +
                                       ExtractStatusText(kExtractResourceMissing) + "), so it cannot start.");
                }
                firstStart.Replace(ResultsFilePath(dataFolder, file, m, data.course.code), *std::move(bytes));
            }
            continue;
        }
        trouble.backup = NewestCleanBackup(dataFolder, data.course.code, m, module.paperCount);
        data.trouble.push_back(std::move(trouble));
    }
    try {
        firstStart.Commit();
    } catch (const StoreWriteError& error) {
        throw StartupError("The program cannot create its results files in its folder " + folder + ": " +
                           ExtractStatusText(ExtractStatusFor(error.code())) + ".");
    }
    return data;
}

}  // namespace ep
