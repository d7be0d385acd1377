#include "report_page.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "accessibility.h"
#include "button_states.h"
#include "report_drawing.h"
#include "skin_palette.h"

namespace ep {
namespace {

constexpr int kBarHeight = 26;
constexpr int kFootHeight = 44;
constexpr QSize kReportCardButton{124, 30};
constexpr int kTopicPitch = 31;
constexpr double kChartPad = 7;
constexpr int kNameWidth = 190;
constexpr int kScaleLeft = 220;   // where both bars of a topic start
constexpr int kScaleWidth = 440;  // full scale: 100 %
constexpr const char* kSummaryCaptions[] = {"First Attempt Average Score:", "Second Attempt Average Score:",
                                            "Number of Papers Completed:", "Weakest Topic:", "Strongest Topic:"};

QFont Font(double points, bool bold = false, const char* family = "Arial") {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QWidget* Filled(QWidget* parent, const QColor& colour) {
    auto* box = new QWidget(parent);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, colour);
    box->setPalette(pal);
    box->setAutoFillBackground(true);
    return box;
}

QLabel* Label(QWidget* parent, const QString& text, const QFont& font, QRect geometry,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(geometry);
    label->setAlignment(align);
    return label;
}

}  // namespace

SectionBar::SectionBar(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setFont(Font(10.5, true, "Trebuchet MS"));
}

void SectionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    const bool hot = underMouse() || isDown();
    fill.setColorAt(0, hot ? QColor(0x5d, 0x93, 0xd8) : QColor(0x4a, 0x7f, 0xc7));
    fill.setColorAt(1, hot ? QColor(0x2f, 0x66, 0xb3) : QColor(0x25, 0x58, 0xa3));
    painter.fillRect(rect(), fill);
    painter.setPen(QColor(0x1b, 0x45, 0x82));
    painter.drawLine(0, height() - 1, width(), height() - 1);
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(14, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

TrendPlot::TrendPlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(QStringLiteral("Your most recent first-attempt scores"));
    SetAccessibleRole(this, QAccessible::Chart);
    setAccessibleName(QStringLiteral("Trend of your most recent first-attempt scores"));
    SetScores({});
}

void TrendPlot::SetScores(std::vector<double> scores) {
    scores_ = std::move(scores);
    // What the eye reads off the chart, for a screen reader.
    setAccessibleDescription(TrendSaid(scores_));
    update();
}

QRectF TrendPlot::ChartArea() const {
    return QRectF(kChartPad, kChartPad, width() - 2 * kChartPad, height() - 2 * kChartPad);
}

std::vector<ChartPoint> TrendPlot::Points() const {
    const QRectF area = ChartArea();
    return TrendChartPoints(scores_, area.width(), area.height());
}

void TrendPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // The chart's own coordinates start inside a margin, so that a dot at
    // 100 % is not cut by the edge.
    PaintTrendChart(painter, ChartArea(), scores_, 1);
}

QString TrendSaid(const std::vector<double>& scores) {
    if (scores.empty()) return QStringLiteral("No first attempts yet.");
    QStringList said;
    for (double score : scores) said << QString::number(score) + QLatin1Char('%');
    if (scores.size() == 1) return QStringLiteral("1 paper: ") + said.first() + QLatin1Char('.');
    return QStringLiteral("%1 papers, oldest first: %2.").arg(scores.size()).arg(said.join(QStringLiteral(", ")));
}

