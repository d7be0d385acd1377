#include "results_printer.h"

#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace ep {
namespace {

constexpr double kLargestPoints = 10;
constexpr double kSmallestPoints = 6;

QString Text(const PrintItem& item) { return QString::fromStdString(item.text); }

bool IsRule(const std::string& text) {
    return !text.empty() && text.find_first_not_of('-') == std::string::npos;
}

// The items a zone width has to make room for: the ones that print
// something, besides the rules (drawn to the table's width) and the headings
// (alone on their lines, shortened when the page is too narrow).
bool Constrains(const PrintItem& item) {
    return !item.heading && !IsRule(item.text) && item.text.find_first_not_of(' ') != std::string::npos;
}

int ZoneIndex(const PrintItem& item) { return item.column / kPrintZoneWidth; }

QFont TableFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

TableFit FitResultsTable(const std::vector<PrintLine>& lines, double printableWidth, QPaintDevice* device) {
    TableFit fit;
    for (double points = kLargestPoints; points >= kSmallestPoints; points -= 0.5) {
        fit.font = TableFont(points, false);
        fit.headingFont = TableFont(points, true);
        const QFontMetricsF metrics(fit.font, device);
        const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
        double lower = 0;
        double upper = metrics.horizontalAdvance(QString(kPrintZoneWidth, QLatin1Char('0')));
        for (const PrintLine& line : lines) {
            const PrintItem* previous = nullptr;
            for (const PrintItem& item : line) {
                if (!Constrains(item)) continue;
                if (previous) {
                    // The previous text ends a space before this one starts.
                    const double span = ZoneIndex(item) - ZoneIndex(*previous);
                    lower = std::max(lower, (metrics.horizontalAdvance(Text(*previous)) + gap) / span);
                }
                previous = &item;
            }
            if (previous && ZoneIndex(*previous) > 0) {
                upper = std::min(upper,
                                 (printableWidth - metrics.horizontalAdvance(Text(*previous))) / ZoneIndex(*previous));
            }
        }
        fit.zone = std::max(upper, 0.0);
        if (lower <= upper) break;
    }
    const QFontMetricsF metrics(fit.font, device);
    fit.right = 0;
    for (const PrintLine& line : lines) {
        for (const PrintItem& item : line) {
            if (Constrains(item)) {
                fit.right = std::max(fit.right, ZoneIndex(item) * fit.zone + metrics.horizontalAdvance(Text(item)));
            }
        }
    }
    if (fit.right <= 0) fit.right = printableWidth;
    return fit;
}

ResultsPrinter::ResultsPrinter() = default;

QPrinter& ResultsPrinter::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool ResultsPrinter::CanPrint() {
    if (printer().outputFormat() == QPrinter::PdfFormat) return !printer().outputFileName().isEmpty();
    // A default printer object claims to be valid even when none is installed.
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool ResultsPrinter::Print(const ResultsDocument& document, const QString& documentName) {
    QPrinter& device = printer();
    device.setDocName(documentName);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The painter's origin is the top left of the printable area.
    const QRectF page = device.pageLayout().paintRectPixels(device.resolution());
    std::vector<PrintLine> all = document.front;
    for (const TopicTable& topic : document.topics) {
        for (PrintLine& line : TopicHeadings(topic.name + " (continued)")) all.push_back(std::move(line));
        all.insert(all.end(), topic.papers.begin(), topic.papers.end());
    }
    const TableFit fit = FitResultsTable(all, page.width(), &device);
    const QFontMetricsF metrics(fit.font, &device);
    const QFontMetricsF headingMetrics(fit.headingFont, &device);
    const double lineHeight = std::max(metrics.lineSpacing(), headingMetrics.lineSpacing());
    // Two lines at the foot of every page are kept for the page number.
    const double body = page.height() - 2 * lineHeight;
    const int linesPerPage =
        std::max(1, static_cast<int>(std::floor((body - metrics.ascent() - metrics.descent()) / lineHeight)) + 1);
    const std::vector<std::vector<PrintLine>> pages = ResultsPages(document, linesPerPage);

    bool ok = true;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) ok = device.newPage() && ok;
        double y = metrics.ascent();
        for (const PrintLine& line : pages[p]) {
            for (const PrintItem& item : line) {
                const double x = ZoneIndex(item) * fit.zone;
                if (item.heading) {
                    painter.setFont(fit.headingFont);
                    painter.drawText(QPointF(x, y), headingMetrics.elidedText(Text(item), Qt::ElideRight,
                                                                              page.width() - x));
                } else if (IsRule(item.text)) {
                    // The rule's dashes are stretched to run the width of the zones.
                    painter.setFont(fit.font);
                    painter.save();
                    painter.translate(x, y);
                    painter.scale((fit.right - x) / metrics.horizontalAdvance(Text(item)), 1);
                    painter.drawText(QPointF(0, 0), Text(item));
                    painter.restore();
                } else {
                    painter.setFont(fit.font);
                    painter.drawText(QPointF(x, y), Text(item));
                }
            }
            y += lineHeight;
        }
        if (pages.size() > 1) {
            painter.setFont(fit.font);
            const QString number = QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size());
            painter.drawText(QRectF(0, page.height() - lineHeight, page.width(), lineHeight),
                             Qt::AlignHCenter | Qt::AlignBottom, number);
        }
    }
    return painter.end() && ok;
}

void ResultsPrinter::Setup(QWidget* parent) {
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // This dialog only chooses the printer; a button saying "Print" that
    // prints nothing would mislead.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    }
    dialog.exec();
}

}  // namespace ep
