// The home window over the fixture course, with a few results recorded, for
// looking at it under a real display; or, with --shipped, over the program's
// own course with a realistic record of 34 papers.
//
//   home_demo [--shipped] [--tab N] [--toolbar N] [--section N] [--paper N] [--point-at-card]
//             [--quit-after MILLISECONDS]
//   home_demo [--shipped [--every-paper | --empty]] [--letter] --pdf FOLDER
//             writes table.pdf and card.pdf there, then ends; --every-paper records all 50
//             papers, --empty none
//   home_demo ... [--lose-trend]   the trend file lost after a backup: the start's offer
//   home_demo ... [--erase]        Trash erases everything: the page then offers Undo

#include <QApplication>
#include <QCursor>
#include <QDir>
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

namespace {

// A pupil some weeks into the course: most of the first seven topics done,
// some papers retaken, the last three barely started.
void RecordShippedResults(const std::filesystem::path& folder, const std::string& code, bool everyPaper) {
    const auto marksFile = ep::ResultsFilePath(folder, ep::ResultsFile::kMarks, 2, code);
    ep::MarksLists marks = ep::ReadMarksLists(marksFile, 50);
    const char* first[50] = {"86.7", "90",   "76.7", "93.3", "96.7", "70",   "63.3", "80",   "73.3", "",
                             "53.3", "46.7", "60",   "56.7", "",     "83.3", "90",   "76.7", "86.7", "93.3",
                             "66.7", "73.3", "80",   "",     "",     "76.7", "83.3", "90",   "70",   "86.7",
                             "70",   "80",   "76.7", "",     "",     "60",   "",     "",     "",     "",
                             "56.7", "",     "",     "",     "",     "",     "",     "",     "",     ""};
    const char* second[50] = {"",     "",   "",   "", "", "86.7", "80", "", "", "", "70", "66.7", "", "", "",
                              "",     "",   "",   "", "", "83.3", "",   "", "", "", "",   "",     "", "", "",
                              "83.3", "",   "",   "", "", "",     "",   "", "", "", "",   "",     "", "", "",
                              "",     "",   "",   "", ""};
    const auto trend = ep::ResultsFilePath(folder, ep::ResultsFile::kTrend, 2, code);
    for (std::size_t p = 1; p <= 50; ++p) {
        if (everyPaper && !*first[p - 1]) first[p - 1] = p % 2 ? "63.3" : "73.3";
        if (!*first[p - 1]) continue;
        marks.FSE[p] = first[p - 1];
        marks.SSE[p] = second[p - 1];
        marks.FST[p] = "1";
        marks.SST[p] = *second[p - 1] ? "1" : "0";
        marks.LTM[p] = "0:" + std::to_string(18 + (p * 7) % 23) + ":" + std::to_string((p * 13) % 60);
        marks.CDD[p] = std::to_string(1 + (p * 5) % 28) + "/" + std::to_string(9 + p / 17) + "/2026";
        ep::AppendTrendScore(trend, first[p - 1]);
    }
    ep::WriteMarksLists(marksFile, marks, 50);
}

void RecordFixtureResults(const std::filesystem::path& folder) {
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
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int tab = 0, toolbar = 0, section = 0, paper = 0, quitAfter = 0;
    bool shipped = false, letter = false, pointAtCard = false, everyPaper = false, empty = false;
    QString pdfFolder;
    const QStringList args = app.arguments();
    const bool loseTrend = args.contains(QLatin1String("--lose-trend"));
    const bool erase = args.contains(QLatin1String("--erase"));
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--shipped")) shipped = true;
        if (args[i] == QLatin1String("--letter")) letter = true;
        if (args[i] == QLatin1String("--every-paper")) everyPaper = true;
        if (args[i] == QLatin1String("--empty")) empty = true;
        if (args[i] == QLatin1String("--point-at-card")) pointAtCard = true;
        if (i + 1 >= args.size()) continue;
        if (args[i] == QLatin1String("--tab")) tab = args[i + 1].toInt();
        if (args[i] == QLatin1String("--toolbar")) toolbar = args[i + 1].toInt();
        if (args[i] == QLatin1String("--paper")) paper = args[i + 1].toInt();
        if (args[i] == QLatin1String("--section")) section = args[i + 1].toInt();
        if (args[i] == QLatin1String("--quit-after")) quitAfter = args[i + 1].toInt();
        if (args[i] == QLatin1String("--pdf")) pdfFolder = args[i + 1];
    }
    QTemporaryDir data;
    const std::filesystem::path folder = data.path().toStdString();
    ep::FolderResources fixture(EP_FIXTURE_COURSE);
    ep::QtResources own;
    ep::LayeredResources layered(fixture, own);
    const ep::ResourceSource& resources = shipped ? static_cast<const ep::ResourceSource&>(own) : layered;
    const ep::StartupData startup = ep::PrepareCourseData(resources, folder);
    if (empty) {
        // A first start: nothing recorded.
    } else if (shipped) {
        RecordShippedResults(folder, startup.course.code, everyPaper);
    } else {
        RecordFixtureResults(folder);
    }

    if (loseTrend) {
        ep::MakeBackup(folder, ep::StoreFileNames(startup.course.code));
        std::filesystem::remove(ep::ResultsFilePath(folder, ep::ResultsFile::kTrend, 2, startup.course.code));
    }

    if (quitAfter > 0) QTimer::singleShot(quitAfter, &app, [] { std::exit(0); });  // also from the start's questions
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources, data.path());
    if (!home) return 1;
    if (!pdfFolder.isEmpty()) {
        QPrinter& printer = home->printer().printer();
        printer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
        printer.setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(pdfFolder).filePath(QStringLiteral("table.pdf")));
        home->PrintResults();
        return home->SaveReportCard(QDir(pdfFolder).filePath(QStringLiteral("card.pdf"))) ? 0 : 1;
    }
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
    if (pointAtCard) {
        QAbstractButton* card = home->Body_Report->ButReportCard;
        QCursor::setPos(card->mapToGlobal(card->rect().center()));
    }
    return app.exec();
}
