#include "skinned_window.h"

#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QMouseEvent>
#include <QRegion>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "button_states.h"
#include "skin_palette.h"

namespace ep {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kTimerInterval = 100;  // milliseconds
constexpr int kIconSize = 16;
constexpr int kSizerSize = 8;
constexpr int kPaperTitleStripWidth = 30000;  // twips, never stretched

QString Latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel)));
}

int HiMetricToPixels(int hiMetric) {
    // 2540 HiMetric units are an inch of 96 pixels.
    return static_cast<int>(std::lround(hiMetric * 96.0 / 2540.0));
}

QPolygon RoundedOutline(WindowKind kind, int w, int h) {
    QPolygon outline({{0, 5}, {1, 3}, {2, 2}, {3, 1}, {5, 0}, {w - 5, 0}, {w - 3, 1}, {w - 2, 2}, {w - 2, 3},
                      {w, 5}});
    if (kind == WindowKind::PopUp) {
        outline << QPoint(w, h - 7) << QPoint(w - 2, h - 3) << QPoint(w - 3, h - 2) << QPoint(w - 7, h)
                << QPoint(7, h) << QPoint(3, h - 2) << QPoint(2, h - 3) << QPoint(0, h - 7);
    } else {
        outline << QPoint(w, h) << QPoint(0, h);
    }
    return outline;
}

QSize PaperResize(QSize current, QSize wanted) {
    // Each side must end up strictly longer than its minimum in twips.
    const int w = wanted.width() * kTwipsPerPixel > skin::kPaperMinWidthTwips ? wanted.width() : current.width();
    const int h = wanted.height() * kTwipsPerPixel > skin::kPaperMinHeightTwips ? wanted.height() : current.height();
    return {w, h};
}

