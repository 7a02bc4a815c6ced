#include "settings/QSettingsBackend.h"

#include "settings/SettingsFileCheck.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {
const QString organisation = QStringLiteral("Tirvelon");
const QString application = QStringLiteral("Tirvelon");
const QString group = QStringLiteral("Settings");
} // namespace

QSettingsBackend::QSettingsBackend()
{
#ifndef Q_OS_WIN
    m_iniPath = QSettings(QSettings::IniFormat, QSettings::UserScope, organisation, application)
                        .fileName();
#endif
}

QSettingsBackend::QSettingsBackend(const QString &iniPath)
    : m_iniPath(iniPath)
{ }

QSettingsBackend QSettingsBackend::registryKey(const QString &key)
{
    QSettingsBackend backend { QString() };
    backend.m_registryKey = key;
    return backend;
}

std::unique_ptr<QSettings> QSettingsBackend::open() const
{
    // A fresh QSettings per access: it checks the file's size and time on construction, so a
    // write by another copy of the program is seen at the next read.
    std::unique_ptr<QSettings> settings;
    if (!m_registryKey.isEmpty())
        settings = std::make_unique<QSettings>(m_registryKey, QSettings::NativeFormat);
    else if (m_iniPath.isEmpty())
        settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                               organisation, application);
    else
        settings = std::make_unique<QSettings>(m_iniPath, QSettings::IniFormat);
    settings->beginGroup(group);
    return settings;
}

bool QSettingsBackend::fileIsCorrupt() const
{
    if (m_iniPath.isEmpty())
        return false;
    QFile file(m_iniPath);
    if (!file.exists() || QFileInfo(m_iniPath).isDir())
        return false; // missing is empty; a folder in the way is unreadable, not corrupt
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return !looksLikeSettingsText(file.readAll());
}

QString QSettingsBackend::value(const QString &key) const
{
    if (fileIsCorrupt())
        return {};
    const std::unique_ptr<QSettings> settings = open();
    if (settings->status() != QSettings::NoError)
        return {};
    const QVariant v = settings->value(key);
    // A hand-written "a, b" comes back as a list; the program wants the text.
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

bool QSettingsBackend::moveCorruptFileAside() const
{
    const QString stamp
            = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString base = m_iniPath + QStringLiteral(".corrupt-") + stamp;
    QString target = base;
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    return QFile::rename(m_iniPath, target);
}

bool QSettingsBackend::setValue(const QString &key, const QString &text)
{
    std::unique_ptr<QSettings> settings = open();
    if (fileIsCorrupt() || settings->status() == QSettings::FormatError) {
        settings.reset();
        if (!moveCorruptFileAside())
            return false;
        settings = open();
    }
    if (settings->status() != QSettings::NoError)
        return false; // never write over a file that could not be read
    settings->setValue(key, text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QString QSettingsBackend::location() const
{
    if (!m_iniPath.isEmpty())
        return m_iniPath;
    if (!m_registryKey.isEmpty())
        return m_registryKey + QLatin1Char('\\') + group;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    return settings.fileName() + QLatin1Char('\\') + group;
}
