#pragma once

// What a paper window needs of the course home window, which opens it. The
// home window hands a paper over through its fields, never as arguments: a
// paper window reads them when it loads.

#include <QString>

#include "popup.h"
#include "resources.h"

namespace ep {

class PaperHost : public PopUpReplySlot {
public:
    // The home window's fields, as text.
    virtual QString LChose() const = 0;       // module digit "1".."3"
    virtual QString lblCOD() const = 0;       // course code
    virtual QString TopicCount() const = 0;   // paper slot of the chosen topic's first paper
    virtual QString TtPapersCon() const = 0;  // the module's paper count
    virtual QString PaperNum() const = 0;     // paper key "101".."150"
    virtual QString SubH1() const = 0;        // the chosen topic's name
    virtual QString PopUpResponse() const = 0;  // reply of the last pop-up, "True" or "False"

    // Called by a paper window as it closes.
    virtual void RefreshContents() = 0;

    virtual const ResourceSource& resources() const = 0;
    virtual QString dataFolder() const = 0;
};

}  // namespace ep
