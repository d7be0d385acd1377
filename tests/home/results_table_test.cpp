#include "results_table.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ep {
namespace {

MarksLists EmptyMarks() {
    MarksLists marks{TextList(50), TextList(50), TextList(50), TextList(50), TextList(50, "0"), TextList(50, "0")};
    return marks;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ResultsTableTest, OneBlockPerTopicWithFivePaperLines) {
    TextList names{"Whole Numbers", "Decimals", "Fractions"};
    names.resize(10);
    auto lines = ResultsTable("Maths Practice", 3, names, EmptyMarks());
    EXPECT_EQ(lines.size(), 2u + 1 + 2 + 3 * (2 + 1 + 1 + 2 + 1 + 5));
    std::string text = PlainText(lines);
    EXPECT_NE(text.find("              Maths Practice\n"), std::string::npos);
    EXPECT_NE(text.find("              Fractions\n"), std::string::npos);
    EXPECT_EQ(text.find("Area and Perimeter"), std::string::npos);
    EXPECT_NE(text.find("              " + std::string(128, '-') + "\n"), std::string::npos);
}

TEST(ResultsTableTest, ItemsStartAtTheirZones) {
    MarksLists marks = EmptyMarks();
    marks.FSE[6] = "75";
    marks.LTM[6] = "0:12:5";
    marks.CDD[6] = "05/12/2026";
    TextList names{"Whole Numbers", "Decimals"};
    names.resize(10);
    std::vector<std::string> lines = Lines(PlainText(ResultsTable("Course", 2, names, marks)));
    auto paper = std::find(lines.begin(), lines.end(), std::string(" ") + std::string(13, ' ') + "Paper 1" +
                                                           std::string(7 + 14, ' ') + "75%" + std::string(11, ' ') +
                                                           "0:12:5" + std::string(8, ' ') + "05/12/2026" +
                                                           std::string(4 + 14, ' ') + "%");
    ASSERT_NE(paper, lines.end());
    // The second topic's first paper: the first topic's first paper has no attempt.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("Paper 1") != std::string::npos; }),
              2);
    auto heading = std::find_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.find("Papers") != std::string::npos; });
    ASSERT_NE(heading, lines.end());
    EXPECT_EQ(heading->find("Papers"), 14u);
    EXPECT_EQ(heading->find("First take"), 42u);
    EXPECT_EQ(heading->find("Time taken"), 56u);
    EXPECT_EQ(heading->find("Date"), 70u);
    EXPECT_EQ(heading->find("Second take"), 98u);
}

// A page as text lines without their trailing spaces.
std::vector<std::string> PageLines(const std::vector<PrintLine>& page) {
    std::vector<std::string> lines = Lines(PlainText(page));
    for (std::string& line : lines) line.erase(line.find_last_not_of(' ') + 1);
    return lines;
}

ResultsDocument ThreeTopics() {
    TextList names{"Whole Numbers", "Decimals", "Fractions"};
    names.resize(10);
    return MakeResultsDocument("Course", 3, names, EmptyMarks());
}

TEST(ResultsPagesTest, ATopicThatWouldNotFitStartsTheNextPage) {
    // The title and two topics take 3 + 12 + 12 lines; the third topic's 12 do not fit in 30.
    auto pages = ResultsPages(ThreeTopics(), 30);
    ASSERT_EQ(pages.size(), 2u);
    std::vector<std::string> first = PageLines(pages[0]);
    std::vector<std::string> second = PageLines(pages[1]);
    EXPECT_EQ(first.size(), 27u);
    EXPECT_EQ(first.front(), std::string(14, ' ') + "Course");  // empty lines go at the top of a page
    // The next page starts with the topic's name and its headings, no empty lines.
    EXPECT_EQ(second[0], std::string(14, ' ') + "Fractions");
    EXPECT_NE(second[2].find("First take"), std::string::npos);
    EXPECT_NE(second[3].find("score"), std::string::npos);
    EXPECT_EQ(second.size(), 10u);
    // Nothing but the dropped empty lines is lost or repeated.
    std::vector<std::string> whole = PageLines(ResultsTable("Course", 3, {"Whole Numbers", "Decimals", "Fractions", "",
                                                                          "", "", "", "", "", ""},
                                                            EmptyMarks()));
    whole.erase(whole.begin(), whole.begin() + 2);
    first.insert(first.end(), {"", ""});
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(first, whole);
}

TEST(ResultsPagesTest, ATopicLongerThanAPageRepeatsItsHeadings) {
    auto pages = ResultsPages(ThreeTopics(), 8);
    int papers = 0;
    for (const auto& page : pages) {
        std::vector<std::string> lines = PageLines(page);
        ASSERT_LE(lines.size(), 8u);
        // Every page with paper lines shows the headings above them.
        auto paper = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.find("Paper ") != std::string::npos; });
        auto heading = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.find("Second take") != std::string::npos; });
        if (paper != lines.end()) {
            ASSERT_NE(heading, lines.end());
            EXPECT_LT(heading - lines.begin(), paper - lines.begin());
        }
        papers += static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("Paper ") != std::string::npos;
        }));
    }
    EXPECT_EQ(papers, 15);
    // A topic split by a page break is named again, marked as continued.
    ASSERT_GE(pages.size(), 6u);
    EXPECT_EQ(PageLines(pages[2]).front(), std::string(14, ' ') + "Whole Numbers (continued)");
    EXPECT_NE(PageLines(pages[2])[5].find("Paper 4"), std::string::npos);  // three papers fit under the headings
}

TEST(ZoneLineTest, ALongItemPushesTheNextToTheNextFreeZone) {
    PrintLine line = ZoneLine({{2, std::string(20, 'x')}, {3, "next"}});
    ASSERT_EQ(line.size(), 3u);
    EXPECT_EQ(line[0].column, 0);
    EXPECT_EQ(line[1].column, 14);
    EXPECT_EQ(line[2].column, 42);
}

}  // namespace
}  // namespace ep
