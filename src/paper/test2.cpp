#include "test2.h"

#include "answer_check.h"
#include "skinned_window.h"

namespace ep {
namespace {

constexpr int kTickGapTwips = 105;

void SetBoxColour(QLineEdit& box, const QColor& colour) {
    QPalette pal = box.palette();
    pal.setColor(QPalette::Base, colour);
    box.setPalette(pal);
}

}  // namespace

const QColor Test2::kCarriedColour{192, 192, 255};

Test2* Test2::Open(PaperHost& host) {
    std::optional<OpenPaper> paper = LoadPaper(host, Attempt::kSecond);
    if (!paper) return nullptr;
    auto* window = new Test2(host, std::move(*paper));
    window->Form_Load();
    return window;
}

Test2::Test2(PaperHost& host, OpenPaper paper) : PaperWindow(host, std::move(paper)) {}

void Test2::FillAnswerRow(int row, int slot) {
    const std::size_t k = static_cast<std::size_t>(row);
    const std::size_t s = static_cast<std::size_t>(slot);
    AnswerBox& box = *AnsBox->FA[k];
    QLabel& first = *AnsBox->FR[k];
    AnswerSheet::ShowResult(first, QString::fromStdString(paper().firstResults()[s]));
    AnswerSheet::ShowResult(*AnsBox->SR[k], QString::fromStdString(paper().results()[s]));
    AnsBox->M[k]->setText(QString::fromStdString(paper().ModelAnswer(slot)));
    box.SetSingleCharacter(paper().catalogue().kinds[s] == "Q");
    box.setText(QString::fromStdString(paper().answers()[s]));

    const bool carried = paper().IsCarried(slot);
    if (!Marked()) {
        // Right the first time: locked, light blue, its tick beside it.
        box.setReadOnly(carried);
        SetBoxColour(box, carried ? kCarriedColour : QColor(Qt::white));
        first.setVisible(carried);
        if (carried) first.move(box.x() + box.width() + TwipsToPixels(kTickGapTwips), first.y());
    } else {
        AnsBox->M[k]->setVisible(paper().results()[s] == kCrossMark);
        SetBoxColour(box, carried ? kCarriedColour : QColor(Qt::white));
    }
}

void Test2::ShowMarkedView() {
    for (int k = 1; k <= kAnswerRows; ++k) {
        AnsBox->FA[static_cast<std::size_t>(k)]->setReadOnly(true);
        AnsBox->SR[static_cast<std::size_t>(k)]->show();
        AnsBox->FR[static_cast<std::size_t>(k)]->hide();
    }
    TxtRem->hide();
    BuildAnswerSheet();
    ShowAnswerRows();
}

}  // namespace ep
