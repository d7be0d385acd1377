#include "store_change.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "file_io.h"
#include "results_store.h"

namespace ep {
namespace {

constexpr std::string_view kJournalHeader = "exampractice results journal\n";
constexpr std::string_view kTempSuffix = ".tmp";

BackupClock backupClock = nullptr;

std::chrono::system_clock::time_point Now() {
    return backupClock ? backupClock() : std::chrono::system_clock::now();
}

std::uint64_t Checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::filesystem::path TempOf(const std::filesystem::path& file) {
    std::filesystem::path temp = file;
    temp += kTempSuffix;
    return temp;
}

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

struct JournalEntry {
    std::size_t size = 0;
    std::string checksum;
    std::string name;
};

// The journal's entries, or nothing when it is not whole.
std::optional<std::vector<JournalEntry>> ParseJournal(std::string_view bytes) {
    if (bytes.substr(0, kJournalHeader.size()) != kJournalHeader) return std::nullopt;
    const std::size_t endLine = bytes.rfind("end ");
    if (endLine == std::string_view::npos || (endLine > 0 && bytes[endLine - 1] != '\n')) return std::nullopt;
    if (bytes.substr(endLine) != "end " + Hex(Checksum(bytes.substr(0, endLine))) + "\n") return std::nullopt;
    std::vector<JournalEntry> entries;
    std::string_view body = bytes.substr(kJournalHeader.size(), endLine - kJournalHeader.size());
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view line = body.substr(0, end);
        body.remove_prefix(end + 1);
        const std::size_t first = line.find(' ');
        const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
        if (second == std::string_view::npos) return std::nullopt;
        JournalEntry entry;
        auto [ptr, error] = std::from_chars(line.data(), line.data() + first, entry.size);
        if (error != std::errc() || ptr != line.data() + first) return std::nullopt;
        entry.checksum = std::string(line.substr(first + 1, second - first - 1));
        entry.name = std::string(line.substr(second + 1));
        entries.push_back(std::move(entry));
    }
    return entries;
}

void RemoveTemps(const std::filesystem::path& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) (void)RemoveFile(TempOf(folder / name));
}

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

std::string StampOf(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    return std::to_string(local.tm_year + 1900) + "-" + TwoDigits(local.tm_mon + 1) + "-" + TwoDigits(local.tm_mday) +
           "_" + TwoDigits(local.tm_hour) + "-" + TwoDigits(local.tm_min) + "-" + TwoDigits(local.tm_sec);
}

// A backup's name is its time, with "_2", "_3" ... for further backups in the same second.
std::optional<std::pair<std::array<int, 6>, int>> ParseBackupName(std::string_view name) {
    constexpr std::string_view kShape = "dddd-dd-dd_dd-dd-dd";
    if (name.size() < kShape.size()) return std::nullopt;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (kShape[i] == 'd' ? !digit : name[i] != kShape[i]) return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        std::from_chars(name.data() + at, name.data() + at + length, value);
        return value;
    };
    std::array<int, 6> time = {number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2)};
    int sequence = 1;
    std::string_view rest = name.substr(kShape.size());
    if (!rest.empty()) {
        if (rest.size() < 2 || rest.front() != '_') return std::nullopt;
        auto [ptr, error] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), sequence);
        if (error != std::errc() || ptr != rest.data() + rest.size() || sequence < 2) return std::nullopt;
    }
    return std::make_pair(time, sequence);
}

// What a backup cut short left behind: its folder under the ".tmp" name.
void RemoveUnfinishedBackups(const std::filesystem::path& dataFolder) {
    std::error_code listing;
    std::vector<std::filesystem::path> unfinished;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder / kBackupsFolder, listing)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > kTempSuffix.size() && name.ends_with(kTempSuffix) &&
            ParseBackupName(std::string_view(name).substr(0, name.size() - kTempSuffix.size()))) {
            unfinished.push_back(entry.path());
        }
    }
    for (const auto& folder : unfinished) (void)RemoveFolder(folder);
}

}  // namespace

StoreWriteError::StoreWriteError(const std::filesystem::path& file, std::string_view key, std::error_code code)
    : TaggedFileError(file.string(), std::string(key), "cannot be written (" + code.message() + ")"), code_(code) {}

std::vector<std::string> StoreFileNames(std::string_view courseCode) {
    std::vector<std::string> names;
    for (int m = 1; m <= 3; ++m) {
        for (ResultsFile file : kResultsFiles) names.push_back(ResultsFileName(file, m, courseCode));
    }
    return names;
}

