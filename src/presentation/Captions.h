#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Every text of the main window that the program writes itself, in Kurdish (Sorani) and
// Arabic, and the texts the controls carry before start-up has chosen a language.
namespace Captions {

struct LanguageCaption
{
    QString control; // the control's name, e.g. "LB(12)" or "Frame1"
    QString kurdish;
    QString arabic;
};

// The eighteen captions the language switch rewrites, in the order it writes the Kurdish ones.
const QList<LanguageCaption> &languageTable();

const QStringList &kurdishMuezzins();
const QStringList &arabicMuezzins();
const QStringList &kurdishCities();
const QStringList &arabicCities();

// Lists as the window is created, before the language switch refills them.
const QStringList &designCities();
const QStringList &designMuezzins();
const QStringList &languageNames(); // Combo3: Arabic, Kurdish
const QStringList &fontFaces();     // Combo4: "Tahoma", "Tahoma-K"

const QStringList &designSlotNames(); // LB(12)..LB(17) at creation
const QStringList &alertPhrases();    // LB(18)..LB(23), Kurdish in both languages

// Design-time caption of a control, "" when it has none; "Label7.tooltip" is Label7's tip.
QString design(const QString &control);

QString cityApologyStart();
QString cityApologyEnd();
QString trayTipTitle();
QString trayTipHint();
// The tray tip's line of the next prayer: the prayer's name as the window writes it, without the
// tatweels that stretch it to the label's width, and the word before the time left ("in").
QString tipSlotName(int slot, int language);
QString tipTimeLeft(int language);
QString exitQuestionKurdishStart();
QString exitQuestionKurdishEnd();
QString exitQuestionArabic();
QString alertPhrase();
QString hijriSuffix();
// The Hijri date's context menu: its title and the item of an adjustment by days (-2..+2).
QString hijriAdjustTitle(int language);
QString hijriAdjustItem(int days, int language);
// A prayer's context menu (language 0 Arabic, 1 Kurdish): its three headings, the call's modes
// (0 call, 1 strip only, 2 nothing), a reminder's item (0: none) and the moved minutes' field.
QString prayerCallHeading(int language);
QString prayerMinutesHeading(int language);
QString prayerRemindHeading(int language);
QString prayerModeItem(int mode, int language);
QString prayerRemindItem(int minutes, int language);
QString prayerMinutesSuffix(int language);
// The tip of a moved time's mark.
QString prayerMovedTip(int minutes, int language);
// A reminder's strip: the minutes left, then the prayer's name follows.
QString reminderStart(int minutesLeft, int language);
// The strip after a wake long after a call: the prayer's name and when its call came, the time
// ("hh:mm:00 PM") written as the strip writes times ("12:16 PM").
QString callCame(const QString &prayerName, const QString &time, int language);
// "+2", "-30", "0", isolated left to right inside right-to-left text.
QString signedNumber(int value);
// The about window's sentence on the user's own recordings; the folder follows it.
QString aboutOwnRecordings(int language);

} // namespace Captions
