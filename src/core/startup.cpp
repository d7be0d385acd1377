#include "startup.h"

#include "results_store.h"
#include "tagged_file.h"

namespace ep {

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
        throw StartupError("The program cannot work in its folder " + folder + ": " + ExtractStatusText(status) +
                           ". It needs a folder it may write to.");
    }
    data.firstModule = data.course.FirstModule();
    if (data.firstModule == 0) {
        throw StartupError("The course in this program defines no module, so it cannot start.");
    }
    status = CreateMissingResultsFiles(resources, data.course, dataFolder);
    if (status != 0) {
        throw StartupError("The program cannot create its results files in its folder " + folder + ": " +
                           ExtractStatusText(status) + ".");
    }
    return data;
}

}  // namespace ep