SkinnedWindow::SkinnedWindow(WindowKind kind, const QString& dataFolder, QWidget* parent)
    : QWidget(parent, (kind == WindowKind::PopUp ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint),
      kind_(kind),
      skin_(dataFolder),
      tickGate_(*this, Timer1, kTimerInterval, cursorPoint, [this] { return NextOwnChange(); }) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette::kPage);
    pal.setColor(QPalette::WindowText, palette::kText);
    setPalette(pal);
    setAutoFillBackground(true);

    const bool paper = kind == WindowKind::Paper;
    using namespace skin;
    // Creation order is stacking order: the right cap covers the end of a
    // paper window's fixed-width middle piece.
    BTopLeft = new SkinImage(this, {kCapWidth, kTitleHeight});
    BTopCentre = new SkinImage(this, {2, kTitleHeight}, true);
    BTopRight = new SkinImage(this, {kCapWidth, kTitleHeight});
    if (paper) BTopCentre->setGeometry(kCapWidth, 0, TwipsToPixels(kPaperTitleStripWidth), kTitleHeight);
    BLeft = new SkinImage(this, {kSideWidth, 8}, true);
    BRight = new SkinImage(this, {kSideWidth, 8}, true);
    BBotLeft = new SkinImage(this, {kSideWidth, kBottomHeight});
    BBot = new SkinImage(this, {2, kBottomHeight}, true);
    BBotRight = new SkinImage(this, {kSideWidth, kBottomHeight});

    Title = new QLabel(this);
    Title->setTextFormat(Qt::PlainText);
    QFont titleFont(Latin("Trebuchet MS"));
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    Title->setFont(titleFont);
    Title->installEventFilter(this);
    for (SkinImage* handle : {BTopLeft, BTopCentre, BTopRight}) handle->installEventFilter(this);

    if (kind != WindowKind::PopUp) {
        ImgIco = new SkinImage(this, {kIconSize, kIconSize});
        ImgIco->setPictureFile(skin_.Path(Latin(paper ? "Pencil.ico" : "MWicon.ico")));
        imgProgMin = new SkinButton(this, {kTitleButton, kTitleButton});
        imgProgMin->setText(tr("Minimise"));
        connect(imgProgMin, &QAbstractButton::clicked, this, &QWidget::showMinimized);
        if (paper) {
            imgProgMax = new SkinButton(this, {kTitleButton, kTitleButton});
            imgProgMax->setText(tr("Maximise"));
            connect(imgProgMax, &QAbstractButton::clicked, this, &SkinnedWindow::ToggleMaximised);
        }
        imgProgClose = new SkinButton(this, {kTitleButton, kTitleButton});
        imgProgClose->setText(tr("Close"));
        connect(imgProgClose, &QAbstractButton::clicked, this, &SkinnedWindow::imgProgClose_Click);
    }

    const bool popUp = kind == WindowKind::PopUp;
    BLeft->setPictureFile(skin_.Path(Latin("border_left.bmp")));
    BRight->setPictureFile(skin_.Path(Latin("border_right.bmp")));
    BBot->setPictureFile(skin_.Path(Latin("border_bot.bmp")));
    BBotLeft->setPictureFile(skin_.Path(Latin(popUp ? "Border_bot_left.gif" : "border_left_corners.bmp")));
    BBotRight->setPictureFile(skin_.Path(Latin(popUp ? "Border_bot_right.gif" : "border_right_corners.bmp")));

    if (paper) {
        Sizer = new SkinImage(this, {kSizerSize, kSizerSize});
        Sizer->setPictureFile(skin_.Path(Latin("statusgrabber.bmp")));
        Sizer->setCursor(Qt::SizeFDiagCursor);
        Sizer->installEventFilter(this);
        // The edge pieces let the mouse through, so the window itself sees
        // the pointer in its resize corner.
        for (SkinImage* edge : {BLeft, BRight, BBotLeft, BBot, BBotRight})
            edge->setAttribute(Qt::WA_TransparentForMouseEvents);
        setMouseTracking(true);
        setMinimumSize((kPaperMinWidthTwips + kTwipsPerPixel) / kTwipsPerPixel,
                       (kPaperMinHeightTwips + kTwipsPerPixel) / kTwipsPerPixel);
    }

    // A pop-up is modal and shown over its owner: it always wears the active
    // title bar. The other windows start inactive until the platform says
    // otherwise.
    ApplyActiveLook(popUp);

    Timer1.setInterval(kTimerInterval);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        Timer1_Timer();
        tickGate_.Ticked();
    });
    Timer1.start();
}

void SkinnedWindow::SetCaption(const QString& caption) {
    setWindowTitle(caption);
    Title->setText(caption);
    LayoutTitleBar();
}

void SkinnedWindow::MoveForm(QPoint pressedAt) {
    if (isMaximized()) return;
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) return;
    // No window manager to ask (or one that will not move us): follow the
    // mouse ourselves while the button stays down.
    drag_ = Drag::Move;
    dragStartGlobal_ = pressedAt;
    dragStartPos_ = pos();
}

void SkinnedWindow::pRoundCorners() {
    setMask(QRegion(RoundedOutline(kind_, width(), height()), Qt::WindingFill));
    update();
}

void SkinnedWindow::Timer1_Timer() {
    cursorPoint = QCursor::pos();
    if (FocusField != QLatin1String("1") || kind_ == WindowKind::PopUp) return;
    ShowTwoState(*imgProgClose, Latin("prog_blueoff_close.bmp"), Latin("prog_blue_close.bmp"), cursorPoint, skin_);
    ShowTwoState(*imgProgMin, Latin("prog_blueoff_min.bmp"), Latin("prog_blue_min.bmp"), cursorPoint, skin_);
    if (imgProgMax) {
        if (isMaximized()) {
            ShowTwoState(*imgProgMax, Latin("prog_blueoff_norm.bmp"), Latin("prog_blue_norm.bmp"), cursorPoint, skin_);
        } else {
            ShowTwoState(*imgProgMax, Latin("prog_blueoff_max.bmp"), Latin("prog_blue_max.bmp"), cursorPoint, skin_);
        }
    }
}

void SkinnedWindow::imgProgClose_Click() { close(); }

