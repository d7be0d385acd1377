#pragma once

// The Report page: three sections that open one at a time, "Overall
// Results", "Topical Results" and "Trend Analysis".

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>
#include <array>
#include <vector>

#include "report_data.h"
#include "skin_picture.h"

namespace ep {

// A section bar: the whole bar is the button.
class SectionBar : public QAbstractButton {
    Q_OBJECT
public:
    explicit SectionBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The trend chart's scores as a sentence: "3 papers, oldest first: 40%, 66.7%, 80%."
QString TrendSaid(const std::vector<double>& scores);

// The chart of recent first-attempt scores.
class TrendPlot : public QWidget {
    Q_OBJECT
public:
    explicit TrendPlot(QWidget* parent);
    void SetScores(std::vector<double> scores);
    const std::vector<double>& scores() const { return scores_; }
    // The area the chart is drawn in, and its points within that area.
    QRectF ChartArea() const;
    std::vector<ChartPoint> Points() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> scores_;
};

class ReportPage : public QWidget {
    Q_OBJECT
public:
    ReportPage(QWidget* parent, const SkinFolder& skin);

    // Fills every section from the report's figures.
    void Show(const ReportData& report);
    // Says which results file is damaged, in place of the sections.
    void ShowDamaged(const QString& message);
    // Opens the section `reportPos` names ("1".."3"); any other value changes nothing.
    void LayoutReportSections(const QString& reportPos);
    // The report card button's pictures, from the window's tick; `pressTrack`
    // is the window's txtPressTrack.
    void UpdateHoverImages(const QPoint& cursor, const QString& pressTrack, const SkinFolder& skin);
    // The height the three sections share: the page above its foot.
    int SectionsHeight() const;

    std::array<SectionBar*, 3> RCBar{};
    QWidget* RC1Summary;
    QWidget* RC2Topical;
    QWidget* RC3Trend;
    QLabel* OScore1;
    QLabel* OScore2;
    QLabel* PCNum;
    QLabel* WT;
    QLabel* ST;
    std::array<QLabel*, 10> TopLab{};
    std::array<QWidget*, 10> TBackA{};
    std::array<QWidget*, 10> TBackB{};
    std::array<QWidget*, 10> TBarA{};
    std::array<QWidget*, 10> TBarB{};
    std::array<QLabel*, 10> TMarkA{};
    std::array<QLabel*, 10> TMarkB{};
    TrendPlot* RC3TrendPlot;
    QLabel* damaged;
    // The foot of the page, under the sections: the "Report card" button.
    QWidget* ReportFoot;
    QLabel* ReportCardNote;
    SkinButton* ButReportCard;
    CaptionLabel* ButReportCardlbl;

signals:
    // A section bar was clicked: the window keeps the position and lays out.
    void sectionClicked(int section);
    // The "Report card" button was clicked.
    void reportCardClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildSummary();
    void BuildTopical();
    void BuildTrend();
    void BuildFoot(const SkinFolder& skin);
    void DrawTopicBars(int row, const TopicBars& bars);
    QString reportPos_ = QStringLiteral("1");
};

}  // namespace ep
