#pragma once

// Shared by the window tests: a data folder with the skin written into it.

#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "qt_resources.h"
#include "skin_files.h"

namespace ep::test {

// The real skin, extracted from the resources compiled into the program.
inline QString SkinnedDataFolder(const QTemporaryDir& dir) {
    const std::filesystem::path folder = dir.path().toStdString();
    if (ExtractSkinGraphics(QtResources(), folder) != 0) qFatal("the skin could not be extracted");
    return dir.path();
}

inline QString FileName(const QString& path) { return path.section(QLatin1Char('/'), -1); }

// The centre of `widget` on the screen.
inline QPoint CentreOf(const QWidget& widget) { return widget.mapToGlobal(widget.rect().center()); }

}  // namespace ep::test
