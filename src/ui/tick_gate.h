#pragma once

// Keeps a window's 100 ms timer running only while something may change what
// its tick shows. Every tick reads the cursor and the window's state and
// shows the pictures they call for; with the pointer at rest and nothing
// happening, each tick only finds what the last one found, and the wake-ups
// alone cost an idle program more than everything else it does. So after a
// tick that finds the cursor where the last one did, with no input or change
// to the window's controls in between, the timer stops (or waits for the
// window's own next change, such as its clock's next second); the next mouse
// move, key, click, focus, enabling, showing or hiding in the window, or its
// activation, starts it again.

#include <QObject>
#include <QPoint>
#include <functional>

class QTimer;
class QWidget;

namespace ep {

class TickGate : public QObject {
public:
    // `timer` ticks `window` every `interval` ms; `cursor` is where the tick
    // last read the cursor; `ownChange` gives the milliseconds until the
    // window shows something new by itself, or -1 when it never does.
    TickGate(QWidget& window, QTimer& timer, int interval, const QPoint& cursor, std::function<int()> ownChange);
    ~TickGate() override;

    // Something may have changed: tick again, at the usual pace.
    void Wake();
    // To be called after every tick: sets when the next one comes, if at all.
    void Ticked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QTimer& timer_;
    int interval_;
    const QPoint& cursor_;
    std::function<int()> ownChange_;
    QPoint lastCursor_;
    bool woken_ = true;
};

}  // namespace ep