StoreChange::StoreChange(std::filesystem::path dataFolder, std::string courseCode)
    : folder_(std::move(dataFolder)), code_(std::move(courseCode)) {}

void StoreChange::Replace(const std::filesystem::path& file, std::string bytes, std::string_view key) {
    for (File& f : files_) {
        if (f.target == file) {
            f.bytes = std::move(bytes);
            return;
        }
    }
    files_.push_back({file, std::move(bytes), std::string(key)});
}

std::optional<BackupSet> StoreChange::Commit(BackupRule rule) {
    if (files_.empty()) return std::nullopt;
    for (const File& f : files_) {
        // A file the pupil may not write is refused, as writing it in place would be.
        if (::access(f.target.c_str(), F_OK) == 0 && ::access(f.target.c_str(), W_OK) != 0) {
            throw StoreWriteError(f.target, f.key, std::error_code(EACCES, std::generic_category()));
        }
    }
    std::optional<BackupSet> backup;
    if (rule == BackupRule::kAlways) {
        backup = MakeBackup(folder_, StoreFileNames(code_));
    } else if (!BackedUpToday(folder_)) {
        try {
            backup = MakeBackup(folder_, StoreFileNames(code_));
        } catch (const TaggedFileError&) {
            // Tried again at the next change; the pupil's work goes on.
        }
    }

    auto abandon = [this](const File& failed, std::error_code error) {
        for (const File& f : files_) (void)RemoveFile(TempOf(f.target));
        (void)RemoveFile(folder_ / kJournalName);
        throw StoreWriteError(failed.target, failed.key, error);
    };
    for (const File& f : files_) {
        if (std::error_code error = WriteNewFile(TempOf(f.target), f.bytes, Durability::kFlushed)) abandon(f, error);
    }
    const bool journal = files_.size() > 1;
    if (journal) {
        std::string text(kJournalHeader);
        for (const File& f : files_) {
            text += std::to_string(f.bytes.size()) + " " + Hex(Checksum(f.bytes)) + " " +
                    f.target.filename().string() + "\n";
        }
        text += "end " + Hex(Checksum(text)) + "\n";
        const File journalFile{folder_ / kJournalName, {}, {}};
        if (std::error_code error = WriteNewFile(journalFile.target, text, Durability::kFlushed)) {
            abandon(journalFile, error);
        }
        if (std::error_code error = SyncFolder(folder_)) abandon(journalFile, error);
    }
    // Committed: from here on a start finishes the change if this does not.
    std::optional<std::pair<const File*, std::error_code>> failure;
    for (const File& f : files_) {
        std::error_code error = RenameFile(TempOf(f.target), f.target);
        if (error && !failure) failure = std::make_pair(&f, error);
    }
    std::error_code synced = SyncFolder(folder_);
    if (failure) throw StoreWriteError(failure->first->target, failure->first->key, failure->second);
    if (synced) throw StoreWriteError(folder_, {}, synced);
    if (journal) {
        (void)RemoveFile(folder_ / kJournalName);
        (void)SyncFolder(folder_);
    }
    return backup;
}

Recovery RecoverStoreChange(const std::filesystem::path& dataFolder, const std::vector<std::string>& storeNames) {
    const std::filesystem::path journalPath = dataFolder / kJournalName;
    std::string bytes;
    const bool hasJournal = !ReadWholeFile(journalPath, bytes);
    std::optional<std::vector<JournalEntry>> entries = hasJournal ? ParseJournal(bytes) : std::nullopt;
    bool whole = entries.has_value() && !entries->empty();
    if (whole) {
        for (const JournalEntry& entry : *entries) {
            if (std::find(storeNames.begin(), storeNames.end(), entry.name) == storeNames.end()) whole = false;
            const std::filesystem::path temp = TempOf(dataFolder / entry.name);
            std::string staged;
            if (!whole || !IsRegularFile(temp)) continue;  // gone: already renamed into place
            if (ReadWholeFile(temp, staged) || staged.size() != entry.size || Hex(Checksum(staged)) != entry.checksum) {
                whole = false;
            }
        }
    }
    bool discarded = false;
    if (whole) {
        for (const JournalEntry& entry : *entries) {
            const std::filesystem::path target = dataFolder / entry.name;
            if (IsRegularFile(TempOf(target))) (void)RenameFile(TempOf(target), target);
        }
        (void)SyncFolder(dataFolder);
    } else {
        for (const std::string& name : storeNames) discarded = discarded || IsRegularFile(TempOf(dataFolder / name));
        RemoveTemps(dataFolder, storeNames);
    }
    if (hasJournal) {
        (void)RemoveFile(journalPath);
        (void)SyncFolder(dataFolder);
    }
    RemoveUnfinishedBackups(dataFolder);
    if (whole) return Recovery::kFinished;
    return discarded || hasJournal ? Recovery::kDiscarded : Recovery::kNone;
}

