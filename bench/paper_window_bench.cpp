// What a paper window costs the pupil's machine, against a bare Qt WebEngine
// window loading one question page in the same run:
//
//   open     Test1::Open until question 1's page has loaded, as a ratio to a
//            bare QWebEngineView shown and loading one page
//   next     Next until the next question's page has loaded
//   solution the Solution button of a marked paper until the worked solution
//            has loaded, and Next while solutions are on show; on the fixture
//            course when the course measured has no solutions yet
//   idle     CPU of an open paper window over 10 s with the pointer resting
//            on it, the web engine's own processes included
//
//   paper_window_bench [--rounds N] [--idle SECONDS] [--cold bare|paper] [--course FOLDER]
//
// FOLDER holds packed course resources, "shipped" naming the shipped course's
// in the build; by default the fixture course's paper 105 is opened, else the
// course's paper 101.
//
// The web engine starts once per process; the first window of a run pays for
// it. --cold names which kind goes first, and its time is printed apart; the
// ratio is taken over the rounds after it. Runs offscreen unless
// QT_QPA_PLATFORM says otherwise (under xvfb-run, QT_QPA_PLATFORM=xcb).

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "open_paper.h"
#include "paper_test_support.h"
#include "question_view.h"
#include "test1.h"

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

void Settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Waits for `signal` of `sender`, at most a minute; false if it never came.
template <typename Sender, typename Signal>
bool WaitFor(Sender* sender, Signal signal) {
    QEventLoop loop;
    bool came = false;
    auto connection = QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return came;
}

double CpuSecondsSelf() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Every live process: its parent and its CPU time so far.
struct Proc {
    int pid, ppid;
    double seconds;
};

std::vector<Proc> Processes() {
    std::vector<Proc> procs;
    const long ticks = sysconf(_SC_CLK_TCK);
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const int pid = entry.toInt(&numeric);
        if (!numeric) continue;
        std::ifstream in("/proc/" + entry.toStdString() + "/stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        std::vector<std::string> rest;
        while (fields >> field) rest.push_back(field);
        if (rest.size() < 13) continue;
        // After the name: state ppid ... utime (14th field) stime (15th).
        procs.push_back({pid, std::stoi(rest[1]), (std::stod(rest[11]) + std::stod(rest[12])) / ticks});
    }
    return procs;
}

// The processes descended from this one: the web engine's renderer, GPU and
// zygote processes.
std::vector<Proc> Descendants() {
    const std::vector<Proc> procs = Processes();
    std::vector<int> family{static_cast<int>(getpid())};
    std::vector<Proc> found;
    for (std::size_t k = 0; k < family.size(); ++k) {
        for (const Proc& proc : procs) {
            if (proc.ppid == family[k]) {
                family.push_back(proc.pid);
                found.push_back(proc);
            }
        }
    }
    return found;
}

double CpuSecondsDescendants() {
    double total = 0;
    for (const Proc& proc : Descendants()) total += proc.seconds;
    return total;
}

// Resident memory of this process and its descendants, in kB.
long RssKbFamily() {
    std::vector<int> pids{static_cast<int>(getpid())};
    for (const Proc& proc : Descendants()) pids.push_back(proc.pid);
    long total = 0;
    for (int pid : pids) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) total += std::atol(line.c_str() + 6);
        }
    }
    return total;
}

// One line a table can be made from: name, value, unit, target, bare Qt figure.
void Figure(const char* name, double value, const char* unit, const char* target, const char* bareFormat,
            double bare) {
    char bareText[64] = "-";
    if (bareFormat) std::snprintf(bareText, sizeof bareText, bareFormat, bare);
    std::printf("FIGURE\t%s\t%.2f\t%s\t%s\t%s\n", name, value, unit, target, bareText);
}

struct Bench {
    QString folder;
    ep::FolderResources course;
    ep::test::DataFolder data;
    ep::test::FakeHost host;
    QString page;

    explicit Bench(const QString& courseFolder)
        : folder(courseFolder), course(courseFolder.toStdString()), data(course), host(course, data.folder()) {
        host.UseCourse(data.startup);
        const bool fixture = courseFolder == QLatin1String(EP_FIXTURE_COURSE);
        host.Choose(fixture ? 105 : 101, 101, QStringLiteral("Whole Numbers"));
        // The page the paper opens at, for the bare view to load.
        const ep::PaperCatalogue paper =
            ep::LoadPaperCatalogue(course, data.path(), data.startup.firstModule, host.paperNum.toStdString());
        const QString first = QString::fromStdString(paper.questions[1]);
        page = data.folder() + QStringLiteral("/bare") + first + QStringLiteral(".mht");
        QFile::copy(folder + QLatin1Char('/') + first, page);
    }

