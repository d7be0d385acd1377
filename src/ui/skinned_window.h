#pragma once

// The borderless window every window of the program stands on: a nine-part
// frame of skin pictures, a cut outline, dragging by the title bar, the
// title-bar buttons with their active, inactive and hover pictures, and for
// paper windows resizing from every edge and corner.

#include <QLabel>
#include <QPoint>
#include <QPolygon>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "skin_picture.h"
#include "tick_gate.h"

namespace ep {

enum class WindowKind {
    Main,   // fixed size; minimise and close
    Paper,  // resizable and maximisable; minimise, maximise/restore and close
    PopUp,  // fixed size, no title-bar buttons, all four corners cut
};

// Skin geometry in pixels (15 twips are a pixel).
namespace skin {
inline constexpr int kTitleHeight = 28;
inline constexpr int kCapWidth = 48;
inline constexpr int kSideWidth = 6;
inline constexpr int kBottomHeight = 7;
inline constexpr int kTitleButton = 19;
inline constexpr int kGripZone = 6;  // resize zone along the edges
inline constexpr int kPaperMinWidthTwips = 7300;
inline constexpr int kPaperMinHeightTwips = 5000;
}  // namespace skin

int TwipsToPixels(int twips);
int HiMetricToPixels(int hiMetric);

// The window's visible outline for a client area of width x height pixels,
// the points joined in order and the last back to the first.
QPolygon RoundedOutline(WindowKind kind, int width, int height);

// The edges whose 6-pixel grab zones hold `pos`, a point of a window of
// `size`: one edge, or two at a corner.
Qt::Edges ResizeEdges(QSize size, QPoint pos);
// The pointer over those zones: west-east, north-south, or a diagonal at a corner.
Qt::CursorShape ResizeCursor(Qt::Edges edges);
// Where a paper window goes when `edges` are dragged by `delta` from where
// they were at `start`; the opposite edges stay put. Each side follows only
// while the window stays above its minimum, else keeps its `current` place.
QRect PaperResize(const QRect& current, const QRect& start, Qt::Edges edges, QPoint delta);

class SkinnedWindow : public QWidget {
    Q_OBJECT

public:
    SkinnedWindow(WindowKind kind, const QString& dataFolder, QWidget* parent = nullptr);

    WindowKind kind() const { return kind_; }
    const SkinFolder& skin() const { return skin_; }

    // Sets the window caption (the task list) and the title bar text.
    void SetCaption(const QString& caption);

    // Lets the user drag the window from a mouse-down at `pressedAt` (screen
    // coordinates): the platform's own move when it has one, else the window
    // follows the mouse until the button is released.
    void MoveForm(QPoint pressedAt);

    // Cuts the window to its outline.
    void pRoundCorners();

    // Lays out the frame and the contents and cuts the outline; runs on every
    // size change, and may be called before the window is first shown.
    void ApplyLayout();

    // The 100 ms tick: reads the cursor once into cursorPoint and, while the
    // window is active, gives the title-bar buttons their hover pictures.
    // Windows that override it call it first. Timer1 runs only while
    // something may change (see TickGate): an idle window costs nothing.
    virtual void Timer1_Timer();

    // Frame controls, children of the window.
    SkinImage* BTopLeft;
    SkinImage* BTopCentre;
    SkinImage* BTopRight;
    QLabel* Title;
    SkinImage* ImgIco = nullptr;  // main and paper windows
    SkinImage* BLeft;
    SkinImage* BRight;
    SkinImage* BBotLeft;
    SkinImage* BBot;
    SkinImage* BBotRight;
    SkinButton* imgProgMin = nullptr;    // main and paper windows
    SkinButton* imgProgMax = nullptr;    // paper windows
    SkinButton* imgProgClose = nullptr;  // main and paper windows
    SkinImage* Sizer = nullptr;          // paper windows

    // "1" while the window is active, "0" otherwise (ContentsFocus,
    // Test1Focus, Test2Focus of the windows built on this one).
    QString FocusField = QStringLiteral("0");
    // "1" while a mouse button is held down on a tracked toolbar button.
    QString txtPressTrack = QStringLiteral("0");

    QTimer Timer1;
    QPoint cursorPoint;  // screen position of the cursor at the last tick

protected:
    // Paper windows lay out their contents here on every size change, after
    // the frame and before the outline is cut.
    virtual void LayoutContents() {}
    // Milliseconds until the window shows something new by itself (the
    // paper's clock its next second), or -1 when only input changes it.
    virtual int NextOwnChange() const { return -1; }
    // The close picture's action; paper windows ask first.
    virtual void imgProgClose_Click();

    // Mouse-down and mouse-up on `button` set and clear txtPressTrack.
    void TrackPress(QWidget* button);

    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Drag { None, Move, Resize };

    void ApplyActiveLook(bool active);
    void LayoutFrame();
    void LayoutTitleBar();
    void ToggleMaximised();
    // The edges a press at `pos` (window coordinates) would drag; none
    // unless this is a paper window in its normal state.
    Qt::Edges ResizeEdgesAt(QPoint pos) const;
    void ShowResizeCursor(QWidget& piece, Qt::Edges edges);
    void BeginResize(Qt::Edges edges, QPoint globalPos);
    void DragTo(QPoint globalPos);
    bool IsDragHandle(QObject* watched) const;
    bool IsEdgePiece(QObject* watched) const;

    WindowKind kind_;
    SkinFolder skin_;
    Drag drag_ = Drag::None;
    QPoint dragStartGlobal_;
    QPoint dragStartPos_;
    QRect dragStartGeometry_;
    Qt::Edges resizeEdges_;
    TickGate tickGate_;
};

}  // namespace ep
