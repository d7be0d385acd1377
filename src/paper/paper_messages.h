#pragma once

// Messages about files that could not be read or written. They name the file
// and the reason, so whoever looks after the program can mend it.

#include <QString>

#include "tagged_file.h"

class QWidget;

namespace ep {

// "The file "first2FIX.txt" is damaged: the line of paper 101 holds 2 values,
// 4 expected." and where the file lies.
QString FileProblemText(const TaggedFileError& error, const QString& dataFolder);

// The platform's message box, modal, with `summary` as its text and the file
// problem under it; returns once it is closed.
void ShowFileProblem(QWidget* parent, const QString& title, const QString& summary, const TaggedFileError& error,
                     const QString& dataFolder);

}  // namespace ep
