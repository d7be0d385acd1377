#include <QApplication>

#include "contents.h"
#include "qt_resources.h"

int main(int argc, char* argv[]) {
    // The web engine shows question pages to screen readers on Linux only
    // when told before it starts; a value the user set stands.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY")) {
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    }
    QApplication app(argc, argv);
    // Everything the program writes lives beside the program file.
    const QString dataFolder = QCoreApplication::applicationDirPath();
    ep::QtResources resources;
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources, dataFolder);
    if (!home) return 1;
    home->show();
    return app.exec();
}
