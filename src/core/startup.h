#pragma once

// The start-up steps that need no window: reading the course definition and
// making sure the results store of every defined module exists.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "course.h"
#include "resources.h"
#include "results_store.h"

namespace ep {

// Start-up cannot go on; the message names the data folder and the reason, in
// words for the pupil.
class StartupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A module whose results files a start found missing or damaged. Nothing of
// it is written until the pupil chooses: bring back the backup, or start
// the module afresh.
struct ModuleTrouble {
    int module = 0;
    std::vector<StoreProblem> problems;
    std::optional<std::string> backup;  // the newest backup of the module that reads cleanly
};

struct StartupData {
    CourseDefinition course;
    int firstModule = 0;  // the module made current at start-up
    std::vector<ModuleTrouble> trouble;
};

// Reads the course definition into the data folder's temporary file, then,
// before anything reads the store, finishes or discards a change that a
// killed run left, and checks every module's results files. A module with no
// files and no backup is a first start: its files are made from the
// templates. Throws StartupError when the data folder cannot be written, the
// course definition is damaged or defines no module.
StartupData PrepareCourseData(const ResourceSource& resources, const std::filesystem::path& dataFolder);

}  // namespace ep
