#include "store_change.h"

#include <gtest/gtest.h>

#include "answer_check.h"
#include "file_io.h"
#include "results_store.h"
#include "startup.h"
#include "test_support.h"

namespace ep {
namespace {

using test::FixtureCourse;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A clock that the tests move: backups are named by it.
std::chrono::system_clock::time_point testNow;
std::chrono::system_clock::time_point TestClock() { return testNow; }

std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

using Files = std::map<std::string, std::string>;

class StoreChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        testNow = LocalTime(2026, 3, 14, 10, 32, 5);
        SetBackupClock(&TestClock);
        course_ = PrepareCourseData(resources_, data_.path()).course;
    }
    void TearDown() override { SetBackupClock(nullptr); }

    std::filesystem::path File(ResultsFile file) const { return ResultsFilePath(data_.path(), file, 2, "FIX"); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (ResultsFile file : kResultsFiles) names.push_back(ResultsFileName(file, 2, "FIX"));
        return names;
    }
    // The six files as they are (a missing one is left out).
    Files Store(const std::filesystem::path& folder) const {
        Files files;
        for (const std::string& name : Names()) {
            if (std::filesystem::exists(folder / name)) files[name] = ReadBytes(folder / name);
        }
        return files;
    }
    Files Store() const { return Store(data_.path()); }
    // Every name in the data folder besides the six files and the backups.
    std::vector<std::string> Others() const {
        std::vector<std::string> others;
        const std::vector<std::string> names = Names();
        for (const auto& entry : std::filesystem::directory_iterator(data_.path())) {
            const std::string name = entry.path().filename().string();
            if (name != kBackupsFolder && std::find(names.begin(), names.end(), name) == names.end()) others.push_back(name);
        }
        return others;
    }
    // A first attempt at paper 101 recorded, as marking changes the store.
    void MarkPaper101(const std::string& score) {
        StoreChange change(data_.path(), "FIX");
        MarksLists marks = ReadMarksLists(File(ResultsFile::kMarks), 10);
        marks.FSE[1] = score;
        marks.LTM[1] = "0:3:7";
        marks.CDD[1] = "14/03/2026";
        marks.FST[1] = "1";
        change.Replace(File(ResultsFile::kMarks), MarksBytes(File(ResultsFile::kMarks), marks, 10));
        change.Replace(File(ResultsFile::kTrend), TrendBytesWith(File(ResultsFile::kTrend), score));
        PaperLine results = ReadPaperLine(File(ResultsFile::kFirstResults), 10, 101, 4);
        const TextList ticks{std::string(kTickMark), std::string(kCrossMark), std::string(kTickMark), std::string(kTickMark)};
        change.Replace(File(ResultsFile::kFirstResults),
                       PaperLineBytes(File(ResultsFile::kFirstResults), results, ticks, 101, 10, 4));
        change.Commit();
    }
    // A journal as a change writes it, for states a crash can leave.
    static std::string Journal(const Files& staged) {
        auto checksum = [](const std::string& bytes) {
            std::uint64_t hash = 14695981039346656037ull;
            for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
            char text[17];
            std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
            return std::string(text);
        };
        std::string text = "exampractice results journal\n";
        for (const auto& [name, bytes] : staged) text += std::to_string(bytes.size()) + " " + checksum(bytes) + " " + name + "\n";
        return text + "end " + checksum(text) + "\n";
    }

    FolderResources resources_{FixtureCourse()};
    TempDir data_;
    CourseDefinition course_;
};

TEST_F(StoreChangeTest, AChangeReplacesItsFilesAndLeavesNothingBehind) {
    const Files before = Store();
    MarkPaper101("75");
    const Files after = Store();
    EXPECT_NE(after.at("marks2FIX.txt"), before.at("marks2FIX.txt"));
    EXPECT_EQ(after.at("trend2FIX.txt"), "#TRD#>75\r\n");
    EXPECT_EQ(after.at("first2FIX.txt"), before.at("first2FIX.txt"));
    EXPECT_TRUE(Others().empty()) << Others().front();
    // The day's first change backed up the store as it was.
    const std::vector<std::string> backups = ListBackups(data_.path());
    ASSERT_EQ(backups, std::vector<std::string>{"2026-03-14_10-32-05"});
    EXPECT_EQ(Store(BackupFolder(data_.path(), backups[0])), before);
    EXPECT_EQ(CheckModuleStore(data_.path(), "FIX", 2, 10).size(), 0u);
}

