#include "popup.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QKeyEvent>
#include <algorithm>

#include "accessibility.h"
#include "button_states.h"
#include "skin_palette.h"

namespace ep {
namespace {

// The client area as designed: 3975 x 2250 twips.
constexpr int kWidth = 265;
constexpr int kHeight = 150;
constexpr QSize kButtonSize{80, 25};
constexpr QSize kInfoSize{32, 27};
// Up to this many characters a message fits on one line and is nudged down
// to sit level with the middle of the icon.
constexpr int kOneLineCharacters = 32;
constexpr int kOneLineNudge = 7;
constexpr int kButtonGap = 10;
constexpr int kNoteGap = 6;  // between the message and its note

QString Latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

frmPopUp::frmPopUp(PopUpReplySlot& replySlot, const QString& dataFolder)
    : SkinnedWindow(WindowKind::PopUp, dataFolder), reply_(replySlot) {
    lblTitle = Title;
    setFixedSize(kWidth, kHeight);

    ImgInfo = new SkinImage(this, kInfoSize);
    ImgInfo->setPictureFile(skin().Path(Latin("info_mark.gif")));

    lblMessage = new QLabel(this);
    lblMessage->setTextFormat(Qt::PlainText);  // a message is never markup
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont messageFont(Latin("Arial"));
    messageFont.setPointSizeF(8.25);
    lblMessage->setFont(messageFont);
    lblNote = new QLabel(this);
    lblNote->setTextFormat(Qt::PlainText);
    lblNote->setWordWrap(true);
    lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNote->setFont(messageFont);
    QPalette notePalette = lblNote->palette();
    notePalette.setColor(QPalette::WindowText, palette::kNote);
    lblNote->setPalette(notePalette);
    lblNote->hide();

    auto makeButton = [&](CaptionLabel*& caption) {
        auto* button = new SkinButton(this, kButtonSize);
        caption = new CaptionLabel(button, button);
        caption->setGeometry(QRect(QPoint(0, 0), kButtonSize).adjusted(6, 4, -6, -4));
        caption->setAlignment(Qt::AlignCenter);
        caption->setFont(messageFont);
        button->setPictureFile(skin().Path(Latin("button_off.bmp")));
        return button;
    };
    But1 = makeButton(But1_lbl);
    But2 = makeButton(But2_lbl);
    connect(But1, &QAbstractButton::clicked, this, [this] { Answer(true); });
    connect(But2, &QAbstractButton::clicked, this, [this] { Answer(false); });
    setTabOrder(But1, But2);
    default_ = But1;

    // Load layout, in pixels (15 twips each); the frame places lblTitle.
    ApplyLayout();
    ImgInfo->move(lblTitle->x(), BTopRight->y() + BTopRight->height() + TwipsToPixels(240));
    lblMessage->move(ImgInfo->x() + ImgInfo->width() + TwipsToPixels(150), ImgInfo->y());
    But1->move(But1->x(), kHeight - But1->height() - TwipsToPixels(240));
    But2->move(But2->x(), But1->y());
    // Fixed size: from the icon's right to the border margin, down to the
    // buttons; a long message wraps inside it.
    lblMessage->resize(kWidth - lblMessage->x() - TwipsToPixels(240),
                       But1->y() - lblMessage->y() - 4);
}

void frmPopUp::CallPop(const QString& title, const QString& message, PopUpButtons buttons, const QWidget& owner,
                       const QString& note) {
    lblTitle->setText(title);
    setWindowTitle(title);
    lblMessage->setText(message);
    lblNote->setText(note);
    lblNote->setVisible(!note.isEmpty());
    answered_ = false;
    if (!note.isEmpty()) {
        // Message and note stacked; taller than the designed box, the pop-up
        // grows down and the buttons move with it.
        const int width = lblMessage->width();
        const int messageHeight = lblMessage->heightForWidth(width);
        const int noteHeight = lblNote->heightForWidth(width);
        const int room = But1->y() - lblMessage->y() - 4;
        const int grow = std::max(0, messageHeight + kNoteGap + noteHeight - room);
        setFixedSize(kWidth, height() + grow);
        ApplyLayout();  // a pop-up not shown yet gets no resize event until it is
        But1->move(But1->x(), But1->y() + grow);
        But2->move(But2->x(), But1->y());
        lblMessage->resize(width, messageHeight);
        lblNote->setGeometry(lblMessage->x(), lblMessage->y() + messageHeight + kNoteGap, width, noteHeight);
    }

    if (buttons == PopUpButtons::YesNo) {
        But1->show();
        But2->show();
        But1->move(lblMessage->x(), But1->y());
        But2->move(But1->x() + But1->width() + kButtonGap, But1->y());
        But1_lbl->SetMnemonicText(Latin("&Yes"));
        But2_lbl->SetMnemonicText(Latin("&No"));
        But1->setToolTip(Latin("Answer yes (Alt+Y)"));
        But2->setToolTip(Latin("Answer no (Alt+N). Escape answers no too."));
    } else {
        But1->show();
        But2->hide();
        But1->move((width() - But1->width()) / 2, But1->y());
        But1_lbl->SetMnemonicText(Latin("&OK"));
        But1->setToolTip(Latin("Close this message (Enter or Escape)"));
    }
    // The captions name the buttons for keyboard and screen-reader users and
    // give them their keys. A question's default is "No": Enter, Escape and
    // closing the pop-up never say yes by accident.
    But1->setText(buttons == PopUpButtons::YesNo ? Latin("&Yes") : Latin("&OK"));
    But2->setText(Latin("&No"));
    for (QWidget* caption : {static_cast<QWidget*>(But1_lbl), static_cast<QWidget*>(But2_lbl)}) {
        caption->setToolTip(caption->parentWidget()->toolTip());
    }
    default_ = buttons == PopUpButtons::YesNo ? But2 : But1;
    SetAccessibleDefault(But1, default_ == But1);
    SetAccessibleDefault(But2, default_ == But2);
    // A question is a dialog, a notice an alert; either way a screen reader
    // says the message with the button it lands on.
    SetAccessibleRole(this, buttons == PopUpButtons::YesNo ? QAccessible::Dialog : QAccessible::AlertMessage);
    setAccessibleDescription(note.isEmpty() ? message : message + QLatin1Char(' ') + note);

    const int characters = static_cast<int>(message.toUcs4().size());
    const bool nudge = characters <= kOneLineCharacters && note.isEmpty();
    lblMessage->move(lblMessage->x(), ImgInfo->y() + (nudge ? kOneLineNudge : 0));

    const QRect ownerFrame = owner.window()->frameGeometry();
    const QRect own = frameGeometry();
    move((ownerFrame.width() - own.width()) / 2 + ownerFrame.left(),
         (ownerFrame.height() - own.height()) / 2 + ownerFrame.top());
    ownerWindow_ = owner.window()->windowHandle();
}

void frmPopUp::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    // Stacked over its owner without becoming its child window.
    winId();
    if (ownerWindow_ && windowHandle()) windowHandle()->setTransientParent(ownerWindow_);
    Timer1.start();  // stopped when an earlier showing closed
    show();
    raise();
    activateWindow();
    default_->setFocus(Qt::OtherFocusReason);
    default_->ShowFocusRing();
    if (!isVisible()) return;
    QEventLoop loop;
    connect(this, &frmPopUp::closed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

void frmPopUp::Timer1_Timer() {
    SkinnedWindow::Timer1_Timer();
    ShowTwoState(*But1, Latin("button_off.bmp"), Latin("button_on.bmp"), cursorPoint, skin());
    ShowTwoState(*But2, Latin("button_off.bmp"), Latin("button_on.bmp"), cursorPoint, skin());
}

void frmPopUp::Answer(bool yes) {
    answered_ = true;
    reply_.SetPopUpResponse(Latin(yes ? "True" : "False"));
    close();
}

void frmPopUp::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            close();  // counts as "No"
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Reaches here only when no button has focus.
            default_->click();
            return;
        default:
            SkinnedWindow::keyPressEvent(event);
    }
}

void frmPopUp::closeEvent(QCloseEvent* event) {
    // Closed without a button: the reply slot must not keep an older "True".
    if (!answered_) {
        answered_ = true;
        reply_.SetPopUpResponse(Latin("False"));
    }
    Timer1.stop();
    event->accept();
    emit closed();
}

}  // namespace ep
