#pragma once

// What the first- and second-attempt paper windows share: the question view,
// the answer sheet, moving between questions, saving, marking, closing and
// the 100 ms tick. Test1 and Test2 add only their differences.

#include <QDate>
#include <QString>
#include <chrono>
#include <optional>

#include "answer_sheet.h"
#include "open_paper.h"
#include "paper_host.h"
#include "paper_toolbar.h"
#include "question_view.h"
#include "skinned_window.h"
#include "status_strip.h"

namespace ep {

class PaperWindow : public SkinnedWindow {
    Q_OBJECT

public:
    ~PaperWindow() override;

    // For the home window, before it closes itself or opens another paper:
    // saves the answers on the sheet (unless the paper is marked), then
    // closes the window, which tells the home window to refresh. Returns
    // false, and the window stays open, when the answers could not be saved
    // (the pupil has been told) or while the window is busy marking or
    // waiting for the pupil's answer to a question of its own.
    bool CloseFromProgram();

    const OpenPaper& paper() const { return paper_; }
    bool Marked() const;
    bool AnswerSheetShown() const { return sheetShown_; }
    // True while marking or while a question, notice or dialog of the window is up.
    bool Busy() const { return busy_ > 0; }

    // The window's hidden fields.
    QString QSCount = QStringLiteral("1");  // the question on show
    QString Status = QStringLiteral("0");   // "1" once this attempt is marked
    QString TopicCount;
    QString Scoring;  // the raw score of the last marking

    // Controls. The numbered families are 1-based arrays.
    PaperToolbar* toolbar;
    SkinButton* ToolBar01;  // Save
    SkinButton* ToolBar02;  // Mark
    SkinButton* ToolBar03;  // Print
    SkinButton* ToolBar04;  // Close
    SkinButton* ToolBar05;  // Back
    SkinButton* ToolBar06;  // Next
    SkinButton* ToolBar07;  // Solution / Question
    SkinImage* PaperSum;
    QLabel* PScoring;
    QLabel* PScoringL;  // first attempt only
    QuestionView* question;
    QLabel* QnTitle;
    AnswerSheet* AnsBox;
    SkinImage* PicHideAns;
    SkinButton* ImgHandle;
    StatusStrip* strip;
    SkinImage* TxtRem;
    QComboBox* RemQns;
    QLabel* lblClock;  // first attempt only
    QLabel* LTime;     // first attempt only
    QLabel* lblDate;   // first attempt only
    QLabel* ETime;     // first attempt only
    QLabel* lblAnsweredQ;
    QLabel* lblTotalQ;
    MarkingPanel* fmeMark;

    // The window's routines.
    void GoToQuestion(int target);
    void NextQuestion();
    void PreviousQuestion();
    void RemQns_Click(int index);
    void RefreshRemainingList();
    void StoreSheetAnswers();
    void BuildAnswerSheet();
    void ShowAnswerRows();
    void ImgHandle_Click();
    void SavePaper();
    void MarkPaper();
    void PrintQuestion();
    void ClosePaper();
    void Timer1_Timer() override;

    // The Solution button: shows the worked solution of the question on show,
    // or the question again. The choice holds while the pupil moves on; a
    // question whose solution is not open yet shows the question.
    void ToolBar07_Click();
    bool SolutionChosen() const { return solutionChosen_; }
    bool SolutionShown() const;
    // The Solution button's tool tip while it is disabled.
    QString SolutionClosedTip() const;

signals:
    // The question page on show has finished loading.
    void questionLoaded(bool ok);

protected:
    PaperWindow(PaperHost& host, OpenPaper paper);

    // Reads the home window's fields and loads the paper, or tells the pupil
    // why it cannot be opened (nothing on disk is changed then).
    static std::optional<OpenPaper> LoadPaper(PaperHost& host, Attempt attempt);
    // The rest of the loading sequence, once the controls exist; then shows
    // the window.
    void Form_Load();

    // Row `row` of the sheet from answer slot `slot`.
    virtual void FillAnswerRow(int row, int slot) = 0;
    // Locks the sheet and shows the results of this attempt.
    virtual void ShowMarkedView() = 0;

    void LayoutContents() override;
    int NextOwnChange() const override;
    void imgProgClose_Click() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    PaperHost& host() { return host_; }
    OpenPaper& mutablePaper() { return paper_; }
    int FirstSlot() const;
    int Question() const;

private:
    class BusyScope;

    bool SaveAnswers();  // false after telling the pupil why not
    // A yes/no pop-up; `note` is a line under the message.
    bool Ask(const QString& title, const QString& message, const QString& note = {});
    void Tell(const QString& title, const QString& message);
    void UpdateToolbar();
    void UpdateClock();
    void Form_Unload();
    void AnswerBoxEnter(int row);
    // The question's page, or its worked solution when chosen and open.
    void ShowPage();
    // The notes under the answer boxes of the question on show.
    void RefreshNotes();
    void AnswerEdited(int row);
    void AnswerRefused(int row, const QString& refused);
    QString FormProblemOfRow(int row, const QString& text) const;

    PaperHost& host_;
    OpenPaper paper_;
    QString dataFolder_;
    bool sheetShown_ = false;
    bool closing_ = false;
    bool unloaded_ = false;
    bool focusPending_ = true;
    bool solutionChosen_ = false;
    bool buildingSheet_ = false;
    int busy_ = 0;
    std::chrono::steady_clock::time_point clockStart_;
};

// The date as the system writes it in short form, or as year-month-day when
// that form is not three numbers the results files can keep.
QString StorableShortDate(const QDate& date);

}  // namespace ep
