#pragma once

// Where the program keeps what it writes (results, "Graphics", temporary
// files): beside the program when the pupil may write there, as a build or an
// install in the pupil's home has always done, otherwise in the pupil's own
// data folder, so that a system-wide install gives every pupil results of
// their own.

#include <filesystem>
#include <string>

namespace ep {

// What the choice depends on besides the program's folder; "" means unset.
struct DataFolderEnvironment {
    std::string xdgDataHome;  // $XDG_DATA_HOME
    std::string home;         // $HOME, else the account's home folder
};

// The environment of this process.
DataFolderEnvironment CurrentDataFolderEnvironment();

// True when this process may write to the program's folder and the folder is
// not part of the system's read-only tree (/usr, /opt), which even root keeps
// free of a pupil's results.
bool MayKeepDataBesideProgram(const std::filesystem::path& programFolder);

// $XDG_DATA_HOME/exampractice, or ~/.local/share/exampractice when the
// variable is unset or not an absolute path; "" when there is no home either.
std::filesystem::path PupilDataFolder(const DataFolderEnvironment& environment);

// The data folder of a program kept in `programFolder`. A pupil's data folder
// that does not exist yet is made (its new folders private to the pupil). A
// folder that cannot be made is still the answer: start-up names it when it
// fails to write there.
std::filesystem::path ChooseDataFolder(const std::filesystem::path& programFolder,
                                       const DataFolderEnvironment& environment);

}  // namespace ep
