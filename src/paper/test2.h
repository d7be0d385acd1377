#pragma once

// The second-attempt paper window: the slots right the first time are carried
// over and locked, the rest answered again, and the sheet shows both
// attempts' results.

#include "paper_window.h"

namespace ep {

class Test2 : public PaperWindow {
    Q_OBJECT

public:
    // As Test1::Open, for a second attempt.
    static Test2* Open(PaperHost& host);

    // Behind a carried slot's locked answer box.
    static const QColor kCarriedColour;

protected:
    void FillAnswerRow(int row, int slot) override;
    void ShowMarkedView() override;

private:
    Test2(PaperHost& host, OpenPaper paper);
};

}  // namespace ep
