#include "display_guard.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ep {
namespace {

struct HeldMessage {
    QtMsgType type;
    QString category;
    QString text;
};

QtMessageHandler previous = nullptr;
bool guarding = false;
std::vector<HeldMessage> held;

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs("Exam Practice cannot start: it needs a graphical desktop, and no display was found.\n", stderr);
        std::_Exit(1);
    }
    held.push_back({type, QString::fromUtf8(context.category ? context.category : ""), text});
}

}  // namespace

DisplayGuard::DisplayGuard() {
    previous = qInstallMessageHandler(Hold);
    guarding = true;
}

DisplayGuard::~DisplayGuard() { Release(); }

void DisplayGuard::Release() {
    if (!guarding) return;
    guarding = false;
    qInstallMessageHandler(previous);
    for (const HeldMessage& message : held) {
        const QByteArray category = message.category.toUtf8();
        const QMessageLogContext context(nullptr, 0, nullptr, category.isEmpty() ? nullptr : category.constData());
        qt_message_output(message.type, context, message.text);
    }
    held.clear();
}

}  // namespace ep
