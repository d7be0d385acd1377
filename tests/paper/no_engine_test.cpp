// A paper window whose web engine cannot be loaded: the program's engine
// library is not beside this test (and the test is not linked against it),
// as when that file is missing from an installation.

#include <QLabel>
#include <QTest>

#include "paper_test_support.h"
#include "test1.h"
#include "web_engine.h"
#include "test_support.h"
#include "window_test_support.h"

using namespace ep;
using namespace ep::test;

class NoEngineTest : public QObject, private PaperWindowFixture<Test1> {
    Q_OBJECT

private slots:
    void init() { UseCourse(FixtureCourse()); }
    void cleanup() { CloseAll(); }

    void thePaperSaysWhyItsPagesCannotBeShownAndStillWorks() {
        QString why;
        QVERIFY(!LoadWebEngine(&why));
        QVERIFY2(why.contains(QStringLiteral("libexampractice-web.so")), qPrintable(why));

        host_->Choose(101, 101, QStringLiteral("Whole Numbers"));
        window_ = Test1::Open(*host_);
        QVERIFY(window_);
        QVERIFY(QTest::qWaitForWindowExposed(window_.data()));
        QTRY_VERIFY(window_->question->brwWebBrowser<QLabel>());
        const QLabel* note = window_->question->brwWebBrowser<QLabel>();
        QVERIFY(!window_->question->brwWebBrowser<QWidget>()->inherits("QWebEngineView"));
        QCOMPARE(note->text(), QStringLiteral("The question pages cannot be shown: ") + why +
                                   QStringLiteral(". Installing the program again puts it right."));
        QVERIFY(note->isVisible());
        QVERIFY(note->width() > 100 && note->height() > 100);

        // The answers and the questions go on as ever.
        QTest::keyClicks(Box(1), QStringLiteral("7"));
        window_->NextQuestion();
        QCOMPARE(window_->QnTitle->text(), QStringLiteral("Question 2"));
        QVERIFY(window_->question->brwWebBrowser<QLabel>() == note);

        // Printing says it cannot, rather than doing nothing.
        DialogCatcher dialogs;
        window_->PrintQuestion();
        QTRY_COMPARE(dialogs.seen.size(), 1);
        QVERIFY2(dialogs.seen.at(0).contains(QStringLiteral("The question could not be printed.")),
                 qPrintable(dialogs.seen.at(0)));
    }
};

QTEST_MAIN(NoEngineTest)
#include "no_engine_test.moc"
