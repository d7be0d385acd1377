#include "course.h"

#include <gtest/gtest.h>

#include "tagged_file.h"
#include "test_support.h"

namespace ep {
namespace {

using test::FixtureCopy;
using test::FixtureCourse;
using test::TempDir;

std::string Definition(const std::string& body) { return "...\r\n" + body + "\r\n" + std::string(31, '-') + "\r\n..."; }

TEST(CourseDefinitionTest, ReadsTheFixtureCourseAndRemovesTheTemporaryFile) {
    TempDir data;
    FolderResources resources(FixtureCourse());
    int status = -1;
    CourseDefinition course = ReadCourseDefinition(resources, data.path(), status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(course.title, "Fixture Course");
    EXPECT_EQ(course.code, "FIX");
    EXPECT_FALSE(course.Module(1).Defined());
    EXPECT_FALSE(course.Module(3).Defined());
    const ModuleDefinition& practice = course.Module(2);
    EXPECT_EQ(practice.label, "Practice");
    EXPECT_EQ(practice.topicCount, 2);
    EXPECT_EQ(practice.paperCount, 10);
    EXPECT_EQ(practice.topicNames.size(), 10u);
    EXPECT_EQ(practice.topicNames[1], "Whole Numbers");
    EXPECT_EQ(practice.topicNames[2], "Fractions");
    EXPECT_EQ(practice.topicNames[3], "");
    EXPECT_EQ(course.FirstModule(), 2);
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

TEST(CourseDefinitionTest, ModulesOneAndThreeWithoutTwo) {
    FixtureCopy fixture;
    fixture.Replace(30000, Definition("#NME#>Two Banks\r\n#COD#>TB\r\n#LAH#>Basic\r\n#LCH#>Advanced\r\n"
                                      "#TT1#>1\r\n#TP1#>5\r\n#TN1#>Counting\r\n"
                                      "#TT3#>2\r\n#TP3#>10\r\n#TN3#>Algebra>Graphs"));
    TempDir data;
    int status = -1;
    CourseDefinition course = ReadCourseDefinition(FolderResources(fixture.folder()), data.path(), status);
    EXPECT_TRUE(course.Module(1).Defined());
    EXPECT_FALSE(course.Module(2).Defined());
    EXPECT_EQ(course.Module(3).topicNames[2], "Graphs");
    EXPECT_EQ(course.FirstModule(), 1);
}

TEST(CourseDefinitionTest, AFailedExtractionDefinesNoModule) {
    TempDir empty;
    TempDir data;
    int status = 0;
    CourseDefinition course = ReadCourseDefinition(FolderResources(empty.path()), data.path(), status);
    EXPECT_NE(status, 0);
    EXPECT_EQ(course.FirstModule(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

TEST(CourseDefinitionTest, DamagedCountsAreReportedWithTheirKey) {
    for (const char* body : {"#LBH#>Practice\r\n#TT2#>ten\r\n#TP2#>50\r\n#TN2#>A",
                             "#LBH#>Practice\r\n#TT2#>11\r\n#TP2#>50\r\n#TN2#>A",
                             "#LBH#>Practice\r\n#TT2#>2\r\n#TP2#>50\r\n#TN2#>A",  // one name for two topics
                             "#LBH#>Practice\r\n#TT2#>1\r\n#TN2#>A"}) {       // no paper count
        FixtureCopy fixture;
        fixture.Replace(30000, Definition(body));
        TempDir data;
        int status = 0;
        EXPECT_THROW(ReadCourseDefinition(FolderResources(fixture.folder()), data.path(), status), TaggedFileError)
            << body;
        EXPECT_TRUE(std::filesystem::is_empty(data.path())) << body;
    }
}

TEST(PaperCatalogueTest, ReadsMultiSlotQuestionsInSlotOrder) {
    TempDir data;
    PaperCatalogue paper = LoadPaperCatalogue(FolderResources(FixtureCourse()), data.path(), 2, "102");
    EXPECT_EQ(paper.questions.items(), (std::vector<std::string>{"20021", "20023"}));
    EXPECT_EQ(paper.parts.items(), (std::vector<int>{1, 3}));
    EXPECT_EQ(paper.answerKey.items(), (std::vector<std::string>{"5 2/3", "109/200", "7:23", "2800"}));
    EXPECT_EQ(paper.kinds.items(), (std::vector<std::string>{"X", "F", "R", "N"}));
    EXPECT_EQ(paper.slotCount, 4);
    EXPECT_EQ(paper.totalMarks, 7);
    EXPECT_EQ(paper.FirstSlotOf(2), 2);
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

TEST(PaperCatalogueTest, GroupKeysKeepTheirSpaces) {
    TempDir data;
    PaperCatalogue paper = LoadPaperCatalogue(FolderResources(FixtureCourse()), data.path(), 2, "103");
    EXPECT_EQ(paper.answerKey.items(), (std::vector<std::string>{";3;5;7", " ", " ", ";12;twelve"}));
}

TEST(PaperCatalogueTest, FiftySlotPaper) {
    TempDir data;
    PaperCatalogue paper = LoadPaperCatalogue(FolderResources(FixtureCourse()), data.path(), 2, "105");
    EXPECT_EQ(paper.QuestionCount(), 30);
    EXPECT_EQ(paper.slotCount, 50);
    EXPECT_EQ(paper.totalMarks, 20 * 3 + 10 * 3);
    EXPECT_EQ(paper.FirstSlotOf(21), 41);
    EXPECT_EQ(paper.answerKey[50], "30");
}

TEST(PaperCatalogueTest, BrokenCataloguesAreErrorsNotHalfPapers) {
    TempDir data;
    {
        FixtureCopy fixture;  // kinds line with a slot missing
        std::string kinds = test::ReadBytes(fixture.Resource(30024));
        kinds.replace(kinds.find("#20023#>F>R>N"), 13, "#20023#>F>R");
        fixture.Replace(30024, kinds);
        EXPECT_THROW(LoadPaperCatalogue(FolderResources(fixture.folder()), data.path(), 2, "102"), TaggedFileError);
    }
    {
        FixtureCopy fixture;  // a value moved to the question before: same total, every slot shifted
        std::string kinds = test::ReadBytes(fixture.Resource(30024));
        kinds.replace(kinds.find("#20021#>X"), 9, "#20021#>X>F");
        kinds.replace(kinds.find("#20023#>F>R>N"), 13, "#20023#>R>N");
        fixture.Replace(30024, kinds);
        try {
            LoadPaperCatalogue(FolderResources(fixture.folder()), data.path(), 2, "102");
            FAIL();
        } catch (const TaggedFileError& error) {
            EXPECT_NE(std::string(error.what()).find("20021"), std::string::npos) << error.what();
        }
    }
    {
        FixtureCopy fixture;  // no marks resource at all
        std::filesystem::remove(fixture.Resource(30025));
        try {
            LoadPaperCatalogue(FolderResources(fixture.folder()), data.path(), 2, "101");
            FAIL();
        } catch (const TaggedFileError& error) {
            EXPECT_NE(std::string(error.what()).find("30025"), std::string::npos);
        }
    }
    EXPECT_THROW(LoadPaperCatalogue(FolderResources(FixtureCourse()), data.path(), 2, "111"), TaggedFileError);
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

}  // namespace
}  // namespace ep
