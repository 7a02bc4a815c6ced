#include "FakeMediaPlayer.h"

#include <QFileInfo>

void FakeMediaPlayer::setUrl(const QString &path)
{
    m_events << QStringLiteral("url:") + path;
    m_url = path;
    if (path.isEmpty())
        m_playState = Undefined;
    else
        m_playState = isLoadable(path) ? Playing : Stopped;
}

void FakeMediaPlayer::play()
{
    m_events << QStringLiteral("play");
    if (!m_url.isEmpty() && isLoadable(m_url))
        m_playState = Playing;
}

void FakeMediaPlayer::stop()
{
    m_events << QStringLiteral("stop");
    if (!m_url.isEmpty())
        m_playState = Stopped;
}

void FakeMediaPlayer::setVolume(int volume)
{
    m_events << QStringLiteral("volume:") + QString::number(volume);
    m_volume = volume;
}

bool FakeMediaPlayer::isLoadable(const QString &path) const
{
    // Paths are built with either separator by the callers; compare the bare file name.
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return !m_missing.contains(QFileInfo(name).fileName());
}