TEST_F(StoreChangeTest, AStartFinishesAWholeJournalAndDiscardsAnythingLess) {
    const Files before = Store();
    const Files staged = {{"marks2FIX.txt", "#FSE#>\r\n"}, {"trend2FIX.txt", "#TRD#>9\r\n"}};
    auto stage = [&](const Files& files) {
        for (const auto& [name, bytes] : files) WriteBytes(data_ / (name + ".tmp"), bytes);
    };

    // Whole, with one file already renamed: the other follows.
    stage({*staged.begin()});
    WriteBytes(File(ResultsFile::kTrend), "#TRD#>9\r\n");
    WriteBytes(data_ / "results.journal", Journal(staged));
    EXPECT_EQ(RecoverStoreChange(data_.path(), Names()), Recovery::kFinished);
    EXPECT_EQ(ReadBytes(File(ResultsFile::kMarks)), "#FSE#>\r\n");
    EXPECT_EQ(ReadBytes(File(ResultsFile::kTrend)), "#TRD#>9\r\n");
    EXPECT_TRUE(Others().empty());

    // A journal cut short, one whose file differs from what it names, one
    // naming a file outside the store, or none at all: the staged files go.
    const std::string whole = Journal(staged);
    Files other = staged;
    other["marks2FIX.txt"] = "#FSE#>1\r\n";
    for (const std::string& journal : {whole.substr(0, whole.size() - 1), whole.substr(0, whole.find("end")),
                                       Journal(other), Journal({{"../marks2FIX.txt", "x"}}), std::string()}) {
        for (const auto& [name, bytes] : before) WriteBytes(data_ / name, bytes);
        stage(staged);
        if (!journal.empty()) WriteBytes(data_ / "results.journal", journal);
        EXPECT_EQ(RecoverStoreChange(data_.path(), Names()), Recovery::kDiscarded) << journal;
        EXPECT_EQ(Store(), before) << journal;
        EXPECT_TRUE(Others().empty()) << journal;
    }
    EXPECT_EQ(RecoverStoreChange(data_.path(), Names()), Recovery::kNone);
}

TEST_F(StoreChangeTest, AFailedChangeChangesNothing) {
    const Files before = Store();
    std::filesystem::create_directory(data_ / "trend2FIX.txt.tmp");  // the trend's new file cannot be written
    try {
        MarkPaper101("75");
        FAIL();
    } catch (const StoreWriteError& error) {
        EXPECT_EQ(error.file(), File(ResultsFile::kTrend).string());
    }
    EXPECT_EQ(Store(), before);
    std::filesystem::remove(data_ / "trend2FIX.txt.tmp");
    EXPECT_TRUE(Others().empty());
}

TEST_F(StoreChangeTest, OneBackupADayAndBeforeEveryEraseTheTenNewestKept) {
    MarkPaper101("75");
    for (int day = 15; day <= 26; ++day) {
        testNow = LocalTime(2026, 3, day, 9, 0, 0);
        for (int change = 0; change < 2; ++change) {  // only the first change of a day is backed up
            StoreChange save(data_.path(), "FIX");
            PaperLine first = ReadPaperLine(File(ResultsFile::kFirst), 10, 102, 4);
            save.Replace(File(ResultsFile::kFirst),
                         PaperLineBytes(File(ResultsFile::kFirst), first, TextList{std::to_string(day), "", "", ""}, 102, 10, 4));
            save.Commit();
        }
    }
    std::vector<std::string> backups = ListBackups(data_.path());
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(backups.front(), "2026-03-26_09-00-00");
    EXPECT_EQ(backups.back(), "2026-03-17_09-00-00");
    EXPECT_EQ(ReadPaperLine(BackupFolder(data_.path(), backups.front()) / "first2FIX.txt", 10, 102, 4).values[1], "25");

    // An erase in the same second is backed up all the same, under a name of its own.
    std::optional<BackupSet> erased;
    const Files before = Store();
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path(), &erased), 0);
    ASSERT_TRUE(erased);
    EXPECT_EQ(erased->name, "2026-03-26_09-00-00_2");
    EXPECT_EQ(Files(erased->files.begin(), erased->files.end()), before);
    EXPECT_EQ(ListBackups(data_.path()).front(), "2026-03-26_09-00-00_2");
    EXPECT_EQ(ListBackups(data_.path()).size(), kBackupsKept);
    EXPECT_EQ(Store(BackupFolder(data_.path(), erased->name)), before);

    // Undo: the set before the erase, byte for byte, as one change.
    RestoreBackupSet(data_.path(), "FIX", *erased);
    EXPECT_EQ(Store(), before);
    EXPECT_TRUE(Others().empty());
}

