#include "results_store.h"

#include <system_error>

#include "answer_check.h"
#include "tagged_file.h"
#include "text_format.h"

namespace ep {
namespace {

std::string_view BaseName(ResultsFile file) {
    switch (file) {
        case ResultsFile::kMarks: return "marks";
        case ResultsFile::kFirst: return "first";
        case ResultsFile::kSecond: return "second";
        case ResultsFile::kFirstResults: return "fresults";
        case ResultsFile::kSecondResults: return "sresults";
        case ResultsFile::kTrend: return "trend";
    }
    return {};
}

void CheckPaper(const std::filesystem::path& file, int paperKey, int paperCount) {
    if (paperCount < 0 || paperCount > kMaxPapers || paperKey < kFirstPaperKey ||
        paperKey >= kFirstPaperKey + paperCount) {
        throw TaggedFileError(file.string(), std::to_string(paperKey),
                              "not one of the module's " + std::to_string(paperCount) + " papers");
    }
}

}  // namespace

std::string ResultsFileName(ResultsFile file, int module, std::string_view courseCode) {
    std::string name(BaseName(file));
    name += std::to_string(module);
    name += courseCode;
    name += ".txt";
    return name;
}

std::filesystem::path ResultsFilePath(const std::filesystem::path& dataFolder, ResultsFile file, int module,
                                      std::string_view courseCode) {
    return dataFolder / ResultsFileName(file, module, courseCode);
}

namespace {

// Every results file of the defined modules (or of one) from its template.
void StageTemplates(const ResourceSource& resources, const CourseDefinition& course,
                    const std::filesystem::path& dataFolder, int onlyModule, StoreChange& change) {
    for (int m = 1; m <= 3; ++m) {
        if (!course.Module(m).Defined() || (onlyModule != 0 && m != onlyModule)) continue;
        for (ResultsFile file : kResultsFiles) {
            const int id = TemplateResource(file, m);
            std::optional<std::string> bytes = resources.Load(id, kCustomType);
            const std::filesystem::path path = ResultsFilePath(dataFolder, file, m, course.code);
            if (!bytes) {
                throw TaggedFileError(path.string(), {}, "the program does not contain its template, resource " +
                                                             std::to_string(id));
            }
            change.Replace(path, *std::move(bytes));
        }
    }
}

}  // namespace

int CreateResultsFiles(const ResourceSource& resources, const CourseDefinition& course,
                       const std::filesystem::path& dataFolder, std::optional<BackupSet>* backup) {
    try {
        StoreChange change(dataFolder, course.code);
        StageTemplates(resources, course, dataFolder, 0, change);
        std::optional<BackupSet> made = change.Commit(BackupRule::kAlways);
        if (backup) *backup = std::move(made);
        return 0;
    } catch (const StoreWriteError& error) {
        return ExtractStatusFor(error.code());
    } catch (const TaggedFileError&) {
        return kExtractResourceMissing;
    }
}

void StartModuleAfresh(const ResourceSource& resources, const CourseDefinition& course,
                       const std::filesystem::path& dataFolder, int module) {
    StoreChange change(dataFolder, course.code);
    StageTemplates(resources, course, dataFolder, module, change);
    change.Commit(BackupRule::kAlways);
}

void RestoreBackupSet(const std::filesystem::path& dataFolder, std::string_view courseCode, const BackupSet& set) {
    StoreChange change(dataFolder, std::string(courseCode));
    for (const auto& [name, bytes] : set.files) change.Replace(dataFolder / name, bytes);
    change.Commit(BackupRule::kAlways);
}

MarksLists ReadMarksLists(const std::filesystem::path& file, int paperCount) {
    MarksLists marks;
    TextList* lists[] = {&marks.FSE, &marks.SSE, &marks.LTM, &marks.CDD, &marks.FST, &marks.SST};
    for (std::size_t j = 0; j < kMarksKeys.size(); ++j) *lists[j] = ReadValues50(file, kMarksKeys[j], paperCount);
    using Check = bool (*)(std::string_view);
    const Check checks[] = {IsStoredScore, IsStoredScore, IsStoredTime, IsStoredDate, IsStoredState, IsStoredState};
    const char* what[] = {"a score", "a score", "a time", "a date", "0 or 1", "0 or 1"};
    for (std::size_t j = 0; j < kMarksKeys.size(); ++j) {
        for (int p = 1; p <= paperCount; ++p) {
            const std::string& value = (*lists[j])[static_cast<std::size_t>(p)];
            const bool empty = value.empty() && j < 4;  // no score, time or date yet
            if (!empty && !checks[j](value)) {
                throw TaggedFileError(file.string(), std::string(kMarksKeys[j]),
                                      "the value of paper " + std::to_string(kFirstPaperKey + p - 1) + ", \"" +
                                          value + "\", is not " + what[j]);
            }
        }
    }
    for (int p = 1; p <= paperCount; ++p) {
        const std::size_t i = static_cast<std::size_t>(p);
        if ((marks.FST[i] == "1" && marks.FSE[i].empty()) || (marks.SST[i] == "1" && marks.SSE[i].empty())) {
            throw TaggedFileError(file.string(), marks.FST[i] == "1" && marks.FSE[i].empty() ? "FSE" : "SSE",
                                  "paper " + std::to_string(kFirstPaperKey + p - 1) + " is marked without a score");
        }
    }
    return marks;
}

std::string MarksBytes(const std::filesystem::path& file, const MarksLists& marks, int paperCount) {
    return MarksFileBytes({&marks.FSE, &marks.SSE, &marks.LTM, &marks.CDD, &marks.FST, &marks.SST}, kMarksKeys,
                          paperCount, file);
}

void WriteMarksLists(const std::filesystem::path& file, const MarksLists& marks, int paperCount) {
    WriteMarksFile({&marks.FSE, &marks.SSE, &marks.LTM, &marks.CDD, &marks.FST, &marks.SST}, kMarksKeys,
                   paperCount, file);
}

PaperLine ReadPaperLine(const std::filesystem::path& file, int paperCount, int paperKey, int slotCount) {
    CheckPaper(file, paperKey, paperCount);
    PaperLine paper;
    paper.lines = ReadNumberedLines(file, paperCount);
    const std::string& line = paper.lines[static_cast<std::size_t>(paperKey - 100)];
    const std::string key = std::to_string(paperKey);
    if (line.empty()) throw TaggedFileError(file.string(), key, "the key is missing");
    // More values than slots would leave separators inside the last answer.
    TextList values = SplitAllValues(line);
    if (values.size() != static_cast<std::size_t>(slotCount)) {
        throw TaggedFileError(file.string(), key,
                              "the line holds " + std::to_string(values.size()) + " values, " +
                                  std::to_string(slotCount) + " expected");
    }
    paper.values = std::move(values);
    return paper;
}

std::string PaperLineBytes(const std::filesystem::path& file, const PaperLine& line, const TextList& values,
                           int paperKey, int paperCount, int slotCount) {
    CheckPaper(file, paperKey, paperCount);
    return RewrittenLinesBytes(line.lines, values, std::to_string(paperKey - 100), std::to_string(paperKey),
                               paperCount, slotCount, file);
}

void SetPaperLine(PaperLine& line, const TextList& values, int paperKey, int slotCount) {
    line.lines[static_cast<std::size_t>(paperKey - 100)] = KeyedLine(std::to_string(paperKey), values, slotCount);
    line.values = values;
    line.values.resize(static_cast<std::size_t>(slotCount));
}

void WritePaperLine(const std::filesystem::path& file, PaperLine& line, const TextList& values, int paperKey,
                    int paperCount, int slotCount) {
    CheckPaper(file, paperKey, paperCount);
    RewriteTaggedLine(line.lines, values, std::to_string(paperKey - 100), std::to_string(paperKey), paperCount,
                      slotCount, file);
    line.values = values;
    line.values.resize(static_cast<std::size_t>(slotCount));
}

std::string TrendBytesWith(const std::filesystem::path& file, std::string_view score) {
    ReadTrendScores(file);
    std::string line = ReadTaggedLine(file, "TRD");
    if (!IsStorableValue(score) || !IsStoredScore(score)) {
        throw TaggedFileError(file.string(), "TRD", "the score cannot be stored");
    }
    line += '>';
    line += score;
    return TaggedLinesBytes(file, TextList{line}, "TRD");
}

void AppendTrendScore(const std::filesystem::path& file, std::string_view score) {
    if (std::error_code error = WriteFileAtomically(file, TrendBytesWith(file, score))) {
        throw TaggedFileError(file.string(), "TRD", "cannot be written (" + error.message() + ")");
    }
}

TextList ReadTrendScores(const std::filesystem::path& file) {
    std::string line = ReadTaggedLine(file, "TRD");
    if (line.empty()) throw TaggedFileError(file.string(), "TRD", "the key is missing");
    TextList scores = SplitAllValues(line);
    for (std::size_t i = 1; i <= scores.size(); ++i) {
        if (!IsStoredScore(scores[i])) {
            throw TaggedFileError(file.string(), "TRD",
                                  "value " + std::to_string(i) + ", \"" + scores[i] + "\", is not a score");
        }
    }
    return scores;
}

std::vector<StoreProblem> CheckModuleStore(const std::filesystem::path& folder, std::string_view courseCode,
                                           int module, int paperCount) {
    std::vector<StoreProblem> problems;
    for (ResultsFile kind : kResultsFiles) {
        const std::filesystem::path file = ResultsFilePath(folder, kind, module, courseCode);
        StoreProblem problem{file.filename().string(), false, {}};
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            problem.missing = true;
            problems.push_back(problem);
            continue;
        }
        try {
            if (kind == ResultsFile::kMarks) {
                ReadMarksLists(file, paperCount);
            } else if (kind == ResultsFile::kTrend) {
                ReadTrendScores(file);
            } else {
                const TextList lines = ReadNumberedLines(file, paperCount);
                const bool ticks = kind == ResultsFile::kFirstResults || kind == ResultsFile::kSecondResults;
                for (int p = 1; p <= paperCount; ++p) {
                    const std::string& line = lines[static_cast<std::size_t>(p)];
                    const std::string key = std::to_string(kFirstPaperKey + p - 1);
                    if (line.empty()) throw TaggedFileError(file.string(), key, "the key is missing");
                    if (!ticks) continue;
                    for (const std::string& value : SplitAllValues(line)) {
                        if (!value.empty() && value != kTickMark && value != kCrossMark) {
                            throw TaggedFileError(file.string(), key, "\"" + value + "\" is neither a tick nor a cross");
                        }
                    }
                }
            }
        } catch (const TaggedFileError& damage) {
            problem.reason = damage.key().empty() ? damage.reason() : "key \"" + damage.key() + "\": " + damage.reason();
            problems.push_back(problem);
        }
    }
    return problems;
}

