#pragma once

#include <QList>
#include <QtGlobal>

// Tells an output that is rerouting from one that is gone. A device goes quiet for a moment when
// the default output changes, a Bluetooth headset switches profile or a screen's HDMI sound comes
// and goes: WASAPI stops the device, opens it on the new endpoint and starts it again, PulseAudio
// suspends or moves the stream. None of that may end a call. So an output is lost only when it
// delivered nothing for StallMs; a start, a reroute or the end of an interruption is the device
// saying it is back, and gives it a fresh StallMs to deliver in, since a reroute's stop, reopen
// and restart together may take longer than one. Times are the caller's milliseconds on any
// steady clock.
class OutputWatch
{
public:
    static constexpr qint64 StallMs = 2500;

    enum class Event { Started, Stopped, Rerouted, InterruptionBegan, InterruptionEnded };

    // The output opened, its audio thread having mixed this many frames so far.
    void open(qint64 nowMs, quint64 frames);
    // What the device said since the last look, and how far its audio thread has got.
    void look(qint64 nowMs, quint64 frames, const QList<Event> &events);
    // Nothing delivered and no word from the device for StallMs, as of the last look.
    bool lost(qint64 nowMs) const;

private:
    quint64 m_frames = 0;
    qint64 m_lastSign = 0;
};
