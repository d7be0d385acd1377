#include "report_card.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

#include "report_drawing.h"
#include "text_format.h"

namespace ep {
namespace {

// The card is laid out kWidth points wide and scaled as a whole to the
// printable width; its height is the page's, but never less than
// kLeastHeight, so A4 and Letter with any margins hold all of it.
constexpr double kWidth = 540;
constexpr double kLeastHeight = 700;

const QColor kInk(0x1e, 0x2f, 0x45);
const QColor kGrey(0x5a, 0x6b, 0x80);
const QColor kHeading(0x1f, 0x5a, 0xae);
const QColor kTileFill(0xf1, 0xf5, 0xfb);
const QColor kTileEdge(0xc5, 0xd3, 0xe6);
const QColor kShade(0xf3, 0xf6, 0xfa);
const QColor kStrong(0x3a, 0xa6, 0x5a);
const QColor kWeak(0xe0, 0x8a, 0x1e);

constexpr int kCardDialogSave = 2;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Draws in card points: (0, 0) is the card's top left, kWidth x height().
class Card {
public:
    Card(QPainter& painter, const QRectF& area) : p_(painter) {
        unit_ = std::min(area.width() / kWidth, area.height() / kLeastHeight);
        height_ = area.height() / unit_;
        origin_ = QPointF(area.left() + (area.width() - kWidth * unit_) / 2, area.top());
        // A font's point size is turned into pixels at the device's resolution.
        fontScale_ = unit_ * 72.0 / painter.device()->logicalDpiY();
    }

    double height() const { return height_; }
    double unit() const { return unit_; }
    QRectF R(double x, double y, double w, double h) const {
        return {origin_.x() + x * unit_, origin_.y() + y * unit_, w * unit_, h * unit_};
    }
    QPointF P(double x, double y) const { return {origin_.x() + x * unit_, origin_.y() + y * unit_}; }

    QFont Font(double points, bool bold = false) const {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(points * fontScale_);
        font.setBold(bold);
        return font;
    }
    // The width of `text` in card points.
    double Width(const QString& text, const QFont& font) const {
        return QFontMetricsF(font, p_.device()).horizontalAdvance(text) / unit_;
    }

    // Text in a box, shortened with "…" when it is wider than the box.
    void Text(double x, double y, double w, double h, const QString& text, const QFont& font, const QColor& colour,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        p_.setFont(font);
        p_.setPen(colour);
        const QRectF box = R(x, y, w, h);
        const QString shown = QFontMetricsF(font, p_.device()).elidedText(text, Qt::ElideRight, box.width());
        p_.drawText(box, static_cast<int>(align), shown);
    }

    // Wrapped text; returns the height it took, in card points.
    double Paragraph(double x, double y, double w, const QString& text, const QFont& font, const QColor& colour) {
        p_.setFont(font);
        p_.setPen(colour);
        const QRectF box = R(x, y, w, height_);
        const QRectF used = p_.boundingRect(box, Qt::TextWordWrap, text);
        p_.drawText(box, Qt::TextWordWrap, text);
        return used.height() / unit_;
    }

    void Fill(double x, double y, double w, double h, const QColor& colour) { p_.fillRect(R(x, y, w, h), colour); }

    void Box(double x, double y, double w, double h, const QColor& fill, const QColor& edge) {
        p_.setPen(QPen(edge, 0.75 * unit_));
        p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
        p_.drawRoundedRect(R(x, y, w, h), 3 * unit_, 3 * unit_);
    }

    void Line(double x1, double y1, double x2, double y2, const QColor& colour, double width) {
        p_.setPen(QPen(colour, width * unit_, Qt::SolidLine, Qt::FlatCap));
        p_.drawLine(P(x1, y1), P(x2, y2));
    }

