// The program as its main starts it, but in a data folder named on the
// command line, with a pupil at the keyboard: Fractions, "Load paper 2", the
// answers given typed into questions 1, 2, ..., Save. Then it prints "saved"
// and goes on answering questions further on, moving back and forth so that
// every move saves, printing "moved N" after each, until it is killed.
//   e2e_pupil FOLDER ANSWER...

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "contents.h"
#include "journey_support.h"
#include "qt_resources.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: e2e_pupil FOLDER ANSWER...\n");
        return 2;
    }
    ep::QtResources resources;
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources, args[1]);
    if (!home) return 1;
    home->show();
    ep::e2e::Pupil pupil({QStringLiteral("OK")});  // "Paper saved"
    const QStringList answers = args.mid(2);

    QTimer::singleShot(0, [&] {
        QTest::mouseClick(home->Body_Home->Topic[2], Qt::LeftButton);
        QTest::mouseClick(home->Body_Home->PaLabel[1], Qt::LeftButton);
        ep::PaperWindow* paper = home->paperWindow();
        if (!paper) QCoreApplication::exit(3);
        for (int i = 0; i < answers.size(); ++i) {
            if (i > 0) QTest::mouseClick(paper->ToolBar06, Qt::LeftButton);
            QTest::keyClicks(paper->AnsBox->FA[1], answers[i]);
        }
        QTest::mouseClick(paper->ToolBar01, Qt::LeftButton);
        if (pupil.seen != QStringList{"Marlowin|Paper saved|OK"}) QCoreApplication::exit(4);
        std::printf("saved\n");
        std::fflush(stdout);

        auto* work = new QTimer(&app);
        QObject::connect(work, &QTimer::timeout, [paper, base = static_cast<int>(answers.size()), moves = 0]() mutable {
            ++moves;
            // Between the two questions after the saved ones, typing the move's number.
            const int target = base + (moves % 2 == 1 ? 2 : 1);
            while (paper->QSCount.toInt() != target) {
                QTest::mouseClick(paper->QSCount.toInt() < target ? paper->ToolBar06 : paper->ToolBar05, Qt::LeftButton);
            }
            paper->AnsBox->FA[1]->clear();
            QTest::keyClicks(paper->AnsBox->FA[1], QString::number(moves));
            std::printf("moved %d\n", moves);
            std::fflush(stdout);
        });
        work->start(0);
    });
    return app.exec();
}
