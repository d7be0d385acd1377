// What the home window puts on paper, read back from PDF files with
// poppler's tools: the results table inside the printable area of A4 and Letter.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <functional>

#include "contents.h"
#include "qt_resources.h"
#include "results_printer.h"
#include "results_store.h"
#include "startup.h"

namespace {

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
};

QTEST_MAIN(PrintoutTest)
#include "printout_test.moc"
