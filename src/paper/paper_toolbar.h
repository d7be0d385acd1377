#pragma once

// The paper window's toolbar strip: Save, Mark, Print, Close, Solution, Back
// and Next with their captions, and the paper summary picture with the score.

#include <QLabel>
#include <QWidget>
#include <array>

#include "button_states.h"
#include "skin_picture.h"

namespace ep {

class PaperToolbar : public QWidget {
    Q_OBJECT

public:
    // `percentSign`: whether the score is followed by "%" (first attempt only).
    PaperToolbar(QWidget* parent, const SkinFolder& skin, bool percentSign);

    static constexpr int kHeight = 62;
    static constexpr int kButtons = 7;
    static constexpr int kSolution = 7;
    // Left to right, which is also the keyboard order.
    static constexpr std::array<int, kButtons> kOrder{1, 2, 3, 4, kSolution, 5, 6};

    // 1-based: ToolBar[1] is Save .. ToolBar[6] is Next, ToolBar[7] the
    // Solution button, which shows "Question" while a solution is on show.
    std::array<SkinButton*, kButtons + 1> ToolBar{};
    std::array<CaptionLabel*, kButtons + 1> lblTB{};
    std::array<ButtonPictures, kButtons + 1> pictures{};

    SkinImage* PaperSum;
    QLabel* PScoring;   // the percentage score
    QLabel* PScoringL;  // "%", first attempt only (else nullptr)

    // Places the buttons for the strip's width and the summary picture for
    // the window's outer width, both in pixels. Where the strip is too narrow
    // for the gaps as designed, every gap shrinks alike: nothing overlaps.
    void Layout(int windowWidth);

    // The score: `percent` as stored ("66.7"), "" before marking.
    void ShowScore(const QString& percent);

    // The Solution button's caption, tool tip and pictures: "Solution" or,
    // while the solution is on show, "Question". `closedTip` is the tool tip
    // of the button while it is disabled.
    void ShowSolutionButton(bool solutionShown, const QString& closedTip);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int windowWidth_ = 0;
};

}  // namespace ep
