// The first-attempt paper window, driven as a pupil drives it, against the
// fixture course in a fresh data folder per test.

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "answer_check.h"
#include "open_paper.h"
#include "paper_test_support.h"
#include "results_store.h"
#include "tagged_file.h"
#include "test1.h"
#include "test_support.h"
#include "window_test_support.h"

using namespace ep;
using namespace ep::test;

namespace {

const std::string kTick(kTickMark);
const std::string kCross(kCrossMark);
const QString kCheck = QString(QChar(0x2713));
const QString kBallot = QString(QChar(0x2717));
constexpr int kPageTimeout = 30000;  // the first page starts the web engine


}  // namespace

class Test1Test : public QObject, private PaperWindowFixture<Test1> {
    Q_OBJECT

private:
    Test1* Open(int key, int firstKey = 101) {
        host_->Choose(key, firstKey, firstKey == 101 ? QStringLiteral("Whole Numbers") : QStringLiteral("Fractions"));
        window_ = Test1::Open(*host_);
        return window_;
    }
    void Type(int row, const QString& text) const { QTest::keyClicks(Box(row), text); }
    void WaitForPage() const {
        QSignalSpy loaded(window_.data(), &PaperWindow::questionLoaded);
        if (!window_->question->PageLoaded()) QVERIFY(loaded.wait(kPageTimeout));
    }
private slots:
    void init() { UseCourse(FixtureCourse()); }
    void cleanup() { CloseAll(); }

    void anIdlePaperTicksOnlyForItsClock() {
        QVERIFY(Open(101));
        QVERIFY(QTest::qWaitForWindowExposed(window_.data()));
        WaitForPage();
        QCursor::setPos(window_->mapToGlobal(QPoint(400, 300)));
        // Left alone, the tick waits for the clock's next second, and the
        // clock goes on.
        QTRY_VERIFY(window_->Timer1.isActive() && window_->Timer1.interval() > 100);
        const QString shown = window_->lblClock->text();
        QTRY_VERIFY_WITH_TIMEOUT(window_->lblClock->text() != shown, 5000);
        QVERIFY(window_->Timer1.interval() > 100);
        // Typing brings the quick tick back; an answer counts once stored.
        Type(1, QStringLiteral("7"));
        QCOMPARE(window_->Timer1.interval(), 100);
        QTest::mouseClick(window_->ToolBar06, Qt::LeftButton);
        QTRY_COMPARE(window_->lblAnsweredQ->text(), QStringLiteral("1"));
        // Once marked, the clock stops, and so does the tick.
        QCOMPARE(Mark(QStringLiteral("Yes")).size(), 1);
        QVERIFY(window_->lblClock->isHidden());
        QTRY_VERIFY(!window_->Timer1.isActive());
    }

    void opensAtQuestionOneWithTheRecordedState() {
        QVERIFY(Open(105));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Whole Numbers - Paper 5"));
        QCOMPARE(window_->Title->text(), window_->windowTitle());
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Question 1"));
        QCOMPARE(window_->QSCount, QStringLiteral("1"));
        QCOMPARE(window_->Status, QStringLiteral("0"));
        QCOMPARE(window_->TopicCount, QStringLiteral("1"));
        QCOMPARE(window_->lblTotalQ->text(), QStringLiteral("50"));
        QCOMPARE(window_->RemQns->count(), 30);
        QCOMPARE(window_->RemQns->itemText(0), QStringLiteral("1"));
        QCOMPARE(window_->size(), QSize(800, 600));
        QVERIFY(window_->AnswerSheetShown());
        QVERIFY(!window_->lblClock->isHidden());
        QVERIFY(window_->LTime->isHidden());
        QVERIFY(!window_->lblDate->text().isEmpty());
        QCOMPARE(window_->PScoring->text(), QString());
        QVERIFY(Box(1)->text().isEmpty() && Box(2)->text().isEmpty());
        QVERIFY(!Box(1)->isReadOnly());
        window_->Timer1_Timer();
        QVERIFY(!window_->ToolBar05->isEnabled());  // Back, on question 1
        QVERIFY(window_->ToolBar06->isEnabled());
        QVERIFY(window_->ToolBar01->isEnabled() && window_->ToolBar02->isEnabled());
        QCOMPARE(FileName(window_->ToolBar05->pictureFile()), QStringLiteral("back_disabled.bmp"));
        QVERIFY(QRegularExpression(QStringLiteral("^(0|[1-9][0-9]*):([0-9]|[1-5][0-9]):([0-9]|[1-5][0-9])$"))
                    .match(window_->lblClock->text())
                    .hasMatch());
        // The paper number counts within the topic.
        delete window_.data();
        QVERIFY(Open(107, 106));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Fractions - Paper 2"));
    }

    void rowsFollowTheQuestionShown() {
        QVERIFY(Open(101));
        AnswerSheet* sheet = window_->AnsBox;
        // One slot: one row and no "(a)".
        QVERIFY(!sheet->Frame[1]->isHidden());
        QVERIFY(sheet->Frame[2]->isHidden());
        QVERIFY(sheet->QL[1]->isHidden());
        QVERIFY(sheet->PicInstruction->isHidden());
        window_->NextQuestion();
        QVERIFY(!sheet->QL[1]->isHidden());
        QCOMPARE(sheet->QL[1]->text(), QStringLiteral("(a)"));
        QCOMPARE(sheet->QL[2]->text(), QStringLiteral("(b)"));
        QVERIFY(sheet->Frame[3]->isHidden());
        QCOMPARE(sheet->Frame[2]->y(), sheet->Frame[1]->y() + sheet->Frame[1]->height() + 7);
        // Multiple choice: one character.
        window_->NextQuestion();
        Type(1, QStringLiteral("34"));
        QCOMPARE(Box(1)->text(), QStringLiteral("3"));
        // A longer answer from the file is shown whole and can be shortened,
        // but never lengthened.
        Box(1)->setText(QStringLiteral("abc"));
        QCOMPARE(Box(1)->text(), QStringLiteral("abc"));
        Box(1)->setFocus();
        Box(1)->end(false);
        QTest::keyClick(Box(1), Qt::Key_Backspace);
        QCOMPARE(Box(1)->text(), QStringLiteral("ab"));
        QTest::keyClick(Box(1), Qt::Key_X);
        QCOMPARE(Box(1)->text(), QStringLiteral("ab"));
        QTest::keyClick(Box(1), Qt::Key_Backspace);
        QCOMPARE(Box(1)->text(), QStringLiteral("a"));
        QTest::keyClick(Box(1), Qt::Key_Y);
        QCOMPARE(Box(1)->text(), QStringLiteral("a"));
        delete window_.data();

        QVERIFY(Open(102));
        sheet = window_->AnsBox;
        QVERIFY(!sheet->PicInstruction->isHidden());  // "X"
        window_->NextQuestion();
        QVERIFY(!sheet->PicInstruction->isHidden());  // "F" among "F", "R", "N"
        QVERIFY(!sheet->Frame[3]->isHidden());
        QCOMPARE(sheet->QL[3]->text(), QStringLiteral("(c)"));
        QCOMPARE(sheet->QL[20]->text(), QStringLiteral("(t)"));
    }

