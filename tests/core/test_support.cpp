#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ep::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ep-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::filesystem::path FixtureCourse() { return EP_FIXTURE_COURSE; }

FixtureCopy::FixtureCopy() {
    for (const auto& entry : std::filesystem::directory_iterator(FixtureCourse())) {
        if (entry.path().filename() != "README.md") {
            std::filesystem::copy_file(entry.path(), dir_.path() / entry.path().filename());
        }
    }
}

}  // namespace ep::test
