#include "question_view.h"

#include <QFile>
#include <QFont>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>

#include "open_paper.h"
#include "skin_palette.h"
#include "skinned_window.h"
#include "web_engine.h"

namespace ep {
namespace {

constexpr int kTitleHeight = 24;
constexpr int kPageMargin = 6;
constexpr int kPrintResolution = 300;  // sharp enough for a diagram, small enough to be quick

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

QuestionView::QuestionView(const ResourceSource& resources, const QString& dataFolder, QWidget* parent)
    : QWidget(parent), resources_(resources), dataFolder_(dataFolder) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette::kQuestion);
    setPalette(pal);
    setAutoFillBackground(true);

    QnTitle = new QLabel(this);
    QnTitle->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11);
    font.setBold(true);
    QnTitle->setFont(font);
    QPalette titlePal = QnTitle->palette();
    titlePal.setColor(QPalette::WindowText, palette::kText);
    QnTitle->setPalette(titlePal);
}

QuestionView::~QuestionView() { Release(); }

void QuestionView::Release() {
    released_ = true;
    // The web view may still be printing into printer_: it goes first.
    delete browser_;
    browser_ = nullptr;
    DeletePageFile();
}

int QuestionView::ShowQuestion(int questionId) { return ShowPage(questionId, false); }

int QuestionView::ShowSolution(int questionId) { return ShowPage(SolutionResourceId(questionId), true); }

int QuestionView::ShowPage(int resourceId, bool solution) {
    DeletePageFile();
    solution_ = solution;
    pageFile_ = dataFolder_ + QStringLiteral("/temppaper%1.mht").arg(resourceId);
    // Made again at every move: it need not wait for the disk.
    const int status =
        ExtractResource(resources_, resourceId, kCustomType, pageFile_.toStdString(), Durability::kCache);
    const QString reason = Escaped(QString::fromStdString(ExtractStatusText(status)));
    if (status == 0) {
        failure_.clear();
    } else if (!solution) {
        failure_ = QStringLiteral("This question's page cannot be shown: %1.").arg(reason);
    } else if (status == kExtractResourceMissing) {
        failure_ = QStringLiteral("This question has no worked solution yet. Press \"Question\" to go back to "
                                  "the question.");
    } else {
        failure_ = QStringLiteral("This question's worked solution cannot be shown: %1.").arg(reason);
    }
    Navigate();
    return status;
}

void QuestionView::DeletePageFile() {
    // A page that cannot be removed now is tried again at the next move and
    // at closing, so none is left behind once the folder can be written.
    if (!pageFile_.isEmpty() && !undeleted_.contains(pageFile_)) undeleted_ << pageFile_;
    QStringList still;
    for (const QString& page : std::as_const(undeleted_)) {
        if (QFile::exists(page) && !QFile::remove(page)) still << page;
    }
    undeleted_ = still;
}

void QuestionView::Navigate() {
    loaded_ = false;
    if (!engine_) return;  // loads once the view exists; without an engine, its note stays
    if (failure_.isEmpty()) {
        engine_->Load(browser_, QUrl::fromLocalFile(pageFile_));
    } else {
        // Never leave the last question's page under the new question's number.
        engine_->SetHtml(browser_, QStringLiteral("<html><body style=\"font-family: Arial, sans-serif; "
                                                  "font-size: 15px; margin: 24px; color: #1e2f45\"><p>%1</p>"
                                                  "</body></html>")
                                       .arg(failure_));
    }
}

void QuestionView::CreateBrowser() {
    browserQueued_ = false;
    if (browser_ || released_) return;
    QString why;
    engine_ = LoadWebEngine(&why);
    if (engine_) {
        browser_ = engine_->CreateView(
            this,
            [this](bool ok) {
                // The page's widget may be new after a load: watch it every time.
                if (QWidget* document = browser_->focusProxy()) document->installEventFilter(this);
                loaded_ = true;
                emit pageLoaded(ok);
            },
            [this](bool ok) {
                printing_ = false;
                emit printFinished(ok);
            });
    } else {
        auto* note = new QLabel(
            QStringLiteral("The question pages cannot be shown: %1. Installing the program again puts it right.")
                .arg(why),
            this);
        note->setTextFormat(Qt::PlainText);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        note->setMargin(24);
        note->setFont(QFont(QStringLiteral("Arial"), 11));
        note->setAutoFillBackground(true);
        browser_ = note;
    }
    LayoutView();
    browser_->show();
    if (!pageFile_.isEmpty()) Navigate();
}

void QuestionView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // After the window's first paint: the frame and the sheet show at once,
    // the page as soon as the engine has it.
    if (!browser_ && !browserQueued_) {
        browserQueued_ = true;
        QTimer::singleShot(0, this, &QuestionView::CreateBrowser);
    }
}

void QuestionView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutView();
}

void QuestionView::LayoutView() {
    // The title strip: 120 HiMetric down, 320 in from either side.
    const int inset = HiMetricToPixels(320);
    QnTitle->setGeometry(inset, HiMetricToPixels(120), std::max(0, width() - 2 * inset), kTitleHeight);
    if (browser_) {
        const int top = QnTitle->y() + QnTitle->height() + 2;
        browser_->setGeometry(kPageMargin, top, std::max(1, width() - 2 * kPageMargin),
                              std::max(1, height() - top - kPageMargin));
    }
}

void QuestionView::PrintQuestion() {
    if (!browser_ || printing_) return;
    if (!engine_) {  // only the note that says so is on show: nothing to print
        emit printFinished(false);
        return;
    }
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::PrinterResolution);
        printer_->setResolution(kPrintResolution);
    }
    QPrintDialog dialog(printer_.get(), window());
    dialog.setWindowTitle(solution_ ? QStringLiteral("Print solution") : QStringLiteral("Print question"));
    if (dialog.exec() != QDialog::Accepted || !browser_) return;
    PrintTo(printer_.get());
}

void QuestionView::PrintTo(QPrinter* printer) {
    if (!engine_ || !browser_ || printing_) return;
    printing_ = true;
    engine_->Print(browser_, printer);
}

bool QuestionView::doc_onkeydown(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::ControlModifier) || (key != Qt::Key_C && key != Qt::Key_X)) return false;
    ShowInvalidOperation();
    return true;
}

bool QuestionView::doc_onmousedown(Qt::MouseButton button) {
    if (button != Qt::RightButton) return false;
    ShowInvalidOperation();
    return true;
}

void QuestionView::ShowInvalidOperation() {
    if (invalidBox_) return;  // one at a time, however often the keys repeat
    // Shown from the event loop, never from inside the page's own event.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("Invalid operation"),
                                QMessageBox::Ok, window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    invalidBox_ = box;
    QTimer::singleShot(0, box, [box] { box->open(); });
}

bool QuestionView::eventFilter(QObject* watched, QEvent* event) {
    if (!browser_ || watched != browser_->focusProxy()) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool copyOrCut = (key->modifiers() & Qt::ControlModifier) &&
                                   (key->key() == Qt::Key_C || key->key() == Qt::Key_X);
            // Every other way of copying or cutting the page is refused too.
            const bool otherCopy = key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut);
            if (!copyOrCut && !otherCopy) break;
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();  // the key press must reach us, not a shortcut
                return true;
            }
            if (!doc_onkeydown(key->key(), key->modifiers())) ShowInvalidOperation();
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
                if (event->type() == QEvent::MouseButtonPress) doc_onmousedown(Qt::RightButton);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) return true;
            break;
        case QEvent::ContextMenu:
            return true;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ep
