// Opens a paper window over a prepared data folder in one of a few states, for
// looking at it under a real display:
//
//   paper_demo SCENARIO [--question N] [--shot FILE] [--after MILLISECONDS]
//   paper_demo open --course FOLDER --paper KEY [--question N] [--shot FILE]
//   ... [--size WIDTHxHEIGHT] [--hide-sheet]
//
// SCENARIO (over the fixture course): diagram, two-part, instruction,
// marking, marked, second, second-marked, and the learning aids: solution
// (a marked first attempt showing a worked solution), solution-closed (its
// Solution button disabled, the pointer on it for the tool tip), form-note,
// refused (a box that turned ">" away), mark-form (the Mark question naming
// answers not in their form), simplest (a crossed answer of the right value)
// and second-solution (a marked second attempt showing a solution).
// "open" opens any paper of a folder of packed course resources at question
// N; "--course shipped" is the shipped course's, in the build.
// With --shot the screen is saved to FILE that long after the window shows
// (default 2500 ms), and the program ends.

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <vector>

#include "open_paper.h"
#include "paper_test_support.h"
#include "popup.h"
#include "test1.h"
#include "test2.h"

namespace {

// A paper (101 unless said) answered and marked, one list of answers per question.
void Mark(const ep::ResourceSource& course, const ep::test::DataFolder& data, ep::Attempt attempt,
          const std::vector<std::vector<std::string>>& answers, int key = 101) {
    ep::OpenPaper paper = ep::OpenPaper::Load(course, data.path(), ep::test::FixtureRequest(key, attempt));
    for (std::size_t q = 0; q < answers.size(); ++q) paper.StoreAnswers(static_cast<int>(q + 1), answers[q]);
    paper.SaveAnswers();
    paper.Mark(std::chrono::seconds(12 * 60 + 5), "06/12/2026");
}

void Type(QLineEdit* box, const char* text) {
    box->setFocus();
    box->setText(QString::fromUtf8(text));
}

// Types into a box as the keyboard does, so refused characters are refused.
void Keys(QLineEdit* box, const QString& text) {
    box->setFocus();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

// Rests the pointer on a widget, so its tool tip shows.
void PointAt(QWidget* widget) {
    QTimer::singleShot(900, widget, [widget] {
        QCursor::setPos(widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2)));
    });
}

