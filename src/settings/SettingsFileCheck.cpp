#include "settings/SettingsFileCheck.h"

#include <QList>
#include <QStringDecoder>

bool looksLikeSettingsText(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;

    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0x7f)
            return false;
    }

    bool continued = false;
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    for (const QStringView rawLine : lines) {
        const QStringView line = rawLine.trimmed();
        const bool wasContinued = continued;
        continued = line.endsWith(QLatin1Char('\\'));
        if (wasContinued || line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return false;
            continue;
        }
        if (!line.contains(QLatin1Char('=')))
            return false;
    }
    return true;
}
