#include "skinned_window.h"

#include <QAbstractButton>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QMouseEvent>
#include <QRegion>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "accessibility.h"
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

Qt::Edges ResizeEdges(QSize size, QPoint pos) {
    Qt::Edges edges;
    if (pos.x() < skin::kGripZone) {
        edges |= Qt::LeftEdge;
    } else if (pos.x() >= size.width() - skin::kGripZone) {
        edges |= Qt::RightEdge;
    }
    if (pos.y() < skin::kGripZone) {
        edges |= Qt::TopEdge;
    } else if (pos.y() >= size.height() - skin::kGripZone) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

Qt::CursorShape ResizeCursor(Qt::Edges edges) {
    const bool across = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool upDown = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (across && upDown) {
        const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (across) return Qt::SizeHorCursor;
    if (upDown) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

QRect PaperResize(const QRect& current, const QRect& start, Qt::Edges edges, QPoint delta) {
    // Each side must end up strictly longer than its minimum in twips.
    auto wideEnough = [](int pixels) { return pixels * kTwipsPerPixel > skin::kPaperMinWidthTwips; };
    auto highEnough = [](int pixels) { return pixels * kTwipsPerPixel > skin::kPaperMinHeightTwips; };
    int x = current.x(), w = current.width();
    if (edges & Qt::LeftEdge) {
        const int wanted = start.width() - delta.x();
        if (wideEnough(wanted)) x = start.x() + start.width() - wanted, w = wanted;
    } else if (edges & Qt::RightEdge) {
        const int wanted = start.width() + delta.x();
        if (wideEnough(wanted)) x = start.x(), w = wanted;
    }
    int y = current.y(), h = current.height();
    if (edges & Qt::TopEdge) {
        const int wanted = start.height() - delta.y();
        if (highEnough(wanted)) y = start.y() + start.height() - wanted, h = wanted;
    } else if (edges & Qt::BottomEdge) {
        const int wanted = start.height() + delta.y();
        if (highEnough(wanted)) y = start.y(), h = wanted;
    }
    return {x, y, w, h};
}

SkinnedWindow::SkinnedWindow(WindowKind kind, const QString& dataFolder, QWidget* parent)
    : QWidget(parent, (kind == WindowKind::PopUp ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint),
      kind_(kind),
      skin_(dataFolder),
      tickGate_(*this, Timer1, kTimerInterval, cursorPoint, [this] { return NextOwnChange(); }) {
    InstallAccessibility();
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
    HideFromAccessibility(Title);  // the window's own name says it
    for (SkinImage* handle : {BTopLeft, BTopCentre, BTopRight}) handle->installEventFilter(this);

    if (kind != WindowKind::PopUp) {
        ImgIco = new SkinImage(this, {kIconSize, kIconSize});
        ImgIco->setPictureFile(skin_.Path(Latin(paper ? "Pencil.ico" : "MWicon.ico")));
        imgProgMin = new SkinButton(this, {kTitleButton, kTitleButton});
        // Named for what they do to the window: a toolbar beside them may
        // have a Close of its own.
        imgProgMin->setText(tr("Minimise window"));
        imgProgMin->setToolTip(imgProgMin->text());
        connect(imgProgMin, &QAbstractButton::clicked, this, &QWidget::showMinimized);
        if (paper) {
            imgProgMax = new SkinButton(this, {kTitleButton, kTitleButton});
            imgProgMax->setText(tr("Maximise window"));
            imgProgMax->setToolTip(imgProgMax->text());
            connect(imgProgMax, &QAbstractButton::clicked, this, &SkinnedWindow::ToggleMaximised);
        }
        imgProgClose = new SkinButton(this, {kTitleButton, kTitleButton});
        imgProgClose->setText(tr("Close window"));
        imgProgClose->setToolTip(imgProgClose->text());
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
        // The grab zones lie on the frame's pieces, which follow the pointer
        // to show the sizing pointers.
        for (QWidget* piece : std::initializer_list<QWidget*>{BTopLeft, BTopCentre, BTopRight, Title, BLeft, BRight,
                                                               BBotLeft, BBot, BBotRight}) {
            piece->installEventFilter(this);
            piece->setMouseTracking(true);
        }
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
        imgProgMax->setText(isMaximized() ? tr("Restore window") : tr("Maximise window"));
        imgProgMax->setToolTip(imgProgMax->text());
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

Qt::Edges SkinnedWindow::ResizeEdgesAt(QPoint pos) const {
    if (kind_ != WindowKind::Paper || isMaximized() || !rect().contains(pos)) return {};
    return ResizeEdges(size(), pos);
}

void SkinnedWindow::ShowResizeCursor(QWidget& piece, Qt::Edges edges) {
    // The sizing pointers show only where a press does resize.
    if (edges) {
        piece.setCursor(ResizeCursor(edges));
    } else {
        piece.unsetCursor();
    }
}

void SkinnedWindow::BeginResize(Qt::Edges edges, QPoint globalPos) {
    drag_ = Drag::Resize;
    resizeEdges_ = edges;
    dragStartGlobal_ = globalPos;
    dragStartGeometry_ = geometry();
}

void SkinnedWindow::DragTo(QPoint globalPos) {
    const QPoint delta = globalPos - dragStartGlobal_;
    if (drag_ == Drag::Move) {
        move(dragStartPos_ + delta);
    } else if (drag_ == Drag::Resize) {
        // Relative to where the button went down, so the edge does not jump
        // to the pointer.
        setGeometry(PaperResize(geometry(), dragStartGeometry_, resizeEdges_, delta));
    }
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    const Qt::Edges edges = ResizeEdgesAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && edges) {
        BeginResize(edges, event->globalPosition().toPoint());
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
    QWidget::mouseMoveEvent(event);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
    drag_ = Drag::None;
    QWidget::mouseReleaseEvent(event);
}

bool SkinnedWindow::IsEdgePiece(QObject* watched) const {
    return kind_ == WindowKind::Paper &&
           (watched == BLeft || watched == BRight || watched == BBotLeft || watched == BBot || watched == BBotRight);
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
    const bool edge = IsEdgePiece(watched);
    const bool sizer = Sizer && watched == Sizer;
    if (handle || edge || sizer) {
        auto* piece = static_cast<QWidget*>(watched);
        const QPoint at = piece->mapTo(this, mouse->position().toPoint());
        // The grab zones lie on the frame's pieces: the pointer over a piece
        // is the piece's own, so it never stays on the contents beside it.
        const Qt::Edges edges = sizer ? Qt::Edges(Qt::RightEdge | Qt::BottomEdge) : ResizeEdgesAt(at);
        switch (type) {
            case QEvent::MouseButtonPress:
                if (mouse->button() == Qt::LeftButton && edges && !isMaximized()) {
                    BeginResize(edges, mouse->globalPosition().toPoint());
                } else if (handle) {
                    MoveForm(mouse->globalPosition().toPoint());  // any mouse button
                }
                return true;
            case QEvent::MouseMove:
                if (drag_ != Drag::None) {
                    DragTo(mouse->globalPosition().toPoint());
                } else if (!sizer) {
                    ShowResizeCursor(*piece, edges);
                }
                return true;
            default:  // release
                drag_ = Drag::None;
                if (!sizer) ShowResizeCursor(*piece, ResizeEdgesAt(piece->mapTo(this, mouse->position().toPoint())));
                return true;
        }
    }
    // A tracked toolbar button: the press flag follows its mouse-down and -up.
    if (type == QEvent::MouseButtonPress) txtPressTrack = Latin("1");
    if (type == QEvent::MouseButtonRelease) txtPressTrack = Latin("0");
    return false;
}

}  // namespace ep
