#include "paper_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "answer_form.h"
#include "button_states.h"
#include "paper_messages.h"
#include "popup.h"
#include "skin_palette.h"
#include "tagged_file.h"
#include "text_format.h"

namespace ep {
namespace {

// The window's place and size as designed, in twips.
constexpr int kWidthTwips = 12000;
constexpr int kHeightTwips = 9000;
constexpr int kFromRightTwips = 12500;
constexpr int kFromBottomTwips = 10000;
constexpr int kHandleStripWidth = 10;
constexpr QSize kHandleSize{6, 40};

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Utf8(const QString& text) { return text.toStdString(); }

bool ReadsAs(const QString& text, double value) {
    std::optional<double> number = ParseNumber(Utf8(text));
    return number && *number == value;
}

// The line the Mark confirmation adds when answers do not read in their
// form, so the pupil can go back to them first.
QString FormCheckLine(const List<int>& questions) {
    QStringList numbers;
    for (int q : questions) numbers << QString::number(q);
    if (numbers.size() == 1) return QStringLiteral("Check the form of your answer to question %1.").arg(numbers[0]);
    const QString last = numbers.takeLast();
    return QStringLiteral("Check the form of your answers to questions %1 and %2.").arg(numbers.join(u", "), last);
}

int FieldNumber(const QString& text, const char* field) {
    std::optional<long long> value = ParseInteger(Utf8(text));
    if (!value) throw TaggedFileError("home window", field, "\"" + Utf8(text) + "\" is not a whole number");
    return static_cast<int>(*value);
}

}  // namespace

// Counts the window's modal moments: a window that waits for the pupil, or
// marks, must not be closed under its own feet.
class PaperWindow::BusyScope {
public:
    explicit BusyScope(PaperWindow& window) : window_(window) { ++window_.busy_; }
    ~BusyScope() { --window_.busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    PaperWindow& window_;
};

QString StorableShortDate(const QDate& date) {
    const QString text = QLocale::system().toString(date, QLocale::ShortFormat);
    // Only a date the results files read back as one is kept.
    if (IsStorableValue(Utf8(text)) && IsStoredDate(Utf8(text))) return text;
    return date.toString(Qt::ISODate);
}

std::optional<OpenPaper> PaperWindow::LoadPaper(PaperHost& host, Attempt attempt) {
    const QString dataFolder = host.dataFolder();
    try {
        PaperRequest request;
        request.module = FieldNumber(host.LChose(), "LChose");
        request.courseCode = Utf8(host.lblCOD());
        request.paperCount = FieldNumber(host.TtPapersCon(), "TtPapersCon");
        request.topicFirstSlot = FieldNumber(host.TopicCount(), "TopicCount");
        request.paperKey = FieldNumber(host.PaperNum(), "PaperNum");
        request.topicName = Utf8(host.SubH1());
        request.attempt = attempt;
        return OpenPaper::Load(host.resources(), dataFolder.toStdString(), request);
    } catch (const TaggedFileError& error) {
        ShowFileProblem(QApplication::activeWindow(), QStringLiteral("Exam Practice"),
                        QStringLiteral("This paper cannot be opened."), error, dataFolder);
        return std::nullopt;
    }
}

PaperWindow::PaperWindow(PaperHost& host, OpenPaper paper)
    : SkinnedWindow(WindowKind::Paper, host.dataFolder()),
      host_(host),
      paper_(std::move(paper)),
      dataFolder_(host.dataFolder()) {
    setAttribute(Qt::WA_DeleteOnClose);
    const bool first = paper_.request().attempt == Attempt::kFirst;

    toolbar = new PaperToolbar(this, skin(), first);
    ToolBar01 = toolbar->ToolBar[1];
    ToolBar02 = toolbar->ToolBar[2];
    ToolBar03 = toolbar->ToolBar[3];
    ToolBar04 = toolbar->ToolBar[4];
    ToolBar05 = toolbar->ToolBar[5];
    ToolBar06 = toolbar->ToolBar[6];
    ToolBar07 = toolbar->ToolBar[PaperToolbar::kSolution];
    PaperSum = toolbar->PaperSum;
    PScoring = toolbar->PScoring;
    PScoringL = toolbar->PScoringL;
    for (SkinButton* button : toolbar->ToolBar) {
        if (button) TrackPress(button);
    }
    connect(ToolBar01, &QAbstractButton::clicked, this, &PaperWindow::SavePaper);
    connect(ToolBar02, &QAbstractButton::clicked, this, &PaperWindow::MarkPaper);
    connect(ToolBar03, &QAbstractButton::clicked, this, &PaperWindow::PrintQuestion);
    connect(ToolBar04, &QAbstractButton::clicked, this, &PaperWindow::ClosePaper);
    connect(ToolBar05, &QAbstractButton::clicked, this, &PaperWindow::PreviousQuestion);
    connect(ToolBar06, &QAbstractButton::clicked, this, &PaperWindow::NextQuestion);
    connect(ToolBar07, &QAbstractButton::clicked, this, &PaperWindow::ToolBar07_Click);

    question = new QuestionView(host.resources(), dataFolder_, this);
    QnTitle = question->QnTitle;
    connect(question, &QuestionView::pageLoaded, this, &PaperWindow::questionLoaded);
    connect(question, &QuestionView::printFinished, this, [this](bool ok) {
        if (!ok) {
            QMessageBox::warning(this, windowTitle(), QStringLiteral("The question could not be printed."));
        }
    });

    AnsBox = new AnswerSheet(this, skin());
    AnsBox->SetSecondAttempt(!first);
    for (int k = 1; k <= kAnswerRows; ++k) {
        AnswerBox* box = AnsBox->FA[static_cast<std::size_t>(k)];
        connect(box, &AnswerBox::enterPressed, this, &PaperWindow::AnswerBoxEnter);
        connect(box, &QLineEdit::textChanged, this, [this, k] { AnswerEdited(k); });
        connect(box, &AnswerBox::refused, this, &PaperWindow::AnswerRefused);
    }

    PicHideAns = new SkinImage(this, {kHandleStripWidth, 100});
    QPalette pal = PicHideAns->palette();
    pal.setColor(QPalette::Window, palette::kQuestion);
    PicHideAns->setPalette(pal);
    PicHideAns->setAutoFillBackground(true);
    ImgHandle = new SkinButton(PicHideAns, kHandleSize);
    ImgHandle->setPictureFile(skin().Path(QStringLiteral("Handle.bmp")));
    ImgHandle->setCursor(Qt::PointingHandCursor);
    ImgHandle->setFocusPolicy(Qt::TabFocus);
    connect(ImgHandle, &QAbstractButton::clicked, this, &PaperWindow::ImgHandle_Click);
    for (QWidget* handle : {static_cast<QWidget*>(PicHideAns), static_cast<QWidget*>(ImgHandle)}) {
        handle->setToolTip(QStringLiteral("Hide answer sheet"));
    }
    ImgHandle->setText(ImgHandle->toolTip());

    strip = new StatusStrip(this, skin(), paper_.request().attempt);
    TxtRem = strip->TxtRem;
    RemQns = strip->RemQns;
    lblClock = strip->lblClock;
    LTime = strip->LTime;
    lblDate = strip->lblDate;
    ETime = strip->ETime;
    lblAnsweredQ = strip->lblAnsweredQ;
    lblTotalQ = strip->lblTotalQ;
    connect(RemQns, &QComboBox::activated, this, &PaperWindow::RemQns_Click);

    fmeMark = new MarkingPanel(this, skin());

    // Keyboard order: the answers first, then the list, then the toolbar.
    setTabOrder(AnsBox->FA[kAnswerRows], RemQns);
    setTabOrder(RemQns, ToolBar01);
    for (std::size_t k = 0; k + 1 < PaperToolbar::kOrder.size(); ++k) {
        setTabOrder(toolbar->ToolBar[static_cast<std::size_t>(PaperToolbar::kOrder[k])],
                    toolbar->ToolBar[static_cast<std::size_t>(PaperToolbar::kOrder[k + 1])]);
    }

    // Placed as designed, 500 twips from the right of the screen and 1000 from
    // its bottom, but never off a small screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect full = QGuiApplication::primaryScreen()->geometry();
    QRect place(full.width() - TwipsToPixels(kFromRightTwips), full.height() - TwipsToPixels(kFromBottomTwips),
                TwipsToPixels(kWidthTwips), TwipsToPixels(kHeightTwips));
    place.setSize(place.size().boundedTo(screen.size()).expandedTo(minimumSize()));
    place.moveLeft(std::clamp(place.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - place.width())));
    place.moveTop(std::clamp(place.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - place.height())));
    setGeometry(place);
}

