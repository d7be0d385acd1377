// What an idle skinned window costs: a paper-like window with six toolbar
// buttons and three title-bar buttons under the hover rules, its 100 ms timer
// running, the pointer resting over it. Prints the CPU time it takes as a
// share of one core, and the cost of one timer tick and of one picture load.
//
// Runs offscreen unless QT_QPA_PLATFORM says otherwise (under xvfb-run, set
// QT_QPA_PLATFORM=xcb to include the X server round trip of reading the cursor).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <vector>

#include "button_states.h"
#include "qt_resources.h"
#include "skin_files.h"
#include "skinned_window.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class ToolbarWindow : public ep::SkinnedWindow {
public:
    explicit ToolbarWindow(const QString& data) : SkinnedWindow(ep::WindowKind::Paper, data) {
        int x = 14;
        for (const char* family : {"save", "mark", "print", "close", "back", "forward"}) {
            auto* button = new ep::SkinButton(this, {44, 45});
            button->move(x, 32);
            x += 52;
            TrackPress(button);
            tools_.push_back({button, ep::ButtonPictures::Family(QString::fromLatin1(family))});
        }
    }
    void Timer1_Timer() override {
        SkinnedWindow::Timer1_Timer();
        for (const auto& [button, pictures] : tools_)
            ep::ShowThreeState(*button, pictures, cursorPoint, txtPressTrack, skin());
        ++ticks;
    }
    long long ticks = 0;

private:
    std::vector<std::pair<ep::SkinButton*, ep::ButtonPictures>> tools_;
};

struct Fixture {
    QTemporaryDir data;
    std::unique_ptr<ToolbarWindow> window;

    Fixture() {
        ep::ExtractSkinGraphics(ep::QtResources(), data.path().toStdString());
        window = std::make_unique<ToolbarWindow>(data.path());
        window->setGeometry(100, 100, 900, 600);
        window->show();
        window->activateWindow();
        // Over the "mark" button, so the hover rules have work to do.
        QCursor::setPos(window->mapToGlobal(QPoint(14 + 52 + 22, 32 + 22)));
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();
    }
};

void BM_IdleSkinnedWindow(benchmark::State& state) {
    Fixture fixture;
    const double seconds = static_cast<double>(state.range(0));
    for (auto _ : state) {
        const long long ticks = fixture.window->ticks;
        const long long loads = ep::SkinPicture::FileLoads();
        QElapsedTimer wall;
        wall.start();
        const double cpu = CpuSeconds();
        QEventLoop idle;
        QTimer::singleShot(static_cast<int>(seconds * 1000), &idle, &QEventLoop::quit);
        idle.exec();
        const double used = CpuSeconds() - cpu;
        const double elapsed = wall.nsecsElapsed() / 1e9;
        state.SetIterationTime(elapsed);
        state.counters["cpu_ms"] = used * 1000;
        state.counters["cpu_percent_of_one_core"] = 100.0 * used / elapsed;
        state.counters["ticks"] = static_cast<double>(fixture.window->ticks - ticks);
        state.counters["picture_loads"] = static_cast<double>(ep::SkinPicture::FileLoads() - loads);
    }
}
BENCHMARK(BM_IdleSkinnedWindow)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// One tick of the timer with the pointer at rest: no picture changes.
void BM_TimerTick(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) fixture.window->Timer1_Timer();
}
BENCHMARK(BM_TimerTick)->Unit(benchmark::kMicrosecond);

// Reading one toolbar picture from its file: what every button would cost on
// every tick if pictures were reloaded whether or not they changed.
void BM_PictureFileLoad(benchmark::State& state) {
    Fixture fixture;
    const QString path = fixture.window->skin().Path(QStringLiteral("mark_on.bmp"));
    for (auto _ : state) {
        QPixmap pixmap(path);
        benchmark::DoNotOptimize(pixmap);
    }
}
BENCHMARK(BM_PictureFileLoad)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
