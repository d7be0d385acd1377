#pragma once

// The program's own skinned notice and yes/no question box.

#include <QLabel>
#include <QPointer>
#include <QWindow>
#include <QString>

#include "skin_picture.h"
#include "skinned_window.h"

namespace ep {

// Where a pop-up leaves its reply: the course home window's PopUpResponse.
// "True" for OK or Yes, "False" for No or for a pop-up closed any other way.
class PopUpReplySlot {
public:
    virtual ~PopUpReplySlot() = default;
    virtual void SetPopUpResponse(const QString& reply) = 0;
};

// The reply slot as a plain field, for an owner that needs nothing more.
class PopUpResponseField : public PopUpReplySlot {
public:
    QString PopUpResponse;
    void SetPopUpResponse(const QString& reply) override { PopUpResponse = reply; }
};

enum class PopUpButtons {
    Ok = 1,     // a notice
    YesNo = 2,  // a question
};

// One use of the pop-up: construct it, CallPop, ShowModal, then read the
// reply slot. Every use builds a fresh pop-up.
class frmPopUp : public SkinnedWindow {
    Q_OBJECT

public:
    frmPopUp(PopUpReplySlot& replySlot, const QString& dataFolder);

    // Fills the texts, sets up the buttons and centres the pop-up over
    // `owner`; does not show it. A `note` is one more line under the message,
    // which keeps its text; the pop-up grows to show both whole.
    void CallPop(const QString& title, const QString& message, PopUpButtons buttons, const QWidget& owner,
                 const QString& note = {});

    // Shows the pop-up application-modal, its default button focused, and
    // returns once it has closed.
    void ShowModal();
    // The button Enter presses when no button has the focus: "No" in a
    // question, "OK" in a notice.
    SkinButton* DefaultButton() const { return default_; }

    void Timer1_Timer() override;

    QLabel* lblTitle;  // the frame's Title
    QLabel* lblMessage;
    QLabel* lblNote;  // under the message, hidden without a note
    SkinImage* ImgInfo;
    SkinButton* But1;
    CaptionLabel* But1_lbl;
    SkinButton* But2;
    CaptionLabel* But2_lbl;

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Answer(bool yes);

    PopUpReplySlot& reply_;
    SkinButton* default_ = nullptr;
    bool answered_ = false;
    QPointer<QWindow> ownerWindow_;
};

}  // namespace ep
