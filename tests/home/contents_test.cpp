#include "contents.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDesktopServices>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "about_page.h"
#include "home_page.h"
#include "paper_window.h"
#include "home_test_support.h"
#include "popup.h"
#include "qt_resources.h"
#include "report_page.h"
#include "results_store.h"
#include "tagged_file.h"
#include "trash_page.h"

namespace {

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using ep::test::Answerer;

// Stands in for the file manager.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

}  // namespace

class ContentsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ep::FolderResources> fixture_;
    ep::QtResources skin_;
    std::unique_ptr<ep::LayeredResources> resources_;
    std::unique_ptr<ep::Contents> home_;

    std::filesystem::path Data() const { return dir_->path().toStdString(); }
    std::filesystem::path File(ep::ResultsFile file) const { return ep::ResultsFilePath(Data(), file, 2, "FIX"); }
    std::map<std::string, std::string> ResultsBytes() const {
        std::map<std::string, std::string> files;
        for (ep::ResultsFile file : ep::kResultsFiles) files[File(file).string()] = Bytes(File(file));
        return files;
    }
    void Start() {
        home_ = ep::Contents::Start(*resources_, dir_->path());
        QVERIFY(home_);
        home_->show();
    }
    // Records first-attempt scores for papers 101.. in the marks file.
    void SetFirstScores(const std::vector<std::string>& scores) {
        ep::MarksLists marks = ep::ReadMarksLists(File(ep::ResultsFile::kMarks), 10);
        for (std::size_t i = 0; i < scores.size(); ++i) marks.FSE[i + 1] = scores[i];
        ep::WriteMarksLists(File(ep::ResultsFile::kMarks), marks, 10);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        fixture_ = std::make_unique<ep::FolderResources>(EP_FIXTURE_COURSE);
        resources_ = std::make_unique<ep::LayeredResources>(*fixture_, skin_);
    }
    void cleanup() {
        // Paper windows are windows of their own: they go with the test too.
        if (home_) delete home_->paperWindow();
        home_.reset();
    }

    void firstStartCreatesTheStoreAndASecondChangesNothing() {
        Start();
        QVERIFY(QFileInfo(dir_->filePath(QStringLiteral("Graphics/bar.bmp"))).isFile());
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("temptext30000.txt"))));
        QStringList results = QDir(dir_->path()).entryList({QStringLiteral("*.txt")}, QDir::Files);
        results.sort();
        QCOMPARE(results, (QStringList{"first2FIX.txt", "fresults2FIX.txt", "marks2FIX.txt", "second2FIX.txt",
                                       "sresults2FIX.txt", "trend2FIX.txt"}));
        SetFirstScores({"50"});
        const auto before = ResultsBytes();
        home_.reset();
        Start();
        QCOMPARE(ResultsBytes(), before);
        QCOMPARE(home_->Body_Home->MSA[0]->text(), QStringLiteral("50"));
    }

    void theWebEngineWarmsOnlyOnceTheWindowIsOnTheScreen() {
        home_ = ep::Contents::Start(*resources_, dir_->path());
        QVERIFY(home_);
        QTest::qWait(600);  // longer than the wait after the first paint
        QVERIFY(!home_->WebEngineWarm());
        home_->show();
        QVERIFY(QTest::qWaitForWindowExposed(home_.get()));
        QTRY_VERIFY_WITH_TIMEOUT(home_->WebEngineWarm(), 30000);
        // The first paper then opens on the warm engine.
        home_->Body_Home->Pa[0]->click();
        QVERIFY(home_->paperWindow());
        QSignalSpy loaded(home_->paperWindow(), &ep::PaperWindow::questionLoaded);
        QVERIFY(loaded.wait(30000));
    }

    void onlyDefinedModulesHaveTabs() {
        Start();
        QCOMPARE(home_->fields.LChose, QStringLiteral("2"));
        QCOMPARE(home_->fields.txtTabPos, QStringLiteral("2"));
        QCOMPARE(home_->Tab[1]->x(), home_->TabStrip->x());
        QCOMPARE(home_->Tab[3]->x(), home_->Tab[1]->x() + home_->Tab[1]->width() - 4);
        QVERIFY(home_->Tab[0]->x() < 0 && home_->Tab[0]->isHidden());
        QVERIFY(home_->Tab[2]->x() < 0 && home_->Tab[2]->isHidden());
        QCOMPARE(home_->Tablbl[1]->text(), QStringLiteral("Practice"));
        QCOMPARE(home_->Tab[1]->toolTip(), QStringLiteral("Load Practice Module"));
        QCOMPARE(home_->windowTitle(), QStringLiteral("Fixture Course"));
        QVERIFY(home_->Body_Home->isVisible());
    }

    void choosingATopicShowsItsPapersAndOpensThem() {
        Start();
        SetFirstScores({"", "", "", "", "", "70", "80"});
        home_->RefreshContents();
        home_->Body_Home->Topic[1]->click();
        QCOMPARE(home_->fields.TopicCount, QStringLiteral("6"));
        QCOMPARE(home_->Body_Home->SubH1->text(), QStringLiteral("Fractions"));
        QCOMPARE(home_->Body_Home->MSA[0]->text(), QStringLiteral("70"));
        QCOMPARE(home_->Body_Home->MSA[1]->text(), QStringLiteral("80"));
        QSignalSpy wanted(home_.get(), &ep::Contents::paperRequested);
        home_->Body_Home->Pa[1]->click();
        QCOMPARE(home_->fields.PaperNum, QStringLiteral("107"));
        QCOMPARE(home_->fields.TakeNum, QStringLiteral("1"));
        home_->Body_Home->Pb[0]->click();
        QCOMPARE(home_->fields.PaperNum, QStringLiteral("106"));
        QCOMPARE(wanted.size(), 2);
        QCOMPARE(wanted.at(1).at(0).toInt(), 2);
    }

    void aRetakeIsOfferedUpToNinetyNine() {
        Start();
        SetFirstScores({"100", "99", "99.5", "", "0"});
        home_->RefreshContents();
        ep::HomePage* page = home_->Body_Home;
        QCOMPARE(page->Pb[0]->isVisible(), false);
        QCOMPARE(page->Pb[1]->isVisible(), true);
        QCOMPARE(page->Pb[2]->isVisible(), false);
        QCOMPARE(page->Pb[3]->isVisible(), false);
        QCOMPARE(page->Pb[4]->isVisible(), true);
        for (QAbstractButton* load : page->Pa) QVERIFY(load->isVisible());
        // Scores end just in front of their "%".
        QVERIFY(page->MSA[0]->geometry().right() < page->Percent1a->x());
        QVERIFY(page->MSA[0]->geometry().right() >= page->Percent1a->x() - 4);
    }

    void refreshKeepsTheChosenTopic() {
        Start();
        home_->TopicClick(2);
        SetFirstScores({"", "", "", "", "", "", "", "", "45.5"});
        home_->RefreshContents();
        QCOMPARE(home_->fields.TopicCount, QStringLiteral("6"));
        QCOMPARE(home_->fields.RefreshLog, QStringLiteral("off"));
        QCOMPARE(home_->Body_Home->MSA[3]->text(), QStringLiteral("45.5"));
        // Showing the Home page again starts from topic 1.
        home_->ToolBarClick(1);
        QCOMPARE(home_->fields.TopicCount, QStringLiteral("1"));
    }

    void tabsAndToolbarReachEveryPage() {
        Start();
        QTemporaryDir out;
        home_->printer().printer().setOutputFormat(QPrinter::PdfFormat);
        home_->printer().printer().setOutputFileName(out.filePath(QStringLiteral("r.pdf")));
        home_->ToolBarClick(2);
        QVERIFY(home_->Body_Report->isVisible());
        home_->ToolBarClick(3);  // printing leaves the page as it is
        QVERIFY(home_->Body_Report->isVisible());
        QCOMPARE(home_->fields.txtToolBarPos, QStringLiteral("3"));
        QVERIFY(QFileInfo(out.filePath(QStringLiteral("r.pdf"))).size() > 0);
        home_->TopicClick(2);
        home_->Tab[1]->click();  // a module tab always shows its Home page, topic 1
        QVERIFY(home_->Body_Home->isVisible());
        QCOMPARE(home_->fields.TopicCount, QStringLiteral("1"));
        home_->Tab[3]->click();
        QVERIFY(home_->Body_About->isVisible());
        home_->Timer1_Timer();
        QCOMPARE(home_->lblTB[0]->text(), QStringLiteral("About"));
        QCOMPARE(home_->lblTB[1]->text(), QStringLiteral("Trash"));
        QCOMPARE(home_->lblTB[3]->text(), QStringLiteral("Setup"));
        QCOMPARE(home_->ToolBar[0]->toolTip(), QStringLiteral("About Marlowin"));
        QVERIFY(home_->ToolBar[2]->isHidden());
        QCOMPARE(home_->fields.LChose, QStringLiteral("2"));
        home_->ToolBarClick(2);
        QVERIFY(home_->Body_Trash->isVisible());
        home_->Tab[1]->click();
        home_->Timer1_Timer();
        QCOMPARE(home_->lblTB[2]->text(), QStringLiteral("Print"));
        QCOMPARE(home_->ToolBar[3]->toolTip(), QStringLiteral("Close program"));
    }

    void trashErasesOnlyAfterYes() {
        Start();
        SetFirstScores({"50"});
        ep::AppendTrendScore(File(ep::ResultsFile::kTrend), "50");
        const auto before = ResultsBytes();
        home_->Tab[3]->click();
        home_->ToolBarClick(2);
        ep::TrashPage* trash = home_->Body_Trash;
        QCOMPARE(trash->state(), ep::TrashPage::State::Offer);
        trash->ButTrashlbl->setFocus();
        QTest::mouseClick(trash->ButTrashlbl, Qt::LeftButton);  // the caption acts as its button
        QCOMPARE(trash->state(), ep::TrashPage::State::Confirm);
        trash->ButTrash_No->click();
        QCOMPARE(trash->state(), ep::TrashPage::State::Offer);
        QCOMPARE(ResultsBytes(), before);
        trash->ButTrash->click();
        trash->ButTrash_Yes->click();
        QCOMPARE(trash->state(), ep::TrashPage::State::Done);
        QVERIFY(trash->Trashlbl3->isVisible());
        QCOMPARE(Bytes(File(ep::ResultsFile::kTrend)), std::string("#TRD#"));
        for (ep::ResultsFile file : ep::kResultsFiles) {
            QCOMPARE(Bytes(File(file)),
                     Bytes(std::filesystem::path(EP_FIXTURE_COURSE) / std::to_string(ep::TemplateResource(file, 2))));
        }
        QVERIFY(trash->ButUndo->isVisible());
        home_->ToolBarClick(1);
        home_->ToolBarClick(2);
        QCOMPARE(trash->state(), ep::TrashPage::State::Offer);

        // Undo stays on offer, and brings back every file byte for byte, once.
        QVERIFY(trash->ButTrash->isVisible() && trash->ButUndo->isVisible());
        {
            Answerer answers;
            QTest::keyClick(trash->ButUndo, Qt::Key_Space);
            QCOMPARE(answers.seen, QStringList{"Your past results have been brought back."});
        }
        QCOMPARE(ResultsBytes(), before);
        QVERIFY(!trash->ButUndo->isVisible());
        home_->TabClick(2);
        QCOMPARE(home_->Body_Home->MSA[0]->text(), QStringLiteral("50"));
    }

    void printsOneBlockPerTopicInZones() {
        Start();
        ep::MarksLists marks = ep::ReadMarksLists(File(ep::ResultsFile::kMarks), 10);
        marks.FSE[6] = "75";
        marks.LTM[6] = "0:12:5";
        marks.CDD[6] = "05/12/2026";
        ep::WriteMarksLists(File(ep::ResultsFile::kMarks), marks, 10);
        home_->RefreshContents();
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("results.pdf"));
        home_->printer().printer().setOutputFormat(QPrinter::PdfFormat);
        home_->printer().printer().setOutputFileName(pdf);
        home_->PrintResults();
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(20000));
        const QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
        QVERIFY(lines.filter(QStringLiteral("Fixture Course")).size() == 1);
        QCOMPARE(lines.filter(QStringLiteral("Whole Numbers")).size(), 1);
        QCOMPARE(lines.filter(QStringLiteral("Fractions")).size(), 1);
        QCOMPARE(lines.filter(QStringLiteral("First take")).size(), 2);
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("Paper [1-5]"))).size(), 10);
        const QStringList scored = lines.filter(QStringLiteral("0:12:5"));
        QCOMPARE(scored.size(), 1);
        const QString line = scored.first();
        const int paper = line.indexOf(QStringLiteral("Paper 1"));
        const int score = line.indexOf(QStringLiteral("75%"));
        const int time = line.indexOf(QStringLiteral("0:12:5"));
        const int date = line.indexOf(QStringLiteral("05/12/2026"));
        const int second = line.lastIndexOf(QLatin1Char('%'));
        QVERIFY(paper >= 0 && paper < score && score < time && time < date && date < second);
        // The heading's columns stand over the values.
        const QString heading = lines.filter(QStringLiteral("First take")).first();
        QVERIFY(qAbs(heading.indexOf(QStringLiteral("First take")) - score) <= 2);
        QVERIFY(qAbs(heading.indexOf(QStringLiteral("Time taken")) - time) <= 2);
    }

    void printingWithoutAPrinterSaysSo() {
        Start();
        if (home_->printer().CanPrint()) QSKIP("this machine has a printer");
        Answerer answers;
        home_->PrintResults();
        QCOMPARE(answers.seen.size(), 1);
        QVERIFY(answers.seen.first().contains(QStringLiteral("no printer")));
    }

    void printerSetupChoosesWithoutPrintingAndCancelKeepsTheSettings() {
        Start();
        home_->printer().printer().setOutputFileName(dir_->filePath(QStringLiteral("chosen.pdf")));
        QString accept;
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
                accept = buttons->button(QDialogButtonBox::Ok)->text();
            }
            dialog->reject();
        });
        home_->PrintSetup();
        QCOMPARE(accept, QStringLiteral("OK"));
        QCOMPARE(home_->printer().printer().outputFileName(), dir_->filePath(QStringLiteral("chosen.pdf")));
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("chosen.pdf"))));
    }

    void theWebLinkWithoutABrowserSaysSoOnce() {
        Start();
        const QByteArray path = qgetenv("PATH");
        QTemporaryDir empty;
        qputenv("PATH", empty.path().toUtf8());  // no xdg-mime, no browser
        Answerer answers;
        ep::OpenMakerWebPage(home_.get(), empty.path());
        qputenv("PATH", path);
        QCOMPARE(answers.seen, QStringList{QStringLiteral("Could not find associated Browser")});
        QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("temphtm.HTM"))));
    }

    void theAboutPageShowsAndOpensTheResultsFolder() {
        Start();
        home_->Tab[3]->click();
        ep::AboutPage* about = home_->Body_About;
        QVERIFY(about->isVisible());
        const QString folder = QDir::cleanPath(dir_->path());
        QCOMPARE(about->lblResultsFolder->toolTip(), folder);
        if (QFontMetrics(about->lblResultsFolder->font()).horizontalAdvance(folder) < 450) {
            QCOMPARE(about->lblResultsFolder->text(), QStringLiteral("Your results are kept in ") + folder);
        }
        QVERIFY(about->lblResultsFolder->isVisible());
        const QList<QLabel*> platform = about->findChildren<QLabel*>();
        QVERIFY(std::any_of(platform.begin(), platform.end(),
                            [](QLabel* l) { return l->text() == QStringLiteral("For Linux"); }));
        QVERIFY(std::none_of(platform.begin(), platform.end(),
                             [](QLabel* l) { return l->text().contains(QStringLiteral("Windows")); }));
        // Below the program's own texts, and inside the page.
        QVERIFY(about->lblResultsFolder->y() > about->lbl_MWURL->geometry().bottom());
        QVERIFY(about->rect().contains(about->ButOpenFolder->geometry()));

        // The button opens the folder with the desktop's file manager, by mouse
        // on its caption or by keyboard, and is named for assistive technology.
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
        ep::SkinButton* button = about->ButOpenFolder;
        QCOMPARE(button->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Open folder"));
        QCOMPARE(accessible->role(), QAccessible::Button);
        QTest::mouseClick(about->ButOpenFolderlbl, Qt::LeftButton);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.opened, (QList<QUrl>{QUrl::fromLocalFile(folder), QUrl::fromLocalFile(folder)}));
        home_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(home_.get()));
        home_->ToolBar[0]->setFocus();
        bool reached = false;
        for (int i = 0; i < 12 && !reached; ++i) {
            QTest::keyClick(home_->focusWidget(), Qt::Key_Tab);
            reached = home_->focusWidget() == button;
        }
        QVERIFY(reached);

        // A name too long for the page loses its middle on screen, not in its tool tip.
        const QString deep = dir_->filePath(QStringLiteral("a-folder-name-long-enough/").repeated(8) + QStringLiteral("end"));
        about->SetResultsFolder(deep);
        QVERIFY(about->lblResultsFolder->text().startsWith(QStringLiteral("Your results are kept in /")));
        QVERIFY(about->lblResultsFolder->text().endsWith(QStringLiteral("/end")));
        QVERIFY(about->lblResultsFolder->text().contains(QChar(0x2026)));
        QVERIFY(about->lblResultsFolder->fontMetrics().horizontalAdvance(about->lblResultsFolder->text()) <=
                about->lblResultsFolder->width());
        QCOMPARE(about->lblResultsFolder->toolTip(), deep);

        // A folder gone since the start is named in a message, not opened.
        about->SetResultsFolder(dir_->filePath(QStringLiteral("gone")));
        Answerer answers;
        button->click();
        QCOMPARE(answers.seen.size(), 1);
        QVERIFY(answers.seen.first().contains(dir_->filePath(QStringLiteral("gone"))));
    }

    void aFolderThatCannotBeWrittenStopsTheStart() {
        QFile blocker(dir_->filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Answerer answers;
        auto home = ep::Contents::Start(*resources_, blocker.fileName());
        QVERIFY(!home);
        QCOMPARE(answers.seen.size(), 1);
        QVERIFY(answers.seen.first().contains(blocker.fileName()));
    }

    void damagedResultsAreReportedNotFatal() {
        Start();
        home_.reset();
        std::ofstream(File(ep::ResultsFile::kMarks), std::ios::binary) << "#FSE#>1\r\n";
        const auto damaged = ResultsBytes();
        {
            Answerer answers(false);  // no fresh start
            Start();
            QCOMPARE(answers.seen.size(), 2);
            QCOMPARE(answers.seen[0], QStringLiteral("Your results file marks2FIX.txt is damaged. Start the Practice "
                                                     "module afresh, with no results?"));
            QVERIFY(answers.seen[1].contains(QStringLiteral("marks2FIX.txt")));
        }
        QCOMPARE(ResultsBytes(), damaged);
        QCOMPARE(home_->Body_Home->MSA[0]->text(), QString());
        // The Report and the printed table name the file rather than show no results.
        home_->ToolBarClick(2);
        QVERIFY(home_->Body_Report->damaged->isVisible());
        QVERIFY(home_->Body_Report->damaged->text().contains(QStringLiteral("marks2FIX.txt")));
        QTemporaryDir out;
        home_->printer().printer().setOutputFormat(QPrinter::PdfFormat);
        home_->printer().printer().setOutputFileName(out.filePath(QStringLiteral("r.pdf")));
        {
            Answerer answers;
            home_->ToolBarClick(3);
            QCOMPARE(answers.seen.size(), 1);
            QVERIFY(answers.seen.first().contains(QStringLiteral("marks2FIX.txt")));
        }
        QVERIFY(!QFile::exists(out.filePath(QStringLiteral("r.pdf"))));
        QCOMPARE(ResultsBytes(), damaged);
        home_->TabClick(4);
        home_->ToolBarClick(2);
        QVERIFY(home_->Body_Trash->isVisible());
        home_->Body_Trash->ButTrash->click();
        home_->Body_Trash->ButTrash_Yes->click();
        home_->TabClick(2);  // the module loads again, whole
        home_->ToolBarClick(2);
        QVERIFY(!home_->Body_Report->damaged->isVisible());
    }

    void theReportSaysWhichFileIsDamaged() {
        Start();
        std::ofstream(File(ep::ResultsFile::kTrend), std::ios::binary) << "#TRD#>50>abc\r\n";
        home_->ToolBarClick(2);
        QVERIFY(home_->Body_Report->damaged->isVisible());
        QVERIFY(home_->Body_Report->damaged->text().contains(QStringLiteral("trend2FIX.txt")));
        std::ofstream(File(ep::ResultsFile::kTrend), std::ios::binary) << "#TRD#>50\r\n";
        home_->ToolBarClick(2);
        QVERIFY(!home_->Body_Report->damaged->isVisible());
        QVERIFY(home_->Body_Report->RC1Summary->isVisible());
    }

    void theReportSectionsOpenOneAtATime() {
        Start();
        home_->ToolBarClick(2);
        ep::ReportPage* report = home_->Body_Report;
        const int h = report->SectionsHeight();  // the sections share the page above its foot
        const int bar = report->RCBar[0]->height();
        QCOMPARE(report->RCBar[1]->y(), h - 2 * bar);
        QVERIFY(report->RC1Summary->isVisible());
        report->RCBar[2]->click();
        QCOMPARE(home_->fields.txtReportPos, QStringLiteral("3"));
        QCOMPARE(report->RCBar[1]->y(), bar);
        QCOMPARE(report->RCBar[2]->y(), 2 * bar);
        QVERIFY(report->RC3Trend->isVisible() && !report->RC1Summary->isVisible());
        QCOMPARE(report->RC3Trend->y(), 3 * bar);
        // Showing the report again keeps the open section; a tab click resets it.
        home_->ToolBarClick(1);
        home_->ToolBarClick(2);
        QVERIFY(report->RC3Trend->isVisible());
        home_->Tab[1]->click();
        home_->ToolBarClick(2);
        QVERIFY(report->RC1Summary->isVisible());
        report->RCBar[1]->click();
        QCOMPARE(report->RCBar[2]->y(), h - bar);
        QVERIFY(report->RC2Topical->isVisible());
    }

    void theTrendChartPlotsTheTwentyMostRecent() {
        Start();
        for (int i = 1; i <= 25; ++i) ep::AppendTrendScore(File(ep::ResultsFile::kTrend), std::to_string(i * 4));
        home_->ToolBarClick(2);
        home_->Body_Report->RCBar[2]->click();
        ep::TrendPlot* plot = home_->Body_Report->RC3TrendPlot;
        QCOMPARE(plot->scores().size(), std::size_t{20});
        QCOMPARE(plot->scores().front(), 24.0);  // the sixth score
        const std::vector<ep::ChartPoint> points = plot->Points();
        const QRectF area = plot->ChartArea();
        QCOMPARE(points.front().x, area.width() / 21);
        QCOMPARE(points.front().y, (100 - 24) * area.height() / 100);
        QCOMPARE(points.back().y, 0.0);  // 100 % at the top
        ep::CreateResultsFiles(*resources_, home_->course, Data());
        home_->ToolBarClick(2);
        QVERIFY(plot->Points().empty());
    }

    void theShippedCourseStartsAndOpensItsPapers() {
        home_ = ep::Contents::Start(skin_, dir_->path());  // the program's own resources
        QVERIFY(home_);
        home_->show();
        QStringList results = QDir(dir_->path()).entryList({QStringLiteral("*.txt")}, QDir::Files);
        QCOMPARE(results.size(), 6);
        for (ep::ResultsFile file : ep::kResultsFiles) {
            const auto path = ep::ResultsFilePath(Data(), file, 2, home_->fields.lblCOD.toStdString());
            QCOMPARE(Bytes(path), *skin_.Load(ep::TemplateResource(file, 2), ep::kCustomType));
        }
        QCOMPARE(home_->Body_Home->Topic[9]->text(), QStringLiteral("Algebra"));
        QVERIFY(home_->Body_Home->Topic[9]->isVisible());
        home_->Body_Home->Topic[2]->click();
        QCOMPARE(home_->fields.TopicCount, QStringLiteral("11"));
        QCOMPARE(home_->Body_Home->SubH1->text(), QStringLiteral("Fractions"));
        QCOMPARE(home_->fields.TtPapersCon, QStringLiteral("50"));
        home_->Body_Home->Pa[1]->click();
        QCOMPARE(home_->fields.PaperNum, QStringLiteral("112"));
        home_->Body_Home->Topic[9]->click();
        home_->Body_Home->Pa[4]->click();
        QCOMPARE(home_->fields.PaperNum, QStringLiteral("150"));
    }

    void everyControlIsReachableByKeyboard() {
        Start();
        home_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(home_.get()));
        home_->Tab[1]->setFocus();
        QList<QWidget*> reached;
        for (int i = 0; i < 40; ++i) {
            QWidget* focus = home_->focusWidget();
            QVERIFY(focus);
            reached << focus;
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QVERIFY(reached.contains(home_->Tab[3]));
        QVERIFY(reached.contains(home_->ToolBar[1]));
        QVERIFY(reached.contains(home_->Body_Home->Topic[1]));
        QVERIFY(reached.contains(home_->Body_Home->Pa[4]));
        home_->Body_Home->Topic[1]->setFocus();
        QTest::keyClick(home_->Body_Home->Topic[1], Qt::Key_Return);
        QCOMPARE(home_->fields.TopicCount, QStringLiteral("6"));
        home_->ToolBar[1]->setFocus();
        QTest::keyClick(home_->ToolBar[1], Qt::Key_Space);
        QVERIFY(home_->Body_Report->isVisible());
    }
};

QTEST_MAIN(ContentsTest)
#include "contents_test.moc"
