#pragma once

// For the home window's tests: answering the program's pop-ups and message
// boxes as they appear.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include "popup.h"

namespace ep::test {

// Answers every pop-up and message box as it appears, and keeps their texts.
class Answerer : public QObject {
public:
    explicit Answerer(bool yes = true) : yes_(yes) {
        connect(&timer_, &QTimer::timeout, this, &Answerer::Answer);
        timer_.start(10);
    }
    QStringList seen;

private:
    void Answer() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* pop = qobject_cast<frmPopUp*>(w)) {
                seen << pop->lblMessage->text();
                (yes_ || pop->But2->isHidden() ? pop->But1 : pop->But2)->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
                seen << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        }
    }
    QTimer timer_;
    bool yes_;
};

}  // namespace ep::test
