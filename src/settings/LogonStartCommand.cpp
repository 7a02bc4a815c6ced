#include "settings/LogonStartCommand.h"

QString runValueCommand(const QString &nativePath)
{
    if (nativePath.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + nativePath + QLatin1Char('"');
    return nativePath;
}

QString desktopExecCommand(const QString &programPath)
{
    if (programPath.isEmpty())
        return {};

    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : programPath) {
        if (reserved.contains(c)) {
            needsQuotes = true;
            break;
        }
    }

    // The argument level: quoting and '%' as the field-code escape.
    QString argument;
    if (needsQuotes)
        argument += QLatin1Char('"');
    for (const QChar c : programPath) {
        if (c == QLatin1Char('%')) {
            argument += QStringLiteral("%%");
            continue;
        }
        if (needsQuotes
            && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\')))
            argument += QLatin1Char('\\');
        argument += c;
    }
    if (needsQuotes)
        argument += QLatin1Char('"');

    // The file level: a value of type string, read back with these escapes undone first.
    QString value;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}
