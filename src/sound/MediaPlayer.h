#pragma once

#include <QString>

// One sound player: the few operations the program uses on each of its three players.
// Putting a path starts playback at once; putting "" unloads the media and silences it.
class MediaPlayer
{
public:
    static constexpr int Playing = 3;
    // Stopped because the recording played to its end (not by stop()).
    static constexpr int MediaEnded = 8;
    // Not playing yet: the recording is fine but no sound output could be opened (none just
    // after a wake, one held by another program, a remote session cut off). The player tries
    // again by itself and starts from the beginning when an output opens; stop() or putting
    // "" gives up. 9 is the classic player's "transitioning".
    static constexpr int WaitingForOutput = 9;

    virtual ~MediaPlayer() = default;

    virtual void setUrl(const QString &path) = 0;
    virtual QString url() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    // 3 while playing; any other value means not playing (9: waiting for the output).
    virtual int playState() const = 0;
    // 0..100, takes effect at once, also during playback.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
    // A factor on the volume's gain that the volume itself leaves alone: a recording's own
    // loudness correction, a quieter call while the user is in a meeting. 1 by default.
    virtual void setTrim(float trim) { m_trim = trim; }
    float trim() const { return m_trim; }

protected:
    float m_trim = 1.0f;
};
