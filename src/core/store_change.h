#pragma once

// Changes of the results store, each one commit, and the store's backups.
//
// A change writes every file it replaces beside its target (name + ".tmp")
// and flushes it. When it replaces more than one file it then writes and
// flushes the journal, which names them all: once the journal is whole the
// change has happened, whatever comes next. Then each file is renamed into
// place, the folder is flushed and the journal removed (and the folder
// flushed again, so no journal outlives its change). A change of one file
// needs no journal: its rename is its commit.
//
// The journal "results.journal", LF line ends:
//   exampractice results journal
//   SIZE CHECKSUM NAME        one line per file, NAME in the data folder
//   end CHECKSUM              of every byte above this line
// Checksums are 64-bit FNV-1a in hexadecimal.
//
// Backups: "backups/" in the data folder, one folder per backup named by its
// local date and time ("2026-03-14_10-32-05"), holding a copy of every store
// file that existed. A backup is written as that name + ".tmp" and renamed
// when complete, so a folder with a plain name is always a whole set. The
// ten newest are kept.

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tagged_file.h"

namespace ep {

inline constexpr std::string_view kJournalName = "results.journal";
inline constexpr std::string_view kBackupsFolder = "backups";
inline constexpr std::size_t kBackupsKept = 10;

// A file of the store could not be written; nothing was changed.
class StoreWriteError : public TaggedFileError {
public:
    StoreWriteError(const std::filesystem::path& file, std::string_view key, std::error_code code);
    std::error_code code() const { return code_; }

private:
    std::error_code code_;
};

// Every results file name a course code can have (modules 1 to 3); the store
// is made of those that exist.
std::vector<std::string> StoreFileNames(std::string_view courseCode);

struct BackupSet {
    std::string name;                           // its folder in backups/
    std::map<std::string, std::string> files;   // file name -> bytes
};

enum class BackupRule {
    kDaily,   // before the first change of the day; a backup that fails does not stop the change
    kAlways,  // before an erase or a restore: no change without it (when there is anything to keep)
};

class StoreChange {
public:
    StoreChange(std::filesystem::path dataFolder, std::string courseCode);

    // Adds a file of the data folder to the change; `key` names the line in messages.
    void Replace(const std::filesystem::path& file, std::string bytes, std::string_view key = {});
    bool empty() const { return files_.empty(); }

    // Backs the store up as the rule says, then makes the change. Throws
    // StoreWriteError naming what could not be written; the store is then
    // as it was. Returns the backup it made.
    std::optional<BackupSet> Commit(BackupRule rule = BackupRule::kDaily);

private:
    struct File {
        std::filesystem::path target;
        std::string bytes;
        std::string key;
    };
    std::filesystem::path folder_;
    std::string code_;
    std::vector<File> files_;
};

enum class Recovery { kNone, kFinished, kDiscarded };

// Before anything reads the store: finishes a change whose journal is whole,
// or removes what an unfinished one wrote beside the files `storeNames`, and
// what a backup cut short left in the backups folder.
Recovery RecoverStoreChange(const std::filesystem::path& dataFolder, const std::vector<std::string>& storeNames);

// ---- Backups

// The clock that dates backups; nullptr puts back the system clock.
using BackupClock = std::chrono::system_clock::time_point (*)();
void SetBackupClock(BackupClock clock);

// Copies every file of `names` that exists into a new backup, then keeps the
// ten newest. Nothing is made when none exists. Throws StoreWriteError, or a
// TaggedFileError for a file that cannot be read.
std::optional<BackupSet> MakeBackup(const std::filesystem::path& dataFolder, const std::vector<std::string>& names);

// Whole backups, newest first.
std::vector<std::string> ListBackups(const std::filesystem::path& dataFolder);

// Whether the newest backup was made today.
bool BackedUpToday(const std::filesystem::path& dataFolder);

// The folder of a backup.
std::filesystem::path BackupFolder(const std::filesystem::path& dataFolder, std::string_view name);

// The files of `names` that backup `name` holds. Throws TaggedFileError when one cannot be read.
BackupSet ReadBackup(const std::filesystem::path& dataFolder, std::string_view name,
                     const std::vector<std::string>& names);

// The date and time a backup's name holds: {year, month, day, hour, minute, second}.
std::optional<std::array<int, 6>> BackupTime(std::string_view name);

}  // namespace ep
