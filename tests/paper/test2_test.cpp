// The second-attempt paper window against the fixture course: what is carried
// over from the first attempt, how the sheet shows both attempts, and that
// the first attempt's records never change.

#include <QPointer>
#include <QTest>
#include <memory>

#include "answer_check.h"
#include "open_paper.h"
#include "paper_test_support.h"
#include "results_store.h"
#include "tagged_file.h"
#include "test2.h"
#include "test_support.h"
#include "window_test_support.h"

using namespace ep;
using namespace ep::test;

namespace {

const std::string kTick(kTickMark);
const std::string kCross(kCrossMark);
const QString kCheck = QString(QChar(0x2713));
const QString kBallot = QString(QChar(0x2717));
const QColor kLightBlue(192, 192, 255);

}  // namespace

class Test2Test : public QObject, private PaperWindowFixture<Test2> {
    Q_OBJECT

private:
    Test2* Open(int key) {
        host_->Choose(key, 101, QStringLiteral("Whole Numbers"));
        window_ = Test2::Open(*host_);
        return window_;
    }
    QLabel* First(int row) const { return window_->AnsBox->FR[static_cast<std::size_t>(row)]; }
    QLabel* Second(int row) const { return window_->AnsBox->SR[static_cast<std::size_t>(row)]; }
    QLineEdit* Model(int row) const { return window_->AnsBox->M[static_cast<std::size_t>(row)]; }
    static QColor Background(const QLineEdit* box) { return box->palette().color(QPalette::Base); }
private slots:
    void init() { UseCourse(FixtureCourse()); }
    void cleanup() { CloseAll(); }

    void onlyTheSlotWrongTheFirstTimeIsAskedAgain() {
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        const std::string first = Bytes(File(ResultsFile::kFirst));
        const std::string firstResults = Bytes(File(ResultsFile::kFirstResults));
        const std::string trend = Bytes(File(ResultsFile::kTrend));
        const MarksLists before = ReadMarksLists(File(ResultsFile::kMarks), 10);

        QVERIFY(Open(101));
        QCOMPARE(window_->Status, QStringLiteral("0"));
        QCOMPARE(window_->strip->Label1->text(), QStringLiteral("Second Attempt"));
        QVERIFY(!window_->lblClock && !window_->LTime && !window_->lblDate && !window_->ETime);
        QVERIFY(!window_->PScoringL);
        QCOMPARE(window_->lblTotalQ->text(), QStringLiteral("4"));
        QCOMPARE(window_->RemQns->count(), 1);
        QCOMPARE(window_->RemQns->itemText(0), QStringLiteral("3"));

        // Every carried box is locked and light blue with its tick beside it;
        // one box in the whole paper is white and open.
        int editable = 0;
        for (int q = 1; q <= 3; ++q) {
            window_->GoToQuestion(q);
            for (int k = 1; k <= window_->paper().PartsOf(q); ++k) {
                if (Box(k)->isReadOnly()) {
                    QCOMPARE(Background(Box(k)), kLightBlue);
                    QVERIFY(!First(k)->isHidden());
                    QCOMPARE(First(k)->text(), kCheck);
                    QCOMPARE(First(k)->x(), Box(k)->x() + Box(k)->width() + 7);
                    QVERIFY(!Box(k)->text().isEmpty());
                    QCOMPARE(Box(k)->accessibleDescription(), QStringLiteral("marked right in your first attempt"));
                } else {
                    ++editable;
                    QCOMPARE(Background(Box(k)), QColor(Qt::white));
                    QVERIFY(First(k)->isHidden());
                    QVERIFY(Box(k)->text().isEmpty());
                    QCOMPARE(Box(k)->accessibleDescription(), QString());
                }
                QVERIFY(Second(k)->isHidden());
                QVERIFY(Model(k)->isHidden());
            }
        }
        QCOMPARE(editable, 1);
        QCOMPARE(window_->QSCount, QStringLiteral("3"));

        // The all-answered question looks at the open slot only.
        QCOMPARE(Mark(QStringLiteral("No")),
                 QStringList{"Marking|You have not answered all the questions.  Do you still want to mark your "
                             "practice?|Yes/No"});
        QTest::keyClicks(Box(1), QStringLiteral("3"));
        QCOMPARE(Mark(QStringLiteral("Yes")), QStringList{"Marking|Do you want to mark your practice now?|Yes/No"});
        QCOMPARE(window_->PScoring->text(), QStringLiteral("100"));
        QCOMPARE(window_->Status, QStringLiteral("1"));
        QCOMPARE(Line(ResultsFile::kSecond, 101), std::string("#101#>84>12>Derrick>3"));
        QCOMPARE(Line(ResultsFile::kSecondResults, 101),
                 "#101#>" + kTick + ">" + kTick + ">" + kTick + ">" + kTick);
        const MarksLists after = ReadMarksLists(File(ResultsFile::kMarks), 10);
        QCOMPARE(after.SSE[1], std::string("100"));
        QCOMPARE(after.SST[1], std::string("1"));
        QVERIFY(after.FSE == before.FSE && after.LTM == before.LTM && after.CDD == before.CDD &&
                after.FST == before.FST);
        QCOMPARE(Bytes(File(ResultsFile::kFirst)), first);
        QCOMPARE(Bytes(File(ResultsFile::kFirstResults)), firstResults);
        QCOMPARE(Bytes(File(ResultsFile::kTrend)), trend);

        // The marked view: this attempt's results where the first attempt's were.
        QVERIFY(Box(1)->isReadOnly());
        QVERIFY(First(1)->isHidden());
        QVERIFY(!Second(1)->isHidden());
        QCOMPARE(Second(1)->text(), kCheck);
        QCOMPARE(Second(1)->x(), 136);
        QCOMPARE(Background(Box(1)), QColor(Qt::white));
        QVERIFY(Model(1)->isHidden());
        QVERIFY(window_->TxtRem->isHidden());
        window_->Timer1_Timer();
        QVERIFY(!window_->ToolBar01->isEnabled() && !window_->ToolBar02->isEnabled());
    }

