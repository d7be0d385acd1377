#include "report_drawing.h"

#include <QPainter>

#include "report_data.h"

namespace ep {

void PaintTrendChart(QPainter& painter, const QRectF& area, const std::vector<double>& trend, double unit) {
    painter.save();
    painter.translate(area.topLeft());
    const double w = area.width();
    const double h = area.height();
    painter.setPen(QPen(QColor(224, 224, 224), unit));
    for (int g = 10; g <= 90; g += 10) painter.drawLine(QPointF(w, g * h / 100), QPointF(0, g * h / 100));
    painter.setPen(QPen(QColor(0xb0, 0xb8, 0xc4), unit));
    painter.drawLine(QPointF(0, 0), QPointF(0, h));
    painter.drawLine(QPointF(0, h), QPointF(w, h));

    painter.setRenderHint(QPainter::Antialiasing);
    const std::vector<ChartPoint> points = TrendChartPoints(trend, w, h);
    painter.setPen(QPen(Qt::black, unit));
    for (const ChartPoint& p : points) painter.drawLine(QPointF(p.x, p.y), QPointF(p.x, h));
    QPen line(QColor(0, 0, 255), 2 * unit);
    line.setJoinStyle(Qt::RoundJoin);
    line.setCapStyle(Qt::RoundCap);
    painter.setPen(line);
    QPointF previous(0, h);
    for (const ChartPoint& p : points) {
        painter.drawLine(previous, QPointF(p.x, p.y));
        previous = QPointF(p.x, p.y);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 255));
    for (const ChartPoint& p : points) painter.drawEllipse(QPointF(p.x, p.y), 4.5 * unit, 4.5 * unit);
    painter.restore();
}

}  // namespace ep
