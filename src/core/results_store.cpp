#include "results_store.h"

#include <system_error>

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

int CreateResultsFiles(const ResourceSource& resources, const CourseDefinition& course,
                       const std::filesystem::path& dataFolder) {
    int first = 0;
    for (int m = 1; m <= 3; ++m) {
        if (!course.Module(m).Defined()) continue;
        for (ResultsFile file : kResultsFiles) {
            int status = ExtractResource(resources, TemplateResource(file, m), kCustomType,
                                         ResultsFilePath(dataFolder, file, m, course.code));
            if (first == 0) first = status;
        }
    }
    return first;
}

int CreateMissingResultsFiles(const ResourceSource& resources, const CourseDefinition& course,
                              const std::filesystem::path& dataFolder) {
    int first = 0;
    for (int m = 1; m <= 3; ++m) {
        if (!course.Module(m).Defined()) continue;
        for (ResultsFile file : kResultsFiles) {
            std::filesystem::path path = ResultsFilePath(dataFolder, file, m, course.code);
            std::error_code error;
            if (std::filesystem::exists(path, error) || error) continue;
            int status = ExtractResource(resources, TemplateResource(file, m), kCustomType, path);
            if (first == 0) first = status;
        }
    }
    return first;
}

MarksLists ReadMarksLists(const std::filesystem::path& file, int paperCount) {
    MarksLists marks;
    TextList* lists[] = {&marks.FSE, &marks.SSE, &marks.LTM, &marks.CDD, &marks.FST, &marks.SST};
    for (std::size_t j = 0; j < kMarksKeys.size(); ++j) *lists[j] = ReadValues50(file, kMarksKeys[j], paperCount);
    return marks;
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

void WritePaperLine(const std::filesystem::path& file, PaperLine& line, const TextList& values, int paperKey,
                    int paperCount, int slotCount) {
    CheckPaper(file, paperKey, paperCount);
    RewriteTaggedLine(line.lines, values, std::to_string(paperKey - 100), std::to_string(paperKey), paperCount,
                      slotCount, file);
    line.values = values;
    line.values.resize(static_cast<std::size_t>(slotCount));
}

void AppendTrendScore(const std::filesystem::path& file, std::string_view score) {
    std::string line = ReadTaggedLine(file, "TRD");
    if (line.empty()) throw TaggedFileError(file.string(), "TRD", "the key is missing");
    if (!IsStorableValue(score)) throw TaggedFileError(file.string(), "TRD", "the score cannot be stored");
    line += '>';
    line += score;
    WriteTaggedLines(file, TextList{line}, "TRD");
}

TextList ReadTrendScores(const std::filesystem::path& file) {
    std::string line = ReadTaggedLine(file, "TRD");
    if (line.empty()) throw TaggedFileError(file.string(), "TRD", "the key is missing");
    return SplitAllValues(line);
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
    results.marks = ReadMarksLists(ResultsFilePath(dataFolder, ResultsFile::kMarks, results.module, courseCode),
                                   results.paperCount);
    return results;
}

}  // namespace ep
