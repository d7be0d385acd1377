#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Stands in for the course home window until it exists.
    QLabel window(QStringLiteral("Exam Practice"));
    window.setAlignment(Qt::AlignCenter);
    window.setWindowTitle(QStringLiteral("Exam Practice"));
    window.resize(640, 400);
    window.show();
    return app.exec();
}
