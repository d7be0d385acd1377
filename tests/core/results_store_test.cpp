#include "results_store.h"

#include <gtest/gtest.h>

#include <functional>

#include "answer_check.h"
#include "startup.h"
#include "tagged_file.h"
#include "test_support.h"

namespace ep {
namespace {

using test::FixtureCourse;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class ResultsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        int status = 0;
        course_ = ReadCourseDefinition(resources_, data_.path(), status);
        ASSERT_EQ(status, 0);
    }
    std::filesystem::path File(ResultsFile file) const { return ResultsFilePath(data_.path(), file, 2, "FIX"); }
    std::string Template(ResultsFile file) const {
        return ReadBytes(FixtureCourse() / std::to_string(TemplateResource(file, 2)));
    }

    FolderResources resources_{FixtureCourse()};
    TempDir data_;
    CourseDefinition course_;
};

TEST_F(ResultsStoreTest, NamesAndTemplates) {
    EXPECT_EQ(ResultsFileName(ResultsFile::kMarks, 2, "FIX"), "marks2FIX.txt");
    EXPECT_EQ(ResultsFileName(ResultsFile::kSecondResults, 3, "AB1"), "sresults3AB1.txt");
    EXPECT_EQ(TemplateResource(ResultsFile::kMarks, 2), 30121);
    EXPECT_EQ(TemplateResource(ResultsFile::kTrend, 1), 30116);
}

TEST_F(ResultsStoreTest, FirstStartCreatesExactlyTheSixTemplates) {
    StartupData startup = PrepareCourseData(resources_, data_.path());
    EXPECT_EQ(startup.firstModule, 2);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data_.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 6u);  // and no temporary file
    for (ResultsFile file : kResultsFiles) EXPECT_EQ(ReadBytes(File(file)), Template(file));
}

TEST_F(ResultsStoreTest, LaterStartsKeepEveryResult) {
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    WriteBytes(File(ResultsFile::kTrend), "#TRD#>50\r\n");
    const std::string marks = "#FSE#>50>>>>>>>>>\r\n#SSE#>>>>>>>>>>\r\n#LTM#>0:1:2>>>>>>>>>\r\n"
                              "#CDD#>06/12/2026>>>>>>>>>\r\n#FST#>1>0>0>0>0>0>0>0>0>0\r\n#SST#>0>0>0>0>0>0>0>0>0>0\r\n";
    WriteBytes(File(ResultsFile::kMarks), marks);
    PrepareCourseData(resources_, data_.path());
    EXPECT_EQ(ReadBytes(File(ResultsFile::kMarks)), marks);

    // A lost file is named and nothing is made in its place until the pupil says so.
    std::filesystem::remove(File(ResultsFile::kTrend));
    StartupData start = PrepareCourseData(resources_, data_.path());
    ASSERT_EQ(start.trouble.size(), 1u);
    EXPECT_EQ(start.trouble[0].problems.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(File(ResultsFile::kTrend)));
    EXPECT_EQ(ReadBytes(File(ResultsFile::kMarks)), marks);

    // Erasing all results returns every file to its template.
    EXPECT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    for (ResultsFile file : kResultsFiles) EXPECT_EQ(ReadBytes(File(file)), Template(file));
}

TEST_F(ResultsStoreTest, AStartClearsWhatAKilledRunLeft) {
    PrepareCourseData(resources_, data_.path());
    std::filesystem::create_directory(data_ / "Graphics");
    const std::vector<std::string> leftovers = {"first2FIX.txt.tmp", "marks2FIX.txt.tmp", "temptext.txt",
                                                "temppaper20011.mht", "temppaper20013.mht.tmp", "Graphics/bar.bmp.tmp"};
    for (const std::string& name : leftovers) WriteBytes(data_ / name, "#101#>half");
    // Not the program's: kept.
    const std::vector<std::string> others = {"notes.txt", "notes.txt.tmp", "temppaper.mht", "temppaperx1.mht",
                                             "first2OTHER.txt.tmp", "Graphics/bar.bmp"};
    for (const std::string& name : others) WriteBytes(data_ / name, "mine");
    std::filesystem::create_directory(data_ / "trend2FIX.txt.tmp");
    const std::string marks = ReadBytes(File(ResultsFile::kMarks));

    PrepareCourseData(resources_, data_.path());
    for (const std::string& name : leftovers) EXPECT_FALSE(std::filesystem::exists(data_ / name)) << name;
    for (const std::string& name : others) EXPECT_EQ(ReadBytes(data_ / name), "mine") << name;
    EXPECT_TRUE(std::filesystem::is_directory(data_ / "trend2FIX.txt.tmp"));
    EXPECT_EQ(ReadBytes(File(ResultsFile::kMarks)), marks);
}

