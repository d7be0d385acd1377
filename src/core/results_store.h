#pragma once

// The results store: six tagged files per module in the data folder.
//   marks   "marks" m C ".txt"    FSE, SSE, LTM, CDD, FST, SST: one value per paper
//   first   "first" m C ".txt"    per paper "#101#".."#150#": the answers of the first attempt
//   second, fresults, sresults    the same for the second attempt's answers and both attempts' ticks
//   trend   "trend" m C ".txt"    "#TRD#" then ">" and each first-attempt score, in marking order
// m is the module digit, C the course code. Each file is made from template
// resource 30100 + 10m + 1 .. 6, in that order.

#include <array>
#include <filesystem>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "course.h"
#include "list.h"
#include "resources.h"
#include "store_change.h"

namespace ep {

enum class ResultsFile { kMarks = 1, kFirst, kSecond, kFirstResults, kSecondResults, kTrend };

inline constexpr std::array<ResultsFile, 6> kResultsFiles = {
    ResultsFile::kMarks,         ResultsFile::kFirst,         ResultsFile::kSecond,
    ResultsFile::kFirstResults,  ResultsFile::kSecondResults, ResultsFile::kTrend,
};

std::string ResultsFileName(ResultsFile file, int module, std::string_view courseCode);
std::filesystem::path ResultsFilePath(const std::filesystem::path& dataFolder, ResultsFile file, int module,
                                      std::string_view courseCode);
inline int TemplateResource(ResultsFile file, int module) { return 30100 + 10 * module + static_cast<int>(file); }

// Erasing all results: the six files of every defined module back to their
// templates, as one change, after a backup of the whole store (returned in
// `backup` when one was made). Returns 0, or the status of what stopped it;
// nothing is changed then.
int CreateResultsFiles(const ResourceSource& resources, const CourseDefinition& course,
                       const std::filesystem::path& dataFolder, std::optional<BackupSet>* backup = nullptr);

// A module's six files from their templates, as one change, after a backup
// of what is there. Throws TaggedFileError (StoreWriteError when a file
// cannot be written).
void StartModuleAfresh(const ResourceSource& resources, const CourseDefinition& course,
                       const std::filesystem::path& dataFolder, int module);

// Puts the files of a backup set back, as one change, after a backup of what
// is there. Throws as StartModuleAfresh.
void RestoreBackupSet(const std::filesystem::path& dataFolder, std::string_view courseCode, const BackupSet& set);

// A results file that is missing or does not read as the program writes it.
struct StoreProblem {
    std::string file;    // its name
    bool missing = false;
    std::string reason;  // for a damaged file
};

// Reads the six files of a module in `folder` (the data folder or a backup)
// and says what is wrong with each; nothing when all read cleanly.
std::vector<StoreProblem> CheckModuleStore(const std::filesystem::path& folder, std::string_view courseCode,
                                           int module, int paperCount);

// The newest backup whose six files of the module read cleanly.
std::optional<std::string> NewestCleanBackup(const std::filesystem::path& dataFolder, std::string_view courseCode,
                                             int module, int paperCount);

// The six lines of the marks file, one value per paper slot (slot p = paper key - 100).
struct MarksLists {
    TextList FSE;  // first-attempt score, as "66.7"
    TextList SSE;  // second-attempt score
    TextList LTM;  // time the first attempt took, "0:12:5"
    TextList CDD;  // date the first attempt was marked
    TextList FST;  // "1" once the first attempt is marked, else "0"
    TextList SST;  // the same for the second attempt

    friend bool operator==(const MarksLists&, const MarksLists&) = default;
};

inline constexpr std::array<std::string_view, 6> kMarksKeys = {"FSE", "SSE", "LTM", "CDD", "FST", "SST"};

// Reads the six lines, and refuses, naming the key and the paper, a state
// that is not "0" or "1", a score that is not a percentage as marking writes
// it, a time or a date that cannot be one, or a marked attempt without its score.
MarksLists ReadMarksLists(const std::filesystem::path& file, int paperCount);
std::string MarksBytes(const std::filesystem::path& file, const MarksLists& marks, int paperCount);
void WriteMarksLists(const std::filesystem::path& file, const MarksLists& marks, int paperCount);

// A per-paper file as a paper window holds it: every line (as read, so the
// other papers' lines are written back unchanged) and the values of one paper.
struct PaperLine {
    TextList lines;   // 50 entries, line i of key 100 + i
    TextList values;  // the paper's values, one per answer slot
};

PaperLine ReadPaperLine(const std::filesystem::path& file, int paperCount, int paperKey, int slotCount);

// The bytes of the file with `values` as the paper's line; `line` is not changed.
std::string PaperLineBytes(const std::filesystem::path& file, const PaperLine& line, const TextList& values,
                           int paperKey, int paperCount, int slotCount);
// `line` as it stands once those bytes are the file's.
void SetPaperLine(PaperLine& line, const TextList& values, int paperKey, int slotCount);

// Rewrites the file with `values` as the paper's line; `line.lines` follows.
void WritePaperLine(const std::filesystem::path& file, PaperLine& line, const TextList& values, int paperKey,
                    int paperCount, int slotCount);

// Appends a first-attempt score to the trend line and rewrites the file as
// that one line. A file without its "TRD" line is refused rather than
// rewritten without a key.
void AppendTrendScore(const std::filesystem::path& file, std::string_view score);
// The bytes AppendTrendScore writes.
std::string TrendBytesWith(const std::filesystem::path& file, std::string_view score);

// The scores of the trend line, oldest first; a value that is not a score is refused.
TextList ReadTrendScores(const std::filesystem::path& file);

// What the home window loads for the current module: its topics, papers and marks.
struct ModuleResults {
    int module = 0;
    int topicCount = 0;
    int paperCount = 0;
    TextList topicNames;
    MarksLists marks;
};

// The data of the home window's loading of a module's results. A module any
// of whose six files is missing or damaged is a TaggedFileError naming it. `moduleIndicator`
// is the module digit as text ("1".."3"), as the home window holds it.
ModuleResults LoadModuleResults(const CourseDefinition& course, std::string_view moduleIndicator,
                                std::string_view courseCode, const std::filesystem::path& dataFolder);

}  // namespace ep
