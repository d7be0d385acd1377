#include "course.h"

#include <cmath>
#include <system_error>

#include "tagged_file.h"
#include "text_format.h"

namespace ep {
namespace {

constexpr const char* kDefinitionTemp = "temptext30000.txt";
constexpr const char* kCatalogueTemp = "temptext.txt";

// Deletes a temporary file when the reading is over, however it ended.
class TempFile {
public:
    explicit TempFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

int ReadCount(const std::filesystem::path& file, const std::string& key, int most) {
    std::string text = ReadField(file, key);
    std::optional<long long> value = ParseInteger(text);
    if (!value || *value < 0 || *value > most) {
        throw TaggedFileError(file.string(), key,
                              "\"" + text + "\" is not a whole number from 0 to " + std::to_string(most));
    }
    return static_cast<int>(*value);
}

void Extract(const ResourceSource& resources, int id, const std::filesystem::path& target,
             std::string_view paperKey) {
    int status = ExtractResource(resources, id, kCustomType, target, Durability::kCache);
    if (status != 0) {
        throw TaggedFileError(target.string(), std::string(paperKey),
                              "resource " + std::to_string(id) + " cannot be extracted: " + ExtractStatusText(status));
    }
}

}  // namespace

int CourseDefinition::FirstModule() const {
    for (int m = 1; m <= 3; ++m) {
        if (Module(m).Defined()) return m;
    }
    return 0;
}

CourseDefinition ReadCourseDefinition(const ResourceSource& resources, const std::filesystem::path& dataFolder,
                                      int& extractStatus) {
    CourseDefinition course;
    std::filesystem::path file = dataFolder / kDefinitionTemp;
    extractStatus = ExtractResource(resources, kCourseDefinitionResource, kCustomType, file, Durability::kCache);
    if (extractStatus != 0) return course;
    TempFile temp(file);
    try {
        course.title = ReadField(file, "NME");
        course.code = ReadField(file, "COD");
        static constexpr const char* kLabelKeys[] = {"LAH", "LBH", "LCH"};
        for (int m = 1; m <= 3; ++m) course.modules[m - 1].label = ReadField(file, kLabelKeys[m - 1]);
        for (int m = 1; m <= 3; ++m) {
            ModuleDefinition& module = course.modules[m - 1];
            if (!module.Defined()) continue;
            std::string digit = std::to_string(m);
            module.topicCount = ReadCount(file, "TT" + digit, kMaxTopics);
            module.paperCount = ReadCount(file, "TP" + digit, kMaxPapers);
            module.topicNames = ReadValues10(file, "TN" + digit, module.topicCount);
        }
    } catch (const TaggedFileError& error) {
        throw TaggedFileError("course resource " + std::to_string(kCourseDefinitionResource), error.key(),
                              error.reason());
    }
    return course;
}

int PaperCatalogue::FirstSlotOf(int question) const {
    int slot = 1;
    for (int n = 1; n < question; ++n) slot += parts[static_cast<std::size_t>(n)];
    return slot;
}

PaperCatalogue LoadPaperCatalogue(const ResourceSource& resources, const std::filesystem::path& dataFolder,
                                  int module, std::string_view paperKey) {
    PaperCatalogue paper;
    const std::filesystem::path file = dataFolder / kCatalogueTemp;
    // The temporary file means nothing to the pupil: errors name the resource.
    auto read = [&](int id, auto&& reading) {
        Extract(resources, id, file, paperKey);
        TempFile temp(file);
        try {
            reading();
        } catch (const TaggedFileError& error) {
            throw TaggedFileError("course resource " + std::to_string(id), error.key(), error.reason());
        }
    };
    read(PaperListResource(module), [&] { paper.questions = ReadAllValues(file, paperKey); });
    const int count = paper.QuestionCount();
    read(AnswerKeyResource(module), [&] {
        paper.answerKey = ReadValuesForKeys(file, paper.questions, count);
        paper.parts = CountValuesForKeys(file, paper.questions, count);
    });
    // Kinds and marks must match the key question by question: equal totals
    // alone would let one question's extra value shift every later slot.
    List<int> kindParts;
    List<int> markParts;
    read(AnswerKindsResource(module), [&] {
        paper.kinds = ReadValuesForKeys(file, paper.questions, count);
        kindParts = CountValuesForKeys(file, paper.questions, count);
    });
    read(SlotMarksResource(module), [&] {
        paper.marks = ReadValuesForKeys(file, paper.questions, count);
        markParts = CountValuesForKeys(file, paper.questions, count);
    });
    paper.slotCount = static_cast<int>(paper.answerKey.size());
    for (int n = 1; n <= count; ++n) {
        const auto q = static_cast<std::size_t>(n);
        if (kindParts[q] != paper.parts[q] || markParts[q] != paper.parts[q]) {
            throw TaggedFileError("course catalogue", std::string(paperKey),
                                  "question " + paper.questions[q] + " has " + std::to_string(paper.parts[q]) +
                                      " answers but " + std::to_string(kindParts[q]) + " answer kinds and " +
                                      std::to_string(markParts[q]) + " marks");
        }
    }
    double total = 0;
    for (std::size_t i = 1; i <= paper.marks.size(); ++i) {
        std::optional<double> marks = ParseNumber(paper.marks[i]);
        if (!marks) {
            throw TaggedFileError("course catalogue", std::string(paperKey),
                                  "the marks of answer " + std::to_string(i) + " are not a number");
        }
        total = std::round(total + *marks);
    }
    paper.totalMarks = static_cast<int>(total);
    return paper;
}

}  // namespace ep
