#pragma once

#include <QString>

#include <functional>

class QIODevice;

// What decoding a whole recording found: whether it decodes at all, how long it plays, its
// integrated loudness (EBU R 128, LUFS) and its highest sample (1.0 is full scale).
struct RecordingMeasure
{
    bool decodes = false;
    double seconds = 0;
    double loudness = -70;
    double peak = 0;
};
using RecordingMeasurer = std::function<RecordingMeasure(const QString &path)>;

// The user's own recordings in the user's data folder, each under the name of the shipped one it
// stands in for ("5.mp3", "7.mp3", "Wave.wav"), with its measured loudness in a note beside it
// ("5.mp3.loudness"), so that it plays as loud as the shipped recordings at the same volume.
class OwnRecordings
{
public:
    enum class Verdict { Taken, NotFound, TooLarge, NotSound, TooShort, TooLong, NotCopied };

    static constexpr qint64 MaxBytes = 50 * 1024 * 1024;
    static constexpr double MinSeconds = 3;
    static constexpr double MinStartupSeconds = 1;
    static constexpr double MaxSeconds = 15 * 60;
    // The shipped recordings are levelled to this.
    static constexpr double ShippedLoudness = -16;
    // A nearly silent file is not lifted by more than this.
    static constexpr double MaxBoostDb = 24;
    static constexpr double PeakHeadroomDb = 6;

    OwnRecordings(QString userFolder, RecordingMeasurer measure);

    // Checks the file, then copies it in under the entry's name and notes its loudness. Nothing
    // changes unless the verdict is Taken: a file that fails a check, or a copy that fails half
    // way, leaves the recording that was there.
    Verdict take(const QString &entry, const QString &source);
    // Whether the entry plays a file of the user's own.
    bool has(const QString &entry) const;
    // Removes the user's file of the entry and its note; true when none is left.
    bool remove(const QString &entry);
    // The gain that brings a file to the shipped loudness: 1 for a file outside the user's
    // folder; for the user's own, its note's when the note is of this very file, otherwise
    // measured now (a file put in by hand) and noted.
    float gainFor(const QString &path);

    QString pathOf(const QString &entry) const;
    // The shortest recording an entry takes: MinSeconds for a call, a second for the start-up
    // sound.
    static double minimumSeconds(const QString &entry);
    // Copies from into the file to, whole or not at all: a temporary file renamed at the end.
    static bool copyWhole(QIODevice &from, const QString &to);
    // The gain for a measured loudness and peak: to the shipped loudness, never so much that the
    // peak passes full scale by more than PeakHeadroomDb, nor more than MaxBoostDb; a louder file
    // is turned down.
    static float gainForLoudness(double loudness, double peak);

private:
    QString notePath(const QString &path) const;
    bool writeNote(const QString &path, const RecordingMeasure &measure) const;

    QString m_folder;
    RecordingMeasurer m_measure;
};