// ---- Backups

void SetBackupClock(BackupClock clock) { backupClock = clock; }

std::filesystem::path BackupFolder(const std::filesystem::path& dataFolder, std::string_view name) {
    return dataFolder / kBackupsFolder / name;
}

std::optional<std::array<int, 6>> BackupTime(std::string_view name) {
    auto parsed = ParseBackupName(name);
    if (!parsed) return std::nullopt;
    return parsed->first;
}

std::vector<std::string> ListBackups(const std::filesystem::path& dataFolder) {
    std::vector<std::pair<std::pair<std::array<int, 6>, int>, std::string>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder / kBackupsFolder, error)) {
        std::error_code ignored;
        if (!entry.is_directory(ignored)) continue;
        const std::string name = entry.path().filename().string();
        if (auto parsed = ParseBackupName(name)) found.emplace_back(*parsed, name);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> names;
    for (auto& [order, name] : found) names.push_back(std::move(name));
    return names;
}

bool BackedUpToday(const std::filesystem::path& dataFolder) {
    const std::vector<std::string> backups = ListBackups(dataFolder);
    return !backups.empty() && backups.front().substr(0, 10) == StampOf(Now()).substr(0, 10);
}

std::optional<BackupSet> MakeBackup(const std::filesystem::path& dataFolder, const std::vector<std::string>& names) {
    BackupSet set;
    for (const std::string& name : names) {
        const std::filesystem::path file = dataFolder / name;
        if (!IsRegularFile(file)) continue;
        std::string bytes;
        if (std::error_code error = ReadWholeFile(file, bytes)) {
            throw TaggedFileError(file.string(), {}, "cannot be read (" + error.message() + ")");
        }
        set.files.emplace(name, std::move(bytes));
    }
    if (set.files.empty()) return std::nullopt;

    const std::filesystem::path backups = dataFolder / kBackupsFolder;
    if (std::error_code error = MakeFolder(backups)) throw StoreWriteError(backups, {}, error);
    RemoveUnfinishedBackups(dataFolder);
    std::error_code listing;
    const std::string stamp = StampOf(Now());
    set.name = stamp;
    for (int n = 2; std::filesystem::exists(backups / set.name, listing); ++n) set.name = stamp + "_" + std::to_string(n);
    const std::filesystem::path folder = backups / set.name;
    const std::filesystem::path temp = TempOf(folder);
    auto fail = [&](const std::filesystem::path& what, std::error_code error) {
        (void)RemoveFolder(temp);
        throw StoreWriteError(what, {}, error);
    };
    if (std::error_code error = MakeFolder(temp)) fail(temp, error);
    for (const auto& [name, bytes] : set.files) {
        if (std::error_code error = WriteNewFile(temp / name, bytes, Durability::kFlushed)) fail(temp / name, error);
    }
    if (std::error_code error = SyncFolder(temp)) fail(temp, error);
    if (std::error_code error = RenameFile(temp, folder)) fail(folder, error);
    (void)SyncFolder(backups);

    const std::vector<std::string> kept = ListBackups(dataFolder);
    for (std::size_t i = kBackupsKept; i < kept.size(); ++i) (void)RemoveFolder(backups / kept[i]);
    return set;
}

BackupSet ReadBackup(const std::filesystem::path& dataFolder, std::string_view name,
                     const std::vector<std::string>& names) {
    BackupSet set;
    set.name = std::string(name);
    const std::filesystem::path folder = BackupFolder(dataFolder, name);
    for (const std::string& file : names) {
        if (!IsRegularFile(folder / file)) continue;
        std::string bytes;
        if (std::error_code error = ReadWholeFile(folder / file, bytes)) {
            throw TaggedFileError((folder / file).string(), {}, "cannot be read (" + error.message() + ")");
        }
        set.files.emplace(file, std::move(bytes));
    }
    return set;
}

}  // namespace ep
