// Journeys where things go wrong, with the shipped course in fresh data
// folders: the folder cannot be written after the start, a results file is
// damaged between two starts, the program is killed with a paper open. Each
// ends with a message that names the problem and with every results file
// whole and nothing the pupil had saved lost.

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "about_page.h"
#include "journey_support.h"
#include "report_page.h"
#include "store_change.h"
#include "tagged_file.h"
#include "trash_page.h"

using namespace ep;
using namespace ep::e2e;

namespace {

// Every regular file of a folder and its bytes, the question pages aside
// (they come and go with the question on show).
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.rfind("temppaper", 0) != 0) files[name] = Bytes(entry.path());
    }
    return files;
}

// Makes the data folder one the program cannot write while it lives. The
// folder loses its write permission; that does not stop root, so for root
// the temporary file that every write goes through (name + ".tmp", renamed
// over the file) is taken by a directory for each file the program writes.
// With `folderToo` false only the named files are blocked, for anyone.
class Unwritable {
public:
    Unwritable(const std::filesystem::path& folder, const std::vector<std::string>& names, bool folderToo = true)
        : folder_(folder), folderToo_(folderToo) {
        if (::geteuid() == 0 || !folderToo) {
            for (const std::string& name : names) {
                const std::filesystem::path blocker = folder / (name + ".tmp");
                if (std::filesystem::create_directory(blocker)) blockers_.push_back(blocker);
            }
        }
        if (folderToo) ::chmod(folder.c_str(), 0555);
    }
    ~Unwritable() { Release(); }
    void Release() {
        if (folderToo_) ::chmod(folder_.c_str(), 0700);
        for (const auto& blocker : blockers_) std::filesystem::remove(blocker);
        blockers_.clear();
    }

private:
    std::filesystem::path folder_;
    bool folderToo_;
    std::vector<std::filesystem::path> blockers_;
};

std::vector<std::string> Answers(const std::vector<QString>& given, int slotCount) {
    std::vector<std::string> values(static_cast<std::size_t>(slotCount));
    for (std::size_t i = 0; i < given.size(); ++i) values[i] = given[i].toStdString();
    return values;
}

}  // namespace

class TroubleJourneyTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Desk> desk_;
    std::unique_ptr<StoreModel> store_;
    PaperCatalogue paper2_;
    std::string code_;  // the built-in course's code

    std::filesystem::path Data() const { return dir_->path().toStdString(); }
    std::string Code() const { return code_; }
    QString Name(ResultsFile file) const { return QString::fromStdString(ResultsFileName(file, 2, Code())); }
    void CheckStore() const {
        const QString mismatch = store_->Mismatch();
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
    // A fresh folder, the program started in it and Fractions chosen.
    void StartFresh() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        desk_ = std::make_unique<Desk>(dir_->path());
        STEP(desk_->Start());
        store_ = std::make_unique<StoreModel>(Data(), Code());
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
    }
    // The pupil types `answers` into questions 1, 2, ... of the open paper.
    void TypeFromOne(const std::vector<QString>& answers) {
        for (std::size_t i = 0; i < answers.size(); ++i) {
            STEP(desk_->GoTo(static_cast<int>(i) + 1));
            QTest::keyClicks(desk_->Box(1), answers[i]);
        }
    }
    void Save() {
        QStringList seen;
        STEP(desk_->Press(desk_->paper->toolbar->lblTB[1], {QStringLiteral("OK")}, seen));
        QCOMPARE(seen, QStringList{"Marlowin|Paper saved|OK"});
    }
    // Everything the child has printed so far.
    static QString Output(QProcess& child, QString& seen) {
        seen += QString::fromLocal8Bit(child.readAllStandardOutput());
        return seen;
    }

    // The one message box the pupil saw names the file and says `summary`.
    static void CheckBox(const QStringList& seen, const QString& summary, const QString& file) {
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].startsWith(QStringLiteral("box|")), qPrintable(seen[0]));
        QVERIFY2(seen[0].contains(QLatin1Char('|') + summary + QLatin1Char('|')), qPrintable(seen[0]));
        QVERIFY2(seen[0].contains(QLatin1Char('"') + file + QLatin1Char('"')), qPrintable(seen[0]));
    }

