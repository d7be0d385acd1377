#include "contents.h"

#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "about_page.h"
#include "accessibility.h"
#include "button_states.h"
#include "home_page.h"
#include "popup.h"
#include "report_data.h"
#include "report_page.h"
#include "skin_files.h"
#include "skin_palette.h"
#include "test1.h"
#include "test2.h"
#include "startup.h"
#include "tagged_file.h"
#include "trash_page.h"
#include "web_engine.h"

namespace ep {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kHeaderTop = skin::kTitleHeight;
constexpr int kHeaderHeight = 66;
constexpr QSize kTabSize{79, 24};
constexpr QSize kToolSize{44, 45};
constexpr int kToolPitch = 70;
constexpr int kStripTop = kHeaderTop + kHeaderHeight + kTabSize.height() - 4;
constexpr int kStripHeight = 6;
// From the window's first paint to the web engine's start: the window is on
// the screen and the pupil is reading it.
constexpr int kWarmDelayMs = 250;

QString Latin(const char* text) { return QString::fromLatin1(text); }

// What the toolbar means on a module tab and on the Help tab.
struct ToolMeaning {
    const char* caption;
    const char* toolTip;
    const char* pictures;  // picture family, "" for a hidden button
    // The name a screen reader says where the caption alone would be
    // ambiguous: the title bar has a Close, the Trash page a Trash.
    const char* accessibleName = "";
};
constexpr ToolMeaning kModuleTools[] = {
    {"Home", "Load Home page", "home"},
    {"Report", "Load Report card", "report"},
    {"Print", "Print results", "print"},
    {"Close", "Close program", "close", "Close program"},
};
constexpr ToolMeaning kHelpTools[] = {
    {"About", "About Marlowin", "about"},
    {"Trash", "Trash past results", "trash", "Trash past results"},
    {"", "", ""},
    {"Setup", "Printer Setup", "setup"},
};

// The band under the tabs; the chosen tab stands in front of it.
class Strip : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette::kPage);
        painter.setPen(QColor(0x9d, 0xb4, 0xd3));
        painter.drawLine(0, 0, width(), 0);
    }
};

QWidget* Panel(QWidget* parent, const QColor& colour) {
    auto* panel = new QWidget(parent);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
    return panel;
}

template <typename Page>
Page* PagePanel(Page* page) {
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, palette::kPage);
    page->setPalette(pal);
    page->setAutoFillBackground(true);
    return page;
}

}  // namespace

Contents::Contents(const ResourceSource& resources, const QString& dataFolder)
    : SkinnedWindow(WindowKind::Main, dataFolder), resources_(resources), dataFolder_(dataFolder) {
    BuildControls();
}

Contents::~Contents() = default;

std::filesystem::path Contents::DataPath() const { return std::filesystem::path(dataFolder_.toStdString()); }