PaperWindow::~PaperWindow() = default;

void PaperWindow::Form_Load() {
    TopicCount = host_.TopicCount();
    SetCaption(Text(paper_.Caption()));
    QnTitle->setText(QStringLiteral("Question ") + QSCount);

    ShowPage();

    const std::size_t p = static_cast<std::size_t>(paper_.request().paperKey - 100);
    const MarksLists& marks = paper_.marks();
    const bool first = paper_.request().attempt == Attempt::kFirst;
    // The state comes before the sheet: a second attempt's rows depend on it.
    Status = Text(first ? marks.FST[p] : marks.SST[p]);
    toolbar->ShowScore(Text(paper_.ScoreText()));
    if (LTime) LTime->setText(Text(marks.LTM[p]));
    if (ETime) ETime->setText(Text(marks.CDD[p]));
    BuildAnswerSheet();
    ShowAnswerRows();
    RefreshRemainingList();
    if (Marked()) ShowMarkedView();

    sheetShown_ = true;
    clockStart_ = std::chrono::steady_clock::now();
    lblTotalQ->setText(QString::number(paper_.SlotCount()));
    if (lblDate) lblDate->setText(StorableShortDate(QDate::currentDate()));
    ApplyLayout();
    UpdateToolbar();
    UpdateClock();
    show();
}