// Answers every pop-up "Yes" a moment after it shows.
void AnswerPopUpsYes(QObject* context) {
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* pop = qobject_cast<ep::frmPopUp*>(widget); pop && pop->isVisible()) {
                QTimer::singleShot(500, pop, [pop] { pop->But1->click(); });
            }
        }
    });
    timer->start(400);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("diagram");
    QString shot;
    int after = 2500;
    int goTo = 0;
    int paperKey = 101;
    QString courseFolder = QStringLiteral(EP_FIXTURE_COURSE);
    QSize size;
    bool hideSheet = false;
    for (int k = 2; k < argc; ++k) {
        if (QLatin1String(argv[k]) == QLatin1String("--hide-sheet")) hideSheet = true;
        if (k + 1 >= argc) break;
        if (QLatin1String(argv[k]) == QLatin1String("--shot")) shot = QString::fromLocal8Bit(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--after")) after = std::atoi(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--question")) goTo = std::atoi(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--paper")) paperKey = std::atoi(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--size")) {
            const QStringList wh = QString::fromLocal8Bit(argv[k + 1]).split(QLatin1Char('x'));
            if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
        }
        if (QLatin1String(argv[k]) == QLatin1String("--course")) courseFolder = QString::fromLocal8Bit(argv[k + 1]);
        if (courseFolder == QLatin1String("shipped")) courseFolder = QStringLiteral(EP_PACKED_COURSE);
    }

    ep::FolderResources course(courseFolder.toStdString());
    ep::test::DataFolder data(course);
    ep::test::FakeHost home(course, data.folder());
    home.UseCourse(data.startup);
    // The home window, behind the paper: a plain panel is enough.
    QWidget backdrop;
    backdrop.setGeometry(40, 40, 700, 500);
    backdrop.setWindowTitle(QStringLiteral("Exam Practice"));
    backdrop.show();

    std::function<void(ep::PaperWindow*)> then;
    QPointer<ep::PaperWindow> window;
    if (scenario == QLatin1String("open")) {
        const int first = paperKey - (paperKey - 101) % 5;
        const ep::ModuleDefinition& module = data.startup.course.Module(data.startup.firstModule);
        home.Choose(paperKey, first,
                    QString::fromStdString(module.topicNames[static_cast<std::size_t>((first - 101) / 5 + 1)]));
        window = ep::Test1::Open(home);
    } else if (scenario == QLatin1String("solution") || scenario == QLatin1String("solution-closed")) {
        // 5 of 6: questions 1 and 2 open, question 3 closed until the second attempt.
        Mark(course, data, ep::Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        window = ep::Test1::Open(home);
        if (!window) return 1;
        if (scenario == QLatin1String("solution")) {
            window->ToolBar07_Click();
        } else {
            window->GoToQuestion(3);
            then = [](ep::PaperWindow* w) { PointAt(w->ToolBar07); };
        }
    } else if (scenario == QLatin1String("second-solution")) {
        Mark(course, data, ep::Attempt::kFirst, {{"17/3"}, {"109/200", "7:23", "2900"}}, 102);
        Mark(course, data, ep::Attempt::kSecond, {{"5 4/6"}, {"109/200", "7:23", "2800"}}, 102);
        home.Choose(102, 101, QStringLiteral("Whole Numbers"));
        window = ep::Test2::Open(home);
        if (window) window->ToolBar07_Click();
    } else if (scenario == QLatin1String("simplest")) {
        Mark(course, data, ep::Attempt::kFirst, {{"17/3"}, {"218/400", "14:46", "2900"}}, 102);
        home.Choose(102, 101, QStringLiteral("Whole Numbers"));
        window = ep::Test1::Open(home);
        if (window) window->GoToQuestion(2);
    } else if (scenario == QLatin1String("form-note") || scenario == QLatin1String("mark-form")) {
        home.Choose(102, 101, QStringLiteral("Whole Numbers"));
        window = ep::Test1::Open(home);
        if (!window) return 1;
        Keys(window->AnsBox->FA[1], QStringLiteral("17/3"));
        if (scenario == QLatin1String("form-note")) {
            window->NextQuestion();
            Keys(window->AnsBox->FA[1], QStringLiteral("0.545"));
            Keys(window->AnsBox->FA[2], QStringLiteral("7:23"));
            Keys(window->AnsBox->FA[3], QStringLiteral("2800"));
            window->AnsBox->FA[1]->setFocus();
        } else {
            window->NextQuestion();
            Keys(window->AnsBox->FA[1], QStringLiteral("0.545"));
            Keys(window->AnsBox->FA[2], QStringLiteral("7:23"));
            QTimer::singleShot(800, window, [window] { window->MarkPaper(); });
        }
    } else if (scenario == QLatin1String("refused")) {
        window = ep::Test1::Open(home);
        if (!window) return 1;
        Keys(window->AnsBox->FA[1], QStringLiteral("12>"));
    } else if (scenario == QLatin1String("second") || scenario == QLatin1String("second-marked")) {
        // Wrong the first time: question 1, question 2 (b) and question 3.
        Mark(course, data, ep::Attempt::kFirst, {{"80"}, {"12", "Derek"}, {"2"}});
        if (scenario == QLatin1String("second-marked")) {
            Mark(course, data, ep::Attempt::kSecond, {{"84"}, {"12", "Derrick"}, {"1"}});
        }
        window = ep::Test2::Open(home);
        if (window && scenario == QLatin1String("second")) {
            window->GoToQuestion(2);
            Type(window->AnsBox->FA[2], "Derrick");
        }
    } else {
        if (scenario == QLatin1String("marked")) {
            Mark(course, data, ep::Attempt::kFirst, {{"84"}, {"12", "Derrick"}, {"2"}});
        }
        if (scenario == QLatin1String("instruction")) home.Choose(102, 101, QStringLiteral("Whole Numbers"));
        window = ep::Test1::Open(home);
        if (!window) return 1;
        if (scenario == QLatin1String("diagram")) Type(window->AnsBox->FA[1], "84");
        if (scenario == QLatin1String("two-part")) {
            window->NextQuestion();
            Type(window->AnsBox->FA[1], "12");
            Type(window->AnsBox->FA[2], "Derr");
        }
        if (scenario == QLatin1String("instruction")) {
            window->NextQuestion();
            Type(window->AnsBox->FA[1], "109/200");
            Type(window->AnsBox->FA[2], "7:23");
        }
        if (scenario == QLatin1String("marked")) window->NextQuestion();
        if (scenario == QLatin1String("marking")) {
            Type(window->AnsBox->FA[1], "84");
            AnswerPopUpsYes(window);
            QTimer::singleShot(800, window, [window] { window->MarkPaper(); });
        }
    }
    if (!window) return 1;
    if (then) then(window);
    if (goTo > 0) window->GoToQuestion(goTo);
    if (size.isValid()) window->setGeometry(QRect(QPoint(0, 0), size));
    if (hideSheet) window->ImgHandle_Click();
    QTimer::singleShot(300, window, [window] { window->activateWindow(); });

    if (!shot.isEmpty()) {
        QTimer::singleShot(after, [shot] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
            std::printf("saved %s\n", qPrintable(shot));
            QApplication::exit(0);
        });
    }
    const int result = app.exec();
    delete window;  // before the web engine stops
    return result;
}
