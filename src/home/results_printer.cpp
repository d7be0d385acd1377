#include "results_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace ep {

ResultsPrinter::ResultsPrinter() : printer_(QPrinter::HighResolution) {}

bool ResultsPrinter::CanPrint() const {
    if (printer_.outputFormat() == QPrinter::PdfFormat) return !printer_.outputFileName().isEmpty();
    // A default printer object claims to be valid even when none is installed.
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool ResultsPrinter::Print(const std::vector<PrintLine>& lines, const QString& documentName) {
    printer_.setDocName(documentName);
    QPainter painter;
    if (!painter.begin(&printer_)) return false;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer_);
    // A zone is 14 characters of the print font.
    const double column = metrics.horizontalAdvance(QStringLiteral("00000000000000")) / 14;
    const double lineHeight = metrics.lineSpacing();
    const QRectF page = painter.viewport();
    double y = metrics.ascent();
    bool ok = true;
    for (const PrintLine& line : lines) {
        if (y + metrics.descent() > page.height()) {
            ok = printer_.newPage() && ok;
            y = metrics.ascent();
        }
        for (const PrintItem& item : line) {
            painter.drawText(QPointF(item.column * column, y), QString::fromStdString(item.text));
        }
        y += lineHeight;
    }
    return painter.end() && ok;
}

void ResultsPrinter::Setup(QWidget* parent) {
    QPrintDialog dialog(&printer_, parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

}  // namespace ep
