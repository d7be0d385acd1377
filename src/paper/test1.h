#pragma once

// The first-attempt paper window.

#include "paper_window.h"

namespace ep {

class Test1 : public PaperWindow {
    Q_OBJECT

public:
    // Opens the paper of the home window's PaperNum for a first attempt and
    // shows it, modeless; the window deletes itself once closed. Returns
    // nullptr when the paper cannot be opened: the pupil has been told which
    // file is at fault, and nothing on disk has changed.
    static Test1* Open(PaperHost& host);

protected:
    void FillAnswerRow(int row, int slot) override;
    void ShowMarkedView() override;

private:
    Test1(PaperHost& host, OpenPaper paper);
};

}  // namespace ep
