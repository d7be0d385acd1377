#include "bench_support.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>

namespace bench {
namespace {

struct Proc {
    int pid;
    int ppid;
};

std::vector<Proc> Processes() {
    std::vector<Proc> procs;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const int pid = entry.toInt(&numeric);
        if (!numeric) continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        // After "pid (name) ": state, then the parent's pid.
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0) continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() < 2) continue;
        procs.push_back({pid, fields[1].toInt()});
    }
    return procs;
}

std::vector<int> Descendants() {
    const std::vector<Proc> procs = Processes();
    std::vector<int> family{static_cast<int>(getpid())};
    for (std::size_t k = 0; k < family.size(); ++k) {
        for (const Proc& proc : procs) {
            if (proc.ppid == family[k]) family.push_back(proc.pid);
        }
    }
    family.erase(family.begin());
    return family;
}

// Nanoseconds on the CPU of every thread of `pid`, from the scheduler's own
// count (finer than the clock ticks of /proc/<pid>/stat).
double ProcessCpuSeconds(int pid) {
    double total = 0;
    for (const QString& task : QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(QStringLiteral("/proc/%1/task/%2/schedstat").arg(pid).arg(task));
        if (!schedstat.open(QIODevice::ReadOnly)) continue;
        total += schedstat.readAll().split(' ').value(0).toDouble() / 1e9;
    }
    return total;
}

long ProcessRssKb(int pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Whether a picture is one colour, give or take a few pixels: a window's
// background or a blank page rather than a page with text on it.
bool Uniform(const QImage& image) {
    if (image.isNull()) return true;
    const QRgb first = image.pixel(0, 0);
    int different = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            if (image.pixel(x, y) != first && ++different > 40) return false;
        }
    }
    return true;
}

}  // namespace

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

double FamilyCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    double total = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    for (int pid : Descendants()) total += ProcessCpuSeconds(pid);
    return total;
}

long FamilyRssKb() {
    long total = ProcessRssKb(getpid());
    for (int pid : Descendants()) total += ProcessRssKb(pid);
    return total;
}

void Settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Mark(const char* name, long long at) {
    std::printf("MARK\t%s\t%lld\n", name, at < 0 ? MonotonicNs() : at);
    std::fflush(stdout);
}

void Sample(const std::string& name, double value) {
    std::printf("SAMPLE\t%s\t%.4f\n", name.c_str(), value);
    std::fflush(stdout);
}

ProbeOutput RunProbe(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess probe;
    probe.setStandardErrorFile(QProcess::nullDevice());
    const long long spawned = MonotonicNs();
    probe.start(program, arguments);
    ProbeOutput out;
    if (!probe.waitForFinished(timeoutMs)) {
        probe.kill();
        probe.waitForFinished();
        return out;
    }
    out.ok = probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.split('\t');
        if (words.size() != 3) continue;
        if (words[0] == "MARK") out.marks[words[1].toStdString()] = (words[2].toLongLong() - spawned) / 1e6;
        if (words[0] == "SAMPLE") out.samples[words[1].toStdString()].push_back(words[2].toDouble());
    }
    return out;
}

std::string Number(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void Figure(const std::string& name, double value, const std::string& unit, const std::string& bare,
            const std::string& ratio, const std::string& target, int runs) {
    std::printf("FIGURE\t%s\t%s %s\t%s\t%s\t%s\t%d\n", name.c_str(), Number(value).c_str(), unit.c_str(),
                bare.c_str(), ratio.c_str(), target.c_str(), runs);
    std::fflush(stdout);
}

namespace {

// Notes the first paint of a window once it is exposed; the picture reaches
// the server when the paint is over, so the check runs from the event loop.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : window_(window) { window->installEventFilter(this); }
    long long at = -1;
    QEventLoop loop;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint && at < 0 && !queued_ &&
            window_->windowHandle() && window_->windowHandle()->isExposed()) {
            queued_ = true;
            QTimer::singleShot(0, this, [this] {
                // A round trip: the server has drawn all that was sent before.
                const QPoint corner = window_->mapToGlobal(QPoint(0, 0));
                window_->screen()->grabWindow(0, corner.x(), corner.y(), 1, 1);
                at = MonotonicNs();
                loop.quit();
            });
        }
        return false;
    }

private:
    QWidget* window_;
    bool queued_ = false;
};

}  // namespace

long long WaitForFirstPaint(QWidget* window, int timeoutMs) {
    FirstPaint watch(window);
    QTimer::singleShot(timeoutMs, &watch.loop, &QEventLoop::quit);
    if (watch.at < 0) watch.loop.exec();
    return watch.at;
}

double IdlePercent(QWidget* hover, double seconds) {
    hover->window()->activateWindow();
    QCursor::setPos(hover->mapToGlobal(QPoint(hover->width() / 2, std::min(hover->height() / 2, 30))));
    Settle(1000);
    const long long start = MonotonicNs();
    const double cpu = FamilyCpuSeconds();
    Settle(static_cast<int>(seconds * 1000));
    const double used = FamilyCpuSeconds() - cpu;
    return 100 * used / ((MonotonicNs() - start) / 1e9);
}

PageWatch::PageWatch(std::function<QWidget*()> view) : view_(std::move(view)) { qApp->installEventFilter(this); }

PageWatch::~PageWatch() { qApp->removeEventFilter(this); }

void PageWatch::Arm() {
    QWidget* view = view_();
    before_ = view && view->isVisible() ? Grab(view) : QImage();
    loaded_ = false;
    painted_ = false;
    doneAt_ = returnedAt_ = loadedAt_ = paintedAt_ = -1;
    armedAt_ = MonotonicNs();
}

void PageWatch::Returned() { returnedAt_ = MonotonicNs(); }

void PageWatch::Loaded() {
    loaded_ = true;
    loadedAt_ = MonotonicNs();
    Check();
}

bool PageWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && watched->isWidgetType() && doneAt_ < 0) {
        QWidget* view = view_();
        auto* widget = static_cast<QWidget*>(watched);
        if (view && (widget == view || view->isAncestorOf(widget))) {
            painted_ = true;
            if (loaded_ && paintedAt_ < 0) paintedAt_ = MonotonicNs();
            if (!checkQueued_) {
                checkQueued_ = true;
                QTimer::singleShot(0, this, [this] {
                    checkQueued_ = false;
                    Check();
                });
            }
        }
    }
    return false;
}

QImage PageWatch::Grab(QWidget* view) const {
    const QPoint corner = view->mapToGlobal(QPoint(0, 0));
    return view->screen()->grabWindow(0, corner.x(), corner.y(), view->width(), view->height()).toImage();
}

void PageWatch::Check() {
    if (doneAt_ >= 0 || !loaded_ || !painted_) return;
    QWidget* view = view_();
    if (!view || !view->window()->windowHandle() || !view->window()->windowHandle()->isExposed()) return;
    const QImage now = Grab(view);
    if (Uniform(now) || now == before_) return;
    doneAt_ = MonotonicNs();
    if (loop_) loop_->quit();
}

double PageWatch::Wait(int timeoutMs) {
    if (doneAt_ < 0) {
        QEventLoop loop;
        loop_ = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        loop_ = nullptr;
    }
    return doneAt_ < 0 ? -1 : (doneAt_ - armedAt_) / 1e6;
}

}  // namespace bench
