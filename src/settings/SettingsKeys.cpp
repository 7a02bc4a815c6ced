#include "settings/SettingsKeys.h"

namespace SettingsKeys {
const QString City = QStringLiteral("Salat-1");
const QString Volume = QStringLiteral("Salat-2");
const QString LogonStart = QStringLiteral("Salat-3");
const QString Muezzin = QStringLiteral("Salat-4");
const QString Lead = QStringLiteral("Salat-5");
const QString Language = QStringLiteral("Salat-6");
const QString Close = QStringLiteral("Close");
const QString HijriAdjust = QStringLiteral("Hijri-Adjust");
const QString WakeForDawn = QStringLiteral("Wake-1");
const QString Meeting = QStringLiteral("Meeting");
const QString TrayNote = QStringLiteral("Tray-Note");

QString call(int slot)
{
    return QStringLiteral("Call-%1").arg(slot + 1);
}

QString minutes(int slot)
{
    return QStringLiteral("Minutes-%1").arg(slot + 1);
}

QString remind(int slot)
{
    return QStringLiteral("Remind-%1").arg(slot + 1);
}
} // namespace SettingsKeys

// The table builds its names from literals, not from SettingsKeys, so that it is safe to use
// from other translation units' static initialisers.
namespace SettingKeyTable {

const SettingKey &city()
{
    static const SettingKey key { QStringLiteral("Salat-1"), SettingReader::Lenient, 0, 0, 4 };
    return key;
}

const SettingKey &muezzin()
{
    static const SettingKey key { QStringLiteral("Salat-4"), SettingReader::Strict, 5, 0, 6 };
    return key;
}

const SettingKey &lead()
{
    static const SettingKey key { QStringLiteral("Salat-5"), SettingReader::Lenient, 0, 0, 10 };
    return key;
}

const SettingKey &language()
{
    static const SettingKey key { QStringLiteral("Salat-6"), SettingReader::Lenient, 1, 0, 1 };
    return key;
}

const SettingKey &logonBox()
{
    static const SettingKey key { QStringLiteral("Salat-3"), SettingReader::Strict, 1, 0, 1 };
    return key;
}

const SettingKey &logonTimer()
{
    // A negative or larger multiplier only comes from a hand edit; it means off rather than a
    // negative interval or a minimise many seconds after the start.
    static const SettingKey key { QStringLiteral("Salat-3"), SettingReader::Lenient, 0, 0, 1 };
    return key;
}

const SettingKey &volume()
{
    static const SettingKey key { QStringLiteral("Salat-2"), SettingReader::Lenient, 50, 0, 100 };
    return key;
}

const SettingKey &hijriAdjust()
{
    // Written by the Hijri date's menu only; anything else in it reads as no adjustment.
    static const SettingKey key { QStringLiteral("Hijri-Adjust"), SettingReader::Strict, 0, -2, 2 };
    return key;
}

const SettingKey &wakeForDawn()
{
    static const SettingKey key { QStringLiteral("Wake-1"), SettingReader::Strict, 0, 0, 1 };
    return key;
}

const SettingKey &meeting()
{
    static const SettingKey key { QStringLiteral("Meeting"), SettingReader::Strict, 1, 0, 2 };
    return key;
}

SettingKey prayerCall(int slot)
{
    // Sunrise never had a call: its default is the strip alone.
    return slot == 1 ? SettingKey { SettingsKeys::call(slot), SettingReader::Strict, 1, 1, 2 }
                     : SettingKey { SettingsKeys::call(slot), SettingReader::Strict, 0, 0, 2 };
}

SettingKey prayerMinutes(int slot)
{
    return { SettingsKeys::minutes(slot), SettingReader::Strict, 0, -30, 30 };
}

SettingKey prayerRemind(int slot)
{
    return { SettingsKeys::remind(slot), SettingReader::Strict, 0, 0, 30 };
}

} // namespace SettingKeyTable

int readSetting(const SettingKey &key, const QString &rawText)
{
    if (rawText.isEmpty())
        return key.fallback;
    int value = 0;
    if (key.reader == SettingReader::Strict) {
        const std::optional<int> strict = strictSettingInteger(rawText);
        if (!strict)
            return key.fallback;
        value = *strict;
    } else {
        value = lenientSettingNumber(rawText);
    }
    if (value < key.minimum || value > key.maximum)
        return key.fallback;
    return value;
}

int logonMinimiseIntervalMs(const QString &rawText)
{
    return 3000 * readSetting(SettingKeyTable::logonTimer(), rawText);
}
