#include "test1.h"

namespace ep {

Test1* Test1::Open(PaperHost& host) {
    std::optional<OpenPaper> paper = LoadPaper(host, Attempt::kFirst);
    if (!paper) return nullptr;
    auto* window = new Test1(host, std::move(*paper));
    window->Form_Load();
    return window;
}

Test1::Test1(PaperHost& host, OpenPaper paper) : PaperWindow(host, std::move(paper)) {}

void Test1::FillAnswerRow(int row, int slot) {
    const std::size_t k = static_cast<std::size_t>(row);
    const std::size_t s = static_cast<std::size_t>(slot);
    AnsBox->M[k]->setText(QString::fromStdString(paper().ModelAnswer(slot)));
    AnswerSheet::ShowResult(*AnsBox->FR[k], QString::fromStdString(paper().results()[s]));
    AnsBox->FA[k]->SetSingleCharacter(paper().catalogue().kinds[s] == "Q");
    AnsBox->FA[k]->setText(QString::fromStdString(paper().answers()[s]));
}

void Test1::ShowMarkedView() {
    for (int k = 1; k <= kAnswerRows; ++k) {
        AnsBox->FA[static_cast<std::size_t>(k)]->setReadOnly(true);
        AnsBox->FR[static_cast<std::size_t>(k)]->show();
    }
    TxtRem->hide();
    BuildAnswerSheet();
    ShowAnswerRows();
    lblClock->hide();
    LTime->show();
    lblDate->hide();
    ETime->show();
}

}  // namespace ep