ReportPage::ReportPage(QWidget* parent, const SkinFolder& skin) : QWidget(parent) {
    const char* captions[] = {"Overall Results", "Topical Results", "Trend Analysis"};
    const char* tips[] = {"Click to show overall results", "Click to show topical results",
                          "Click to show past trends"};
    RC1Summary = Filled(this, palette::kPage);
    RC2Topical = Filled(this, palette::kPage);
    RC3Trend = Filled(this, palette::kPage);
    for (int i = 0; i < 3; ++i) {
        RCBar[i] = new SectionBar(this);
        RCBar[i]->setText(QString::fromLatin1(captions[i]));
        RCBar[i]->setToolTip(QString::fromLatin1(tips[i]));
        connect(RCBar[i], &QAbstractButton::clicked, this, [this, i] { emit sectionClicked(i + 1); });
    }
    BuildSummary();
    BuildTopical();
    BuildTrend();
    BuildFoot(skin);
    setTabOrder(RCBar[0], RCBar[1]);
    setTabOrder(RCBar[1], RCBar[2]);
    setTabOrder(RCBar[2], ButReportCard);
    damaged = Label(this, QString(), Font(11, true), {40, 120, 700, 120}, Qt::AlignCenter);
    damaged->setWordWrap(true);
    damaged->hide();
}

void ReportPage::BuildSummary() {
    std::array<QLabel**, 5> values = {&OScore1, &OScore2, &PCNum, &WT, &ST};
    for (int i = 0; i < 5; ++i) {
        QLabel* caption = Label(RC1Summary, QString::fromLatin1(kSummaryCaptions[i]), Font(11), {90, 40 + 44 * i, 260, 30});
        *values[i] = Label(RC1Summary, QStringLiteral("-"), Font(12, true), {360, 40 + 44 * i, 360, 30});
        // A value alone does not say what it is: its name says both.
        HideFromAccessibility(caption);
    }
}

void ReportPage::BuildTopical() {
    for (int k = 0; k < 10; ++k) {
        const int top = 10 + kTopicPitch * k;
        TopLab[k] = Label(RC2Topical, QString(), Font(9.5), {20, top, kNameWidth, 26});
        TBackA[k] = Filled(RC2Topical, report_colours::kTrack);
        TBackA[k]->setGeometry(kScaleLeft, top + 1, kScaleWidth, 11);
        TBackB[k] = Filled(RC2Topical, report_colours::kTrack);
        TBackB[k]->setGeometry(kScaleLeft, top + 14, kScaleWidth, 11);
        TBarA[k] = Filled(TBackA[k], report_colours::kFirst);
        TBarA[k]->setGeometry(0, 0, 0, 11);
        TBarB[k] = Filled(TBackB[k], report_colours::kSecond);
        TBarB[k]->setGeometry(0, 0, 0, 11);
        // A bar is a picture of its value, which its description says.
        for (QWidget* back : {TBackA[k], TBackB[k]}) SetAccessibleRole(back, QAccessible::Graphic);
        HideFromAccessibility(TBarA[k]);
        HideFromAccessibility(TBarB[k]);
        TMarkA[k] = Label(RC2Topical, QString(), Font(8.5, true), {kScaleLeft + kScaleWidth + 8, top - 2, 70, 15});
        TMarkB[k] = Label(RC2Topical, QString(), Font(8.5, true), {kScaleLeft + kScaleWidth + 8, top + 11, 70, 15});
    }
    const int legendTop = 10 + kTopicPitch * 10;
    auto legend = [&](const QColor& colour, const char* text, int left) {
        QWidget* swatch = Filled(RC2Topical, colour);
        swatch->setGeometry(left, legendTop + 7, 22, 11);
        HideFromAccessibility(swatch);
        Label(RC2Topical, QString::fromLatin1(text), Font(9), {left + 28, legendTop, 180, 24});
    };
    legend(report_colours::kFirst, "First Attempt results", kScaleLeft);
    legend(report_colours::kSecond, "Second Attempt Score", kScaleLeft + 230);
}

void ReportPage::BuildTrend() {
    RC3TrendPlot = new TrendPlot(RC3Trend);
    for (int g = 0; g <= 10; ++g) {
        auto* tick = Label(RC3Trend, QString::number(100 - 10 * g) + QStringLiteral("%"), Font(8), {8, 0, 44, 14},
                           Qt::AlignRight | Qt::AlignVCenter);
        tick->setObjectName(QStringLiteral("scale%1").arg(g));
        HideFromAccessibility(tick);  // the chart's description gives the scores
    }
    auto* axis = Label(RC3Trend, QStringLiteral("Recent Papers Attempted"), Font(9.5, true), {0, 0, 300, 20},
                       Qt::AlignCenter);
    axis->setObjectName(QStringLiteral("axis"));
}

