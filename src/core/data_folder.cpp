#include "data_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace ep {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool Within(const std::filesystem::path& folder, const std::filesystem::path& tree) {
    auto f = folder.begin();
    for (auto t = tree.begin(); t != tree.end(); ++t, ++f) {
        if (f == folder.end() || *f != *t) return false;
    }
    return true;
}

// Makes the missing folders of `folder`, each readable by its owner only, as
// the XDG base directory rules ask of a data folder.
void MakePrivateFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> missing;
    std::error_code error;
    for (std::filesystem::path p = folder; !p.empty() && !std::filesystem::exists(p, error);
         p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto p = missing.rbegin(); p != missing.rend(); ++p) {
        if (!std::filesystem::create_directory(*p, error)) return;
        std::filesystem::permissions(*p, std::filesystem::perms::owner_all, error);
    }
}

}  // namespace

DataFolderEnvironment CurrentDataFolderEnvironment() {
    DataFolderEnvironment environment{Variable("XDG_DATA_HOME"), Variable("HOME")};
    if (environment.home.empty()) {
        if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) {
            environment.home = account->pw_dir;
        }
    }
    return environment;
}

bool MayKeepDataBesideProgram(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = programFolder.lexically_normal();
    if (Within(folder, "/usr") || Within(folder, "/opt")) return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path PupilDataFolder(const DataFolderEnvironment& environment) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    const std::filesystem::path xdg = environment.xdgDataHome;
    if (xdg.is_absolute()) return xdg / "exampractice";
    if (environment.home.empty()) return {};
    return std::filesystem::path(environment.home) / ".local" / "share" / "exampractice";
}

std::filesystem::path ChooseDataFolder(const std::filesystem::path& programFolder,
                                       const DataFolderEnvironment& environment) {
    if (MayKeepDataBesideProgram(programFolder)) return programFolder;
    const std::filesystem::path pupil = PupilDataFolder(environment);
    // Nowhere else to go: start-up will say the program's folder is not writable.
    if (pupil.empty()) return programFolder;
    MakePrivateFolders(pupil);
    return pupil;
}

}  // namespace ep