void SkinnedWindow::TrackPress(QWidget* button) { button->installEventFilter(this); }

void SkinnedWindow::ApplyActiveLook(bool active) {
    FocusField = Latin(active ? "1" : "0");
    QPalette pal = Title->palette();
    pal.setColor(QPalette::WindowText, active ? palette::kActiveTitle : palette::kInactiveTitle);
    Title->setPalette(pal);
    BTopLeft->setPictureFile(skin_.Path(Latin(active ? "border_top_left.bmp" : "border_white_top_left.bmp")));
    BTopRight->setPictureFile(skin_.Path(Latin(active ? "border_top_right.bmp" : "border_white_top_right.bmp")));
    BTopCentre->setPictureFile(skin_.Path(Latin(active ? "border_top_center.bmp" : "border_white_top_center.bmp")));
    if (imgProgClose) {
        imgProgClose->setPictureFile(skin_.Path(Latin(active ? "prog_blueoff_close.bmp" : "prog_white_close.bmp")));
        imgProgMin->setPictureFile(skin_.Path(Latin(active ? "prog_blueoff_min.bmp" : "prog_white_min.bmp")));
    }
    if (imgProgMax) {
        imgProgMax->setPictureFile(skin_.Path(Latin(active ? "prog_blueoff_max.bmp" : "prog_white_max.bmp")));
    }
}

void SkinnedWindow::LayoutFrame() {
    const int w = width();
    const int h = height();
    BTopLeft->move(0, 0);
    BTopRight->move(w - BTopRight->width(), 0);
    if (kind_ != WindowKind::Paper) {
        const int left = BTopLeft->x() + BTopLeft->width();
        BTopCentre->setGeometry(left, 0, std::max(0, BTopRight->x() - left), BTopCentre->height());
    }
    BBotLeft->move(0, h - BBotLeft->height());
    const int leftTop = BTopLeft->y() + BTopLeft->height();
    BLeft->setGeometry(0, leftTop, BLeft->width(), std::max(0, BBotLeft->y() - leftTop));
    BBotRight->move(w - BBotRight->width(), h - BBotRight->height());
    const int rightTop = BTopRight->y() + BTopRight->height();
    BRight->setGeometry(w - BRight->width(), rightTop, BRight->width(), std::max(0, BBotRight->y() - rightTop));
    const int botLeft = BBotLeft->x() + BBotLeft->width();
    BBot->setGeometry(botLeft, h - BBot->height(), std::max(0, BBotRight->x() - botLeft), BBot->height());
    LayoutTitleBar();
}

void SkinnedWindow::LayoutTitleBar() {
    const int w = width();
    const int centreOnCap = BTopLeft->height();
    int titleLeft = TwipsToPixels(240);
    int titleRight = w - skin::kCapWidth;
    switch (kind_) {
        case WindowKind::Main:
            titleLeft = TwipsToPixels(450);
            imgProgClose->move(w - imgProgClose->width() - TwipsToPixels(60),
                               (BTopRight->height() - imgProgClose->height()) / 2);
            imgProgMin->move(imgProgClose->x() - imgProgMin->width() - TwipsToPixels(30),
                             (BTopRight->height() - imgProgMin->height()) / 2);
            titleRight = imgProgMin->x() - 4;
            break;
        case WindowKind::Paper:
            titleLeft = TwipsToPixels(800);
            imgProgClose->move(w - imgProgClose->width() - HiMetricToPixels(120),
                               (BTopRight->height() - imgProgClose->height()) / 2);
            imgProgMax->move(imgProgClose->x() - imgProgMax->width() - HiMetricToPixels(60),
                             (BTopRight->height() - imgProgMax->height()) / 2);
            imgProgMin->move(imgProgMax->x() - imgProgMin->width() - HiMetricToPixels(60),
                             (BTopRight->height() - imgProgMin->height()) / 2);
            Sizer->move(w - Sizer->width() - HiMetricToPixels(60), height() - Sizer->height() - HiMetricToPixels(60));
            Sizer->raise();
            titleRight = imgProgMin->x() - 4;
            break;
        case WindowKind::PopUp:
            break;
    }
    if (ImgIco) ImgIco->move(TwipsToPixels(240), (centreOnCap - ImgIco->height()) / 2);
    const int titleHeight = Title->fontMetrics().height() + 2;
    Title->setGeometry(titleLeft, (BTopRight->height() - titleHeight) / 2, std::max(0, titleRight - titleLeft),
                       titleHeight);
}

