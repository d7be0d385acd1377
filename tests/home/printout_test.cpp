// What the home window puts on paper: the results table inside the printable
// area of A4 and Letter, and the report card with the Report page's figures.
// Both are read back from PDF files with poppler's tools.

#include <QAccessible>
#include <QCursor>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <functional>

#include "contents.h"
#include "home_test_support.h"
#include "qt_resources.h"
#include "report_page.h"
#include "results_printer.h"
#include "results_store.h"
#include "startup.h"

namespace {

using ep::test::Answerer;

QString Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
    int page = 0;
    QRectF box;
    QString text;
};

// The words of a PDF with their boxes in points, from `pdftotext -bbox`.
struct PdfWords {
    QList<QSizeF> pages;
    QList<Word> words;

    explicit PdfWords(const QString& pdf) {
        static const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
        static const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">(.*)</word>"));
        for (const QString& line : Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})
                                       .split(QLatin1Char('\n'))) {
            if (auto m = page.match(line); m.hasMatch())
                pages << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
            if (auto m = word.match(line); m.hasMatch()) {
                QString text = m.captured(5);
                text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                    .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
                text.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                    .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
                words << Word{static_cast<int>(pages.size()) - 1,
                              QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                     QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                              text};
            }
        }
    }

    // The words of each printed line, left to right.
    QList<QList<Word>> Lines() const {
        QList<QList<Word>> lines;
        for (const Word& w : words) {
            auto same = std::find_if(lines.begin(), lines.end(), [&](const QList<Word>& l) {
                return l.first().page == w.page && qAbs(l.first().box.center().y() - w.box.center().y()) < 1.5;
            });
            if (same == lines.end()) {
                lines << QList<Word>{w};
            } else {
                same->append(w);
            }
        }
        for (QList<Word>& l : lines) {
            std::sort(l.begin(), l.end(), [](const Word& a, const Word& b) { return a.box.left() < b.box.left(); });
        }
        return lines;
    }

    // The words of the line that starts right below `caption` at its left
    // edge, up to the first wide gap: a figure under its caption.
    QString Below(const QString& caption) const {
        const QStringList parts = caption.split(QLatin1Char(' '));
        for (const QList<Word>& line : Lines()) {
            for (qsizetype i = 0; i + parts.size() <= line.size(); ++i) {
                bool match = true;
                for (qsizetype k = 0; k < parts.size(); ++k) match = match && line[i + k].text == parts[k];
                if (!match) continue;
                const Word& head = line[i];
                const Word* start = nullptr;
                for (const Word& w : words) {
                    if (w.page == head.page && qAbs(w.box.left() - head.box.left()) < 1.5 &&
                        w.box.top() > head.box.top() && w.box.top() < head.box.bottom() + 3 * head.box.height() &&
                        (!start || w.box.top() < start->box.top())) {
                        start = &w;
                    }
                }
                if (!start) return QString();
                QString text;
                double right = 0;
                for (const QList<Word>& l : Lines()) {
                    if (l.first().page != start->page ||
                        qAbs(l.first().box.center().y() - start->box.center().y()) > 1.5)
                        continue;
                    for (const Word& w : l) {
                        if (w.box.left() < start->box.left() - 0.5) continue;
                        if (!text.isEmpty() && w.box.left() - right > 20) break;
                        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + w.text;
                        right = w.box.right();
                    }
                }
                return text;
            }
        }
        return QString();
    }
};

QStringList Texts(const QList<Word>& line) {
    QStringList texts;
    for (const Word& w : line) texts << w.text;
    return texts;
}

constexpr double kMmToPoints = 72 / 25.4;

}  // namespace

class PrintoutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    ep::QtResources own_;  // the shipped course and the skin
    std::unique_ptr<ep::Contents> home_;

    ep::CourseDefinition course_;

    std::filesystem::path Data() const { return dir_->path().toStdString(); }
    std::filesystem::path File(ep::ResultsFile file) const {
        return ep::ResultsFilePath(Data(), file, 2, course_.code);
    }
    // Records results in the shipped course's store; `record` fills the marks
    // and returns the trend line's scores.
    void Record(const std::function<std::vector<std::string>(ep::MarksLists&)>& record) {
        course_ = ep::PrepareCourseData(own_, Data()).course;
        ep::MarksLists marks = ep::ReadMarksLists(File(ep::ResultsFile::kMarks), 50);
        for (const std::string& score : record(marks)) ep::AppendTrendScore(File(ep::ResultsFile::kTrend), score);
        ep::WriteMarksLists(File(ep::ResultsFile::kMarks), marks, 50);
    }
    void Start() {
        home_ = ep::Contents::Start(own_, dir_->path());
        QVERIFY(home_);
        home_->show();
    }
    QString Pdf(const QString& name) const { return dir_->filePath(name); }

    // A paper's first attempt: the score, a time and a date of its own.
    static void Take(ep::MarksLists& marks, int slot, const std::string& first, const std::string& second = "") {
        const auto s = static_cast<std::size_t>(slot);
        marks.FSE[s] = first;
        marks.SSE[s] = second;
        marks.LTM[s] = "0:" + std::to_string(10 + slot / 2) + ":" + std::to_string(slot);  // each its own
        marks.CDD[s] = std::to_string(1 + slot % 28) + "/11/2026";
        marks.FST[s] = "1";
        marks.SST[s] = second.empty() ? "0" : "1";
    }

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() { home_.reset(); }

    void theResultsTableFitsThePrintableArea_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<QMarginsF>("margins");  // millimetres
        QTest::addColumn<int>("topics");
        const QMarginsF narrow(6.35, 6.35, 6.35, 6.35), wide(25.4, 19, 25.4, 25.4);
        for (auto [name, paper] : {std::pair{"A4", QPageSize::A4}, std::pair{"Letter", QPageSize::Letter}}) {
            QTest::addRow("%s, narrow margins, 50 papers", name) << int(paper) << narrow << 10;
            QTest::addRow("%s, wide margins, 50 papers", name) << int(paper) << wide << 10;
            QTest::addRow("%s, wide margins, 10 papers", name) << int(paper) << wide << 2;
        }
    }

    void theResultsTableFitsThePrintableArea() {
        QFETCH(int, paper);
        QFETCH(QMarginsF, margins);
        QFETCH(int, topics);
        course_ = ep::PrepareCourseData(own_, Data()).course;
        ep::MarksLists marks = ep::ReadMarksLists(File(ep::ResultsFile::kMarks), 50);
        // The widest texts a paper line can hold, with one paper left untaken.
        for (int slot = 1; slot < 50; ++slot) {
            Take(marks, slot, slot % 3 ? "100" : "66.7", slot % 2 ? "100" : "83.3");
            marks.LTM[static_cast<std::size_t>(slot)] = "1:59:" + std::to_string(10 + slot);
            marks.CDD[static_cast<std::size_t>(slot)] = "28/12/2026";
        }
        ep::ResultsPrinter printer;
        printer.printer().setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper)));
        printer.printer().setPageMargins(margins, QPageLayout::Millimeter);
        printer.printer().setOutputFormat(QPrinter::PdfFormat);
        printer.printer().setOutputFileName(Pdf(QStringLiteral("table.pdf")));
        QVERIFY(printer.Print(ep::MakeResultsDocument(course_.title, topics, course_.Module(2).topicNames, marks),
                              QStringLiteral("Results")));

        const PdfWords pdf(Pdf(QStringLiteral("table.pdf")));
        QVERIFY(!pdf.words.isEmpty());
        const QRectF printable = QRectF(QPointF(0, 0), pdf.pages.first())
                                     .adjusted(margins.left() * kMmToPoints, margins.top() * kMmToPoints,
                                               -margins.right() * kMmToPoints, -margins.bottom() * kMmToPoints);
        for (const Word& w : pdf.words) {
            QVERIFY2(printable.adjusted(-0.5, -1, 0.5, 1).contains(w.box),
                     qPrintable(QStringLiteral("\"%1\" on page %2 at %3..%4 x %5..%6 leaves the printable area")
                                    .arg(w.text)
                                    .arg(w.page + 1)
                                    .arg(w.box.left())
                                    .arg(w.box.right())
                                    .arg(w.box.top())
                                    .arg(w.box.bottom())));
        }
        // 50 papers do not fit one page, 10 do.
        QCOMPARE(pdf.pages.size() > 1, topics == 10);

        // Every page: each topic block has its headings, whole, over its five papers.
        QList<int> headingsOnPage(pdf.pages.size()), papersOnPage(pdf.pages.size());
        QList<double> zoneStarts;
        int papers = 0;
        for (const QList<Word>& line : pdf.Lines()) {
            const QStringList texts = Texts(line);
            if (texts.first() == QLatin1String("Papers")) {
                QCOMPARE(texts, (QStringList{"Papers", "First", "take", "Time", "taken", "Date", "Second", "take"}));
                ++headingsOnPage[line.first().page];
                zoneStarts = {line[1].box.left(), line[3].box.left(), line[5].box.left(), line[6].box.left()};
            } else if (texts.first() == QLatin1String("Paper")) {
                ++papers;
                ++papersOnPage[line.first().page];
                // Score, time, date and second score start where their headings do, and never overlap.
                QCOMPARE(line.size(), texts.last() == QLatin1String("%") ? 4 : 6);
                for (qsizetype i = 1; i < line.size(); ++i) QVERIFY(line[i - 1].box.right() < line[i].box.left());
                QVERIFY(texts.last().endsWith(QLatin1Char('%')));
                if (line.size() == 6) {
                    for (int z = 0; z < 4; ++z) QVERIFY(qAbs(line[2 + z].box.left() - zoneStarts[z]) < 0.5);
                }
            }
        }
        QCOMPARE(papers, 5 * topics);
        for (int p = 0; p < pdf.pages.size(); ++p) QCOMPARE(papersOnPage[p], 5 * headingsOnPage[p]);
        if (pdf.pages.size() > 1) {
            QVERIFY(pdf.Lines().last().size() == 4);  // "Page N of N" closes the last page
            QCOMPARE(Texts(pdf.Lines().last()).join(QLatin1Char(' ')),
                     QStringLiteral("Page %1 of %1").arg(pdf.pages.size()));
        }
    }

    void theReportCardHoldsTheReportPageFigures_data() {
        using Marks = ep::MarksLists;
        using Recording = std::function<std::vector<std::string>(Marks&)>;
        QTest::addColumn<Recording>("record");
        QTest::addRow("empty") << Recording([](Marks&) { return std::vector<std::string>{}; });
        QTest::addRow("one paper") << Recording([](Marks& m) {
            Take(m, 13, "56.7");
            return std::vector<std::string>{"56.7"};
        });
        QTest::addRow("all fifty") << Recording([](Marks& m) {
            std::vector<std::string> trend;
            for (int slot = 1; slot <= 50; ++slot) {
                const std::string score = std::to_string(40 + (slot * 37) % 60) + (slot % 4 ? "" : ".5");  // at most 99.5
                Take(m, slot, score, slot % 3 ? "" : "100");
                trend.push_back(score);
            }
            return trend;
        });
        // Topics 2 and 4 tie for weakest, 3 and 6 for strongest: the later ones are named.
        QTest::addRow("ties") << Recording([](Marks& m) {
            Take(m, 1, "75");
            Take(m, 6, "50");
            Take(m, 7, "70", "70");
            Take(m, 11, "95");
            Take(m, 16, "60");
            Take(m, 26, "90", "100");
            Take(m, 27, "85");
            return std::vector<std::string>{"75", "50", "70", "95", "60", "90", "85"};
        });
    }

    void theReportCardHoldsTheReportPageFigures() {
        using Recording = std::function<std::vector<std::string>(ep::MarksLists&)>;
        QFETCH(Recording, record);
        Record(record);
        Start();
        home_->ToolBarClick(2);
        ep::ReportPage* page = home_->Body_Report;
        QVERIFY(!page->damaged->isVisible());
        QVERIFY(home_->SaveReportCard(Pdf(QStringLiteral("card.pdf"))));

        const PdfWords pdf(Pdf(QStringLiteral("card.pdf")));
        QCOMPARE(pdf.pages.size(), 1);
        const QString text = Run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), Pdf(QStringLiteral("card.pdf")), QStringLiteral("-")});
        QVERIFY(text.contains(QStringLiteral("REPORT CARD")));
        QVERIFY(text.contains(QString::fromStdString(home_->course.title)));
        QVERIFY(text.contains(QStringLiteral("Course code UPM6")));
        if (page->PCNum->text().startsWith(QLatin1String("0 "))) {
            // No page of zeros and dashes: a sentence instead.
            QVERIFY(text.contains(QStringLiteral("No paper has been attempted yet.")));
            QVERIFY(!text.contains(QLatin1Char('%')));
            QVERIFY(!text.contains(QStringLiteral("Overall Results")));
            return;
        }
        QCOMPARE(pdf.Below(QStringLiteral("First Attempt Average Score")), page->OScore1->text());
        QCOMPARE(pdf.Below(QStringLiteral("Second Attempt Average Score")), page->OScore2->text());
        QCOMPARE(pdf.Below(QStringLiteral("Number of Papers Completed")), page->PCNum->text());
        QCOMPARE(pdf.Below(QStringLiteral("Strongest Topic")), page->ST->text().trimmed());
        QCOMPARE(pdf.Below(QStringLiteral("Weakest Topic")), page->WT->text().trimmed());

        // Each topic's bar labels stand on its row, first attempt then second.
        const QList<QList<Word>> lines = pdf.Lines();
        auto first = [&](const char* text) {
            return std::find_if(pdf.words.begin(), pdf.words.end(),
                                [&](const Word& w) { return w.text == QLatin1String(text); })
                ->box;
        };
        const double chartLeft = first("Trend").left();
        const double barsBottom = first("What").top();  // "What to practise next" follows the bars
        double left = pdf.pages.first().width();
        for (const Word& w : pdf.words) left = std::min(left, w.box.left());
        int bars = 0;
        for (int k = 0; k < home_->course.Module(2).topicCount; ++k) {
            const QString name = page->TopLab[k]->text();
            const QString marks[2] = {page->TMarkA[k]->text(), page->TMarkB[k]->text()};
            // The topic's row in the bars: its name at the left edge, left of the chart.
            auto row = std::find_if(lines.begin(), lines.end(), [&](const QList<Word>& l) {
                return l.first().box.left() < left + 1 && l.first().box.top() < barsBottom &&
                       Texts(l).join(QLatin1Char(' ')).startsWith(name);
            });
            QVERIFY2(row != lines.end(), qPrintable(name));
            const QRectF named = (*row)[name.count(QLatin1Char(' '))].box;  // the name's last word
            QStringList shown;
            for (const Word& w : pdf.words) {
                if (w.box.left() > named.right() && w.box.right() < chartLeft && w.box.center().y() > named.top() - 2 &&
                    w.box.center().y() < named.bottom() + 4) {
                    shown << w.text;
                }
            }
            QStringList wanted;
            for (const QString& mark : marks) {
                if (!mark.isEmpty()) wanted << mark;
            }
            QCOMPARE(shown, wanted);
            bars += marks[0].isEmpty() ? 0 : 1;
        }

        // Every attempted paper has its row, found by its own time taken.
        const ep::MarksLists& marks = home_->module.marks;
        int attempted = 0;
        for (std::size_t s = 1; s <= 50; ++s) {
            if (marks.FSE[s].empty()) continue;
            ++attempted;
            const QString time = QString::fromStdString(marks.LTM[s]);
            auto row =
                std::find_if(lines.begin(), lines.end(), [&](const QList<Word>& l) { return Texts(l).contains(time); });
            QVERIFY2(row != lines.end(), qPrintable(time));
            const QStringList cells = Texts(*row);
            const qsizetype at = cells.indexOf(time);
            QCOMPARE(cells[at - 1], QString::fromStdString(marks.FSE[s]) + QStringLiteral("%"));
            QCOMPARE(cells[at + 1], QString::fromStdString(marks.CDD[s]));
            QCOMPARE(cells[at + 2],
                     marks.SSE[s].empty() ? QStringLiteral("-") : QString::fromStdString(marks.SSE[s]) + "%");
        }
        QCOMPARE(QString::number(attempted) + QStringLiteral(" / 50"), page->PCNum->text());

        // Bars and chart are drawn shapes, not a picture.
        const QString images =
            Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), Pdf(QStringLiteral("card.pdf"))});
        QCOMPARE(images.trimmed().split(QLatin1Char('\n')).size(), 2);  // the list's heading alone
        QVERIFY(Run(QStringLiteral("pdftocairo"),
                    {QStringLiteral("-svg"), Pdf(QStringLiteral("card.pdf")), Pdf(QStringLiteral("card.svg"))})
                    .isEmpty());
        QFile svg(Pdf(QStringLiteral("card.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QString drawing = QString::fromUtf8(svg.readAll());
        auto shapes = [&](const char* paint, const QColor& colour) {
            // cairo writes colours as percentages.
            const QRegularExpression shape(
                QStringLiteral("<path[^>]*%1:rgb\\(([\\d.]+)%,([\\d.]+)%,([\\d.]+)%\\)").arg(QLatin1String(paint)));
            int count = 0;
            for (auto it = shape.globalMatch(drawing); it.hasNext();) {
                const auto m = it.next();
                count += qAbs(m.captured(1).toDouble() - colour.redF() * 100) < 0.5 &&
                         qAbs(m.captured(2).toDouble() - colour.greenF() * 100) < 0.5 &&
                         qAbs(m.captured(3).toDouble() - colour.blueF() * 100) < 0.5;
            }
            return count;
        };
        QCOMPARE(shapes("fill", QColor(0x2f, 0x6e, 0xc4)), bars + 1);  // and the legend's swatch
        const int points = static_cast<int>(page->RC3TrendPlot->scores().size());
        QCOMPARE(shapes("stroke", QColor(0, 0, 255)), points);  // one stretch of line to each score
        QCOMPARE(shapes("fill", QColor(0, 0, 255)), points);    // and its dot
    }

    void theReportCardSaysWhatToPractiseNext() {
        // Decimals is the weakest topic: paper 7 retaken, paper 9 perfect.
        Record([](ep::MarksLists& m) {
            Take(m, 1, "90");
            Take(m, 6, "62.5");
            Take(m, 7, "40", "70");
            Take(m, 8, "35");
            Take(m, 9, "100");
            return std::vector<std::string>{"90", "62.5", "40", "35", "100"};
        });
        Start();
        QVERIFY(home_->SaveReportCard(Pdf(QStringLiteral("card.pdf"))));
        const QString text = Run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), Pdf(QStringLiteral("card.pdf")), QStringLiteral("-")});
        QVERIFY(text.contains(QStringLiteral("Decimals is the weakest topic. Take its papers in this order:")));
        const QStringList wanted = {QStringLiteral("1. Paper 3 \u2013 try it again: the first attempt scored 35%"),
                                    QStringLiteral("2. Paper 1 \u2013 try it again: the first attempt scored 62.5%"),
                                    QStringLiteral("3. Paper 5 \u2013 not attempted yet")};
        qsizetype at = 0;
        for (const QString& step : wanted) {
            const qsizetype found = text.indexOf(step, at);
            QVERIFY2(found >= 0, qPrintable(step));
            at = found;
        }
        QVERIFY(!text.contains(QStringLiteral("4. Paper")));
    }

    void theButtonOffersPrintingAndSavingAsPdf() {
        Record([](ep::MarksLists& m) {
            Take(m, 1, "80");
            Take(m, 2, "60");
            return std::vector<std::string>{"80", "60"};
        });
        Start();
        home_->ToolBarClick(2);
        ep::ReportPage* page = home_->Body_Report;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(page->ButReportCard);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Report card"));
        QCOMPARE(accessible->role(), QAccessible::Button);
        // Tab goes from the last section bar to the button.
        home_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(home_.get()));
        page->RCBar[2]->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page->RCBar[2], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page->ButReportCard);

        // "Save as PDF" asks for the file and writes the card there.
        const QString saved = Pdf(QStringLiteral("saved card"));  // the dialog adds ".pdf"
        QStringList dialogs;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
                dialogs << print->windowTitle();
                const auto buttons = print->findChildren<QPushButton*>();
                auto save = std::find_if(buttons.begin(), buttons.end(),
                                         [](QPushButton* b) { return b->text() == QLatin1String("Save as PDF"); });
                if (save != buttons.end())
                    (*save)->click();
                else
                    print->reject();
            } else if (auto* file = qobject_cast<QFileDialog*>(modal)) {
                dialogs << file->windowTitle();
                // Typed, as a pupil would: selectFile() leaves the name box
                // alone once the box has the focus.
                auto* name = file->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(saved);
                QMetaObject::invokeMethod(file, "accept");
            }
        });
        driver.start(20);
        QTest::keyClick(page->ButReportCard, Qt::Key_Return);
        QTRY_VERIFY(QFile::exists(saved + QStringLiteral(".pdf")));
        QTRY_COMPARE(dialogs, (QStringList{"Print Report Card", "Save Report Card as PDF"}));
        QCOMPARE(PdfWords(saved + QStringLiteral(".pdf")).pages.size(), 1);

        // Print sends the card to the printer as it is set, here a PDF file;
        // the printer keeps its own orientation.
        QPrinter& printer = home_->printer().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Pdf(QStringLiteral("printed.pdf")));
        printer.setPageOrientation(QPageLayout::Landscape);
        driver.disconnect();
        connect(&driver, &QTimer::timeout, this, [&] {
            if (auto* print = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) print->accept();
        });
        QTest::keyClick(page->ButReportCard, Qt::Key_Space);
        QTRY_VERIFY(QFile::exists(Pdf(QStringLiteral("printed.pdf"))));
        const PdfWords printed(Pdf(QStringLiteral("printed.pdf")));
        QCOMPARE(printed.pages.size(), 1);
        QVERIFY(printed.pages.first().height() > printed.pages.first().width());
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }

    void theButtonShowsTheSkinsPictures() {
        Record([](ep::MarksLists&) { return std::vector<std::string>{}; });
        Start();
        home_->ToolBarClick(2);
        ep::SkinButton* button = home_->Body_Report->ButReportCard;
        auto shows = [&](const char* picture) {
            home_->Timer1_Timer();
            return button->pictureFile().endsWith(QLatin1String(picture)) && button->hasPicture();
        };
        QCursor::setPos(0, 0);
        QVERIFY(shows("/reportcard_off.bmp"));
        QCursor::setPos(button->mapToGlobal(button->rect().center()));
        QVERIFY(shows("/reportcard_on.bmp"));
        // Held down on its caption, the button shows pressed; moved off, not.
        QTest::mousePress(home_->Body_Report->ButReportCardlbl, Qt::LeftButton);
        QVERIFY(shows("/reportcard_pressed.bmp"));
        QCursor::setPos(0, 0);
        QVERIFY(shows("/reportcard_off.bmp"));
        QTest::mouseRelease(home_->Body_Report->ButReportCardlbl, Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(home_->txtPressTrack, QStringLiteral("0"));
    }

    void aDamagedResultsFileIsNamedAndNoCardIsMade_data() {
        QTest::addColumn<int>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("trend") << int(ep::ResultsFile::kTrend) << QByteArray("#TRD#>50>abc\r\n");
        QTest::addRow("marks") << int(ep::ResultsFile::kMarks) << QByteArray("#FSE#>1\r\n");
    }

    void aDamagedResultsFileIsNamedAndNoCardIsMade() {
        QFETCH(int, file);
        QFETCH(QByteArray, bytes);
        Record([](ep::MarksLists& m) {
            Take(m, 1, "80");
            return std::vector<std::string>{"80"};
        });
        const auto damaged = File(static_cast<ep::ResultsFile>(file));
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << bytes.toStdString();
        Answerer answers(false);  // keeps the damaged file when the start offers a fresh one
        Start();
        home_->ToolBarClick(2);
        answers.seen.clear();
        QStringList dialogs;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialogs << modal->windowTitle();
                modal->reject();
            }
        });
        watcher.start(20);
        home_->Body_Report->ButReportCard->click();
        QVERIFY(!home_->SaveReportCard(Pdf(QStringLiteral("card.pdf"))));
        QCOMPARE(answers.seen.size(), 2);
        for (const QString& message : answers.seen) {
            QVERIFY2(message.contains(QString::fromStdString(damaged.filename().string())), qPrintable(message));
            QVERIFY(message.contains(QStringLiteral("no report card can be made")));
        }
        QVERIFY(dialogs.isEmpty());
        QVERIFY(!QFile::exists(Pdf(QStringLiteral("card.pdf"))));
    }

    void aCardThatCannotBeWrittenSaysWhyAndLeavesNothing() {
        Record([](ep::MarksLists& m) {
            Take(m, 1, "80");
            return std::vector<std::string>{"80"};
        });
        Start();
        Answerer answers;
        const QString target = Pdf(QStringLiteral("no such folder/card.pdf"));
        QVERIFY(!home_->SaveReportCard(target));
        QCOMPARE(answers.seen.size(), 1);
        QVERIFY(answers.seen.first().contains(target));
        QVERIFY(!QFileInfo::exists(target));
    }
};

QTEST_MAIN(PrintoutTest)
#include "printout_test.moc"
