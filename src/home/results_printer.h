#pragma once

// Printing the results table on the program's one printer, and the printer
// set-up dialog that chooses it.

#include <QFont>
#include <QPrinter>
#include <QString>
#include <memory>
#include <vector>

#include "results_table.h"

class QPaintDevice;
class QWidget;

namespace ep {

// The table's font and zone width for one printable width: the zones are 14
// characters of the font wide where the page has room for that, and narrower
// where it has not, so that every zone's text ends inside the printable area
// and before the next zone's text starts; the font shrinks only when narrower
// zones would not hold their texts. Lengths are in the device's pixels.
struct TableFit {
    QFont font;
    QFont headingFont;   // the course title and topic names
    double zone = 0;     // width of one print zone
    double right = 0;    // where the widest line of zones ends; the rules reach it
};

TableFit FitResultsTable(const std::vector<PrintLine>& lines, double printableWidth, QPaintDevice* device);

class ResultsPrinter {
public:
    ResultsPrinter();

    // Whether anything can print: a printer is installed, or the set-up chose
    // a file to print to.
    bool CanPrint();
    // Prints the table inside the printable area of the printer's paper, one
    // or more pages, each numbered when there are several. Returns false when
    // the printer failed.
    bool Print(const ResultsDocument& document, const QString& documentName);
    // The set-up dialog; a cancelled dialog leaves the printer as it was.
    void Setup(QWidget* parent);

    // Made at first use: setting up printing support is slow, and most runs
    // never print.
    QPrinter& printer();

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace ep
