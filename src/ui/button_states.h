#pragma once

// The picture rules of the skin's buttons, run by every window's 100 ms timer
// with the cursor position read once per tick.

#include <QPoint>
#include <QString>

class QWidget;

namespace ep {

class SkinButton;
class SkinFolder;

// The hit test of every rule: the control's rectangle on the screen, its left
// and top edges inside, its right and bottom edges outside.
bool CursorOver(const QWidget& control, const QPoint& cursor);

enum class ButtonLook { Off, On, Pressed, Disabled };

// A toolbar button that can be unavailable shows its disabled picture and no
// hover; otherwise pressed while the press flag is "1" and the cursor is over
// it, on while only the cursor is over it, off elsewhere.
ButtonLook ThreeStateLook(bool available, bool cursorOver, bool pressFlag);

// The picture file names of one three-state family ("mark" gives
// "mark_off.bmp", "mark_on.bmp", "mark_pressed.bmp", "mark_disabled.bmp").
struct ButtonPictures {
    QString off, on, pressed, disabled;
    static ButtonPictures Family(const QString& name);
    const QString& For(ButtonLook look) const;
};

// The three-state rule on a toolbar button; `pressTrack` is the window's
// txtPressTrack. A disabled button (isEnabled() false) is unavailable.
void ShowThreeState(SkinButton& button, const ButtonPictures& pictures, const QPoint& cursor,
                    const QString& pressTrack, const SkinFolder& skin);

// The two-state rule: `on` while the cursor is over the button, else `off`.
void ShowTwoState(SkinButton& button, const QString& off, const QString& on, const QPoint& cursor,
                  const SkinFolder& skin);

}  // namespace ep