void SkinnedWindow::ToggleMaximised() {
    if (isMinimized()) return;
    if (isMaximized()) {
        showNormal();
    } else {
        showMaximized();
    }
}

void SkinnedWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        // A window that loses the mouse with a button held never sees the
        // release; its buttons must not stay pressed.
        if (!isActiveWindow()) txtPressTrack = Latin("0");
        if (kind_ != WindowKind::PopUp) ApplyActiveLook(isActiveWindow());
    }
    if (event->type() == QEvent::WindowStateChange && imgProgMax) {
        imgProgMax->setText(isMaximized() ? tr("Restore") : tr("Maximise"));
    }
    QWidget::changeEvent(event);
}

void SkinnedWindow::ApplyLayout() {
    LayoutFrame();
    LayoutContents();
    pRoundCorners();
}

void SkinnedWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyLayout();
}

bool SkinnedWindow::InResizeCorner(QPoint pos) const {
    return kind_ == WindowKind::Paper && !isMaximized() && pos.x() > width() - skin::kGripZone &&
           pos.y() > height() - skin::kGripZone;
}

void SkinnedWindow::BeginResize(QPoint globalPos) {
    drag_ = Drag::Resize;
    dragStartGlobal_ = globalPos;
    dragStartSize_ = size();
}

void SkinnedWindow::DragTo(QPoint globalPos) {
    const QPoint delta = globalPos - dragStartGlobal_;
    if (drag_ == Drag::Move) {
        move(dragStartPos_ + delta);
    } else if (drag_ == Drag::Resize) {
        // Relative to where the button went down, so the corner does not jump
        // to the pointer.
        resize(PaperResize(size(), dragStartSize_ + QSize(delta.x(), delta.y())));
    }
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && InResizeCorner(event->position().toPoint())) {
        BeginResize(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) {
        DragTo(event->globalPosition().toPoint());
        return;
    }
    if (kind_ == WindowKind::Paper) {
        // The sizing pointer shows only where a drag does resize.
        if (InResizeCorner(event->position().toPoint())) {
            setCursor(Qt::SizeFDiagCursor);
        } else {
            unsetCursor();
        }
    }
    QWidget::mouseMoveEvent(event);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
    drag_ = Drag::None;
    QWidget::mouseReleaseEvent(event);
}

bool SkinnedWindow::IsDragHandle(QObject* watched) const {
    return watched == BTopLeft || watched == BTopCentre || watched == BTopRight || watched == Title;
}

bool SkinnedWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return QWidget::eventFilter(watched, event);
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const bool handle = IsDragHandle(watched);
    const bool sizer = Sizer && watched == Sizer;
    if (handle || sizer) {
        if (type == QEvent::MouseButtonPress) {
            if (handle) {
                MoveForm(mouse->globalPosition().toPoint());  // any mouse button
            } else if (mouse->button() == Qt::LeftButton && !isMaximized()) {
                BeginResize(mouse->globalPosition().toPoint());
            }
            return true;
        }
        if (type == QEvent::MouseMove && drag_ != Drag::None) {
            DragTo(mouse->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            drag_ = Drag::None;
            return true;
        }
        return false;
    }
    // A tracked toolbar button: the press flag follows its mouse-down and -up.
    if (type == QEvent::MouseButtonPress) txtPressTrack = Latin("1");
    if (type == QEvent::MouseButtonRelease) txtPressTrack = Latin("0");
    return false;
}

}  // namespace ep
