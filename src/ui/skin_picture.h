#pragma once

// Controls that show skin pictures loaded from the "Graphics" folder.

#include <QAbstractButton>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace ep {

// A skin picture read from its file, or an empty picture when the file is
// missing or unreadable. Its format comes from its suffix: a reader left to
// guess asks every image plug-in in turn, loading them all, which costs more
// than every picture of the start together. Pictures read once come from the
// pixmap cache until their file changes.
QPixmap LoadSkinPixmap(const QString& path);

// Every picture of an icon file (.ico), for a window icon.
QIcon LoadSkinIcon(const QString& path);

// Where a window's pictures live: dataFolder/Graphics/<name>.
class SkinFolder {
public:
    explicit SkinFolder(const QString& dataFolder);
    // The full file name of skin picture `name`, in the skin's own spelling.
    QString Path(const QString& name) const;
    const QString& folder() const { return folder_; }

private:
    QString folder_;                       // ends with '/'
    mutable QHash<QString, QString> paths_;  // name as asked -> full path
};

// A picture read from a file and kept until another file is asked for: a
// timer that names the same picture on every tick only compares two strings.
// The file is read when the picture is first needed, so a control that is
// never shown (a page the pupil has not opened) never reads it.
class SkinPicture {
public:
    // Returns true when the file differs from the one named before; it is
    // read later, by pixmap(). A file that is missing or unreadable gives an
    // empty picture.
    bool Set(const QString& path);
    const QPixmap& pixmap() const;
    const QString& path() const { return path_; }

    // Picture files read by all pictures of the process so far.
    static long long FileLoads();

private:
    QString path_;
    mutable QPixmap pixmap_;
    mutable bool read_ = true;
};

// A frame piece, icon or strip. A stretched picture fills the control; any
// other is drawn at its own size from the top left. The control keeps its
// size without a picture, so a missing file never upsets a layout.
class SkinImage : public QWidget {
    Q_OBJECT

public:
    SkinImage(QWidget* parent, QSize size, bool stretch = false);
    void setPictureFile(const QString& path);
    QString pictureFile() const { return picture_.path(); }
    bool hasPicture() const { return !picture_.pixmap().isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SkinPicture picture_;
    bool stretch_;
};

// A picture button: toolbar and title-bar buttons, tabs, pop-up buttons. It
// takes focus, answers Space and Enter and is a push button to assistive
// technology; its text is not painted (a caption label shows it) but names it.
class SkinButton : public QAbstractButton {
    Q_OBJECT

public:
    SkinButton(QWidget* parent, QSize size);
    void setPictureFile(const QString& path);
    QString pictureFile() const { return picture_.path(); }
    bool hasPicture() const { return !picture_.pixmap().isNull(); }
    QSize sizeHint() const override { return size_; }
    // Marks the focus, when it comes, as the keyboard's: the button Enter
    // presses in a pop-up shows its ring from the start.
    void ShowFocusRing();
    bool FocusRingShown() const { return showFocus_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    SkinPicture picture_;
    QSize size_;
    bool showFocus_ = false;
};

// A caption shown on or beside a picture button; a click on it is a click on
// the button. It repeats the button's name, so screen readers skip it.
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    CaptionLabel(QWidget* parent, QAbstractButton* button);
    // Shows `text` with its "&" letter underlined ("&Yes"); text() is the
    // caption without it. The button's own text carries the key.
    void SetMnemonicText(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QAbstractButton* button_;
    QString mnemonicText_;
    QString mnemonicPlain_;
    bool pressed_ = false;
};

}  // namespace ep
