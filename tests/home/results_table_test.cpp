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

TEST(ZoneLineTest, ALongItemPushesTheNextToTheNextFreeZone) {
    PrintLine line = ZoneLine({{2, std::string(20, 'x')}, {3, "next"}});
    ASSERT_EQ(line.size(), 3u);
    EXPECT_EQ(line[0].column, 0);
    EXPECT_EQ(line[1].column, 14);
    EXPECT_EQ(line[2].column, 42);
}

}  // namespace
}  // namespace ep
