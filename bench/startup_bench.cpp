// The home window as a pupil meets it, beside a bare Qt Widgets window
// (bare_window) started the same way in the same run:
//
//   start-up  from spawning the program to the home window on the screen,
//             with the moments in between (main reached, Qt started, skin
//             written, window built, course and results read)
//   idle      CPU of the home window and of the pop-up, left alone with the
//             pointer resting on a button, once the home window has had time
//             to prepare the web engine; the web engine's processes count
//   memory    once on the screen, and when idle
//
//   startup_bench [--runs N] [--idle SECONDS] [--settle MS]
//   startup_bench --probe home|popup FOLDER [--idle SECONDS --settle MS]
//
// Meant for a real X server (under xvfb-run, QT_QPA_PLATFORM=xcb). Each run
// starts the bare window and the program in turn, so drift in the machine's
// load falls on both.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

#include "bench_support.h"
#include "contents.h"
#include "popup.h"
#include "qt_resources.h"
#include "skin_files.h"

namespace {

struct Options {
    int runs = 5;
    double idleSeconds = 5;
    int settleMs = 4000;
};

// The program's start, as src/app/main.cpp does it, with a mark after each step
// of Contents::Start.
int ProbeHome(int argc, char** argv, const QString& folder, const Options& options, bool idle) {
    bench::Mark("main");
    QApplication app(argc, argv);
    bench::Mark("application");
    ep::QtResources resources;
    ep::ExtractSkinGraphics(resources, folder.toStdString());
    bench::Mark("skin");
    auto home = std::make_unique<ep::Contents>(resources, folder);
    bench::Mark("window");
    if (!home->Form_Load()) return 1;
    bench::Mark("course");
    home->show();
    const long long painted = bench::WaitForFirstPaint(home.get());
    if (painted < 0) return 1;
    bench::Mark("painted", painted);
    bench::Sample("memory", bench::FamilyRssKb() / 1024.0);
    if (idle) {
        bench::Settle(options.settleMs);
        bench::Sample("idle", bench::IdlePercent(home->ToolBar[1], options.idleSeconds));
        bench::Sample("idle memory", bench::FamilyRssKb() / 1024.0);
    }
    return 0;
}

// A yes/no pop-up over a window, as Mark asks it.
int ProbePopUp(int argc, char** argv, const QString& folder, const Options& options) {
    QApplication app(argc, argv);
    ep::ExtractSkinGraphics(ep::QtResources(), folder.toStdString());
    QWidget owner;
    owner.resize(800, 600);
    ep::PopUpResponseField reply;
    ep::frmPopUp pop(reply, folder);
    pop.CallPop(QStringLiteral("Marking"), QStringLiteral("Do you want to mark your practice now?"),
                ep::PopUpButtons::YesNo, owner);
    pop.show();
    if (bench::WaitForFirstPaint(&pop) < 0) return 1;
    bench::Settle(options.settleMs);
    bench::Sample("idle", bench::IdlePercent(pop.But1, options.idleSeconds));
    bench::Sample("idle memory", bench::FamilyRssKb() / 1024.0);
    return 0;
}

using Samples = std::map<std::string, std::vector<double>>;

void Collect(Samples& into, const std::string& prefix, const bench::ProbeOutput& out, bool marks = true) {
    if (marks) {
        for (const auto& [name, ms] : out.marks) into[prefix + name].push_back(ms);
    }
    for (const auto& [name, values] : out.samples) {
        for (double v : values) into[prefix + name].push_back(v);
    }
}

double M(Samples& samples, const std::string& name) { return bench::Median(samples[name]); }

int Drive(const Options& options) {
    const QString self = QCoreApplication::applicationFilePath();
    const QString bare = QCoreApplication::applicationDirPath() + QStringLiteral("/bare_window");
    QTemporaryDir data;
    const QStringList idle = {QStringLiteral("--idle"), QString::number(options.idleSeconds), QStringLiteral("--settle"),
                              QString::number(options.settleMs)};
    // The first start writes the results files; every start after it is a pupil's usual one.
    if (!bench::RunProbe(self, {QStringLiteral("--probe"), QStringLiteral("home"), data.path()}).ok) {
        std::fprintf(stderr, "startup_bench: the program did not start\n");
        return 1;
    }
    Samples samples;
    for (int r = 0; r < options.runs; ++r) {
        auto runBare = [&] { Collect(samples, "bare ", bench::RunProbe(bare, {})); };
        auto runHome = [&] {
            Collect(samples, "home ", bench::RunProbe(self, {QStringLiteral("--probe"), QStringLiteral("home"), data.path()}));
        };
        // Alternating which goes first.
        if (r % 2 == 0) {
            runBare();
            runHome();
        } else {
            runHome();
            runBare();
        }
    }
    for (int r = 0; r < options.runs; ++r) {
        // Start-up is measured above, without the idle runs' load.
        Collect(samples, "bare ", bench::RunProbe(bare, idle), false);
        Collect(samples, "home ",
                bench::RunProbe(self, QStringList{QStringLiteral("--probe"), QStringLiteral("home"), data.path()} + idle),
                false);
        Collect(samples, "popup ",
                bench::RunProbe(self, QStringList{QStringLiteral("--probe"), QStringLiteral("popup"), data.path()} + idle),
                false);
    }
    const int runs = options.runs;
    const double home = M(samples, "home painted");
    const double bareMs = M(samples, "bare painted");
    std::printf("start-up, median of %d runs each, ms from spawning the process:\n", runs);
    std::printf("  %-36s %8s %8s\n", "moment", "program", "bare");
    for (const char* mark : {"main", "application", "skin", "window", "course", "painted"}) {
        const std::string name(mark);
        std::printf("  %-36s %8.1f %8s\n", mark, M(samples, "home " + name),
                    samples.count("bare " + name) ? bench::Number(M(samples, "bare " + name), "%.1f").c_str() : "");
    }
    bench::Figure("start-up to the home window on the screen", home, "ms", bench::Number(bareMs) + " ms",
                  bench::Number(home / bareMs) + "x", "2x", runs);
    // Each step as the median of its own durations.
    struct Step {
        const char* name;
        const char* from;
        const char* to;
    };
    for (const Step& step : {Step{"  loading the program, to main()", nullptr, "main"},
                             Step{"  starting Qt (QApplication)", "main", "application"},
                             Step{"  writing the skin pictures", "application", "skin"},
                             Step{"  building the window", "skin", "window"},
                             Step{"  reading the course and results", "window", "course"},
                             Step{"  showing, until on the screen", "course", "painted"}}) {
        std::vector<double> durations;
        const auto& to = samples["home " + std::string(step.to)];
        const auto* from = step.from ? &samples["home " + std::string(step.from)] : nullptr;
        for (std::size_t k = 0; k < to.size(); ++k) durations.push_back(to[k] - (from ? (*from)[k] : 0));
        std::string bareStep;
        if (std::string(step.to) == "main" || std::string(step.to) == "application") {
            std::vector<double> bareDurations;
            const auto& bareTo = samples["bare " + std::string(step.to)];
            const auto* bareFrom = step.from ? &samples["bare " + std::string(step.from)] : nullptr;
            for (std::size_t k = 0; k < bareTo.size(); ++k) bareDurations.push_back(bareTo[k] - (bareFrom ? (*bareFrom)[k] : 0));
            bareStep = bench::Number(bench::Median(bareDurations)) + " ms";
        }
        bench::Figure(step.name, bench::Median(durations), "ms", bareStep, "", "-", runs);
    }
    bench::Figure("memory of the home window on the screen", M(samples, "home memory"), "MB",
                  bench::Number(M(samples, "bare memory")) + " MB", "", "-", runs);
    const double bareIdle = M(samples, "bare idle");
    for (const auto& [who, name] : {std::pair<std::string, std::string>{"home", "home window"},
                                    std::pair<std::string, std::string>{"popup", "pop-up"}}) {
        const double idlePercent = M(samples, who + " idle");
        bench::Figure("idle CPU of the " + name, idlePercent, "% of a core", bench::Number(bareIdle) + " %",
                      bench::Number(idlePercent - bareIdle, "%+.3f") + " %", "+0.05 %", runs);
        bench::Figure("memory of the idle " + name, M(samples, who + " idle memory"), "MB",
                      bench::Number(M(samples, "bare idle memory")) + " MB", "", "-", runs);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    QString probe, folder;
    bool idle = false;
    for (int k = 1; k + 1 < argc; ++k) {
        const QLatin1String arg(argv[k]);
        if (arg == QLatin1String("--runs")) options.runs = std::max(1, std::atoi(argv[k + 1]));
        if (arg == QLatin1String("--idle")) {
            options.idleSeconds = std::atof(argv[k + 1]);
            idle = true;
        }
        if (arg == QLatin1String("--settle")) options.settleMs = std::atoi(argv[k + 1]);
        if (arg == QLatin1String("--probe") && k + 2 < argc) {
            probe = QString::fromLocal8Bit(argv[k + 1]);
            folder = QString::fromLocal8Bit(argv[k + 2]);
        }
    }
    if (probe == QLatin1String("home")) return ProbeHome(argc, argv, folder, options, idle);
    if (probe == QLatin1String("popup")) return ProbePopUp(argc, argv, folder, options);
    QCoreApplication app(argc, argv);
    return Drive(options);
}