void Contents::BuildControls() {
    auto* header = Panel(this, palette::kChrome);
    header->setGeometry(skin::kSideWidth, kHeaderTop, kWidth - 2 * skin::kSideWidth,
                        kStripTop - kHeaderTop);
    QFont caption(Latin("Arial"));
    caption.setPointSizeF(8.5);
    for (int i = 0; i < 4; ++i) {
        ToolBar[i] = new SkinButton(header, kToolSize);
        ToolBar[i]->move(14 + i * kToolPitch, 3);
        TrackPress(ToolBar[i]);
        lblTB[i] = new CaptionLabel(header, ToolBar[i]);
        lblTB[i]->setFont(caption);
        lblTB[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        lblTB[i]->setGeometry(14 + i * kToolPitch - 13, 48, kToolSize.width() + 26, 16);
        connect(ToolBar[i], &QAbstractButton::clicked, this, [this, i] { ToolBarClick(i + 1); });
    }
    QFont titleFont(Latin("Trebuchet MS"));
    titleFont.setPointSizeF(12.5);
    titleFont.setBold(true);
    // A long title takes two lines rather than losing its start.
    CourseTitle = new QLabel(header);
    CourseTitle->setFont(titleFont);
    CourseTitle->setWordWrap(true);
    CourseTitle->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CourseTitle->setGeometry(310, 2, header->width() - 326, 44);
    lblCOD_ = new QLabel(header);
    lblCOD_->setFont(caption);
    lblCOD_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCOD_->setGeometry(310, 46, header->width() - 326, 16);
    QPalette grey = lblCOD_->palette();
    grey.setColor(QPalette::WindowText, QColor(0x5a, 0x6b, 0x80));
    lblCOD_->setPalette(grey);

    TabStrip = new Strip(this);
    TabStrip->setGeometry(skin::kSideWidth, kStripTop, kWidth - 2 * skin::kSideWidth, kStripHeight);
    QFont tabFont(Latin("Arial"));
    tabFont.setPointSizeF(9);
    tabFont.setBold(true);
    for (int i = 0; i < 4; ++i) {
        Tab[i] = new SkinButton(this, kTabSize);
        Tablbl[i] = new CaptionLabel(Tab[i], Tab[i]);
        Tablbl[i]->setFont(tabFont);
        Tablbl[i]->setAlignment(Qt::AlignCenter);
        Tablbl[i]->setGeometry(QRect(QPoint(0, 2), kTabSize - QSize(0, 2)));
        SetAccessibleRole(Tab[i], QAccessible::PageTab);
        connect(Tab[i], &QAbstractButton::clicked, this, [this, i] { TabClick(i + 1); });
    }

    Body_Home = PagePanel(new HomePage(this, skin()));
    Body_Report = PagePanel(new ReportPage(this, skin()));
    Body_Trash = PagePanel(new TrashPage(this, skin()));
    Body_About = PagePanel(new AboutPage(this, skin()));
    connect(Body_Home, &HomePage::topicClicked, this, &Contents::TopicClick);
    connect(Body_Home, &HomePage::paperClicked, this, &Contents::OpenPaper);
    connect(Body_Report, &ReportPage::sectionClicked, this, [this](int section) {
        fields.txtReportPos = QString::number(section);
        Body_Report->LayoutReportSections(fields.txtReportPos);
    });
    connect(Body_Report, &ReportPage::reportCardClicked, this, &Contents::ButReportCard_Click);
    TrackPress(Body_Report->ButReportCard);
    TrackPress(Body_Report->ButReportCardlbl);
    connect(Body_Trash, &TrashPage::eraseConfirmed, this, &Contents::EraseResults);
    connect(Body_Trash, &TrashPage::undoRequested, this, &Contents::UndoErase);
    connect(Body_About, &AboutPage::lbl_MWURL_Click, this, [this] { OpenMakerWebPage(this, QDir::tempPath()); });
    Body_About->SetResultsFolder(dataFolder_);
    connect(Body_About, &AboutPage::openFolderClicked, this,
            [this] { OpenResultsFolder(this, Body_About->resultsFolder()); });
    const QRect page(skin::kSideWidth, kStripTop + kStripHeight, kWidth - 2 * skin::kSideWidth,
                     kHeight - kStripTop - kStripHeight - skin::kBottomHeight);
    for (QWidget* body : std::initializer_list<QWidget*>{Body_Home, Body_Report, Body_Trash, Body_About}) {
        body->setGeometry(page);
        body->hide();
    }

    // Keyboard order: tabs, toolbar, then the page on show.
    setTabOrder(Tab[0], Tab[1]);
    setTabOrder(Tab[1], Tab[2]);
    setTabOrder(Tab[2], Tab[3]);
    setTabOrder(Tab[3], ToolBar[0]);
    for (int i = 0; i < 3; ++i) setTabOrder(ToolBar[i], ToolBar[i + 1]);
}

std::unique_ptr<Contents> Contents::Start(const ResourceSource& resources, const QString& dataFolder) {
    // The skin first: every picture of every window comes from these files.
    ExtractSkinGraphics(resources, std::filesystem::path(dataFolder.toStdString()));
    auto home = std::make_unique<Contents>(resources, dataFolder);
    if (!home->Form_Load()) return nullptr;
    return home;
}

bool Contents::Form_Load() {
    setFixedSize(kWidth, kHeight);
    if (ImgIco) ImgIco->setPictureFile(skin().Path(Latin("MWicon.ico")));
    setWindowIcon(LoadSkinIcon(skin().Path(Latin("MWicon.ico"))));
    ApplyLayout();

    StartupData startup;
    try {
        startup = PrepareCourseData(resources_, DataPath());
    } catch (const StartupError& error) {
        QMessageBox box(QMessageBox::Critical, Latin("Exam Practice"), QString::fromStdString(error.what()),
                        QMessageBox::Ok);
        box.exec();
        return false;
    }
    course = startup.course;
    for (const ModuleTrouble& trouble : startup.trouble) OfferRepair(trouble);

    // Captions and tool tips.
    for (int m = 1; m <= 3; ++m) {
        const QString label = QString::fromStdString(course.Module(m).label);
        Tablbl[m - 1]->setText(label);
        Tab[m - 1]->setText(label);
        const QString tip = Latin("Load ") + label + Latin(" Module");
        Tab[m - 1]->setToolTip(tip);
        Tablbl[m - 1]->setToolTip(tip);
    }
    Tablbl[3]->setText(Latin("Help"));
    Tab[3]->setText(Latin("Help"));
    Tab[3]->setToolTip(Latin("Help"));
    Tablbl[3]->setToolTip(Latin("Help"));
    const QString title = QString::fromStdString(course.title);
    SetCaption(title);
    CourseTitle->setText(title);
    Body_About->ProgramName->setText(title);
    fields.lblCOD = QString::fromStdString(course.code);
    lblCOD_->setText(fields.lblCOD);
    lblCOD_->setToolTip(Latin("Course code"));

    LayoutTabStrip();
    Timer1.setInterval(100);
    Timer1.start();

    // The first module's tab shows its Home page, which loads its results and
    // chooses topic 1 (so the load at the end of start-up is already done).
    fields.TopicCount = Latin("1");
    fields.LChose = QString::number(startup.firstModule);
    fields.txtTabPos = fields.LChose;
    TabClick(startup.firstModule);
    fields.txtToolBarPos = Latin("1");
    fields.txtReportPos = Latin("1");
    Timer1_Timer();
    // The keyboard starts where the pupil does: at the chosen topic, not on
    // the title bar's Minimise.
    Body_Home->Topic[0]->setFocus(Qt::OtherFocusReason);
    return true;
}

void Contents::LayoutTabStrip() {
    int x = TabStrip->x();
    for (int m = 1; m <= 3; ++m) {
        SkinButton* tab = Tab[m - 1];
        if (course.Module(m).Defined()) {
            tab->move(x, tab->y());
            tab->show();
            x += tab->width() - 4;  // neighbouring tabs overlap
        } else {
            tab->move(-tab->width(), tab->y());
            tab->hide();  // out of reach of the keyboard too
            HideFromAccessibility(tab);
        }
    }
    Tab[3]->move(x, Tab[3]->y());
}

void Contents::SelectTab(int tab) {
    for (int i = 3; i >= 0; --i) Tab[i]->raise();
    TabStrip->raise();
    Tab[tab - 1]->raise();
    const int top = TabStrip->y() - kTabSize.height() + 3;  // 2.5, to the nearest pixel
    for (SkinButton* t : Tab) t->move(t->x(), top);
    // The chosen tab stands in front; to a screen reader it is selected.
    for (int i = 0; i < 4; ++i) SetAccessibleSelected(Tab[i], i == tab - 1);
}

void Contents::TabClick(int tab) {
    fields.txtTabPos = QString::number(tab);
    fields.txtToolBarPos = Latin("1");
    fields.txtReportPos = Latin("1");
    SelectTab(tab);
    if (tab <= 3) fields.LChose = QString::number(tab);
    ShowPage();
}

void Contents::ToolBarClick(int position) {
    fields.txtToolBarPos = QString::number(position);
    ShowPage();
}

void Contents::ShowPanel(QWidget* page) {
    for (QWidget* body : std::initializer_list<QWidget*>{Body_Home, Body_Report, Body_Trash, Body_About}) {
        body->setVisible(body == page);
    }
    page->move(TabStrip->x(), TabStrip->y() + TabStrip->height());
    page->raise();
}

void Contents::ShowPage() {
    const int tab = fields.txtTabPos.toInt();
    const int position = fields.txtToolBarPos.toInt();
    if (tab >= 1 && tab <= 3) {
        switch (position) {
            case 1:
                LoadModuleResults();
                ShowPanel(Body_Home);
                break;
            case 2: {
                QString damagedFile;
                if (const std::optional<ReportData> report = BuildReport(&damagedFile)) {
                    Body_Report->Show(*report);
                } else {
                    Body_Report->ShowDamaged(Latin("Your results file ") + damagedFile +
                                             Latin(" is damaged, so the report cannot be shown.\n\nTo start afresh, "
                                                   "erase all results with Trash on the Help tab."));
                }
                ShowPanel(Body_Report);
                Body_Report->LayoutReportSections(fields.txtReportPos);
                break;
            }
            case 3:
                PrintResults();
                break;
            case 4:
                CloseProgram();
                break;
            default:
                break;
        }
    } else if (tab == 4) {
        switch (position) {
            case 1:
                ShowPanel(Body_About);
                break;
            case 2:
                ShowPanel(Body_Trash);
                Body_Trash->SetState(TrashPage::State::Offer);
                break;
            case 4:
                PrintSetup();
                break;
            default:
                break;
        }
    }
}

std::optional<ReportData> Contents::BuildReport(QString* damagedFile) const {
    if (!damagedMarks_.isEmpty()) {
        *damagedFile = damagedMarks_;
        return std::nullopt;
    }
    const auto trendFile =
        ResultsFilePath(DataPath(), ResultsFile::kTrend, module.module, fields.lblCOD.toStdString());
    ReportInput input;
    input.topicCount = module.topicCount;
    input.paperCount = module.paperCount;
    input.topicNames = &module.topicNames;
    input.firstScores = &module.marks.FSE;
    input.secondScores = &module.marks.SSE;
    input.marksFile = ResultsFileName(ResultsFile::kMarks, module.module, fields.lblCOD.toStdString());
    input.trendFile = trendFile.filename().string();
    try {
        ReadTrendScores(trendFile);  // a value that is not a score is named, not shown
        input.trendLine = ReadTaggedLine(trendFile, "TRD");
        return BuildReportData(input);
    } catch (const TaggedFileError& error) {
        *damagedFile = QString::fromStdString(std::filesystem::path(error.file()).filename().string());
        return std::nullopt;
    }
}

std::optional<ReportCardContent> Contents::MakeReportCard() {
    QString damagedFile;
    std::optional<ReportData> report = BuildReport(&damagedFile);
    if (!report) {
        TellPupil(Latin("Report card"), Latin("Your results file ") + damagedFile +
                                            Latin(" is damaged, so no report card can be made. To start afresh, "
                                                  "erase all results with Trash on the Help tab."));
        return std::nullopt;
    }
    ReportCardContent card;
    card.courseTitle = QString::fromStdString(course.title);
    card.courseCode = fields.lblCOD;
    if (module.module >= 1 && module.module <= 3) {
        card.moduleLabel = QString::fromStdString(course.Module(module.module).label);
    }
    card.date = QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat);
    card.topicCount = module.topicCount;
    card.report = std::move(*report);
    card.marks = module.marks;
    return card;
}

