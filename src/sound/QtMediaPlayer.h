#pragma once

#include "sound/MediaPlayer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

// The real player: QMediaPlayer into a QAudioOutput. Auto-start is always on, errors are never
// shown, and the play state follows the classic player numbering the callers expect.
class QtMediaPlayer : public QObject, public MediaPlayer
{
    Q_OBJECT
public:
    enum State {
        Undefined = 0,
        Stopped = 1,
        Paused = 2,
        // Playing = 3 and MediaEnded = 8 come from MediaPlayer
        Transitioning = 9,
    };

    explicit QtMediaPlayer(QObject *parent = nullptr);
    ~QtMediaPlayer() override;

    void setUrl(const QString &path) override;
    QString url() const override;
    void play() override;
    void stop() override;
    int playState() const override;
    void setVolume(int volume) override;
    int volume() const override;

    // The gain QAudioOutput receives for a volume of 0..100: a perceptual (logarithmic) taper,
    // so that the middle of the slider sounds like half as loud rather than barely softer.
    static float outputGain(int volume);

private:
    bool looksStuck() const;

    bool m_loaded = false; // a readable file was handed to QMediaPlayer
    QString m_url;
    int m_volume = 50;
    QElapsedTimer m_sincePlay;
    QMediaPlayer *m_player;
    QAudioOutput *m_output;
};
