#include "skin_picture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFocusEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <algorithm>
#include <memory>

#include "accessibility.h"
#include "skin_files.h"
#include "skin_palette.h"

namespace ep {
namespace {

long long g_fileLoads = 0;

// A reader of `path` in the format its suffix names, asking no other plug-in.
std::unique_ptr<QImageReader> Reader(const QFileInfo& file) {
    auto reader = std::make_unique<QImageReader>(file.filePath(), file.suffix().toLower().toLatin1());
    reader->setAutoDetectImageFormat(false);
    return reader;
}

}  // namespace

QPixmap LoadSkinPixmap(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists()) return {};
    const QString key = QStringLiteral("ep_skin:%1:%2:%3")
                            .arg(file.absoluteFilePath())
                            .arg(file.lastModified().toMSecsSinceEpoch())
                            .arg(file.size());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    pixmap = QPixmap::fromImage(Reader(file)->read());
    if (!pixmap.isNull()) QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon LoadSkinIcon(const QString& path) {
    QIcon icon;
    const QFileInfo file(path);
    if (!file.exists()) return icon;
    std::unique_ptr<QImageReader> reader = Reader(file);
    const int count = std::max(1, reader->imageCount());
    for (int k = 0; k < count; ++k) {
        const QImage image = reader->read();
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
        if (!reader->jumpToNextImage()) break;
    }
    return icon;
}

SkinFolder::SkinFolder(const QString& dataFolder)
    : folder_(dataFolder + QLatin1Char('/') + QString::fromUtf8(kGraphicsFolder.data(), kGraphicsFolder.size()) +
              QLatin1Char('/')) {}

QString SkinFolder::Path(const QString& name) const {
    // Timers ask for the same few names over and over.
    if (auto it = paths_.constFind(name); it != paths_.constEnd()) return *it;
    const QByteArray utf8 = name.toUtf8();
    const std::string_view canonical = CanonicalSkinName(std::string_view(utf8.constData(), utf8.size()));
    const QString path = folder_ + QString::fromUtf8(canonical.data(), static_cast<qsizetype>(canonical.size()));
    paths_.insert(name, path);
    return path;
}

bool SkinPicture::Set(const QString& path) {
    if (path == path_) return false;
    path_ = path;
    pixmap_ = QPixmap();
    read_ = false;
    return true;
}

const QPixmap& SkinPicture::pixmap() const {
    if (!read_) {
        read_ = true;
        ++g_fileLoads;
        pixmap_ = LoadSkinPixmap(path_);
    }
    return pixmap_;
}

long long SkinPicture::FileLoads() { return g_fileLoads; }

SkinImage::SkinImage(QWidget* parent, QSize size, bool stretch) : QWidget(parent), stretch_(stretch) {
    resize(size);
}

void SkinImage::setPictureFile(const QString& path) {
    if (!picture_.Set(path)) return;
    if (isVisible()) picture_.pixmap();  // on show: read now, while its change is being made
    update();
}

void SkinImage::paintEvent(QPaintEvent*) {
    const QPixmap& pixmap = picture_.pixmap();
    if (pixmap.isNull()) return;
    QPainter painter(this);
    if (stretch_) {
        painter.drawPixmap(rect(), pixmap);
    } else {
        painter.drawPixmap(0, 0, pixmap);
    }
}

SkinButton::SkinButton(QWidget* parent, QSize size) : QAbstractButton(parent), size_(size) {
    resize(size);
    setFocusPolicy(Qt::StrongFocus);
}

void SkinButton::setPictureFile(const QString& path) {
    if (!picture_.Set(path)) return;
    if (isVisible()) picture_.pixmap();
    update();
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.pixmap().isNull()) painter.drawPixmap(0, 0, picture_.pixmap());
    if (hasFocus() && showFocus_) {
        QPen pen(palette::kFocus, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void SkinButton::focusInEvent(QFocusEvent* event) {
    // The ring marks keyboard focus; focus that comes with a click needs no
    // mark, and the window's activation leaves the mark as it was.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason) showFocus_ = reason != Qt::MouseFocusReason;
    QAbstractButton::focusInEvent(event);
}

void SkinButton::ShowFocusRing() {
    showFocus_ = true;
    update();
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
    // Push buttons answer Enter as well as Space.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

CaptionLabel::CaptionLabel(QWidget* parent, QAbstractButton* button) : QLabel(parent), button_(button) {
    HideFromAccessibility(this);
}

void CaptionLabel::SetMnemonicText(const QString& text) {
    mnemonicText_ = text;
    mnemonicPlain_ = WithoutMnemonic(text);
    setText(mnemonicPlain_);
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    // A caption set since with setText() has no mnemonic to show.
    if (mnemonicText_.isEmpty() || text() != mnemonicPlain_) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()) | Qt::TextShowMnemonic, palette(),
                          isEnabled(), mnemonicText_, foregroundRole());
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && button_ && button_->isEnabled()) button_->click();
}

}  // namespace ep