void Contents::ButReportCard_Click() {
    const std::optional<ReportCardContent> card = MakeReportCard();
    if (!card) return;
    switch (AskCardOutput(printer_.printer(), this)) {
        case CardOutput::Print:
            if (!PrintReportCard(printer_.printer(), *card)) {
                TellPupil(Latin("Report card"), Latin("The report card could not be printed."));
            }
            break;
        case CardOutput::SavePdf: {
            const QString file = AskCardPdfFile(this, Latin("Report card ") + fields.lblCOD + Latin(".pdf"));
            if (!file.isEmpty()) SaveReportCard(file);
            break;
        }
        case CardOutput::Cancelled:
            break;
    }
}

bool Contents::SaveReportCard(const QString& file) {
    const std::optional<ReportCardContent> card = MakeReportCard();
    if (!card) return false;
    QString error;
    if (!SaveReportCardPdf(file, printer_.printer().pageLayout(), *card, &error)) {
        TellPupil(Latin("Report card"),
                  Latin("The report card could not be saved as ") + file + Latin(": ") + error + Latin("."));
        return false;
    }
    return true;
}

void Contents::LoadModuleResults() {
    const std::string code = fields.lblCOD.toStdString();
    damagedMarks_.clear();
    try {
        module = ep::LoadModuleResults(course, fields.LChose.toStdString(), code, DataPath());
    } catch (const TaggedFileError& error) {
        // The page stays usable, with no scores, so the pupil can reach Trash.
        const int m = fields.LChose.toInt();
        module = ModuleResults{};
        if (m >= 1 && m <= 3 && course.Module(m).Defined()) {
            module.module = m;
            module.topicCount = course.Module(m).topicCount;
            module.paperCount = course.Module(m).paperCount;
            module.topicNames = course.Module(m).topicNames;
        } else {
            module.topicNames = TextList(10);
        }
        module.marks = MarksLists{TextList(50), TextList(50), TextList(50), TextList(50), TextList(50), TextList(50)};
        // Any of the module's six files; the marks file when the error names none.
        const std::filesystem::path named(error.file());
        damagedMarks_ = QString::fromStdString(named.is_absolute() ? named.filename().string()
                                                                   : ResultsFileName(ResultsFile::kMarks, module.module, code));
        TellPupil(Latin("Results"), Latin("Your results file ") + damagedMarks_ +
                                        Latin(" is damaged. To start again, use Trash on the Help tab."));
    }
    fields.TtPapersCon = QString::number(module.paperCount);
    Body_Home->FillTopics(module.topicNames, module.topicCount);
    if (fields.RefreshLog == Latin("off")) TopicClick(1);
}

