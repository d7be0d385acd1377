#pragma once

// The web engine behind the question view. Its libraries are large and slow
// to load and start (OpenGL set-up, a browser's threads and processes), so
// they stay out of the program's start: they live in a library of their own
// in the folder web/ beside the program file, loaded the first time a page is shown or the home
// window warms the engine up while it waits for the pupil. A program linked
// against that library has it from its start instead.

#include <QString>
#include <functional>

class QObject;
class QPrinter;
class QUrl;
class QWidget;

namespace ep {

class WebEngine {
public:
    virtual ~WebEngine() = default;

    // A web view, child of `parent` (a QWebEngineView). `loaded` runs when a
    // page has finished loading, `printed` when a print has finished.
    virtual QWidget* CreateView(QWidget* parent, std::function<void(bool ok)> loaded,
                                std::function<void(bool ok)> printed) = 0;
    virtual void Load(QWidget* view, const QUrl& url) = 0;
    virtual void SetHtml(QWidget* view, const QString& html) = 0;
    // Prints the page on show to `printer`, which must live until `printed` runs.
    virtual void Print(QWidget* view, QPrinter* printer) = 0;

    // Starts the engine with nothing on the screen: the browser's set-up, then
    // a page no one sees loads an empty document and goes. The page is a
    // child of `owner`, so it goes with it; `done` runs when it has loaded.
    virtual void Warm(QObject* owner, std::function<void()> done) = 0;
};

// The engine of this process, loaded on the first call and kept. Returns
// nullptr when it cannot be loaded, with the reason, in words for the pupil,
// in `why`.
WebEngine* LoadWebEngine(QString* why = nullptr);

}  // namespace ep

// What the engine's library gives the program.
extern "C" ep::WebEngine* ep_web_engine();