    void aLongAnswerGetsTheTallRow() {
        FixtureCopy copy;
        std::string kinds = ReadBytes(copy.Resource(30024));
        kinds.replace(kinds.find("#20011#>N"), 9, "#20011#>L");
        copy.Replace(30024, kinds);
        UseCourse(copy.folder());
        QVERIFY(Open(101));
        AnswerSheet* sheet = window_->AnsBox;
        QCOMPARE(sheet->Frame[1]->height(), 140);
        QCOMPARE(Box(1)->height(), 67);
        QCOMPARE(Box(1)->width(), sheet->Frame[1]->width() - 67);
        QCOMPARE(sheet->FR[1]->x(), Box(1)->x() + Box(1)->width() + 7);
        // The border follows the box.
        QCOMPARE(sheet->Frame[1]->borderRect().bottom(), Box(1)->y() + Box(1)->height());

        // Its text wraps over the box's height: a face of several lines
        // stands in the box's place and takes the typing and the focus.
        QPlainTextEdit* face = Box(1)->wrappedFace();
        QVERIFY(face && Box(1)->Wrapped());
        QCOMPARE(face->geometry(), Box(1)->geometry());
        QVERIFY(!face->isHidden() && Box(1)->isHidden());
        QTRY_VERIFY(Box(1)->hasFocus() && face->hasFocus());
        const QString answer = QStringLiteral("the two angles at the base of the triangle are equal");
        QTest::keyClicks(face, answer);
        QCOMPARE(Box(1)->text(), answer);
        QVERIFY(face->document()->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(face->accessibleName(), QStringLiteral("Question 1, answer"));
        // A line break is never typed into it: Enter moves on, as in a box.
        QTest::keyClick(face, Qt::Key_Return);
        QCOMPARE(window_->QSCount, QStringLiteral("2"));
        QCOMPARE(Line(ResultsFile::kFirst, 101).substr(0, 12), std::string("#101#>the tw"));
        window_->PreviousQuestion();
        QCOMPARE(face->toPlainText(), answer);
        // What a file cannot hold is refused and named, as in a box.
        QTest::keyClicks(face, QStringLiteral(">"));
        QCOMPARE(Box(1)->text(), answer);
        QCOMPARE(face->toPlainText(), answer);
        QTRY_VERIFY(!sheet->NoteText(1).isEmpty());
        QTest::keyClick(face, Qt::Key_Tab);
        QVERIFY(Box(2)->hasFocus() || window_->RemQns->hasFocus());

        window_->NextQuestion();
        QVERIFY(!Box(1)->Wrapped() && !Box(1)->isHidden());
        QCOMPARE(sheet->Frame[1]->height(), 25);
        QCOMPARE(Box(1)->size(), QSize(105, 17));
        QCOMPARE(sheet->FR[1]->x(), 136);
        QCOMPARE(sheet->Frame[2]->y(), sheet->Frame[1]->y() + 25 + 7);
    }

    void answersStayInTheirSlotsAcrossMoves() {
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        window_->NextQuestion();
        // The answers file holds what was typed on the question just left.
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>>>"));
        Type(1, QStringLiteral("12"));
        Type(2, QStringLiteral("Derrick"));
        window_->Timer1_Timer();
        QCOMPARE(window_->lblAnsweredQ->text(), QStringLiteral("1"));  // typing is counted after a move
        window_->NextQuestion();
        window_->Timer1_Timer();
        QCOMPARE(window_->lblAnsweredQ->text(), QStringLiteral("3"));
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>12>Derrick>"));
        window_->PreviousQuestion();
        QCOMPARE(Box(1)->text(), QStringLiteral("12"));
        QCOMPARE(Box(2)->text(), QStringLiteral("Derrick"));
        QCOMPARE(Line(ResultsFile::kFirst, 102), std::string("#102#>>>>"));  // other papers untouched
        // A paper reopened shows what was saved.
        delete window_.data();
        QVERIFY(Open(101));
        QCOMPARE(Box(1)->text(), QStringLiteral("84"));
    }

    void theRemainingListNamesEachUnfinishedQuestionOnce() {
        QVERIFY(Open(101));
        auto items = [this] {
            QStringList list;
            for (int k = 0; k < window_->RemQns->count(); ++k) list << window_->RemQns->itemText(k);
            return list;
        };
        QCOMPARE(items(), (QStringList{"1", "2", "3"}));
        QCOMPARE(window_->RemQns->currentText(), QStringLiteral("1"));  // the question on view, from the start
        window_->NextQuestion();
        QCOMPARE(window_->RemQns->currentText(), QStringLiteral("2"));
        Type(1, QStringLiteral("12"));  // (b) left empty
        window_->NextQuestion();
        Type(1, QStringLiteral(" "));
        window_->PreviousQuestion();
        QCOMPARE(items(), (QStringList{"1", "2", "3"}));  // a space is no answer here
        // Choosing from the list moves there.
        window_->RemQns->setCurrentIndex(0);
        emit window_->RemQns->activated(0);
        QCOMPARE(window_->QSCount, QStringLiteral("1"));
        Type(1, QStringLiteral("84"));
        window_->NextQuestion();
        Type(2, QStringLiteral("Derrick"));
        window_->NextQuestion();
        QCOMPARE(items(), (QStringList{"3"}));
        QCOMPARE(window_->RemQns->currentText(), QStringLiteral("3"));
        Box(1)->clear();
        Type(1, QStringLiteral("3"));
        window_->PreviousQuestion();
        QCOMPARE(items(), QStringList());
        // An answered question on view is no entry of the list; the list
        // still shows its number, greyed.
        QCOMPARE(window_->RemQns->currentIndex(), -1);
        QCOMPARE(window_->RemQns->placeholderText(), QStringLiteral("2"));
    }

    void navigationNeverLeavesThePaper() {
        QVERIFY(Open(101));
        window_->PreviousQuestion();
        QCOMPARE(window_->QSCount, QStringLiteral("1"));
        window_->GoToQuestion(0);
        window_->GoToQuestion(4);
        QCOMPARE(window_->QSCount, QStringLiteral("1"));
        window_->GoToQuestion(3);
        QVERIFY(!window_->ToolBar06->isEnabled());
        QCOMPARE(FileName(window_->ToolBar06->pictureFile()), QStringLiteral("forward_disabled.bmp"));
        window_->NextQuestion();
        QCOMPARE(window_->QSCount, QStringLiteral("3"));
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Question 3"));
        QVERIFY(window_->ToolBar05->isEnabled());
    }

    void keyboardMovesThroughTheAnswers() {
        QVERIFY(Open(101));
        QTRY_VERIFY(Box(1)->hasFocus());
        QTest::keyClicks(Box(1), QStringLiteral("84"));
        QTest::keyClick(Box(1), Qt::Key_Return);  // the last box of question 1
        QCOMPARE(window_->QSCount, QStringLiteral("2"));
        QTRY_VERIFY(Box(1)->hasFocus());
        QTest::keyClick(Box(1), Qt::Key_Tab);
        QTRY_VERIFY(Box(2)->hasFocus());
        QTest::keyClick(Box(2), Qt::Key_Backtab);
        QTRY_VERIFY(Box(1)->hasFocus());
        QTest::keyClick(Box(1), Qt::Key_Enter);
        QTRY_VERIFY(Box(2)->hasFocus());
        QCOMPARE(window_->QSCount, QStringLiteral("2"));
        // The box with the focus has the light blue border.
        QCOMPARE(window_->AnsBox->Frame[2]->borderColour(), QColor(178, 217, 246));
        QCOMPARE(window_->AnsBox->Frame[1]->borderColour(), QColor(192, 192, 192));
        QTest::keyClick(Box(2), Qt::Key_Tab);
        QVERIFY(!Box(2)->hasFocus());
        QCOMPARE(window_->AnsBox->Frame[2]->borderColour(), QColor(192, 192, 192));
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>>>"));
    }

    void theKeyboardNeverMarksByAccident() {
        QVERIFY(Open(101));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.data()));
        window_->GoToQuestion(3);  // the last question: one choice
        QTRY_VERIFY(Box(1)->hasFocus() || (Box(1)->setFocus(), false));
        Type(1, QStringLiteral("2"));
        {
            PopUpScript pops({QStringLiteral("OK")});
            window_->SavePaper();
        }
        const auto before = Snapshot(data_->path());
        // Enter in the last box of the paper stays there: no pop-up, no Mark.
        PopUpKeys keys({{Qt::Key_Return}, {Qt::Key_Escape}, {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}});
        for (int i = 0; i < 3; ++i) QTest::keyClick(Box(1), Qt::Key_Return);
        QTest::qWait(100);
        QVERIFY(keys.seen.isEmpty());
        QVERIFY(Box(1)->hasFocus());
        // Tab goes on to the remaining list, then the toolbar from Save.
        QTest::keyClick(Box(1), Qt::Key_Tab);
        QVERIFY(window_->RemQns->hasFocus());
        QTest::keyClick(window_->RemQns, Qt::Key_Tab);
        QVERIFY(window_->ToolBar01->hasFocus());
        QTest::keyClick(window_->ToolBar01, Qt::Key_Tab);
        QVERIFY(window_->ToolBar02->hasFocus());
        // Mark asks with "No" focused: Enter, Escape, and Tab round the two
        // buttons then Enter all keep the paper unmarked.
        for (int i = 0; i < 3; ++i) {
            QTRY_VERIFY(window_->ToolBar02->hasFocus() && window_->isActiveWindow());
            QTest::keyClick(window_->ToolBar02, Qt::Key_Return);
            QTRY_COMPARE(keys.seen.size(), i + 1);
            QTRY_VERIFY(!window_->Busy());
        }
        const QString asked = QStringLiteral("Marking|You have not answered all the questions.  Do you still want to "
                                             "mark your practice?|No");
        QCOMPARE(keys.seen, (QStringList{asked, asked, asked}));
        QCOMPARE(window_->Status, QStringLiteral("0"));
        auto after = Snapshot(data_->path());
        after.erase("temppaper20015.mht");
        auto expected = before;
        expected.erase("temppaper20015.mht");
        QVERIFY(after == expected);  // every file as it was, to the byte
    }

    void refusedCharactersNeverReachTheFileAndAreNamed() {
        QVERIFY(Open(101));
        AnswerSheet* sheet = window_->AnsBox;
        auto refusal = [this, sheet](const QString& typed, const QString& pasted) {
            if (!typed.isEmpty()) Type(1, typed);
            if (!pasted.isEmpty()) {
                QApplication::clipboard()->setText(pasted);
                Box(1)->paste();
            }
            QTest::qWait(20);  // the box says what it refused once the edit is undone
            if (sheet->NoteKindOf(1) != NoteKind::Refused) return QStringLiteral("no refusal note");
            if (Box(1)->accessibleDescription() != sheet->NoteText(1)) return QStringLiteral("not described");
            return sheet->NoteText(1);
        };
        QCOMPARE(refusal(QStringLiteral("8>4"), {}),
                 QStringLiteral("\">\" cannot be used: the results file keeps answers apart with it"));
        QCOMPARE(Box(1)->text(), QStringLiteral("84"));
        QCOMPARE(refusal(QStringLiteral("#"), {}),
                 QStringLiteral("\"#\" cannot be used: the results file marks its lines with it"));
        QCOMPARE(refusal({}, QStringLiteral("1>2")),
                 QStringLiteral("\">\" cannot be used: the results file keeps answers apart with it"));
        QCOMPARE(refusal({}, QStringLiteral("5\n6")), QStringLiteral("A line break cannot be used: an answer is one line"));
        QCOMPARE(refusal({}, QStringLiteral("\u221a2")),  // not in Windows-1252
                 QStringLiteral("\"\u221a\" cannot be used: the results file cannot hold it"));
        QCOMPARE(Box(1)->text(), QStringLiteral("84"));
        QVERIFY(!sheet->Note[1]->isHidden());
        // The next change that is kept says afresh how the answer reads.
        QApplication::clipboard()->setText(QStringLiteral(" cm"));
        Box(1)->paste();
        QCOMPARE(sheet->NoteText(1), QStringLiteral("Write a whole number or a decimal, like 2.5 or 1,200"));
        QVERIFY(sheet->NoteKindOf(1) == NoteKind::Form);
        window_->NextQuestion();
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84 cm>>>"));
        // The file still reads as four answers.
        QCOMPARE(ReadPaperLine(File(ResultsFile::kFirst), 10, 101, 4).values.size(), std::size_t(4));

        // A choice takes one character, and says so.
        window_->NextQuestion();
        Type(1, QStringLiteral("34"));
        QCOMPARE(Box(1)->text(), QStringLiteral("3"));
        QTRY_COMPARE(sheet->NoteText(1), QStringLiteral("Write 1, 2, 3 or 4"));
        // An answer the program puts in the box is no refusal, however long.
        Box(1)->setText(QStringLiteral("abc"));
        QTest::qWait(20);
        QCOMPARE(sheet->NoteText(1), QStringLiteral("Write 1, 2, 3 or 4"));
        QVERIFY(sheet->NoteKindOf(1) == NoteKind::Form);
    }

    void theAnswerSheetSlidesAway() {
        QVERIFY(Open(101));
        const int narrow = window_->question->width();
        QCOMPARE(window_->PicHideAns->toolTip(), QStringLiteral("Hide answer sheet"));
        window_->ImgHandle_Click();
        QVERIFY(!window_->AnswerSheetShown());
        QCOMPARE(window_->question->width(), narrow + window_->AnsBox->width());
        QCOMPARE(window_->strip->width(), window_->question->width());
        QCOMPARE(window_->PicHideAns->x() + window_->PicHideAns->width(),
                 window_->width() - window_->BRight->width());
        QVERIFY(window_->AnsBox->x() >= window_->width());
        QCOMPARE(window_->PicHideAns->toolTip(), QStringLiteral("Show answer sheet"));
        window_->ImgHandle_Click();
        QCOMPARE(window_->question->width(), narrow);
        QCOMPARE(window_->AnsBox->x() + window_->AnsBox->width(), window_->width() - window_->BRight->width());
        QCOMPARE(window_->PicHideAns->x() + window_->PicHideAns->width(), window_->AnsBox->x());
        // A larger window gives the page the room.
        window_->resize(1000, 700);
        QCOMPARE(window_->question->width(), narrow + 200);
        QCOMPARE(window_->AnsBox->height(), 700 - 28 - PaperToolbar::kHeight - 7);
        QCOMPARE(window_->toolbar->PaperSum->x(), 1000 - 273);
        QCOMPARE(window_->ToolBar06->x() + 44 + 8, window_->toolbar->width());
    }

    void pagesComeAndGoOneAtATime() {
        QVERIFY(Open(105));
        WaitForPage();
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper20101.mht"});
        window_->GoToQuestion(4);
        window_->NextQuestion();
        window_->PreviousQuestion();
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper20107.mht"});
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        QCOMPARE(window_->question->brwWebBrowser()->url().fileName(), QStringLiteral("temppaper20107.mht"));
        QString text;
        window_->question->brwWebBrowser()->page()->toPlainText([&text](const QString& t) { text = t; });
        QTRY_VERIFY(text.contains(QStringLiteral("What is 28")));

        // A page the program cannot write leaves no file and never shows the
        // question left behind.
        window_->GoToQuestion(6);  // the fixture has no page for it
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Question 6"));
        QCOMPARE(PageFiles(data_->path()), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        text.clear();
        window_->question->brwWebBrowser()->page()->toPlainText([&text](const QString& t) { text = t; });
        QTRY_VERIFY(text.contains(QStringLiteral("cannot be shown")));
        QVERIFY(!text.contains(QStringLiteral("What is")));

        window_->GoToQuestion(2);
        PopUpScript pops({QStringLiteral("Yes")});
        window_->ClosePaper();
        QCOMPARE(PageFiles(data_->path()), QStringList());
    }

    void aPageThatCannotBeRemovedGoesLater() {
        QVERIFY(Open(105));
        // Question 1's page cannot be removed when the pupil moves on...
        const std::filesystem::path page = data_->path() / "temppaper20101.mht";
        std::filesystem::remove(page);
        std::filesystem::create_directories(page / "held");
        window_->NextQuestion();
        QVERIFY(std::filesystem::exists(page));
        // ...and goes at the next move once it can.
        std::filesystem::remove_all(page);
        WriteFile(page, "page");
        window_->NextQuestion();
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper20105.mht"});
        std::filesystem::remove(page.parent_path() / "temppaper20105.mht");
        std::filesystem::create_directories(page.parent_path() / "temppaper20105.mht" / "held");
        window_->NextQuestion();
        std::filesystem::remove_all(page.parent_path() / "temppaper20105.mht");
        WriteFile(page.parent_path() / "temppaper20105.mht", "page");
        PopUpScript pops({QStringLiteral("Yes")});
        window_->ClosePaper();  // or at closing
        QCOMPARE(PageFiles(data_->path()), QStringList());
    }

    void copyingAndTheRightButtonAreRefusedInThePage() {
        QVERIFY(Open(101));
        WaitForPage();
        QWidget* page = window_->question->brwWebBrowser()->focusProxy();
        QVERIFY(page);
        DialogCatcher dialogs;
        QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(dialogs.seen, QStringList{"Error|Invalid operation|"});
        QTest::keyClick(page, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(page, Qt::Key_C);
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(40, 40));
        QTest::qWait(200);
        QCOMPARE(dialogs.seen.size(), 1);
        QTest::keyClick(page, Qt::Key_X, Qt::ControlModifier);
        QTRY_COMPARE(dialogs.seen.size(), 2);
        QTest::mousePress(page, Qt::RightButton, {}, QPoint(40, 40));
        QTest::mouseRelease(page, Qt::RightButton, {}, QPoint(40, 40));
        QTRY_COMPARE(dialogs.seen.size(), 3);
        QCOMPARE(dialogs.seen.last(), QStringLiteral("Error|Invalid operation|"));
        for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<QMenu*>(widget) || widget->isHidden());

        // The page's own copy never runs: the clipboard keeps what it held,
        // though the page's copy action, run by hand, does reach it.
        QWebEnginePage* document = window_->question->brwWebBrowser()->page();
        document->triggerAction(QWebEnginePage::SelectAll);
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        QTest::qWait(200);
        QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(dialogs.seen.size(), 4);
        QTest::qWait(300);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        document->triggerAction(QWebEnginePage::Copy);
        QTRY_VERIFY(QApplication::clipboard()->text().contains(QStringLiteral("perimeter")));
        // The handlers are there for the next page too.
        window_->NextQuestion();
        WaitForPage();
        QTest::keyClick(window_->question->brwWebBrowser()->focusProxy(), Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(dialogs.seen.size(), 5);
    }

    void savingAndClosing() {
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        {
            PopUpScript pops({QStringLiteral("OK")});
            window_->SavePaper();
            QCOMPARE(pops.seen, QStringList{"Marlowin|Paper saved|OK"});
        }
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>>>"));

        // "No" keeps the window; "Yes" closes it and loses what was typed since.
        Type(1, QStringLiteral("0"));
        {
            PopUpScript pops({QStringLiteral("No")});
            window_->ClosePaper();
            QCOMPARE(pops.seen, QStringList{"Close Practice|Confirm?|Yes/No"});
        }
        QVERIFY(window_->isVisible());
        {
            // Closed by the platform (a key, the task list): the same question.
            PopUpScript pops({QStringLiteral("No")});
            window_->close();
            QTRY_COMPARE(pops.seen, QStringList{"Close Practice|Confirm?|Yes/No"});
        }
        QVERIFY(window_->isVisible());
        QCOMPARE(host_->refreshes, 0);
        {
            PopUpScript pops({QStringLiteral("Yes")});
            QTest::mouseClick(window_->imgProgClose, Qt::LeftButton);
        }
        QCOMPARE(host_->refreshes, 1);
        QTRY_VERIFY(window_.isNull());
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>>>"));
        QCOMPARE(PageFiles(data_->path()), QStringList());
    }

    void theProgramClosingSavesTheSheetFirst() {
        QVERIFY(Open(101));
        window_->NextQuestion();
        Type(2, QStringLiteral("Derrick"));
        QVERIFY(window_->CloseFromProgram());
        QCOMPARE(host_->refreshes, 1);
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>>>Derrick>"));
        QTRY_VERIFY(window_.isNull());

        // Answers that cannot be saved keep the window open.
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        std::filesystem::create_directory(File(ResultsFile::kFirst).string() + ".tmp");
        const std::string before = Bytes(File(ResultsFile::kFirst));
        {
            DialogCatcher dialogs;
            QVERIFY(!window_->CloseFromProgram());
            QCOMPARE(dialogs.seen.size(), 1);
            QVERIFY(dialogs.seen[0].contains(QStringLiteral("Your answers could not be saved.")));
            QVERIFY(dialogs.seen[0].contains(QStringLiteral("first2FIX.txt")));
        }
        QVERIFY(window_->isVisible());
        QCOMPARE(Bytes(File(ResultsFile::kFirst)), before);
        std::filesystem::remove(File(ResultsFile::kFirst).string() + ".tmp");
        QVERIFY(window_->CloseFromProgram());
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>>Derrick>"));
    }

    void declinedMarkingOnlySavesTheAnswers() {
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        const auto before = Snapshot(data_->path());
        QCOMPARE(Mark(QStringLiteral("No")),
                 QStringList{"Marking|You have not answered all the questions.  Do you still want to mark your "
                             "practice?|Yes/No"});
        QCOMPARE(window_->Status, QStringLiteral("0"));
        auto after = Snapshot(data_->path());
        const std::string first = ResultsFileName(ResultsFile::kFirst, 2, "FIX");
        QVERIFY(after[first] != before.at(first));
        after[first] = before.at(first);
        after.erase("temppaper20011.mht");
        auto expected = before;
        expected.erase("temppaper20011.mht");
        QVERIFY(after == expected);
        QVERIFY(window_->fmeMark->isHidden());
        QVERIFY(!window_->TxtRem->isHidden());
    }

    void markingRecordsTheAttemptAndShowsIt() {
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        window_->NextQuestion();
        Type(1, QStringLiteral("12"));
        Type(2, QStringLiteral("derrick "));
        window_->NextQuestion();
        Type(1, QStringLiteral("2"));  // wrong
        const auto before = Snapshot(data_->path());
        // A click during the bar animation is thrown away.
        QTimer::singleShot(1500, this, [this] { QTest::mouseClick(window_->ToolBar05, Qt::LeftButton); });
        QCOMPARE(Mark(QStringLiteral("Yes")), QStringList{"Marking|Do you want to mark your practice now?|Yes/No"});
        QCOMPARE(window_->QSCount, QStringLiteral("3"));
        QVERIFY(window_->fmeMark->isHidden());
        for (int k = 1; k <= MarkingPanel::kBars; ++k) QVERIFY(!window_->fmeMark->imgBar[k]->isHidden());

        QCOMPARE(window_->Status, QStringLiteral("1"));
        QCOMPARE(window_->Scoring, QStringLiteral("5"));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("83.3"));
        QCOMPARE(Line(ResultsFile::kFirst, 101), std::string("#101#>84>12>derrick >2"));
        QCOMPARE(Line(ResultsFile::kFirstResults, 101), "#101#>" + kTick + ">" + kTick + ">" + kTick + ">" + kCross);
        QCOMPARE(Line(ResultsFile::kFirstResults, 102), std::string("#102#>>>>"));
        const MarksLists marks = ReadMarksLists(File(ResultsFile::kMarks), 10);
        QCOMPARE(marks.FSE[1], std::string("83.3"));
        QCOMPARE(QString::fromStdString(marks.LTM[1]), window_->LTime->text());
        QCOMPARE(QString::fromStdString(marks.CDD[1]), window_->ETime->text());
        QCOMPARE(QString::fromStdString(marks.CDD[1]), window_->lblDate->text());
        QCOMPARE(marks.FST[1], std::string("1"));
        QCOMPARE(marks.SST[1], std::string("0"));
        const MarksLists untouched = ReadMarksLists(File(ResultsFile::kMarks), 10);
        QCOMPARE(untouched.FST[2], std::string("0"));
        QCOMPARE(Bytes(File(ResultsFile::kTrend)), std::string("#TRD#>83.3\r\n"));
        QCOMPARE(Bytes(File(ResultsFile::kSecond)), before.at(ResultsFileName(ResultsFile::kSecond, 2, "FIX")));

        // The marked view.
        auto checkMarkedView = [this] {
            QVERIFY(Box(1)->isReadOnly());
            QVERIFY(!window_->AnsBox->FR[1]->isHidden());
            QVERIFY(window_->TxtRem->isHidden());
            QVERIFY(window_->lblClock->isHidden() && !window_->LTime->isHidden());
            QVERIFY(window_->lblDate->isHidden() && !window_->ETime->isHidden());
            window_->Timer1_Timer();
            QVERIFY(!window_->ToolBar01->isEnabled() && !window_->ToolBar02->isEnabled());
            QCOMPARE(FileName(window_->ToolBar01->pictureFile()), QStringLiteral("save_disabled.bmp"));
            QCOMPARE(FileName(window_->ToolBar02->pictureFile()), QStringLiteral("mark_disabled.bmp"));
        };
        checkMarkedView();
        QCOMPARE(window_->AnsBox->FR[1]->text(), kBallot);
        window_->GoToQuestion(2);
        QCOMPARE(window_->AnsBox->FR[1]->text(), kCheck);
        QCOMPARE(window_->AnsBox->FR[2]->text(), kCheck);
        QVERIFY(window_->AnsBox->M[1]->isHidden());  // never a model answer in a first attempt
        const QString time = window_->LTime->text();
        const QString date = window_->ETime->text();

        // Reopened: the same ticks, score, time and date, and nothing to save or mark.
        delete window_.data();
        QVERIFY(Open(101));
        checkMarkedView();
        QCOMPARE(window_->PScoring->text(), QStringLiteral("83.3"));
        QCOMPARE(window_->LTime->text(), time);
        QCOMPARE(window_->ETime->text(), date);
        QCOMPARE(Box(1)->text(), QStringLiteral("84"));
        QCOMPARE(window_->AnsBox->FR[1]->text(), kCheck);
        window_->GoToQuestion(3);
        QCOMPARE(window_->AnsBox->FR[1]->text(), kBallot);
        const auto marked = Snapshot(data_->path());
        QTest::mouseClick(window_->ToolBar01, Qt::LeftButton);
        QTest::mouseClick(window_->ToolBar02, Qt::LeftButton);
        window_->SavePaper();
        window_->PreviousQuestion();
        auto now = Snapshot(data_->path());
        now.erase("temppaper20013.mht");
        auto then = marked;
        then.erase("temppaper20015.mht");
        QVERIFY(now == then);
        QVERIFY(window_->CloseFromProgram());
    }

    void aFailedRecordingIsToldAndCanBeTriedAgain() {
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        const std::string blocker = File(ResultsFile::kMarks).string() + ".tmp";
        std::filesystem::create_directory(blocker);  // the marks file cannot be replaced
        {
            DialogCatcher dialogs;
            Mark(QStringLiteral("Yes"));
            QCOMPARE(dialogs.seen.size(), 1);
            QVERIFY(dialogs.seen[0].contains(QStringLiteral("could not be marked")));
            QVERIFY2(dialogs.seen[0].contains(QStringLiteral("marks2FIX.txt")), qPrintable(dialogs.seen[0]));
        }
        QCOMPARE(window_->Status, QStringLiteral("0"));
        QVERIFY(!Box(1)->isReadOnly());
        QVERIFY(!window_->TxtRem->isHidden());
        QCOMPARE(ReadMarksLists(File(ResultsFile::kMarks), 10).FST[1], std::string("0"));
        QCOMPARE(Bytes(File(ResultsFile::kTrend)), std::string("#TRD#"));
        std::filesystem::remove(blocker);
        Mark(QStringLiteral("Yes"));
        QCOMPARE(window_->Status, QStringLiteral("1"));
        QCOMPARE(Bytes(File(ResultsFile::kTrend)), std::string("#TRD#>33.3\r\n"));
    }

    void theScoreIsAShareOfTheTotal() {
        // 44 of 66 marks, as in the worked example.
        FixtureCopy copy;
        std::string marks = ReadBytes(copy.Resource(30025));
        marks.replace(marks.find("#20011#>2"), 9, "#20011#>44");
        marks.replace(marks.find("#20013#>1>2"), 11, "#20013#>11>11");
        marks.replace(marks.find("#20015#>1"), 9, "#20015#>0");
        copy.Replace(30025, marks);
        UseCourse(copy.folder());
        QVERIFY(Open(101));
        Type(1, QStringLiteral("84"));
        Mark(QStringLiteral("Yes"));
        QCOMPARE(window_->Scoring, QStringLiteral("44"));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("66.7"));
        QCOMPARE(ReadMarksLists(File(ResultsFile::kMarks), 10).FSE[1], std::string("66.7"));
    }

    void damagedFilesKeepThePaperClosed_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("named");
        auto row = [](const char* name, const char* file, const char* from, const char* to) {
            QTest::newRow(name) << QString::fromLatin1(file) << QString::fromLatin1(from) << QString::fromLatin1(to)
                                << QString::fromLatin1(file);
        };
        row("a short line", "first2FIX.txt", "#101#>>>>", "#101#>>");
        row("a missing key", "fresults2FIX.txt", "#101#>>>>", "");
        row("a line with too many values", "first2FIX.txt", "#101#>>>>", "#101#>>>>>");
        row("a damaged marks file", "marks2FIX.txt", "#FST#", "#XST#");
    }

    void damagedFilesKeepThePaperClosed() {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, named);
        const std::filesystem::path path = data_->path() / file.toStdString();
        std::string bytes = Bytes(path);
        bytes.replace(bytes.find(from.toStdString()), static_cast<std::size_t>(from.size()), to.toStdString());
        WriteFile(path, bytes);
        const auto before = Snapshot(data_->path());
        DialogCatcher dialogs;
        QVERIFY(!Open(101));
        QCOMPARE(dialogs.seen.size(), 1);
        QVERIFY(dialogs.seen[0].contains(QStringLiteral("This paper cannot be opened.")));
        QVERIFY2(dialogs.seen[0].contains(named), qPrintable(dialogs.seen[0]));
        QVERIFY(Snapshot(data_->path()) == before);
        QCOMPARE(host_->refreshes, 0);
        for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<PaperWindow*>(widget));
    }

    void aCourseThatCannotBeReadKeepsThePaperClosed() {
        FixtureCopy copy;
        std::filesystem::remove(copy.Resource(30024));
        UseCourse(copy.folder());
        const auto before = Snapshot(data_->path());
        DialogCatcher dialogs;
        QVERIFY(!Open(101));
        QCOMPARE(dialogs.seen.size(), 1);
        QVERIFY2(dialogs.seen[0].contains(QStringLiteral("30024")), qPrintable(dialogs.seen[0]));
        QVERIFY(Snapshot(data_->path()) == before);
    }

    void printingTheQuestion() {
        QVERIFY(Open(101));
        WaitForPage();
        {
            DialogCatcher dialogs;
            window_->PrintQuestion();
            QCOMPARE(dialogs.seen, QStringList{"QPrintDialog"});
        }
        QTemporaryDir out;
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath(QStringLiteral("question.pdf")));
        QSignalSpy finished(window_->question, &QuestionView::printFinished);
        window_->question->PrintTo(&printer);
        QVERIFY(finished.wait(kPageTimeout));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QVERIFY(QFileInfo(out.filePath(QStringLiteral("question.pdf"))).size() > 1000);
    }

    // ---- The form of an answer, while it is typed and after marking

    void aFormNoteComesAndGoesAsTheBoxIsEdited() {
        const QString mixed =
            QStringLiteral("Write a mixed number: the whole number, a space, then the fraction, like 2 3/4");
        QVERIFY(Open(102));
        AnswerSheet* sheet = window_->AnsBox;
        QCOMPARE(sheet->NoteText(1), QString());  // nothing typed: nothing to say
        QVERIFY(sheet->Note[1]->isHidden());
        Type(1, QStringLiteral("17/3"));
        QCOMPARE(sheet->NoteText(1), mixed);
        QVERIFY(sheet->NoteKindOf(1) == NoteKind::Form);
        QCOMPARE(Box(1)->accessibleDescription(), mixed);
        // The note takes room under the box, clear of it and of the mark's
        // place, wrapped inside the row.
        const QRect note = sheet->Note[1]->geometry();
        QVERIFY(note.top() > Box(1)->geometry().bottom());
        QVERIFY(note.top() > sheet->FR[1]->geometry().bottom());
        QVERIFY(note.bottom() < sheet->Frame[1]->height());
        QVERIFY(note.right() <= sheet->M[1]->geometry().right());
        QVERIFY(sheet->Note[1]->height() > sheet->Note[1]->fontMetrics().height());  // two lines
        // A wrong value in the right form gets no note: a note never says right or wrong.
        Box(1)->clear();
        QVERIFY(sheet->Note[1]->isHidden());
        QCOMPARE(sheet->Frame[1]->height(), 25);
        QCOMPARE(Box(1)->accessibleDescription(), QString());
        Type(1, QStringLiteral("4  1 / 2"));
        QCOMPARE(sheet->NoteText(1), QString());

        // Rows below a note move down; answers saved out of form show their
        // notes when the question is shown again.
        window_->NextQuestion();
        Type(1, QStringLiteral("0.545"));
        Type(2, QStringLiteral("7 to 23"));
        Type(3, QStringLiteral("2,800"));
        window_->PreviousQuestion();
        window_->NextQuestion();
        QCOMPARE(sheet->NoteText(1), QStringLiteral("Write a fraction like 3/4"));
        QCOMPARE(sheet->NoteText(2), QStringLiteral("Write a ratio like 3:2"));
        QCOMPARE(sheet->NoteText(3), QString());
        QCOMPARE(sheet->Frame[2]->y(), sheet->Frame[1]->y() + sheet->Frame[1]->height() + 7);
        QCOMPARE(sheet->Frame[3]->y(), sheet->Frame[2]->y() + sheet->Frame[2]->height() + 7);
        QVERIFY(sheet->Frame[1]->height() > 25 && sheet->Frame[3]->height() == 25);

        // At the narrowest window the rows scroll, and every note still ends
        // inside what the sheet shows.
        window_->resize(window_->minimumSize());
        auto* scroll = sheet->findChild<QScrollArea*>();
        QTRY_VERIFY(scroll->verticalScrollBar()->isVisible());
        for (int k = 1; k <= 2; ++k) {
            const QRect shown = QRect(sheet->Note[k]->mapTo(scroll->viewport(), QPoint(0, 0)), sheet->Note[k]->size());
            QVERIFY2(shown.right() < scroll->viewport()->width(), qPrintable(QString::number(shown.right())));
        }
    }

    void theMarkQuestionNamesAnswersNotInTheirForm() {
        QVERIFY(Open(102));
        Type(1, QStringLiteral("17/3"));
        window_->NextQuestion();
        Type(1, QStringLiteral("0.545"));
        Type(2, QStringLiteral("7:23"));
        Type(3, QStringLiteral("2800"));
        // The question keeps its words; a line under it names the questions.
        QCOMPARE(Mark(QStringLiteral("No")),
                 QStringList{"Marking|Do you want to mark your practice now?|Yes/No|Check the form of your answers "
                             "to questions 1 and 2."});
        Box(1)->clear();
        Type(1, QStringLiteral("109/200"));
        Type(2, QStringLiteral(" "));  // a space: answered here, and no form to check
        window_->PreviousQuestion();
        Box(1)->clear();
        QCOMPARE(Mark(QStringLiteral("No")),
                 QStringList{"Marking|You have not answered all the questions.  Do you still want to mark your "
                             "practice?|Yes/No"});
        Type(1, QStringLiteral("5 2/3 "));
        window_->NextQuestion();
        Box(3)->clear();
        Type(3, QStringLiteral("2800 cm"));
        QCOMPARE(Mark(QStringLiteral("No")),
                 QStringList{"Marking|Do you want to mark your practice now?|Yes/No|Check the form of your answer to "
                             "question 2."});
        QCOMPARE(window_->Status, QStringLiteral("0"));
    }

    void aCrossedAnswerOfTheRightValueSaysWhatIsWrongWithItsForm() {
        QVERIFY(Open(102));
        Type(1, QStringLiteral("17/3"));
        window_->NextQuestion();
        Type(1, QStringLiteral("218/400"));
        Type(2, QStringLiteral("14 : 46"));
        Type(3, QStringLiteral("2900"));
        Mark(QStringLiteral("Yes"));
        // The marks are those of the answer check: every slot crossed.
        QCOMPARE(window_->PScoring->text(), QStringLiteral("0"));
        QCOMPARE(Line(ResultsFile::kFirstResults, 102), "#102#>" + kCross + ">" + kCross + ">" + kCross + ">" + kCross);
        auto check = [this] {
            AnswerSheet* sheet = window_->AnsBox;
            QCOMPARE(window_->QSCount, QStringLiteral("2"));
            QCOMPARE(sheet->FR[1]->text(), kBallot);
            QCOMPARE(sheet->NoteText(1), QStringLiteral("not in its simplest form"));
            QVERIFY(sheet->NoteKindOf(1) == NoteKind::FormOnly);
            // To a screen reader the cross and the note are the box's description.
            QCOMPARE(Box(1)->accessibleDescription(), QStringLiteral("marked wrong; not in its simplest form"));
            QVERIFY(sheet->Note[1]->geometry().top() > sheet->FR[1]->geometry().bottom());
            QCOMPARE(sheet->NoteText(2), QStringLiteral("give the ratio in its simplest form"));
            QCOMPARE(sheet->NoteText(3), QString());  // another value: nothing about its form
            window_->PreviousQuestion();
            QCOMPARE(sheet->NoteText(1), QStringLiteral("give a mixed number, not an improper fraction"));
            window_->NextQuestion();
        };
        check();
        delete window_.data();
        QVERIFY(Open(102));
        window_->GoToQuestion(2);
        check();
    }

    // ---- Worked solutions

    QString PageText() const {
        QString text;
        bool done = false;
        window_->question->brwWebBrowser()->page()->toPlainText([&](const QString& t) {
            text = t;
            done = true;
        });
        QTest::qWaitFor([&] { return done; }, kPageTimeout);
        return text;
    }
    // The Solution button after a tick on question q: "open", or its tool tip.
    QString SolutionButton(int q) const {
        window_->GoToQuestion(q);
        window_->Timer1_Timer();
        const SkinButton* button = window_->ToolBar07;
        if (button->toolTip() != window_->toolbar->lblTB[7]->toolTip()) return QStringLiteral("tool tips differ");
        return button->isEnabled() ? QStringLiteral("open") : button->toolTip();
    }

    void aSolutionOpensOnlyWhereNoMarksAreLeftToWin() {
        const QString afterSecond = QStringLiteral("Solutions open after your second attempt");
        QVERIFY(Open(101));
        QCOMPARE(window_->ToolBar07->text(), QStringLiteral("Solution"));
        QCOMPARE(SolutionButton(1), QStringLiteral("Solutions open once the paper is marked"));
        QCOMPARE(FileName(window_->ToolBar07->pictureFile()), QStringLiteral("solution_disabled.bmp"));
        delete window_.data();

        // 5 of 6: questions 1 and 2 have no cross, question 3 can be retaken.
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        QVERIFY(Open(101));
        QCOMPARE(SolutionButton(1), QStringLiteral("open"));
        QCOMPARE(window_->ToolBar07->toolTip(), QStringLiteral("Show the worked solution"));
        QCOMPARE(SolutionButton(2), QStringLiteral("open"));
        QCOMPARE(SolutionButton(3), afterSecond);
        window_->ToolBar07_Click();
        QVERIFY(!window_->SolutionChosen());
        delete window_.data();

        // One cross in a question of several slots keeps it closed.
        Answer(102, Attempt::kFirst, {{"5 2/3"}, {"109/200", "7:23", "2900"}});
        host_->Choose(102, 101, QStringLiteral("Whole Numbers"));
        window_ = Test1::Open(*host_);
        QCOMPARE(SolutionButton(1), QStringLiteral("open"));
        QCOMPARE(SolutionButton(2), afterSecond);
        delete window_.data();

        // Once the second attempt is marked, every solution of the first is open.
        Answer(101, Attempt::kSecond, {{"84"}, {"12", "Derrick"}, {"4"}});
        QVERIFY(Open(101));
        QCOMPARE(SolutionButton(3), QStringLiteral("open"));
    }

    void aSolutionOpensWhenThePaperCannotBeRetaken() {
        // Question 3 is worth 1 mark of 401: its cross still leaves 99.8.
        FixtureCopy copy;
        std::string marks = ReadBytes(copy.Resource(30025));
        marks.replace(marks.find("#20011#>2"), 9, "#20011#>200");
        marks.replace(marks.find("#20013#>1>2"), 11, "#20013#>100>100");
        copy.Replace(30025, marks);
        UseCourse(copy.folder());
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        QVERIFY(Open(101));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("99.8"));
        QCOMPARE(SolutionButton(3), QStringLiteral("open"));
    }

    void theSolutionShowsAndStaysChosenWhileMoving() {
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        QVERIFY(Open(101));
        WaitForPage();
        window_->Timer1_Timer();
        // The button takes the focus and answers Space and Enter.
        window_->ToolBar07->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window_->ToolBar07, Qt::Key_Space);
        QVERIFY(window_->SolutionChosen() && window_->SolutionShown());
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Solution to question 1"));
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper40011.mht"});
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        QVERIFY(PageText().contains(QStringLiteral("21 cm + 28 cm + 35 cm = 84 cm")));
        window_->Timer1_Timer();
        QCOMPARE(window_->ToolBar07->text(), QStringLiteral("Question"));
        QCOMPARE(window_->toolbar->lblTB[7]->text(), QStringLiteral("Question"));
        QCOMPARE(window_->ToolBar07->toolTip(), QStringLiteral("Show the question"));
        QVERIFY(FileName(window_->ToolBar07->pictureFile()).startsWith(QStringLiteral("question_")));

        // Next: the next question's solution.
        window_->NextQuestion();
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Solution to question 2"));
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper40013.mht"});
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        QVERIFY(PageText().contains(QStringLiteral("Answer: Derrick")));
        // Question 3's is not open: its question shows, and the choice stays.
        window_->NextQuestion();
        window_->Timer1_Timer();
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Question 3"));
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper20015.mht"});
        QVERIFY(window_->SolutionChosen() && !window_->SolutionShown());
        QCOMPARE(window_->ToolBar07->text(), QStringLiteral("Solution"));
        QCOMPARE(FileName(window_->ToolBar07->pictureFile()), QStringLiteral("solution_disabled.bmp"));
        window_->PreviousQuestion();
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Solution to question 2"));
        // Pressed again, the question comes back, and stays while moving.
        window_->ToolBar07->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window_->ToolBar07, Qt::Key_Return);
        QTRY_VERIFY(!window_->SolutionChosen());
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Question 2"));
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper20013.mht"});
        window_->PreviousQuestion();
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper20011.mht"});
        // The button sits in the keyboard order between Close and Back.
        QCOMPARE(window_->ToolBar04->nextInFocusChain(), window_->ToolBar07);
        QCOMPARE(window_->ToolBar07->nextInFocusChain(), window_->ToolBar05);
        PopUpScript pops({QStringLiteral("Yes")});
        window_->ClosePaper();
        QCOMPARE(PageFiles(data_->path()), QStringList());
    }

    void aMissingSolutionIsANoteInTheView() {
        // Paper 105 all right: every solution open. Question 5 has a page but
        // no solution; question 6 has neither.
        OpenPaper paper = OpenPaper::Load(*course_, data_->path(), FixtureRequest(105));
        for (int s = 1; s <= paper.SlotCount(); ++s) {
            paper.SetAnswer(s, paper.catalogue().answerKey[static_cast<std::size_t>(s)]);
        }
        paper.Mark(std::chrono::seconds(1), "06/12/2026");
        QVERIFY(Open(105));
        window_->GoToQuestion(5);
        WaitForPage();
        window_->ToolBar07_Click();
        QVERIFY(window_->SolutionShown());
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Solution to question 5"));
        QCOMPARE(PageFiles(data_->path()), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        QVERIFY(PageText().contains(QStringLiteral("This question has no worked solution yet.")));
        window_->NextQuestion();
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        QVERIFY(PageText().contains(QStringLiteral("no worked solution yet")));
        window_->GoToQuestion(4);
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        QVERIFY(PageText().contains(QStringLiteral("28 \u00f7 7 = 4, then 4 \u00d7 3 = 12")));
    }

    void printingPrintsWhatIsShown() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) QSKIP("pdftoppm is not installed");
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        QVERIFY(Open(101));
        WaitForPage();
        QTemporaryDir out;
        // Each print read back as a small grey picture of its first page.
        auto print = [this, &out](const QString& name) {
            QPrinter printer(QPrinter::ScreenResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath(name + QStringLiteral(".pdf")));
            QSignalSpy finished(window_->question, &QuestionView::printFinished);
            window_->question->PrintTo(&printer);
            if (!finished.wait(kPageTimeout) || !finished.at(0).at(0).toBool()) return QByteArray();
            QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"),
                                                           QStringLiteral("-gray"), QStringLiteral("-singlefile"),
                                                           out.filePath(name + QStringLiteral(".pdf")),
                                                           out.filePath(name)});
            QFile picture(out.filePath(name + QStringLiteral(".pgm")));
            return picture.open(QIODevice::ReadOnly) ? picture.readAll() : QByteArray();
        };
        const QByteArray question = print(QStringLiteral("question"));
        window_->ToolBar07_Click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        const QByteArray solution = print(QStringLiteral("solution"));
        window_->ToolBar07_Click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->question->PageLoaded(), kPageTimeout);
        const QByteArray questionAgain = print(QStringLiteral("again"));
        QVERIFY(!question.isEmpty() && !solution.isEmpty());
        QVERIFY(solution != question);
        QCOMPARE(questionAgain, question);
    }
};

QTEST_MAIN(Test1Test)
#include "test1_test.moc"
