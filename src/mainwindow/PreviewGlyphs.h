#pragma once

#include <QString>

// The preview button's two faces: characters of its symbol font (play, stop).
namespace PreviewGlyphs {
inline const QString Stop = QStringLiteral("<");
inline const QString Play = QStringLiteral("4");
} // namespace PreviewGlyphs
