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
#include <string>
#include <string_view>

#include "course.h"
#include "list.h"
#include "resources.h"

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

// Writes the six files of every defined module from their templates, erasing
// every result. Returns 0, or the first extraction status that was not 0.
int CreateResultsFiles(const ResourceSource& resources, const CourseDefinition& course,
                       const std::filesystem::path& dataFolder);

// The first-run test: creates, from its template, every results file of a
// defined module that does not exist. Files that exist are never touched, so
// the loss of one file costs the pupil no other result. Returns 0, or the
// first extraction status that was not 0.
int CreateMissingResultsFiles(const ResourceSource& resources, const CourseDefinition& course,
                              const std::filesystem::path& dataFolder);

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

MarksLists ReadMarksLists(const std::filesystem::path& file, int paperCount);
void WriteMarksLists(const std::filesystem::path& file, const MarksLists& marks, int paperCount);

// A per-paper file as a paper window holds it: every line (as read, so the
// other papers' lines are written back unchanged) and the values of one paper.
struct PaperLine {
    TextList lines;   // 50 entries, line i of key 100 + i
    TextList values;  // the paper's values, one per answer slot
};

PaperLine ReadPaperLine(const std::filesystem::path& file, int paperCount, int paperKey, int slotCount);

// Rewrites the file with `values` as the paper's line; `line.lines` follows.
void WritePaperLine(const std::filesystem::path& file, PaperLine& line, const TextList& values, int paperKey,
                    int paperCount, int slotCount);

// Appends a first-attempt score to the trend line and rewrites the file as
// that one line. A file without its "TRD" line is refused rather than
// rewritten without a key.
void AppendTrendScore(const std::filesystem::path& file, std::string_view score);

// The scores of the trend line, oldest first.
TextList ReadTrendScores(const std::filesystem::path& file);

// What the home window loads for the current module: its topics, papers and marks.
struct ModuleResults {
    int module = 0;
    int topicCount = 0;
    int paperCount = 0;
    TextList topicNames;
    MarksLists marks;
};

// The data of the home window's loading of a module's results. `moduleIndicator`
// is the module digit as text ("1".."3"), as the home window holds it.
ModuleResults LoadModuleResults(const CourseDefinition& course, std::string_view moduleIndicator,
                                std::string_view courseCode, const std::filesystem::path& dataFolder);

}  // namespace ep