    QPainter& painter() { return p_; }

private:
    QPainter& p_;
    double unit_ = 1;
    double height_ = kLeastHeight;
    double fontScale_ = 1;
    QPointF origin_;
};

QString Trimmed(const std::string& text) { return Q(text).trimmed(); }

double SectionTitle(Card& c, double y, const QString& title) {
    c.Text(0, y, kWidth, 15, title, c.Font(11, true), kHeading);
    return y + 17;
}

double Header(Card& c, const ReportCardContent& card) {
    c.Text(0, 0, 300, 12, QStringLiteral("REPORT CARD"), c.Font(8.5, true), kHeading);
    c.Text(300, 0, kWidth - 300, 12, card.date, c.Font(9), kGrey, Qt::AlignRight | Qt::AlignVCenter);
    c.Text(0, 13, kWidth, 24, card.courseTitle, c.Font(17, true), kInk);
    QString line = QStringLiteral("Course code ") + card.courseCode;
    if (!card.moduleLabel.isEmpty()) line += QStringLiteral("   \u00b7   ") + card.moduleLabel;
    c.Text(0, 38, 300, 13, line, c.Font(9), kGrey);
    // The program does not know the pupil's name: a line to write it on.
    c.Text(330, 38, 40, 13, QStringLiteral("Name"), c.Font(9), kGrey);
    c.Line(362, 49, kWidth, 49, kTileEdge, 0.75);
    c.Line(0, 55, kWidth, 55, kHeading, 2);
    return 64;
}

// A figure under its caption, in a tile; the accent marks the tile's edge.
void Tile(Card& c, double x, double y, double w, double h, const QString& caption, const QString& value,
          double valuePoints, const QColor& accent = QColor()) {
    c.Box(x, y, w, h, kTileFill, kTileEdge);
    if (accent.isValid()) c.Fill(x + 0.5, y + 4, 3, h - 8, accent);
    c.Text(x + 10, y + 3, w - 20, 11, caption, c.Font(8), kGrey);
    c.Text(x + 10, y + 14, w - 20, h - 16, value, c.Font(valuePoints, true), kInk);
}

double Overall(Card& c, double y, const ReportData& report) {
    y = SectionTitle(c, y, QStringLiteral("Overall Results"));
    const double gap = 10;
    const double third = (kWidth - 2 * gap) / 3;
    Tile(c, 0, y, third, 38, QStringLiteral("First Attempt Average Score"), Q(report.firstAverage), 15);
    Tile(c, third + gap, y, third, 38, QStringLiteral("Second Attempt Average Score"), Q(report.secondAverage), 15);
    Tile(c, 2 * (third + gap), y, third, 38, QStringLiteral("Number of Papers Completed"), Q(report.papersCompleted),
         15);
    y += 38 + 6;
    const double half = (kWidth - gap) / 2;
    Tile(c, 0, y, half, 31, QStringLiteral("Strongest Topic"), Trimmed(report.strongestTopic), 11.5, kStrong);
    Tile(c, half + gap, y, half, 31, QStringLiteral("Weakest Topic"), Trimmed(report.weakestTopic), 11.5, kWeak);
    return y + 31 + 12;
}

// Two bars a topic, first and second attempt, on one full scale of 100 %.
double TopicalBars(Card& c, double y, double width, const ReportData& report) {
    y = SectionTitle(c, y, QStringLiteral("Topical Results"));
    const double nameWidth = 104;
    const double scale = width - nameWidth - 34;
    const double pitch = 14.5;
    for (const TopicBars& topic : report.topics) {
        if (!topic.visible) continue;
        c.Text(0, y, nameWidth - 4, pitch, Q(topic.name), c.Font(7.5), kInk);
        const double bars[2] = {topic.fractionA, topic.fractionB};
        const QString marks[2] = {Q(topic.markA), Q(topic.markB)};
        const QColor colours[2] = {report_colours::kFirst, report_colours::kSecond};
        for (int k = 0; k < 2; ++k) {
            const double top = y + 1.5 + 6 * k;
            c.Fill(nameWidth, top, scale, 4.5, report_colours::kTrack);
            c.Fill(nameWidth, top, scale * std::clamp(bars[k], 0.0, 1.0), 4.5, colours[k]);
            c.Text(nameWidth + scale + 3, top - 1, 31, 6.5, marks[k], c.Font(6, true), colours[k]);
        }
        y += pitch;
    }
    y += 3;
    auto legend = [&](double x, const QColor& colour, const QString& text) {
        c.Fill(x, y + 2.5, 14, 5, colour);
        c.Text(x + 18, y, 110, 10, text, c.Font(7), kInk);
    };
    legend(nameWidth, report_colours::kFirst, QStringLiteral("First Attempt results"));
    legend(nameWidth + 118, report_colours::kSecond, QStringLiteral("Second Attempt Score"));
    return y + 11;
}

double TrendChart(Card& c, double x, double y, double width, const ReportData& report) {
    c.Text(x, y, width, 15, QStringLiteral("Trend Analysis"), c.Font(11, true), kHeading);
    y += 21;
    const double scaleWidth = 26;
    const double height = 122;
    const QRectF area(x + scaleWidth + 4, y, width - scaleWidth - 8, height);
    for (int g = 0; g <= 10; ++g) {
        c.Text(x, y + g * height / 10 - 4, scaleWidth, 8, QString::number(100 - 10 * g) + QStringLiteral("%"),
               c.Font(6), kGrey, Qt::AlignRight | Qt::AlignVCenter);
    }
    const QRectF device = c.R(area.x(), area.y(), area.width(), area.height());
    c.painter().fillRect(device, Qt::white);
    PaintTrendChart(c.painter(), device, report.trend, 0.45 * c.unit());
    c.Text(area.x(), y + height + 4, area.width(), 10, QStringLiteral("Recent Papers Attempted"), c.Font(7.5, true),
           kInk, Qt::AlignCenter);
    return y + height + 15;
}

QString Percent(double score) { return Q(R1Text(score)) + QStringLiteral("%"); }

double PractiseNextSection(Card& c, double y, const ReportData& report) {
    y = SectionTitle(c, y, QStringLiteral("What to practise next"));
    const std::vector<PracticeStep> steps = PractiseNext(report);
    QString lead;
    if (report.weakest < 1) {
        lead = QStringLiteral(
            "Once papers in at least two topics have been marked, this card names the weakest "
            "topic and the papers to take next.");
    } else if (steps.empty()) {
        lead = QStringLiteral(
                   "Every paper of %1 has been taken, and none is waiting for a second attempt: going "
                   "over its marked papers again is the best next step.")
                   .arg(Trimmed(report.weakestTopic));
    } else {
        lead =
            QStringLiteral("%1 is the weakest topic. Take its papers in this order:").arg(Trimmed(report.weakestTopic));
    }
    const double top = y;
    const double leadHeight = c.Paragraph(12, y + 4, kWidth - 24, lead, c.Font(8.5), kInk);
    y += 4 + leadHeight + 1;
    // More than three steps go in two columns, read down the first.
    const std::size_t perColumn = steps.size() > 3 ? (steps.size() + 1) / 2 : steps.size();
    const double pitch = 11;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const PracticeStep& step = steps[i];
        const QString what =
            step.retake ? QStringLiteral("try it again: the first attempt scored %1").arg(Percent(step.firstScore))
                        : QStringLiteral("not attempted yet");
        const double x = i < perColumn ? 22 : 22 + (kWidth - 24) / 2;
        c.Text(x, y + static_cast<double>(i % std::max<std::size_t>(perColumn, 1)) * pitch, (kWidth - 24) / 2 - 12,
               pitch, QStringLiteral("%1. Paper %2 \u2013 %3").arg(i + 1).arg(step.paper).arg(what), c.Font(8.5), kInk);
    }
    y += static_cast<double>(perColumn) * pitch + 4;
    c.Box(0, top, kWidth, y - top, QColor(), kTileEdge);
    c.Fill(0.5, top + 4, 3, y - top - 8, kWeak);
    return y + 12;
}

// The attempted papers, in one column or, when they are many, two; the
// columns are as wide as their widest entry, the topic takes what is left.
void PaperTable(Card& c, double y, const ReportCardContent& card) {
    y = SectionTitle(c, y, QStringLiteral("Papers Attempted"));
    const std::vector<CardPaperRow> rows = AttemptedPaperRows(card);
    const double headHeight = 16;
    const double room = c.height() - y - headHeight;
    const double comfortable = 12.5;
    const bool twoColumns = static_cast<double>(rows.size()) * comfortable > room;
    const std::size_t perColumn = twoColumns ? (rows.size() + 1) / 2 : rows.size();
    const double pitch = std::min(comfortable, room / static_cast<double>(std::max<std::size_t>(perColumn, 1)));
    const double gap = 14;
    const double pad = 3;
    const double columnWidth = twoColumns ? (kWidth - gap) / 2 : kWidth;
    const QFont headFont = c.Font(7, true);
    // Topic, Paper, First score, Time taken, Date, Second score.
    const char* heads[6][2] = {{"Topic", ""},     {"Paper", ""}, {"First", "score"},
                               {"Time", "taken"}, {"Date", ""},  {"Second", "score"}};
    // The entries' size: what the rows' height allows, and smaller where the
    // longest topic name would not fit whole.
    double points = std::min(8.5, pitch * 0.76);
    QFont cellFont;
    double widths[6] = {};
    for (;; points -= 0.25) {
        cellFont = c.Font(points);
        double topicWidth = 0;
        for (int k = 1; k < 6; ++k) {
            widths[k] = std::max(c.Width(QString::fromLatin1(heads[k][0]), headFont),
                                 c.Width(QString::fromLatin1(heads[k][1]), headFont));
        }
        for (const CardPaperRow& row : rows) {
            const QString cells[5] = {QString::number(row.paper), row.first, row.time, row.date, row.second};
            for (int k = 1; k < 6; ++k) widths[k] = std::max(widths[k], c.Width(cells[k - 1], cellFont));
            topicWidth = std::max(
                topicWidth, c.Width(Q(card.report.topics[static_cast<std::size_t>(row.topic - 1)].name), cellFont));
        }
        double fixed = 0;
        for (int k = 1; k < 6; ++k) fixed += (widths[k] += 2 * pad + 4);
        widths[0] = std::max(columnWidth - fixed, 40.0);
        if (widths[0] >= topicWidth + 2 * pad || points <= 6.5) break;
    }

    for (int column = 0; column < (twoColumns ? 2 : 1); ++column) {
        const double left = column * (columnWidth + gap);
        double x = left;
        for (int k = 0; k < 6; ++k) {
            const Qt::Alignment align = (k == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignBottom;
            const bool twoLines = heads[k][1][0] != '\0';
            c.Text(x + pad, y, widths[k] - 2 * pad, twoLines ? 7.5 : 15, QString::fromLatin1(heads[k][0]), headFont,
                   kInk, align);
            if (twoLines) {
                c.Text(x + pad, y + 7.5, widths[k] - 2 * pad, 7.5, QString::fromLatin1(heads[k][1]), headFont, kInk,
                       align);
            }
            x += widths[k];
        }
        c.Line(left, y + headHeight - 0.5, left + columnWidth, y + headHeight - 0.5, kInk, 0.75);

        const std::size_t first = static_cast<std::size_t>(column) * perColumn;
        const std::size_t last = std::min(rows.size(), first + perColumn);
        double rowY = y + headHeight;
        for (std::size_t i = first; i < last; ++i) {
            const CardPaperRow& row = rows[i];
            // Topics are shaded in turn; a topic's name heads its first row in a column.
            if (row.topic % 2 == 0) c.Fill(left, rowY, columnWidth, pitch, kShade);
            const bool named = i == first || rows[i - 1].topic != row.topic;
            const QString cells[6] = {
                named ? Q(card.report.topics[static_cast<std::size_t>(row.topic - 1)].name) : QString(),
                QString::number(row.paper),
                row.first,
                row.time,
                row.date,
                row.second};
            x = left;
            for (int k = 0; k < 6; ++k) {
                c.Text(x + pad, rowY, widths[k] - 2 * pad, pitch, cells[k], cellFont, kInk,
                       (k == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
                x += widths[k];
            }
            rowY += pitch;
        }
    }
}

void EmptyRecord(Card& c, double y) {
    c.Box(0, y, kWidth, 92, kTileFill, kTileEdge);
    c.Text(20, y + 14, kWidth - 40, 22, QStringLiteral("No paper has been attempted yet."), c.Font(15, true), kInk);
    c.Paragraph(20, y + 44, kWidth - 40,
                QStringLiteral("Once papers have been marked, this card shows the average scores, a bar for each "
                               "topic, the trend of recent scores, every paper attempted and what to practise next."),
                c.Font(9.5), kGrey);
}

}  // namespace

std::vector<CardPaperRow> AttemptedPaperRows(const ReportCardContent& card) {
    std::vector<CardPaperRow> rows;
    const int topics = std::min(card.topicCount, 10);
    for (int t = 1; t <= topics; ++t) {
        for (int n = 1; n <= 5; ++n) {
            const std::size_t s = static_cast<std::size_t>(5 * (t - 1) + n);
            const std::string& first = card.marks.FSE[s];
            if (first.empty()) continue;
            const std::string& second = card.marks.SSE[s];
            rows.push_back({t, n, Q(first) + QStringLiteral("%"), Q(card.marks.LTM[s]), Q(card.marks.CDD[s]),
                            second.empty() ? QStringLiteral("-") : Q(second) + QStringLiteral("%")});
        }
    }
    return rows;
}

void PaintReportCard(QPainter& painter, const QRectF& area, const ReportCardContent& card) {
    painter.save();
    Card c(painter, area);
    double y = Header(c, card);
    if (card.report.papersA < 1) {
        EmptyRecord(c, y + 10);
        painter.restore();
        return;
    }
    y = Overall(c, y, card.report);
    const double barsWidth = 300;
    const double chartLeft = barsWidth + 18;
    const double barsEnd = TopicalBars(c, y, barsWidth, card.report);
    const double chartEnd = TrendChart(c, chartLeft, y, kWidth - chartLeft, card.report);
    y = std::max(barsEnd, chartEnd) + 12;
    y = PractiseNextSection(c, y, card.report);
    PaperTable(c, y, card);
    painter.restore();
}

bool PrintReportCard(QPrinter& printer, const ReportCardContent& card) {
    const QPageLayout before = printer.pageLayout();
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Report card"));
    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
        PaintReportCard(painter, QRectF(QPointF(0, 0), page.size()), card);
        ok = painter.end();
    }
    // The card's portrait page is its own; the printer keeps its settings.
    printer.setPageLayout(before);
    return ok;
}

bool SaveReportCardPdf(const QString& file, const QPageLayout& layout, const ReportCardContent& card, QString* error) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    {
        QPdfWriter writer(&out);
        QPageLayout portrait = layout;
        portrait.setOrientation(QPageLayout::Portrait);
        writer.setPageLayout(portrait);
        writer.setTitle(QStringLiteral("Report card: ") + card.courseTitle);
        writer.setCreator(card.courseTitle);
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QStringLiteral("the PDF could not be started");
            out.cancelWriting();
            return false;
        }
        const QRectF page = portrait.paintRectPixels(writer.resolution());
        PaintReportCard(painter, QRectF(QPointF(0, 0), page.size()), card);
        painter.end();
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

CardOutput AskCardOutput(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Report Card"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* save = buttons->addButton(QStringLiteral("Save as PDF"), QDialogButtonBox::ActionRole);
        save->setToolTip(QStringLiteral("Save the report card as a PDF file"));
        QObject::connect(save, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(kCardDialogSave); });
    }
    const int result = dialog.exec();
    if (result == kCardDialogSave) return CardOutput::SavePdf;
    return result == QDialog::Accepted ? CardOutput::Print : CardOutput::Cancelled;
}

QString AskCardPdfFile(QWidget* parent, const QString& suggestedName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    QFileDialog dialog(parent, QStringLiteral("Save Report Card as PDF"), QDir(folder).filePath(suggestedName),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace ep
