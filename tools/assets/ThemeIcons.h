#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The program's icon for the desktop's icon theme (hicolor): the window icon's drawing with its
// corners rounded off into transparency, as launchers and menus show application icons.
namespace ThemeIcons {

// The name the desktop entry and the metainfo give as Icon, and the icon files' base name.
inline const QString name = QStringLiteral("io.github.tirvelon.Tirvelon");
// The sizes hicolor's apps folders are looked up at.
inline const QList<int> sizes = { 16, 22, 24, 32, 48, 64, 128, 256 };

QImage icon(int size); // size x size with alpha

// Where icon(size) goes below a hicolor folder: "32x32/apps/<name>.png".
QString relativePath(int size);

} // namespace ThemeIcons
