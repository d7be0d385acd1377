// coursetool: checks and shows the course compiled into the program.
//   coursetool validate
//   coursetool paper KEY
//   coursetool extract ID FILE      (FILE "-", a device or a pipe: written to, not replaced)
//   coursetool check KIND KEY ANSWER
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "answer_check.h"
#include "course_check.h"
#include "qt_resources.h"
#include "resources.h"
#include "tagged_file.h"
#include "text_format.h"

namespace {

int Usage() {
    std::cerr << "usage: coursetool validate\n"
                 "       coursetool paper KEY\n"
                 "       coursetool extract ID FILE\n"
                 "       coursetool check KIND KEY ANSWER\n";
    return 2;
}

// Writes a resource's bytes to standard output ("-") or into an existing
// device or pipe by plain writing.
int WriteStream(const ep::ResourceSource& resources, int id, const std::string& target) {
    std::optional<std::string> bytes = resources.Load(id, ep::kCustomType);
    if (!bytes) {
        std::cerr << "coursetool: resource " << id << " not extracted: "
                  << ep::ExtractStatusText(ep::kExtractResourceMissing) << "\n";
        return 1;
    }
    std::FILE* out = target == "-" ? stdout : std::fopen(target.c_str(), "wb");
    if (!out) {
        std::cerr << "coursetool: " << target << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    const bool written = std::fwrite(bytes->data(), 1, bytes->size(), out) == bytes->size();
    const bool closed = target == "-" ? std::fflush(out) == 0 : std::fclose(out) == 0;
    if (!written || !closed) {
        std::cerr << "coursetool: " << target << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return Usage();
    std::string command = argv[1];
    ep::QtResources resources;

    if (command == "check" && argc == 5) {
        std::string result = ep::CheckAnswer(argv[4], argv[3], argv[2]);
        std::cout << (result == ep::kTickMark ? "right" : result == ep::kCrossMark ? "wrong" : "no rule") << "\n";
        return 0;
    }
    if (command == "extract" && argc == 4) {
        std::optional<long long> id = ep::ParseInteger(argv[2]);
        if (!id || *id < 0 || *id > 65535) {
            std::cerr << "coursetool: \"" << argv[2] << "\" is not a resource id\n";
            return 2;
        }
        const std::string target = argv[3];
        std::error_code error;
        const auto kind = std::filesystem::status(target, error).type();
        if (target == "-" || kind == std::filesystem::file_type::character || kind == std::filesystem::file_type::fifo ||
            kind == std::filesystem::file_type::block || kind == std::filesystem::file_type::socket) {
            // A device, a pipe or standard output is written to, never replaced by a file.
            return WriteStream(resources, static_cast<int>(*id), target);
        }
        int status = ep::ExtractResource(resources, static_cast<int>(*id), ep::kCustomType, target);
        if (status != 0) {
            std::cerr << "coursetool: resource " << *id << " not extracted: " << ep::ExtractStatusText(status) << "\n";
            return 1;
        }
        return 0;
    }
    if ((command == "validate" && argc == 2) || (command == "paper" && argc == 3)) {
        // The core's readers work on files; give them a folder of their own.
        QTemporaryDir work;
        if (!work.isValid()) {
            std::cerr << "coursetool: no temporary folder\n";
            return 1;
        }
        std::filesystem::path folder = work.path().toStdString();
        if (command == "paper") {
            try {
                std::cout << ep::coursetool::DescribePaper(resources, folder, argv[2]);
            } catch (const std::exception& e) {
                std::cerr << "coursetool: paper " << argv[2] << ": " << e.what() << "\n";
                return 1;
            }
            return 0;
        }
        ep::coursetool::CheckReport report = ep::coursetool::ValidateCourse(resources, folder);
        for (const std::string& problem : report.problems) std::cout << problem << "\n";
        if (!report.Passed()) {
            std::cout << report.problems.size() << " problem" << (report.problems.size() == 1 ? "" : "s") << "\n";
            return 1;
        }
        std::cout << report.Summary() << "\n";
        return 0;
    }
    return Usage();
}
