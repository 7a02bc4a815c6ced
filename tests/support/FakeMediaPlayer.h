#pragma once

#include "sound/MediaPlayer.h"

#include <QSet>
#include <QString>
#include <QStringList>

// A player that plays nothing: it records every call as an event ("url:<path>", "play", "stop",
// "volume:<n>") and starts "playing" when a path is put whose file name is not marked missing.
class FakeMediaPlayer : public MediaPlayer
{
public:
    static constexpr int Undefined = 0;
    static constexpr int Stopped = 1;

    void setUrl(const QString &path) override;
    QString url() const override { return m_url; }
    void play() override;
    void stop() override;
    int playState() const override { return m_playState; }
    void setVolume(int volume) override;
    int volume() const override { return m_volume; }

    // Test controls.
    void setPlayState(int state) { m_playState = state; }
    void finish() { m_playState = MediaEnded; }
    // File names (not paths) that behave as missing: putting them leaves the player not playing.
    void markMissing(const QString &fileName) { m_missing.insert(fileName); }
    QStringList events() const { return m_events; }
    void clearEvents() { m_events.clear(); }
    bool isPlaying() const { return m_playState == Playing; }

private:
    bool isLoadable(const QString &path) const;

    QString m_url;
    int m_playState = Undefined;
    int m_volume = 50;
    QSet<QString> m_missing;
    QStringList m_events;
};
