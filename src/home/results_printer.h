#pragma once

// Printing the results table on the program's one printer, and the printer
// set-up dialog that chooses it.

#include <QPrinter>
#include <QString>
#include <memory>
#include <vector>

#include "results_table.h"

class QWidget;

namespace ep {

class ResultsPrinter {
public:
    ResultsPrinter();

    // Whether anything can print: a printer is installed, or the set-up chose
    // a file to print to.
    bool CanPrint();
    // Prints the lines, each item at its zone's column, breaking pages where
    // the text reaches the bottom. Returns false when the printer failed.
    bool Print(const std::vector<PrintLine>& lines, const QString& documentName);
    // The set-up dialog; a cancelled dialog leaves the printer as it was.
    void Setup(QWidget* parent);

    // Made at first use: setting up printing support is slow, and most runs
    // never print.
    QPrinter& printer();

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace ep
