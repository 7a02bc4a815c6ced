#pragma once

#include "sound/MediaPlayer.h"
#include "sound/OwnRecordings.h"

#include <QString>

#include <memory>

class SoundEngine;

// The real player: one miniaudio sound on the shared SoundEngine, decoding the file as it plays
// (MP3, WAV or FLAC, whatever the name says). Auto-start is always on, errors are never shown,
// and the play state follows the classic player numbering the callers expect.
//
// A file that cannot be opened or decoded, and a sound whose output has failed, is simply
// "stopped" at once; a sound whose output could not be opened waits for it (WaitingForOutput). The
// end of a recording is noticed on miniaudio's audio thread and only flagged there; this object is
// touched from the user-interface thread alone.
class MiniaudioPlayer : public MediaPlayer
{
public:
    enum State {
        Undefined = 0,
        Stopped = 1,
        // Playing = 3, MediaEnded = 8 and WaitingForOutput = 9 come from MediaPlayer
    };

    explicit MiniaudioPlayer(SoundEngine &engine);
    ~MiniaudioPlayer() override;
    MiniaudioPlayer(const MiniaudioPlayer &) = delete;
    MiniaudioPlayer &operator=(const MiniaudioPlayer &) = delete;

    void setUrl(const QString &path) override;
    QString url() const override;
    void play() override;
    void stop() override;
    int playState() const override;
    void setVolume(int volume) override;
    int volume() const override;
    void setTrim(float trim) override;

    // Whether the file holds sound this player can decode: it opens and yields samples.
    static bool canDecode(const QString &path);
    // Decodes the whole file: its length, loudness and peak (decodes false when it cannot).
    static RecordingMeasure measure(const QString &path);

    // For the engine: a sound is loaded on its output.
    bool isActive() const;
    // For the engine: a recording that reached its end lets go of its file and the output.
    void collectEnd();
    // For the engine: the output is going away; the sound counts as stopped.
    void loseOutput();
    // For the engine: a sound is waiting for an output to open.
    bool waitsForOutput() const;
    // For the engine: an output is open now; a waiting sound starts from its beginning.
    void takeOutput();

private:
    void start();
    void release(int state);
    float gain() const;

    struct Voice;
    SoundEngine &m_engine;
    std::unique_ptr<Voice> m_voice;
    QString m_url;
    int m_volume = 50;
    int m_state = Undefined;
};
