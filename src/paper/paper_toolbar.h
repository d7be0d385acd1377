#pragma once

// The paper window's toolbar strip: Save, Mark, Print, Close, Back and Next
// with their captions, and the paper summary picture with the score.

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
    static constexpr int kButtons = 6;

    // 1-based: ToolBar[1] is Save .. ToolBar[6] is Next.
    std::array<SkinButton*, kButtons + 1> ToolBar{};
    std::array<CaptionLabel*, kButtons + 1> lblTB{};
    std::array<ButtonPictures, kButtons + 1> pictures{};

    SkinImage* PaperSum;
    QLabel* PScoring;   // the percentage score
    QLabel* PScoringL;  // "%", first attempt only (else nullptr)

    // Places the buttons for the strip's width and the summary picture for
    // the window's outer width, both in pixels.
    void Layout(int windowWidth);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int windowWidth_ = 0;
};

}  // namespace ep
