#include "tick_gate.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace ep {
namespace {

// What can change the pictures or the state a tick shows.
bool MayChangeTick(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::EnabledChange:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
        case QEvent::ActivationChange:
            return true;
        default:
            return false;
    }
}

}  // namespace

TickGate::TickGate(QWidget& window, QTimer& timer, int interval, const QPoint& cursor, std::function<int()> ownChange)
    : window_(window), timer_(timer), interval_(interval), cursor_(cursor), ownChange_(std::move(ownChange)) {
    qApp->installEventFilter(this);
}

TickGate::~TickGate() { qApp->removeEventFilter(this); }

void TickGate::Wake() {
    woken_ = true;
    if (window_.isVisible() && (!timer_.isActive() || timer_.interval() != interval_)) timer_.start(interval_);
}

bool TickGate::eventFilter(QObject* watched, QEvent* event) {
    if (MayChangeTick(event->type()) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
        Wake();
    }
    return false;
}

void TickGate::Ticked() {
    if (!window_.isVisible()) {  // a hidden window shows nothing; its Show event wakes it
        timer_.stop();
        return;
    }
    const bool still = !woken_ && cursor_ == lastCursor_;
    lastCursor_ = cursor_;
    woken_ = false;
    if (!still) {
        if (timer_.interval() != interval_) timer_.start(interval_);
        return;
    }
    const int next = ownChange_ ? ownChange_() : -1;
    if (next < 0) {
        timer_.stop();
    } else {
        timer_.start(next);
    }
}

}  // namespace ep