bool PaperWindow::Marked() const { return ReadsAs(Status, 1); }

int PaperWindow::Question() const {
    std::optional<long long> n = ParseInteger(Utf8(QSCount));
    return n ? static_cast<int>(*n) : 1;
}

int PaperWindow::FirstSlot() const { return paper_.FirstSlotOf(Question()); }

// ---- Moving between questions

void PaperWindow::GoToQuestion(int target) {
    // Whatever the buttons show, a question outside the paper is never asked for.
    if (target < 1 || target > paper_.QuestionCount()) return;
    StoreSheetAnswers();
    if (!Marked()) SaveAnswers();  // a marked sheet is locked: nothing to save
    QSCount = QString::number(target);
    QnTitle->setText(QStringLiteral("Question ") + QSCount);
    BuildAnswerSheet();
    ShowAnswerRows();
    ShowPage();
    RefreshRemainingList();
    UpdateToolbar();
}

void PaperWindow::ShowPage() {
    const int id = paper_.QuestionId(Question());
    if (SolutionShown()) {
        QnTitle->setText(QStringLiteral("Solution to question ") + QSCount);
        question->ShowSolution(id);
    } else {
        QnTitle->setText(QStringLiteral("Question ") + QSCount);
        question->ShowQuestion(id);
    }
}

bool PaperWindow::SolutionShown() const {
    return solutionChosen_ && paper_.SolutionAccessOf(Question()) == SolutionAccess::kOpen;
}

QString PaperWindow::SolutionClosedTip() const {
    if (paper_.SolutionAccessOf(Question()) == SolutionAccess::kAfterMarking &&
        paper_.request().attempt == Attempt::kFirst) {
        return QStringLiteral("Solutions open once the paper is marked");
    }
    return QStringLiteral("Solutions open after your second attempt");
}

void PaperWindow::ToolBar07_Click() {
    if (Busy() || paper_.SolutionAccessOf(Question()) != SolutionAccess::kOpen) return;
    solutionChosen_ = !solutionChosen_;
    ShowPage();
    UpdateToolbar();
}

void PaperWindow::NextQuestion() {
    GoToQuestion(Question() + 1);
    AnsBox->FA[1]->setFocus(Qt::OtherFocusReason);
}

void PaperWindow::PreviousQuestion() {
    GoToQuestion(Question() - 1);
    AnsBox->FA[1]->setFocus(Qt::OtherFocusReason);
}

void PaperWindow::RemQns_Click(int index) {
    std::optional<long long> target = ParseInteger(Utf8(RemQns->itemText(index)));
    if (target) GoToQuestion(static_cast<int>(*target));
}

