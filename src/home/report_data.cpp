#include "report_data.h"

#include <algorithm>
#include <optional>

#include "tagged_file.h"
#include "text_format.h"

namespace ep {
namespace {

constexpr std::string_view kMockExamination = "Mock Examination";

double ScoreValue(const std::string& text, const std::string& file, const std::string& key) {
    std::optional<double> value = ParseNumber(text);
    if (!value) throw TaggedFileError(file, key, "\"" + text + "\" is not a score");
    return *value;
}

}  // namespace

ReportData BuildReportData(const ReportInput& input) {
    ReportData report;
    const TextList& names = *input.topicNames;
    const int topics = std::min(input.topicCount, 10);
    for (int t = 1; t <= topics; ++t) {
        TopicBars& row = report.topics[static_cast<std::size_t>(t - 1)];
        for (int n = 1; n <= 5; ++n) {
            const std::size_t slot = static_cast<std::size_t>(5 * (t - 1) + n);
            const std::size_t paper = static_cast<std::size_t>(n - 1);
            const std::string& first = (*input.firstScores)[slot];
            if (!first.empty()) {
                row.first[paper] = ScoreValue(first, input.marksFile, "FSE");
                ++row.countA;
                row.sumA += *row.first[paper];
            }
            const std::string& second = (*input.secondScores)[slot];
            if (!second.empty()) {
                row.second[paper] = ScoreValue(second, input.marksFile, "SSE");
                ++row.countB;
                row.sumB += *row.second[paper];
            }
        }
    }

    int papersA = 0, papersB = 0;
    double totalA = 0, totalB = 0;
    for (int t = 1; t <= 10; ++t) {
        TopicBars& row = report.topics[static_cast<std::size_t>(t - 1)];
        row.name = names[static_cast<std::size_t>(t)];
        row.visible = t <= topics;
        if (row.countA > 0) {
            row.markA = R1Text(row.sumA / row.countA) + "%";
            row.fractionA = row.sumA / row.countA / 100;
        }
        if (row.countB > 0) {
            row.markB = R1Text(row.sumB / row.countB) + "%";
            row.fractionB = row.sumB / row.countB / 100;
        }
        papersA += row.countA;
        papersB += row.countB;
        totalA += row.sumA;
        totalB += row.sumB;
    }
    report.papersA = papersA;
    report.papersB = papersB;
    report.firstAverage = papersA < 1 ? "-" : R1Text(totalA / papersA) + "%";
    report.secondAverage = papersB < 1 ? "-" : R1Text(totalB / papersB) + "%";
    report.papersCompleted = std::to_string(papersA) + " / " + std::to_string(input.paperCount);

    // Each topic's average over every recorded attempt; ties go to the later topic.
    int attempted = 0;
    for (int t = 1; t <= topics; ++t) {
        TopicBars& row = report.topics[static_cast<std::size_t>(t - 1)];
        if (row.countA <= 0) continue;
        ++attempted;
        row.average = row.countB <= 0 ? row.sumA / row.countA : (row.sumA + row.sumB) / (row.countA + row.countB);
    }
    report.weakestTopic = "-";
    report.strongestTopic = "-";
    if (attempted >= 2) {
        bool first = true;
        double lowest = 0, highest = 0;
        for (int t = 1; t <= topics; ++t) {
            const TopicBars& row = report.topics[static_cast<std::size_t>(t - 1)];
            if (row.countA <= 0 || row.name == kMockExamination) continue;
            const double avg = row.average;
            if (first) {
                lowest = highest = avg;
                report.weakest = report.strongest = t;
                first = false;
                continue;
            }
            if (avg <= lowest) {
                lowest = avg;
                report.weakest = t;
            }
            if (avg >= highest) {
                highest = avg;
                report.strongest = t;
            }
        }
        if (report.weakest > 0) {
            report.weakestTopic = report.topics[static_cast<std::size_t>(report.weakest - 1)].name + " ";
            report.strongestTopic = report.topics[static_cast<std::size_t>(report.strongest - 1)].name + " ";
        }
    }

    if (input.trendLine.find("#TRD#") == std::string::npos) {
        throw TaggedFileError(input.trendFile, "TRD", "the key is missing");
    }
    // The line's last character is never a separator: a trailing ">" (left by
    // a hand edit) ends the last score rather than starting an empty one.
    std::string_view line = input.trendLine;
    if (line.back() == '>') line.remove_suffix(1);
    TextList values = SplitAllValues(line);
    const std::size_t count = values.size();
    const std::size_t from = count > kTrendPoints ? count - kTrendPoints + 1 : 1;
    for (std::size_t i = from; i <= count; ++i) report.trend.push_back(ScoreValue(values[i], input.trendFile, "TRD"));
    return report;
}

std::vector<PracticeStep> PractiseNext(const ReportData& report) {
    std::vector<PracticeStep> retakes, fresh;
    if (report.weakest < 1) return retakes;
    const TopicBars& topic = report.topics[static_cast<std::size_t>(report.weakest - 1)];
    for (std::size_t p = 0; p < 5; ++p) {
        const int paper = static_cast<int>(p) + 1;
        if (!topic.first[p]) {
            fresh.push_back({paper, false, 0});
        } else if (!topic.second[p] && *topic.first[p] < 100) {
            retakes.push_back({paper, true, *topic.first[p]});
        }
    }
    std::stable_sort(retakes.begin(), retakes.end(),
                     [](const PracticeStep& a, const PracticeStep& b) { return a.firstScore < b.firstScore; });
    retakes.insert(retakes.end(), fresh.begin(), fresh.end());
    return retakes;
}

std::vector<ChartPoint> TrendChartPoints(const std::vector<double>& trend, double width, double height) {
    std::vector<ChartPoint> points;
    const double xStep = width / 21;
    const double yScale = height / 100;
    for (std::size_t i = 0; i < trend.size() && i < kTrendPoints; ++i) {
        points.push_back({static_cast<double>(i + 1) * xStep, (100 - trend[i]) * yScale});
    }
    return points;
}

SectionLayout LayoutReportSections(std::string_view reportPos, double pageHeight, double barA, double barB,
                                   double barC) {
    SectionLayout layout;
    const double open = pageHeight - barA - barB - barC;
    if (reportPos == "1") {
        layout.barTops = {0, pageHeight - barC - barB, pageHeight - barC};
        layout.panelTop = barA;
    } else if (reportPos == "2") {
        layout.barTops = {0, barA, pageHeight - barC};
        layout.panelTop = barA + barB;
    } else if (reportPos == "3") {
        layout.barTops = {0, barA, barA + barB};
        layout.panelTop = barA + barB + barC;
    } else {
        return layout;
    }
    layout.openSection = reportPos[0] - '0';
    layout.panelHeight = open;
    return layout;
}

}  // namespace ep
