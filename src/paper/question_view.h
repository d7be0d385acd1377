#pragma once

// The question view: the page of the question on show, or its worked
// solution, copied from the resources into the data folder as
// "temppaper<resource id>.mht" and shown in a web view. At most one such file
// exists per view; it goes when the next one is written and when the view goes.

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "resources.h"

class QMessageBox;
class QPrinter;
class QWebEngineView;

namespace ep {

class WebEngine;

class QuestionView : public QWidget {
    Q_OBJECT

public:
    QuestionView(const ResourceSource& resources, const QString& dataFolder, QWidget* parent);
    ~QuestionView() override;

    // Writes question `questionId`'s page, deleting the one written before,
    // and shows it. Returns ExtractResource's status; when it is not 0 the view
    // says that the page cannot be shown rather than keep the last question's.
    int ShowQuestion(int questionId);
    // The same for the question's worked solution (resource id + 20000). A
    // question without one shows a note saying so.
    int ShowSolution(int questionId);
    // Whether the page asked for last is a worked solution.
    bool ShowingSolution() const { return solution_; }
    // The page file last written, "" before the first.
    QString PageFile() const { return pageFile_; }
    // Deletes the page file, if it still exists.
    void DeletePageFile();
    // For a closing window: the web view and the page file go now, not when
    // the window is deleted, which may be after the web engine has stopped.
    void Release();

    // The web view (a QWebEngineView), created when the view is first shown,
    // so a window that is never shown never starts the web engine. When the
    // engine cannot be loaded, a note that says so stands in its place and
    // this is null.
    template <typename View = QWebEngineView>
    View* brwWebBrowser() const {
        return qobject_cast<View*>(browser_);
    }
    // Whether the page asked for last has finished loading.
    bool PageLoaded() const { return loaded_; }

    // The print dialog, then the page on show to the printer chosen.
    void PrintQuestion();
    // The page on show to `printer`, which must live until printFinished.
    void PrintTo(QPrinter* printer);
    bool Printing() const { return printing_; }

    QLabel* QnTitle;  // "Question n", above the page

    // The page document's key-down and mouse-down handlers; true when the
    // event is refused (and the "Invalid operation" message shown).
    bool doc_onkeydown(int key, Qt::KeyboardModifiers modifiers);
    bool doc_onmousedown(Qt::MouseButton button);

signals:
    void pageLoaded(bool ok);
    void printFinished(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int ShowPage(int resourceId, bool solution);
    void CreateBrowser();
    void Navigate();
    void LayoutView();
    void ShowInvalidOperation();

    const ResourceSource& resources_;
    QString dataFolder_;
    QString pageFile_;
    QStringList undeleted_;  // pages that could not be removed yet (the folder was not writable)
    QString failure_;  // what to show instead of the page when it cannot be shown, "" when it can
    bool solution_ = false;
    WebEngine* engine_ = nullptr;
    QWidget* browser_ = nullptr;  // the web view, or the note in its place
    bool browserQueued_ = false;
    bool released_ = false;
    bool loaded_ = false;
    bool printing_ = false;
    std::unique_ptr<QPrinter> printer_;
    QPointer<QMessageBox> invalidBox_;
};

}  // namespace ep