void PaperWindow::RefreshRemainingList() {
    const QSignalBlocker quiet(RemQns);
    RemQns->clear();
    for (int q : paper_.RemainingQuestions()) RemQns->addItem(QString::number(q));
    // The list shows the question on view: chosen when it is still to be
    // answered, else greyed as the list's placeholder. Picking any entry,
    // even the one shown, is a move.
    RemQns->setPlaceholderText(QSCount);
    RemQns->setCurrentIndex(RemQns->findText(QSCount));
}

void PaperWindow::AnswerBoxEnter(int row) {
    const int parts = paper_.PartsOf(Question());
    if (row < parts) {
        AnsBox->FA[static_cast<std::size_t>(row + 1)]->setFocus(Qt::TabFocusReason);
    } else if (Question() < paper_.QuestionCount()) {
        NextQuestion();
    }
    // The last answer of the paper: Enter stays in it. Marking cannot be
    // undone, so it is never one Enter away.
}

// ---- The answer sheet

void PaperWindow::StoreSheetAnswers() {
    const int n = Question();
    const int parts = paper_.PartsOf(n);
    std::vector<std::string> rows;
    for (int k = 1; k <= parts && k <= kAnswerRows; ++k) rows.push_back(Utf8(AnsBox->FA[static_cast<std::size_t>(k)]->text()));
    paper_.StoreAnswers(n, rows);
}

void PaperWindow::BuildAnswerSheet() {
    const int n = Question();
    const int f = FirstSlot();
    const int parts = paper_.PartsOf(n);
    const TextList& kinds = paper_.catalogue().kinds;
    bool instruction = false;
    for (int s = f; s < f + parts; ++s) {
        const std::string& kind = kinds[static_cast<std::size_t>(s)];
        if (kind == "X" || kind == "F") {
            instruction = true;
            break;
        }
    }
    AnsBox->ShowInstruction(instruction);
    buildingSheet_ = true;
    for (int k = 1; k <= parts && k <= kAnswerRows; ++k) {
        FillAnswerRow(k, f + k - 1);
        if (k == 1) AnsBox->LayoutFirstRow(kinds[static_cast<std::size_t>(f)] == "L");
    }
    buildingSheet_ = false;
    // "Question 3 (b), answer": the question and part, as the page and the
    // row's letter show them.
    for (int k = 1; k <= kAnswerRows; ++k) {
        QString name;
        if (k <= parts) {
            name = QStringLiteral("Question ") + QSCount +
                   (parts > 1 ? QStringLiteral(" (%1)").arg(QChar(u'a' + (k - 1))) : QString()) +
                   QStringLiteral(", answer");
        }
        AnsBox->DescribeRow(k, name);
    }
    RefreshNotes();
}

QString PaperWindow::FormProblemOfRow(int row, const QString& text) const {
    const AnswerBox* box = AnsBox->FA[static_cast<std::size_t>(row)];
    if (Marked() || box->isReadOnly() || row > paper_.PartsOf(Question())) return {};
    const std::string& kind = paper_.catalogue().kinds[static_cast<std::size_t>(FirstSlot() + row - 1)];
    return Text(AnswerFormProblem(kind, Utf8(text)));
}

void PaperWindow::RefreshNotes() {
    const int parts = paper_.PartsOf(Question());
    for (int k = 1; k <= kAnswerRows; ++k) {
        if (k > parts) {
            AnsBox->SetNote(k, {}, NoteKind::Form);
        } else if (Marked()) {
            AnsBox->SetNote(k, Text(paper_.FormOnlyNote(FirstSlot() + k - 1)), NoteKind::FormOnly);
        } else {
            AnsBox->SetNote(k, FormProblemOfRow(k, AnsBox->FA[static_cast<std::size_t>(k)]->text()), NoteKind::Form);
        }
    }
}

void PaperWindow::AnswerEdited(int row) {
    // Each change says afresh how the text reads; a refusal note goes with it.
    if (buildingSheet_) return;
    AnsBox->SetNote(row, FormProblemOfRow(row, AnsBox->FA[static_cast<std::size_t>(row)]->text()), NoteKind::Form);
}