private slots:
    void initTestCase() {
        if (!QtResources().Load(kCourseDefinitionResource, kCustomType)) QFAIL("the shipped course is not built in");
        paper2_ = Catalogue(112);
        QTemporaryDir scratch;
        int status = 0;
        code_ = ReadCourseDefinition(QtResources(), scratch.path().toStdString(), status).code;
        QCOMPARE(status, 0);
    }

    void cleanup() {
        if (desk_) desk_->Clear();
        desk_.reset();
        dir_.reset();
    }

    void aFolderThatCannotBeWrittenLosesNothing() {
        STEP(StartFresh());
        STEP(desk_->Load(desk_->Page()->PaLabel[1]));
        const std::vector<QString> answers = {Key(paper2_, 1), Key(paper2_, 2)};
        STEP(TypeFromOne(answers));
        STEP(desk_->GoTo(1));  // question 2 saved by the move
        store_->SetLine(ResultsFile::kFirst, 112, Answers({answers[0], answers[1]}, paper2_.slotCount));
        STEP(CheckStore());
        const auto before = Snapshot(Data());

        std::vector<std::string> written;
        for (ResultsFile file : kResultsFiles) written.push_back(ResultsFileName(file, 2, Code()));
        written.insert(written.end(), {"temptext.txt", "temptext30000.txt"});
        for (int q = 1; q <= paper2_.QuestionCount(); ++q) {
            written.push_back("temppaper" + paper2_.questions[static_cast<std::size_t>(q)] + ".mht");
        }
        Unwritable locked(Data(), written);
        const QString first = Name(ResultsFile::kFirst);
        QStringList seen;

        // Saving, marking, moving on, opening another paper and erasing all
        // results each stop with a message that names the file.
        QTest::keyClicks(desk_->Box(1), QStringLiteral("0"));  // now wrong: the key and a 0
        STEP(desk_->Press(desk_->paper->toolbar->lblTB[1], {}, seen));
        STEP(CheckBox(seen, QStringLiteral("Your answers could not be saved."), first));
        QVERIFY(seen[0].contains(QDir::toNativeSeparators(dir_->path())));
        STEP(desk_->Press(desk_->paper->ToolBar02, {}, seen));  // Mark saves first
        STEP(CheckBox(seen, QStringLiteral("Your answers could not be saved."), first));
        QCOMPARE(desk_->paper->Status, QStringLiteral("0"));
        STEP(desk_->Press(desk_->paper->ToolBar06, {}, seen));  // Next saves too, and moves on
        STEP(CheckBox(seen, QStringLiteral("Your answers could not be saved."), first));
        QCOMPARE(desk_->Shown(), 2);
        QPointer<PaperWindow> open = desk_->paper;
        STEP(desk_->Press(desk_->Page()->PaLabel[0], {}, seen));  // "Load paper 1": this one must save first
        STEP(CheckBox(seen, QStringLiteral("Your answers could not be saved."), first));
        QCOMPARE(desk_->home->paperWindow(), open.data());
        QTest::mouseClick(desk_->home->Tab[3], Qt::LeftButton);
        QTest::mouseClick(desk_->home->ToolBar[1], Qt::LeftButton);  // Trash
        QTest::mouseClick(desk_->home->Body_Trash->ButTrash, Qt::LeftButton);
        STEP(desk_->Press(desk_->home->Body_Trash->ButTrash_Yes, {}, seen));
        STEP(CheckBox(seen, QStringLiteral("Your answers could not be saved."), first));
        QCOMPARE(desk_->home->Body_Trash->state(), TrashPage::State::Offer);
        QTest::mouseClick(desk_->home->Tab[1], Qt::LeftButton);
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        QVERIFY(Snapshot(Data()) == before);
        STEP(CheckStore());

        // Writable again: nothing typed was lost.
        locked.Release();
        STEP(Save());
        store_->SetLine(ResultsFile::kFirst, 112, Answers({answers[0] + QStringLiteral("0"), answers[1]}, paper2_.slotCount));
        STEP(CheckStore());

        // The trend file alone cannot be written: the marking is not recorded
        // anywhere, and once it can be it is recorded once.
        Unwritable trendLocked(Data(), {ResultsFileName(ResultsFile::kTrend, 2, Code())}, false);
        STEP(desk_->Press(desk_->paper->ToolBar02, {QStringLiteral("Yes")}, seen));
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0], kNotAll[0]);
        STEP(CheckBox(seen.mid(1), QStringLiteral("The paper could not be marked: its results could not be recorded. "
                                                  "Your answers are kept; you can mark it again."),
                      Name(ResultsFile::kTrend)));
        QCOMPARE(desk_->paper->Status, QStringLiteral("0"));
        QVERIFY(!desk_->Box(1)->isReadOnly());
        STEP(CheckStore());
        trendLocked.Release();
        STEP(desk_->Mark(desk_->paper->ToolBar02, kNotAll));
        const std::string score = PercentText(std::stoi(paper2_.marks[2]), paper2_.totalMarks);
        QCOMPARE(desk_->paper->PScoring->text(), QString::fromStdString(score));
        std::vector<std::string> results(static_cast<std::size_t>(paper2_.slotCount), kCross);
        results[1] = kTick;
        store_->SetLine(ResultsFile::kFirstResults, 112, results);
        store_->SetMark("FSE", 12, score);
        store_->SetMark("LTM", 12, desk_->paper->LTime->text().toStdString());
        store_->SetMark("CDD", 12, desk_->paper->ETime->text().toStdString());
        store_->SetMark("FST", 12, "1");
        store_->AddTrend(score);
        STEP(CheckStore());
        STEP(desk_->ClosePaper(desk_->paper->ToolBar04));
        QCOMPARE(desk_->Page()->MSA[1]->text(), QString::fromStdString(score));
        QCOMPARE(store_->Strays(), QStringList());

        // With no paper open, Trash in a folder that cannot be written says so and erases nothing.
        Unwritable lockedAgain(Data(), written);
        QTest::mouseClick(desk_->home->Tab[3], Qt::LeftButton);
        QTest::mouseClick(desk_->home->ToolBar[1], Qt::LeftButton);
        QTest::mouseClick(desk_->home->Body_Trash->ButTrash, Qt::LeftButton);
        STEP(desk_->Press(desk_->home->Body_Trash->ButTrash_Yes, {QStringLiteral("OK")}, seen));
        QCOMPARE(seen.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^Trash\\|Not every results file could be erased: the "
                                                   "(folder or file may not|file cannot) be written\\.\\|OK$"))
                     .match(seen[0])
                     .hasMatch(),
                 qPrintable(seen[0]));
        QCOMPARE(desk_->home->Body_Trash->state(), TrashPage::State::Offer);
        STEP(CheckStore());
        lockedAgain.Release();
        QCOMPARE(store_->Strays(), QStringList());
    }

    void aDamagedMarksFileIsNamedAndKeptUntilTrash() {
        STEP(StartFresh());
        STEP(desk_->Load(desk_->Page()->PaLabel[1]));
        STEP(TypeFromOne({Key(paper2_, 1)}));
        STEP(Save());
        STEP(desk_->ClosePaper(desk_->paper->ToolBar04));
        STEP(desk_->Quit());

        // Between the two starts the marks file loses its second half.
        const std::filesystem::path marks = store_->Path(ResultsFile::kMarks);
        const std::string whole = Bytes(marks);
        WriteBytes(marks, whole.substr(0, whole.size() / 2));
        const auto damaged = Snapshot(Data());
        const QString name = Name(ResultsFile::kMarks);

        // The start names it, offers the backup of the morning and a fresh
        // start, and, both declined, writes nothing.
        QStringList said;
        STEP(desk_->StartAnswering({QStringLiteral("No"), QStringLiteral("No")}, said));
        QCOMPARE(said.size(), 3);
        const QString what = QStringLiteral("Results|Your results file %1 is damaged. ").arg(name);
        QVERIFY2(said[0].startsWith(what + QStringLiteral("Bring back your results as they were on ")) &&
                     said[0].endsWith(QStringLiteral("?|Yes/No")),
                 qPrintable(said[0]));
        QCOMPARE(said[1], what + QStringLiteral("Start the Practice module afresh, with no results?|Yes/No"));
        QCOMPARE(said[2], QStringLiteral("Results|Your results file %1 is damaged. To start again, use Trash on the "
                                         "Help tab.|OK")
                              .arg(name));
        QVERIFY(Snapshot(Data()) == damaged);
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        for (QLabel* score : desk_->Page()->MSA) QCOMPARE(score->text(), QString());

        // The Report and the printed table say so rather than show no results.
        QTest::mouseClick(desk_->home->lblTB[1], Qt::LeftButton);
        ReportPage* report = desk_->home->Body_Report;
        QVERIFY(report->isVisible());
        QVERIFY(report->damaged->isVisible());
        QVERIFY2(report->damaged->text().contains(name), qPrintable(report->damaged->text()));
        QVERIFY(!report->RC1Summary->isVisible());
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("results.pdf"));
        desk_->home->printer().printer().setOutputFormat(QPrinter::PdfFormat);
        desk_->home->printer().printer().setOutputFileName(pdf);
        QStringList seen;
        STEP(desk_->Press(desk_->home->ToolBar[2], {}, seen));
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].contains(name), qPrintable(seen.join(QLatin1Char('\n'))));
        QVERIFY(!QFile::exists(pdf));

        // Its papers do not open, and the damaged file stays as it is.
        STEP(desk_->Press(desk_->home->lblTB[0], {}, seen));  // "Home" reads the file again, and says so again
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].contains(name));
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        STEP(desk_->Press(desk_->Page()->PaLabel[1], {}, seen));
        STEP(CheckBox(seen, QStringLiteral("This paper cannot be opened."), name));
        QVERIFY(!desk_->home->paperWindow());
        QVERIFY(Snapshot(Data()) == damaged);

        // Trash starts afresh.
        QTest::mouseClick(desk_->home->Tablbl[3], Qt::LeftButton);
        QTest::mouseClick(desk_->home->lblTB[1], Qt::LeftButton);
        QTest::mouseClick(desk_->home->Body_Trash->ButTrashlbl, Qt::LeftButton);
        QTest::mouseClick(desk_->home->Body_Trash->ButTrash_Yes, Qt::LeftButton);
        QCOMPARE(store_->NotTemplates(), QString());
        QTest::mouseClick(desk_->home->Tab[1], Qt::LeftButton);
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        STEP(desk_->Load(desk_->Page()->PaLabel[1]));
        QCOMPARE(desk_->Box(1)->text(), QString());
        STEP(desk_->ClosePaper(desk_->paper->ToolBar04));
    }

    void aDamagedPaperLineOrTrendIsNamedAndKept() {
        STEP(StartFresh());
        STEP(desk_->Quit());
        // Paper 2's line of the answers file loses values; the trend file is cut short.
        const std::filesystem::path first = store_->Path(ResultsFile::kFirst);
        std::string bytes = Bytes(first);
        const std::string line = StoreModel::LineWith(bytes, "#112#");
        bytes.replace(bytes.find(line), line.size(), "#112#>1>2");
        WriteBytes(first, bytes);
        WriteBytes(store_->Path(ResultsFile::kTrend), "#TR");
        store_->SetLine(ResultsFile::kFirst, 112, {"1", "2"});
        const auto damaged = Snapshot(Data());

        // No backup yet: the start offers only a fresh start, declined.
        const QString what = QStringLiteral("Results|Your results file %1 is damaged. ").arg(Name(ResultsFile::kTrend));
        STEP(desk_->Start({what + QStringLiteral("Start the Practice module afresh, with no results?|Yes/No"),
                           what + QStringLiteral("To start again, use Trash on the Help tab.|OK")},
                          {QStringLiteral("No")}));
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        QStringList seen;
        STEP(desk_->Press(desk_->Page()->PaLabel[1], {}, seen));
        STEP(CheckBox(seen, QStringLiteral("This paper cannot be opened."), Name(ResultsFile::kFirst)));
        QVERIFY2(seen[0].contains(QStringLiteral("key \"112\"")), qPrintable(seen[0]));
        QVERIFY(!desk_->home->paperWindow());

        // Nor does paper 1: its saves would write over a store the pupil may still bring back.
        STEP(desk_->Press(desk_->Page()->PaLabel[0], {}, seen));
        STEP(CheckBox(seen, QStringLiteral("This paper cannot be opened."), Name(ResultsFile::kTrend)));
        QVERIFY(!desk_->home->paperWindow());
        QVERIFY(Snapshot(Data()) == damaged);
        const QString mismatch = store_->Mismatch();
        QVERIFY2(mismatch == Name(ResultsFile::kTrend) + QStringLiteral(" holds >(no line) instead of "), qPrintable(mismatch));

        QTest::mouseClick(desk_->home->ToolBar[1], Qt::LeftButton);  // Report
        QVERIFY(desk_->home->Body_Report->damaged->isVisible());
        QVERIFY(desk_->home->Body_Report->damaged->text().contains(Name(ResultsFile::kTrend)));
        STEP(desk_->Quit());
        QVERIFY(Snapshot(Data()) == damaged);
    }

    void aMissingFileIsBroughtBackFromTheNewestBackup() {
        STEP(StartFresh());
        STEP(desk_->Load(desk_->Page()->PaLabel[1]));
        STEP(TypeFromOne({Key(paper2_, 1), Key(paper2_, 2)}));
        STEP(desk_->Mark(desk_->paper->ToolBar02, kNotAll));
        STEP(desk_->ClosePaper(desk_->paper->ToolBar04));
        STEP(desk_->Quit());
        const auto marked = Snapshot(Data());
        // The day's first change was backed up before it; as if that was
        // yesterday, today's first change backs up the marked store.
        const std::filesystem::path backups = Data() / "backups";
        const std::vector<std::string> made = ListBackups(Data());
        QCOMPARE(made.size(), std::size_t(1));
        std::filesystem::rename(backups / made[0], backups / "2001-01-01_09-00-00");
        STEP(desk_->Start());
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        STEP(desk_->Load(desk_->Page()->PaLabel[0]));
        STEP(TypeFromOne({Key(Catalogue(111), 1)}));
        STEP(Save());
        STEP(desk_->ClosePaper(desk_->paper->ToolBar04));
        STEP(desk_->Quit());
        QCOMPARE(ListBackups(Data()).size(), std::size_t(2));

        // The trend file is lost between two starts: the start offers the
        // newest backup, and Yes brings back all six files as they were in it.
        std::filesystem::remove(store_->Path(ResultsFile::kTrend));
        const auto lost = Snapshot(Data());
        QStringList said;
        STEP(desk_->StartAnswering({QStringLiteral("Yes")}, said));
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].startsWith(QStringLiteral("Results|Your results file %1 is missing. Bring back your results as "
                                                   "they were on ")
                                        .arg(Name(ResultsFile::kTrend))),
                 qPrintable(said[0]));
        QVERIFY(Snapshot(Data()) == marked);
        // What was there went into a backup of its own first.
        const std::string newest = ListBackups(Data()).front();
        for (const auto& [name, bytes] : lost) QCOMPARE(Bytes(BackupFolder(Data(), newest) / name), bytes);
        QVERIFY(!std::filesystem::exists(BackupFolder(Data(), newest) / ResultsFileName(ResultsFile::kTrend, 2, Code())));
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        QVERIFY(!desk_->Page()->MSA[1]->text().isEmpty());
        QCOMPARE(store_->Strays(), QStringList());
    }

    void aKilledProgramLeavesWholeFiles() {
        // The program itself, copied into a folder of its own, makes its
        // results there: the program's folder is its data folder.
        QTemporaryDir bin;
        const QString program = bin.filePath(QStringLiteral("exampractice"));
        QVERIFY(QFile::copy(QStringLiteral(EP_PROGRAM), program));
        QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner));
        StoreModel installed(bin.path().toStdString(), code_);
        {
            QProcess real;
            real.start(program, {});
            QVERIFY(real.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(installed.NotTemplates().isEmpty(), 60000);
            real.kill();
            QVERIFY(real.waitForFinished());
        }
        QCOMPARE(installed.NotTemplates(), QString());
        // The kill may land between the first commit's last rename and the
        // removal of its journal: what it leaves is what the next start's
        // recovery finishes (the store's crash test covers that).
        QStringList strays = installed.Strays();
        strays.removeIf([](const QString& name) {
            return name == QLatin1String("results.journal") || name.endsWith(QLatin1String(".tmp"));
        });
        QCOMPARE(strays, QStringList{"exampractice"});

        // Killed while the pupil answers a paper, saving at every move.
        dir_ = std::make_unique<QTemporaryDir>();
        const std::vector<QString> answers = {Key(paper2_, 1), Key(paper2_, 2), Key(paper2_, 3)};
        QStringList arguments{dir_->path()};
        for (const QString& a : answers) arguments << a;
        QProcess pupil;
        pupil.start(QStringLiteral(EP_PUPIL_DRIVER), arguments);
        QVERIFY(pupil.waitForStarted());
        QString printed;
        QTRY_VERIFY_WITH_TIMEOUT(Output(pupil, printed).contains(QStringLiteral("saved\n")) ||
                                     pupil.state() == QProcess::NotRunning,
                                 90000);
        QVERIFY2(printed.startsWith(QStringLiteral("saved\n")), qPrintable(printed + pupil.readAllStandardError()));
        QTRY_VERIFY_WITH_TIMEOUT(Output(pupil, printed).contains(QStringLiteral("moved 25\n")), 90000);
        pupil.kill();
        QVERIFY(pupil.waitForFinished());
        QCOMPARE(pupil.exitStatus(), QProcess::CrashExit);

        // Every file whole: each reads, paper 2's line holds the saved
        // answers and then what the moves saved, every other line is as it was.
        store_ = std::make_unique<StoreModel>(Data(), code_);
        QStringList left = store_->Strays();
        qInfo("left by the killed program: %s", qPrintable(left.join(QLatin1Char(' '))));
        const std::filesystem::path first = store_->Path(ResultsFile::kFirst);
        PaperLine line;
        try {
            ReadMarksLists(store_->Path(ResultsFile::kMarks), 50);
            ReadTrendScores(store_->Path(ResultsFile::kTrend));
            line = ReadPaperLine(first, 50, 112, paper2_.slotCount);
        } catch (const TaggedFileError& error) {
            QFAIL(error.what());
        }
        const TextList& saved = line.values;
        for (std::size_t i = 0; i < answers.size(); ++i) QCOMPARE(QString::fromStdString(saved[i + 1]), answers[i]);
        for (std::size_t i = answers.size() + 1; i <= saved.size(); ++i) {
            const bool moved = i <= answers.size() + 2;
            QVERIFY2(moved ? QRegularExpression(QStringLiteral("^[0-9]*$")).match(QString::fromStdString(saved[i])).hasMatch()
                           : saved[i].empty(),
                     saved[i].c_str());
        }
        store_->SetLine(ResultsFile::kFirst, 112, saved.items());
        STEP(CheckStore());

        // Started again: nothing half-written or temporary is left, and the
        // paper opens with what was saved.
        desk_ = std::make_unique<Desk>(dir_->path());
        STEP(desk_->Start());
        QCOMPARE(store_->Strays(), QStringList());
        STEP(CheckStore());
        QTest::mouseClick(desk_->Page()->Topic[2], Qt::LeftButton);
        STEP(desk_->Load(desk_->Page()->PaLabel[1]));
        for (int q = 1; q <= 5; ++q) {
            STEP(desk_->GoTo(q));
            QCOMPARE(desk_->Box(1)->text(), QString::fromStdString(saved[static_cast<std::size_t>(q)]));
        }
        STEP(desk_->ClosePaper(desk_->paper->ToolBar04));
        QCOMPARE(store_->Strays(), QStringList());
        STEP(CheckStore());
    }
};

QTEST_MAIN(TroubleJourneyTest)
#include "trouble_journey_test.moc"
