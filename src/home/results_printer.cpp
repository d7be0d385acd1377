#include "results_printer.h"

#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>

namespace ep {

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

bool ResultsPrinter::Print(const std::vector<PrintLine>& lines, const QString& documentName) {
    printer().setDocName(documentName);
    QPainter painter;
    if (!painter.begin(&printer())) return false;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer());
    // A zone is 14 characters of the print font.
    const double column = metrics.horizontalAdvance(QStringLiteral("00000000000000")) / 14;
    const double lineHeight = metrics.lineSpacing();
    const QRectF page = painter.viewport();
    double y = metrics.ascent();
    bool ok = true;
    for (const PrintLine& line : lines) {
        if (y + metrics.descent() > page.height()) {
            ok = printer().newPage() && ok;
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
