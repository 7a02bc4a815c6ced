#pragma once

#include "clockdialog/SystemClockSetter.h"

#include <QDateTime>
#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QScrollBar;

// Corrects the computer's time of day and date. The fields are read-only labels moved by
// spin arrows; applying hands their texts to SetSystemTime and SetSystemDate.
class ClockDialog : public QDialog
{
    Q_OBJECT

public:
    // uiLanguage: the main window's language index at opening (0 Arabic, otherwise Kurdish);
    // now: the local date and time the fields start from, in the computer's zone.
    ClockDialog(int uiLanguage, const QDateTime &now, SystemClockSetter &setter,
                DateTimePanel &panel, QWidget *parent = nullptr);

    QLabel *T1[4]; // hour, minute, AM/PM, seconds
    QScrollBar *VS1[3];
    QLabel *T2[3]; // day, month, year
    QScrollBar *VS2[3];
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    // Says that the computer's time zone is not Iraq's; hidden when it is.
    QLabel *ZoneLabel;
    QPushButton *Command1;
    // The hidden month-length list and its selected item.
    QStringList List1;
    int List1Index = -1;

    void VS1_Change(int index);
    void VS2_Change(int index);
    void Command1_Click();

protected:
    void done(int result) override;

private:
    void buildControls();
    void Form_Load(int uiLanguage, const QDateTime &now);
    // Answers one setter's call as the user should see it; false when applying ends there.
    bool applied(SystemClockSetter::Result answer);

    SystemClockSetter &m_setter;
    DateTimePanel &m_panel;
    int m_uiLanguage;
    bool m_dismissed = false;
};
