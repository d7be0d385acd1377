// The paper window as a pupil meets it, on the shipped course, beside a bare
// Qt WebEngine view showing the same page in the same run. Every figure is
// taken until the page is on the screen, read back from the display server.
//
//   first     the program started as main() starts it, the home window left
//             alone for a few seconds (a pupil reading it), then "Load paper
//             1" until question 1 is on the screen: the first paper of a run
//   warm      "Load paper 1" again, after closing it, alternating with a bare
//             web view loading the same page until it is on the screen
//   next      Next until the next question is on the screen, beside a bare
//             web view moving between question 1's and question 2's pages
//   solution  the Solution button of a marked paper until the worked solution
//             is on the screen, and Next while solutions are on show
//   idle      CPU of an open paper window and of the bare web view, each left
//             alone with the pointer resting on it, the web engine's
//             processes included; their memory
//
//   paper_window_bench [--runs N] [--wait MS] [--idle SECONDS]
//   paper_window_bench --run K [--wait MS] [--idle SECONDS]   one run, in a fresh process
//
// Meant for a real X server (under xvfb-run, QT_QPA_PLATFORM=xcb). The first
// paper of a run needs a fresh process, so each run is one.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <map>

#include "bench_support.h"
#include "contents.h"
#include "home_page.h"
#include "open_paper.h"
#include "qt_resources.h"
#include "test1.h"
#include "web_engine.h"

