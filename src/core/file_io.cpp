#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace ep {
namespace {

FileStepHook stepHook = nullptr;

void Stepped() {
    if (stepHook) stepHook();
}

std::error_code LastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// Closes a descriptor however the function that opened it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

}  // namespace

void SetFileStepHook(FileStepHook hook) { stepHook = hook; }

std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    errno = 0;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return LastError();
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    bytes.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return {};
}

std::error_code WriteNewFile(const std::filesystem::path& path, std::string_view bytes, Durability durability) {
    errno = 0;
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) return LastError();
    Stepped();
    while (!bytes.empty()) {
        const ssize_t put = ::write(file.get(), bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
        Stepped();
    }
    if (durability == Durability::kFlushed) {
        if (::fsync(file.get()) != 0) return LastError();
        Stepped();
    }
    if (::close(file.release()) != 0) return LastError();
    Stepped();
    return {};
}

std::error_code RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    errno = 0;
    if (::rename(from.c_str(), to.c_str()) != 0) return LastError();
    Stepped();
    return {};
}

std::error_code RemoveFile(const std::filesystem::path& path) {
    errno = 0;
    if (::unlink(path.c_str()) != 0) return errno == ENOENT ? std::error_code() : LastError();
    Stepped();
    return {};
}

std::error_code RemoveFolder(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::remove_all(path, error) == static_cast<std::uintmax_t>(-1) || error) return error;
    Stepped();
    return {};
}

std::error_code MakeFolder(const std::filesystem::path& path) {
    errno = 0;
    if (::mkdir(path.c_str(), 0777) != 0) {
        if (errno != EEXIST) return LastError();
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::not_a_directory);
        return {};
    }
    Stepped();
    return {};
}

std::error_code SyncFolder(const std::filesystem::path& folder) {
    errno = 0;
    Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return LastError();
    // Some file systems cannot flush a folder; the renames stand all the same.
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS) return LastError();
    Stepped();
    return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                    Durability durability) {
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        return std::error_code(EACCES, std::generic_category());
    }
    std::filesystem::path temp = path;
    temp += ".tmp";
    std::error_code error = WriteNewFile(temp, bytes, durability);
    if (!error) error = RenameFile(temp, path);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return error;
    }
    if (durability == Durability::kFlushed) return SyncFolder(path.parent_path());
    return {};
}

}  // namespace ep
