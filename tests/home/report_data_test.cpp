#include "report_data.h"

#include <gtest/gtest.h>

#include "tagged_file.h"
#include "text_format.h"

namespace ep {
namespace {

class ReportDataTest : public ::testing::Test {
protected:
    ReportDataTest() : names_(10), first_(50), second_(50) {
        const char* shipped[] = {"Whole Numbers", "Decimals", "Fractions", "Area and Perimeter", "Volume",
                                 "Geometry", "Percentage", "Ratio and Proportions", "Rate and Speed", "Algebra"};
        for (std::size_t t = 1; t <= 10; ++t) names_[t] = shipped[t - 1];
    }
    ReportData Build(int topics = 10, const std::string& trend = "#TRD#") {
        ReportInput input;
        input.topicCount = topics;
        input.paperCount = 50;
        input.topicNames = &names_;
        input.firstScores = &first_;
        input.secondScores = &second_;
        input.trendLine = trend;
        input.marksFile = "marks2UPM.txt";
        input.trendFile = "trend2UPM.txt";
        return BuildReportData(input);
    }
    // Paper n (1..5) of topic t; "" for no attempt.
    void First(int t, int n, const char* score) { first_[static_cast<std::size_t>(5 * (t - 1) + n)] = score; }
    void Second(int t, int n, const char* score) { second_[static_cast<std::size_t>(5 * (t - 1) + n)] = score; }

