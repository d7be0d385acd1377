#include "paper_messages.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace ep {

QString FileProblemText(const TaggedFileError& error, const QString& dataFolder) {
    const QString file = QString::fromStdString(error.file());
    const QString key = QString::fromStdString(error.key());
    const QString reason = QString::fromStdString(error.reason());
    QString where;
    const QFileInfo info(file);
    if (info.isAbsolute()) {
        where = QStringLiteral("The file \"%1\"").arg(info.fileName());
    } else {
        where = QStringLiteral("The %1").arg(file);  // "course resource 30023"
    }
    QString text = key.isEmpty() ? QStringLiteral("%1: %2.").arg(where, reason)
                                 : QStringLiteral("%1, key \"%2\": %3.").arg(where, key, reason);
    const QString folder = info.isAbsolute() ? info.absolutePath() : QDir(dataFolder).absolutePath();
    if (info.isAbsolute()) text += QStringLiteral("\n\nIt is in the folder %1.").arg(QDir::toNativeSeparators(folder));
    return text;
}

void ShowFileProblem(QWidget* parent, const QString& title, const QString& summary, const TaggedFileError& error,
                     const QString& dataFolder) {
    QMessageBox box(QMessageBox::Warning, title, summary, QMessageBox::Ok, parent);
    box.setInformativeText(FileProblemText(error, dataFolder));
    box.exec();
}

}  // namespace ep
