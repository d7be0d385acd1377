#pragma once

// The printed results table: per topic a block with one line per paper, its
// items placed in print zones 14 characters wide.

#include <string>
#include <vector>

#include "list.h"
#include "results_store.h"

namespace ep {

inline constexpr int kPrintZoneWidth = 14;

struct PrintItem {
    int column = 0;  // 0-based character column where the text starts
    std::string text;
};

using PrintLine = std::vector<PrintItem>;

// Places items at the start of their zones (zone 1 at column 0); an item that
// runs past its zone pushes the next one to the next free zone.
PrintLine ZoneLine(const std::vector<std::pair<int, std::string>>& zoneItems);

std::vector<PrintLine> ResultsTable(const std::string& courseTitle, int topicCount, const TextList& topicNames,
                                    const MarksLists& marks);

// The lines as plain text with spaces, as a fixed-width printer would put them.
std::string PlainText(const std::vector<PrintLine>& lines);

}  // namespace ep