TEST_F(ResultsStoreTest, StartUpFailuresSayWhy) {
    TempDir empty;
    try {
        PrepareCourseData(FolderResources(empty.path()), data_.path());
        FAIL();
    } catch (const StartupError& error) {
        // A program without its course is not the folder's fault.
        EXPECT_NE(std::string(error.what()).find("course"), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).find("folder"), std::string::npos) << error.what();
    }
    // A data folder that does not exist cannot be written, and the message names it.
    try {
        PrepareCourseData(resources_, data_ / "gone");
        FAIL();
    } catch (const StartupError& error) {
        EXPECT_NE(std::string(error.what()).find((data_ / "gone").string()), std::string::npos) << error.what();
    }
    // A course whose templates are missing cannot keep results.
    test::FixtureCopy fixture;
    std::filesystem::remove(fixture.Resource(30123));
    EXPECT_THROW(PrepareCourseData(FolderResources(fixture.folder()), data_.path()), StartupError);
}

TEST_F(ResultsStoreTest, MarkingAFirstAttemptFillsItsSlots) {
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    const int papers = course_.Module(2).paperCount;
    MarksLists marks = ReadMarksLists(File(ResultsFile::kMarks), papers);
    EXPECT_EQ(marks.FSE.size(), 50u);
    EXPECT_EQ(marks.FST[10], "0");
    marks.FSE[3] = "66.7";
    marks.LTM[3] = "0:12:5";
    marks.CDD[3] = "06/12/2026";
    marks.FST[3] = "1";
    WriteMarksLists(File(ResultsFile::kMarks), marks, papers);
    EXPECT_EQ(ReadBytes(File(ResultsFile::kMarks)),
              "#FSE#>>>66.7>>>>>>>\r\n#SSE#" + std::string(10, '>') +
                  "\r\n#LTM#>>>0:12:5>>>>>>>\r\n#CDD#>>>06/12/2026>>>>>>>\r\n"
              "#FST#>0>0>1>0>0>0>0>0>0>0\r\n#SST#>0>0>0>0>0>0>0>0>0>0\r\n");
    EXPECT_EQ(ReadMarksLists(File(ResultsFile::kMarks), papers), marks);
}

TEST_F(ResultsStoreTest, PaperLinesRoundTripAndKeepTheOtherPapers) {
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    const int papers = course_.Module(2).paperCount;
    PaperLine first = ReadPaperLine(File(ResultsFile::kFirst), papers, 103, 4);
    EXPECT_EQ(first.values.items(), (std::vector<std::string>(4, "")));
    TextList answers{"5", "3", "", "twelve"};
    WritePaperLine(File(ResultsFile::kFirst), first, answers, 103, papers, 4);

    PaperLine results = ReadPaperLine(File(ResultsFile::kFirstResults), papers, 103, 4);
    TextList ticks{std::string(kTickMark), std::string(kTickMark), std::string(kCrossMark), std::string(kTickMark)};
    WritePaperLine(File(ResultsFile::kFirstResults), results, ticks, 103, papers, 4);

    EXPECT_EQ(ReadBytes(File(ResultsFile::kFirstResults)),
              "#101#>>>>\r\n#102#>>>>\r\n#103#>\xFC>\xFC>\xFB>\xFC\r\n#104#>\r\n#105#>" + std::string(49, '>') +
                  "\r\n#106#>\r\n#107#>\r\n#108#>\r\n#109#>\r\n#110#>\r\n");
    EXPECT_EQ(ReadPaperLine(File(ResultsFile::kFirst), papers, 103, 4).values, answers);
    EXPECT_EQ(ReadPaperLine(File(ResultsFile::kFirstResults), papers, 103, 4).values, ticks);
    EXPECT_EQ(ReadPaperLine(File(ResultsFile::kFirst), papers, 105, 50).values.size(), 50u);
}

TEST_F(ResultsStoreTest, DamagedPaperLinesAreReportedNotMisread) {
    auto file = File(ResultsFile::kFirst);
    WriteBytes(file, "#101#>a>b\r\n#102#>1>2>3>4>5\r\n#104#>\r\n");
    try {
        ReadPaperLine(file, 10, 101, 4);  // too few values
        FAIL();
    } catch (const TaggedFileError& error) {
        EXPECT_EQ(error.key(), "101");
        EXPECT_EQ(error.file(), file.string());
    }
    EXPECT_THROW(ReadPaperLine(file, 10, 102, 4), TaggedFileError);  // one too many
    EXPECT_THROW(ReadPaperLine(file, 10, 103, 4), TaggedFileError);  // missing
    EXPECT_THROW(ReadPaperLine(file, 10, 111, 1), TaggedFileError);  // not a paper of the module
}

