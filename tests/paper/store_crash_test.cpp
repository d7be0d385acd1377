// A crash at every step of every action that changes the results store.
// Each action runs in a child process that kills itself just after its k-th
// file-system step, for k = 1, 2, ... until a run finishes; after each kill
// the next start must find the six results files exactly as they were before
// the action or exactly as they are after it, never a mix, with nothing left
// half-done beside them.

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "file_io.h"
#include "open_paper.h"
#include "paper_test_support.h"
#include "startup.h"
#include "store_change.h"
#include "tagged_file.h"
#include "test_support.h"

namespace ep {
namespace {

using test::FixtureCourse;
using test::ReadBytes;
using test::TempDir;

using Files = std::map<std::string, std::string>;

int killAtStep = 0;
int stepsTaken = 0;
void KillAtStep() {
    if (++stepsTaken == killAtStep) ::kill(::getpid(), SIGKILL);
}

// The day the actions run; the stores before them were made the day before,
// so each action also takes the day's first backup.
std::chrono::system_clock::time_point clockNow;
std::chrono::system_clock::time_point Clock() { return clockNow; }
std::chrono::system_clock::time_point Day(int day) {
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 2;
    local.tm_mday = day;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

const FolderResources& Resources() {
    static const FolderResources resources{FixtureCourse()};
    return resources;
}

CourseDefinition Course(const std::filesystem::path& scratch) {
    int status = 0;
    return ReadCourseDefinition(Resources(), scratch, status);
}

std::vector<std::string> StoreNames() {
    std::vector<std::string> names;
    for (ResultsFile file : kResultsFiles) names.push_back(ResultsFileName(file, 2, "FIX"));
    return names;
}

Files Store(const std::filesystem::path& folder) {
    Files files;
    for (const std::string& name : StoreNames()) {
        if (std::filesystem::exists(folder / name)) files[name] = ReadBytes(folder / name);
    }
    return files;
}

OpenPaper Open(const std::filesystem::path& data, int key, Attempt attempt) {
    return OpenPaper::Load(Resources(), data, test::FixtureRequest(key, attempt));
}

void Answer(OpenPaper& paper, const std::vector<std::string>& answers) {
    for (std::size_t i = 0; i < answers.size(); ++i) paper.SetAnswer(static_cast<int>(i) + 1, answers[i]);
}

// One action: what brings a fresh data folder to the state before it, and
// what does it, once whatever it only reads is loaded.
struct Action {
    std::string name;
    std::function<void(const std::filesystem::path&)> before;
    std::function<std::function<void()>(const std::filesystem::path&)> load;
};

void Started(const std::filesystem::path& data) { PrepareCourseData(Resources(), data); }

void Saved(const std::filesystem::path& data) {
    Started(data);
    OpenPaper paper = Open(data, 101, Attempt::kFirst);
    Answer(paper, {"12", "7", "", "b"});
    paper.SaveAnswers();
}

void FirstMarked(const std::filesystem::path& data) {
    Saved(data);
    OpenPaper paper = Open(data, 101, Attempt::kFirst);
    paper.Mark(std::chrono::seconds(125), "13/03/2026");
    OpenPaper second = Open(data, 101, Attempt::kSecond);
    Answer(second, {"", "8", "3", ""});
    second.SaveAnswers();
}

const std::vector<Action>& Actions() {
    static const std::vector<Action> actions = {
        {"first start", [](const std::filesystem::path&) {},
         [](const std::filesystem::path& data) { return [data] { PrepareCourseData(Resources(), data); }; }},
        {"save", Started,
         [](const std::filesystem::path& data) {
             auto paper = std::make_shared<OpenPaper>(Open(data, 102, Attempt::kFirst));
             Answer(*paper, {"x + 1", "3/4", "", "40"});
             return [paper] { paper->SaveAnswers(); };
         }},
        {"first marking", Saved,
         [](const std::filesystem::path& data) {
             auto paper = std::make_shared<OpenPaper>(Open(data, 101, Attempt::kFirst));
             return [paper] { paper->Mark(std::chrono::seconds(65), "14/03/2026"); };
         }},
        {"second marking", FirstMarked,
         [](const std::filesystem::path& data) {
             auto paper = std::make_shared<OpenPaper>(Open(data, 101, Attempt::kSecond));
             return [paper] { paper->Mark(std::chrono::seconds(30), "14/03/2026"); };
         }},
        {"erase", FirstMarked,
         [](const std::filesystem::path& data) {
             return [data] { ASSERT_EQ(CreateResultsFiles(Resources(), Course(data), data), 0); };
         }},
        {"undo of an erase",
         [](const std::filesystem::path& data) {
             FirstMarked(data);
             EXPECT_EQ(CreateResultsFiles(Resources(), Course(data), data), 0);
         },
         [](const std::filesystem::path& data) {
             BackupSet erased = ReadBackup(data, ListBackups(data).front(), StoreNames());
             return [data, erased] { RestoreBackupSet(data, "FIX", erased); };
         }},
        {"start afresh", FirstMarked,
         [](const std::filesystem::path& data) {
             return [data] { StartModuleAfresh(Resources(), Course(data), data, 2); };
         }},
    };
    return actions;
}

// The folder as a fresh one is brought to the state before `action`.
void Prepare(const Action& action, const std::filesystem::path& data) {
    clockNow = Day(13);
    action.before(data);
    clockNow = Day(14);
}

// Runs the action in a child killed after step `k` (0: never). True when the
// child was killed, false when it finished the action.
bool RunChild(const Action& action, const std::filesystem::path& data, int k) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        int code = 0;
        try {
            std::function<void()> act = action.load(data);
            stepsTaken = 0;
            killAtStep = k;
            SetFileStepHook(&KillAtStep);
            act();
        } catch (...) {
            code = 3;
        }
        ::_exit(::testing::Test::HasFailure() ? 4 : code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << action.name << ": the child ended with " << status;
    return false;
}

// What is in the data folder besides the six files, Graphics and the backups.
std::vector<std::string> Leftovers(const std::filesystem::path& data) {
    std::vector<std::string> left;
    const std::vector<std::string> names = StoreNames();
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        const std::string name = entry.path().filename().string();
        if (name != kBackupsFolder && std::find(names.begin(), names.end(), name) == names.end()) left.push_back(name);
    }
    std::error_code none;
    for (const auto& entry : std::filesystem::directory_iterator(data / kBackupsFolder, none)) {
        if (!BackupTime(entry.path().filename().string())) left.push_back(entry.path().string());
    }
    return left;
}

class StoreCrashTest : public ::testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override { SetBackupClock(&Clock); }
    void TearDown() override { SetBackupClock(nullptr); }
};

TEST_P(StoreCrashTest, EveryStepLeavesTheSetBeforeOrAfter) {
    const Action& action = Actions()[GetParam()];
    Files before;
    Files after;
    {
        TempDir reference;
        Prepare(action, reference.path());
        before = Store(reference.path());
        ASSERT_FALSE(RunChild(action, reference.path(), 0));
        after = Store(reference.path());
        ASSERT_NE(before, after) << action.name << " changed nothing";
    }
    int mixed = 0;
    int kills = 0;
    for (int k = 1;; ++k) {
        TempDir data;
        Prepare(action, data.path());
        const std::size_t backupsBefore = ListBackups(data.path()).size();
        if (!RunChild(action, data.path(), k)) break;
        ++kills;
        // The next start, as the program makes it.
        PrepareCourseData(Resources(), data.path());
        const Files found = Store(data.path());
        if (found != before && found != after) {
            ++mixed;
            ADD_FAILURE() << action.name << ", killed after step " << k << ": neither the files before nor after";
        }
        EXPECT_EQ(Leftovers(data.path()), std::vector<std::string>{}) << action.name << ", step " << k;
        // Every whole backup the action made holds the set before it.
        const std::vector<std::string> backups = ListBackups(data.path());
        for (std::size_t i = 0; i + backupsBefore < backups.size(); ++i) {
            EXPECT_EQ(Store(BackupFolder(data.path(), backups[i])), before) << action.name << ", step " << k;
        }
        if (k > 500) {
            ADD_FAILURE() << action.name << " never finished";
            break;
        }
    }
    std::printf("%s: %d kill points, %d mixed states\n", action.name.c_str(), kills, mixed);
    EXPECT_GT(kills, 5);
}

INSTANTIATE_TEST_SUITE_P(Actions, StoreCrashTest, ::testing::Range<std::size_t>(0, 7),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             std::string name = Actions()[info.param].name;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace ep