TEST_F(StoreChangeTest, AStartAsksBeforeAMissingOrDamagedFileIsReplaced) {
    MarkPaper101("75");
    const Files marked = Store();
    testNow += std::chrono::hours(24);
    MarkPaper101("75");  // a second day: a backup of the marked store
    ASSERT_EQ(ListBackups(data_.path()).size(), 2u);

    // One file deleted: named, nothing written, the newest backup offered.
    std::filesystem::remove(File(ResultsFile::kTrend));
    const Files without = Store();
    StartupData start = PrepareCourseData(resources_, data_.path());
    ASSERT_EQ(start.trouble.size(), 1u);
    EXPECT_EQ(start.trouble[0].module, 2);
    ASSERT_EQ(start.trouble[0].problems.size(), 1u);
    EXPECT_EQ(start.trouble[0].problems[0].file, "trend2FIX.txt");
    EXPECT_TRUE(start.trouble[0].problems[0].missing);
    ASSERT_TRUE(start.trouble[0].backup);
    EXPECT_EQ(Store(), without);
    RestoreBackupSet(data_.path(), "FIX", ReadBackup(data_.path(), *start.trouble[0].backup, Names()));
    EXPECT_EQ(Store(), marked);
    EXPECT_TRUE(PrepareCourseData(resources_, data_.path()).trouble.empty());

    // Two files damaged, and the newest backup too: the newest clean one is offered.
    std::string bytes = ReadBytes(File(ResultsFile::kMarks));
    bytes.replace(bytes.find("#FST#>1"), 7, "#FST#>7");
    WriteBytes(File(ResultsFile::kMarks), bytes);
    WriteBytes(File(ResultsFile::kFirstResults), "#101#>x>>>\r\n");
    const std::string newest = ListBackups(data_.path()).front();
    WriteBytes(BackupFolder(data_.path(), newest) / "trend2FIX.txt", "#TRD#>abc\r\n");
    const Files damaged = Store();
    start = PrepareCourseData(resources_, data_.path());
    ASSERT_EQ(start.trouble.size(), 1u);
    ASSERT_EQ(start.trouble[0].problems.size(), 2u);
    EXPECT_EQ(start.trouble[0].problems[0].file, "marks2FIX.txt");
    EXPECT_NE(start.trouble[0].problems[0].reason.find("FST"), std::string::npos) << start.trouble[0].problems[0].reason;
    EXPECT_EQ(start.trouble[0].problems[1].file, "fresults2FIX.txt");
    ASSERT_TRUE(start.trouble[0].backup);
    EXPECT_NE(*start.trouble[0].backup, newest);
    EXPECT_EQ(Store(), damaged);
    EXPECT_THROW(LoadModuleResults(course_, "2", "FIX", data_.path()), TaggedFileError);

    // Afresh: the templates, after a backup of the damaged files.
    const std::size_t backupsBefore = ListBackups(data_.path()).size();
    StartModuleAfresh(resources_, course_, data_.path(), 2);
    EXPECT_EQ(ListBackups(data_.path()).size(), backupsBefore + 1);
    EXPECT_EQ(Store(BackupFolder(data_.path(), ListBackups(data_.path()).front())), damaged);
    for (ResultsFile file : kResultsFiles) {
        EXPECT_EQ(ReadBytes(File(file)), ReadBytes(FixtureCourse() / std::to_string(TemplateResource(file, 2))));
    }

    // Every file gone with a backup there: asked, not a first start.
    for (ResultsFile file : kResultsFiles) std::filesystem::remove(File(file));
    start = PrepareCourseData(resources_, data_.path());
    ASSERT_EQ(start.trouble.size(), 1u);
    EXPECT_EQ(start.trouble[0].problems.size(), 6u);
    EXPECT_TRUE(Store().empty());
}

}  // namespace
}  // namespace ep
