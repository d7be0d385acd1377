#pragma once

// Drawing shared by the Report page and the report card, so the two show the
// same chart in the same colours.

#include <QColor>
#include <QRectF>
#include <vector>

class QPainter;

namespace ep {

namespace report_colours {
inline const QColor kFirst{0x2f, 0x6e, 0xc4};   // first-attempt bars
inline const QColor kSecond{0x3a, 0xa6, 0x5a};  // second-attempt bars
inline const QColor kTrack{0xe3, 0xea, 0xf3};   // behind a bar: its full scale
}  // namespace report_colours

// The trend chart in `area` (its top left the chart's origin, y growing
// downward): grid lines at every 10 %, the two axes, a stem under each score,
// the line from the bottom-left corner through the scores and a dot on each,
// at the points TrendChartPoints gives. `unit` is the length of one screen
// pixel on the device, so lines and dots keep their weight on paper.
void PaintTrendChart(QPainter& painter, const QRectF& area, const std::vector<double>& trend, double unit);

}  // namespace ep
