#include "skinned_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QRegion>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "button_states.h"
#include "skin_test_support.h"

using ep::test::CentreOf;
using ep::test::FileName;

namespace {

// A paper-like window with one toolbar button under the three-state rule.
class ToolbarWindow : public ep::SkinnedWindow {
public:
    explicit ToolbarWindow(const QString& data) : SkinnedWindow(ep::WindowKind::Paper, data) {
        mark = new ep::SkinButton(this, {44, 45});
        mark->move(60, 60);
        TrackPress(mark);
        connect(mark, &QAbstractButton::clicked, this, [this] { ++clicks; });
    }
    void Timer1_Timer() override {
        SkinnedWindow::Timer1_Timer();
        ep::ShowThreeState(*mark, ep::ButtonPictures::Family(QStringLiteral("mark")), cursorPoint, txtPressTrack,
                           skin());
    }
    ep::SkinButton* mark;
    int clicks = 0;
};

// Counts the paints of a window and its controls.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& window) : window_(window) { qApp->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            ++paints;
        }
        return false;
    }

private:
    QWidget& window_;
};

QString Shown(const ep::SkinImage* image) { return FileName(image->pictureFile()); }
QString Shown(const ep::SkinButton* button) { return FileName(button->pictureFile()); }

}  // namespace

class SkinnedWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString data_;

    std::unique_ptr<ep::SkinnedWindow> Open(ep::WindowKind kind, QSize size, QPoint at = {100, 100}) {
        auto window = std::make_unique<ep::SkinnedWindow>(kind, data_);
        window->setGeometry(QRect(at, size));
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
        return window;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        data_ = ep::test::SkinnedDataFolder(*dir_);
        QCursor::setPos(0, 0);
    }

    void outlineOfMainAndPaperWindowsCutsOnlyTheTopCorners() {
        const QPolygon outline = ep::RoundedOutline(ep::WindowKind::Main, 400, 300);
        const QPolygon expected({{0, 5}, {1, 3}, {2, 2}, {3, 1}, {5, 0}, {395, 0}, {397, 1}, {398, 2}, {398, 3},
                                 {400, 5}, {400, 300}, {0, 300}});
        QCOMPARE(outline, expected);
        QCOMPARE(ep::RoundedOutline(ep::WindowKind::Paper, 400, 300), expected);

        const QRegion region(outline, Qt::WindingFill);
        QVERIFY(!region.contains(QPoint(0, 0)));
        QVERIFY(!region.contains(QPoint(1, 1)));
        QVERIFY(region.contains(QPoint(5, 0)));
        QVERIFY(region.contains(QPoint(0, 5)));
        QVERIFY(!region.contains(QPoint(399, 0)));
        QVERIFY(region.contains(QPoint(399, 5)));
        // Square bottom corners, and nothing outside the client area.
        QVERIFY(region.contains(QPoint(0, 299)));
        QVERIFY(region.contains(QPoint(399, 299)));
        QVERIFY(!region.contains(QPoint(400, 150)));
        QVERIFY(!region.contains(QPoint(200, 300)));
    }

    void outlineOfThePopUpCutsAllFourCorners() {
        const QPolygon outline = ep::RoundedOutline(ep::WindowKind::PopUp, 265, 150);
        QCOMPARE(outline.size(), 18);
        QCOMPARE(outline.mid(10), QPolygon({{265, 143}, {263, 147}, {262, 148}, {258, 150}, {7, 150}, {3, 148},
                                             {2, 147}, {0, 143}}));
        const QRegion region(outline, Qt::WindingFill);
        QVERIFY(!region.contains(QPoint(0, 149)));
        QVERIFY(!region.contains(QPoint(264, 149)));
        QVERIFY(region.contains(QPoint(132, 149)));
        QVERIFY(region.contains(QPoint(0, 140)));
    }

    void theWindowIsCutToItsOutline() {
        auto window = Open(ep::WindowKind::Main, {400, 300});
        QVERIFY(window);
        QCOMPARE(window->mask(), QRegion(ep::RoundedOutline(ep::WindowKind::Main, 400, 300), Qt::WindingFill));
    }

    void frameFollowsTheNinePartRule() {
        auto window = Open(ep::WindowKind::Main, {400, 300});
        QVERIFY(window);
        QCOMPARE(window->BTopLeft->geometry(), QRect(0, 0, 48, 28));
        QCOMPARE(window->BTopRight->geometry(), QRect(352, 0, 48, 28));
        QCOMPARE(window->BTopCentre->geometry(), QRect(48, 0, 304, 28));
        QCOMPARE(window->BBotLeft->geometry(), QRect(0, 293, 6, 7));
        QCOMPARE(window->BLeft->geometry(), QRect(0, 28, 6, 265));
        QCOMPARE(window->BBotRight->geometry(), QRect(394, 293, 6, 7));
        QCOMPARE(window->BRight->geometry(), QRect(394, 28, 6, 265));
        QCOMPARE(window->BBot->geometry(), QRect(6, 293, 388, 7));
        // Title-bar pieces of the main window: 60 and 30 twips apart.
        QCOMPARE(window->imgProgClose->geometry(), QRect(400 - 19 - 4, 4, 19, 19));
        QCOMPARE(window->imgProgMin->geometry(), QRect(400 - 19 - 4 - 19 - 2, 4, 19, 19));
        QCOMPARE(window->ImgIco->pos(), QPoint(16, 6));
        QCOMPARE(window->Title->x(), 30);
        QCOMPARE(window->BBotLeft->pictureFile(), data_ + QStringLiteral("/Graphics/border_left_corners.bmp"));
        QVERIFY(window->BBotLeft->hasPicture());
    }

    void paperWindowTitleStripKeepsItsWidthAndOnlyTheRightCapMoves() {
        auto window = Open(ep::WindowKind::Paper, {800, 600});
        QVERIFY(window);
        QCOMPARE(window->BTopCentre->geometry(), QRect(48, 0, 2000, 28));
        window->resize(700, 500);
        QTRY_COMPARE(window->BTopRight->x(), 700 - 48);
        QCOMPARE(window->BTopCentre->geometry(), QRect(48, 0, 2000, 28));
        QCOMPARE(window->imgProgClose->x(), 700 - 19 - 5);
        QCOMPARE(window->imgProgMax->x(), window->imgProgClose->x() - 19 - 2);
        QCOMPARE(window->imgProgMin->x(), window->imgProgMax->x() - 19 - 2);
        QCOMPARE(window->Sizer->geometry(), QRect(700 - 8 - 2, 500 - 8 - 2, 8, 8));
        QCOMPARE(window->mask(), QRegion(ep::RoundedOutline(ep::WindowKind::Paper, 700, 500), Qt::WindingFill));
        QCOMPARE(FileName(window->ImgIco->pictureFile()), QStringLiteral("pencil.ico"));
        QVERIFY(window->ImgIco->hasPicture());
    }

    void draggingByTheTitleBarMovesTheWindowAndNowhereElse_data() {
        QTest::addColumn<QString>("handle");
        QTest::addColumn<bool>("moves");
        QTest::newRow("title text") << QStringLiteral("Title") << true;
        QTest::newRow("left cap") << QStringLiteral("BTopLeft") << true;
        QTest::newRow("middle") << QStringLiteral("BTopCentre") << true;
        QTest::newRow("right cap") << QStringLiteral("BTopRight") << true;
        QTest::newRow("icon") << QStringLiteral("ImgIco") << false;
        QTest::newRow("client area") << QStringLiteral("window") << false;
    }

    void draggingByTheTitleBarMovesTheWindowAndNowhereElse() {
        QFETCH(QString, handle);
        QFETCH(bool, moves);
        auto window = Open(ep::WindowKind::Main, {400, 300});
        QVERIFY(window);
        window->SetCaption(QStringLiteral("Practice"));
        QWidget* target = window.get();
        QPoint at(200, 150);
        if (handle == QLatin1String("Title")) target = window->Title, at = QPoint(5, 5);
        if (handle == QLatin1String("BTopLeft")) target = window->BTopLeft, at = QPoint(40, 3);
        if (handle == QLatin1String("BTopCentre")) target = window->BTopCentre, at = QPoint(200, 20);
        if (handle == QLatin1String("BTopRight")) target = window->BTopRight, at = QPoint(5, 5);
        if (handle == QLatin1String("ImgIco")) target = window->ImgIco, at = QPoint(8, 8);
        const QPoint before = window->pos();
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        QTest::mouseMove(target, at + QPoint(30, 20));
        QTest::mouseRelease(target, Qt::LeftButton, {}, at + QPoint(30, 20));
        QCOMPARE(window->pos(), moves ? before + QPoint(30, 20) : before);
    }

    void activeAndInactiveLooks() {
        auto first = Open(ep::WindowKind::Paper, {600, 400}, {50, 50});
        auto second = Open(ep::WindowKind::Main, {400, 300}, {700, 50});
        QVERIFY(first && second);
        first->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(first.get()));
        QTRY_COMPARE(first->FocusField, QStringLiteral("1"));
        QCOMPARE(second->FocusField, QStringLiteral("0"));
        QCOMPARE(Shown(first->BTopLeft), QStringLiteral("border_top_left.bmp"));
        QCOMPARE(Shown(first->BTopCentre), QStringLiteral("border_top_center.bmp"));
        QCOMPARE(Shown(first->imgProgMax), QStringLiteral("prog_blueoff_max.bmp"));
        QCOMPARE(first->Title->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        QCOMPARE(Shown(second->BTopRight), QStringLiteral("border_white_top_right.bmp"));
        QCOMPARE(Shown(second->imgProgClose), QStringLiteral("prog_white_close.bmp"));
        QCOMPARE(second->Title->palette().color(QPalette::WindowText), QColor(128, 128, 128));

        // The inactive window ignores the cursor over its title-bar buttons;
        // the active one follows it.
        QCursor::setPos(CentreOf(*second->imgProgClose));
        second->Timer1_Timer();
        QCOMPARE(Shown(second->imgProgClose), QStringLiteral("prog_white_close.bmp"));
        QCursor::setPos(CentreOf(*first->imgProgClose));
        QTRY_COMPARE(Shown(first->imgProgClose), QStringLiteral("prog_blue_close.bmp"));
        QCOMPARE(Shown(first->imgProgMin), QStringLiteral("prog_blueoff_min.bmp"));

        // A button held down as the window loses the mouse does not stay pressed.
        first->txtPressTrack = QStringLiteral("1");
        second->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(second.get()));
        QTRY_COMPARE(first->FocusField, QStringLiteral("0"));
        QCOMPARE(first->txtPressTrack, QStringLiteral("0"));
        QCOMPARE(Shown(first->imgProgClose), QStringLiteral("prog_white_close.bmp"));
        QCOMPARE(Shown(first->BTopLeft), QStringLiteral("border_white_top_left.bmp"));
        QCOMPARE(second->FocusField, QStringLiteral("1"));
    }

    void maximiseThenRestoreReturnsToTheOldSizeAndShowsTheRestorePictures() {
        auto window = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->imgProgMax->click();
        QTRY_VERIFY(window->isMaximized());
        QTRY_VERIFY(window->width() > 600);
        QCursor::setPos(CentreOf(*window->imgProgMax));
        window->Timer1_Timer();
        QCOMPARE(Shown(window->imgProgMax), QStringLiteral("prog_blue_norm.bmp"));
        QCursor::setPos(window->mapToGlobal(QPoint(300, 300)));
        window->Timer1_Timer();
        QCOMPARE(Shown(window->imgProgMax), QStringLiteral("prog_blueoff_norm.bmp"));

        window->imgProgMax->click();
        QTRY_VERIFY(!window->isMaximized());
        QTRY_COMPARE(window->size(), QSize(600, 400));
        window->Timer1_Timer();
        QCOMPARE(Shown(window->imgProgMax), QStringLiteral("prog_blueoff_max.bmp"));
    }

    void aWindowIsAFrameOfNamedButtons() {
        auto paper = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(paper);
        paper->SetCaption(QStringLiteral("Fractions: Paper 1"));
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(paper.get());
        QCOMPARE(frame->role(), QAccessible::Window);
        QCOMPARE(frame->text(QAccessible::Name), QStringLiteral("Fractions: Paper 1"));
        QVERIFY(frame->state().sizeable);
        // The title-bar buttons; the frame's pictures, the size grip and the
        // title text, which the frame's name says, stay out.
        QStringList children;
        for (int i = 0; i < frame->childCount(); ++i) {
            children << frame->child(i)->text(QAccessible::Name);
            QCOMPARE(frame->child(i)->role(), QAccessible::Button);
            QCOMPARE(frame->indexOfChild(frame->child(i)), i);
        }
        QCOMPARE(children, (QStringList{"Minimise window", "Maximise window", "Close window"}));
        QCOMPARE(frame->indexOfChild(QAccessible::queryAccessibleInterface(paper->BLeft)), -1);
        QCOMPARE(frame->indexOfChild(QAccessible::queryAccessibleInterface(paper->Title)), -1);
        paper->imgProgMax->click();
        QTRY_VERIFY(paper->isMaximized());
        QCOMPARE(QAccessible::queryAccessibleInterface(paper->imgProgMax)->text(QAccessible::Name),
                 QStringLiteral("Restore window"));
        QVERIFY(!frame->state().sizeable);  // a maximised window is not resized

        auto main = Open(ep::WindowKind::Main, {600, 400});
        QVERIFY(main);
        main->setFixedSize(600, 400);
        QAccessibleInterface* mainFrame = QAccessible::queryAccessibleInterface(main.get());
        QCOMPARE(mainFrame->role(), QAccessible::Window);
        QVERIFY(!mainFrame->state().sizeable);
        QCOMPARE(mainFrame->childCount(), 2);
    }

    void minimiseButtonMinimisesAndMaximiseThenDoesNothing() {
        auto window = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(window);
        window->imgProgMin->click();
        QTRY_VERIFY(window->isMinimized());
        window->imgProgMax->click();
        QVERIFY(!window->isMaximized());
    }

    void everyEdgeAndCornerResizesWithItsPointer_data() {
        QTest::addColumn<QPoint>("press");  // in the window, inside the grab zone
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QRect>("after");    // the window after dragging by (-40, +30)
        // A 600 x 400 window at (100, 100); what lies under each zone differs:
        // the side and bottom pieces, the title bar's pieces, the corners.
        QTest::newRow("left") << QPoint(2, 200) << int(Qt::SizeHorCursor) << QRect(60, 100, 640, 400);
        QTest::newRow("right") << QPoint(597, 200) << int(Qt::SizeHorCursor) << QRect(100, 100, 560, 400);
        QTest::newRow("top") << QPoint(300, 2) << int(Qt::SizeVerCursor) << QRect(100, 130, 600, 370);
        QTest::newRow("bottom") << QPoint(300, 397) << int(Qt::SizeVerCursor) << QRect(100, 100, 600, 430);
        QTest::newRow("top left") << QPoint(2, 2) << int(Qt::SizeFDiagCursor) << QRect(60, 130, 640, 370);
        QTest::newRow("top right") << QPoint(597, 2) << int(Qt::SizeBDiagCursor) << QRect(100, 130, 560, 370);
        QTest::newRow("bottom left") << QPoint(2, 397) << int(Qt::SizeBDiagCursor) << QRect(60, 100, 640, 430);
        QTest::newRow("bottom right") << QPoint(597, 397) << int(Qt::SizeFDiagCursor) << QRect(100, 100, 560, 430);
        // The zones are 6 pixels deep on every side.
        QTest::newRow("left, last pixel") << QPoint(5, 200) << int(Qt::SizeHorCursor) << QRect(60, 100, 640, 400);
        QTest::newRow("right, last pixel") << QPoint(594, 200) << int(Qt::SizeHorCursor) << QRect(100, 100, 560, 400);
    }

    void everyEdgeAndCornerResizesWithItsPointer() {
        QFETCH(QPoint, press);
        QFETCH(int, cursor);
        QFETCH(QRect, after);
        auto window = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(window);
        QWidget* under = window->childAt(press) ? window->childAt(press) : window.get();
        const QPoint local = under->mapFrom(window.get(), press);
        QTest::mouseMove(under, local);
        QCOMPARE(int(under->cursor().shape()), cursor);
        QTest::mousePress(under, Qt::LeftButton, {}, local);
        QTest::mouseMove(under, local + QPoint(-40, 30));
        QCOMPARE(window->geometry(), after);
        QTest::mouseRelease(under, Qt::LeftButton, {}, local + QPoint(-40, 30));
        // The sizing pointer belongs to the frame: the contents never take it on.
        QWidget* inside = window->childAt(window->rect().center());
        QCOMPARE((inside ? inside : window.get())->cursor().shape(), Qt::ArrowCursor);
    }

    void theTitleBarIsAGrabZoneOnlyAlongItsTopEdge() {
        auto window = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(window);
        // The title text or the bar itself, whichever is under the pointer.
        auto hover = [&](QPoint at) {
            QWidget* under = window->childAt(at);
            QTest::mouseMove(under, under->mapFrom(window.get(), at));
            return under->cursor().shape();
        };
        QCOMPARE(hover({300, 3}), Qt::SizeVerCursor);
        QCOMPARE(hover({300, 6}), Qt::ArrowCursor);
        QCOMPARE(hover({30, 12}), Qt::ArrowCursor);
        // Below the zone a press moves the window instead: no resizing.
        QWidget* bar = window->BTopCentre;
        QTest::mousePress(bar, Qt::LeftButton, {}, bar->mapFrom(window.get(), QPoint(300, 2)) + QPoint(0, 8));
        QTest::mouseMove(bar, bar->mapFrom(window.get(), QPoint(300, 40)));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFrom(window.get(), QPoint(300, 40)));
        QCOMPARE(window->size(), QSize(600, 400));
    }

    void resizingKeepsTheMinimum() {
        auto window = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(window);
        const QPoint corner(2, 397);  // bottom left
        QTest::mousePress(window.get(), Qt::LeftButton, {}, corner);
        QTest::mouseMove(window.get(), corner + QPoint(-50, 30));
        QCOMPARE(window->geometry(), QRect(50, 100, 650, 430));
        // Too narrow: the width stays, the height still follows; the right
        // edge never moves.
        QTest::mouseMove(window.get(), corner + QPoint(200, -30));
        QCOMPARE(window->geometry(), QRect(50, 100, 650, 370));
        QTest::mouseRelease(window.get(), Qt::LeftButton, {}, corner + QPoint(200, -30));

        // 487 x 334 pixels is 7305 x 5010 twips, just above the minimum;
        // a pixel less on either side is not.
        const QRect start(100, 100, 600, 400);
        const Qt::Edges topLeft = Qt::TopEdge | Qt::LeftEdge;
        QCOMPARE(ep::PaperResize(start, start, topLeft, {113, 66}), QRect(213, 166, 487, 334));
        QCOMPARE(ep::PaperResize(start, start, topLeft, {114, 67}), start);
        QCOMPARE(ep::PaperResize(start, start, Qt::RightEdge | Qt::BottomEdge, {-113, -66}),
                 QRect(100, 100, 487, 334));
        QCOMPARE(ep::PaperResize(start, start, Qt::RightEdge, {-114, 500}), start);
    }

    void onlyANormalPaperWindowResizes() {
        auto main = Open(ep::WindowKind::Main, {600, 400});
        QVERIFY(main);
        QTest::mouseMove(main->BLeft, QPoint(2, 100));
        QCOMPARE(main->BLeft->cursor().shape(), Qt::ArrowCursor);
        QTest::mousePress(main->BLeft, Qt::LeftButton, {}, QPoint(2, 100));
        QTest::mouseMove(main->BLeft, QPoint(40, 130));
        QTest::mouseRelease(main->BLeft, Qt::LeftButton, {}, QPoint(40, 130));
        QCOMPARE(main->geometry(), QRect(100, 100, 600, 400));

        auto paper = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(paper);
        paper->showMaximized();
        QTRY_VERIFY(paper->isMaximized() && paper->geometry() != QRect(100, 100, 600, 400));
        const QRect maximised = paper->geometry();
        QTest::mouseMove(paper->BLeft, QPoint(2, 100));
        QCOMPARE(paper->BLeft->cursor().shape(), Qt::ArrowCursor);
        QTest::mousePress(paper->BLeft, Qt::LeftButton, {}, QPoint(2, 100));
        QTest::mouseMove(paper->BLeft, QPoint(40, 130));
        QTest::mouseRelease(paper->BLeft, Qt::LeftButton, {}, QPoint(40, 130));
        QCOMPARE(paper->geometry(), maximised);
    }

    void theSizeGripResizesLikeTheCorner() {
        auto window = Open(ep::WindowKind::Paper, {600, 400});
        QVERIFY(window);
        QTest::mousePress(window->Sizer, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseMove(window->Sizer, QPoint(42, 22));
        QTest::mouseRelease(window->Sizer, Qt::LeftButton, {}, QPoint(42, 22));
        QCOMPARE(window->geometry(), QRect(100, 100, 640, 420));
        QCOMPARE(window->Sizer->pos(), QPoint(640 - 10, 420 - 10));
    }

    void pressOnAButtonSlideOffAndRelease() {
        ToolbarWindow window(data_);
        window.setGeometry(100, 100, 600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint over(20, 20);
        const QPoint off(200, 20);  // inside the window, off the button

        QCursor::setPos(window.mark->mapToGlobal(over));
        QTRY_COMPARE(Shown(window.mark), QStringLiteral("mark_on.bmp"));
        QTest::mousePress(window.mark, Qt::LeftButton, {}, over);
        QCOMPARE(window.txtPressTrack, QStringLiteral("1"));
        QTRY_COMPARE(Shown(window.mark), QStringLiteral("mark_pressed.bmp"));

        QCursor::setPos(window.mark->mapToGlobal(off));
        QTest::mouseMove(window.mark, off);
        QTRY_COMPARE(Shown(window.mark), QStringLiteral("mark_off.bmp"));
        QCOMPARE(window.txtPressTrack, QStringLiteral("1"));  // still held

        QTest::mouseRelease(window.mark, Qt::LeftButton, {}, off);
        QCOMPARE(window.txtPressTrack, QStringLiteral("0"));
        QCOMPARE(window.clicks, 0);  // released off the button: no action
        QCursor::setPos(window.mark->mapToGlobal(over));
        QTRY_COMPARE(Shown(window.mark), QStringLiteral("mark_on.bmp"));

        // An unavailable button shows its disabled picture, pointer or not.
        window.mark->setEnabled(false);
        QTRY_COMPARE(Shown(window.mark), QStringLiteral("mark_disabled.bmp"));
    }

    void threeStateRule() {
        using ep::ButtonLook;
        QCOMPARE(ep::ThreeStateLook(true, false, false), ButtonLook::Off);
        QCOMPARE(ep::ThreeStateLook(true, false, true), ButtonLook::Off);
        QCOMPARE(ep::ThreeStateLook(true, true, false), ButtonLook::On);
        QCOMPARE(ep::ThreeStateLook(true, true, true), ButtonLook::Pressed);
        QCOMPARE(ep::ThreeStateLook(false, true, true), ButtonLook::Disabled);
    }

    void hitTestLeavesTheRightAndBottomEdgesOutside() {
        auto window = Open(ep::WindowKind::Main, {400, 300});
        QVERIFY(window);
        const QWidget& close = *window->imgProgClose;
        const QPoint topLeft = close.mapToGlobal(QPoint(0, 0));
        QVERIFY(ep::CursorOver(close, topLeft));
        QVERIFY(ep::CursorOver(close, topLeft + QPoint(18, 18)));
        QVERIFY(!ep::CursorOver(close, topLeft + QPoint(19, 5)));
        QVERIFY(!ep::CursorOver(close, topLeft + QPoint(5, 19)));
        QVERIFY(!ep::CursorOver(close, topLeft - QPoint(1, 0)));
    }

    void anIdleTickReadsNoPictureFile() {
        ToolbarWindow window(data_);
        window.setGeometry(100, 100, 600, 400);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCursor::setPos(CentreOf(*window.mark));
        window.Timer1_Timer();
        const long long loads = ep::SkinPicture::FileLoads();
        for (int tick = 0; tick < 20; ++tick) window.Timer1_Timer();
        QCOMPARE(ep::SkinPicture::FileLoads(), loads);
        QCursor::setPos(CentreOf(*window.imgProgClose));
        window.Timer1_Timer();  // the close button and the toolbar button both change
        QCOMPARE(ep::SkinPicture::FileLoads(), loads + 2);
    }

    void anIdleWindowStopsItsTickAndInputWakesIt() {
        ToolbarWindow window(data_);
        window.setGeometry(100, 100, 600, 400);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCursor::setPos(window.mapToGlobal(QPoint(300, 300)));
        QTRY_VERIFY(!window.Timer1.isActive());

        // Left alone, the window reads no picture and paints nothing.
        const long long loads = ep::SkinPicture::FileLoads();
        PaintCounter counter(window);
        QTest::qWait(400);
        QVERIFY(!window.Timer1.isActive());
        QCOMPARE(counter.paints, 0);
        QCOMPARE(ep::SkinPicture::FileLoads(), loads);

        // Each kind of input starts it again; it stops once things are still.
        const std::vector<std::pair<const char*, std::function<void()>>> inputs = {
            {"pointer onto a button", [&] { QTest::mouseMove(window.mark); }},
            {"key", [&] { QTest::keyClick(&window, Qt::Key_Shift); }},
            {"click", [&] { QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(300, 300)); }},
            {"control disabled", [&] { window.mark->setEnabled(false); }},
            {"control shown again", [&] {
                 window.mark->hide();
                 window.mark->show();
             }},
        };
        for (const auto& [name, input] : inputs) {
            input();
            QVERIFY2(window.Timer1.isActive(), name);
            QTRY_VERIFY2(!window.Timer1.isActive(), name);
        }

        // Hidden, it stays stopped; shown, it ticks.
        window.hide();
        QTRY_VERIFY(!window.Timer1.isActive());
        window.show();
        QVERIFY(window.Timer1.isActive());
    }

    void hoverPicturesFollowThePointerAfterAnIdleSpell() {
        ToolbarWindow window(data_);
        window.setGeometry(100, 100, 600, 400);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCursor::setPos(window.mapToGlobal(QPoint(300, 300)));
        QTRY_VERIFY(!window.Timer1.isActive());
        QCOMPARE(Shown(window.mark), QStringLiteral("mark_off.bmp"));

        // As the pointer moves: the cursor first, then the events it brings.
        const auto moveTo = [](QWidget* widget, QPoint at) {
            QCursor::setPos(widget->mapToGlobal(at));
            QTest::mouseMove(widget, at);
        };
        moveTo(window.mark, window.mark->rect().center());
        QTRY_COMPARE(Shown(window.mark), QStringLiteral("mark_on.bmp"));
        QTRY_VERIFY(!window.Timer1.isActive());
        moveTo(window.imgProgClose, window.imgProgClose->rect().center());
        QTRY_COMPARE(Shown(window.imgProgClose), QStringLiteral("prog_blue_close.bmp"));
        QCOMPARE(Shown(window.mark), QStringLiteral("mark_off.bmp"));
        moveTo(&window, QPoint(300, 300));
        QTRY_COMPARE(Shown(window.imgProgClose), QStringLiteral("prog_blueoff_close.bmp"));
    }

    void missingSkinFilesLeaveControlsWithoutPictures() {
        QTemporaryDir empty;
        ToolbarWindow window(empty.path());
        window.setGeometry(100, 100, 600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCursor::setPos(CentreOf(*window.mark));
        window.Timer1_Timer();
        QVERIFY(!window.BTopLeft->hasPicture());
        QVERIFY(!window.mark->hasPicture());
        QCOMPARE(Shown(window.mark), QStringLiteral("mark_on.bmp"));
        // The frame keeps its layout without its pictures.
        QCOMPARE(window.BTopRight->geometry(), QRect(552, 0, 48, 28));
        QCOMPARE(window.BBot->geometry(), QRect(6, 393, 588, 7));
        QVERIFY(!window.grab().isNull());
    }

    void anUnreadableSkinFileIsTreatedAsMissing() {
        QTemporaryDir dir;
        const QString data = ep::test::SkinnedDataFolder(dir);
        QFile file(data + QStringLiteral("/Graphics/border_left.bmp"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("BM broken");
        file.close();
        ep::SkinnedWindow window(ep::WindowKind::Main, data);
        window.resize(400, 300);
        window.ApplyLayout();  // as a window does at load, before it is shown
        QVERIFY(!window.BLeft->hasPicture());
        QVERIFY(window.BRight->hasPicture());
        QCOMPARE(window.BLeft->size(), QSize(6, 265));
    }
};

QTEST_MAIN(SkinnedWindowTest)
#include "skinned_window_test.moc"
