#include "sound/OutputWatch.h"

void OutputWatch::open(qint64 nowMs, quint64 frames)
{
    m_frames = frames;
    m_lastSign = nowMs;
}

void OutputWatch::look(qint64 nowMs, quint64 frames, const QList<Event> &events)
{
    if (frames != m_frames) {
        m_frames = frames;
        m_lastSign = nowMs;
    }
    // A stop or an interruption is no sign of life: the stall time runs on through it.
    for (const Event event : events) {
        if (event == Event::Started || event == Event::Rerouted
            || event == Event::InterruptionEnded)
            m_lastSign = nowMs;
    }
}

bool OutputWatch::lost(qint64 nowMs) const
{
    return nowMs - m_lastSign > StallMs;
}
