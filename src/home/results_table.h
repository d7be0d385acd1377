#pragma once

// The printed results table: per topic a block with one line per paper, its
// items placed in print zones 14 characters wide.

#include <string>
#include <vector>

#include "list.h"
#include "results_store.h"

namespace ep {

inline constexpr int kPrintZoneWidth = 14;
inline constexpr int kPrintZones = 8;

struct PrintItem {
    int column = 0;  // 0-based character column where the text starts
    std::string text;
    bool heading = false;  // the course title and the topic names stand out
};

using PrintLine = std::vector<PrintItem>;

// Places items at the start of their zones (zone 1 at column 0); an item that
// runs past its zone pushes the next one to the next free zone.
PrintLine ZoneLine(const std::vector<std::pair<int, std::string>>& zoneItems);

// The table in parts, so that pages break between topics and a topic that
// does go over a page break takes its headings with it.
struct TopicTable {
    std::string name;
    std::vector<PrintLine> papers;  // one line per paper
};

struct ResultsDocument {
    std::vector<PrintLine> front;  // two empty lines, the course title, two empty lines
    std::vector<TopicTable> topics;
};

ResultsDocument MakeResultsDocument(const std::string& courseTitle, int topicCount, const TextList& topicNames,
                                    const MarksLists& marks);

// A topic's lines above its papers: its name, a rule, the two heading lines
// and the rule again.
std::vector<PrintLine> TopicHeadings(const std::string& name);

// The whole table, line after line, as one long sheet.
std::vector<PrintLine> ResultsTable(const std::string& courseTitle, int topicCount, const TextList& topicNames,
                                    const MarksLists& marks);

// The table on pages of `linesPerPage` lines. A topic starts on a new page
// when it would not fit whole on the rest of the current one; a topic longer
// than a page continues on the next with its name marked "(continued)" and
// its headings repeated. Empty lines are dropped at the top of a page.
std::vector<std::vector<PrintLine>> ResultsPages(const ResultsDocument& document, int linesPerPage);

// The lines as plain text with spaces, as a fixed-width printer would put them.
std::string PlainText(const std::vector<PrintLine>& lines);

}  // namespace ep
