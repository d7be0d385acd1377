#pragma once

// The start-up steps that need no window: reading the course definition and
// making sure the results store of every defined module exists.

#include <filesystem>
#include <stdexcept>
#include <string>

#include "course.h"
#include "resources.h"

namespace ep {

// Start-up cannot go on; the message names the data folder and the reason, in
// words for the pupil.
class StartupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct StartupData {
    CourseDefinition course;
    int firstModule = 0;  // the module made current at start-up
};

// Reads the course definition into the data folder's temporary file and
// creates every missing results file. Throws StartupError when the data folder
// cannot be written, the course definition is damaged or defines no module.
StartupData PrepareCourseData(const ResourceSource& resources, const std::filesystem::path& dataFolder);

}  // namespace ep
