#include "trash_page.h"

#include "accessibility.h"
#include "button_states.h"

namespace ep {
namespace {

constexpr QSize kButton{80, 25};

}  // namespace

TrashPage::TrashPage(QWidget* parent, const SkinFolder& skin) : QWidget(parent) {
    QFont body(QStringLiteral("Arial"));
    body.setPointSizeF(10.5);
    QFont emphasis = body;
    emphasis.setBold(true);

    auto label = [&](const QString& text, const QFont& font, int top) {
        auto* l = new QLabel(text, this);
        l->setFont(font);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setGeometry(90, top, 600, 44);
        return l;
    };
    auto button = [&](CaptionLabel*& caption, const QString& text, int left, int top) {
        auto* b = new SkinButton(this, kButton);
        b->move(left, top);
        b->setText(text);
        b->setPictureFile(skin.Path(QStringLiteral("button_off.bmp")));
        caption = new CaptionLabel(b, b);
        caption->setText(text);
        caption->setFont(body);
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(QRect(QPoint(0, 0), kButton).adjusted(4, 3, -4, -3));
        return b;
    };
    Trashlbl1 = label(QStringLiteral("Click on the button below if you wish to erase all your past results and reset "
                                     "the program."),
                      body, 120);
    ButTrash = button(ButTrashlbl, QStringLiteral("Trash"), 350, 180);
    Trashlbl2 = label(QStringLiteral("Are you sure?"), emphasis, 120);
    ButTrash_Yes = button(ButTrash_Yeslbl, QStringLiteral("Yes"), 300, 180);
    ButTrash_No = button(ButTrash_Nolbl, QStringLiteral("No"), 400, 180);
    Trashlbl3 = label(QStringLiteral("All your past results have been erased."), emphasis, 120);
    ButUndo = button(ButUndolbl, QStringLiteral("Undo"), 350, 180);
    for (QWidget* undo : {static_cast<QWidget*>(ButUndo), static_cast<QWidget*>(ButUndolbl)}) {
        undo->setToolTip(QStringLiteral("Bring back the results that Trash erased"));
    }
    // What each button does, for a screen reader that lands on it.
    ButTrash->setAccessibleDescription(Trashlbl1->text());
    ButTrash_Yes->setAccessibleDescription(QStringLiteral("Are you sure? Yes erases all your past results."));
    ButTrash_No->setAccessibleDescription(QStringLiteral("Are you sure? No keeps your results."));
    setTabOrder(ButTrash_Yes, ButTrash_No);
    setTabOrder(ButTrash, ButUndo);

    connect(ButTrash, &QAbstractButton::clicked, this, [this] { SetState(State::Confirm); });
    connect(ButTrash_No, &QAbstractButton::clicked, this, [this] { SetState(State::Offer); });
    connect(ButTrash_Yes, &QAbstractButton::clicked, this, [this] { emit eraseConfirmed(); });
    connect(ButUndo, &QAbstractButton::clicked, this, [this] { emit undoRequested(); });
    SetState(State::Offer);
}

void TrashPage::SetState(State state) {
    state_ = state;
    Trashlbl1->setVisible(state == State::Offer);
    ButTrash->setVisible(state == State::Offer);
    Trashlbl2->setVisible(state == State::Confirm);
    ButTrash_Yes->setVisible(state == State::Confirm);
    ButTrash_No->setVisible(state == State::Confirm);
    Trashlbl3->setVisible(state == State::Done);
    // Undo stands where Trash stands after an erase, and under it otherwise.
    ButUndo->move(ButUndo->x(), state == State::Done ? 180 : 215);
    ButUndo->setVisible(undoOffered_ && state != State::Confirm);
    if (state == State::Done && isVisible() && undoOffered_) ButUndo->setFocus(Qt::OtherFocusReason);
    // The keyboard follows the buttons as they appear.
    if (state == State::Confirm && isVisible()) ButTrash_No->setFocus(Qt::OtherFocusReason);
    if (state == State::Offer && isVisible() && ButTrash_No->hasFocus()) ButTrash->setFocus(Qt::OtherFocusReason);
}

void TrashPage::OfferUndo(bool offered) {
    undoOffered_ = offered;
    SetState(state_);
}

void TrashPage::UpdateHoverImages(const QPoint& cursor, const SkinFolder& skin) {
    const QString off = QStringLiteral("button_off.bmp");
    const QString on = QStringLiteral("button_on.bmp");
    ShowTwoState(*ButTrash, off, on, cursor, skin);
    ShowTwoState(*ButTrash_Yes, off, on, cursor, skin);
    ShowTwoState(*ButTrash_No, off, on, cursor, skin);
    ShowTwoState(*ButUndo, off, on, cursor, skin);
}

}  // namespace ep
