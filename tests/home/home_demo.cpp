// The home window over the fixture course, with a few results recorded, for
// looking at it under a real display.
//
//   home_demo [--tab N] [--toolbar N] [--section N] [--paper N] [--quit-after MILLISECONDS]
//             [--lose-trend]   the trend file lost after a backup: the start's offer
//             [--erase]        Trash erases everything: the page then offers Undo

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "contents.h"
#include "qt_resources.h"
#include "report_page.h"
#include "results_store.h"
#include "startup.h"
#include "store_change.h"
#include "trash_page.h"
#include "tagged_file.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int tab = 0, toolbar = 0, section = 0, paper = 0, quitAfter = 0;
    const QStringList args = app.arguments();
    const bool loseTrend = args.contains(QLatin1String("--lose-trend"));
    const bool erase = args.contains(QLatin1String("--erase"));
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--tab")) tab = args[i + 1].toInt();
        if (args[i] == QLatin1String("--toolbar")) toolbar = args[i + 1].toInt();
        if (args[i] == QLatin1String("--paper")) paper = args[i + 1].toInt();
        if (args[i] == QLatin1String("--section")) section = args[i + 1].toInt();
        if (args[i] == QLatin1String("--quit-after")) quitAfter = args[i + 1].toInt();
    }
    QTemporaryDir data;
    const std::filesystem::path folder = data.path().toStdString();
    ep::FolderResources fixture(EP_FIXTURE_COURSE);
    ep::QtResources skin;
    ep::LayeredResources resources(fixture, skin);
    ep::PrepareCourseData(resources, folder);
    const auto marksFile = ep::ResultsFilePath(folder, ep::ResultsFile::kMarks, 2, "FIX");
    ep::MarksLists marks = ep::ReadMarksLists(marksFile, 10);
    const char* first[] = {"66.7", "100", "45.5", "", "", "80", "99", "", "", ""};
    const char* second[] = {"83.3", "", "", "", "", "", "", "", "", ""};
    for (std::size_t p = 1; p <= 10; ++p) {
        marks.FSE[p] = first[p - 1];
        marks.SSE[p] = second[p - 1];
        if (*first[p - 1]) {
            marks.FST[p] = "1";
            marks.LTM[p] = "0:24:7";
            marks.CDD[p] = "05/12/2026";
        }
    }
    ep::WriteMarksLists(marksFile, marks, 10);
    const auto trend = ep::ResultsFilePath(folder, ep::ResultsFile::kTrend, 2, "FIX");
    for (const char* score : {"45.5", "66.7", "80", "100", "99"}) ep::AppendTrendScore(trend, score);

    if (loseTrend) {
        ep::MakeBackup(folder, ep::StoreFileNames("FIX"));
        std::filesystem::remove(trend);
    }

    if (quitAfter > 0) QTimer::singleShot(quitAfter, &app, [] { std::exit(0); });  // also from the start's questions
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources, data.path());
    if (!home) return 1;
    home->show();
    home->activateWindow();
    if (tab) home->TabClick(tab);
    if (toolbar) home->ToolBarClick(toolbar);
    if (section) home->Body_Report->RCBar[section - 1]->click();
    if (paper) home->OpenPaper(paper - 1, 1);
    if (erase) {
        home->TabClick(4);
        home->ToolBarClick(2);
        home->Body_Trash->ButTrash->click();
        home->Body_Trash->ButTrash_Yes->click();
    }
    return app.exec();
}
