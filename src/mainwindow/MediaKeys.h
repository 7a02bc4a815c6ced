#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The keyboard's media keys and the desktop's media controls, for stopping a call from anywhere.
// Taken only while a call sounds, so that other programs keep the keys the rest of the time: on
// Windows the Stop and Play/Pause keys as hot keys; on Linux an MPRIS player on the session bus,
// which the desktop's media keys and controls talk to.
class MediaKeys : public QObject
{
    Q_OBJECT
public:
    // A call sounds: take the keys; title names it (the prayer) where the desktop shows it.
    virtual void take(const QString &title) = 0;
    // Give them back; nothing when not taken.
    virtual void release() = 0;

signals:
    // Stop, Play/Pause or the desktop's stop button, while taken.
    void stopPressed();
};

std::unique_ptr<MediaKeys> makeMediaKeys();
