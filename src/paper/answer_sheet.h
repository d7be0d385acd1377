#pragma once

// The answer sheet's controls: twenty answer rows, the instruction picture and
// their layout. What the rows show is decided by the paper window; this file
// only knows how a row looks and how it takes typing.

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRect>
#include <QScrollArea>
#include <QValidator>
#include <array>

#include "skin_picture.h"

namespace ep {

inline constexpr int kAnswerRows = 20;

// Refuses any text a results file could not hold (">", "#", line breaks,
// characters outside Windows-1252), so it is never typed or pasted. The text
// refused last is kept, so the box can say what it turned away.
class StorableValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
    const QString& lastRefused() const { return lastRefused_; }

protected:
    State Refuse(const QString& input) const {
        lastRefused_ = input;
        return Invalid;
    }

private:
    mutable QString lastRefused_;
};

// drawborder's colours.
enum class BorderMode {
    Normal = 0,  // light grey
    Focus = 1,   // light blue, while the box has the keyboard focus
    Erase = 2,   // the frame's background
};

// What a note under an answer box is about; each kind has its colour.
enum class NoteKind {
    Form,      // while typing: the text does not read in the form asked for
    Refused,   // a character or paste the box turned away
    FormOnly,  // after marking: a crossed answer of the right value, in another form
};

// An answer row's frame; it draws the thin rectangle around its answer box.
class RowFrame : public QFrame {
    Q_OBJECT

public:
    explicit RowFrame(QWidget* parent);
    void createborder(const QRect& rectangle, const QColor& colour);
    QColor borderColour() const { return borderColour_; }
    QRect borderRect() const { return border_; }
    // The row's height without its note.
    int baseHeight() const { return baseHeight_; }
    void setBaseHeight(int height) { baseHeight_ = height; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect border_;
    QColor borderColour_;
    int baseHeight_;
};

// An answer box: bold, frameless (its row draws the border), limited to what
// can be stored. Enter moves on; focus lights the border.
class AnswerBox : public QLineEdit {
    Q_OBJECT

public:
    AnswerBox(RowFrame* frame, int row);
    int row() const { return row_; }
    // A multiple-choice box takes one character; an answer already longer
    // (typed before the limit existed) is kept, never cut.
    void SetSingleCharacter(bool single);
    // The text as it stood after the last accepted change.
    const QString& shownText() const { return shownText_; }

    // A long answer wraps over the box's height. The box keeps the text, the
    // answer kept to what can be stored as ever; a multi-line face in its
    // place shows it and takes the typing, the focus and Enter.
    void SetWrapped(bool wrapped);
    bool Wrapped() const { return face_ && !face_->isHidden(); }
    QPlainTextEdit* wrappedFace() const { return face_; }
    // What a screen reader says of the box (and of its face).
    void Describe(const QString& name, const QString& description);

signals:
    void enterPressed(int row);
    void focusChanged(int row, bool hasFocus);
    // The pupil typed, pasted or dropped `refused` and the box kept what it had.
    void refused(int row, const QString& refused);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InputRejected();
    void FaceEdited();

    int row_;
    bool single_ = false;
    QString shownText_;
    QPlainTextEdit* face_ = nullptr;
    bool syncing_ = false;
};

// The sheet panel AnsBox. Rows are 1-based: Frame[1] .. Frame[20].
class AnswerSheet : public QWidget {
    Q_OBJECT

public:
    AnswerSheet(QWidget* parent, const SkinFolder& skin);

    // Design geometry of a row, in pixels.
    static QRect StandardAnswerRect();
    static int StandardResultLeft();

    std::array<RowFrame*, kAnswerRows + 1> Frame{};
    std::array<QLabel*, kAnswerRows + 1> QL{};
    std::array<AnswerBox*, kAnswerRows + 1> FA{};
    std::array<QLabel*, kAnswerRows + 1> FR{};  // first-attempt result
    std::array<QLabel*, kAnswerRows + 1> SR{};  // second-attempt result (second attempt only)
    std::array<QLineEdit*, kAnswerRows + 1> M{};  // model answer, hidden as designed
    std::array<QLabel*, kAnswerRows + 1> Note{};  // under the answer box, hidden without a note
    SkinImage* PicInstruction;
    QLabel* heading;

    // Row 1's layout for the kind of its slot: the tall form for "L".
    void LayoutFirstRow(bool tall);
    // StackAnswerRows and row visibility for a question of `parts` slots.
    void ShowRows(int parts);
    void drawborder(int row, BorderMode mode);
    void ShowInstruction(bool shown);
    // Scrolls a row into view when the sheet is shorter than its rows.
    void EnsureVisible(int row);

    // Shows `text` under the row's answer box ("" hides it), wrapped to the
    // row's width, below the tick, cross and model answer, and gives it to
    // screen readers in the box's description. The rows below move down.
    void SetNote(int row, const QString& text, NoteKind kind);
    // The row's answer box to a screen reader: named `name`; described by
    // what the row shows beside it (its tick or cross, the right answer) and
    // its note. The marks of a second attempt's sheet before marking are
    // those of the first attempt.
    void DescribeRow(int row, const QString& name);
    void SetSecondAttempt(bool second) { secondAttempt_ = second; }
    // What the row shows beside its box, as words.
    QString RowDescription(int row) const;
    QString NoteText(int row) const;
    NoteKind NoteKindOf(int row) const;
    static QColor NoteColour(NoteKind kind);

    // The text a result mark is drawn as: the tick and cross marks of the
    // files become check and ballot marks, green and red.
    static void ShowResult(QLabel& label, const QString& mark);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutPanel();
    void StackAnswerRows();
    // The row's height: its base, and its note under the box when shown.
    void FitRow(int row);
    QScrollArea* scroll_;
    QWidget* rows_;
    int visibleRows_ = 0;
    bool secondAttempt_ = false;
    std::array<NoteKind, kAnswerRows + 1> noteKinds_{};
    std::array<QString, kAnswerRows + 1> names_{};
};

}  // namespace ep