    void aCarriedSlotOverridesWhatTheSecondFileHeld() {
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        std::string second = Bytes(File(ResultsFile::kSecond));
        second.replace(second.find("#101#>>>>"), 9, "#101#>99>>>4");
        WriteFile(File(ResultsFile::kSecond), second);

        QVERIFY(Open(101));
        QCOMPARE(Box(1)->text(), QStringLiteral("84"));
        window_->GoToQuestion(3);
        QCOMPARE(Box(1)->text(), QStringLiteral("4"));  // not carried: what "second" held, open to change
        QVERIFY(!Box(1)->isReadOnly());
        QCOMPARE(Line(ResultsFile::kSecond, 101), std::string("#101#>84>12>Derrick>4"));
        window_->GoToQuestion(1);
        {
            PopUpScript pops({QStringLiteral("OK")});
            window_->SavePaper();
            QCOMPARE(pops.seen, QStringList{"Marlowin|Paper saved|OK"});
        }
        QCOMPARE(Line(ResultsFile::kSecond, 101), std::string("#101#>84>12>Derrick>4"));
    }

    void modelAnswersOnlyForSlotsWrongTheSecondTime() {
        Answer(101, Attempt::kFirst, {{"80"}, {"12", "Derrick"}, {"2"}});
        QVERIFY(Open(101));
        QVERIFY(!Box(1)->isReadOnly());
        QTest::keyClicks(Box(1), QStringLiteral("84"));
        window_->GoToQuestion(3);
        QTest::keyClicks(Box(1), QStringLiteral("1"));
        Mark(QStringLiteral("Yes"));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("83.3"));

