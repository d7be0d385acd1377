#include "data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "test_support.h"

namespace ep {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr uid_t kNobody = 65534;

fs::perms Mode(const fs::path& folder) { return fs::status(folder).permissions() & fs::perms::all; }

// A program folder and a pupil's home in a temporary tree. Root may write
// anywhere, so as root the rule is asked by a child process that has become
// an ordinary user (nobody), who owns the home as a pupil owns theirs.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::permissions(tree_.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::create_directories(program_);
        fs::create_directories(home_);
        GiveToPupil(home_);
    }
    void TearDown() override { fs::permissions(program_, fs::perms::owner_all); }

    // As root, the pupil is nobody, who must own what a pupil owns.
    static void GiveToPupil(const fs::path& path) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0) << path;
        }
    }
    void MakeProgramReadOnly() {
        fs::permissions(program_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    }
    // The folder the rule chooses, asked as the pupil.
    fs::path Choose(const DataFolderEnvironment& environment) {
        return AsPupil([&] { return ChooseDataFolder(program_, environment).string(); });
    }
    static std::string AsPupil(const std::function<std::string()>& ask) {
        if (::geteuid() != 0) return ask();
        int pipe[2];
        if (::pipe(pipe) != 0) return "(no pipe)";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
            const std::string answer = ask();
            const bool written = ::write(pipe[1], answer.data(), answer.size()) == ssize_t(answer.size());
            ::_exit(written ? 0 : 3);
        }
        ::close(pipe[1]);
        std::string answer;
        char buffer[256];
        for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
        ::close(pipe[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? answer : "(the pupil's process failed)";
    }

    TempDir tree_;
    fs::path program_ = tree_ / "lib/exampractice";
    fs::path home_ = tree_ / "home/pupil";
};

TEST_F(DataFolderTest, AWritableProgramFolderKeepsTheResultsAlreadyThere) {
    // A build or an install in the pupil's home: the results beside it stay in use.
    GiveToPupil(program_);
    WriteBytes(program_ / "marks2UPM6.txt", "the pupil's marks");
    const DataFolderEnvironment environment{(tree_ / "xdg").string(), home_.string()};
    EXPECT_EQ(Choose(environment), program_);
    EXPECT_EQ(ReadBytes(program_ / "marks2UPM6.txt"), "the pupil's marks");
    EXPECT_FALSE(fs::exists(tree_ / "xdg")) << "nothing is made elsewhere";
    EXPECT_FALSE(fs::exists(home_ / ".local"));
}

TEST_F(DataFolderTest, AReadOnlyProgramFolderSendsThePupilToXdgDataHome) {
    WriteBytes(program_ / "marks2UPM6.txt", "left by an older install");
    MakeProgramReadOnly();
    const fs::path xdg = home_ / "data";
    const DataFolderEnvironment environment{xdg.string(), home_.string()};
    EXPECT_EQ(Choose(environment), xdg / "exampractice");
    EXPECT_TRUE(fs::is_directory(xdg / "exampractice"));
    // New folders are the pupil's alone.
    EXPECT_EQ(Mode(xdg), fs::perms::owner_all);
    EXPECT_EQ(Mode(xdg / "exampractice"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(home_ / ".local"));
    // A second start finds it as it was.
    WriteBytes(xdg / "exampractice/marks2UPM6.txt", "x");
    EXPECT_EQ(Choose(environment), xdg / "exampractice");
    EXPECT_EQ(ReadBytes(xdg / "exampractice/marks2UPM6.txt"), "x");
}

TEST_F(DataFolderTest, WithoutXdgDataHomeThePupilDataFolderIsUnderLocalShare) {
    MakeProgramReadOnly();
    // An existing ~/.local keeps its own mode; only what is made is private.
    fs::create_directories(home_ / ".local");
    GiveToPupil(home_ / ".local");
    fs::permissions(home_ / ".local", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    const fs::path expected = home_ / ".local/share/exampractice";
    EXPECT_EQ(Choose({"", home_.string()}), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(Mode(home_ / ".local"), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_EQ(Mode(home_ / ".local/share"), fs::perms::owner_all);
    // A relative XDG_DATA_HOME is not a place: it is ignored.
    EXPECT_EQ(Choose({"data", home_.string()}), expected);
    EXPECT_FALSE(fs::exists(program_ / "data"));
}

TEST_F(DataFolderTest, APupilFolderThatCannotBeMadeIsStillTheAnswer) {
    // Start-up names the folder when it cannot write there; choosing never fails.
    MakeProgramReadOnly();
    const DataFolderEnvironment environment{(program_ / "xdg").string(), home_.string()};
    EXPECT_EQ(Choose(environment), program_ / "xdg/exampractice");
    EXPECT_FALSE(fs::exists(program_ / "xdg"));
    // No home at all: the program's own folder, which start-up then reports.
    EXPECT_EQ(Choose({"", ""}), program_);
}

TEST(DataFolderRule, TheSystemTreeIsNeverTheDataFolderEvenForRoot) {
    // Writable by root, yet a program there keeps root's results in root's home.
    EXPECT_FALSE(MayKeepDataBesideProgram("/usr/lib"));
    EXPECT_FALSE(MayKeepDataBesideProgram("/usr/local/lib/exampractice"));
    EXPECT_FALSE(MayKeepDataBesideProgram("/opt/exampractice"));
    TempDir mine;
    EXPECT_TRUE(MayKeepDataBesideProgram(mine.path()));
    EXPECT_TRUE(MayKeepDataBesideProgram(mine.path() / "sub/.."));
    EXPECT_FALSE(MayKeepDataBesideProgram(mine.path() / "missing"));
}

TEST(DataFolderRule, TheEnvironmentComesFromThisProcess) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("XDG_DATA_HOME", "/somewhere/data", 1);
    ::setenv("HOME", "/home/someone", 1);
    DataFolderEnvironment environment = CurrentDataFolderEnvironment();
    EXPECT_EQ(environment.xdgDataHome, "/somewhere/data");
    EXPECT_EQ(environment.home, "/home/someone");
    // Without HOME the account's own home folder still answers.
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    environment = CurrentDataFolderEnvironment();
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(environment.xdgDataHome, "");
    EXPECT_FALSE(environment.home.empty());
    EXPECT_TRUE(fs::path(environment.home).is_absolute());
}

}  // namespace
}  // namespace ep
