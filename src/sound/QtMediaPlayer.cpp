#include "sound/QtMediaPlayer.h"

#include <QAudio>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

QtMediaPlayer::QtMediaPlayer(QObject *parent)
    : QObject(parent)
    , m_player(new QMediaPlayer(this))
    , m_output(new QAudioOutput(this))
{
    m_output->setVolume(outputGain(m_volume));
    m_player->setAudioOutput(m_output);
    // Callers check no results and the user never sees a player error: a file that cannot be
    // decoded simply ends up not playing. The error signal is left unconnected on purpose.
}

QtMediaPlayer::~QtMediaPlayer()
{
    // Stop before the output goes away so the backend never writes into a dead sink.
    m_player->stop();
}

void QtMediaPlayer::setUrl(const QString &path)
{
    m_url = path;
    m_player->stop();
    // Always through an empty source: QMediaPlayer ignores a source equal to the current one,
    // and the same path put again must start again (see play()).
    m_player->setSource(QUrl());
    // A missing or unreadable file is refused here rather than handed to the backend, which
    // would report "playing" for a moment before it discovers the failure.
    const QFileInfo info(path);
    m_loaded = !path.isEmpty() && info.isFile() && info.isReadable();
    if (!m_loaded)
        return;
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_player->play();
    m_sincePlay.start();
}

QString QtMediaPlayer::url() const
{
    return m_url;
}

void QtMediaPlayer::play()
{
    if (!m_loaded)
        return;
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        return;
    // Qt 6.4's GStreamer backend often reports "playing" but stays silent when play follows
    // stop or the end of the media (rewinding does not help); loading the file afresh does.
    if (m_player->playbackState() == QMediaPlayer::StoppedState) {
        const QUrl source = m_player->source();
        m_player->setSource(QUrl());
        m_player->setSource(source);
    }
    m_sincePlay.start();
    m_player->play();
}

void QtMediaPlayer::stop()
{
    m_player->stop();
}

int QtMediaPlayer::playState() const
{
    if (m_url.isEmpty())
        return Undefined;
    if (!m_loaded)
        return Stopped;
    if (m_player->error() != QMediaPlayer::NoError)
        return Stopped;
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return looksStuck() ? Stopped : Playing;
    case QMediaPlayer::PausedState:
        return Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    switch (m_player->mediaStatus()) {
    case QMediaPlayer::EndOfMedia:
        return MediaEnded;
    case QMediaPlayer::LoadingMedia:
        return Transitioning;
    default:
        return Stopped;
    }
}

bool QtMediaPlayer::looksStuck() const
{
    // The FFmpeg backend of Qt 6.4 "plays" a file it cannot decode forever: no error, no
    // duration, and a position that creeps by a millisecond a second. Without this the call
    // alert would never close. Real files show their duration or a second of progress well
    // within three seconds, which is still inside the alert's five-tick grace.
    return m_sincePlay.isValid() && m_sincePlay.elapsed() > 3000 && m_player->duration() <= 0
            && m_player->position() < 100;
}

void QtMediaPlayer::setVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
    m_output->setVolume(outputGain(m_volume));
}

int QtMediaPlayer::volume() const
{
    return m_volume;
}

float QtMediaPlayer::outputGain(int volume)
{
    const int v = qBound(0, volume, 100);
    if (v == 100)
        return 1.0f; // the logarithmic scale's top end is infinite; full volume is unity gain
    return qMin(1.0f,
                QAudio::convertVolume(v / 100.0f, QAudio::LogarithmicVolumeScale,
                                      QAudio::LinearVolumeScale));
}