void PaperWindow::AnswerRefused(int row, const QString& refused) {
    if (Marked() || AnsBox->FA[static_cast<std::size_t>(row)]->isReadOnly() || row > paper_.PartsOf(Question())) {
        return;
    }
    QString note = Text(AnswerRefusal(Utf8(refused)));
    if (note.isEmpty()) {
        // Nothing in it a file cannot hold: the one-character limit of a choice.
        const std::string& kind = paper_.catalogue().kinds[static_cast<std::size_t>(FirstSlot() + row - 1)];
        note = Text(ExpectedForm(kind));
    }
    AnsBox->SetNote(row, note, NoteKind::Refused);
}

void PaperWindow::ShowAnswerRows() { AnsBox->ShowRows(paper_.PartsOf(Question())); }

void PaperWindow::ImgHandle_Click() {
    sheetShown_ = !sheetShown_;
    LayoutContents();
    const QString tip = sheetShown_ ? QStringLiteral("Hide answer sheet") : QStringLiteral("Show answer sheet");
    PicHideAns->setToolTip(tip);
    ImgHandle->setToolTip(tip);
    ImgHandle->setText(tip);
}

// ---- Saving, marking, printing and closing

bool PaperWindow::SaveAnswers() {
    try {
        paper_.SaveAnswers();
        return true;
    } catch (const TaggedFileError& error) {
        BusyScope busy(*this);
        ShowFileProblem(this, windowTitle(), QStringLiteral("Your answers could not be saved."), error, dataFolder_);
        return false;
    }
}

bool PaperWindow::Ask(const QString& title, const QString& message, const QString& note) {
    BusyScope busy(*this);
    frmPopUp pop(host_, dataFolder_);
    pop.CallPop(title, message, PopUpButtons::YesNo, *this, note);
    pop.ShowModal();
    activateWindow();  // typing goes on here, whatever the window manager does
    return host_.PopUpResponse() == QLatin1String("True");
}

void PaperWindow::Tell(const QString& title, const QString& message) {
    BusyScope busy(*this);
    frmPopUp pop(host_, dataFolder_);
    pop.CallPop(title, message, PopUpButtons::Ok, *this);
    pop.ShowModal();
    activateWindow();
}

void PaperWindow::SavePaper() {
    if (Marked() || Busy()) return;
    StoreSheetAnswers();
    if (SaveAnswers()) Tell(QStringLiteral("Marlowin"), QStringLiteral("Paper saved"));
}

void PaperWindow::MarkPaper() {
    if (Busy()) return;
    if (Marked()) {
        ShowMarkedView();
        return;
    }
    StoreSheetAnswers();
    if (!SaveAnswers()) return;
    const QString message =
        paper_.HasUnansweredSlots()
            ? QStringLiteral("You have not answered all the questions.  Do you still want to mark your practice?")
            : QStringLiteral("Do you want to mark your practice now?");
    const List<int> notInForm = paper_.QuestionsNotInForm();
    if (!Ask(QStringLiteral("Marking"), message, notInForm.empty() ? QString() : FormCheckLine(notInForm))) return;

    BusyScope busy(*this);
    fmeMark->Play();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - clockStart_);
    const QString date = StorableShortDate(QDate::currentDate());
    MarkOutcome outcome;
    try {
        outcome = paper_.Mark(elapsed, Utf8(date));
    } catch (const TaggedFileError& error) {
        ShowFileProblem(this, windowTitle(),
                        QStringLiteral("The paper could not be marked: its results could not be recorded. "
                                       "Your answers are kept; you can mark it again."),
                        error, dataFolder_);
        return;
    }
    Scoring = QString::number(outcome.score);
    toolbar->ShowScore(Text(outcome.percentText));
    Status = QStringLiteral("1");
    if (LTime) LTime->setText(Text(paper_.TimeTakenText()));
    if (ETime) ETime->setText(Text(paper_.CompletedDateText()));
    ShowMarkedView();
    UpdateToolbar();
}

void PaperWindow::PrintQuestion() {
    if (Busy()) return;
    BusyScope busy(*this);
    question->PrintQuestion();
}

void PaperWindow::ClosePaper() {
    if (Busy()) return;
    if (!Ask(QStringLiteral("Close Practice"), QStringLiteral("Confirm?"))) return;
    closing_ = true;
    close();
}

void PaperWindow::imgProgClose_Click() { ClosePaper(); }

bool PaperWindow::CloseFromProgram() {
    if (unloaded_) return true;
    if (Busy()) return false;
    if (!Marked()) {
        StoreSheetAnswers();
        if (!SaveAnswers()) return false;
    }
    closing_ = true;
    close();
    return unloaded_;
}

void PaperWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        // Closed by the platform (a key or the task list): ask, as the
        // window's own close does.
        event->ignore();
        if (!Busy()) QTimer::singleShot(0, this, &PaperWindow::ClosePaper);
        return;
    }
    event->accept();
    Form_Unload();
}

void PaperWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Timer1.stop();
    question->Release();
    host_.RefreshContents();
}

void PaperWindow::showEvent(QShowEvent* event) {
    SkinnedWindow::showEvent(event);
    if (focusPending_) {
        focusPending_ = false;
        AnsBox->FA[1]->setFocus(Qt::OtherFocusReason);
    }
}

// ---- The tick

void PaperWindow::Timer1_Timer() {
    SkinnedWindow::Timer1_Timer();
    UpdateToolbar();
    UpdateClock();
    lblAnsweredQ->setText(QString::number(paper_.AnsweredCount()));
}

void PaperWindow::UpdateToolbar() {
    const bool open = ReadsAs(Status, 0);
    const int n = Question();
    const bool solution = paper_.SolutionAccessOf(n) == SolutionAccess::kOpen;
    const bool enabled[PaperToolbar::kButtons + 1] = {
        false, open, open, true, true, n != 1, n != paper_.QuestionCount(), solution,
    };
    for (int k = 1; k <= PaperToolbar::kButtons; ++k) {
        SkinButton& button = *toolbar->ToolBar[static_cast<std::size_t>(k)];
        button.setEnabled(enabled[k]);
        toolbar->lblTB[static_cast<std::size_t>(k)]->setEnabled(enabled[k]);
        if (k == PaperToolbar::kSolution) toolbar->ShowSolutionButton(SolutionShown(), SolutionClosedTip());
        ShowThreeState(button, toolbar->pictures[static_cast<std::size_t>(k)], cursorPoint, txtPressTrack, skin());
    }
}

int PaperWindow::NextOwnChange() const {
    // The clock's next second.
    if (!lblClock || lblClock->isHidden()) return -1;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - clockStart_);
    return static_cast<int>(1000 - elapsed.count() % 1000) + 1;
}

void PaperWindow::UpdateClock() {
    if (!lblClock) return;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - clockStart_);
    lblClock->setText(Text(ElapsedText(elapsed)));
}

// ---- Layout on every size change

void PaperWindow::LayoutContents() {
    const int w = width();
    const int h = height();
    const int left = BLeft->x() + BLeft->width();
    const int stripTop = BTopLeft->y() + BTopLeft->height();
    toolbar->setGeometry(left, stripTop, std::max(0, w - BRight->width() - BLeft->width()), PaperToolbar::kHeight);
    toolbar->Layout(w);
    const int below = toolbar->y() + toolbar->height();
    const int bottom = h - BBot->height();
    const int sheetHeight = std::max(0, bottom - below);

    int questionWidth = 0;
    if (sheetShown_) {
        AnsBox->setGeometry(w - AnsBox->width() - BRight->width(), below, AnsBox->width(), sheetHeight);
        PicHideAns->setGeometry(AnsBox->x() - PicHideAns->width(), below, PicHideAns->width(), sheetHeight);
        questionWidth = w - AnsBox->width() - PicHideAns->width() - BLeft->width() - BRight->width();
    } else {
        AnsBox->setGeometry(w, below, AnsBox->width(), sheetHeight);  // off the right side
        PicHideAns->setGeometry(w - PicHideAns->width() - BRight->width(), below, PicHideAns->width(), sheetHeight);
        questionWidth = w - PicHideAns->width() - BLeft->width() - BRight->width();
    }
    ImgHandle->move((PicHideAns->width() - ImgHandle->width()) / 2, (sheetHeight - ImgHandle->height()) / 2);
    const int questionHeight = std::max(0, h - below - StatusStrip::kHeight - BBot->height());
    question->setGeometry(left, below, std::max(0, questionWidth), questionHeight);
    strip->setGeometry(BLeft->width(), question->y() + question->height(), question->width(), StatusStrip::kHeight);
    fmeMark->move(question->x() + (question->width() - fmeMark->width()) / 2,
                  question->y() + (question->height() - fmeMark->height()) / 2);
    Sizer->raise();
}

}  // namespace ep
