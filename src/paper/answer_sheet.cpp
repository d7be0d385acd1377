#include "answer_sheet.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

#include "accessibility.h"
#include "skin_palette.h"
#include "skinned_window.h"
#include "tagged_file.h"

namespace ep {
namespace {

// Row geometry as designed, in twips.
constexpr int kFrameWidth = 3975;
constexpr int kFrameHeight = 375;
constexpr int kTallFrameHeight = 2100;
constexpr int kBoxLeft = 360;
constexpr int kBoxTop = 40;
constexpr int kBoxWidth = 1575;
constexpr int kBoxHeight = 255;
constexpr int kTallBoxHeight = 1000;
constexpr int kResultLeft = 2040;
constexpr int kResultWidth = 300;
constexpr int kModelLeft = 2400;
constexpr int kModelTop = 60;
constexpr int kModelWidth = 1455;
constexpr int kFirstRowTop = 50;
constexpr int kRowGap = 105;
constexpr int kCrowdedRowGap = -10;  // 16 or more rows
constexpr int kCrowdedRows = 16;

// The sheet panel around the rows, in pixels.
constexpr int kSheetWidth = 280;
constexpr int kRowsLeft = 7;
constexpr int kHeadingHeight = 24;
constexpr int kInstructionMargin = 8;
constexpr QSize kInstructionSize{250, 82};

const QColor kBorderGrey{192, 192, 192};    // colour 7 of the 16-colour palette
const QColor kBorderFocus{178, 217, 246};
const QColor kTickColour{0, 128, 0};
const QColor kCrossColour{200, 0, 0};
const QColor kModelColour{0, 0, 255};
// Notes: amber for what the pupil is typing (never red or green: a note never
// says right or wrong), dark blue after marking, like the model answers.
const QColor kFormNoteColour = palette::kNote;
const QColor kRefusedNoteColour{0xa8, 0x3a, 0x00};
const QColor kFormOnlyNoteColour{0x1f, 0x4f, 0x99};
constexpr int kNoteGap = 2;          // pixels between the box (or its marks) and the note
constexpr int kNoteRightMargin = 6;  // the note stops short of the row's right edge

int Px(int twips) { return TwipsToPixels(twips); }

QFont NoteFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8);
    return font;
}

QFont AnswerFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

void SetWindowColour(QWidget* widget, const QColor& colour) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

class SingleCharacterValidator : public StorableValidator {
public:
    explicit SingleCharacterValidator(AnswerBox* box) : StorableValidator(box), box_(box) {}
    State validate(QString& input, int& position) const override {
        // The text set by the program is never cut (an invalid state there is
        // not undone), and an older longer answer may be shortened key by key.
        if (input.size() > 1 && input.size() >= box_->shownText().size()) return Refuse(input);
        return StorableValidator::validate(input, position);
    }

private:
    const AnswerBox* box_;
};

}  // namespace

QValidator::State StorableValidator::validate(QString& input, int&) const {
    const QByteArray utf8 = input.toUtf8();
    return IsStorableValue(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())))
               ? Acceptable
               : Refuse(input);
}

RowFrame::RowFrame(QWidget* parent) : QFrame(parent), borderColour_(kBorderGrey), baseHeight_(Px(kFrameHeight)) {
    resize(Px(kFrameWidth), Px(kFrameHeight));
}

void RowFrame::createborder(const QRect& rectangle, const QColor& colour) {
    border_ = rectangle;
    borderColour_ = colour;
    update();
}

void RowFrame::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (border_.isNull()) return;
    QPainter painter(this);
    painter.setPen(QPen(borderColour_, 1));
    painter.drawRect(border_);
}

AnswerBox::AnswerBox(RowFrame* frame, int row) : QLineEdit(frame), row_(row) {
    setFrame(false);
    setFont(AnswerFont());
    setToolTip(QStringLiteral("Enter your answer"));
    setValidator(new StorableValidator(this));
    setGeometry(AnswerSheet::StandardAnswerRect());
    // textChanged comes after an edit is accepted, so during validation this
    // still holds the text before the edit.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        shownText_ = text;
        if (face_ && !syncing_ && face_->toPlainText() != text) {
            syncing_ = true;
            face_->setPlainText(text);
            syncing_ = false;
        }
    });
    connect(this, &QLineEdit::inputRejected, this, &AnswerBox::InputRejected);
}

