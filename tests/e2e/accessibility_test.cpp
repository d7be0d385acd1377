// The program as a screen reader sees it: the real windows with the course
// they ship, read and driven only through their accessibility interfaces
// (what AT-SPI hands Orca), never through their widgets. A topic, Fractions
// paper 2 answered, marked and retaken, the Report's three sections, the
// About page and Trash; at each step the roles, names, descriptions and
// states of what the pupil meets. The steps run in order and build on each
// other.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "about_page.h"
#include "contents.h"
#include "journey_support.h"
#include "paper_window.h"
#include "popup.h"

using namespace ep;
using namespace ep::e2e;

namespace {

// The program turns this on in its main; the web engine reads it as it starts.
const bool kPagesForScreenReaders = qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");

using Iface = QAccessibleInterface*;

Iface Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// Every object on show under `root`, depth first, as a screen reader walks them.
void Walk(Iface root, const std::function<void(Iface)>& visit, int depth = 0) {
    if (!root || root->state().invisible || depth > 80) return;
    visit(root);
    for (int c = 0; c < root->childCount(); ++c) Walk(root->child(c), visit, depth + 1);
}

QList<Iface> All(QWidget* window, QAccessible::Role role) {
    QList<Iface> found;
    Walk(Of(window), [&](Iface i) {
        if (i->role() == role) found << i;
    });
    return found;
}

QStringList Names(QWidget* window, QAccessible::Role role) {
    QStringList names;
    for (Iface i : All(window, role)) names << i->text(QAccessible::Name);
    return names;
}

Iface Find(QWidget* window, QAccessible::Role role, const QString& name) {
    for (Iface i : All(window, role)) {
        if (i->text(QAccessible::Name) == name) return i;
    }
    return nullptr;
}

// What the pupil can act on: every one has a name, and no name is said twice
// in one window.
QString ControlsProblem(QWidget* window) {
    QStringList names;
    for (QAccessible::Role role : {QAccessible::Button, QAccessible::PageTab, QAccessible::RadioButton,
                                   QAccessible::Link, QAccessible::EditableText}) {
        for (Iface i : All(window, role)) {
            const QString name = i->text(QAccessible::Name);
            if (name.isEmpty()) return QStringLiteral("a control of role %1 has no name").arg(int(role));
            if (names.contains(name)) return QStringLiteral("two controls are named \"%1\"").arg(name);
            names << name;
        }
    }
    return {};
}

bool Press(Iface control) {
    if (!control || !control->actionInterface()) return false;
    control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The press itself is carried out from the event loop.
    QCoreApplication::sendPostedEvents(control->object());
    return true;
}

// Presses from the event loop, so that what the press starts (a modal
// pop-up, the marking animation) runs while the caller waits.
std::shared_ptr<bool> PressLater(Iface control) {
    auto done = std::make_shared<bool>(false);
    QTimer::singleShot(0, [control, done] {
        Press(control);
        *done = true;
    });
    return done;
}

// A pupil who hears each pop-up as a screen reader gives it and answers by
// pressing a button by its name: "role|name|description|buttons|default|focus".
class Listener : public QObject {
public:
    explicit Listener(QStringList replies) : replies_(std::move(replies)) {
        connect(&timer_, &QTimer::timeout, this, &Listener::Poll);
        timer_.start(10);
    }
    QStringList heard;

private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* pop = qobject_cast<frmPopUp*>(widget);
            if (!pop || !pop->isVisible() || pop->property("heard").toBool()) continue;
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus->window() != pop) continue;
            pop->setProperty("heard", true);
            Iface dialog = Of(pop);
            QStringList buttons;
            QString byDefault, focused;
            Iface reply = nullptr;
            const QString wanted = replies_.isEmpty() ? QStringLiteral("No") : replies_.takeFirst();
            for (Iface b : All(pop, QAccessible::Button)) {
                const QString name = b->text(QAccessible::Name);
                buttons << name;
                if (b->state().defaultButton) byDefault = name;
                if (b->state().focused) focused = name;
                if (name == wanted) reply = b;
            }
            const QString role = dialog->role() == QAccessible::Dialog         ? QStringLiteral("dialog")
                                 : dialog->role() == QAccessible::AlertMessage ? QStringLiteral("alert")
                                                                               : QStringLiteral("other");
            heard << QStringList{role, dialog->text(QAccessible::Name), dialog->text(QAccessible::Description),
                                 buttons.join(QLatin1Char(',')), byDefault, focused}
                         .join(QLatin1Char('|'));
            if (!Press(reply)) pop->close();
        }
    }
    QStringList replies_;
    QTimer timer_;
};

