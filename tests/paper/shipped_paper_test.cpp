// The paper windows over the course the program ships, with its real pages:
// the papers whose shape the shipped data fixes. The course comes from the
// resources built into this test when they hold it, else from a folder of
// packed resources named by EP_SHIPPED_COURSE; without either the tests skip.

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <numeric>

#include "answer_check.h"
#include "paper_test_support.h"
#include "qt_resources.h"
#include "results_store.h"
#include "tagged_file.h"
#include "test1.h"
#include "test2.h"
#include "window_test_support.h"

using namespace ep;
using namespace ep::test;

class ShippedPaperTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ResourceSource> course_;
    std::unique_ptr<DataFolder> data_;
    std::unique_ptr<FakeHost> host_;
    QPointer<PaperWindow> window_;

    std::filesystem::path File(ResultsFile file) const {
        return ResultsFilePath(data_->path(), file, host_->lChose.toInt(), host_->code.toStdString());
    }
    Test1* Open(int key) {
        const int first = key - (key - 101) % 5;
        const ModuleDefinition& module = data_->startup.course.Module(host_->lChose.toInt());
        host_->Choose(key, first, QString::fromStdString(module.topicNames[static_cast<std::size_t>((first - 101) / 5 + 1)]));
        auto* window = Test1::Open(*host_);
        window_ = window;
        return window;
    }
    AnswerBox* Box(int row) const { return window_->AnsBox->FA[static_cast<std::size_t>(row)]; }

private slots:
    void initTestCase() {
        if (QtResources().Load(kCourseDefinitionResource, kCustomType)) {
            course_ = std::make_unique<QtResources>();
        } else if (!qEnvironmentVariableIsEmpty("EP_SHIPPED_COURSE")) {
            course_ = std::make_unique<FolderResources>(qEnvironmentVariable("EP_SHIPPED_COURSE").toStdString());
        } else {
            QSKIP("the shipped course is neither built in nor named by EP_SHIPPED_COURSE");
        }
    }

    void init() {
        data_ = std::make_unique<DataFolder>(*course_);
        host_ = std::make_unique<FakeHost>(*course_, data_->folder());
        host_->UseCourse(data_->startup);
    }

    void cleanup() {
        delete window_.data();
        host_.reset();
        data_.reset();
    }

    void anAlgebraPaperHasTwelveQuestions() {
        QVERIFY(Open(146));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Algebra - Paper 1"));
        QCOMPARE(window_->paper().QuestionCount(), 12);
        QCOMPARE(window_->lblTotalQ->text(), QStringLiteral("12"));
        QCOMPARE(window_->RemQns->count(), 12);
        window_->GoToQuestion(12);
        QVERIFY(!window_->ToolBar06->isEnabled());
        QSignalSpy loaded(window_.data(), &PaperWindow::questionLoaded);
        QVERIFY(loaded.wait(30000));
        QCOMPARE(loaded.last().at(0).toBool(), true);
    }

    void twoAnswersOfOneQuestionStayInTheirSlots() {
        QVERIFY(Open(110));
        const OpenPaper& paper = window_->paper();
        QCOMPARE(paper.SlotCount(), 34);
        QCOMPARE(paper.catalogue().totalMarks, 63);
        QCOMPARE(window_->lblTotalQ->text(), QStringLiteral("34"));
        int q = 1;
        while (q <= paper.QuestionCount() && paper.PartsOf(q) != 2) ++q;
        QVERIFY(q <= paper.QuestionCount());
        window_->GoToQuestion(q);
        QVERIFY(!window_->AnsBox->QL[1]->isHidden());
        QTest::keyClicks(Box(1), QStringLiteral("11"));
        QTest::keyClicks(Box(2), QStringLiteral("22"));
        window_->GoToQuestion(q == paper.QuestionCount() ? q - 1 : q + 1);
        window_->GoToQuestion(q);
        QCOMPARE(Box(1)->text(), QStringLiteral("11"));
        QCOMPARE(Box(2)->text(), QStringLiteral("22"));
        const PaperLine line = ReadPaperLine(File(ResultsFile::kFirst), host_->paperCount.toInt(), 110, 34);
        const std::size_t f = static_cast<std::size_t>(paper.FirstSlotOf(q));
        QCOMPARE(line.values[f], std::string("11"));
        QCOMPARE(line.values[f + 1], std::string("22"));
        QCOMPARE(std::count(line.values.begin(), line.values.end(), std::string()), std::ptrdiff_t(32));
    }

    void fortyFourOfSixtySixMarksScore66point7() {
        QVERIFY(Open(101));
        const OpenPaper& paper = window_->paper();
        QCOMPARE(paper.catalogue().totalMarks, 66);
        // Right answers (the keys) for whole questions until 44 marks are
        // reached exactly, the rest left empty.
        const PaperCatalogue& catalogue = paper.catalogue();
        std::vector<int> chosen;
        std::vector<int> marksOf;
        for (int n = 1; n <= paper.QuestionCount(); ++n) {
            int marks = 0;
            for (int s = paper.FirstSlotOf(n); s < paper.FirstSlotOf(n) + paper.PartsOf(n); ++s) {
                marks += std::stoi(catalogue.marks[static_cast<std::size_t>(s)]);
            }
            marksOf.push_back(marks);
        }
        // Subset sum over the questions, so the test does not depend on their order.
        const int want = 44;
        std::vector<std::vector<int>> reach(want + 1);
        std::vector<bool> can(want + 1, false);
        can[0] = true;
        for (int n = 0; n < static_cast<int>(marksOf.size()); ++n) {
            for (int t = want; t >= marksOf[static_cast<std::size_t>(n)]; --t) {
                const int from = t - marksOf[static_cast<std::size_t>(n)];
                if (can[static_cast<std::size_t>(from)] && !can[static_cast<std::size_t>(t)]) {
                    can[static_cast<std::size_t>(t)] = true;
                    reach[static_cast<std::size_t>(t)] = reach[static_cast<std::size_t>(from)];
                    reach[static_cast<std::size_t>(t)].push_back(n + 1);
                }
            }
        }
        QVERIFY(can[want]);
        for (int n : reach[want]) {
            window_->GoToQuestion(n);
            for (int k = 1; k <= paper.PartsOf(n); ++k) {
                Box(k)->setText(QString::fromStdString(
                    catalogue.answerKey[static_cast<std::size_t>(paper.FirstSlotOf(n) + k - 1)]));
            }
        }
        PopUpScript pops({QStringLiteral("Yes")});
        window_->MarkPaper();
        QCOMPARE(window_->Scoring, QStringLiteral("44"));
        QCOMPARE(window_->PScoring->text(), QStringLiteral("66.7"));
        const MarksLists marks = ReadMarksLists(File(ResultsFile::kMarks), host_->paperCount.toInt());
        QCOMPARE(marks.FSE[1], std::string("66.7"));
        QCOMPARE(Bytes(File(ResultsFile::kTrend)), std::string("#TRD#>66.7\r\n"));

        // And the second attempt carries exactly those questions' slots.
        int expected = 0;
        for (int n : reach[want]) expected += paper.PartsOf(n);
        delete window_.data();
        window_ = Test2::Open(*host_);
        QVERIFY(window_);
        int carried = 0;
        for (int s = 1; s <= window_->paper().SlotCount(); ++s) carried += window_->paper().IsCarried(s) ? 1 : 0;
        QCOMPARE(carried, expected);
    }
};

QTEST_MAIN(ShippedPaperTest)
#include "shipped_paper_test.moc"
