#include "open_paper.h"

#include <gtest/gtest.h>

#include <map>

#include "answer_check.h"
#include "paper_test_support.h"
#include "startup.h"
#include "tagged_file.h"
#include "test_support.h"

namespace ep {
namespace {

using test::FixtureCourse;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kTick(kTickMark);
const std::string kCross(kCrossMark);

class OpenPaperTest : public ::testing::Test {
protected:
    void SetUp() override { PrepareCourseData(resources_, data_.path()); }

    PaperRequest Request(int paperKey, Attempt attempt = Attempt::kFirst) const {
        return test::FixtureRequest(paperKey, attempt);
    }
    OpenPaper Open(int paperKey, Attempt attempt = Attempt::kFirst) const {
        return OpenPaper::Load(resources_, data_.path(), Request(paperKey, attempt));
    }
    std::filesystem::path File(ResultsFile file) const { return ResultsFilePath(data_.path(), file, 2, "FIX"); }
    std::string Line(ResultsFile file, int paperKey) const {
        return ReadNumberedLines(File(file), 10)[static_cast<std::size_t>(paperKey - 100)];
    }

    FolderResources resources_{FixtureCourse()};
    TempDir data_;
};

TEST_F(OpenPaperTest, ANewPaperOpensEmpty) {
    OpenPaper paper = Open(101);
    EXPECT_EQ(paper.Caption(), "Whole Numbers - Paper 1");
    EXPECT_EQ(Open(107).Caption(), "Fractions - Paper 2");
    EXPECT_EQ(paper.QuestionCount(), 3);
    EXPECT_EQ(paper.SlotCount(), 4);
    EXPECT_EQ(paper.QuestionId(2), 20013);
    EXPECT_EQ(paper.answers().items(), std::vector<std::string>(4, ""));
    EXPECT_FALSE(paper.Marked());
    EXPECT_EQ(paper.RemainingQuestions().items(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(paper.AnsweredCount(), 0);
    // Loading leaves only the results files behind.
    for (const auto& entry : std::filesystem::directory_iterator(data_.path())) {
        EXPECT_EQ(entry.path().filename().string().find("temp"), std::string::npos) << entry.path();
    }
}

TEST_F(OpenPaperTest, AnswersAreSavedInTheirSlotsAndComeBack) {
    OpenPaper paper = Open(101);
    paper.StoreAnswers(2, {"12", "Derrick", "ignored row"});
    paper.StoreAnswers(3, {" "});
    EXPECT_EQ(paper.RemainingQuestions().items(), (std::vector<int>{1, 3}));  // a space is still empty here
    EXPECT_EQ(paper.AnsweredCount(), 3);
    paper.SaveAnswers();
    EXPECT_EQ(Line(ResultsFile::kFirst, 101), "#101#>>12>Derrick> ");
    EXPECT_EQ(Line(ResultsFile::kFirst, 102), "#102#>>>>");

    OpenPaper again = Open(101);
    EXPECT_EQ(again.answers().items(), (std::vector<std::string>{"", "12", "Derrick", " "}));
}

TEST_F(OpenPaperTest, OnlyAnEmptySlotIsUnanswered) {
    OpenPaper paper = Open(101);
    EXPECT_TRUE(paper.HasUnansweredSlots());
    paper.StoreAnswers(1, {"84"});
    paper.StoreAnswers(2, {"12", "x"});
    paper.StoreAnswers(3, {" "});
    EXPECT_FALSE(paper.HasUnansweredSlots());
}

TEST_F(OpenPaperTest, MarkingRecordsEverythingAndReopensMarked) {
    OpenPaper paper = Open(101);
    paper.StoreAnswers(1, {"84"});
    paper.StoreAnswers(2, {"12", "derrick "});
    paper.StoreAnswers(3, {"4"});
    paper.SaveAnswers();
    const std::string trendBefore = ReadBytes(File(ResultsFile::kTrend));
    MarkOutcome outcome = paper.Mark(std::chrono::seconds(12 * 60 + 5), "06/12/2026");
    EXPECT_EQ(outcome.score, 5);  // 2 + 1 + 2 of 6
    EXPECT_EQ(outcome.percentText, "83.3");
    EXPECT_TRUE(paper.Marked());
    EXPECT_EQ(paper.results().items(), (std::vector<std::string>{kTick, kTick, kTick, kCross}));

    EXPECT_EQ(Line(ResultsFile::kFirstResults, 101), "#101#>" + kTick + ">" + kTick + ">" + kTick + ">" + kCross);
    MarksLists marks = ReadMarksLists(File(ResultsFile::kMarks), 10);
    EXPECT_EQ(marks.FSE[1], "83.3");
    EXPECT_EQ(marks.LTM[1], "0:12:5");
    EXPECT_EQ(marks.CDD[1], "06/12/2026");
    EXPECT_EQ(marks.FST[1], "1");
    EXPECT_EQ(marks.SST[1], "0");
    EXPECT_EQ(marks.FST[2], "0");
    EXPECT_EQ(trendBefore, "#TRD#");
    EXPECT_EQ(ReadBytes(File(ResultsFile::kTrend)), "#TRD#>83.3\r\n");

    OpenPaper reopened = Open(101);
    EXPECT_TRUE(reopened.Marked());
    EXPECT_EQ(reopened.ScoreText(), "83.3");
    EXPECT_EQ(reopened.TimeTakenText(), "0:12:5");
    EXPECT_EQ(reopened.CompletedDateText(), "06/12/2026");
    EXPECT_EQ(reopened.results(), paper.results());
    EXPECT_EQ(reopened.answers(), paper.answers());
    // A marked first attempt is never marked again.
    reopened.Mark(std::chrono::seconds(1), "07/12/2026");
    EXPECT_EQ(ReadBytes(File(ResultsFile::kTrend)), "#TRD#>83.3\r\n");
}

TEST_F(OpenPaperTest, TrendFollowsTheOrderOfMarking) {
    Open(105).Mark(std::chrono::seconds(1), "06/12/2026");
    Open(101).Mark(std::chrono::seconds(1), "06/12/2026");
    EXPECT_EQ(ReadBytes(File(ResultsFile::kTrend)), "#TRD#>0>0\r\n");
    EXPECT_EQ(ReadMarksLists(File(ResultsFile::kMarks), 10).FST[5], "1");
}

TEST_F(OpenPaperTest, GroupsAreMarkedAsGroups) {
    OpenPaper paper = Open(103);
    paper.StoreAnswers(1, {"5", "3", "3"});
    paper.StoreAnswers(2, {"Twelve"});
    MarkOutcome outcome = paper.Mark(std::chrono::seconds(0), "06/12/2026");
    EXPECT_EQ(paper.results().items(), (std::vector<std::string>{kTick, kTick, kCross, kTick}));
    EXPECT_EQ(outcome.percentText, "80");  // 4 of 5
}

TEST_F(OpenPaperTest, AFailedRecordingLeavesEveryFileAsItWas) {
    // Whichever of the three files cannot be written, none is changed, and
    // marking again once it can records the attempt once.
    for (ResultsFile blocked : {ResultsFile::kFirstResults, ResultsFile::kMarks, ResultsFile::kTrend}) {
        SCOPED_TRACE(ResultsFileName(blocked, 2, "FIX"));
        TempDir data;
        PrepareCourseData(resources_, data.path());
        auto file = [&](ResultsFile f) { return ResultsFilePath(data.path(), f, 2, "FIX"); };
        OpenPaper paper = OpenPaper::Load(resources_, data.path(), Request(101));
        paper.StoreAnswers(1, {"84"});
        std::map<ResultsFile, std::string> before;
        for (ResultsFile f : kResultsFiles) before[f] = ReadBytes(file(f));
        const std::string blocker = file(blocked).string() + ".tmp";
        std::filesystem::create_directory(blocker);
        EXPECT_THROW(paper.Mark(std::chrono::seconds(1), "06/12/2026"), TaggedFileError);
        EXPECT_FALSE(paper.Marked());
        EXPECT_EQ(paper.results().items(), std::vector<std::string>(4, ""));
        for (ResultsFile f : kResultsFiles) EXPECT_EQ(ReadBytes(file(f)), before[f]) << ResultsFileName(f, 2, "FIX");
        std::filesystem::remove(blocker);
        EXPECT_EQ(paper.Mark(std::chrono::seconds(1), "06/12/2026").percentText, "33.3");
        EXPECT_TRUE(OpenPaper::Load(resources_, data.path(), Request(101)).Marked());
        EXPECT_EQ(ReadBytes(file(ResultsFile::kTrend)), "#TRD#>33.3\r\n");
    }
}

TEST_F(OpenPaperTest, DamagedFilesStopTheLoadingOrTheMarking) {
    const std::string first = ReadBytes(File(ResultsFile::kFirst));
    // A line with too few values stops its own paper.
    std::string shorter = first;
    shorter.replace(shorter.find("#101#>>>>"), 9, "#101#>>");
    WriteBytes(File(ResultsFile::kFirst), shorter);
    EXPECT_THROW(Open(101), TaggedFileError);
    EXPECT_NO_THROW(Open(102));
    // A file of the module that is damaged or missing stops every paper of it.
    WriteBytes(File(ResultsFile::kFirst), "#101#>>>>\r\n#102#>>>>\r\n");
    try {
        Open(102);
        FAIL();
    } catch (const TaggedFileError& error) {
        EXPECT_EQ(error.file(), File(ResultsFile::kFirst).string());
    }
    WriteBytes(File(ResultsFile::kFirst), first);
    std::filesystem::remove(File(ResultsFile::kSecondResults));
    EXPECT_THROW(Open(102), TaggedFileError);
    PrepareCourseData(resources_, data_.path());  // asks, and writes nothing
    EXPECT_FALSE(std::filesystem::exists(File(ResultsFile::kSecondResults)));
    int status = 0;
    StartModuleAfresh(resources_, ReadCourseDefinition(resources_, data_.path(), status), data_.path(), 2);

    // Damaged while the paper is open, or given a date it could not read back: nothing is recorded.
    OpenPaper paper = Open(102);
    const std::string marks = ReadBytes(File(ResultsFile::kMarks));
    EXPECT_THROW(paper.Mark(std::chrono::seconds(1), "d"), TaggedFileError);
    WriteBytes(File(ResultsFile::kTrend), "gone");
    EXPECT_THROW(paper.Mark(std::chrono::seconds(1), "06/12/2026"), TaggedFileError);
    EXPECT_EQ(ReadBytes(File(ResultsFile::kMarks)), marks);
    EXPECT_FALSE(paper.Marked());
}

class SecondAttemptTest : public OpenPaperTest {
protected:
    // A first attempt of paper 101 right on every slot but the last.
    void SetUp() override {
        OpenPaperTest::SetUp();
        OpenPaper first = Open(101);
        first.StoreAnswers(1, {"84"});
        first.StoreAnswers(2, {"12", "Derrick"});
        first.StoreAnswers(3, {"1"});
        first.SaveAnswers();
        first.Mark(std::chrono::seconds(65), "06/12/2026");
    }
};

TEST_F(SecondAttemptTest, RightSlotsAreCarriedAndOnlyTheRestAsked) {
    // Whatever "second" held for a carried slot gives way to the first answer.
    std::string second = ReadBytes(File(ResultsFile::kSecond));
    second.replace(second.find("#101#>>>>"), 9, "#101#>99>>>");
    WriteBytes(File(ResultsFile::kSecond), second);

    OpenPaper paper = Open(101, Attempt::kSecond);
    EXPECT_FALSE(paper.Marked());
    EXPECT_EQ(paper.answers().items(), (std::vector<std::string>{"84", "12", "Derrick", ""}));
    EXPECT_EQ(paper.firstResults().items(), (std::vector<std::string>{kTick, kTick, kTick, kCross}));
    EXPECT_TRUE(paper.IsCarried(1));
    EXPECT_FALSE(paper.IsCarried(4));
    EXPECT_TRUE(paper.HasUnansweredSlots());
    EXPECT_EQ(paper.RemainingQuestions().items(), (std::vector<int>{3}));
    paper.SetAnswer(4, "3");
    EXPECT_FALSE(paper.HasUnansweredSlots());
    paper.SaveAnswers();
    EXPECT_EQ(Line(ResultsFile::kSecond, 101), "#101#>84>12>Derrick>3");
}

TEST_F(SecondAttemptTest, MarkingLeavesTheFirstAttemptAlone) {
    const std::string first = ReadBytes(File(ResultsFile::kFirst));
    const std::string firstResults = ReadBytes(File(ResultsFile::kFirstResults));
    const std::string trend = ReadBytes(File(ResultsFile::kTrend));
    const MarksLists before = ReadMarksLists(File(ResultsFile::kMarks), 10);

    OpenPaper paper = Open(101, Attempt::kSecond);
    paper.SetAnswer(4, "3");
    EXPECT_EQ(paper.Mark(std::chrono::seconds(5), "ignored").percentText, "100");

    EXPECT_EQ(ReadBytes(File(ResultsFile::kFirst)), first);
    EXPECT_EQ(ReadBytes(File(ResultsFile::kFirstResults)), firstResults);
    EXPECT_EQ(ReadBytes(File(ResultsFile::kTrend)), trend);
    MarksLists after = ReadMarksLists(File(ResultsFile::kMarks), 10);
    EXPECT_EQ(after.FSE, before.FSE);
    EXPECT_EQ(after.LTM, before.LTM);
    EXPECT_EQ(after.CDD, before.CDD);
    EXPECT_EQ(after.FST, before.FST);
    EXPECT_EQ(after.SSE[1], "100");
    EXPECT_EQ(after.SST[1], "1");
    EXPECT_EQ(Line(ResultsFile::kSecondResults, 101),
              "#101#>" + kTick + ">" + kTick + ">" + kTick + ">" + kTick);

    OpenPaper reopened = Open(101, Attempt::kSecond);
    EXPECT_TRUE(reopened.Marked());
    EXPECT_EQ(reopened.ScoreText(), "100");
}

TEST_F(SecondAttemptTest, ModelAnswersOfEachKind) {
    OpenPaper paper = Open(101, Attempt::kSecond);
    EXPECT_EQ(paper.ModelAnswer(3), "Derrick");
    EXPECT_EQ(Open(101).ModelAnswer(4), "3");

    OpenPaper groups = Open(103, Attempt::kSecond);
    groups.SetAnswer(1, "5");
    EXPECT_EQ(groups.ModelAnswer(2), "3");  // the value nobody gave yet, in key order
    EXPECT_EQ(groups.ModelAnswer(4), "12"); // "M": the first accepted value

    test::FixtureCopy fixture;
    std::string keys = ReadBytes(fixture.Resource(30023));
    keys.replace(keys.find(";12;twelve"), 10, ";twelve");
    fixture.Replace(30023, keys);
    OpenPaper odd = OpenPaper::Load(FolderResources(fixture.folder()), data_.path(), Request(103, Attempt::kSecond));
    EXPECT_EQ(odd.ModelAnswer(4), "twelve");
}

// ---- Learning aids: solutions, answer forms

TEST(RetakeRuleTest, ASecondAttemptIsOfferedUpTo99) {
    EXPECT_TRUE(RetakeOffered("99"));
    EXPECT_TRUE(RetakeOffered("0"));
    EXPECT_FALSE(RetakeOffered("99.1"));
    EXPECT_FALSE(RetakeOffered("100"));
    EXPECT_FALSE(RetakeOffered(""));     // not marked
    EXPECT_FALSE(RetakeOffered("abc"));  // a damaged score offers nothing
}

TEST_F(SecondAttemptTest, SolutionsOpenOnlyWhereNoMarksAreLeftToWin) {
    // Marked first attempt, 5 of 6 (83.3): questions 1 and 2 are all ticked.
    OpenPaper first = Open(101);
    EXPECT_EQ(first.SolutionAccessOf(1), SolutionAccess::kOpen);
    EXPECT_EQ(first.SolutionAccessOf(2), SolutionAccess::kOpen);
    EXPECT_EQ(first.SolutionAccessOf(3), SolutionAccess::kAfterSecondAttempt);
    // Nothing is open in an attempt not yet marked, whatever the first gave.
    OpenPaper second = Open(101, Attempt::kSecond);
    for (int q = 1; q <= 3; ++q) EXPECT_EQ(second.SolutionAccessOf(q), SolutionAccess::kAfterMarking);
    EXPECT_EQ(Open(102).SolutionAccessOf(1), SolutionAccess::kAfterMarking);

    // Once the second attempt is marked, everything opens in both attempts.
    second.StoreAnswers(3, {"4"});
    second.Mark(std::chrono::seconds(1), "06/12/2026");
    for (int q = 1; q <= 3; ++q) {
        EXPECT_EQ(second.SolutionAccessOf(q), SolutionAccess::kOpen);
        EXPECT_EQ(Open(101).SolutionAccessOf(q), SolutionAccess::kOpen);
    }
}

TEST_F(OpenPaperTest, ASolutionOpensWhenThePaperCannotBeRetaken) {
    // Question 3 is worth 1 mark of 401: one cross still scores above 99.
    test::FixtureCopy fixture;
    std::string marks = ReadBytes(fixture.Resource(30025));
    marks.replace(marks.find("#20011#>2"), 9, "#20011#>200");
    marks.replace(marks.find("#20013#>1>2"), 11, "#20013#>100>100");
    fixture.Replace(30025, marks);
    FolderResources course(fixture.folder());
    OpenPaper paper = OpenPaper::Load(course, data_.path(), Request(101));
    paper.StoreAnswers(1, {"84"});
    paper.StoreAnswers(2, {"12", "Derrick"});
    paper.StoreAnswers(3, {"4"});
    EXPECT_EQ(paper.Mark(std::chrono::seconds(1), "06/12/2026").percentText, "99.8");
    EXPECT_EQ(paper.results()[4], kCross);
    EXPECT_EQ(paper.SolutionAccessOf(3), SolutionAccess::kOpen);
    // A score that does not read is a damaged marks file: named, no paper opened.
    std::string file = ReadBytes(File(ResultsFile::kMarks));
    file.replace(file.find("99.8"), 4, "abc");
    WriteBytes(File(ResultsFile::kMarks), file);
    EXPECT_THROW(OpenPaper::Load(course, data_.path(), Request(101)), TaggedFileError);
}

TEST_F(OpenPaperTest, QuestionsWhoseAnswersDoNotReadInTheirForm) {
    OpenPaper paper = Open(102);  // X; F, R, N
    EXPECT_TRUE(paper.QuestionsNotInForm().empty());  // empty slots are not a form problem
    paper.StoreAnswers(1, {"5 2/3"});
    paper.StoreAnswers(2, {"109/200", "7:23", "2800"});
    EXPECT_TRUE(paper.QuestionsNotInForm().empty());
    paper.StoreAnswers(2, {"0.545", "7:23", "2,8"});  // two slots of one question: named once
    EXPECT_EQ(paper.QuestionsNotInForm().items(), std::vector<int>{2});
    paper.StoreAnswers(1, {"17/3"});
    EXPECT_EQ(paper.QuestionsNotInForm().items(), (std::vector<int>{1, 2}));
}

TEST_F(OpenPaperTest, ACrossedSlotOfTheRightValueSaysWhatIsWrongWithItsForm) {
    OpenPaper paper = Open(102);
    paper.StoreAnswers(1, {"17/3"});                       // 5 2/3 as an improper fraction
    paper.StoreAnswers(2, {"218/400", "7:23", "2900"});  // not simplest; right; another value
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(paper.FormOnlyNote(s), "") << "before marking, slot " << s;
    paper.Mark(std::chrono::seconds(1), "06/12/2026");
    EXPECT_EQ(paper.FormOnlyNote(1), "give a mixed number, not an improper fraction");
    EXPECT_EQ(paper.FormOnlyNote(2), "not in its simplest form");
    EXPECT_EQ(paper.FormOnlyNote(3), "");  // ticked
    EXPECT_EQ(paper.FormOnlyNote(4), "");  // crossed, another value
    EXPECT_EQ(paper.results()[1], kCross);  // the marks stand
    EXPECT_EQ(paper.results()[2], kCross);
}

}  // namespace
}  // namespace ep
