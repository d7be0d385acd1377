#pragma once

// The report card: one portrait page that a parent can print or keep as a
// PDF file, holding the Report page's figures, a table of every attempted
// paper and what to practise next.

#include <QPageLayout>
#include <QString>
#include <vector>

#include "report_data.h"
#include "results_store.h"

class QPainter;
class QPrinter;
class QRectF;
class QWidget;

namespace ep {

struct ReportCardContent {
    QString courseTitle;
    QString courseCode;
    QString moduleLabel;
    QString date;  // the day the card is made, as the pupil's system writes dates
    int topicCount = 0;
    ReportData report;  // the Report page's figures, from the same computation
    MarksLists marks;   // each paper's scores, time taken and date, as recorded
};

// One attempted paper, as the card's table lists it.
struct CardPaperRow {
    int topic = 0;  // 1..10
    int paper = 0;  // 1..5 within the topic
    QString first;  // "75%"
    QString time;   // as recorded, "0:12:5"
    QString date;
    QString second;  // "90%", or "-" before a second attempt
};

// Every paper with a first attempt, in topic and paper order.
std::vector<CardPaperRow> AttemptedPaperRows(const ReportCardContent& card);

// Draws the card in `area` (device coordinates) of the painter's device:
// text as text, bars and chart as vector shapes, scaled as a whole to fit.
// An empty record gives a card that says no paper has been attempted yet.
void PaintReportCard(QPainter& painter, const QRectF& area, const ReportCardContent& card);

// The card on the printer as it is set, on one portrait page. False when the
// printer failed.
bool PrintReportCard(QPrinter& printer, const ReportCardContent& card);

// The card as a one-page PDF file on the paper of `layout` (portrait),
// written through a temporary file so a failure leaves no half-written file;
// on failure `error` says why.
bool SaveReportCardPdf(const QString& file, const QPageLayout& layout, const ReportCardContent& card, QString* error);

enum class CardOutput { Cancelled, Print, SavePdf };

// The print dialog for the card: its Print button prints (to a printer or,
// chosen there, to a file) and its "Save as PDF" button asks for a PDF file.
CardOutput AskCardOutput(QPrinter& printer, QWidget* parent);

// The file dialog of "Save as PDF"; an empty name when it was cancelled.
QString AskCardPdfFile(QWidget* parent, const QString& suggestedName);

}  // namespace ep
