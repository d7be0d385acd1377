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

// Resident memory of this process, in kB.
long RssKb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
    }
    std::fclose(status);
    return kb;
}

// One line a table can be made from: name, value, unit, target, bare Qt figure.
void Figure(const char* name, double value, const char* unit, const char* target, const std::string& bare) {
    std::printf("FIGURE\t%s\t%.2f\t%s\t%s\t%s\n", name, value, unit, target, bare.c_str());
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

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
    std::printf("shown %ld\n", RssKb());
    std::fflush(stdout);
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from spawning the probe to its window on screen; its memory then.
double StartOnce(const QString& self, const QString& kind, const QString& folder, long* rssKb = nullptr) {
    QProcess probe;
    QElapsedTimer wall;
    wall.start();
    probe.start(self, {QStringLiteral("--probe"), kind, folder});
    if (!probe.waitForReadyRead(30000)) return -1;
    const double ms = wall.nsecsElapsed() / 1e6;
    probe.waitForFinished(30000);
    const QList<QByteArray> words = probe.readAllStandardOutput().simplified().split(' ');
    if (rssKb && words.size() == 2) *rssKb = words[1].toLong();
    return ms;
}

void StartUp(const QString& self) {
    QTemporaryDir data;
    StartOnce(self, QStringLiteral("home"), data.path());  // first start writes the results files
    std::vector<double> home, bare;
    long homeRss = 0, bareRss = 0;
    for (int i = 0; i < 9; ++i) {
        bare.push_back(StartOnce(self, QStringLiteral("bare"), data.path(), &bareRss));
        home.push_back(StartOnce(self, QStringLiteral("home"), data.path(), &homeRss));
    }
    const double h = Median(home), b = Median(bare);
    std::printf("start-up to the home window shown, topic 1 chosen: %.1f ms (median of 9)\n", h);
    std::printf("start-up of a bare Qt Widgets window:              %.1f ms\n", b);
    std::printf("ratio: %.2fx (target: under 2x)\n", h / b);
    std::printf("memory once shown: home window %ld kB, bare window %ld kB\n", homeRss, bareRss);
    Figure("start-up to the home window", h, "ms", "under 2x bare", Number(b) + " ms");
    Figure("start-up ratio to a bare window", h / b, "x", "under 2", "1");
    Figure("memory of the home window", homeRss / 1024.0, "MB", "-", Number(bareRss / 1024.0) + " MB");
}

// CPU of a window left alone for 10 s with the pointer over `hover`.
double IdlePercent(QWidget* window, QWidget* hover) {
    window->move(100, 100);
    window->show();
    window->activateWindow();
    QCursor::setPos(hover->mapToGlobal(QPoint(20, 20)));
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop idle;
    QTimer::singleShot(10000, &idle, &QEventLoop::quit);
    idle.exec();
    return 100 * (CpuSeconds() - cpu) / (wall.nsecsElapsed() / 1e9);
}

void Idle() {
    QTemporaryDir data;
    BenchResources resources;
    QLabel bare(QStringLiteral("Exam Practice"));
    bare.resize(800, 600);
    const double barePercent = IdlePercent(&bare, &bare);
    bare.hide();
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources.get(), data.path());
    if (!home) return;
    const long long loads = ep::SkinPicture::FileLoads();
    const double homePercent = IdlePercent(home.get(), home->ToolBar[1]);
    std::printf("idle over 10 s, %% of one core: home window %.2f%% (target: under 1%%), bare window %.2f%%, "
                "%lld picture loads\n",
                homePercent, barePercent, ep::SkinPicture::FileLoads() - loads);
    Figure("idle CPU of the home window", homePercent, "% of a core", "under 1", Number(barePercent) + " %");
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
