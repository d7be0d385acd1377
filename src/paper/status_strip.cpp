#include "status_strip.h"

#include <QApplication>
#include <QEventLoop>
#include <QFont>
#include <QPainter>
#include <QTimer>
#include <chrono>

#include "skin_palette.h"

namespace ep {
namespace {

constexpr QSize kRemainingSize{120, 25};
constexpr QSize kNarrowSize{64, 25};
constexpr QSize kWideSize{128, 25};
constexpr QSize kMarkingSize{200, 25};
constexpr QSize kBarSize{11, 19};
constexpr int kPanelGap = 4;
constexpr std::chrono::milliseconds kBarStep{200};
constexpr int kCardPadding = 10;
constexpr int kCardCaption = 18;

QFont StripFont(bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.5);
    font.setBold(bold);
    return font;
}

QLabel* StripLabel(QWidget* parent, const QString& text, const QString& toolTip, QRect geometry,
                   Qt::Alignment alignment = Qt::AlignCenter, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(StripFont(bold));
    label->setToolTip(toolTip);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, palette::kText);
    label->setPalette(pal);
    return label;
}

// Drops mouse and keyboard input for the whole program while it lives.
class InputBlocker : public QObject {
public:
    InputBlocker() { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::NonClientAreaMouseButtonPress:
            case QEvent::NonClientAreaMouseButtonRelease:
            case QEvent::NonClientAreaMouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

StatusStrip::StatusStrip(QWidget* parent, const SkinFolder& skin, Attempt attempt) : QWidget(parent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette::kQuestion);
    setPalette(pal);
    setAutoFillBackground(true);
    resize(500, kHeight);
    const bool first = attempt == Attempt::kFirst;

    TxtRem = new SkinImage(this, kRemainingSize);
    TxtRem->setPictureFile(skin.Path(QStringLiteral("status_strip2.bmp")));
    TxtRemlbl = StripLabel(TxtRem, QStringLiteral("Qns left:"), QString(), QRect(6, 0, 52, kHeight),
                           Qt::AlignLeft | Qt::AlignVCenter);
    RemQns = new QComboBox(TxtRem);
    RemQns->setToolTip(QStringLiteral("Select a remaining question"));
    RemQns->setAccessibleName(QStringLiteral("Questions left"));
    RemQns->setFont(StripFont());
    RemQns->setGeometry(60, 2, 56, 21);
    TxtRemlbl->setBuddy(RemQns);
    // The list's label, to a screen reader, in words.
    TxtRemlbl->setAccessibleName(RemQns->accessibleName());

    int x = TxtRem->width() + kPanelGap;
    auto panel = [&](QSize size, int picture) {
        auto* image = new SkinImage(this, size);
        image->setPictureFile(skin.Path(QStringLiteral("status_strip%1.bmp").arg(picture)));
        image->move(x, 0);
        x += size.width() + kPanelGap;
        return image;
    };
    const QRect narrow(0, 0, kNarrowSize.width(), kHeight);
    if (first) {
        Bot1 = panel(kNarrowSize, 3);
        lblClock = StripLabel(Bot1, QStringLiteral("00:00:00"), QStringLiteral("Clock"), narrow);
        LTime = StripLabel(Bot1, QStringLiteral("00:00:00"), QStringLiteral("Time taken"), narrow);
        LTime->hide();
        Bot2 = panel(kNarrowSize, 3);
        lblDate = StripLabel(Bot2, QString(), QStringLiteral("Date"), narrow);
        ETime = StripLabel(Bot2, QString(), QStringLiteral("Date completed"), narrow);
        ETime->hide();
    } else {
        Bot1 = panel(kWideSize, 1);
        Label1 = StripLabel(Bot1, QStringLiteral("Second Attempt"), QString(), QRect(0, 0, kWideSize.width(), kHeight),
                            Qt::AlignCenter, true);
    }
    Bot3 = panel(kNarrowSize, 3);
    // "12 / 34", centred as a whole on the slash.
    lblAnsweredQ = StripLabel(Bot3, QStringLiteral("0"), QStringLiteral("Number of questions answered"),
                              QRect(0, 0, 27, kHeight), Qt::AlignRight | Qt::AlignVCenter);
    Label3 = StripLabel(Bot3, QStringLiteral("/"), QString(), QRect(27, 0, 10, kHeight));
    lblTotalQ = StripLabel(Bot3, QStringLiteral("0"), QStringLiteral("Total number of questions"),
                           QRect(37, 0, 27, kHeight), Qt::AlignLeft | Qt::AlignVCenter);
}

MarkingPanel::MarkingPanel(QWidget* parent, const SkinFolder& skin) : QWidget(parent) {
    resize(kMarkingSize.width() + 2 * kCardPadding, kMarkingSize.height() + kCardCaption + 2 * kCardPadding);
    auto* caption = StripLabel(this, QStringLiteral("Marking"), QString(),
                               QRect(kCardPadding, kCardPadding - 2, kMarkingSize.width(), kCardCaption),
                               Qt::AlignLeft | Qt::AlignTop, true);
    caption->setAccessibleName(caption->text());
    bar = new SkinImage(this, kMarkingSize);
    bar->setPictureFile(skin.Path(QStringLiteral("status_strip4.bmp")));
    bar->move(kCardPadding, kCardPadding + kCardCaption);
    const int span = kBars * kBarSize.width() + (kBars - 1);
    const int left = (kMarkingSize.width() - span) / 2;
    for (int k = 1; k <= kBars; ++k) {
        auto* step = new SkinImage(bar, kBarSize);
        step->setPictureFile(skin.Path(QStringLiteral("progressbar.bmp")));
        step->move(left + (k - 1) * (kBarSize.width() + 1), (kMarkingSize.height() - kBarSize.height()) / 2);
        step->hide();
        imgBar[static_cast<std::size_t>(k)] = step;
    }
    hide();
}

void MarkingPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette::kPage);
    painter.setPen(palette::kFocus);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MarkingPanel::Play() {
    InputBlocker blocker;
    for (int k = 1; k <= kBars; ++k) imgBar[static_cast<std::size_t>(k)]->hide();
    raise();
    show();
    repaint();
    for (int k = 1; k <= kBars; ++k) {
        const auto until = std::chrono::steady_clock::now() + kBarStep;
        // Waits in an event loop, so the windows repaint and the timers run.
        while (std::chrono::steady_clock::now() < until) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            QEventLoop wait;
            QTimer::singleShot(std::max<int>(1, static_cast<int>(left.count())), Qt::PreciseTimer, &wait,
                               &QEventLoop::quit);
            wait.exec();
        }
        SkinImage* bar = imgBar[static_cast<std::size_t>(k)];
        bar->show();
        bar->repaint();
    }
    hide();
}

}  // namespace ep
