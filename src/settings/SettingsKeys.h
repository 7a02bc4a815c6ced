#pragma once

#include "settings/SettingNumbers.h"

#include <QString>

// The keys of the settings section "Settings". Every value is a text.
namespace SettingsKeys {
extern const QString City;        // "Salat-1": the city's index 0..4
extern const QString Volume;      // "Salat-2": the slider's value 0..100
extern const QString LogonStart;  // "Salat-3": "1" start at logon, "0" not
extern const QString Muezzin;     // "Salat-4": the muezzin's index 0..6
extern const QString Lead;        // "Salat-5": minutes before the call, 0..10
extern const QString Language;    // "Salat-6": 0 Arabic, 1 Kurdish
extern const QString Close;       // "Close": a second copy asks the running one to show itself
extern const QString HijriAdjust; // "Hijri-Adjust": days added to the Hijri date, -2..+2
// "Wake-1": "1" wakes the computer for the dawn call (Windows), written only when chosen.
extern const QString WakeForDawn;
// "Meeting": a call while the user presents or is in a call: 0 as always, 1 quietly (a quarter
// of the volume), 2 the strip alone; written only when chosen.
extern const QString Meeting;
// "Tray-Note": "1" once the icon's balloon has said where it lives.
extern const QString TrayNote;
// Each prayer's own choices, slot 0..5 as "-1".."-6", written only when chosen from its menu:
QString call(int slot);    // "Call-n": 0 call, 1 strip only, 2 nothing (sunrise: 1 or 2)
QString minutes(int slot); // "Minutes-n": minutes its time is moved by, -30..+30
QString remind(int slot);  // "Remind-n": minutes before it a reminder shows, 0 (none)..30
} // namespace SettingsKeys

enum class SettingReader { Lenient, Strict };

// How start-up turns one stored text into a control's value.
struct SettingKey
{
    QString name;
    SettingReader reader;
    int fallback; // for an empty text, a rejected text or a value out of range
    int minimum;
    int maximum;
};

// The readers of start-up, one per use; "Salat-3" has two, the box and the minimise timer.
namespace SettingKeyTable {
const SettingKey &city();
const SettingKey &muezzin();
const SettingKey &lead();
const SettingKey &language();
const SettingKey &logonBox();
// The minimise timer's multiplier: 0 (off) or 1 (3000 ms).
const SettingKey &logonTimer();
const SettingKey &volume();
const SettingKey &hijriAdjust();
const SettingKey &wakeForDawn();
const SettingKey &meeting();
// A prayer's choices (slot 0..5); the reminder's minutes and sunrise's modes are narrowed
// further by the prayer rules.
SettingKey prayerCall(int slot);
SettingKey prayerMinutes(int slot);
SettingKey prayerRemind(int slot);
} // namespace SettingKeyTable

// What start-up assigns for the stored text: "" gives the fallback, otherwise the key's reader
// decides; a text the strict reader rejects, or a value outside minimum..maximum, gives the
// fallback too, so a hand-edited store never stops the start.
int readSetting(const SettingKey &key, const QString &rawText);

// Timer2's interval for the raw "Salat-3" text: 3000 ms when it reads as 1, else 0 (off).
int logonMinimiseIntervalMs(const QString &rawText);
