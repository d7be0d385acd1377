#pragma once

// What the window benchmarks share: clocks that agree between processes,
// CPU and memory of a process and the web engine processes it started, and
// waiting until a window, or a page in a web view, is on the screen.
//
// "On the screen" is read back from the display server: after the widget has
// painted and its picture has been flushed, the area is grabbed from the
// screen, which also waits for the server to have drawn everything sent
// before. Under Xvfb that is what a pupil would see.

#include <QEventLoop>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process.
long long MonotonicNs();

// CPU seconds (user + system) and resident memory (kB) of this process and
// every process descended from it (the web engine's own processes).
double FamilyCpuSeconds();
long FamilyRssKb();

// Runs the event loop for `ms` milliseconds.
void Settle(int ms);

// The median; the mean of the middle two for an even count.
double Median(std::vector<double> values);

// Machine-readable lines for the driver that collects runs:
//   MARK <name> <monotonic ns>   a moment of a start-up (now, unless given),
//                                for the driver to take from the moment it
//                                spawned the process
//   SAMPLE <name> <value>        one measurement
void Mark(const char* name, long long at = -1);
void Sample(const std::string& name, double value);

// What a probe process printed: its marks in milliseconds from the moment it
// was spawned, and its samples by name.
struct ProbeOutput {
    bool ok = false;
    std::map<std::string, double> marks;
    std::map<std::string, std::vector<double>> samples;
};

// Runs `program` with `arguments` to its end (its errors are not shown).
ProbeOutput RunProbe(const QString& program, const QStringList& arguments, int timeoutMs = 120000);

// A line of the table bench/run prints: the median, the bare Qt program's
// median from the same run ("" when there is none), their ratio ("" when not
// meaningful), the target and the number of runs behind the figures.
void Figure(const std::string& name, double value, const std::string& unit, const std::string& bare,
            const std::string& ratio, const std::string& target, int runs);
std::string Number(double value, const char* format = "%.2f");

// Waits until the top-level `window`, shown, has painted and its picture is
// on the screen; returns that moment (MonotonicNs), or -1 after `timeoutMs`.
long long WaitForFirstPaint(QWidget* window, int timeoutMs = 30000);

// CPU of this process and its descendants as a share of one core while the
// event loop runs alone for `seconds`, the pointer resting on `hover`.
double IdlePercent(QWidget* hover, double seconds);

// Watches the web view that `view` returns (it may appear later) until a page
// has finished loading and a picture of it different from the one on show
// when the watch was armed is on the screen. One watch measures one step.
class PageWatch : public QObject {
public:
    explicit PageWatch(std::function<QWidget*()> view);
    ~PageWatch() override;

    // Call right before the action; it starts the clock.
    void Arm();
    // Call when the page has finished loading (loadFinished or the window's
    // own signal for it).
    void Loaded();
    // Milliseconds from Arm to the page on the screen, or -1 after `timeoutMs`.
    double Wait(int timeoutMs = 60000);
    // Where that time went, in milliseconds from Arm: the action's own code
    // (Returned is called when it returns), the page loaded, the first paint of
    // the view after loading.
    void Returned();
    double ReturnedMs() const { return Since(returnedAt_); }
    double LoadedMs() const { return Since(loadedAt_); }
    double PaintedMs() const { return Since(paintedAt_); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Check();
    QImage Grab(QWidget* view) const;

    double Since(long long at) const { return at < 0 ? -1 : (at - armedAt_) / 1e6; }

    std::function<QWidget*()> view_;
    QImage before_;
    long long armedAt_ = 0;
    long long returnedAt_ = -1;
    long long loadedAt_ = -1;
    long long paintedAt_ = -1;
    long long doneAt_ = -1;
    bool loaded_ = false;
    bool painted_ = false;  // the view has painted since Arm
    bool checkQueued_ = false;
    QEventLoop* loop_ = nullptr;
};

}  // namespace bench
