#pragma once

#include "sound/OutputWatch.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

class MiniaudioPlayer;
struct ma_engine;

// An open output as the engine sees it: a miniaudio engine to play on, the frames its audio
// thread has mixed, and what the device said about itself. The program's is a device on the
// platform's sound server; a test's may be an engine with no device whose frames it pulls itself.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    virtual ma_engine *engine() = 0;
    // "PulseAudio", "WASAPI", …
    virtual QString backendName() const { return QString(); }

    // From any thread: the audio thread counts what it mixed, the device's threads what it did.
    void addFrames(unsigned long long count)
    {
        m_frames.fetch_add(count, std::memory_order_relaxed);
    }
    void note(OutputWatch::Event event);

    // On the engine's thread.
    unsigned long long frames() const { return m_frames.load(std::memory_order_relaxed); }
    QList<OutputWatch::Event> takeEvents();

private:
    std::atomic<unsigned long long> m_frames { 0 };
    std::mutex m_eventsMutex;
    QList<OutputWatch::Event> m_events;
};

// Opens an output; runs on the engine's own thread and may wait there for the sound server.
// nullptr when no output can be opened now.
using OutputOpener = std::function<std::shared_ptr<SoundOutput>()>;

// The one sound output the program's players share: a miniaudio engine on the platform's sound
// server (PulseAudio or ALSA on Linux, WASAPI, DirectSound or WinMM on Windows).
//
// The output is opened when a sound starts and closed again a few seconds after the last one
// ends, so a program that runs for days holds no stream while it is quiet, and every call opens
// the output afresh: on the current default device, on a sound server that came up after the
// program, or on one that was restarted since. A device that reroutes (see OutputWatch) keeps its
// sounds where they were; one that delivered nothing for StallMs is given up and its sounds count
// as stopped. A sound whose output could not be opened waits for it, tried again every RetryMs.
// The output is opened and closed on a thread of its own: a sound server that accepts the
// connection and then never answers (hung, stopped, swamped) would otherwise freeze the window,
// its clock and the calls with it. A start waits a few seconds for the output; an open still
// under way then is taken when it comes. The players and the housekeeping run on the thread
// that made the engine; miniaudio's audio thread only mixes.
class SoundEngine : public QObject
{
    Q_OBJECT
public:
    // How long the output stays open after the last sound ended.
    static constexpr int IdleCloseMs = 5000;
    // An open output whose audio thread delivered nothing for this long has failed.
    static constexpr int StallMs = int(OutputWatch::StallMs);
    // How long a sound's start waits for the output to open.
    static constexpr int OpenWaitMs = 3000;
    // How often an output is tried again while a sound waits for it; such a try does not wait.
    static constexpr int RetryMs = 1000;

    // On the platform's sound server.
    explicit SoundEngine(QObject *parent = nullptr);
    // On the outputs that open makes.
    explicit SoundEngine(OutputOpener open, QObject *parent = nullptr);
    ~SoundEngine() override;

    // The engine to play on, opening the output first when it is closed; nullptr when no
    // output can be opened now (no sound server yet, no device, or an open that has not
    // finished within OpenWaitMs). A later call tries again, or takes that open's output.
    ma_engine *acquire();
    // The open output has failed and its sounds are silent; false while closed.
    bool outputFailed();
    bool isOpen() const;
    // "PulseAudio", "ALSA", "WASAPI", …; empty while closed.
    QString backendName() const;

    void attach(MiniaudioPlayer *player);
    void detach(MiniaudioPlayer *player);

private:
    void housekeeping();
    bool open();
    void postOpen();
    bool takeOpened();
    void adopt(std::shared_ptr<SoundOutput> output);
    void loseAll();
    void close();
    bool anyWaiting() const;

    class Worker;
    OutputOpener m_open;
    std::shared_ptr<Worker> m_worker;
    std::shared_ptr<SoundOutput> m_output;
    // An open handed to the worker that had not finished when its sound gave up waiting.
    std::future<std::shared_ptr<SoundOutput>> m_opening;
    QList<MiniaudioPlayer *> m_players;
    QTimer m_housekeeping;
    QElapsedTimer m_clock;
    QElapsedTimer m_idleSince;
    QElapsedTimer m_lastTry;
    OutputWatch m_watch;
};
