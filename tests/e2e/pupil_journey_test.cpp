// A pupil's whole journey through the real program with the course it ships,
// in a fresh data folder: first start, Fractions paper 2 answered, saved,
// closed and reopened, marked, retaken and marked again; a two-part question
// on paper 5; the Report, the printed results and Trash. Each step drives the
// windows as a pupil does (clicks, typing, pop-ups answered through their
// buttons) and then checks every results file on disk. The steps run in
// order and build on each other.

#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "about_page.h"
#include "contents.h"
#include "home_page.h"
#include "journey_support.h"
#include "report_page.h"
#include "test2.h"
#include "trash_page.h"

using namespace ep;
using namespace ep::e2e;

namespace {

const QString kCheck = QString(QChar(0x2713));
const QString kBallot = QString(QChar(0x2717));

// What the pupil types into one answer slot, and whether it is right by the
// matching rules (worked out here from the key, not by the program).
struct Typed {
    int slot = 0;
    QString text;
    bool right = false;
};

}  // namespace

class PupilJourneyTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QtResources resources_;
    Desk desk_{dir_.path()};
    std::unique_ptr<StoreModel> store_;

    PaperCatalogue paper2_;
    std::vector<Typed> first2_;   // paper 2's first attempt
    std::string score2_;          // its percentage
    int marks2_ = 0;              // its whole marks
    std::string retake2_;         // the second attempt's percentage
    std::string score5_;          // paper 5's first attempt

    void CheckStore() const {
        const QString mismatch = store_->Mismatch();
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
    // No paper is open: nothing but the results files and the skin.
    void CheckNoStrays() const { QCOMPARE(store_->Strays(), QStringList()); }

    void TypeAll(const PaperCatalogue& catalogue, const std::vector<Typed>& typed) {
        for (const Typed& t : typed) {
            int q = 1;
            while (catalogue.FirstSlotOf(q) + catalogue.parts[static_cast<std::size_t>(q)] <= t.slot) ++q;
            STEP(desk_.GoTo(q));
            QTest::keyClicks(desk_.Box(t.slot - catalogue.FirstSlotOf(q) + 1), t.text);
        }
    }
    // The per-slot values of a paper line: answers or ticks and crosses.
    static std::vector<std::string> Line(int slotCount, const std::vector<Typed>& typed, bool results) {
        std::vector<std::string> values(static_cast<std::size_t>(slotCount), results ? kCross : "");
        for (const Typed& t : typed) {
            values[static_cast<std::size_t>(t.slot - 1)] = results ? (t.right ? kTick : kCross) : t.text.toStdString();
        }
        return values;
    }
    static int MarksOf(const PaperCatalogue& catalogue, int slot) {
        return std::stoi(catalogue.marks[static_cast<std::size_t>(slot)]);
    }
    // The first slot at or after `from` of the given kind and marks (any marks when 0).
    static int FindSlot(const PaperCatalogue& catalogue, const char* kind, int marks = 0, int from = 1) {
        for (int s = from; s <= catalogue.slotCount; ++s) {
            if (catalogue.kinds[static_cast<std::size_t>(s)] == kind && (marks == 0 || MarksOf(catalogue, s) == marks)) {
                return s;
            }
        }
        return 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        if (!resources_.Load(kCourseDefinitionResource, kCustomType)) QFAIL("the shipped course is not built in");
        paper2_ = Catalogue(112);
        QCOMPARE(paper2_.QuestionCount(), 30);
        // One answer per question: slot n is question n below.
        QCOMPARE(paper2_.slotCount, paper2_.QuestionCount());
    }

    void cleanupTestCase() { desk_.Clear(); }

    void theFirstStartMakesTheStore() {
        STEP(desk_.Start());
        store_ = std::make_unique<StoreModel>(dir_.path().toStdString(), desk_.home->fields.lblCOD.toStdString());
        QVERIFY(QFileInfo(dir_.filePath(QStringLiteral("Graphics"))).isDir());
        QVERIFY(QFileInfo(dir_.filePath(QStringLiteral("Graphics/button_off.bmp"))).size() > 0);
        QCOMPARE(store_->NotTemplates(), QString());
        CheckNoStrays();
        CheckStore();
        QVERIFY(desk_.Page()->isVisible());
        QCOMPARE(desk_.home->Tablbl[1]->text(), QStringLiteral("Practice"));
    }

    void choosingFractions() {
        QTest::mouseClick(desk_.Page()->Topic[2], Qt::LeftButton);
        QCOMPARE(desk_.Page()->SubH1->text(), QStringLiteral("Fractions"));
        QCOMPARE(desk_.home->fields.TopicCount, QStringLiteral("11"));
        for (int n = 0; n < 5; ++n) {
            QCOMPARE(desk_.Page()->MSA[static_cast<std::size_t>(n)]->text(), QString());
            QVERIFY(desk_.Page()->Pa[static_cast<std::size_t>(n)]->isVisible());
            QVERIFY(!desk_.Page()->Pb[static_cast<std::size_t>(n)]->isVisible());
        }
    }

    void answeringAndSavingPaper2() {
        STEP(desk_.Load(desk_.Page()->PaLabel[1]));
        QCOMPARE(desk_.home->fields.PaperNum, QStringLiteral("112"));
        QCOMPARE(desk_.paper->windowTitle(), QStringLiteral("Fractions - Paper 2"));
        QCOMPARE(desk_.paper->lblTotalQ->text(), QStringLiteral("30"));
        QCOMPARE(desk_.paper->paper().SlotCount(), paper2_.slotCount);

        // Right and wrong answers of every kind the paper asks, typed as a
        // pupil might: spaces around a slash, a trailing space, "14.0".
        const int number = FindSlot(paper2_, "N", 1);
        const int choice = FindSlot(paper2_, "Q");
        const int fraction = FindSlot(paper2_, "F");
        const int mixed = FindSlot(paper2_, "X");
        const int mixedWrong = FindSlot(paper2_, "X", 0, mixed + 1);
        const int twoMarks = FindSlot(paper2_, "N", 2);
        const int threeMarks = FindSlot(paper2_, "N", 3);
        for (int s : {number, choice, fraction, mixed, mixedWrong, twoMarks, threeMarks}) QVERIFY(s > 0);
        const QString mixedKey = Key(paper2_, mixed);  // "3 2/9": whole, space, fraction
        const int space = static_cast<int>(mixedKey.indexOf(QLatin1Char(' ')));
        QVERIFY(space > 0 && mixedKey.contains(QLatin1Char('/')));
        QString spacedMixed = mixedKey.left(space) + QStringLiteral("  ") + mixedKey.mid(space + 1);
        spacedMixed.replace(QStringLiteral("/"), QStringLiteral(" / "));
        const QString choiceKey = Key(paper2_, choice);
        first2_ = {
            {number, Key(paper2_, number) + QStringLiteral(".0"), true},
            {choice, choiceKey == QLatin1String("1") ? QStringLiteral("2") : QStringLiteral("1"), false},
            {fraction, Key(paper2_, fraction).replace(QStringLiteral("/"), QStringLiteral(" / ")), true},
            {mixed, spacedMixed, true},
            {mixedWrong, Key(paper2_, mixedWrong).remove(QLatin1Char(' ')), false},  // "11/8" for "1 1/8"
            {twoMarks, Key(paper2_, twoMarks), true},
            {threeMarks, Key(paper2_, threeMarks) + QStringLiteral(" "), true},
        };
        std::sort(first2_.begin(), first2_.end(), [](const Typed& a, const Typed& b) { return a.slot < b.slot; });
        STEP(TypeAll(paper2_, first2_));
        QTRY_COMPARE(desk_.paper->lblAnsweredQ->text(), QString::number(first2_.size() - 1));  // the last box is not stored yet

        Pupil pupil({QStringLiteral("OK")});
        QTest::mouseClick(desk_.paper->toolbar->lblTB[1], Qt::LeftButton);  // the "Save" caption
        QCOMPARE(pupil.seen, QStringList{"Marlowin|Paper saved|OK"});
        store_->SetLine(ResultsFile::kFirst, 112, Line(paper2_.slotCount, first2_, false));
        CheckStore();
        QTRY_COMPARE(desk_.paper->lblAnsweredQ->text(), QString::number(first2_.size()));
    }

    void closingAndReopeningKeepsTheSavedAnswers() {
        // Typed after the save and closed without another: lost, as the pupil was asked to confirm.
        int unsaved = 1;
        while (std::any_of(first2_.begin(), first2_.end(), [&](const Typed& t) { return t.slot == unsaved; })) ++unsaved;
        STEP(desk_.GoTo(unsaved));
        QTest::keyClicks(desk_.Box(1), QStringLiteral("7"));
        STEP(desk_.ClosePaper(desk_.paper->ToolBar04));
        CheckStore();
        CheckNoStrays();  // the question page went with the window

        STEP(desk_.Load(desk_.Page()->Pa[1]));
        QCOMPARE(desk_.paper->Status, QStringLiteral("0"));
        // "Qns left" names just the questions not answered.
        QCOMPARE(desk_.paper->RemQns->count(), 30 - static_cast<int>(first2_.size()));
        for (int k = 0; k < desk_.paper->RemQns->count(); ++k) {
            for (const Typed& t : first2_) QVERIFY(desk_.paper->RemQns->itemText(k) != QString::number(t.slot));
        }
        for (const Typed& t : first2_) {
            STEP(desk_.GoTo(t.slot));
            QCOMPARE(desk_.Box(1)->text(), t.text);
            QVERIFY(!desk_.Box(1)->isReadOnly());
        }
        STEP(desk_.GoTo(unsaved));
        QCOMPARE(desk_.Box(1)->text(), QString());
        CheckStore();
    }

    void markingPaper2() {
        STEP(desk_.Mark(desk_.paper->ToolBar02, kNotAll));
        int total = 0;
        for (int s = 1; s <= paper2_.slotCount; ++s) total += MarksOf(paper2_, s);
        QCOMPARE(total, paper2_.totalMarks);
        marks2_ = 0;
        for (const Typed& t : first2_) marks2_ += t.right ? MarksOf(paper2_, t.slot) : 0;
        score2_ = PercentText(marks2_, total);
        QCOMPARE(desk_.paper->Scoring, QString::number(marks2_));
        QCOMPARE(desk_.paper->PScoring->text(), QString::fromStdString(score2_));

        const QString taken = desk_.paper->LTime->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^(0|[1-9][0-9]*):([0-9]|[1-5][0-9]):([0-9]|[1-5][0-9])$"))
                     .match(taken)
                     .hasMatch(),
                 qPrintable(taken));
        QVERIFY(!desk_.paper->ETime->text().isEmpty());
        QVERIFY(desk_.paper->LTime->isVisible() && !desk_.paper->lblClock->isVisible());
        store_->SetLine(ResultsFile::kFirstResults, 112, Line(paper2_.slotCount, first2_, true));
        store_->SetMark("FSE", 12, score2_);
        store_->SetMark("LTM", 12, taken.toStdString());
        store_->SetMark("CDD", 12, desk_.paper->ETime->text().toStdString());
        store_->SetMark("FST", 12, "1");
        store_->AddTrend(score2_);
        CheckStore();

        // The marked view: ticks and crosses beside the locked answers.
        for (const Typed& t : first2_) {
            STEP(desk_.GoTo(t.slot));
            QCOMPARE(desk_.paper->AnsBox->FR[1]->text(), t.right ? kCheck : kBallot);
            QVERIFY(desk_.paper->AnsBox->FR[1]->isVisible());
            QVERIFY(desk_.Box(1)->isReadOnly());
        }
        QVERIFY(!desk_.paper->ToolBar01->isEnabled() && !desk_.paper->ToolBar02->isEnabled());
        STEP(desk_.ClosePaper(desk_.paper->toolbar->lblTB[4]));
        CheckStore();
        CheckNoStrays();
    }

    void theHomePageShowsTheScore() {
        QCOMPARE(desk_.home->fields.TopicCount, QStringLiteral("11"));  // Fractions is still chosen
        QCOMPARE(desk_.Page()->MSA[1]->text(), QString::fromStdString(score2_));
        QCOMPARE(desk_.Page()->MSB[1]->text(), QString());
        QVERIFY(desk_.Page()->Pb[1]->isVisible());  // a retake is offered below 100
        for (int n : {0, 2, 3, 4}) QCOMPARE(desk_.Page()->MSA[static_cast<std::size_t>(n)]->text(), QString());
    }

    void retakingPaper2() {
        STEP(desk_.Load(desk_.Page()->PbLabel[1]));  // "Try paper 2 again"
        QVERIFY(qobject_cast<Test2*>(desk_.paper.data()));
        QCOMPARE(desk_.paper->Status, QStringLiteral("0"));
        // Right the first time: carried, locked and light blue. Wrong: to answer again.
        for (const Typed& t : first2_) {
            STEP(desk_.GoTo(t.slot));
            QCOMPARE(desk_.Box(1)->text(), t.right ? t.text : QString());  // the second attempt's own answers start empty
            QCOMPARE(desk_.Box(1)->isReadOnly(), t.right);
            QCOMPARE(desk_.Box(1)->palette().color(QPalette::Base), t.right ? Test2::kCarriedColour : QColor(Qt::white));
        }
        // This time the wrong ones are answered right.
        std::vector<Typed> second = first2_;
        for (Typed& t : second) {
            if (t.right) continue;
            STEP(desk_.GoTo(t.slot));
            desk_.Box(1)->clear();
            t.text = Key(paper2_, t.slot);
            t.right = true;
            QTest::keyClicks(desk_.Box(1), t.text);
        }
        STEP(desk_.Mark(desk_.paper->toolbar->lblTB[2], kNotAll));
        int marks = 0;
        for (const Typed& t : second) marks += MarksOf(paper2_, t.slot);
        retake2_ = PercentText(marks, paper2_.totalMarks);
        QCOMPARE(desk_.paper->PScoring->text(), QString::fromStdString(retake2_));
        store_->SetLine(ResultsFile::kSecond, 112, Line(paper2_.slotCount, second, false));
        store_->SetLine(ResultsFile::kSecondResults, 112, Line(paper2_.slotCount, second, true));
        store_->SetMark("SSE", 12, retake2_);
        store_->SetMark("SST", 12, "1");
        CheckStore();  // the first attempt's records and the trend as they were

        // A model answer only where this attempt is still wrong.
        const Typed& carried = *std::find_if(second.begin(), second.end(), [](const Typed& t) { return t.right; });
        int unanswered = 1;
        while (std::any_of(second.begin(), second.end(), [&](const Typed& t) { return t.slot == unanswered; })) ++unanswered;
        STEP(desk_.GoTo(carried.slot));
        QCOMPARE(desk_.paper->AnsBox->SR[1]->text(), kCheck);
        QVERIFY(!desk_.paper->AnsBox->M[1]->isVisible());
        STEP(desk_.GoTo(unanswered));
        QCOMPARE(desk_.paper->AnsBox->SR[1]->text(), kBallot);
        QVERIFY(desk_.paper->AnsBox->M[1]->isVisible());
        QCOMPARE(desk_.paper->AnsBox->M[1]->text(), Key(paper2_, unanswered));
        STEP(desk_.ClosePaper(desk_.paper->ToolBar04));
        QCOMPARE(desk_.Page()->MSB[1]->text(), QString::fromStdString(retake2_));
        QCOMPARE(desk_.Page()->MSA[1]->text(), QString::fromStdString(score2_));
        CheckNoStrays();
    }

    void aTwoPartQuestionOnPaper5() {
        // Paper 2 asks one answer per question; paper 5 of the topic has questions in parts.
        const PaperCatalogue paper5 = Catalogue(115);
        int q = 1;
        while (q <= paper5.QuestionCount() && paper5.parts[static_cast<std::size_t>(q)] != 2) ++q;
        QVERIFY(q <= paper5.QuestionCount());
        const int a = paper5.FirstSlotOf(q);
        const QString keyB = Key(paper5, a + 1);
        const QString wrongB = paper5.kinds[static_cast<std::size_t>(a + 1)] == "Q"
                                   ? (keyB == QLatin1String("1") ? QStringLiteral("2") : QStringLiteral("1"))
                                   : keyB + QStringLiteral("0");
        const std::vector<Typed> typed = {{a, Key(paper5, a), true}, {a + 1, wrongB, false}};

        STEP(desk_.Load(desk_.Page()->PaLabel[4]));
        QCOMPARE(desk_.paper->windowTitle(), QStringLiteral("Fractions - Paper 5"));
        STEP(desk_.GoTo(q));
        QVERIFY(desk_.paper->AnsBox->QL[2]->isVisible());
        QCOMPARE(desk_.paper->AnsBox->QL[1]->text(), QStringLiteral("(a)"));
        QVERIFY(!desk_.paper->AnsBox->Frame[3]->isVisible());
        QTest::keyClicks(desk_.Box(1), typed[0].text);
        QTest::keyClicks(desk_.Box(2), typed[1].text);
        STEP(desk_.Mark(desk_.paper->ToolBar02, kNotAll));
        score5_ = PercentText(MarksOf(paper5, a), paper5.totalMarks);
        QCOMPARE(desk_.paper->PScoring->text(), QString::fromStdString(score5_));
        QCOMPARE(desk_.paper->AnsBox->FR[1]->text(), kCheck);
        QCOMPARE(desk_.paper->AnsBox->FR[2]->text(), kBallot);
        store_->SetLine(ResultsFile::kFirst, 115, Line(paper5.slotCount, typed, false));
        store_->SetLine(ResultsFile::kFirstResults, 115, Line(paper5.slotCount, typed, true));
        store_->SetMark("FSE", 15, score5_);
        store_->SetMark("LTM", 15, desk_.paper->LTime->text().toStdString());
        store_->SetMark("CDD", 15, desk_.paper->ETime->text().toStdString());
        store_->SetMark("FST", 15, "1");
        store_->AddTrend(score5_);  // after paper 2's: the order of marking
        CheckStore();
        STEP(desk_.ClosePaper(desk_.paper->ToolBar04));
        QCOMPARE(desk_.Page()->MSA[4]->text(), QString::fromStdString(score5_));
    }

    void theReportAgreesWithTheMarksFile() {
        QTest::mouseClick(desk_.home->lblTB[1], Qt::LeftButton);  // "Report"
        ReportPage* report = desk_.home->Body_Report;
        QVERIFY(report->isVisible() && report->RC1Summary->isVisible());
        QVERIFY(!report->damaged->isVisible());
        // The figures worked out from the file on disk.
        const MarksLists marks = ReadMarksLists(store_->Path(ResultsFile::kMarks), 50);
        std::vector<long long> first;
        std::vector<long long> second;
        for (int p = 1; p <= 50; ++p) {
            if (!marks.FSE[static_cast<std::size_t>(p)].empty()) first.push_back(std::llround(std::stod(marks.FSE[static_cast<std::size_t>(p)]) * 10));
            if (!marks.SSE[static_cast<std::size_t>(p)].empty()) second.push_back(std::llround(std::stod(marks.SSE[static_cast<std::size_t>(p)]) * 10));
        }
        QCOMPARE(first.size(), std::size_t{2});
        QCOMPARE(second.size(), std::size_t{1});
        QCOMPARE(report->OScore1->text(), QString::fromStdString(MeanText(first) + "%"));
        QCOMPARE(report->OScore2->text(), QString::fromStdString(MeanText(second) + "%"));
        QCOMPARE(report->PCNum->text(), QStringLiteral("2 / 50"));
        QCOMPARE(report->WT->text(), QStringLiteral("-"));  // one topic attempted: no weakest or strongest
        QCOMPARE(report->ST->text(), QStringLiteral("-"));

        QTest::mouseClick(report->RCBar[1], Qt::LeftButton);
        QVERIFY(report->RC2Topical->isVisible());
        QCOMPARE(report->TopLab[2]->text(), QStringLiteral("Fractions"));
        QCOMPARE(report->TMarkA[2]->text(), QString::fromStdString(MeanText(first) + "%"));  // both are Fractions papers
        QCOMPARE(report->TMarkB[2]->text(), QString::fromStdString(MeanText(second) + "%"));
        for (int t : {0, 1, 3, 9}) QCOMPARE(report->TMarkA[static_cast<std::size_t>(t)]->text(), QString());

        QTest::mouseClick(report->RCBar[2], Qt::LeftButton);
        QVERIFY(report->RC3Trend->isVisible());
        const TextList trend = ReadTrendScores(store_->Path(ResultsFile::kTrend));
        std::vector<double> plotted;
        for (const std::string& score : trend) plotted.push_back(std::stod(score));
        QCOMPARE(report->RC3TrendPlot->scores(), plotted);
        QCOMPARE(report->RC3TrendPlot->Points().size(), std::size_t{2});
        CheckStore();
    }

    void printingTheResults() {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("results.pdf"));
        desk_.home->printer().printer().setOutputFormat(QPrinter::PdfFormat);
        desk_.home->printer().printer().setOutputFileName(pdf);
        QTest::mouseClick(desk_.home->ToolBar[2], Qt::LeftButton);  // "Print"
        QVERIFY(desk_.home->Body_Report->isVisible());  // printing leaves the page on show
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        QCOMPARE(text.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\s*Paper [1-5]\\b"))).size(), 50);
        QCOMPARE(lines.filter(QStringLiteral("First take")).size(), 10);
        QVERIFY(lines.filter(QStringLiteral("Upper Primary Mathematics")).size() == 1);

        int at = -1;
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].trimmed() == QLatin1String("Fractions")) at = i;
        }
        QVERIFY(at >= 0);
        const QStringList block = lines.mid(at).filter(QRegularExpression(QStringLiteral("^\\s*Paper [1-5]\\b"))).mid(0, 5);
        QCOMPARE(block.size(), 5);
        const MarksLists marks = ReadMarksLists(store_->Path(ResultsFile::kMarks), 50);
        auto inOrder = [](const QString& line, const QStringList& items) {
            int from = 0;
            for (const QString& item : items) {
                const int found = static_cast<int>(line.indexOf(item, from));
                if (found < 0) return false;
                from = found + static_cast<int>(item.size());
            }
            return true;
        };
        auto text12 = [&](const TextList& list, int slot) { return QString::fromStdString(list[static_cast<std::size_t>(slot)]); };
        QVERIFY2(inOrder(block[1], {QStringLiteral("Paper 2"), text12(marks.FSE, 12) + QLatin1Char('%'), text12(marks.LTM, 12),
                                    text12(marks.CDD, 12), text12(marks.SSE, 12) + QLatin1Char('%')}),
                 qPrintable(block[1]));
        QVERIFY2(inOrder(block[4], {QStringLiteral("Paper 5"), text12(marks.FSE, 15) + QLatin1Char('%'), text12(marks.LTM, 15),
                                    text12(marks.CDD, 15), QStringLiteral("%")}),
                 qPrintable(block[4]));
        QVERIFY2(QRegularExpression(QStringLiteral("%\\s*$")).match(block[4]).hasMatch(), qPrintable(block[4]));
        // An unattempted paper prints its "%" signs alone.
        QVERIFY2(QRegularExpression(QStringLiteral("^\\s*Paper 1\\s+%\\s+%\\s*$")).match(block[0]).hasMatch(),
                 qPrintable(block[0]));
        CheckStore();
    }

    void trashErasesEverything() {
        QTest::mouseClick(desk_.home->Tablbl[3], Qt::LeftButton);  // the "Help" tab's caption
        QVERIFY(desk_.home->Body_About->isVisible());
        QTest::mouseClick(desk_.home->lblTB[1], Qt::LeftButton);  // "Trash"
        TrashPage* trash = desk_.home->Body_Trash;
        QVERIFY(trash->isVisible() && trash->ButTrash->isVisible());
        QTest::mouseClick(trash->ButTrash, Qt::LeftButton);
        QVERIFY(trash->Trashlbl2->isVisible());
        CheckStore();  // nothing erased before Yes
        const StoreModel beforeErase = *store_;
        QTest::mouseClick(trash->ButTrash_Yeslbl, Qt::LeftButton);
        QVERIFY(trash->Trashlbl3->isVisible());
        QVERIFY(trash->ButUndo->isVisible());
        QCOMPARE(store_->NotTemplates(), QString());
        store_->Reset();
        CheckStore();
        CheckNoStrays();

        QTest::mouseClick(desk_.home->Tab[1], Qt::LeftButton);  // back to Practice: its Home page
        QVERIFY(desk_.Page()->isVisible());
        QTest::mouseClick(desk_.Page()->Topic[2], Qt::LeftButton);
        for (int n = 0; n < 5; ++n) {
            QCOMPARE(desk_.Page()->MSA[static_cast<std::size_t>(n)]->text(), QString());
            QCOMPARE(desk_.Page()->MSB[static_cast<std::size_t>(n)]->text(), QString());
            QVERIFY(!desk_.Page()->Pb[static_cast<std::size_t>(n)]->isVisible());
        }
        QTest::mouseClick(desk_.home->ToolBar[1], Qt::LeftButton);
        QCOMPARE(desk_.home->Body_Report->OScore1->text(), QStringLiteral("-"));
        QCOMPARE(desk_.home->Body_Report->PCNum->text(), QStringLiteral("0 / 50"));
        QVERIFY(desk_.home->Body_Report->RC3TrendPlot->scores().empty());
        CheckStore();

        // Undo, later in the same run, brings every file back as it was.
        QTest::mouseClick(desk_.home->Tab[3], Qt::LeftButton);
        QTest::mouseClick(desk_.home->lblTB[1], Qt::LeftButton);
        QCOMPARE(trash->state(), TrashPage::State::Offer);
        QVERIFY(trash->ButTrash->isVisible() && trash->ButUndo->isVisible());
        QStringList seen;
        STEP(desk_.Press(trash->ButUndolbl, {QStringLiteral("OK")}, seen));
        QCOMPARE(seen, QStringList{"Trash|Your past results have been brought back.|OK"});
        QVERIFY(!trash->ButUndo->isVisible());
        *store_ = beforeErase;
        CheckStore();
        CheckNoStrays();
        QTest::mouseClick(desk_.home->Tab[1], Qt::LeftButton);
        QTest::mouseClick(desk_.Page()->Topic[2], Qt::LeftButton);
        const MarksLists marks = ReadMarksLists(store_->Path(ResultsFile::kMarks), 50);
        QVERIFY(!marks.FSE[12].empty());
        QCOMPARE(desk_.Page()->MSA[1]->text(), QString::fromStdString(marks.FSE[12]));
    }
};

QTEST_MAIN(PupilJourneyTest)
#include "pupil_journey_test.moc"
