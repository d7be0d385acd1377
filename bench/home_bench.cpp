// The home window's costs: the time from process start to the window shown
// with topic 1 chosen, beside a bare Qt Widgets window started the same way in
// the same run; and the CPU an idle home window takes with its 100 ms timer.
//
//   home_bench                      both figures
//   home_bench --probe home|bare D  one start (used by the figures above)
//
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include <sys/resource.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "contents.h"
#include "qt_resources.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The program's own resources when they hold the course, else the fixture
// course over the program's skin.
struct BenchResources {
    ep::QtResources embedded;
    ep::FolderResources fixture{EP_FIXTURE_COURSE};
    ep::LayeredResources layered{fixture, embedded};
    const ep::ResourceSource& get() const {
        if (embedded.Load(30000, ep::kCustomType)) return embedded;
        return layered;
    }
};

int Probe(int argc, char** argv, const QString& kind, const QString& folder) {
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    BenchResources resources;
    if (kind == QLatin1String("bare")) {
        window = std::make_unique<QLabel>(QStringLiteral("Exam Practice"));
        window->resize(800, 600);
    } else {
        QElapsedTimer t;
        t.start();
        window = ep::Contents::Start(resources.get(), folder);
        if (!window) return 1;
        if (qEnvironmentVariableIsSet("EP_BENCH_DETAIL")) std::fprintf(stderr, "start %.1f ms\n", t.nsecsElapsed() / 1e6);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return 1;
    QCoreApplication::processEvents();
    std::puts("shown");
    std::fflush(stdout);
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from spawning the probe to its window on screen.
double StartOnce(const QString& self, const QString& kind, const QString& folder) {
    QProcess probe;
    QElapsedTimer wall;
    wall.start();
    probe.start(self, {QStringLiteral("--probe"), kind, folder});
    if (!probe.waitForReadyRead(30000)) return -1;
    const double ms = wall.nsecsElapsed() / 1e6;
    probe.waitForFinished(30000);
    return ms;
}

void StartUp(const QString& self) {
    QTemporaryDir data;
    StartOnce(self, QStringLiteral("home"), data.path());  // first start writes the results files
    std::vector<double> home, bare;
    for (int i = 0; i < 9; ++i) {
        bare.push_back(StartOnce(self, QStringLiteral("bare"), data.path()));
        home.push_back(StartOnce(self, QStringLiteral("home"), data.path()));
    }
    const double h = Median(home), b = Median(bare);
    std::printf("start-up to the home window shown, topic 1 chosen: %.1f ms (median of 9)\n", h);
    std::printf("start-up of a bare Qt Widgets window:              %.1f ms\n", b);
    std::printf("ratio: %.2fx (target: under 2x)\n", h / b);
}

void Idle() {
    QTemporaryDir data;
    BenchResources resources;
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources.get(), data.path());
    if (!home) return;
    home->move(100, 100);
    home->show();
    home->activateWindow();
    QCursor::setPos(home->ToolBar[1]->mapToGlobal(QPoint(20, 20)));
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    const long long loads = ep::SkinPicture::FileLoads();
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop idle;
    QTimer::singleShot(10000, &idle, &QEventLoop::quit);
    idle.exec();
    const double used = CpuSeconds() - cpu;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    std::printf("idle home window over 10 s: %.1f ms CPU, %.2f%% of one core (target: under 1%%), %lld picture loads\n",
                used * 1000, 100 * used / elapsed, ep::SkinPicture::FileLoads() - loads);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && QString::fromLatin1(argv[1]) == QLatin1String("--probe")) {
        return Probe(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QApplication app(argc, argv);
    StartUp(QCoreApplication::applicationFilePath());
    Idle();
    return 0;
}