std::optional<std::string> NewestCleanBackup(const std::filesystem::path& dataFolder, std::string_view courseCode,
                                             int module, int paperCount) {
    for (const std::string& name : ListBackups(dataFolder)) {
        if (CheckModuleStore(BackupFolder(dataFolder, name), courseCode, module, paperCount).empty()) return name;
    }
    return std::nullopt;
}

ModuleResults LoadModuleResults(const CourseDefinition& course, std::string_view moduleIndicator,
                                std::string_view courseCode, const std::filesystem::path& dataFolder) {
    std::optional<long long> module = ParseInteger(moduleIndicator);
    if (!module || *module < 1 || *module > 3 || !course.Module(static_cast<int>(*module)).Defined()) {
        throw TaggedFileError("course resource " + std::to_string(kCourseDefinitionResource),
                              std::string(moduleIndicator), "no such module is defined");
    }
    const ModuleDefinition& definition = course.Module(static_cast<int>(*module));
    ModuleResults results;
    results.module = static_cast<int>(*module);
    results.topicCount = definition.topicCount;
    results.paperCount = definition.paperCount;
    results.topicNames = definition.topicNames;
    for (const StoreProblem& problem : CheckModuleStore(dataFolder, courseCode, results.module, results.paperCount)) {
        throw TaggedFileError((dataFolder / problem.file).string(), {},
                              problem.missing ? "the file is missing" : problem.reason);
    }
    results.marks = ReadMarksLists(ResultsFilePath(dataFolder, ResultsFile::kMarks, results.module, courseCode),
                                   results.paperCount);
    return results;
}

}  // namespace ep
