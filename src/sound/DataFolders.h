#pragma once

#include "sound/OwnRecordings.h"

#include <QString>

#include <functional>

// Where the program's sounds and font come from. The shipped folder is the one beside the
// program (the build folder, the Windows layout) or, in an installed Linux layout, the one under
// ../share/tirvelon. A file in the user's own folder that is named like a shipped recording
// takes its place, file by file, from the next time it is played.
struct DataFolders
{
    QString shipped; // without a trailing separator
    QString user;    // empty: no user folder
    // Whether a user's file holds sound the players can decode; unset: any readable file does.
    std::function<bool(const QString &)> playable;
    // Decodes a whole recording for its length and loudness; unset: nothing decodes.
    RecordingMeasurer measure;

    // The shipped folder for a program in programFolder: Data beside it when that exists,
    // otherwise ../share/tirvelon/Data when that exists, otherwise Data beside it (sounds then
    // stay silent, as with any missing file).
    static QString shippedFor(const QString &programFolder);
    // %APPDATA%\Tirvelon\Data on Windows, $XDG_DATA_HOME/tirvelon/Data (~/.local/share/...)
    // elsewhere.
    static QString userForThisAccount();

    // The path to play for a data file name ("5.mp3", "Wave.wav"): the user's file when it can
    // be read, is not empty and is playable, else the shipped one.
    QString pick(const QString &name) const;
    QString shippedFile(const QString &name) const;
};
