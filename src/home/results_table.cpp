#include "results_table.h"

namespace ep {
namespace {

const std::string kRule(128, '-');
constexpr int kBlanksBeforeTopic = 2;

// The Unicode characters of the table are counted as one column each.
int Columns(const std::string& text) {
    int count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

PrintLine HeadingLine(const std::string& text) {
    PrintLine line = ZoneLine({{2, text}});
    line.back().heading = true;
    return line;
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

ResultsDocument MakeResultsDocument(const std::string& courseTitle, int topicCount, const TextList& topicNames,
                                    const MarksLists& marks) {
    ResultsDocument document;
    document.front = {{}, {}, HeadingLine(courseTitle), {}, {}};
    for (int t = 1; t <= topicCount; ++t) {
        TopicTable topic{topicNames[static_cast<std::size_t>(t)], {}};
        for (int n = 1; n <= 5; ++n) {
            const std::size_t s = static_cast<std::size_t>(5 * (t - 1) + n);
            topic.papers.push_back(ZoneLine({{2, "Paper " + std::to_string(n)},
                                             {3, " "},
                                             {4, marks.FSE[s] + "%"},
                                             {5, marks.LTM[s]},
                                             {6, marks.CDD[s]},
                                             {7, " "},
                                             {8, marks.SSE[s] + "%"}}));
        }
        document.topics.push_back(std::move(topic));
    }
    return document;
}

std::vector<PrintLine> TopicHeadings(const std::string& name) {
    return {HeadingLine(name),
            ZoneLine({{2, kRule}}),
            ZoneLine({{2, "Papers"}, {3, " "}, {4, "First take"}, {5, "Time taken"}, {6, "Date"}, {7, " "},
                      {8, "Second take"}}),
            ZoneLine({{2, " "}, {3, " "}, {4, "score"}, {5, " "}, {6, " "}, {7, " "}, {8, "score"}}),
            ZoneLine({{2, kRule}})};
}

std::vector<PrintLine> ResultsTable(const std::string& courseTitle, int topicCount, const TextList& topicNames,
                                    const MarksLists& marks) {
    const ResultsDocument document = MakeResultsDocument(courseTitle, topicCount, topicNames, marks);
    std::vector<PrintLine> lines = document.front;
    for (const TopicTable& topic : document.topics) {
        lines.insert(lines.end(), kBlanksBeforeTopic, PrintLine{});
        for (PrintLine& line : TopicHeadings(topic.name)) lines.push_back(std::move(line));
        lines.insert(lines.end(), topic.papers.begin(), topic.papers.end());
    }
    return lines;
}

std::vector<std::vector<PrintLine>> ResultsPages(const ResultsDocument& document, int linesPerPage) {
    std::vector<std::vector<PrintLine>> pages(1);
    auto room = [&] { return linesPerPage - static_cast<int>(pages.back().size()); };
    auto add = [&](const PrintLine& line) {
        if (line.empty() && pages.back().empty()) return;
        pages.back().push_back(line);
    };
    for (const PrintLine& line : document.front) add(line);
    for (const TopicTable& topic : document.topics) {
        const std::vector<PrintLine> headings = TopicHeadings(topic.name);
        const int whole = kBlanksBeforeTopic + static_cast<int>(headings.size() + topic.papers.size());
        if (!pages.back().empty() && whole > room()) pages.emplace_back();
        for (int i = 0; i < kBlanksBeforeTopic; ++i) add({});
        for (const PrintLine& line : headings) add(line);
        for (const PrintLine& paper : topic.papers) {
            // Headings and at least one paper always go on a page, however short.
            if (room() < 1 && pages.back().size() > headings.size()) {
                pages.emplace_back();
                for (const PrintLine& line : TopicHeadings(topic.name + " (continued)")) add(line);
            }
            add(paper);
        }
    }
    return pages;
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