void Contents::TopicClick(int topic) {
    fields.TopicCount = QString::number(5 * (topic - 1) + 1);
    TopicChoosing(fields.TopicCount.toInt());
    Body_Home->Topicbuttoncolour(topic);
}

void Contents::TopicChoosing(int firstSlot) {
    Body_Home->TopicChoosing(firstSlot, module.marks.FSE, module.marks.SSE, module.topicNames);
}

QString Contents::SubH1() const { return Body_Home->SubH1->text(); }

void Contents::OpenPaper(int index, int attempt) {
    fields.PaperNum = QString::number(fields.TopicCount.toInt() + 100 + index);
    fields.TakeNum = QString::number(attempt);
    if (!ClosePaperWindows()) return;
    emit paperRequested(fields.TakeNum.toInt());
    if (fields.TakeNum.toInt() == 1) {
        paper_ = Test1::Open(*this);
    } else {
        paper_ = Test2::Open(*this);
    }
}

void Contents::RefreshContents() {
    fields.RefreshLog = Latin("on");
    LoadModuleResults();
    const int first = fields.TopicCount.toInt();
    if (first >= 1 && first <= 46 && (first - 1) % 5 == 0) TopicClick((first - 1) / 5 + 1);
    fields.RefreshLog = Latin("off");
}

