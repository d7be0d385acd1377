#include "paper_toolbar.h"

#include <QFont>
#include <algorithm>

#include "accessibility.h"
#include "skin_palette.h"
#include "skinned_window.h"

namespace ep {
namespace {

constexpr QSize kButtonSize{44, 45};
constexpr int kButtonTop = 2;
constexpr int kCaptionHeight = 13;
constexpr int kGap = 120;             // twips between buttons and from the strip's ends
constexpr int kPaperSumFromRight = 4095;  // twips, from the window's outer width
constexpr QSize kPaperSumSize{117, 41};

struct ToolDef {
    const char* caption;
    const char* toolTip;
    const char* family;
};

constexpr ToolDef kTools[PaperToolbar::kButtons] = {
    {"Save", "Save paper", "save"},          {"Mark", "Mark paper", "mark"},
    {"Print", "Print question", "print"},    {"Close", "Close paper", "close"},
    {"Back", "Previous question", "back"},   {"Next", "Next question", "forward"},
    {"Solution", "Show the worked solution", "solution"},
};
constexpr ToolDef kShowQuestion{"Question", "Show the question", "question"};

void SetToolTip(QWidget* widget, const QString& tip) {
    if (widget->toolTip() != tip) widget->setToolTip(tip);
}

}  // namespace

PaperToolbar::PaperToolbar(QWidget* parent, const SkinFolder& skin, bool percentSign) : QWidget(parent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette::kChrome);
    setPalette(pal);
    setAutoFillBackground(true);
    resize(600, kHeight);

    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPointSizeF(8);
    for (int k = 1; k <= kButtons; ++k) {
        const ToolDef& tool = kTools[k - 1];
        auto* button = new SkinButton(this, kButtonSize);
        button->setText(QString::fromLatin1(tool.caption));
        button->setToolTip(QString::fromLatin1(tool.toolTip));
        // The title bar has a Close too: this one says what it closes.
        if (k == 4) button->setAccessibleName(button->toolTip());
        pictures[static_cast<std::size_t>(k)] = ButtonPictures::Family(QString::fromLatin1(tool.family));
        button->setPictureFile(skin.Path(pictures[static_cast<std::size_t>(k)].off));
        ToolBar[static_cast<std::size_t>(k)] = button;

        auto* caption = new CaptionLabel(this, button);
        caption->setText(QString::fromLatin1(tool.caption));
        caption->setToolTip(button->toolTip());
        caption->setFont(captionFont);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        lblTB[static_cast<std::size_t>(k)] = caption;
    }

    PaperSum = new SkinImage(this, kPaperSumSize);
    PaperSum->setPictureFile(skin.Path(QStringLiteral("pen.bmp")));
    QFont scoreFont(QStringLiteral("Arial"));
    scoreFont.setPointSize(14);
    scoreFont.setBold(true);
    PScoring = new QLabel(PaperSum);
    PScoring->setTextFormat(Qt::PlainText);
    PScoring->setFont(scoreFont);
    PScoring->setToolTip(QStringLiteral("Your score"));
    ShowScore(QString());
    PScoringL = nullptr;
    // The white box of the picture runs from x 43 to 110.
    if (percentSign) {
        PScoring->setGeometry(44, 7, 46, 27);
        PScoring->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PScoringL = new QLabel(QStringLiteral("%"), PaperSum);
        PScoringL->setFont(scoreFont);
        PScoringL->setGeometry(91, 7, 18, 27);
        PScoringL->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        HideFromAccessibility(PScoringL);  // the score's name says "%"
    } else {
        PScoring->setGeometry(44, 7, 65, 27);
        PScoring->setAlignment(Qt::AlignCenter);
    }
}

void PaperToolbar::Layout(int windowWidth) {
    windowWidth_ = windowWidth;
    constexpr int kLeftButtons = 5;   // Save, Mark, Print, Close, Solution
    constexpr int kRightButtons = 2;  // Back, Next
    constexpr int kGaps = kLeftButtons + kRightButtons + 2;
    int gap = TwipsToPixels(kGap);
    int sumLeft = windowWidth - TwipsToPixels(kPaperSumFromRight);
    auto rightStart = [&] { return width() - kRightButtons * (kButtonSize.width() + gap); };
    auto leftEnd = [&] { return kLeftButtons * (kButtonSize.width() + gap); };
    // The score keeps its place unless a button would run into it.
    sumLeft = std::max(sumLeft, leftEnd() + gap);
    if (sumLeft + PaperSum->width() + gap > rightStart()) {
        gap = std::max(0, (width() - kButtons * kButtonSize.width() - PaperSum->width()) / kGaps);
        sumLeft = leftEnd() + gap;
    }
    int x = gap;
    for (int k : {1, 2, 3, 4, kSolution}) {
        ToolBar[static_cast<std::size_t>(k)]->move(x, kButtonTop);
        x += kButtonSize.width() + gap;
    }
    ToolBar[6]->move(width() - kButtonSize.width() - gap, kButtonTop);
    ToolBar[5]->move(ToolBar[6]->x() - kButtonSize.width() - gap, kButtonTop);
    for (int k = 1; k <= kButtons; ++k) {
        const SkinButton* button = ToolBar[static_cast<std::size_t>(k)];
        lblTB[static_cast<std::size_t>(k)]->setGeometry(button->x() - gap / 2, button->y() + button->height(),
                                                        button->width() + gap, kCaptionHeight);
    }
    PaperSum->move(sumLeft, (kHeight - PaperSum->height()) / 2);
}

void PaperToolbar::ShowScore(const QString& percent) {
    PScoring->setText(percent);
    PScoring->setAccessibleName(percent.isEmpty() ? QStringLiteral("Your score: not marked yet")
                                                  : QStringLiteral("Your score: ") + percent + QLatin1Char('%'));
}

void PaperToolbar::ShowSolutionButton(bool solutionShown, const QString& closedTip) {
    const ToolDef& tool = solutionShown ? kShowQuestion : kTools[kSolution - 1];
    SkinButton* button = ToolBar[kSolution];
    CaptionLabel* caption = lblTB[kSolution];
    const QString text = QString::fromLatin1(tool.caption);
    if (button->text() != text) button->setText(text);
    caption->setText(text);
    const QString tip = button->isEnabled() ? QString::fromLatin1(tool.toolTip) : closedTip;
    SetToolTip(button, tip);
    SetToolTip(caption, tip);
    const QString family = QString::fromLatin1(tool.family);
    if (!pictures[kSolution].off.startsWith(family + QLatin1Char('_'))) {
        pictures[kSolution] = ButtonPictures::Family(family);
    }
}

void PaperToolbar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout(windowWidth_);
}

}  // namespace ep