    // A bare web view window: shown, then the page loaded into it.
    double Bare() {
        QElapsedTimer clock;
        clock.start();
        auto* view = new QWebEngineView;
        view->resize(800, 600);
        view->show();
        view->load(QUrl::fromLocalFile(page));
        const bool ok = WaitFor(view, &QWebEngineView::loadFinished);
        const double ms = clock.nsecsElapsed() / 1e6;
        delete view;
        Settle(100);
        return ok ? ms : -1;
    }

    // Marks the paper with every answer right, so that every solution is open.
    void MarkAllRight() {
        ep::PaperRequest request;
        request.module = data.startup.firstModule;
        request.courseCode = host.code.toStdString();
        request.paperCount = host.paperCount.toInt();
        request.paperKey = host.paperNum.toInt();
        ep::OpenPaper paper = ep::OpenPaper::Load(course, data.path(), request);
        for (int s = 1; s <= paper.SlotCount(); ++s) {
            paper.SetAnswer(s, paper.catalogue().answerKey[static_cast<std::size_t>(s)]);
        }
        paper.Mark(std::chrono::seconds(60), "01/01/2026");
    }

    // Whether the paper's first question has a worked solution.
    bool HasSolutions() {
        const ep::PaperCatalogue paper =
            ep::LoadPaperCatalogue(course, data.path(), data.startup.firstModule, host.paperNum.toStdString());
        return course.Load(ep::SolutionResourceId(std::stoi(paper.questions[1])), ep::kCustomType).has_value();
    }