bool Contents::ClosePaperWindows() { return !paper_ || paper_->CloseFromProgram(); }

void Contents::CloseProgram() {
    if (!ClosePaperWindows()) return;
    closing_ = true;
    close();
}

void Contents::imgProgClose_Click() { CloseProgram(); }

void Contents::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the paper window goes first, as with Close.
    if (!closing_ && !ClosePaperWindows()) {
        event->ignore();
        return;
    }
    closing_ = true;
    Timer1.stop();
    event->accept();
}

bool Contents::event(QEvent* event) {
    if (event->type() == QEvent::Paint && !warmQueued_) {
        warmQueued_ = true;
        QTimer::singleShot(kWarmDelayMs, this, &Contents::WarmWebEngine);
    }
    return SkinnedWindow::event(event);
}

void Contents::WarmWebEngine() {
    if (closing_) return;
    // The engine's libraries now, its start in a later turn of the event
    // loop, so the pupil's input gets in between. An engine that cannot be
    // loaded is the paper window's to explain.
    WebEngine* engine = LoadWebEngine();
    if (!engine) return;
    QTimer::singleShot(0, this, [this, engine] {
        if (!closing_) engine->Warm(this, [this] { engineWarm_ = true; });
    });
}

void Contents::EraseResults() {
    // An open paper would write its stale lines back over the erased files.
    if (!ClosePaperWindows()) {
        Body_Trash->SetState(TrashPage::State::Offer);
        return;
    }
    std::optional<BackupSet> backup;
    const int status = CreateResultsFiles(resources_, course, DataPath(), &backup);
    if (status != 0) {
        TellPupil(Latin("Trash"), Latin("Not every results file could be erased: ") +
                                      QString::fromStdString(ExtractStatusText(status)) + Latin("."));
        Body_Trash->SetState(TrashPage::State::Offer);
        return;
    }
    if (backup) undo_ = std::move(backup);
    Body_Trash->OfferUndo(undo_.has_value());
    Body_Trash->SetState(TrashPage::State::Done);
}