// A page archive's text, its quoted-printable encoding undone.
QString ArchiveText(int id) {
    const std::string bytes = QtResources().Load(id, kCustomType).value_or("");
    QByteArray plain;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '=' || i + 2 >= bytes.size()) {
            plain += bytes[i];
        } else if (bytes[i + 1] == '\r' && bytes[i + 2] == '\n') {
            i += 2;  // a soft line break
        } else {
            plain += static_cast<char>(QByteArray(&bytes[i + 1], 2).toInt(nullptr, 16));
            i += 2;
        }
    }
    return QString::fromUtf8(plain);
}

// The words a page archive says to screen readers in place of its stacked
// fractions, and its pictures' texts.
QStringList Spoken(int id, const char* pattern) {
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QString::fromLatin1(pattern)).globalMatch(ArchiveText(id));
    while (it.hasNext()) found << it.next().captured(1);
    return found;
}

constexpr int kPageTimeout = 30000;

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    Desk desk_{dir_.path()};
    QString score_;  // paper 2's first attempt

    QWidget* Home() const { return desk_.home.get(); }
    QWidget* Paper() const { return desk_.paper.data(); }

    // Presses `name` (a button of `role` in `window`), answering pop-ups with
    // `replies`; `heard` is what the pupil heard of them.
    void PressAndAnswer(QWidget* window, const QString& name, const QStringList& replies, QStringList& heard,
                        QAccessible::Role role = QAccessible::Button) {
        Iface control = Find(window, role, name);
        QVERIFY2(control, qPrintable(name));
        Listener listener(replies);
        std::shared_ptr<bool> done = PressLater(control);
        QTRY_VERIFY_WITH_TIMEOUT(*done, kMarkingTimeout);
        heard = listener.heard;
    }
    void Type(int row, const QString& text) {
        Iface box = Of(desk_.Box(row));
        QVERIFY(box->actionInterface());
        box->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(desk_.Box(row)->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    void Next(int times = 1) {
        for (int i = 0; i < times; ++i) QVERIFY(Press(Find(Paper(), QAccessible::Button, QStringLiteral("Next"))));
    }
    void Back(int times = 1) {
        for (int i = 0; i < times; ++i) QVERIFY(Press(Find(Paper(), QAccessible::Button, QStringLiteral("Back"))));
    }
    // The question page as the window's tree holds it: the text of every
    // object of the web document on show, once it is the page of `heading`.
    void PageText(const QString& heading, QStringList& texts, QStringList& pictures) {
        QTRY_VERIFY_WITH_TIMEOUT(Find(Paper(), QAccessible::WebDocument, heading), kPageTimeout);
        texts.clear();
        pictures.clear();
        Walk(Find(Paper(), QAccessible::WebDocument, heading), [&](Iface i) {
            if (i->role() == QAccessible::StaticText) texts << i->text(QAccessible::Name);
            if (i->role() == QAccessible::Graphic) pictures << i->text(QAccessible::Name);
        });
    }

private slots:
    void initTestCase() {
        QVERIFY(kPagesForScreenReaders);
        QVERIFY(dir_.isValid());
        if (!QtResources().Load(kCourseDefinitionResource, kCustomType)) QFAIL("the shipped course is not built in");
    }

    void cleanupTestCase() { desk_.Clear(); }

    void theHomeWindowIsAFrameOfTabsAndTopics() {
        STEP(desk_.Start());
        Iface frame = Of(Home());
        QCOMPARE(frame->role(), QAccessible::Window);
        QCOMPARE(frame->text(QAccessible::Name), desk_.home->windowTitle());
        QVERIFY(!frame->state().sizeable);
        // Two tabs: the modules the course does not use have none in the tree.
        QCOMPARE(Names(Home(), QAccessible::PageTab), (QStringList{"Practice", "Help"}));
        QVERIFY(Find(Home(), QAccessible::PageTab, QStringLiteral("Practice"))->state().selected);
        QVERIFY(!Find(Home(), QAccessible::PageTab, QStringLiteral("Help"))->state().selected);
        QCOMPARE(frame->indexOfChild(Of(desk_.home->Tab[0])), -1);
        // The title bar's Close and the toolbar's are told apart.
        QVERIFY(Find(Home(), QAccessible::Button, QStringLiteral("Close window")));
        QVERIFY(Find(Home(), QAccessible::Button, QStringLiteral("Close program")));
        QVERIFY(Find(Home(), QAccessible::Button, QStringLiteral("Minimise window")));
        // Topics: one of a set, the first chosen.
        const QList<Iface> topics = All(Home(), QAccessible::RadioButton);
        QCOMPARE(topics.size(), 10);
        QCOMPARE(topics[0]->text(QAccessible::Name), QStringLiteral("Whole Numbers"));
        for (int k = 0; k < 10; ++k) QCOMPARE(topics[k]->state().checked && topics[k]->state().selected, k == 0);
        QCOMPARE(ControlsProblem(Home()), QString());

        QVERIFY(Press(Find(Home(), QAccessible::RadioButton, QStringLiteral("Fractions"))));
        QVERIFY(Find(Home(), QAccessible::RadioButton, QStringLiteral("Fractions"))->state().checked);
        QVERIFY(!Find(Home(), QAccessible::RadioButton, QStringLiteral("Whole Numbers"))->state().checked);
        QVERIFY(Find(Home(), QAccessible::StaticText, QStringLiteral("Paper 2, first attempt: not taken")));
        QVERIFY(!Find(Home(), QAccessible::Button, QStringLiteral("Try paper 2 again")));
    }

    void aPaperIsReadAndAnswered() {
        QVERIFY(Press(Find(Home(), QAccessible::Button, QStringLiteral("Load paper 2"))));
        desk_.paper = desk_.home->paperWindow();
        QVERIFY(desk_.paper);
        Iface frame = Of(Paper());
        QCOMPARE(frame->role(), QAccessible::Window);
        QCOMPARE(frame->text(QAccessible::Name), QStringLiteral("Fractions - Paper 2"));
        QVERIFY(frame->state().sizeable);
        for (const char* name : {"Save", "Mark", "Print", "Close paper", "Solution", "Back", "Next", "Close window",
                                 "Minimise window", "Maximise window", "Hide answer sheet"}) {
            QVERIFY2(Find(Paper(), QAccessible::Button, QString::fromLatin1(name)), name);
        }
        QVERIFY(Find(Paper(), QAccessible::Button, QStringLiteral("Back"))->state().disabled);
        QVERIFY(Find(Paper(), QAccessible::Button, QStringLiteral("Solution"))->state().disabled);
        QVERIFY(!Find(Paper(), QAccessible::Button, QStringLiteral("Close")));
        // The list of questions left shows the question on view; on Linux a
        // list is named by its label.
        Iface left = All(Paper(), QAccessible::ComboBox).value(0);
        QVERIFY(left);
        QCOMPARE(left->text(QAccessible::Value), QStringLiteral("1"));
        const auto labels = left->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("Questions left"));
        QCOMPARE(ControlsProblem(Paper()), QString());

        // The page itself, read through the window as a screen reader reads
        // it once it is on: the fraction whole, never as two numbers.
        QSignalSpy loaded(desk_.paper.data(), &PaperWindow::questionLoaded);
        if (!desk_.paper->question->PageLoaded()) QVERIFY(loaded.wait(kPageTimeout));
        QAccessible::setActive(true);
        QStringList texts, pictures;
        STEP(PageText(QStringLiteral("Question 1"), texts, pictures));
        const QStringList fractions = Spoken(20671, "class=\"sr\">([^<]+)<");
        QVERIFY(!fractions.isEmpty());
        for (const QString& said : fractions) QVERIFY2(texts.contains(said), qPrintable(texts.join(u'|')));

        Iface box = Find(Paper(), QAccessible::EditableText, QStringLiteral("Question 1, answer"));
        QVERIFY(box);
        QCOMPARE(box->text(QAccessible::Description), QStringLiteral("Enter your answer"));  // its tool tip
        STEP(Type(1, Key(Catalogue(112), 1)));  // right
        Next();
        STEP(Type(1, QStringLiteral("4")));  // a choice, wrong (its key is 2)
        Next(10);  // question 12: a picture
        STEP(PageText(QStringLiteral("Question 12"), texts, pictures));
        QCOMPARE(pictures, Spoken(20693, "alt=\"([^\"]+)\""));
        for (const QString& picture : pictures) QVERIFY(!picture.isEmpty());
        for (const QString& said : Spoken(20693, "class=\"sr\">([^<]+)<")) QVERIFY(texts.contains(said));
        Back(11);
    }

    void markingIsAskedAndHeard() {
        {
            // A screen reader's press is answered at once: the pop-up it opens
            // waits for the pupil after the press has returned, not inside it.
            Listener listener({QStringLiteral("No")});
            Find(Paper(), QAccessible::Button, QStringLiteral("Mark"))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
            QVERIFY(listener.heard.isEmpty());
            QTRY_COMPARE(listener.heard.size(), 1);
            QCOMPARE(desk_.paper->Status, QStringLiteral("0"));
        }
        QStringList heard;
        STEP(PressAndAnswer(Paper(), QStringLiteral("Mark"), {QStringLiteral("No")}, heard));
        // The question with its buttons, "No" the default where the focus lands.
        const QString asked = QStringLiteral(
            "dialog|Marking|You have not answered all the questions.  Do you still want to mark your practice?|Yes,No|No|No");
        QCOMPARE(heard, QStringList{asked});
        QCOMPARE(desk_.paper->Status, QStringLiteral("0"));
        STEP(PressAndAnswer(Paper(), QStringLiteral("Mark"), {QStringLiteral("Yes")}, heard));
        QCOMPARE(heard, QStringList{asked});
        QCOMPARE(desk_.paper->Status, QStringLiteral("1"));
        score_ = desk_.paper->PScoring->text();
        QVERIFY(Find(Paper(), QAccessible::StaticText, QStringLiteral("Your score: ") + score_ + QLatin1Char('%')));

        // Each box says its tick or cross.
        Iface box = Find(Paper(), QAccessible::EditableText, QStringLiteral("Question 1, answer"));
        QVERIFY(box->state().readOnly);
        QCOMPARE(box->text(QAccessible::Description), QStringLiteral("marked right"));
        Next();
        box = Find(Paper(), QAccessible::EditableText, QStringLiteral("Question 2, answer"));
        QCOMPARE(box->text(QAccessible::Description), QStringLiteral("marked wrong"));
        QVERIFY(Find(Paper(), QAccessible::Button, QStringLiteral("Save"))->state().disabled);
        QVERIFY(Find(Paper(), QAccessible::Button, QStringLiteral("Mark"))->state().disabled);
        // A solution still closed says when it opens.
        Iface solution = Find(Paper(), QAccessible::Button, QStringLiteral("Solution"));
        QVERIFY(solution->state().disabled);
        QCOMPARE(solution->text(QAccessible::Description), QStringLiteral("Solutions open after your second attempt"));
        QCOMPARE(ControlsProblem(Paper()), QString());

        STEP(PressAndAnswer(Paper(), QStringLiteral("Close paper"), {QStringLiteral("Yes")}, heard));
        QCOMPARE(heard, QStringList{"dialog|Close Practice|Confirm?|Yes,No|No|No"});
        QTRY_VERIFY(desk_.paper.isNull());
    }

    void theSecondAttemptSaysWhatWasCarried() {
        QVERIFY(Find(Home(), QAccessible::StaticText, QStringLiteral("Paper 2, first attempt: ") + score_ + u'%'));
        QVERIFY(Press(Find(Home(), QAccessible::Button, QStringLiteral("Try paper 2 again"))));
        desk_.paper = desk_.home->paperWindow();
        QVERIFY(desk_.paper);
        Iface box = Find(Paper(), QAccessible::EditableText, QStringLiteral("Question 1, answer"));
        QVERIFY(box->state().readOnly);
        QCOMPARE(box->text(QAccessible::Description), QStringLiteral("marked right in your first attempt"));
        Next();
        box = Find(Paper(), QAccessible::EditableText, QStringLiteral("Question 2, answer"));
        QVERIFY(!box->state().readOnly);
        QCOMPARE(box->text(QAccessible::Description), QStringLiteral("Enter your answer"));
        STEP(Type(1, QStringLiteral("3")));  // wrong again
        QStringList heard;
        STEP(PressAndAnswer(Paper(), QStringLiteral("Mark"), {QStringLiteral("Yes")}, heard));
        QCOMPARE(desk_.paper->Status, QStringLiteral("1"));
        box = Find(Paper(), QAccessible::EditableText, QStringLiteral("Question 2, answer"));
        QCOMPARE(box->text(QAccessible::Description), QStringLiteral("marked wrong; the answer is 2"));
        // Now every solution is open.
        QVERIFY(!Find(Paper(), QAccessible::Button, QStringLiteral("Solution"))->state().disabled);
        QVERIFY(Press(Find(Paper(), QAccessible::Button, QStringLiteral("Solution"))));
        QVERIFY(Find(Paper(), QAccessible::Button, QStringLiteral("Question")));
        QCOMPARE(ControlsProblem(Paper()), QString());
        STEP(PressAndAnswer(Paper(), QStringLiteral("Close paper"), {QStringLiteral("Yes")}, heard));
        QTRY_VERIFY(desk_.paper.isNull());
    }

    void theReportsSectionsOpenOneAtATime() {
        QVERIFY(Press(Find(Home(), QAccessible::Button, QStringLiteral("Report"))));
        const QStringList sections{"Overall Results", "Topical Results", "Trend Analysis"};
        for (int open = 0; open < 3; ++open) {
            QVERIFY(Press(Find(Home(), QAccessible::Button, sections[open])));
            for (int s = 0; s < 3; ++s) {
                const QAccessible::State state = Find(Home(), QAccessible::Button, sections[s])->state();
                QVERIFY(state.expandable);
                QCOMPARE(state.expanded, s == open);
                QCOMPARE(state.collapsed, s != open);
            }
            switch (open) {
                case 0:
                    QVERIFY(Find(Home(), QAccessible::StaticText,
                                 QStringLiteral("First Attempt Average Score: ") + score_ + u'%'));
                    QVERIFY(Find(Home(), QAccessible::StaticText, QStringLiteral("Number of Papers Completed: 1 / 50")));
                    break;
                case 1: {
                    QVERIFY(Find(Home(), QAccessible::StaticText,
                                 QStringLiteral("Fractions, first attempt: ") + score_ + u'%'));
                    QVERIFY(Find(Home(), QAccessible::StaticText, QStringLiteral("Algebra, no second attempt")));
                    Iface bar = Find(Home(), QAccessible::Graphic, QStringLiteral("Fractions, first attempt bar"));
                    QVERIFY(bar);
                    QCOMPARE(bar->text(QAccessible::Description), score_ + u'%');
                    break;
                }
                default: {
                    Iface chart = All(Home(), QAccessible::Chart).value(0);
                    QVERIFY(chart);
                    QCOMPARE(chart->text(QAccessible::Description), QStringLiteral("1 paper: ") + score_ + QStringLiteral("%."));
                }
            }
        }
        QVERIFY(Find(Home(), QAccessible::Button, QStringLiteral("Report card")));
        QCOMPARE(ControlsProblem(Home()), QString());
    }

    void theHelpTabsPages() {
        QVERIFY(Press(Find(Home(), QAccessible::PageTab, QStringLiteral("Help"))));
        QVERIFY(Find(Home(), QAccessible::PageTab, QStringLiteral("Help"))->state().selected);
        QVERIFY(!Find(Home(), QAccessible::PageTab, QStringLiteral("Practice"))->state().selected);
        // The link is a link, pressed as a screen reader presses it.
        Iface link = Find(Home(), QAccessible::Link, QString::fromLatin1(kMakerHost));
        QVERIFY(link);
        QCOMPARE(link->text(QAccessible::Description), QStringLiteral("Go to Marlowin home page"));
        const QByteArray path = qgetenv("PATH");
        QTemporaryDir empty;
        qputenv("PATH", empty.path().toUtf8());  // no xdg-mime: no browser
        QStringList told;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    told << box->text();
                    box->accept();
                }
            }
        });
        answer.start(10);
        std::shared_ptr<bool> done = PressLater(link);
        QTRY_VERIFY(*done);
        qputenv("PATH", path);
        QCOMPARE(told, QStringList{"Could not find associated Browser"});

        // Trash: the toolbar's and the page's buttons are told apart.
        desk_.home->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Home()));
        // The toolbar takes the Help tab's meaning at the window's next tick.
        QTRY_VERIFY(Find(Home(), QAccessible::Button, QStringLiteral("Trash past results")));
        QVERIFY(Press(Find(Home(), QAccessible::Button, QStringLiteral("Trash past results"))));
        Iface trash = Find(Home(), QAccessible::Button, QStringLiteral("Trash"));
        QVERIFY(trash);
        QVERIFY(trash->text(QAccessible::Description).contains(QStringLiteral("erase all your past results")));
        QCOMPARE(ControlsProblem(Home()), QString());
        QVERIFY(Press(trash));
        Iface no = Find(Home(), QAccessible::Button, QStringLiteral("No"));
        QVERIFY(no);
        QTRY_VERIFY(no->state().focused);  // the safe answer first
        QVERIFY(Press(no));
        QVERIFY(Find(Home(), QAccessible::Button, QStringLiteral("Trash")));
        QCOMPARE(ControlsProblem(Home()), QString());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