        auto check = [this] {
            window_->GoToQuestion(1);  // wrong, then right
            QVERIFY(Model(1)->isHidden());
            QCOMPARE(Second(1)->text(), kCheck);
            QCOMPARE(Background(Box(1)), QColor(Qt::white));
            window_->GoToQuestion(2);  // right both times
            QVERIFY(Model(1)->isHidden() && Model(2)->isHidden());
            QCOMPARE(Background(Box(1)), kLightBlue);
            QCOMPARE(Background(Box(2)), kLightBlue);
            QCOMPARE(Box(2)->accessibleName(), QStringLiteral("Question 2 (b), answer"));
            QCOMPARE(Box(2)->accessibleDescription(), QStringLiteral("marked right"));
            window_->GoToQuestion(3);  // wrong both times
            QVERIFY(!Model(1)->isHidden());
            QCOMPARE(Model(1)->text(), QStringLiteral("3"));
            QCOMPARE(Second(1)->text(), kBallot);
            QVERIFY(First(1)->isHidden());
            // A screen reader hears the cross and the right answer with the box.
            QCOMPARE(Box(1)->accessibleDescription(), QStringLiteral("marked wrong; the answer is 3"));
        };
        check();
        // Reopened, the marked view is the same.
        delete window_.data();
        QVERIFY(Open(101));
        QCOMPARE(window_->Status, QStringLiteral("1"));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("83.3"));
        check();
        const auto marked = Snapshot(data_->path());
        QVERIFY(window_->CloseFromProgram());
        auto now = Snapshot(data_->path());
        auto then = marked;
        then.erase("temppaper20015.mht");
        QVERIFY(now == then);
    }

    void aGroupShowsTheValuesStillMissing() {
        // 3, 3, 9 for "three odd numbers between 2 and 8": only the first counts.
        Answer(103, Attempt::kFirst, {{"3", "3", "9"}, {"Twelve"}});
        QCOMPARE(Line(ResultsFile::kFirstResults, 103), "#103#>" + kTick + ">" + kCross + ">" + kCross + ">" + kTick);
        QVERIFY(Open(103));
        QVERIFY(Box(1)->isReadOnly());
        QVERIFY(!Box(2)->isReadOnly() && !Box(3)->isReadOnly());
        QTest::keyClicks(Box(2), QStringLiteral("7"));
        Mark(QStringLiteral("Yes"));
        QCOMPARE(Second(2)->text(), kCheck);
        QCOMPARE(Second(3)->text(), kBallot);
        QVERIFY(Model(2)->isHidden());
        QVERIFY(!Model(3)->isHidden());
        QCOMPARE(Model(3)->text(), QStringLiteral("5"));  // the one odd number nobody gave
        window_->NextQuestion();
        QVERIFY(Model(1)->isHidden());  // "M", right both times
    }

    void aChoiceKeyWithoutItsSeparator_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the shipped form") << QStringLiteral(";12;twelve") << QStringLiteral("12");
        QTest::newRow("one value") << QStringLiteral(";twelve") << QStringLiteral("twelve");
        QTest::newRow("no separator at all") << QStringLiteral("twelve") << QStringLiteral("twelve");
    }

    void aChoiceKeyWithoutItsSeparator() {
        QFETCH(QString, key);
        QFETCH(QString, shown);
        FixtureCopy copy;
        std::string keys = ReadBytes(copy.Resource(30023));
        keys.replace(keys.find(";12;twelve"), 10, key.toStdString());
        copy.Replace(30023, keys);
        UseCourse(copy.folder());
        Answer(103, Attempt::kFirst, {{"3", "5", "7"}, {"eleven"}});
        QVERIFY(Open(103));
        window_->NextQuestion();
        QTest::keyClicks(Box(1), QStringLiteral("ten"));
        Mark(QStringLiteral("Yes"));
        QCOMPARE(Second(1)->text(), kBallot);
        QVERIFY(!Model(1)->isHidden());
        QCOMPARE(Model(1)->text(), shown);
    }

    void theSecondAttemptIsAsSafeAsTheFirst() {
        Answer(101, Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        // The program closing saves the open slot too.
        QVERIFY(Open(101));
        window_->GoToQuestion(3);
        QTest::keyClicks(Box(1), QStringLiteral("4>"));
        QCOMPARE(Box(1)->text(), QStringLiteral("4"));
        QVERIFY(window_->CloseFromProgram());
        QCOMPARE(host_->refreshes, 1);
        QCOMPARE(Line(ResultsFile::kSecond, 101), std::string("#101#>84>12>Derrick>4"));
        QTRY_VERIFY(window_.isNull());

        // A damaged second-attempt file is named, and nothing opens.
        std::string results = Bytes(File(ResultsFile::kSecondResults));
        results.replace(results.find("#101#>>>>"), 9, "#101#>>>");
        WriteFile(File(ResultsFile::kSecondResults), results);
        const auto before = Snapshot(data_->path());
        DialogCatcher dialogs;
        QVERIFY(!Open(101));
        QCOMPARE(dialogs.seen.size(), 1);
        QVERIFY2(dialogs.seen[0].contains(QStringLiteral("sresults2FIX.txt")), qPrintable(dialogs.seen[0]));
        QVERIFY(Snapshot(data_->path()) == before);
        QCOMPARE(host_->refreshes, 1);
    }

    void formNotesWhileAnsweringAndSolutionsOnceMarked() {
        // Wrong the first time: question 1 (an improper fraction) and (c) of question 2.
        Answer(102, Attempt::kFirst, {{"17/3"}, {"109/200", "7:23", "2900"}});
        QVERIFY(Open(102));
        AnswerSheet* sheet = window_->AnsBox;
        window_->Timer1_Timer();
        QVERIFY(!window_->ToolBar07->isEnabled());
        QCOMPARE(window_->ToolBar07->toolTip(), QStringLiteral("Solutions open after your second attempt"));
        // The open box says what form it wants; the carried ones say nothing.
        QTest::keyClicks(Box(1), QStringLiteral("17/3"));
        QVERIFY(sheet->NoteText(1).startsWith(QStringLiteral("Write a mixed number")));
        Box(1)->clear();
        QTest::keyClicks(Box(1), QStringLiteral("5 4/6"));
        QCOMPARE(sheet->NoteText(1), QString());
        window_->NextQuestion();
        QVERIFY(Box(1)->isReadOnly() && Box(2)->isReadOnly());
        QCOMPARE(sheet->NoteText(1) + sheet->NoteText(2), QString());
        QTest::keyClicks(Box(3), QStringLiteral("2800"));
        Mark(QStringLiteral("Yes"));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("57.1"));  // 4 of 7

        // Marked: the crossed slot keeps its cross and model answer, with the
        // note under both.
        window_->PreviousQuestion();
        QCOMPARE(Second(1)->text(), kBallot);
        QVERIFY(!Model(1)->isHidden());
        QCOMPARE(sheet->NoteText(1), QStringLiteral("not in its simplest form"));
        QVERIFY(sheet->Note[1]->geometry().top() > Model(1)->geometry().bottom());
        QVERIFY(sheet->Note[1]->geometry().top() > Second(1)->geometry().bottom());
        QCOMPARE(Line(ResultsFile::kSecondResults, 102), "#102#>" + kCross + ">" + kTick + ">" + kTick + ">" + kTick);

        // Every solution is open now.
        window_->Timer1_Timer();
        QVERIFY(window_->ToolBar07->isEnabled());
        window_->ToolBar07_Click();
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Solution to question 1"));
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper40021.mht"});
        window_->NextQuestion();
        QCOMPARE(PageFiles(data_->path()), QStringList{"temppaper40023.mht"});
    }
};

QTEST_MAIN(Test2Test)
#include "test2_test.moc"