void Contents::UndoErase() {
    // As with an erase, an open paper would write its lines over the results brought back.
    if (!undo_ || !ClosePaperWindows()) return;
    try {
        RestoreBackupSet(DataPath(), course.code, *undo_);
    } catch (const TaggedFileError& error) {
        TellPupil(Latin("Trash"), Latin("Your results could not be brought back: the file ") +
                                      QString::fromStdString(std::filesystem::path(error.file()).filename().string()) +
                                      Latin(" ") + QString::fromStdString(error.reason()) + Latin("."));
        return;
    }
    undo_.reset();
    Body_Trash->OfferUndo(false);
    Body_Trash->SetState(TrashPage::State::Offer);
    TellPupil(Latin("Trash"), Latin("Your past results have been brought back."));
}

namespace {

// "a.txt", "a.txt and b.txt", "a.txt, b.txt and c.txt"
QString NameList(const std::vector<StoreProblem>& problems) {
    QString list;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i > 0) list += i + 1 == problems.size() ? Latin(" and ") : Latin(", ");
        list += QString::fromStdString(problems[i].file);
    }
    return list;
}

// "14/03/2026 at 10:32", as the system writes dates and times.
QString BackupWhen(const std::string& name) {
    std::optional<std::array<int, 6>> t = BackupTime(name);
    if (!t) return QString::fromStdString(name);
    const QDateTime when(QDate((*t)[0], (*t)[1], (*t)[2]), QTime((*t)[3], (*t)[4], (*t)[5]));
    return QLocale::system().toString(when.date(), QLocale::ShortFormat) + Latin(" at ") +
           QLocale::system().toString(when.time(), QLocale::ShortFormat);
}

}  // namespace

void Contents::OfferRepair(const ModuleTrouble& trouble) {
    const auto& problems = trouble.problems;
    const bool missing = std::all_of(problems.begin(), problems.end(), [](const StoreProblem& p) { return p.missing; });
    const bool damaged = std::none_of(problems.begin(), problems.end(), [](const StoreProblem& p) { return p.missing; });
    const QString state = missing ? Latin("missing") : damaged ? Latin("damaged") : Latin("missing or damaged");
    const QString what = (problems.size() == 1 ? Latin("Your results file ") : Latin("Your results files ")) +
                         NameList(problems) + (problems.size() == 1 ? Latin(" is ") : Latin(" are ")) + state +
                         Latin(".");
    const QString module = QString::fromStdString(course.Module(trouble.module).label);
    auto failed = [this](const TaggedFileError& error) {
        TellPupil(Latin("Results"), Latin("This could not be done: the file ") +
                                        QString::fromStdString(std::filesystem::path(error.file()).filename().string()) +
                                        Latin(" ") + QString::fromStdString(error.reason()) + Latin("."));
    };
    if (trouble.backup &&
        AskPupil(Latin("Results"),
                 what + Latin(" Bring back your results as they were on ") + BackupWhen(*trouble.backup) + Latin("?"))) {
        std::vector<std::string> names;
        for (ResultsFile file : kResultsFiles) names.push_back(ResultsFileName(file, trouble.module, course.code));
        try {
            RestoreBackupSet(DataPath(), course.code, ReadBackup(DataPath(), *trouble.backup, names));
            return;
        } catch (const TaggedFileError& error) {
            failed(error);
        }
    }
    if (AskPupil(Latin("Results"), what + Latin(" Start the ") + module + Latin(" module afresh, with no results?"))) {
        try {
            StartModuleAfresh(resources_, course, DataPath(), trouble.module);
        } catch (const TaggedFileError& error) {
            failed(error);
        }
    }
}

