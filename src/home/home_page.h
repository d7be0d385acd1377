#pragma once

// The Home page: the topics of the current module on the left, the five
// papers of the chosen topic on the right with both attempts' scores.

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>
#include <array>

#include "list.h"
#include "skin_picture.h"

namespace ep {

// A score as a screen reader says it, naming its attempt: "first attempt:
// 66.7%", or "first attempt: not taken" for an empty score.
QString ScoreSaid(const QString& attempt, const QString& score);

// A topic of the list: a label that takes focus and answers Enter and Space
// like a button, painted in the colours `Topicbuttoncolour` gives it.
class TopicLabel : public QAbstractButton {
    Q_OBJECT
public:
    explicit TopicLabel(QWidget* parent);
    void SetColours(const QColor& background, const QColor& foreground);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor background_;
    QColor foreground_;
};

class HomePage : public QWidget {
    Q_OBJECT
public:
    HomePage(QWidget* parent, const SkinFolder& skin);

    // The topic-list refresh: names as captions, rows past the count hidden.
    void FillTopics(const TextList& names, int topicCount);
    // Shows the scores of the five papers from slot `firstSlot` on, and the
    // topic's name in the paper column heading when firstSlot starts a topic.
    void TopicChoosing(int firstSlot, const TextList& firstScores, const TextList& secondScores,
                       const TextList& topicNames);
    void Topicbuttoncolour(int topic);
    void ArrangePaperRows();
    void ShowTopicRow(int k, int topicCount);

    // The paper-loading buttons' hover pictures, from the window's tick.
    void UpdateHoverImages(const QPoint& cursor, const SkinFolder& skin);

    std::array<TopicLabel*, 10> Topic{};
    std::array<SkinImage*, 10> Bullet{};
    QLabel* SubH1;                 // the paper column heading
    std::array<QLabel*, 5> LblP{};
    std::array<SkinButton*, 5> Pa{};  // "Load paper N"
    std::array<SkinButton*, 5> Pb{};  // "Try paper N again"
    std::array<CaptionLabel*, 5> PaLabel{};
    std::array<CaptionLabel*, 5> PbLabel{};
    std::array<QLabel*, 5> MSA{};
    std::array<QLabel*, 5> MSB{};
    QLabel* Percent1a;             // the "%" column; the scores end in front of it
    std::array<QLabel*, 10> percentSigns{};

signals:
    void topicClicked(int topic);
    void paperClicked(int index, int attempt);

private:
    std::array<int, 5> rowTop_{};
};

}  // namespace ep
