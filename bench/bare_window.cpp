// The floor of the home window's figures: a bare Qt Widgets window with one
// label, the size of the home window, linked against Qt Widgets alone.
//
//   bare_window [--idle SECONDS --settle MS]
//
// Prints when it is on the screen and its memory then; with --idle, after
// waiting MS milliseconds, the CPU it takes over SECONDS with the pointer
// resting on it.

#include <QApplication>
#include <QLabel>

#include "bench_support.h"

int main(int argc, char** argv) {
    bench::Mark("main");
    QApplication app(argc, argv);
    bench::Mark("application");
    double idleSeconds = 0;
    int settleMs = 0;
    for (int k = 1; k + 1 < argc; ++k) {
        if (QLatin1String(argv[k]) == QLatin1String("--idle")) idleSeconds = std::atof(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--settle")) settleMs = std::atoi(argv[k + 1]);
    }
    QLabel window(QStringLiteral("Exam Practice"));
    window.resize(800, 600);
    window.show();
    const long long painted = bench::WaitForFirstPaint(&window);
    if (painted < 0) return 1;
    bench::Mark("painted", painted);
    bench::Sample("memory", bench::FamilyRssKb() / 1024.0);
    if (idleSeconds > 0) {
        bench::Settle(settleMs);
        bench::Sample("idle", bench::IdlePercent(&window, idleSeconds));
        bench::Sample("idle memory", bench::FamilyRssKb() / 1024.0);
    }
    return 0;
}