void ReportPage::BuildFoot(const SkinFolder& skin) {
    ReportFoot = Filled(this, palette::kPage);
    ReportCardNote = Label(ReportFoot, QStringLiteral("A one-page report card, to print or to save as a PDF file"),
                           Font(9), {20, 0, 500, kFootHeight});
    QPalette grey = ReportCardNote->palette();
    grey.setColor(QPalette::WindowText, QColor(0x5a, 0x6b, 0x80));
    ReportCardNote->setPalette(grey);
    ButReportCard = new SkinButton(ReportFoot, kReportCardButton);
    ButReportCard->setText(QStringLiteral("Report card"));
    ButReportCard->setToolTip(QStringLiteral("Print or save a report card"));
    ButReportCard->setPictureFile(skin.Path(QStringLiteral("reportcard_off.bmp")));
    // The caption sits right of the little card drawn on the picture.
    ButReportCardlbl = new CaptionLabel(ButReportCard, ButReportCard);
    ButReportCardlbl->setText(ButReportCard->text());
    ButReportCardlbl->setToolTip(ButReportCard->toolTip());
    ButReportCardlbl->setFont(Font(10.5));
    ButReportCardlbl->setAlignment(Qt::AlignCenter);
    ButReportCardlbl->setGeometry(30, 3, kReportCardButton.width() - 34, kReportCardButton.height() - 6);
    connect(ButReportCard, &QAbstractButton::clicked, this, &ReportPage::reportCardClicked);
}

void ReportPage::UpdateHoverImages(const QPoint& cursor, const QString& pressTrack, const SkinFolder& skin) {
    ShowThreeState(*ButReportCard, ButtonPictures::Family(QStringLiteral("reportcard")), cursor, pressTrack, skin);
}

int ReportPage::SectionsHeight() const { return height() - kFootHeight; }

void ReportPage::resizeEvent(QResizeEvent*) {
    LayoutReportSections(reportPos_);
    ReportFoot->setGeometry(0, SectionsHeight(), width(), kFootHeight);
    ButReportCard->move(width() - kReportCardButton.width() - 16, (kFootHeight - kReportCardButton.height()) / 2);
    // The trend area and its scale follow the panel's size.
    const int plotLeft = 60, plotTop = 16;
    const int plotWidth = width() - plotLeft - 30;
    const int plotHeight = std::max(60, SectionsHeight() - 3 * kBarHeight - plotTop - 40);
    RC3TrendPlot->setGeometry(plotLeft, plotTop, plotWidth, plotHeight);
    for (int g = 0; g <= 10; ++g) {
        if (auto* tick = RC3Trend->findChild<QLabel*>(QStringLiteral("scale%1").arg(g))) {
            tick->move(8, plotTop + static_cast<int>(kChartPad + g * (plotHeight - 2 * kChartPad) / 10) - 7);
        }
    }
    if (auto* axis = RC3Trend->findChild<QLabel*>(QStringLiteral("axis"))) {
        axis->setGeometry(plotLeft, plotTop + plotHeight + 6, plotWidth, 20);
    }
}

void ReportPage::LayoutReportSections(const QString& reportPos) {
    SectionLayout layout =
        ep::LayoutReportSections(reportPos.toStdString(), SectionsHeight(), kBarHeight, kBarHeight, kBarHeight);
    if (layout.openSection == 0) return;
    reportPos_ = reportPos;
    for (int i = 0; i < 3; ++i) RCBar[i]->setGeometry(0, static_cast<int>(layout.barTops[i]), width(), kBarHeight);
    QWidget* panels[] = {RC1Summary, RC2Topical, RC3Trend};
    QWidget* open = panels[layout.openSection - 1];
    for (QWidget* panel : panels) panel->setVisible(panel == open && !damaged->isVisible());
    for (int i = 0; i < 3; ++i) SetAccessibleExpanded(RCBar[i], i + 1 == layout.openSection);
    open->setGeometry(0, static_cast<int>(layout.panelTop), width(), static_cast<int>(layout.panelHeight));
    open->raise();
    for (SectionBar* bar : RCBar) bar->raise();
}

