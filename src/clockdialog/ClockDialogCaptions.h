#pragma once

#include <QString>

// The texts of the clock dialog in one language.
struct ClockDialogCaptions
{
    QString timeBand;    // Label1
    QString dateBand;    // Label2
    QString heading;     // Label3
    QString applyButton; // Command1
    QString windowTitle;
    // Told when the system refuses the change, before its date and time settings open.
    QString refusal;

    // Language index 0 is Arabic; any other index gets the Kurdish texts.
    static ClockDialogCaptions forLanguage(int uiLanguage);
    // The texts the window is designed with, shown until the load sets the language.
    static ClockDialogCaptions design();
};
