#include "results_table.h"

namespace ep {
namespace {

const std::string kRule(128, '-');

// The Unicode characters of the table are counted as one column each.
int Columns(const std::string& text) {
    int count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

}  // namespace

PrintLine ZoneLine(const std::vector<std::pair<int, std::string>>& zoneItems) {
    // Every line starts with a space in zone 1.
    PrintLine line{{0, " "}};
    int cursor = 1;
    for (const auto& [zone, text] : zoneItems) {
        int column = kPrintZoneWidth * (zone - 1);
        if (column < cursor) column = (cursor + kPrintZoneWidth - 1) / kPrintZoneWidth * kPrintZoneWidth;
        line.push_back({column, text});
        cursor = column + Columns(text);
    }
    return line;
}

std::vector<PrintLine> ResultsTable(const std::string& courseTitle, int topicCount, const TextList& topicNames,
                                    const MarksLists& marks) {
    std::vector<PrintLine> lines;
    auto blank = [&lines](int count) {
        for (int i = 0; i < count; ++i) lines.push_back({});
    };
    blank(2);
    lines.push_back(ZoneLine({{2, courseTitle}}));
    blank(2);
    for (int t = 1; t <= topicCount; ++t) {
        blank(2);
        lines.push_back(ZoneLine({{2, topicNames[static_cast<std::size_t>(t)]}}));
        lines.push_back(ZoneLine({{2, kRule}}));
        lines.push_back(ZoneLine({{2, "Papers"}, {3, " "}, {4, "First take"}, {5, "Time taken"}, {6, "Date"},
                                  {7, " "}, {8, "Second take"}}));
        lines.push_back(ZoneLine({{2, " "}, {3, " "}, {4, "score"}, {5, " "}, {6, " "}, {7, " "}, {8, "score"}}));
        lines.push_back(ZoneLine({{2, kRule}}));
        for (int n = 1; n <= 5; ++n) {
            const std::size_t s = static_cast<std::size_t>(5 * (t - 1) + n);
            lines.push_back(ZoneLine({{2, "Paper " + std::to_string(n)},
                                      {3, " "},
                                      {4, marks.FSE[s] + "%"},
                                      {5, marks.LTM[s]},
                                      {6, marks.CDD[s]},
                                      {7, " "},
                                      {8, marks.SSE[s] + "%"}}));
        }
    }
    return lines;
}

std::string PlainText(const std::vector<PrintLine>& lines) {
    std::string text;
    for (const PrintLine& line : lines) {
        std::string row;
        int width = 0;
        for (const PrintItem& item : line) {
            if (width < item.column) {
                row.append(static_cast<std::size_t>(item.column - width), ' ');
                width = item.column;
            }
            row += item.text;
            width += Columns(item.text);
        }
        text += row + "\n";
    }
    return text;
}

}  // namespace ep
