#include "web_engine.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QLibrary>
#include <QOpenGLContext>

QT_BEGIN_NAMESPACE
// How Qt's own modules set the context that every OpenGL context shares with.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace ep {
namespace {

using Entry = WebEngine* (*)();

Entry FindEngine(QString* why) {
    // A program linked against the engine's library has it already.
    if (auto entry = reinterpret_cast<Entry>(::dlsym(RTLD_DEFAULT, "ep_web_engine"))) return entry;
    // The engine will not start without a global OpenGL context to share
    // with, though it draws in software here and never uses it. Loaded before
    // the application, it makes one itself, which loads and probes the OpenGL
    // drivers; an empty context, never created, satisfies it for nothing.
    if (!QOpenGLContext::globalShareContext()) {
        auto* context = new QOpenGLContext(QCoreApplication::instance());
        qt_gl_set_global_share_context(context);
        QObject::connect(context, &QObject::destroyed, [] { qt_gl_set_global_share_context(nullptr); });
    }
    const QString file = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QStringLiteral(EP_WEB_MODULE);
    QLibrary library(file);
    auto entry = library.load() ? reinterpret_cast<Entry>(library.resolve("ep_web_engine")) : nullptr;
    if (!entry) {
        *why = QStringLiteral("the program's file %1 is missing or damaged").arg(QStringLiteral(EP_WEB_MODULE));
        qWarning("The web engine could not be loaded: %s", qPrintable(library.errorString()));
    }
    return entry;
}

}  // namespace

WebEngine* LoadWebEngine(QString* why) {
    static QString failure;
    static WebEngine* const engine = [] {
        Entry entry = FindEngine(&failure);
        return entry ? entry() : nullptr;
    }();
    if (!engine && why) *why = failure;
    return engine;
}

}  // namespace ep
