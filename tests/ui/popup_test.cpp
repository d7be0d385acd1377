#include "popup.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "skin_test_support.h"

using ep::PopUpButtons;
using ep::test::CentreOf;
using ep::test::FileName;

namespace {

const QString kThirtyTwo = QStringLiteral("Do you want to mark it now, yes?");    // 32 characters
const QString kThirtyThree = QStringLiteral("Do you want to mark it now, yes??");  // 33 characters
const QString kMarking = QStringLiteral("Do you want to mark your practice now?");

}  // namespace

class PopUpTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString data_;
    std::unique_ptr<QWidget> owner_;
    ep::PopUpResponseField home_;

    // Runs `action` once the pop-up is up, then shows it modally.
    void ShowAndThen(ep::frmPopUp& pop, std::function<void()> action) {
        QTimer::singleShot(0, &pop, [&pop, action] {
            if (QTest::qWaitForWindowExposed(&pop)) action();
        });
        // A failed step must not leave the test waiting in the modal loop.
        QTimer::singleShot(20000, &pop, [&pop] { pop.close(); });
        pop.ShowModal();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        data_ = ep::test::SkinnedDataFolder(*dir_);
        owner_ = std::make_unique<QWidget>();
        owner_->setGeometry(100, 80, 800, 600);
        owner_->show();
        QVERIFY(QTest::qWaitForWindowExposed(owner_.get()));
        home_.PopUpResponse = QStringLiteral("Unset");
        QCursor::setPos(0, 0);
    }

    void messageOfUpTo32CharactersIsNudgedDown() {
        QCOMPARE(kThirtyTwo.size(), 32);
        QCOMPARE(kThirtyThree.size(), 33);
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), kThirtyTwo, PopUpButtons::YesNo, *owner_);
        QCOMPARE(pop.lblMessage->y(), pop.ImgInfo->y() + 7);
        pop.CallPop(QStringLiteral("Marking"), kThirtyThree, PopUpButtons::YesNo, *owner_);
        QCOMPARE(pop.lblMessage->y(), pop.ImgInfo->y());
        // Characters are counted, not bytes.
        pop.CallPop(QStringLiteral("Marking"), QStringLiteral("Mark now? %1").arg(QString(22, QChar(0x00e9))),
                    PopUpButtons::YesNo, *owner_);
        QCOMPARE(pop.lblMessage->y(), pop.ImgInfo->y() + 7);
    }

    void aNoteUnderTheMessageGrowsThePopUp() {
        const QString notAll =
            QStringLiteral("You have not answered all the questions.  Do you still want to mark your practice?");
        const QString note = QStringLiteral("Check the form of your answers to questions 2, 11, 17 and 28.");
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), notAll, PopUpButtons::YesNo, *owner_, note);
        QCOMPARE(pop.lblMessage->text(), notAll);  // the message keeps its words
        QCOMPARE(pop.lblNote->text(), note);
        QVERIFY(!pop.lblNote->isHidden());
        // Both whole, one under the other, above the buttons, which keep
        // their distance from the bottom edge.
        QCOMPARE(pop.lblMessage->height(), pop.lblMessage->heightForWidth(pop.lblMessage->width()));
        QVERIFY(pop.lblNote->y() > pop.lblMessage->geometry().bottom());
        QCOMPARE(pop.lblNote->height(), pop.lblNote->heightForWidth(pop.lblNote->width()));
        QVERIFY(pop.lblNote->geometry().bottom() < pop.But1->y());
        QVERIFY(pop.height() > 150);
        QCOMPARE(pop.But1->y(), pop.height() - 25 - 16);
        QCOMPARE(pop.But2->y(), pop.But1->y());
        QCOMPARE(pop.BBotLeft->y(), pop.height() - 7);
        // Without a note, nothing of it shows and the pop-up keeps its size.
        ep::frmPopUp plain(home_, data_);
        plain.CallPop(QStringLiteral("Marking"), notAll, PopUpButtons::YesNo, *owner_);
        QVERIFY(plain.lblNote->isHidden());
        QCOMPARE(plain.size(), QSize(265, 150));
    }

    void loadLayout() {
        ep::frmPopUp pop(home_, data_);
        QCOMPARE(pop.size(), QSize(265, 150));
        QCOMPARE(pop.ImgInfo->geometry(), QRect(16, 44, 32, 27));
        QCOMPARE(pop.lblMessage->x(), 16 + 32 + 10);
        QCOMPARE(pop.lblTitle->x(), 16);
        QCOMPARE(pop.lblTitle->y(), (28 - pop.lblTitle->height()) / 2);
        QCOMPARE(pop.But1->geometry(), QRect(pop.But1->x(), 150 - 25 - 16, 80, 25));
        QCOMPARE(pop.BBotLeft->geometry(), QRect(0, 143, 6, 7));
        QCOMPARE(FileName(pop.BBotLeft->pictureFile()), QStringLiteral("Border_bot_left.gif"));
        QCOMPARE(FileName(pop.BTopLeft->pictureFile()), QStringLiteral("border_top_left.bmp"));
        QVERIFY(pop.ImgInfo->hasPicture());
        QCOMPARE(pop.mask(), QRegion(ep::RoundedOutline(ep::WindowKind::PopUp, 265, 150), Qt::WindingFill));
    }

    void oneButtonIsCentredAndTwoStartAtTheMessage() {
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marlowin"), QStringLiteral("Paper saved"), PopUpButtons::Ok, *owner_);
        QVERIFY(!pop.But1->isHidden());
        QVERIFY(pop.But2->isHidden());
        QCOMPARE(pop.But1->x(), (265 - 80) / 2);
        QCOMPARE(pop.But1_lbl->text(), QStringLiteral("OK"));

        pop.CallPop(QStringLiteral("Close Practice"), QStringLiteral("Confirm?"), PopUpButtons::YesNo, *owner_);
        QVERIFY(!pop.But1->isHidden());
        QVERIFY(!pop.But2->isHidden());
        QCOMPARE(pop.But1->x(), pop.lblMessage->x());
        QCOMPARE(pop.But2->x(), pop.But1->x() + 80 + 10);
        QCOMPARE(pop.But2->y(), pop.But1->y());
        QCOMPARE(pop.But1_lbl->text(), QStringLiteral("Yes"));
        QCOMPARE(pop.But2_lbl->text(), QStringLiteral("No"));
        QCOMPARE(pop.lblTitle->text(), QStringLiteral("Close Practice"));
        QCOMPARE(pop.lblMessage->text(), QStringLiteral("Confirm?"));
    }

    void aSecondPopUpAfterAFirstIsLaidOutAfresh() {
        {
            ep::frmPopUp first(home_, data_);
            first.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_);
            ShowAndThen(first, [&] { first.But1->click(); });
            QCOMPARE(home_.PopUpResponse, QStringLiteral("True"));
        }
        ep::frmPopUp second(home_, data_);
        second.CallPop(QStringLiteral("Marlowin"), QStringLiteral("Paper saved"), PopUpButtons::Ok, *owner_);
        QVERIFY(second.But2->isHidden());
        QCOMPARE(second.But1->x(), (265 - 80) / 2);
        QCOMPARE(second.But1_lbl->text(), QStringLiteral("OK"));
        QCOMPARE(second.lblMessage->y(), second.ImgInfo->y() + 7);
        ShowAndThen(second, [&] { second.But1->click(); });
        QCOMPARE(home_.PopUpResponse, QStringLiteral("True"));
    }

    void centredOverTheOwner() {
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_);
        QCOMPARE(pop.pos(), QPoint((800 - 265) / 2 + 100, (600 - 150) / 2 + 80));
    }

    void buttonsAndTheirCaptionsAnswer_data() {
        QTest::addColumn<int>("target");  // 1 button 1, 2 its caption, 3 button 2, 4 its caption
        QTest::addColumn<QString>("reply");
        QTest::newRow("Yes") << 1 << QStringLiteral("True");
        QTest::newRow("Yes caption") << 2 << QStringLiteral("True");
        QTest::newRow("No") << 3 << QStringLiteral("False");
        QTest::newRow("No caption") << 4 << QStringLiteral("False");
    }

    void buttonsAndTheirCaptionsAnswer() {
        QFETCH(int, target);
        QFETCH(QString, reply);
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_);
        ShowAndThen(pop, [&] {
            // The button's own edge lies outside its caption.
            switch (target) {
                case 1: QTest::mouseClick(pop.But1, Qt::LeftButton, {}, QPoint(2, 2)); break;
                case 2: QTest::mouseClick(pop.But1_lbl, Qt::LeftButton); break;
                case 3: QTest::mouseClick(pop.But2, Qt::LeftButton, {}, QPoint(2, 2)); break;
                default: QTest::mouseClick(pop.But2_lbl, Qt::LeftButton); break;
            }
        });
        QCOMPARE(home_.PopUpResponse, reply);
        QVERIFY(!pop.isVisible());
    }

    void closingAnyOtherWayIsNo_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("window manager close") << false;
    }

    void closingAnyOtherWayIsNo() {
        QFETCH(bool, escape);
        home_.PopUpResponse = QStringLiteral("True");  // left over from an earlier question
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Close Practice"), QStringLiteral("Confirm?"), PopUpButtons::YesNo, *owner_);
        ShowAndThen(pop, [&] {
            if (escape) {
                QTest::keyClick(&pop, Qt::Key_Escape);
            } else {
                pop.close();
            }
        });
        QCOMPARE(home_.PopUpResponse, QStringLiteral("False"));
    }

    void aQuestionOpensOnNoAndEnterPressesTheFocusedButton() {
        {
            ep::frmPopUp pop(home_, data_);
            pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_);
            ShowAndThen(pop, [&] {
                QVERIFY(QTest::qWaitForWindowActive(&pop));
                QTRY_VERIFY(pop.But2->hasFocus());  // "No": Enter alone never says yes
                QVERIFY(pop.But2->FocusRingShown());  // and it shows
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            });
            QTRY_COMPARE(home_.PopUpResponse, QStringLiteral("False"));
        }
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_);
        ShowAndThen(pop, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&pop));
            QTRY_VERIFY(pop.But2->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(pop.But1->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(pop.But2->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QVERIFY(pop.But1->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        });
        QTRY_COMPARE(home_.PopUpResponse, QStringLiteral("True"));
    }

    void everyPopUpAnswersTheSameKeys_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("fromMessage");  // the focus taken off the buttons first
        QTest::addColumn<QString>("reply");
        const int yesNo = int(PopUpButtons::YesNo);
        const int ok = int(PopUpButtons::Ok);
        QTest::newRow("question, Enter") << yesNo << int(Qt::Key_Return) << 0 << false << QStringLiteral("False");
        QTest::newRow("question, Enter off the buttons") << yesNo << int(Qt::Key_Enter) << 0 << true
                                                          << QStringLiteral("False");
        QTest::newRow("question, Escape") << yesNo << int(Qt::Key_Escape) << 0 << false << QStringLiteral("False");
        QTest::newRow("question, Space") << yesNo << int(Qt::Key_Space) << 0 << false << QStringLiteral("False");
        QTest::newRow("question, Alt+Y") << yesNo << int(Qt::Key_Y) << int(Qt::AltModifier) << false
                                         << QStringLiteral("True");
        QTest::newRow("question, Alt+N") << yesNo << int(Qt::Key_N) << int(Qt::AltModifier) << false
                                         << QStringLiteral("False");
        QTest::newRow("notice, Enter") << ok << int(Qt::Key_Return) << 0 << false << QStringLiteral("True");
        QTest::newRow("notice, Enter off the button") << ok << int(Qt::Key_Return) << 0 << true
                                                      << QStringLiteral("True");
        QTest::newRow("notice, Alt+O") << ok << int(Qt::Key_O) << int(Qt::AltModifier) << false
                                       << QStringLiteral("True");
        QTest::newRow("notice, Escape") << ok << int(Qt::Key_Escape) << 0 << false << QStringLiteral("False");
    }

    void everyPopUpAnswersTheSameKeys() {
        QFETCH(int, buttons);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, fromMessage);
        QFETCH(QString, reply);
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons(buttons), *owner_);
        ShowAndThen(pop, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&pop));
            QTRY_VERIFY(pop.DefaultButton()->hasFocus());
            if (fromMessage) {
                pop.setFocus(Qt::OtherFocusReason);
                QVERIFY(!pop.But1->hasFocus() && !pop.But2->hasFocus());
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        });
        QTRY_COMPARE(home_.PopUpResponse, reply);
        QVERIFY(!pop.isVisible());
    }

    void theKeysAreShownAndTheMessageIsRead() {
        ep::frmPopUp pop(home_, data_);
        const QString note = QStringLiteral("Check the form of your answer to question 4.");
        pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_, note);
        // Captions keep their words; the underlined letter is the button's key.
        QCOMPARE(pop.But1_lbl->text(), QStringLiteral("Yes"));
        QCOMPARE(pop.But1->text(), QStringLiteral("&Yes"));
        QCOMPARE(pop.But2->text(), QStringLiteral("&No"));
        QVERIFY(pop.But1->toolTip().contains(QStringLiteral("Alt+Y")));
        QVERIFY(pop.But2->toolTip().contains(QStringLiteral("Escape")));
        QCOMPARE(pop.But2_lbl->toolTip(), pop.But2->toolTip());

        // To a screen reader: a dialog named by its title whose description
        // is the question, with "No" as its default button.
        QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&pop);
        QCOMPARE(dialog->role(), QAccessible::Dialog);
        QCOMPARE(dialog->text(QAccessible::Name), QStringLiteral("Marking"));
        QCOMPARE(dialog->text(QAccessible::Description), kMarking + QLatin1Char(' ') + note);
        QAccessibleInterface* yes = QAccessible::queryAccessibleInterface(pop.But1);
        QAccessibleInterface* no = QAccessible::queryAccessibleInterface(pop.But2);
        QCOMPARE(yes->text(QAccessible::Name), QStringLiteral("Yes"));
        QCOMPARE(no->text(QAccessible::Name), QStringLiteral("No"));
        QCOMPARE(yes->role(), QAccessible::Button);
        QVERIFY(!yes->state().defaultButton);
        QVERIFY(no->state().defaultButton);
        QCOMPARE(yes->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{QKeySequence(Qt::ALT | Qt::Key_Y).toString(QKeySequence::NativeText)});
        // The buttons are the dialog's children; their captions and the title
        // text, which say nothing new, are not.
        QStringList children;
        for (int i = 0; i < dialog->childCount(); ++i) {
            QAccessibleInterface* child = dialog->child(i);
            children << child->text(QAccessible::Name);
            QCOMPARE(dialog->indexOfChild(child), i);
        }
        QVERIFY(children.contains(QStringLiteral("Yes")));
        QVERIFY(children.contains(QStringLiteral("No")));
        QVERIFY(!children.contains(QStringLiteral("Marking")));
        QCOMPARE(yes->childCount(), 0);

        // A notice is an alert, with OK its default.
        pop.CallPop(QStringLiteral("Marlowin"), QStringLiteral("Paper saved"), PopUpButtons::Ok, *owner_);
        QCOMPARE(dialog->role(), QAccessible::AlertMessage);
        QCOMPARE(dialog->text(QAccessible::Description), QStringLiteral("Paper saved"));
        QCOMPARE(yes->text(QAccessible::Name), QStringLiteral("OK"));
        QVERIFY(yes->state().defaultButton);
        QVERIFY(!no->state().defaultButton);
        // Pressed through its accessible action, as a screen reader does.
        ShowAndThen(pop, [&] { yes->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); });
        QCOMPARE(home_.PopUpResponse, QStringLiteral("True"));
    }

    void buttonsFollowTheCursor() {
        ep::frmPopUp pop(home_, data_);
        pop.CallPop(QStringLiteral("Marking"), kMarking, PopUpButtons::YesNo, *owner_);
        ShowAndThen(pop, [&] {
            QCursor::setPos(CentreOf(*pop.But2));
            QTRY_COMPARE(FileName(pop.But2->pictureFile()), QStringLiteral("button_on.bmp"));
            QCOMPARE(FileName(pop.But1->pictureFile()), QStringLiteral("button_off.bmp"));
            QCursor::setPos(CentreOf(*pop.But1));
            QTRY_COMPARE(FileName(pop.But1->pictureFile()), QStringLiteral("button_on.bmp"));
            QCOMPARE(FileName(pop.But2->pictureFile()), QStringLiteral("button_off.bmp"));
            pop.But1->click();
        });
        QCOMPARE(home_.PopUpResponse, QStringLiteral("True"));
    }
};

QTEST_MAIN(PopUpTest)
#include "popup_test.moc"
