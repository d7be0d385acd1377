#include "about_page.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QKeyEvent>
#include <QStandardPaths>
#include <QUrl>

#include "button_states.h"

#include "accessibility.h"

namespace ep {
namespace {

constexpr QSize kButton{80, 25};  // the skin's button picture
constexpr int kFolderTop = 384;

QLabel* Text(QWidget* parent, const QString& text, const QFont& font, int top, int height = 22) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(100, top, 580, height);
    return label;
}

// The program of a desktop entry's Exec line ("firefox-esr %u" gives the path of firefox-esr).
QString ProgramOfDesktopEntry(const QString& desktopId) {
    const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    if (file.isEmpty()) return {};
    QFile entry(file);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    bool inEntry = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) inEntry = line == QLatin1String("[Desktop Entry]");
        if (!inEntry || !line.startsWith(QLatin1String("Exec="))) continue;
        const QStringList words = QProcess::splitCommand(line.mid(5));
        if (words.isEmpty()) return {};
        const QString found = QStandardPaths::findExecutable(words.first());
        return found.isEmpty() && QFileInfo(words.first()).isExecutable() ? words.first() : found;
    }
    return {};
}

// The program that opens HTML files, or "" when none is associated.
QString AssociatedBrowser() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        return {};
    }
    const QString desktopId = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    return desktopId.isEmpty() ? QString() : ProgramOfDesktopEntry(desktopId);
}

void Warn(QWidget* owner, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace

AboutPage::AboutPage(QWidget* parent, const SkinFolder& skin) : QWidget(parent) {
    QFont title(QStringLiteral("Trebuchet MS"));
    title.setPointSizeF(15);
    title.setBold(true);
    QFont body(QStringLiteral("Arial"));
    body.setPointSizeF(10);
    QFont small = body;
    small.setPointSizeF(8.5);

    Logo = new SkinImage(this, {220, 64});
    Logo->setPictureFile(skin.Path(QStringLiteral("Logo.gif")));
    Logo->move(280, 40);
    ProgramName = Text(this, QString(), title, 120, 56);
    Text(this, QStringLiteral("For Linux"), body, 182);
    Text(this, QStringLiteral("Version 2.0"), body, 204);
    Text(this, QStringLiteral("Copyright \u00A9 2026 Marlowin. All rights reserved."), small, 250);
    Text(this,
         QStringLiteral("Warning: this program is protected by copyright law. Unauthorised reproduction or "
                        "distribution of this program, or of any part of it, may result in severe civil and "
                        "criminal penalties."),
         small, 272, 48);
    // A link to assistive technology too, which can press it: said before
    // its text is set, which is when a screen reader first asks about it.
    lbl_MWURL = new QLabel(this);
    SetAccessibleRole(lbl_MWURL, QAccessible::Link);
    lbl_MWURL->setText(QString::fromLatin1(kMakerHost));
    lbl_MWURL->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont link = body;
    link.setUnderline(true);
    lbl_MWURL->setFont(link);
    QPalette colours = lbl_MWURL->palette();
    colours.setColor(QPalette::WindowText, QColor(0x1a, 0x4f, 0xa8));
    lbl_MWURL->setPalette(colours);
    lbl_MWURL->setToolTip(QStringLiteral("Go to Marlowin home page"));
    lbl_MWURL->setCursor(Qt::PointingHandCursor);
    lbl_MWURL->setFocusPolicy(Qt::StrongFocus);
    lbl_MWURL->adjustSize();
    lbl_MWURL->move(390 - lbl_MWURL->width() / 2, 340);
    lbl_MWURL->installEventFilter(this);

    // Under the program's own texts: where this pupil's results live, and a
    // way to reach them (to back them up or take them to another computer).
    lblResultsFolder = Text(this, QString(), body, kFolderTop);
    lblResultsFolder->setWordWrap(false);
    lblResultsFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ButOpenFolder = new SkinButton(this, kButton);
    ButOpenFolder->move(390 - kButton.width() / 2, kFolderTop + 30);
    ButOpenFolder->setText(QStringLiteral("Open folder"));
    ButOpenFolder->setToolTip(QStringLiteral("Open the folder of your results"));
    ButOpenFolder->setPictureFile(skin.Path(QStringLiteral("button_off.bmp")));
    ButOpenFolderlbl = new CaptionLabel(ButOpenFolder, ButOpenFolder);
    ButOpenFolderlbl->setText(ButOpenFolder->text());
    ButOpenFolderlbl->setToolTip(ButOpenFolder->toolTip());
    QFont caption = body;
    caption.setPointSizeF(9);
    ButOpenFolderlbl->setFont(caption);
    ButOpenFolderlbl->setAlignment(Qt::AlignCenter);
    ButOpenFolderlbl->setGeometry(QRect(QPoint(0, 0), kButton).adjusted(4, 3, -4, -3));
    connect(ButOpenFolder, &QAbstractButton::clicked, this, &AboutPage::openFolderClicked);
    setTabOrder(lbl_MWURL, ButOpenFolder);
}

void AboutPage::SetResultsFolder(const QString& folder) {
    resultsFolder_ = QDir::toNativeSeparators(QDir::cleanPath(folder));
    const QString line = QStringLiteral("Your results are kept in ") + resultsFolder_;
    // A long folder name loses its middle on screen; the tool tip has it whole.
    lblResultsFolder->setText(lblResultsFolder->fontMetrics().elidedText(line, Qt::ElideMiddle,
                                                                          lblResultsFolder->width()));
    lblResultsFolder->setToolTip(resultsFolder_);
    lblResultsFolder->setAccessibleName(line);
}

void AboutPage::UpdateHoverImages(const QPoint& cursor, const SkinFolder& skin) {
    ShowTwoState(*ButOpenFolder, QStringLiteral("button_off.bmp"), QStringLiteral("button_on.bmp"), cursor, skin);
}

bool AboutPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbl_MWURL) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            emit lbl_MWURL_Click();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                emit lbl_MWURL_Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OpenMakerWebPage(QWidget* owner, const QString& temporaryFolder) {
    // Written to the temporary folder, never to a drive's root.
    const QString probe = QDir(temporaryFolder).filePath(QStringLiteral("temphtm.HTM"));
    {
        QFile file(probe);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write("\"<HTML> <\\HTML>\"\r\n");
    }
    const QString browser = AssociatedBrowser();
    if (browser.isEmpty()) {
        Warn(owner, QStringLiteral("Could not find associated Browser"), QStringLiteral("Browser Not Found"));
    } else if (!QProcess::startDetached(browser, {QString::fromLatin1(kProductPage)})) {
        Warn(owner, QStringLiteral("Web Page not Opened"), QStringLiteral("URL Failed"));
    }
    QFile::remove(probe);
}

void OpenResultsFolder(QWidget* owner, const QString& folder) {
    if (QFileInfo(folder).isDir() && QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) return;
    Warn(owner, QStringLiteral("The folder of your results could not be opened. It is ") + folder + QLatin1Char('.'),
         QStringLiteral("Folder Not Opened"));
}

}  // namespace ep
