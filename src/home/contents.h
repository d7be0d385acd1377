#pragma once

// The course home window: start-up is its loading, it lives for the whole
// run, and it hands papers to the paper windows through its fields.

#include <QLabel>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "course.h"
#include "paper_host.h"
#include "paper_window.h"
#include "report_card.h"
#include "results_printer.h"
#include "results_store.h"
#include "skinned_window.h"
#include "startup.h"

namespace ep {

class AboutPage;
class HomePage;
class ReportPage;
class TrashPage;

// The home window's hidden fields, as text, as the paper windows read them.
struct HomeFields {
    QString LChose;         // current module digit
    QString lblCOD;         // course code
    QString TopicCount = QStringLiteral("1");  // paper slot of the chosen topic's first paper
    QString TtPapersCon;    // the module's paper count
    QString PaperNum;       // paper key to open
    QString TakeNum;        // attempt to open: "1" or "2"
    QString txtTabPos;      // "1".."3" a module tab, "4" Help
    QString txtToolBarPos = QStringLiteral("1");
    QString txtReportPos = QStringLiteral("1");
    QString RefreshLog = QStringLiteral("off");
    QString PopUpResponse;
};

class Contents : public SkinnedWindow, public PaperHost {
    Q_OBJECT
public:
    // The whole start-up: writes the skin (before any picture is loaded),
    // builds the window and loads the course. Returns nothing, after saying
    // why in a message box, when the program cannot run (its folder cannot be
    // written, the course is damaged).
    static std::unique_ptr<Contents> Start(const ResourceSource& resources, const QString& dataFolder);

    // Expects the skin already written to the data folder.
    Contents(const ResourceSource& resources, const QString& dataFolder);
    ~Contents() override;

    // Start-up after the skin and the window chrome; false when the program
    // cannot run.
    bool Form_Load();

    // Navigation.
    void TabClick(int tab);          // Tab01_Click .. Tab04_Click
    void ToolBarClick(int position); // ToolBar01_Click .. ToolBar04_Click
    void ShowPage();
    void SelectTab(int tab);
    void CloseProgram();

    // Home page.
    void LoadModuleResults();
    void TopicClick(int topic);      // Topic1_Click .. Topic10_Click
    void TopicChoosing(int firstSlot);
    void OpenPaper(int index, int attempt);

    // Actions.
    void PrintResults();
    void PrintSetup();
    // The Report page's "Report card" button: the print dialog, to print the
    // card or save it as a PDF file.
    void ButReportCard_Click();
    // Writes the report card as a PDF file on the printer's paper; false,
    // after saying why, when it cannot (a damaged results file, a file that
    // cannot be written).
    bool SaveReportCard(const QString& file);

    void Timer1_Timer() override;

    // Asks the pupil a question or tells them something through the pop-up;
    // returns the reply for a question.
    bool AskPupil(const QString& title, const QString& message);
    void TellPupil(const QString& title, const QString& message);

    // PaperHost
    QString LChose() const override { return fields.LChose; }
    QString lblCOD() const override { return fields.lblCOD; }
    QString TopicCount() const override { return fields.TopicCount; }
    QString TtPapersCon() const override { return fields.TtPapersCon; }
    QString PaperNum() const override { return fields.PaperNum; }
    QString SubH1() const override;
    QString PopUpResponse() const override { return fields.PopUpResponse; }
    void SetPopUpResponse(const QString& reply) override { fields.PopUpResponse = reply; }
    void RefreshContents() override;
    const ResourceSource& resources() const override { return resources_; }
    QString dataFolder() const override { return dataFolder_; }

    HomeFields fields;
    CourseDefinition course;
    ModuleResults module;   // the current module's topics, papers and marks

    // Controls.
    std::array<SkinButton*, 4> Tab{};
    std::array<CaptionLabel*, 4> Tablbl{};
    QWidget* TabStrip;
    std::array<SkinButton*, 4> ToolBar{};
    std::array<CaptionLabel*, 4> lblTB{};
    QLabel* lblCOD_;        // shows the course code
    QLabel* CourseTitle;
    HomePage* Body_Home;
    ReportPage* Body_Report;
    TrashPage* Body_Trash;
    AboutPage* Body_About;

    ResultsPrinter& printer() { return printer_; }

    // The paper window on show, if any.
    PaperWindow* paperWindow() const { return paper_; }
    // Whether the web engine has started in the background since the window
    // first showed (see WarmWebEngine).
    bool WebEngineWarm() const { return engineWarm_; }

signals:
    // A paper window was asked for fields.PaperNum and fields.TakeNum.
    void paperRequested(int attempt);

protected:
    void imgProgClose_Click() override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildControls();
    // Once the window is on the screen: the web engine started in the
    // background, so that the first paper opens as fast as any other.
    void WarmWebEngine();
    void LayoutTabStrip();
    void ShowPanel(QWidget* page);
    void UpdateTabImage(int tab);
    void UpdateToolbarButton(int position);
    void EraseResults();
    void UndoErase();
    // Asks the pupil what to do with a module whose results files the start
    // found missing or damaged: bring back its newest clean backup, or start
    // it afresh. Nothing is written unless the pupil says so.
    void OfferRepair(const ModuleTrouble& trouble);
    // Closes the open paper window, saving its sheet unless it is marked;
    // false when it stays open (the save failed, or it is busy marking).
    bool ClosePaperWindows();
    std::filesystem::path DataPath() const;
    // The Report page's figures for the current module: the marks as last
    // loaded, the trend file as it is now. Empty, with the damaged results
    // file's name in `damagedFile`, when a file cannot be read.
    std::optional<ReportData> BuildReport(QString* damagedFile) const;
    // The card's content, or nothing after telling the pupil which results
    // file is damaged.
    std::optional<ReportCardContent> MakeReportCard();

    const ResourceSource& resources_;
    QString dataFolder_;
    ResultsPrinter printer_;
    QPointer<PaperWindow> paper_;
    bool closing_ = false;
    bool warmQueued_ = false;
    bool engineWarm_ = false;
    // The name of the module's results file that its last load found missing
    // or damaged: the Report and the printed table then say so instead of
    // showing no results.
    QString damagedMarks_;
    // The store as it was before the last erase of this run, for Undo.
    std::optional<BackupSet> undo_;
};

}  // namespace ep
