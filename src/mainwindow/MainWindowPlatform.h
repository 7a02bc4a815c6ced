#pragma once

#include "sound/DataFolders.h"

#include <QString>

#include <functional>

class Clock;
class DateTimePanel;
class InstanceLock;
class LogonStart;
class MediaKeys;
class MediaPlayer;
class SettingsBackend;
class SystemClockSetter;
class WakeTimer;

// Everything outside the program that the main window talks to. main() hands in the real
// parts; tests hand in fakes.
struct MainWindowPlatform
{
    Clock &clock;
    SettingsBackend &settings;
    MediaPlayer &WindowsMediaPlayer1; // preview
    MediaPlayer &WindowsMediaPlayer2; // start-up sound
    MediaPlayer &WindowsMediaPlayer3; // call
    LogonStart &logonStart;
    InstanceLock &instanceLock;
    SystemClockSetter &clockSetter;
    DateTimePanel &dateTimePanel;
    WakeTimer &wakeTimer; // wakes the computer for the dawn call (Windows only)
    MediaKeys &mediaKeys; // stop a call from the keyboard and the desktop's media controls
    DataFolders data;     // the recordings, the start-up sound and the font
    QString programPath;  // the program file's full path, for the logon start entry
    // Whether the desktop has a notification area to minimise into.
    std::function<bool()> trayAvailable;
    // Whether the user presents, is in a full-screen program or a call, or asked not to be
    // disturbed; unset: never.
    std::function<bool()> userBusy;
};
