// Shows one page of the shipped course (a question, or a worked solution at
// the question's id + 20000) in a web view the size of the paper window's
// question view, for looking at it under a real display:
//
//   page_demo ID [--shot FILE] [--pdf FILE] [--size WIDTHxHEIGHT] [--after MILLISECONDS]
//
// --shot saves the screen to FILE once the page has loaded and drawn;
// --pdf prints the page to FILE on A4, as the paper window prints it, and
// says how many pages it took. With either, the program ends by itself.

#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

#include "qt_resources.h"
#include "resources.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: page_demo ID [--shot FILE] [--pdf FILE] [--size WxH] [--after MS]\n");
        return 2;
    }
    int id = args[1].toInt();
    QString shot, pdf;
    QSize size(700, 500);
    int after = 800;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--shot")) shot = args[i + 1];
        else if (args[i] == QLatin1String("--pdf")) pdf = args[i + 1];
        else if (args[i] == QLatin1String("--after")) after = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--size")) {
            QStringList wh = args[i + 1].split(QLatin1Char('x'));
            if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
        }
    }
    QTemporaryDir folder;
    QString file = QDir(folder.path()).filePath(QStringLiteral("page%1.mht").arg(id));
    ep::QtResources resources;
    int status = ep::ExtractResource(resources, id, ep::kCustomType, file.toStdString());
    if (status != 0) {
        std::fprintf(stderr, "page_demo: resource %d: %s\n", id, ep::ExtractStatusText(status).c_str());
        return 1;
    }
    QWebEngineView view;
    view.resize(size);
    view.show();
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) {
        if (!ok) {
            std::fprintf(stderr, "page_demo: the page did not load\n");
            app.exit(1);
            return;
        }
        if (shot.isEmpty() && pdf.isEmpty()) return;
        QTimer::singleShot(after, [&] {
            if (!shot.isEmpty()) QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
            if (pdf.isEmpty()) {
                app.quit();
                return;
            }
            QObject::connect(view.page(), &QWebEnginePage::pdfPrintingFinished,
                             [&](const QString&, bool done) { app.exit(done ? 0 : 1); });
            view.page()->printToPdf(pdf, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        });
    });
    view.load(QUrl::fromLocalFile(file));
    return app.exec();
}
