#pragma once

// The strip under the question page (the remaining questions, the clock and
// date or the attempt, the answered counter) and the marking bar.

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <array>

#include "open_paper.h"
#include "skin_picture.h"

namespace ep {

class StatusStrip : public QWidget {
    Q_OBJECT

public:
    StatusStrip(QWidget* parent, const SkinFolder& skin, Attempt attempt);

    static constexpr int kHeight = 25;

    SkinImage* TxtRem;  // the remaining-questions panel
    QLabel* TxtRemlbl;  // "Qns left:"
    QComboBox* RemQns;

    SkinImage* Bot1;
    SkinImage* Bot2 = nullptr;  // first attempt only
    SkinImage* Bot3;

    // First attempt only (nullptr in a second attempt).
    QLabel* lblClock = nullptr;
    QLabel* LTime = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* ETime = nullptr;
    // Second attempt only.
    QLabel* Label1 = nullptr;  // "Second Attempt"

    QLabel* lblAnsweredQ;
    QLabel* Label3;  // "/"
    QLabel* lblTotalQ;
};

// fmeMark: the bar that fills while a paper is marked, on a small card
// over the question page.
class MarkingPanel : public QWidget {
    Q_OBJECT

public:
    MarkingPanel(QWidget* parent, const SkinFolder& skin);

    static constexpr int kBars = 15;
    SkinImage* bar;                               // the strip the bars fill
    std::array<SkinImage*, kBars + 1> imgBar{};  // imgBar[1] .. imgBar[15]

    // Shows the panel and its bars one by one, 0.2 s apart by a monotonic
    // clock, then hides it. Meanwhile the program paints and runs its timers
    // but takes no mouse or keyboard input, which is thrown away, not saved up.
    void Play();

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ep