TEST_F(ResultsStoreTest, TrendKeepsMarkingOrder) {
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    auto trend = File(ResultsFile::kTrend);
    EXPECT_TRUE(ReadTrendScores(trend).empty());
    AppendTrendScore(trend, "45.5");  // paper 105
    AppendTrendScore(trend, "100");   // then paper 101
    EXPECT_EQ(ReadBytes(trend), "#TRD#>45.5>100\r\n");
    EXPECT_EQ(ReadTrendScores(trend).items(), (std::vector<std::string>{"45.5", "100"}));

    WriteBytes(trend, "");
    EXPECT_THROW(AppendTrendScore(trend, "50"), TaggedFileError);
    EXPECT_EQ(ReadBytes(trend), "");
}

TEST_F(ResultsStoreTest, ModuleResultsOfTheCurrentModule) {
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    ModuleResults results = LoadModuleResults(course_, "2", course_.code, data_.path());
    EXPECT_EQ(results.module, 2);
    EXPECT_EQ(results.paperCount, 10);
    EXPECT_EQ(results.topicNames[2], "Fractions");
    EXPECT_EQ(results.marks.SST[1], "0");
    EXPECT_THROW(LoadModuleResults(course_, "1", course_.code, data_.path()), TaggedFileError);
    EXPECT_THROW(LoadModuleResults(course_, "x", course_.code, data_.path()), TaggedFileError);
    std::filesystem::remove(File(ResultsFile::kMarks));
    EXPECT_THROW(LoadModuleResults(course_, "2", course_.code, data_.path()), TaggedFileError);
}

TEST_F(ResultsStoreTest, DamagedValuesAreNamedNeverMisread) {
    ASSERT_EQ(CreateResultsFiles(resources_, course_, data_.path()), 0);
    const int papers = course_.Module(2).paperCount;
    MarksLists good = ReadMarksLists(File(ResultsFile::kMarks), papers);
    good.FSE[3] = "66.7";
    good.LTM[3] = "0:12:5";
    good.CDD[3] = "14/03/2026";
    good.FST[3] = "1";
    // Each damage: the key it must be named by.
    struct Damage {
        std::string key;
        std::function<void(MarksLists&)> apply;
    };
    const std::vector<Damage> damages = {
        {"FST", [](MarksLists& m) { m.FST[4] = "2"; }},
        {"SST", [](MarksLists& m) { m.SST[5] = ""; }},
        {"FSE", [](MarksLists& m) { m.FSE[3] = "abc"; }},
        {"SSE", [](MarksLists& m) { m.SSE[2] = "101"; }},
        {"LTM", [](MarksLists& m) { m.LTM[3] = "zz:qq"; }},
        {"CDD", [](MarksLists& m) { m.CDD[3] = "99/99/9999"; }},
        {"FSE", [](MarksLists& m) { m.FSE[3] = ""; }},  // marked, without a score
    };
    for (const Damage& damage : damages) {
        MarksLists marks = good;
        damage.apply(marks);
        WriteBytes(File(ResultsFile::kMarks), MarksBytes(File(ResultsFile::kMarks), marks, papers));
        try {
            ReadMarksLists(File(ResultsFile::kMarks), papers);
            ADD_FAILURE() << damage.key << " read";
        } catch (const TaggedFileError& error) {
            EXPECT_EQ(error.key(), damage.key);
            EXPECT_EQ(error.file(), File(ResultsFile::kMarks).string());
        }
        const auto problems = CheckModuleStore(data_.path(), "FIX", 2, papers);
        ASSERT_EQ(problems.size(), 1u) << damage.key;
        EXPECT_EQ(problems[0].file, "marks2FIX.txt");
        EXPECT_NE(problems[0].reason.find(damage.key), std::string::npos) << problems[0].reason;
    }
    WriteBytes(File(ResultsFile::kMarks), MarksBytes(File(ResultsFile::kMarks), good, papers));
    EXPECT_TRUE(CheckModuleStore(data_.path(), "FIX", 2, papers).empty());

    // A trend value, a tick that is not one, a paper's line gone.
    WriteBytes(File(ResultsFile::kTrend), "#TRD#>66.7>abc\r\n");
    EXPECT_THROW(ReadTrendScores(File(ResultsFile::kTrend)), TaggedFileError);
    std::string results = ReadBytes(File(ResultsFile::kFirstResults));
    results.replace(results.find("#102#>"), 6, "#102#>?");
    WriteBytes(File(ResultsFile::kFirstResults), results);
    std::string second = ReadBytes(File(ResultsFile::kSecond));
    second.replace(second.find("#107#"), 5, "#1O7#");
    WriteBytes(File(ResultsFile::kSecond), second);
    const auto problems = CheckModuleStore(data_.path(), "FIX", 2, papers);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].file, "second2FIX.txt");
    EXPECT_NE(problems[0].reason.find("107"), std::string::npos) << problems[0].reason;
    EXPECT_EQ(problems[1].file, "fresults2FIX.txt");
    EXPECT_EQ(problems[2].file, "trend2FIX.txt");
}

}  // namespace
}  // namespace ep
