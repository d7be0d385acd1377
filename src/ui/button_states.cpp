#include "button_states.h"

#include <QRect>
#include <QWidget>

#include "skin_picture.h"

namespace ep {

bool CursorOver(const QWidget& control, const QPoint& cursor) {
    // QRect's right() is its last pixel, so contains() leaves the right and
    // bottom edges outside.
    return QRect(control.mapToGlobal(QPoint(0, 0)), control.size()).contains(cursor);
}

ButtonLook ThreeStateLook(bool available, bool cursorOver, bool pressFlag) {
    if (!available) return ButtonLook::Disabled;
    if (!cursorOver) return ButtonLook::Off;
    return pressFlag ? ButtonLook::Pressed : ButtonLook::On;
}

ButtonPictures ButtonPictures::Family(const QString& name) {
    return {name + QLatin1String("_off.bmp"), name + QLatin1String("_on.bmp"), name + QLatin1String("_pressed.bmp"),
            name + QLatin1String("_disabled.bmp")};
}

const QString& ButtonPictures::For(ButtonLook look) const {
    switch (look) {
        case ButtonLook::On:
            return on;
        case ButtonLook::Pressed:
            return pressed;
        case ButtonLook::Disabled:
            return disabled;
        case ButtonLook::Off:
            break;
    }
    return off;
}

void ShowThreeState(SkinButton& button, const ButtonPictures& pictures, const QPoint& cursor,
                    const QString& pressTrack, const SkinFolder& skin) {
    const bool available = button.isEnabled();
    // An unavailable button is not hit-tested at all.
    const bool over = available && CursorOver(button, cursor);
    const ButtonLook look = ThreeStateLook(available, over, pressTrack == QLatin1String("1"));
    button.setPictureFile(skin.Path(pictures.For(look)));
}

void ShowTwoState(SkinButton& button, const QString& off, const QString& on, const QPoint& cursor,
                  const SkinFolder& skin) {
    button.setPictureFile(skin.Path(CursorOver(button, cursor) ? on : off));
}

}  // namespace ep