    TextList names_, first_, second_;
};

TEST_F(ReportDataTest, NoAttemptsAtAll) {
    ReportData report = Build();
    EXPECT_EQ(report.firstAverage, "-");
    EXPECT_EQ(report.secondAverage, "-");
    EXPECT_EQ(report.papersCompleted, "0 / 50");
    EXPECT_EQ(report.weakestTopic, "-");
    EXPECT_EQ(report.strongestTopic, "-");
    for (const TopicBars& row : report.topics) {
        EXPECT_TRUE(row.visible);
        EXPECT_EQ(row.markA, "");
        EXPECT_EQ(row.fractionA, 0);
    }
    EXPECT_TRUE(report.trend.empty());
}

TEST_F(ReportDataTest, OneTopicGivesAveragesButNoStrongestOrWeakest) {
    First(3, 1, "50");
    First(3, 2, "66.7");
    ReportData report = Build();
    EXPECT_EQ(report.firstAverage, "58.4%");  // 58.35 to the even digit
    EXPECT_EQ(report.papersCompleted, "2 / 50");
    EXPECT_EQ(report.topics[2].markA, "58.4%");
    EXPECT_DOUBLE_EQ(report.topics[2].fractionA, 0.5835);
    EXPECT_EQ(report.weakestTopic, "-");
    EXPECT_EQ(report.strongestTopic, "-");
}

TEST_F(ReportDataTest, RetakesCountInTheTopicAverage) {
    First(1, 1, "40");
    First(2, 1, "80");
    Second(2, 1, "100");
    ReportData report = Build();
    EXPECT_EQ(report.firstAverage, "60%");
    EXPECT_EQ(report.secondAverage, "100%");
    EXPECT_EQ(report.weakestTopic, "Whole Numbers ");
    EXPECT_EQ(report.strongestTopic, "Decimals ");
    EXPECT_EQ(report.topics[1].markB, "100%");
    EXPECT_DOUBLE_EQ(report.topics[1].fractionB, 1.0);
}

TEST_F(ReportDataTest, TiesGoToTheLaterTopic) {
    First(1, 1, "90");
    First(2, 1, "70");
    First(3, 1, "70");
    EXPECT_EQ(Build().weakestTopic, "Fractions ");
    First(4, 1, "90");
    EXPECT_EQ(Build().strongestTopic, "Area and Perimeter ");
}

TEST_F(ReportDataTest, MockExaminationIsNeverStrongestOrWeakest) {
    names_[1] = "Mock Examination";
    First(1, 1, "10");
    First(2, 1, "70");
    First(3, 1, "80");
    ReportData report = Build();
    EXPECT_EQ(report.weakestTopic, "Decimals ");
    EXPECT_EQ(report.strongestTopic, "Fractions ");
    EXPECT_EQ(report.firstAverage, "53.3%");  // it still counts in the averages
}

TEST_F(ReportDataTest, AnUnattemptedFirstTopicIsNoCandidate) {
    First(2, 1, "70");
    First(3, 1, "80");
    ReportData report = Build();
    EXPECT_EQ(report.weakestTopic, "Decimals ");
    EXPECT_EQ(report.strongestTopic, "Fractions ");
}

TEST_F(ReportDataTest, TopicsPastTheCountAreHiddenAndIgnored) {
    First(8, 1, "30");
    ReportData report = Build(7);
    EXPECT_TRUE(report.topics[6].visible);
    EXPECT_FALSE(report.topics[7].visible);
    EXPECT_EQ(report.topics[7].markA, "");
    EXPECT_EQ(report.firstAverage, "-");
}

TEST_F(ReportDataTest, TrendKeepsTheTwentyMostRecent) {
    std::string line = "#TRD#";
    for (int i = 1; i <= 25; ++i) line += ">" + std::to_string(i);
    ReportData report = Build(10, line);
    ASSERT_EQ(report.trend.size(), 20u);
    EXPECT_EQ(report.trend.front(), 6);
    EXPECT_EQ(report.trend.back(), 25);
    EXPECT_EQ(Build(10, "#TRD#>50>66.7>100").trend, (std::vector<double>{50, 66.7, 100}));
    EXPECT_EQ(Build(10, "#TRD#>50>").trend, (std::vector<double>{50}));
    EXPECT_TRUE(Build(10, "#TRD#>").trend.empty());
}

TEST_F(ReportDataTest, DamagedValuesNameTheirFile) {
    First(1, 1, "abc");
    try {
        Build();
        FAIL();
    } catch (const TaggedFileError& error) {
        EXPECT_EQ(error.file(), "marks2UPM.txt");
        EXPECT_EQ(error.key(), "FSE");
    }
    First(1, 1, "50");
    for (const char* trend : {"#TRD#>50>x", "#TRD#>50>>", "", "nothing"}) {
        try {
            Build(10, trend);
            FAIL() << trend;
        } catch (const TaggedFileError& error) {
            EXPECT_EQ(error.file(), "trend2UPM.txt") << trend;
        }
    }
}

TEST_F(ReportDataTest, TheWeakestAndStrongestTopicsAreNamedByNumberToo) {
    First(2, 1, "70");
    First(4, 1, "70");
    First(3, 1, "90");
    First(6, 1, "80");
    Second(6, 1, "100");  // averages 90 with its retake: ties with topic 3
    ReportData report = Build();
    EXPECT_EQ(report.weakest, 4);
    EXPECT_EQ(report.strongest, 6);
    EXPECT_EQ(report.weakestTopic, names_[4] + " ");
    EXPECT_EQ(report.strongestTopic, names_[6] + " ");
    EXPECT_DOUBLE_EQ(report.topics[5].average, 90);
    EXPECT_EQ(report.papersA, 4);
    EXPECT_EQ(report.papersB, 1);
    EXPECT_EQ(Build(3).weakest, 2);  // topics past the count take no part
    names_[4] = "Mock Examination";
    EXPECT_EQ(Build().weakest, 2);
}

TEST_F(ReportDataTest, PractiseNextTakesRetakesLowestFirstThenNewPapersInOrder) {
    First(1, 1, "100");
    auto steps = [&](std::array<std::pair<const char*, const char*>, 5> papers) {
        for (int n = 1; n <= 5; ++n) {
            First(5, n, papers[static_cast<std::size_t>(n - 1)].first);
            Second(5, n, papers[static_cast<std::size_t>(n - 1)].second);
        }
        std::vector<std::string> out;
        for (const PracticeStep& step : PractiseNext(Build())) {
            out.push_back((step.retake ? "retake " + R1Text(step.firstScore) + " " : "new ") +
                          std::to_string(step.paper));
        }
        return out;
    };
    using Steps = std::vector<std::string>;
    // Retaken papers and papers at 100 % are not worth another attempt.
    EXPECT_EQ(steps({{{"80", "90"}, {"40", ""}, {"", ""}, {"60", ""}, {"100", ""}}}),
              (Steps{"retake 40 2", "retake 60 4", "new 3"}));
    // Equal scores keep paper order; new papers follow in paper order.
    EXPECT_EQ(steps({{{"", ""}, {"55.5", ""}, {"", ""}, {"55.5", ""}, {"20", ""}}}),
              (Steps{"retake 20 5", "retake 55.5 2", "retake 55.5 4", "new 1", "new 3"}));
    // Everything taken twice or perfect: nothing left to suggest.
    EXPECT_TRUE(steps({{{"50", "60"}, {"100", ""}, {"30", "90"}, {"70", "70"}, {"10", "40"}}}).empty());
}

TEST_F(ReportDataTest, PractiseNextNeedsAWeakestTopic) {
    First(3, 2, "20");
    EXPECT_EQ(Build().weakest, 0);
    EXPECT_TRUE(PractiseNext(Build()).empty());
    First(4, 1, "90");
    std::vector<PracticeStep> steps = PractiseNext(Build());
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_TRUE(steps[0].retake);
    EXPECT_EQ(steps[0].paper, 2);
    EXPECT_EQ(steps[1].paper, 1);
    EXPECT_FALSE(steps[1].retake);
}

TEST(TrendChartTest, PointsRunFromZeroAtTheBottomToHundredAtTheTop) {
    std::vector<ChartPoint> points = TrendChartPoints({0, 50, 100}, 210, 100);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[0].x, 10);
    EXPECT_DOUBLE_EQ(points[0].y, 100);
    EXPECT_DOUBLE_EQ(points[1].x, 20);
    EXPECT_DOUBLE_EQ(points[1].y, 50);
    EXPECT_DOUBLE_EQ(points[2].y, 0);
    EXPECT_TRUE(TrendChartPoints({}, 210, 100).empty());
}

TEST(ReportSectionsTest, EachPositionOpensItsSection) {
    const double H = 400, a = 20, b = 30, c = 40;
    SectionLayout one = LayoutReportSections("1", H, a, b, c);
    EXPECT_EQ(one.barTops, (std::array<double, 3>{0, H - c - b, H - c}));
    EXPECT_EQ(one.openSection, 1);
    EXPECT_EQ(one.panelTop, a);
    EXPECT_EQ(one.panelHeight, H - a - b - c);
    SectionLayout two = LayoutReportSections("2", H, a, b, c);
    EXPECT_EQ(two.barTops, (std::array<double, 3>{0, a, H - c}));
    EXPECT_EQ(two.panelTop, a + b);
    SectionLayout three = LayoutReportSections("3", H, a, b, c);
    EXPECT_EQ(three.barTops, (std::array<double, 3>{0, a, a + b}));
    EXPECT_EQ(three.panelTop, a + b + c);
    EXPECT_EQ(LayoutReportSections("4", H, a, b, c).openSection, 0);
}

}  // namespace
}  // namespace ep