void AnswerBox::SetWrapped(bool wrapped) {
    if (!wrapped && !face_) return;
    if (!face_) {
        face_ = new QPlainTextEdit(parentWidget());
        face_->setFrameShape(QFrame::NoFrame);
        face_->setTabChangesFocus(true);
        face_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        face_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        face_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        face_->document()->setDocumentMargin(1);
        face_->setToolTip(toolTip());
        face_->setFont(font());
        face_->setPalette(palette());
        face_->setReadOnly(isReadOnly());
        face_->setAccessibleName(accessibleName());
        face_->setAccessibleDescription(accessibleDescription());
        face_->setPlainText(text());
        face_->hide();
        face_->installEventFilter(this);
        connect(face_, &QPlainTextEdit::textChanged, this, &AnswerBox::FaceEdited);
        QWidget::setTabOrder(this, face_);  // Tab goes on from it as from the box
    }
    face_->setGeometry(geometry());
    if (wrapped == Wrapped()) return;
    const bool focused = hasFocus();
    if (wrapped) {
        face_->show();
        setFocusProxy(face_);
        hide();
    } else {
        setFocusProxy(nullptr);
        show();
        face_->hide();
    }
    if (focused) setFocus(Qt::OtherFocusReason);
}

void AnswerBox::Describe(const QString& name, const QString& description) {
    if (accessibleName() != name) setAccessibleName(name);
    if (accessibleDescription() != description) setAccessibleDescription(description);
    if (!face_) return;
    if (face_->accessibleName() != name) face_->setAccessibleName(name);
    if (face_->accessibleDescription() != description) face_->setAccessibleDescription(description);
}

void AnswerBox::FaceEdited() {
    if (syncing_) return;
    QString candidate = face_->toPlainText();
    int position = face_->textCursor().position();
    if (validator() && validator()->validate(candidate, position) == QValidator::Invalid) {
        // As the box does: what cannot be stored is not kept, and is named.
        const int back = std::max(0, position - static_cast<int>(candidate.size() - text().size()));
        syncing_ = true;
        face_->setPlainText(text());
        QTextCursor cursor = face_->textCursor();
        cursor.setPosition(std::min(back, static_cast<int>(text().size())));
        face_->setTextCursor(cursor);
        syncing_ = false;
        emit refused(row_, candidate);
        return;
    }
    syncing_ = true;
    setText(candidate);
    syncing_ = false;
}

void AnswerBox::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (!face_) return;
    switch (event->type()) {
        case QEvent::ReadOnlyChange:
            face_->setReadOnly(isReadOnly());
            break;
        case QEvent::PaletteChange:
            face_->setPalette(palette());
            break;
        case QEvent::FontChange:
            face_->setFont(font());
            break;
        case QEvent::EnabledChange:
            face_->setEnabled(isEnabled());
            break;
        default:
            break;
    }
}

bool AnswerBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != face_) return QLineEdit::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit enterPressed(row_);  // moves on, as in the one-line box; never a line break
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            emit focusChanged(row_, true);
            break;
        case QEvent::FocusOut:
            emit focusChanged(row_, false);
            break;
        default:
            break;
    }
    return QLineEdit::eventFilter(watched, event);
}

void AnswerBox::InputRejected() {
    // Also raised for text the program sets, which is kept as it is; typing,
    // pasting and dropping are undone just after. So the check waits for that:
    // only a text the box did not keep was refused.
    const auto* storable = dynamic_cast<const StorableValidator*>(validator());
    if (!storable) return;
    const QString candidate = storable->lastRefused();
    QTimer::singleShot(0, this, [this, candidate] {
        if (text() != candidate) emit refused(row_, candidate);
    });
}

void AnswerBox::SetSingleCharacter(bool single) {
    if (single == single_) return;
    single_ = single;
    // The old validator stays owned by the box until it goes.
    if (single) {
        setValidator(new SingleCharacterValidator(this));
    } else {
        setValidator(new StorableValidator(this));
    }
}

void AnswerBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit enterPressed(row_);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void AnswerBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusChanged(row_, true);
}

void AnswerBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusChanged(row_, false);
}

QRect AnswerSheet::StandardAnswerRect() { return {Px(kBoxLeft), Px(kBoxTop), Px(kBoxWidth), Px(kBoxHeight)}; }

int AnswerSheet::StandardResultLeft() { return Px(kResultLeft); }

AnswerSheet::AnswerSheet(QWidget* parent, const SkinFolder& skin) : QWidget(parent) {
    SetWindowColour(this, palette::kPage);
    resize(kSheetWidth, 400);

    auto* head = new SkinImage(this, {kSheetWidth, kHeadingHeight}, true);
    head->setPictureFile(skin.Path(QStringLiteral("columnhead1.bmp")));
    heading = new QLabel(QStringLiteral("Answer sheet"), head);
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSizeF(9);
    bold.setBold(true);
    heading->setFont(bold);
    heading->setGeometry(8, 0, kSheetWidth - 16, kHeadingHeight);

    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setFocusPolicy(Qt::NoFocus);
    rows_ = new QWidget;
    SetWindowColour(rows_, palette::kPage);
    scroll_->setWidget(rows_);
    scroll_->setWidgetResizable(false);
    scroll_->viewport()->setAutoFillBackground(false);

    QFont letterFont(QStringLiteral("Arial"));
    letterFont.setPointSizeF(9);
    QFont resultFont(QStringLiteral("DejaVu Sans"));
    resultFont.setPointSizeF(11);
    resultFont.setBold(true);
    for (int k = 1; k <= kAnswerRows; ++k) {
        auto* frame = new RowFrame(rows_);
        frame->move(kRowsLeft, 0);
        Frame[k] = frame;

        QL[k] = new QLabel(QStringLiteral("(%1)").arg(QChar(u'a' + (k - 1))), frame);
        QL[k]->setFont(letterFont);
        // The box's name says its part, its description the marks, the right
        // answer and the note: the row's other labels are for the eye.
        HideFromAccessibility(QL[k]);
        QL[k]->setGeometry(0, Px(kBoxTop), Px(kBoxLeft) - 3, Px(kBoxHeight));
        QL[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        FA[k] = new AnswerBox(frame, k);
        connect(FA[k], &AnswerBox::focusChanged, this, [this](int row, bool in) {
            drawborder(row, in ? BorderMode::Focus : BorderMode::Normal);
            if (in) EnsureVisible(row);
        });

        for (auto* labels : {&FR, &SR}) {
            QLabel* result = new QLabel(frame);
            result->setFont(resultFont);
            result->setAlignment(Qt::AlignCenter);
            result->setGeometry(Px(kResultLeft), Px(kBoxTop) - 1, Px(kResultWidth), Px(kBoxHeight) + 2);
            result->hide();
            HideFromAccessibility(result);
            (*labels)[static_cast<std::size_t>(k)] = result;
        }

        auto* note = new QLabel(frame);
        note->setTextFormat(Qt::PlainText);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        note->setFont(NoteFont());
        note->hide();
        HideFromAccessibility(note);
        Note[k] = note;

        auto* model = new QLineEdit(frame);
        model->setReadOnly(true);
        model->setFrame(false);
        model->setFocusPolicy(Qt::NoFocus);
        model->setFont(AnswerFont());
        QPalette pal = model->palette();
        pal.setColor(QPalette::Text, kModelColour);
        pal.setColor(QPalette::Base, palette::kPage);
        model->setPalette(pal);
        model->setGeometry(Px(kModelLeft), Px(kBoxTop), Px(kModelWidth), Px(kBoxHeight));
        model->hide();
        HideFromAccessibility(model);
        M[k] = model;

        drawborder(k, BorderMode::Normal);
        frame->hide();
    }
    for (int k = 1; k < kAnswerRows; ++k) setTabOrder(FA[k], FA[k + 1]);

    PicInstruction = new SkinImage(this, kInstructionSize);
    PicInstruction->setPictureFile(skin.Path(QStringLiteral("instruction.gif")));
    PicInstruction->hide();
    LayoutPanel();
}

void AnswerSheet::LayoutFirstRow(bool tall) {
    RowFrame* frame = Frame[1];
    AnswerBox* box = FA[1];
    drawborder(1, BorderMode::Erase);
    if (tall) {
        frame->setBaseHeight(Px(kTallFrameHeight));
        box->setGeometry(box->x(), box->y(), frame->width() - Px(1000), Px(kTallBoxHeight));
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        const int resultLeft = box->x() + box->width() + Px(100);
        FR[1]->move(resultLeft, FR[1]->y());
        SR[1]->move(resultLeft, SR[1]->y());
        M[1]->setGeometry(box->x(), box->y() + box->height() + Px(100), frame->width() - Px(500), Px(kTallBoxHeight));
        M[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        frame->setBaseHeight(Px(kFrameHeight));
        box->setGeometry(box->x(), box->y(), Px(kBoxWidth), Px(kBoxHeight));
        box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        FR[1]->move(Px(kResultLeft), FR[1]->y());
        SR[1]->move(Px(kResultLeft), SR[1]->y());
        M[1]->setGeometry(Px(kModelLeft), Px(kModelTop), Px(kModelWidth), Px(kBoxHeight));
        M[1]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    box->SetWrapped(tall);
    FitRow(1);
    drawborder(1, FA[1]->hasFocus() ? BorderMode::Focus : BorderMode::Normal);
}

void AnswerSheet::ShowRows(int parts) {
    visibleRows_ = std::clamp(parts, 0, kAnswerRows);
    StackAnswerRows();
    for (int k = 1; k <= kAnswerRows; ++k) Frame[k]->setVisible(k <= parts);
    QL[1]->setVisible(parts >= 2);
    LayoutPanel();
}

void AnswerSheet::StackAnswerRows() {
    // Crowded questions close the gaps.
    const int gap = Px(visibleRows_ >= kCrowdedRows ? kCrowdedRowGap : kRowGap);
    Frame[1]->move(Frame[1]->x(), Px(kFirstRowTop));
    for (int k = 2; k <= kAnswerRows; ++k) {
        Frame[k]->move(Frame[k]->x(), Frame[k - 1]->y() + Frame[k - 1]->height() + gap);
    }
}

void AnswerSheet::SetNote(int row, const QString& text, NoteKind kind) {
    const std::size_t k = static_cast<std::size_t>(row);
    QLabel* note = Note[k];
    if (note->text() != text) note->setText(text);
    if (noteKinds_[k] != kind || note->palette().color(QPalette::WindowText) != NoteColour(kind)) {
        noteKinds_[k] = kind;
        QPalette pal = note->palette();
        pal.setColor(QPalette::WindowText, NoteColour(kind));
        note->setPalette(pal);
    }
    note->setVisible(!text.isEmpty());
    DescribeRow(row, names_[k]);
    FitRow(row);
    StackAnswerRows();
    LayoutPanel();
}

void AnswerSheet::DescribeRow(int row, const QString& name) {
    names_[static_cast<std::size_t>(row)] = name;
    FA[static_cast<std::size_t>(row)]->Describe(name, RowDescription(row));
}

QString AnswerSheet::RowDescription(int row) const {
    const std::size_t k = static_cast<std::size_t>(row);
    auto said = [](const QLabel* mark) -> QString {
        if (mark->isHidden()) return {};
        if (mark->text() == QString(QChar(0x2713))) return QStringLiteral("marked right");
        if (mark->text() == QString(QChar(0x2717))) return QStringLiteral("marked wrong");
        return {};
    };
    QStringList parts;
    QString first = said(FR[k]);
    if (!first.isEmpty() && secondAttempt_) first += QStringLiteral(" in your first attempt");
    parts << first << said(SR[k]);
    if (!M[k]->isHidden()) parts << QStringLiteral("the answer is ") + M[k]->text();
    parts << NoteText(row);
    parts.removeAll(QString());
    return parts.join(QStringLiteral("; "));
}

QString AnswerSheet::NoteText(int row) const {
    const QLabel* note = Note[static_cast<std::size_t>(row)];
    return note->isHidden() ? QString() : note->text();
}

NoteKind AnswerSheet::NoteKindOf(int row) const { return noteKinds_[static_cast<std::size_t>(row)]; }

QColor AnswerSheet::NoteColour(NoteKind kind) {
    switch (kind) {
        case NoteKind::Refused:
            return kRefusedNoteColour;
        case NoteKind::FormOnly:
            return kFormOnlyNoteColour;
        case NoteKind::Form:
            break;
    }
    return kFormNoteColour;
}

void AnswerSheet::FitRow(int row) {
    const std::size_t k = static_cast<std::size_t>(row);
    RowFrame* frame = Frame[k];
    QLabel* note = Note[k];
    if (note->isHidden()) {
        frame->resize(frame->width(), frame->baseHeight());
        return;
    }
    // Under whatever stands in the box's line (the marks, a model answer) or
    // below it (a tall row's model answer), never over them.
    int top = FA[k]->geometry().bottom();
    for (const QWidget* above : {static_cast<QWidget*>(FR[k]), static_cast<QWidget*>(SR[k]),
                                 static_cast<QWidget*>(M[k])}) {
        if (!above->isHidden()) top = std::max(top, above->geometry().bottom());
    }
    // No wider than the model answer reaches, which the narrowest sheet (its
    // scroll bar showing) still shows whole.
    const int left = FA[k]->x();
    const int width = std::max(1, std::min(frame->width() - kNoteRightMargin, Px(kModelLeft + kModelWidth)) - left);
    note->setGeometry(left, top + 1 + kNoteGap, width, note->heightForWidth(width));
    frame->resize(frame->width(), std::max(frame->baseHeight(), note->geometry().bottom() + 1 + kNoteGap));
}

void AnswerSheet::drawborder(int row, BorderMode mode) {
    const QWidget* box = FA[static_cast<std::size_t>(row)];
    // From 30 twips above and left of the box to 15 twips below and right.
    const QRect rectangle(QPoint(box->x() - Px(30), box->y() - Px(30)),
                          QPoint(box->x() + box->width() + Px(15) - 1, box->y() + box->height() + Px(15) - 1));
    QColor colour = kBorderGrey;
    if (mode == BorderMode::Focus) colour = kBorderFocus;
    if (mode == BorderMode::Erase) colour = Frame[static_cast<std::size_t>(row)]->palette().color(QPalette::Window);
    Frame[static_cast<std::size_t>(row)]->createborder(rectangle, colour);
}

void AnswerSheet::ShowInstruction(bool shown) {
    if (PicInstruction->isHidden() != shown) return;
    PicInstruction->setVisible(shown);
    LayoutPanel();
}

void AnswerSheet::EnsureVisible(int row) { scroll_->ensureWidgetVisible(Frame[static_cast<std::size_t>(row)], 0, 4); }

void AnswerSheet::ShowResult(QLabel& label, const QString& mark) {
    QPalette pal = label.palette();
    if (mark == QChar(0x00FC)) {
        label.setText(QString(QChar(0x2713)));
        pal.setColor(QPalette::WindowText, kTickColour);
    } else if (mark == QChar(0x00FB)) {
        label.setText(QString(QChar(0x2717)));
        pal.setColor(QPalette::WindowText, kCrossColour);
    } else {
        label.setText(mark);
    }
    label.setPalette(pal);
}

void AnswerSheet::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPanel();
}

void AnswerSheet::LayoutPanel() {
    // The instruction sits at the bottom; the rows scroll above it when the
    // sheet is too short for them.
    PicInstruction->move((width() - PicInstruction->width()) / 2,
                         height() - PicInstruction->height() - kInstructionMargin);
    const int bottom = PicInstruction->isHidden() ? height() : PicInstruction->y() - kInstructionMargin;
    scroll_->setGeometry(0, kHeadingHeight, width(), std::max(0, bottom - kHeadingHeight));
    int rowsHeight = 0;
    if (visibleRows_ > 0) {
        const RowFrame* last = Frame[static_cast<std::size_t>(visibleRows_)];
        rowsHeight = last->y() + last->height() + Px(kFirstRowTop);
    }
    rows_->resize(width() - (scroll_->verticalScrollBar()->isVisible() ? scroll_->verticalScrollBar()->width() : 0),
                  rowsHeight);
}

}  // namespace ep
