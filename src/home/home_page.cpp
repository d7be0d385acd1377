#include "home_page.h"

#include <QKeyEvent>
#include <QPainter>

#include "accessibility.h"
#include "button_states.h"
#include "open_paper.h"
#include "skin_palette.h"

namespace ep {
namespace {

constexpr QSize kLoadButton{35, 14};
constexpr int kTopicLeft = 24;
constexpr int kTopicTop = 44;
constexpr int kTopicPitch = 30;
constexpr int kTopicWidth = 250;
constexpr int kPapersLeft = 330;
constexpr int kPaperTop = 44;
constexpr int kPaperPitch = 80;
constexpr int kPercentLeft = 736;  // R: every score ends in front of this
constexpr int kScoreGap = 2;       // between a score and its "%"

QFont Font(const char* family, double points, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* Label(QWidget* parent, const QString& text, const QFont& font, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

QString ScoreSaid(const QString& attempt, const QString& score) {
    if (score.isEmpty()) return attempt + QStringLiteral(" attempt: not taken");
    return attempt + QStringLiteral(" attempt: ") + score + QLatin1Char('%');
}

TopicLabel::TopicLabel(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Click to select topic"));
    // One topic of the list is chosen, as one of a set of radio buttons.
    SetAccessibleRole(this, QAccessible::RadioButton);
    SetAccessibleSelected(this, false);
}

void TopicLabel::SetColours(const QColor& background, const QColor& foreground) {
    if (background == background_ && foreground == foreground_) return;
    background_ = background;
    foreground_ = foreground;
    update();
}

QSize TopicLabel::sizeHint() const { return {kTopicWidth, 24}; }

void TopicLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.setPen(foreground_);
    painter.setFont(font());
    painter.drawText(rect().adjusted(8, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus() && focusPolicy() != Qt::NoFocus) {
        painter.setPen(QPen(palette::kFocus, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void TopicLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

HomePage::HomePage(QWidget* parent, const SkinFolder& skin) : QWidget(parent) {
    const QFont heading = Font("Trebuchet MS", 10.5, true);
    const QFont body = Font("Arial", 10);
    const QFont bold = Font("Arial", 10, true);

    auto* colHead1 = new SkinImage(this, {kTopicWidth, 24});
    colHead1->setPictureFile(skin.Path(QStringLiteral("columnhead1.bmp")));
    colHead1->move(kTopicLeft - 8, 10);
    Label(colHead1, QStringLiteral("Select a Topic"), heading, {10, 0, 230, 24});
    auto* colHead2 = new SkinImage(this, {kPercentLeft + 30 - kPapersLeft, 24}, true);
    colHead2->setPictureFile(skin.Path(QStringLiteral("columnhead2.bmp")));
    colHead2->move(kPapersLeft - 8, 10);
    SubH1 = Label(colHead2, QStringLiteral("Select a Paper"), heading, {10, 0, colHead2->width() - 20, 24});

    for (int k = 0; k < 10; ++k) {
        Bullet[k] = new SkinImage(this, {13, 11});
        Bullet[k]->setPictureFile(skin.Path(QStringLiteral("bullet.bmp")));
        Bullet[k]->move(kTopicLeft - 8, kTopicTop + k * kTopicPitch + 7);
        Topic[k] = new TopicLabel(this);
        Topic[k]->setFont(body);
        Topic[k]->setGeometry(kTopicLeft + 10, kTopicTop + k * kTopicPitch, kTopicWidth - 20, 25);
        connect(Topic[k], &QAbstractButton::clicked, this, [this, k] { emit topicClicked(k + 1); });
    }

    for (int n = 0; n < 5; ++n) {
        const int top = kPaperTop + n * kPaperPitch;
        rowTop_[n] = top;
        const QString number = QString::number(n + 1);
        LblP[n] = Label(this, QStringLiteral("Paper ") + number, bold, {kPapersLeft, top, 80, 20});
        auto makeButton = [&](SkinButton*& button, CaptionLabel*& caption, const QString& text, int y, int attempt) {
            button = new SkinButton(this, kLoadButton);
            button->move(kPapersLeft + 6, y + 3);
            button->setPictureFile(skin.Path(QStringLiteral("loadbutton_off.bmp")));
            button->setText(text);
            button->setToolTip(text);
            caption = new CaptionLabel(this, button);
            caption->setText(text);
            caption->setFont(body);
            caption->setGeometry(kPapersLeft + 48, y, 170, 20);
            caption->setCursor(Qt::PointingHandCursor);
            connect(button, &QAbstractButton::clicked, this, [this, n, attempt] { emit paperClicked(n, attempt); });
        };
        makeButton(Pa[n], PaLabel[n], QStringLiteral("Load paper ") + number, top + 24, 1);
        makeButton(Pb[n], PbLabel[n], QStringLiteral("Try paper ") + number + QStringLiteral(" again"), top + 46, 2);

        // The score labels say their paper and attempt to a screen reader, so
        // the captions and "%" signs around them are for the eye only.
        HideFromAccessibility(Label(this, QStringLiteral("1st Attempt:"), body, {kPercentLeft - 150, top + 24, 90, 20}));
        HideFromAccessibility(Label(this, QStringLiteral("2nd Attempt:"), body, {kPercentLeft - 150, top + 46, 90, 20}));
        MSA[n] = Label(this, QString(), bold, {kPercentLeft, top + 24, 0, 20});
        MSB[n] = Label(this, QString(), bold, {kPercentLeft, top + 46, 0, 20});
        MSA[n]->setToolTip(QStringLiteral("First attempt score"));
        MSB[n]->setToolTip(QStringLiteral("Second attempt score"));
        percentSigns[2 * n] = Label(this, QStringLiteral("%"), bold, {kPercentLeft, top + 24, 16, 20});
        percentSigns[2 * n + 1] = Label(this, QStringLiteral("%"), bold, {kPercentLeft, top + 46, 16, 20});
        HideFromAccessibility(percentSigns[2 * n]);
        HideFromAccessibility(percentSigns[2 * n + 1]);
    }
    Percent1a = percentSigns[0];

    // Keyboard order: the topics, then each paper's two buttons.
    QWidget* previous = Topic[0];
    for (int k = 1; k < 10; ++k) {
        setTabOrder(previous, Topic[k]);
        previous = Topic[k];
    }
    for (int n = 0; n < 5; ++n) {
        setTabOrder(previous, Pa[n]);
        setTabOrder(Pa[n], Pb[n]);
        previous = Pb[n];
    }
}

void HomePage::ShowTopicRow(int k, int topicCount) {
    const bool shown = k <= topicCount;
    Topic[k - 1]->setVisible(shown);
    Bullet[k - 1]->setVisible(shown);
}

void HomePage::FillTopics(const TextList& names, int topicCount) {
    for (int k = 1; k <= 10; ++k) {
        Topic[k - 1]->setText(QString::fromStdString(names[static_cast<std::size_t>(k)]));
        ShowTopicRow(k, topicCount);
    }
}

void HomePage::TopicChoosing(int firstSlot, const TextList& firstScores, const TextList& secondScores,
                             const TextList& topicNames) {
    for (int n = 0; n < 5; ++n) {
        const std::size_t slot = static_cast<std::size_t>(firstSlot + n);
        const bool inRange = slot >= 1 && slot <= firstScores.size();
        MSA[n]->setText(inRange ? QString::fromStdString(firstScores[slot]) : QString());
        MSB[n]->setText(inRange ? QString::fromStdString(secondScores[slot]) : QString());
        const QString paper = QStringLiteral("Paper %1, ").arg(n + 1);
        MSA[n]->setAccessibleName(paper + ScoreSaid(QStringLiteral("first"), MSA[n]->text()));
        MSB[n]->setAccessibleName(paper + ScoreSaid(QStringLiteral("second"), MSB[n]->text()));
    }
    if (firstSlot >= 1 && firstSlot <= 46 && (firstSlot - 1) % 5 == 0) {
        SubH1->setText(QString::fromStdString(topicNames[static_cast<std::size_t>((firstSlot - 1) / 5 + 1)]));
    }
    ArrangePaperRows();
}

void HomePage::Topicbuttoncolour(int topic) {
    const QColor highlightedText = palette().color(QPalette::HighlightedText);
    for (int k = 0; k < 10; ++k) {
        Topic[k]->SetColours(highlightedText, Qt::black);
        SetAccessibleSelected(Topic[k], k == topic - 1);
    }
    Topic[topic - 1]->SetColours(QColor(128, 128, 128), highlightedText);
}

void HomePage::ArrangePaperRows() {
    const int right = Percent1a->x();
    auto place = [right](QLabel* label) {
        if (label->text().isEmpty()) {
            label->setGeometry(right, label->y(), 0, label->height());
            return;
        }
        const int width = label->fontMetrics().horizontalAdvance(label->text()) + 2;
        label->setGeometry(right - width - kScoreGap, label->y(), width, label->height());
    };
    for (int n = 0; n < 5; ++n) {
        place(MSA[n]);
        place(MSB[n]);
        // No second attempt after a first one above 99 %; a score that is
        // not a number (a damaged file) offers none either.
        const bool retake = RetakeOffered(MSA[n]->text().toStdString());
        Pb[n]->setVisible(retake);
        PbLabel[n]->setVisible(retake);
    }
}

void HomePage::UpdateHoverImages(const QPoint& cursor, const SkinFolder& skin) {
    const QString off = QStringLiteral("loadbutton_off.bmp");
    const QString on = QStringLiteral("loadbutton_on.bmp");
    for (int n = 0; n < 5; ++n) {
        ShowTwoState(*Pa[n], off, on, cursor, skin);
        ShowTwoState(*Pb[n], off, on, cursor, skin);
    }
}

}  // namespace ep