void Contents::PrintResults() {
    if (!damagedMarks_.isEmpty()) {
        TellPupil(Latin("Print"), Latin("Your results file ") + damagedMarks_ +
                                      Latin(" is damaged, so the results cannot be printed. To start again, use "
                                            "Trash on the Help tab."));
        return;
    }
    if (!printer_.CanPrint()) {
        TellPupil(Latin("Print"), Latin("There is no printer to print on. Choose Setup on the Help tab to "
                                        "pick a printer or a PDF file."));
        return;
    }
    const ResultsDocument table =
        MakeResultsDocument(course.title, module.topicCount, module.topicNames, module.marks);
    if (!printer_.Print(table, QString::fromStdString(course.title))) {
        TellPupil(Latin("Print"), Latin("The results could not be printed."));
    }
}

void Contents::PrintSetup() { printer_.Setup(this); }

bool Contents::AskPupil(const QString& title, const QString& message) {
    frmPopUp pop(*this, dataFolder_);
    pop.CallPop(title, message, PopUpButtons::YesNo, *this);
    pop.ShowModal();
    return fields.PopUpResponse == Latin("True");
}

void Contents::TellPupil(const QString& title, const QString& message) {
    frmPopUp pop(*this, dataFolder_);
    pop.CallPop(title, message, PopUpButtons::Ok, *this);
    pop.ShowModal();
}

void Contents::UpdateTabImage(int tab) {
    const bool chosen = fields.txtTabPos.toInt() == tab;
    const bool over = CursorOver(*Tab[tab - 1], cursorPoint);
    const char* name = chosen ? (over ? "tabs_front_on.bmp" : "tabs_front_off.bmp")
                              : (over ? "tabs_back_on.bmp" : "tabs_back_off.bmp");
    Tab[tab - 1]->setPictureFile(skin().Path(Latin(name)));
}

void Contents::UpdateToolbarButton(int position) {
    const bool help = fields.txtTabPos.toInt() == 4;
    const ToolMeaning& meaning = (help ? kHelpTools : kModuleTools)[position - 1];
    SkinButton* button = ToolBar[position - 1];
    CaptionLabel* label = lblTB[position - 1];
    const bool shown = meaning.pictures[0] != '\0';
    button->setVisible(shown);
    label->setVisible(shown);
    if (!shown) return;
    const QString caption = Latin(meaning.caption);
    if (label->text() != caption) {
        label->setText(caption);
        button->setText(caption);
        button->setAccessibleName(Latin(meaning.accessibleName));
        button->setToolTip(Latin(meaning.toolTip));
        label->setToolTip(Latin(meaning.toolTip));
    }
    ShowThreeState(*button, ButtonPictures::Family(Latin(meaning.pictures)), cursorPoint, txtPressTrack, skin());
}

void Contents::Timer1_Timer() {
    SkinnedWindow::Timer1_Timer();
    for (int tab = 1; tab <= 4; ++tab) UpdateTabImage(tab);
    for (int position = 1; position <= 4; ++position) UpdateToolbarButton(position);
    Body_Trash->UpdateHoverImages(cursorPoint, skin());
    Body_About->UpdateHoverImages(cursorPoint, skin());
    Body_Home->UpdateHoverImages(cursorPoint, skin());
    Body_Report->UpdateHoverImages(cursorPoint, txtPressTrack, skin());
}

}  // namespace ep