    // The paper window, from the home window's request to question 1 on show.
    double Paper(ep::Test1** kept = nullptr) {
        QElapsedTimer clock;
        clock.start();
        ep::Test1* window = ep::Test1::Open(host);
        if (!window) return -1;
        const bool ok = WaitFor(window, &ep::PaperWindow::questionLoaded);
        const double ms = clock.nsecsElapsed() / 1e6;
        if (kept) {
            *kept = window;
        } else {
            window->CloseFromProgram();
            Settle(100);
        }
        return ok ? ms : -1;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 7;
    int idleSeconds = 10;
    QString cold = QStringLiteral("bare");
    QString courseFolder = QStringLiteral(EP_FIXTURE_COURSE);
    for (int k = 1; k + 1 < argc; ++k) {
        if (QLatin1String(argv[k]) == QLatin1String("--rounds")) rounds = std::atoi(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--idle")) idleSeconds = std::atoi(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--cold")) cold = QString::fromLocal8Bit(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--course")) courseFolder = QString::fromLocal8Bit(argv[k + 1]);
        if (courseFolder == QLatin1String("shipped")) courseFolder = QStringLiteral(EP_PACKED_COURSE);
    }
    ep::PrepareWebEngine();  // as the program runs its web views
    Bench bench(courseFolder);
    std::printf("platform %s, %d rounds, paper %s of %s\n", qPrintable(QGuiApplication::platformName()), rounds,
                qPrintable(bench.host.paperNum), qPrintable(courseFolder));

    const double first = cold == QLatin1String("paper") ? bench.Paper() : bench.Bare();
    std::printf("cold start (%s window, the web engine starting): %.0f ms\n", qPrintable(cold), first);

    std::vector<double> bare, paper;
    for (int r = 0; r < rounds; ++r) {
        // Alternating, so that drift in the machine's load falls on both.
        bare.push_back(bench.Bare());
        paper.push_back(bench.Paper());
    }
    const double bareMedian = Median(bare);
    const double paperMedian = Median(paper);
    std::printf("open: bare web view %.1f ms, paper window %.1f ms (medians): ratio %.2f (target under 1.5)\n",
                bareMedian, paperMedian, paperMedian / bareMedian);
    Figure("paper open until question 1 shows", paperMedian, "ms", "under 1.5x bare", "%.2f ms", bareMedian);
    Figure("paper open ratio to a bare web view", paperMedian / bareMedian, "x", "under 1.5", "1", 0);

    ep::Test1* window = nullptr;
    bench.Paper(&window);
    if (!window) return 1;
    std::vector<double> moves;
    for (int m = 0; m < 24; ++m) {
        const bool forward = (m / 4) % 2 == 0;  // 1 -> 5 and back, again and again
        QElapsedTimer clock;
        clock.start();
        forward ? window->NextQuestion() : window->PreviousQuestion();
        if (!WaitFor(window, &ep::PaperWindow::questionLoaded)) return 1;
        moves.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("next: %.1f ms median, %.1f ms slowest of %zu moves (target under 50 ms)\n", Median(moves),
                *std::max_element(moves.begin(), moves.end()), moves.size());
    Figure("next question until its page shows", Median(moves), "ms", "under 50", nullptr, 0);
    const long paperRss = RssKbFamily();

    window->CloseFromProgram();
    Settle(300);

    // Worked solutions, on a paper marked all right in a data folder of its own.
    {
        QString solutionFolder = courseFolder;
        if (!Bench(courseFolder).HasSolutions()) solutionFolder = QStringLiteral(EP_FIXTURE_COURSE);
        Bench marked(solutionFolder);
        marked.MarkAllRight();
        ep::Test1* solutions = nullptr;
        marked.Paper(&solutions);
        if (!solutions) return 1;
        std::vector<double> switches, movesShown;
        auto timed = [&](std::vector<double>& into, auto step) {
            QElapsedTimer clock;
            clock.start();
            step();
            if (!WaitFor(solutions, &ep::PaperWindow::questionLoaded)) return false;
            into.push_back(clock.nsecsElapsed() / 1e6);
            return true;
        };
        std::vector<double> untimed;
        for (int m = 0; m < 24; ++m) {
            // Questions 1 to 3 in turn: to the solution, Next with it on show,
            // back to the question.
            if (!timed(switches, [&] { solutions->ToolBar07_Click(); })) return 1;
            if (!timed(movesShown, [&] { solutions->NextQuestion(); })) return 1;
            if (!timed(untimed, [&] { solutions->ToolBar07_Click(); })) return 1;
            if (m % 3 == 2 && !timed(untimed, [&] { solutions->GoToQuestion(1); })) return 1;
        }
        std::printf("solution (%s): switching %.1f ms median, %.1f ms slowest of %zu; next with solutions on show "
                    "%.1f ms median (target under 50 ms)\n",
                    solutionFolder == courseFolder ? "course measured" : "fixture course, none in the course measured",
                    Median(switches), *std::max_element(switches.begin(), switches.end()), switches.size(),
                    Median(movesShown));
        const bool own = solutionFolder == courseFolder;
        Figure(own ? "switching to a worked solution until it shows"
                   : "switching to a worked solution until it shows (fixture course)",
               Median(switches), "ms", "under 50", nullptr, 0);
        Figure(own ? "next question with solutions on show" : "next question with solutions on show (fixture course)",
               Median(movesShown), "ms", "under 50", nullptr, 0);
        solutions->CloseFromProgram();
        Settle(300);
    }

    // Idle: the bare web view alone, then the paper window alone.
    struct Idle {
        double self, engine, seconds;
    };
    auto measureIdle = [idleSeconds](QWidget* over) {
        over->window()->activateWindow();
        QCursor::setPos(over->mapToGlobal(QPoint(over->width() / 2, 30)));
        Settle(1500);
        QElapsedTimer wall;
        wall.start();
        const double self = CpuSecondsSelf();
        const double engine = CpuSecondsDescendants();
        Settle(idleSeconds * 1000);
        return Idle{CpuSecondsSelf() - self, CpuSecondsDescendants() - engine, wall.nsecsElapsed() / 1e9};
    };
    // Twice each, alternating: a page just loaded can still be busy for a while.
    Idle bareIdle{0, 0, 0};
    Idle paperIdle{0, 0, 0};
    long bareRss = 0;
    auto add = [](Idle& sum, const Idle& one) {
        sum.self += one.self;
        sum.engine += one.engine;
        sum.seconds += one.seconds;
    };
    for (int r = 0; r < 2; ++r) {
        auto* view = new QWebEngineView;
        view->resize(800, 600);
        view->show();
        view->load(QUrl::fromLocalFile(bench.page));
        if (!WaitFor(view, &QWebEngineView::loadFinished)) return 1;
        if (r == 0) bareRss = RssKbFamily();
        add(bareIdle, measureIdle(view));
        delete view;
        Settle(300);
        bench.Paper(&window);
        if (!window) return 1;
        add(paperIdle, measureIdle(window->ToolBar02));  // the pointer resting on Mark
        window->CloseFromProgram();
        Settle(300);
    }
    auto percent = [](double cpu, const Idle& idle) { return 100 * cpu / idle.seconds; };
    std::printf("idle over %.0f s, %% of one core (program + web engine processes):\n", paperIdle.seconds);
    std::printf("  bare web view %.2f %% (%.2f + %.2f)\n", percent(bareIdle.self + bareIdle.engine, bareIdle),
                percent(bareIdle.self, bareIdle), percent(bareIdle.engine, bareIdle));
    std::printf("  paper window  %.2f %% (%.2f + %.2f), ratio %.2f (target under 1 %%)\n",
                percent(paperIdle.self + paperIdle.engine, paperIdle), percent(paperIdle.self, paperIdle),
                percent(paperIdle.engine, paperIdle),
                (paperIdle.self + paperIdle.engine) / paperIdle.seconds /
                    ((bareIdle.self + bareIdle.engine) / bareIdle.seconds));
    std::printf("memory with the window open (program + web engine processes): paper window %ld kB, bare web view "
                "%ld kB\n", paperRss, bareRss);
    Figure("idle CPU of a paper window", percent(paperIdle.self + paperIdle.engine, paperIdle), "% of a core",
           "under 1", "%.2f %%", percent(bareIdle.self + bareIdle.engine, bareIdle));
    Figure("memory of a paper window (with web engine)", paperRss / 1024.0, "MB", "-", "%.1f MB", bareRss / 1024.0);
    return 0;
}
