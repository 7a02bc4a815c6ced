#pragma once

#include "clockdialog/SystemClockSetter.h"

#include <QDate>
#include <QString>
#include <QTime>

// Reads "hh:mm:ss AM" as a 12-hour time. The dialog's hour field can show "00", which is read
// like "12": "00:05:00 AM" is five past midnight and "00:05:00 PM" five past noon. Gives an
// invalid QTime for any other text.
QTime parseClockText(const QString &value);

// Reads "dd/mm/yyyy" (one or two digit day and month). Gives an invalid QDate for any other
// text or a day the month does not have.
QDate parseDayMonthYear(const QString &value);

// Set the computer's time of day, or its date, from the dialog's text. Text that does not read
// changes nothing and is reported as Skipped: there is nothing to tell the user.
SystemClockSetter::Result SetSystemTime(const QString &value, SystemClockSetter &setter);
SystemClockSetter::Result SetSystemDate(const QString &value, SystemClockSetter &setter);
