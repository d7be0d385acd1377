#pragma once

#include <filesystem>
#include <string>

namespace ep::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// The fixture course's resource folder in the source tree.
std::filesystem::path FixtureCourse();

// A copy of the fixture course that a test may change, in its own folder.
class FixtureCopy {
public:
    FixtureCopy();
    const std::filesystem::path& folder() const { return dir_.path(); }
    std::filesystem::path Resource(int id) const { return dir_.path() / std::to_string(id); }
    void Replace(int id, const std::string& bytes) const { WriteBytes(Resource(id), bytes); }

private:
    TempDir dir_;
};

}  // namespace ep::test