namespace {

struct Options {
    int runs = 5;
    int run = -1;
    int waitMs = 3000;
    double idleSeconds = 5;
};

QWidget* PageOf(ep::Contents& home) {
    ep::PaperWindow* paper = home.paperWindow();
    return paper ? paper->question->brwWebBrowser<QWidget>() : nullptr;
}

// Runs `step` and waits until the paper window's page is on the screen;
// milliseconds, or -1.
// With a `name`, where the time went is sampled too: "<name> returned"
// (the window's own code), "<name> loaded", "<name> painted" (first paint of
// the page after loading).
template <typename Step>
double Timed(ep::Contents& home, Step step, const std::string& name = {}) {
    bench::PageWatch watch([&home] { return PageOf(home); });
    watch.Arm();
    step();
    watch.Returned();
    ep::PaperWindow* paper = home.paperWindow();
    if (!paper) return -1;
    const auto connection = QObject::connect(paper, &ep::PaperWindow::questionLoaded, &watch, [&watch] { watch.Loaded(); });
    const double ms = watch.Wait();
    QObject::disconnect(connection);
    if (!name.empty()) {
        bench::Sample(name + " returned", watch.ReturnedMs());
        bench::Sample(name + " loaded", watch.LoadedMs());
        bench::Sample(name + " painted", watch.PaintedMs());
    }
    return ms;
}

double LoadPaper(ep::Contents& home, int index, const std::string& name = {}) {
    return Timed(home, [&] { home.Body_Home->Pa[static_cast<std::size_t>(index)]->click(); }, name);
}

void ClosePaper(ep::Contents& home) {
    if (home.paperWindow()) home.paperWindow()->CloseFromProgram();
    bench::Settle(300);
}

// A top-level web view (a plain QWebEngineView, from the program's own web
// engine) of the page area's size and place, loading `page`.
double BareView(const QString& page, const QRect& place, QWidget** kept = nullptr) {
    ep::WebEngine* engine = ep::LoadWebEngine();
    if (!engine) return -1;
    QWidget* view = nullptr;
    bench::PageWatch watch([&view] { return view; });
    auto watching = std::make_shared<bench::PageWatch*>(&watch);  // the view may outlive the watch
    view = engine->CreateView(
        nullptr,
        [watching](bool) {
            if (*watching) (*watching)->Loaded();
        },
        {});
    watch.Arm();
    view->setGeometry(place);
    view->show();
    engine->Load(view, QUrl::fromLocalFile(page));
    watch.Returned();
    const double ms = watch.Wait();
    *watching = nullptr;
    bench::Sample("bare loaded", watch.LoadedMs());
    bench::Sample("bare painted", watch.PaintedMs());
    if (kept) {
        *kept = view;
    } else {
        delete view;
        bench::Settle(300);
    }
    return ms;
}

// A bare web view moving between two pages `moves` times, as Next moves
// between questions: the floor of "next".
void BareNext(const QString& one, const QString& two, const QRect& place, int moves) {
    ep::WebEngine* engine = ep::LoadWebEngine();
    if (!engine) return;
    bench::PageWatch* watching = nullptr;
    QWidget* view = engine->CreateView(
        nullptr,
        [&watching](bool) {
            if (watching) watching->Loaded();
        },
        {});
    view->setGeometry(place);
    view->show();
    for (int m = 0; m <= moves; ++m) {
        bench::PageWatch watch([view] { return view; });
        watching = &watch;
        watch.Arm();
        engine->Load(view, QUrl::fromLocalFile(m % 2 == 0 ? one : two));
        const double ms = watch.Wait();
        watching = nullptr;
        if (m > 0) bench::Sample("bare next", ms);  // the first load only puts a page on show
    }
    delete view;  // before `watching` goes: its load callback refers to it
    bench::Settle(300);
}

// Marks paper `key` of the current module with every answer right, so that
// every worked solution is open.
void MarkAllRight(ep::Contents& home, int key) {
    ep::PaperRequest request;
    request.module = home.fields.LChose.toInt();
    request.courseCode = home.fields.lblCOD.toStdString();
    request.paperCount = home.fields.TtPapersCon.toInt();
    request.topicFirstSlot = 1;
    request.topicName = home.SubH1().toStdString();
    request.paperKey = key;
    ep::OpenPaper paper = ep::OpenPaper::Load(home.resources(), home.dataFolder().toStdString(), request);
    for (int s = 1; s <= paper.SlotCount(); ++s) {
        paper.SetAnswer(s, paper.catalogue().answerKey[static_cast<std::size_t>(s)]);
    }
    paper.Mark(std::chrono::seconds(60), "01/01/2026");
    home.RefreshContents();
}

int Run(int argc, char** argv, const Options& options) {
    // As src/app/main.cpp starts the program.
    QApplication app(argc, argv);
    QTemporaryDir data;
    ep::QtResources resources;
    std::unique_ptr<ep::Contents> home = ep::Contents::Start(resources, data.path());
    if (!home) return 1;
    home->show();
    if (bench::WaitForFirstPaint(home.get()) < 0) return 1;
    bench::Settle(options.waitMs);  // the pupil reads the home page

    bench::Sample("first", LoadPaper(*home, 0, "first"));
    ep::PaperWindow* paper = home->paperWindow();
    if (!paper) return 1;
    const QWidget* area = PageOf(*home);
    const QRect place(area->mapToGlobal(QPoint(0, 0)), area->size());
    const QString page = data.path() + QStringLiteral("/bare.mht");
    QFile::copy(paper->question->PageFile(), page);
    ClosePaper(*home);

    for (int r = 0; r < 3; ++r) {
        bench::Sample("bare", BareView(page, place));
        bench::Sample("warm", LoadPaper(*home, 0, "warm"));
        ClosePaper(*home);
    }

    LoadPaper(*home, 0);
    paper = home->paperWindow();
    const QString second = data.path() + QStringLiteral("/bare2.mht");
    for (int m = 0; m < 12; ++m) {
        const bool forward = (m / 4) % 2 == 0;  // 1 -> 5 and back, and on again
        bench::Sample("next", Timed(*home, [&] { forward ? paper->NextQuestion() : paper->PreviousQuestion(); }, "next"));
        if (m == 0) QFile::copy(paper->question->PageFile(), second);
    }
    ClosePaper(*home);
    BareNext(page, second, place, 12);

    MarkAllRight(*home, 102);
    LoadPaper(*home, 1);
    paper = home->paperWindow();
    for (int m = 0; m < 9; ++m) {
        // Questions 1 to 3 in turn: to the solution, Next with it on show,
        // back to the question.
        bench::Sample("solution", Timed(*home, [&] { paper->ToolBar07_Click(); }, "solution"));
        bench::Sample("next with solutions", Timed(*home, [&] { paper->NextQuestion(); }));
        Timed(*home, [&] { paper->ToolBar07_Click(); });
        if (m % 3 == 2) Timed(*home, [&] { paper->GoToQuestion(1); });
    }
    ClosePaper(*home);

    // Idle, in turn, the first one first in every other run.
    auto idlePaper = [&] {
        LoadPaper(*home, 0);
        bench::Sample("paper idle", bench::IdlePercent(home->paperWindow()->ToolBar02, options.idleSeconds));
        bench::Sample("paper memory", bench::FamilyRssKb() / 1024.0);
        ClosePaper(*home);
    };
    auto idleBare = [&] {
        QWidget* view = nullptr;
        BareView(page, place, &view);
        if (!view) return;
        bench::Sample("bare idle", bench::IdlePercent(view, options.idleSeconds));
        bench::Sample("bare memory", bench::FamilyRssKb() / 1024.0);
        delete view;
        bench::Settle(300);
    };
    if (options.run % 2 == 0) {
        idlePaper();
        idleBare();
    } else {
        idleBare();
        idlePaper();
    }
    return 0;
}

int Drive(const Options& options) {
    const QString self = QCoreApplication::applicationFilePath();
    std::map<std::string, std::vector<double>> samples;
    int runs = 0;
    for (int r = 0; r < options.runs; ++r) {
        const bench::ProbeOutput out =
            bench::RunProbe(self, {QStringLiteral("--run"), QString::number(r), QStringLiteral("--wait"),
                                   QString::number(options.waitMs), QStringLiteral("--idle"),
                                   QString::number(options.idleSeconds)},
                            600000);
        if (!out.ok) {
            std::fprintf(stderr, "paper_window_bench: run %d failed\n", r + 1);
            continue;
        }
        ++runs;
        for (const auto& [name, values] : out.samples) {
            for (double v : values) samples[name].push_back(v);
        }
    }
    if (runs == 0) return 1;
    auto m = [&](const char* name) { return bench::Median(samples[name]); };
    std::printf("%d runs; medians in ms:", runs);
    for (const auto& [name, values] : samples) std::printf("  %s %.2f (%zu)", name.c_str(), bench::Median(values), values.size());
    std::printf("\n");
    const std::string wait = bench::Number(options.waitMs / 1000.0, "%.0f");
    bench::Figure("first \"Load paper 1\" of a run (home window idle " + wait + " s before), until on the screen",
                  m("first"), "ms", "warm " + bench::Number(m("warm")) + " ms",
                  bench::Number(m("first") / m("warm")) + "x warm", "1.3x warm", runs);
    bench::Figure("\"Load paper 1\" again (warm), until question 1 is on the screen", m("warm"), "ms",
                  bench::Number(m("bare")) + " ms", bench::Number(m("warm") / m("bare")) + "x", "1.1x", runs);
    bench::Figure("Next, until the next question is on the screen", m("next"), "ms",
                  bench::Number(m("bare next")) + " ms", bench::Number(m("next") / m("bare next")) + "x", "15 ms", runs);
    bench::Figure("Solution, until the worked solution is on the screen", m("solution"), "ms", "", "", "15 ms", runs);
    bench::Figure("Next with solutions on show", m("next with solutions"), "ms", "", "", "15 ms", runs);
    bench::Figure("idle CPU of a paper window (web engine included)", m("paper idle"), "% of a core",
                  bench::Number(m("bare idle")) + " %", bench::Number(m("paper idle") - m("bare idle"), "%+.3f") + " %",
                  "+0.05 %", runs);
    bench::Figure("memory of a paper window (web engine included)", m("paper memory"), "MB",
                  bench::Number(m("bare memory")) + " MB", "", "-", runs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int k = 1; k + 1 < argc; ++k) {
        const QLatin1String arg(argv[k]);
        if (arg == QLatin1String("--runs")) options.runs = std::max(1, std::atoi(argv[k + 1]));
        if (arg == QLatin1String("--run")) options.run = std::atoi(argv[k + 1]);
        if (arg == QLatin1String("--wait")) options.waitMs = std::atoi(argv[k + 1]);
        if (arg == QLatin1String("--idle")) options.idleSeconds = std::atof(argv[k + 1]);
    }
    if (options.run >= 0) return Run(argc, argv, options);
    QCoreApplication app(argc, argv);
    return Drive(options);
}
