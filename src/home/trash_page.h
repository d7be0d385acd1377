#pragma once

// The Trash page: erasing every result, after one confirmation, and bringing
// them back with Undo for as long as the program runs.

#include <QLabel>
#include <QWidget>

#include "skin_picture.h"

namespace ep {

class TrashPage : public QWidget {
    Q_OBJECT
public:
    enum class State { Offer, Confirm, Done };

    TrashPage(QWidget* parent, const SkinFolder& skin);
    void SetState(State state);
    State state() const { return state_; }
    // Whether Undo is shown (in Offer and Done) after an erase.
    void OfferUndo(bool offered);
    bool UndoOffered() const { return undoOffered_; }
    void UpdateHoverImages(const QPoint& cursor, const SkinFolder& skin);

    QLabel* Trashlbl1;
    SkinButton* ButTrash;
    CaptionLabel* ButTrashlbl;
    QLabel* Trashlbl2;
    SkinButton* ButTrash_Yes;
    CaptionLabel* ButTrash_Yeslbl;
    SkinButton* ButTrash_No;
    CaptionLabel* ButTrash_Nolbl;
    QLabel* Trashlbl3;
    SkinButton* ButUndo;
    CaptionLabel* ButUndolbl;

signals:
    // The pupil answered Yes: the window erases the results and reports back.
    void eraseConfirmed();
    // The pupil asked for the erased results back.
    void undoRequested();

private:
    State state_ = State::Offer;
    bool undoOffered_ = false;
};

}  // namespace ep
