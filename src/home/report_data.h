#pragma once

// What the Report page shows, computed from the current module's marks and
// trend line. Plain C++: the page only draws these values.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list.h"

namespace ep {

struct TopicBars {
    std::string name;
    bool visible = false;      // topics past the module's count are hidden
    int countA = 0;            // first attempts recorded among the topic's five papers
    double sumA = 0;
    int countB = 0;            // second attempts
    double sumB = 0;
    std::string markA;         // "66.7%", or "" without an attempt
    std::string markB;
    double fractionA = 0;      // bar length as a fraction of the full-scale width
    double fractionB = 0;
    double average = 0;        // over every recorded attempt of its papers; 0 without one
    // Each paper's scores (1..5 at 0..4), empty without an attempt.
    std::array<std::optional<double>, 5> first;
    std::array<std::optional<double>, 5> second;
};

struct ReportData {
    std::string firstAverage;   // OScore1: "60%" or "-"
    std::string secondAverage;  // OScore2
    std::string papersCompleted;  // PCNum: "12 / 50"
    std::string weakestTopic;   // WT: the name and a space, or "-"
    std::string strongestTopic; // ST
    int weakest = 0;            // the topics WT and ST name (1..10), 0 for "-"
    int strongest = 0;
    int papersA = 0;            // first attempts recorded; 0 is an empty record
    int papersB = 0;
    std::array<TopicBars, 10> topics;
    std::vector<double> trend;  // up to the 20 most recent first-attempt scores, oldest first
};

struct ReportInput {
    int topicCount = 0;
    int paperCount = 0;
    const TextList* topicNames = nullptr;  // 10 entries
    const TextList* firstScores = nullptr;   // FSE
    const TextList* secondScores = nullptr;  // SSE
    std::string trendLine;                   // the trend file's "TRD" line
    std::string marksFile;   // names for the message when a value is not a number
    std::string trendFile;
};

// A score that is not a number is a TaggedFileError naming its file and key:
// the page then says which results file is damaged.
ReportData BuildReportData(const ReportInput& input);

// One paper of the weakest topic to take next.
struct PracticeStep {
    int paper = 0;         // 1..5 within the topic
    bool retake = false;   // worth a second attempt; otherwise not attempted yet
    double firstScore = 0; // the first attempt's score, for a retake
};

// The weakest topic's papers in the order a teacher would set them: first the
// attempted papers worth a second attempt (below 100 % and not yet retaken),
// the lowest score first, so mistakes are put right while they are fresh;
// then the papers not yet attempted, in paper order. Empty when the report
// names no weakest topic.
std::vector<PracticeStep> PractiseNext(const ReportData& report);

inline constexpr int kTrendPoints = 20;

struct ChartPoint {
    double x;
    double y;
};

// Where the chart puts each trend score in an area W wide and H high (y grows
// downward): score i at x = i·W/21, from 0 % at the bottom to 100 % at the top.
std::vector<ChartPoint> TrendChartPoints(const std::vector<double>& trend, double width, double height);

// Positions of the report's three section bars and its open panel.
struct SectionLayout {
    std::array<double, 3> barTops{};
    int openSection = 0;  // 1..3, 0 when the position names no section
    double panelTop = 0;
    double panelHeight = 0;
};

SectionLayout LayoutReportSections(std::string_view reportPos, double pageHeight, double barA, double barB,
                                   double barC);

}  // namespace ep
