#include <QApplication>
#include <QLoggingCategory>

#include "contents.h"
#include "data_folder.h"
#include "display_guard.h"
#include "qt_resources.h"

int main(int argc, char* argv[]) {
    // The web engine shows question pages to screen readers on Linux only
    // when told before it starts; a value the user set stands.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY")) {
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    }
    // The engine warms at every start; its report of its set-up is for Qt's
    // developers, not for a pupil who started the program from a terminal
    // (QT_LOGGING_RULES still turns it back on).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    ep::DisplayGuard noDisplay;
    QApplication app(argc, argv);
    noDisplay.Release();
    const QString dataFolder = QString::fromStdString(
        ep::ChooseDataFolder(QCoreApplication::applicationDirPath().toStdString(), ep::CurrentDataFolderEnvironment())
            .string());
    ep::QtResources resources;
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources, dataFolder);
    if (!home) return 1;
    home->show();
    return app.exec();
}
