#pragma once

#include <QDir>
#include <QString>
#include <QtGlobal>

// The committed assets are checked where they are kept, in the source tree.
inline QString assetPath(const QString &relative)
{
    const QString root = qEnvironmentVariable("TIRVELON_SOURCE_DIR");
    return root.isEmpty() ? QString() : QDir(root).filePath(relative);
}