void ReportPage::DrawTopicBars(int row, const TopicBars& bars) {
    TopLab[row]->setText(QString::fromStdString(bars.name));
    const QString name = QString::fromStdString(bars.name);
    auto said = [](const std::string& mark, const char* attempt) {
        return mark.empty() ? QStringLiteral("no %1 attempt").arg(QLatin1String(attempt))
                            : QStringLiteral("%1 attempt: %2").arg(QLatin1String(attempt), QString::fromStdString(mark));
    };
    TMarkA[row]->setAccessibleName(name + QStringLiteral(", ") + said(bars.markA, "first"));
    TMarkB[row]->setAccessibleName(name + QStringLiteral(", ") + said(bars.markB, "second"));
    TBackA[row]->setAccessibleName(name + QStringLiteral(", first attempt bar"));
    TBackB[row]->setAccessibleName(name + QStringLiteral(", second attempt bar"));
    TBackA[row]->setAccessibleDescription(bars.markA.empty() ? QStringLiteral("No attempt") : QString::fromStdString(bars.markA));
    TBackB[row]->setAccessibleDescription(bars.markB.empty() ? QStringLiteral("No attempt") : QString::fromStdString(bars.markB));
    // Every bar is scaled on the first topic's background.
    const int fullA = TBackA[0]->width();
    const int fullB = TBackB[0]->width();
    TMarkA[row]->setText(QString::fromStdString(bars.markA));
    TBarA[row]->resize(bars.countA > 0 ? static_cast<int>(fullA * bars.fractionA + 0.5) : 0, TBarA[row]->height());
    TMarkB[row]->setText(QString::fromStdString(bars.markB));
    TBarB[row]->resize(bars.countB > 0 ? static_cast<int>(fullB * bars.fractionB + 0.5) : 0, TBarB[row]->height());
    TopLab[row]->setVisible(true);
    TBarA[row]->setVisible(true);
    TBarB[row]->setVisible(true);
}

void ReportPage::Show(const ReportData& report) {
    damaged->hide();
    OScore1->setText(QString::fromStdString(report.firstAverage));
    OScore2->setText(QString::fromStdString(report.secondAverage));
    PCNum->setText(QString::fromStdString(report.papersCompleted));
    WT->setText(QString::fromStdString(report.weakestTopic));
    ST->setText(QString::fromStdString(report.strongestTopic));
    std::array<QLabel*, 5> values = {OScore1, OScore2, PCNum, WT, ST};
    for (int i = 0; i < 5; ++i) {
        values[i]->setAccessibleName(QString::fromLatin1(kSummaryCaptions[i]) + QLatin1Char(' ') +
                                     values[i]->text().trimmed());
    }
    for (int k = 0; k < 10; ++k) {
        DrawTopicBars(k, report.topics[static_cast<std::size_t>(k)]);
        const bool shown = report.topics[static_cast<std::size_t>(k)].visible;
        TopLab[k]->setVisible(shown);
        TBackA[k]->setVisible(shown);
        TBackB[k]->setVisible(shown);
        TMarkA[k]->setVisible(shown);
        TMarkB[k]->setVisible(shown);
    }
    RC3TrendPlot->SetScores(report.trend);
    LayoutReportSections(reportPos_);
}

void ReportPage::ShowDamaged(const QString& message) {
    damaged->setText(message);
    damaged->show();
    damaged->raise();
    for (QWidget* panel : {RC1Summary, RC2Topical, RC3Trend}) panel->hide();
}

}  // namespace ep
