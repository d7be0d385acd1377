#pragma once
// Checks the course as it ships: the embedded course definition, catalogue,
// results templates and question pages, against the shape the program and
// the stored results depend on. Reads through the same core operations the
// program uses, so what passes here is what the program reads.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "resources.h"

namespace ep::coursetool {

struct CheckReport {
    std::vector<std::string> problems;
    int papers = 0;
    int questions = 0;
    int answerSlots = 0;
    int pages = 0;
    int pictures = 0;
    int solutions = 0;
    int solutionPictures = 0;
    int finalsRight = 0;

    bool Passed() const { return problems.empty(); }
    std::string Summary() const;
};

// `workFolder` receives the temporary files the core's readers need; it must
// exist and be writable.
CheckReport ValidateCourse(const ResourceSource& resources, const std::filesystem::path& workFolder);

// One paper as an author reviews it: per question its number, id and text,
// per slot its kind, key and marks, then the paper's total marks. A paper the
// program cannot load is a TaggedFileError.
std::string DescribePaper(const ResourceSource& resources, const std::filesystem::path& workFolder,
                          std::string_view paperKey);

// Why `key` is not a well-formed answer of `kind`, or "".
std::string KeyProblem(std::string_view kind, std::string_view key);

}  // namespace ep::coursetool
