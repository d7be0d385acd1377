#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define EP_HAVE_POSIX 1
#endif

namespace ep {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::error_code LastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

}  // namespace

std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return LastError();
    bytes.clear();
    char buffer[16384];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    if (std::ferror(file.get())) return LastError();
    return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
#ifdef EP_HAVE_POSIX
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        return std::error_code(EACCES, std::generic_category());
    }
#endif
    std::filesystem::path temp = path;
    temp += ".tmp";
    errno = 0;
    FilePtr file(std::fopen(temp.c_str(), "wb"));
    if (!file) return LastError();
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
              std::fflush(file.get()) == 0;
#ifdef EP_HAVE_POSIX
    ok = ok && ::fsync(::fileno(file.get())) == 0;
#endif
    std::error_code error = ok ? std::error_code() : LastError();
    if (std::fclose(file.release()) != 0 && !error) error = LastError();
    if (!error) {
        std::filesystem::rename(temp, path, error);
    }
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
    }
    return error;
}

}  // namespace ep
