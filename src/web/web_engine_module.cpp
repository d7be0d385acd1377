// The web engine of web_engine.h: Qt WebEngine, in a library of its own that
// the program loads when it first needs it.

#include <unistd.h>

#include <QPrinter>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "web_engine.h"

namespace {

QtMessageHandler g_otherMessages = nullptr;

// Drawing in software, the engine never uses OpenGL, yet it looks for it as it
// starts and says so when the context it shares with has none.
void QuietAboutOpenGL(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.trimmed() == QLatin1String("No suitable graphics backend found")) return;
    g_otherMessages(type, context, message);
}

// Once per process, before the first page or view.
void StartEngine() {
    static const bool started = [] {
        // Question pages are still pictures: drawn in software, a window that
        // repaints its clock or a caret costs a trifle, where composing the
        // page through a software OpenGL costs ten times as much.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // The web engine will not start its sandbox for root and would stop
        // the program instead; the pages are the program's own, with no network.
        if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        }
        g_otherMessages = qInstallMessageHandler(QuietAboutOpenGL);
        QWebEngineProfile::defaultProfile();  // the browser's own set-up
        qInstallMessageHandler(g_otherMessages);
        return true;
    }();
    (void)started;
}

QWebEngineView* View(QWidget* view) { return qobject_cast<QWebEngineView*>(view); }

class QtWebEngine : public ep::WebEngine {
public:
    QWidget* CreateView(QWidget* parent, std::function<void(bool)> loaded, std::function<void(bool)> printed) override {
        StartEngine();
        auto* view = new QWebEngineView(parent);
        view->setContextMenuPolicy(Qt::NoContextMenu);  // the page's own menu never opens
        QObject::connect(view, &QWebEngineView::loadFinished, view, std::move(loaded));
        QObject::connect(view, &QWebEngineView::printFinished, view, std::move(printed));
        return view;
    }

    void Load(QWidget* view, const QUrl& url) override {
        if (QWebEngineView* web = View(view)) web->load(url);
    }

    void SetHtml(QWidget* view, const QString& html) override {
        if (QWebEngineView* web = View(view)) web->setHtml(html);
    }

    void Print(QWidget* view, QPrinter* printer) override {
        if (QWebEngineView* web = View(view)) web->print(printer);
    }

    void Warm(QObject* owner, std::function<void()> done) override {
        StartEngine();
        // The page in a later turn of the event loop: the pupil's input gets
        // in between the two. An empty page, never shown, starts the renderer
        // and its first document as well as a question page would, and the
        // measurements show nothing more to gain from a view or an archive.
        QTimer::singleShot(0, owner, [owner, done = std::move(done)] {
            auto* page = new QWebEnginePage(owner);
            QObject::connect(page, &QWebEnginePage::loadFinished, page, [page, done] {
                page->deleteLater();
                if (done) done();
            });
            page->setHtml(QStringLiteral("<!DOCTYPE html><html><body></body></html>"));
        });
    }
};

}  // namespace

extern "C" Q_DECL_EXPORT ep::WebEngine* ep_web_engine() {
    static QtWebEngine engine;
    return &engine;
}
