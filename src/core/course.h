#pragma once

// The course definition (resource 30000) and the paper catalogue of a module
// (resources 30000 + 10m + 2 .. 5: paper list, answer key, answer kinds, marks).

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "list.h"
#include "resources.h"

namespace ep {

inline constexpr int kCourseDefinitionResource = 30000;
inline constexpr int kMaxTopics = 10;
inline constexpr int kMaxPapers = 50;
inline constexpr int kFirstPaperKey = 101;

struct ModuleDefinition {
    std::string label;  // the module exists when its label is not empty
    int topicCount = 0;
    int paperCount = 0;
    TextList topicNames;  // 10 entries, the first topicCount of them named

    bool Defined() const { return !label.empty(); }
};

struct CourseDefinition {
    std::string title;
    std::string code;
    std::array<ModuleDefinition, 3> modules;  // modules 1, 2, 3

    const ModuleDefinition& Module(int m) const { return modules.at(static_cast<std::size_t>(m - 1)); }
    // The first defined module's digit, 0 when none is defined.
    int FirstModule() const;
};

// Reads the course definition: extracts resource 30000 into the data folder's
// "temptext30000.txt", reads it and deletes it. When the extraction fails,
// nothing is read (no module is defined) and `extractStatus` holds its number.
// A value that is not what the course needs (a topic count that is not a whole
// number from 0 to 10, say) is a TaggedFileError.
CourseDefinition ReadCourseDefinition(const ResourceSource& resources, const std::filesystem::path& dataFolder,
                                      int& extractStatus);

// Resource ids of module m's catalogue.
inline int PaperListResource(int module) { return 30002 + 10 * module; }
inline int AnswerKeyResource(int module) { return 30003 + 10 * module; }
inline int AnswerKindsResource(int module) { return 30004 + 10 * module; }
inline int SlotMarksResource(int module) { return 30005 + 10 * module; }

// One paper of the catalogue. The answer key, kinds and marks are parallel
// 1-based lists over the paper's answer slots, a question's slots consecutive.
struct PaperCatalogue {
    TextList questions;  // question ids, in the paper's order
    List<int> parts;     // slots per question
    TextList answerKey;
    TextList kinds;
    TextList marks;
    int slotCount = 0;
    int totalMarks = 0;

    int QuestionCount() const { return static_cast<int>(questions.size()); }
    // The slot index of question n's first part.
    int FirstSlotOf(int question) const;
};

// Reads paper `paperKey` of module m: each of the four catalogue resources in
// turn is extracted into the data folder's "temptext.txt", read and deleted.
// A resource that cannot be extracted, or lists that do not match slot for
// slot, are a TaggedFileError: a paper with a hole in it is not shown.
PaperCatalogue LoadPaperCatalogue(const ResourceSource& resources, const std::filesystem::path& dataFolder,
                                  int module, std::string_view paperKey);

}  // namespace ep
