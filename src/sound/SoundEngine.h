#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <future>
#include <memory>

class MiniaudioPlayer;
struct ma_engine;

// The one sound output the program's players share: a miniaudio engine on the platform's sound
// server (PulseAudio or ALSA on Linux, WASAPI, DirectSound or WinMM on Windows).
//
// The output is opened when a sound starts and closed again a few seconds after the last one
// ends, so a program that runs for days holds no stream while it is quiet, and every call opens
// the output afresh: on the current default device, on a sound server that came up after the
// program, or on one that was restarted since. An output that stops delivering sound (the
// server went away, the device was pulled) is given up at once and its sounds count as stopped.
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
    static constexpr int StallMs = 2500;
    // How long a sound's start waits for the output to open.
    static constexpr int OpenWaitMs = 3000;

    explicit SoundEngine(QObject *parent = nullptr);
    ~SoundEngine() override;

    // The engine to play on, opening the output first when it is closed; nullptr when no
    // output can be opened now (no sound server yet, no device, or an open that has not
    // finished within OpenWaitMs). A later call tries again, or takes that open's output.
    ma_engine *acquire();
    // The open output has failed and its sounds are silent; false while closed.
    bool outputFailed() const;
    bool isOpen() const;
    // "PulseAudio", "ALSA", "WASAPI", …; empty while closed.
    QString backendName() const;

    void attach(MiniaudioPlayer *player);
    void detach(MiniaudioPlayer *player);

private:
    void housekeeping();
    bool open();
    struct Output;
    bool takeOpened();
    void adopt(std::shared_ptr<Output> output);
    void close();

    class Worker;
    std::shared_ptr<Worker> m_worker;
    std::shared_ptr<Output> m_output;
    // An open handed to the worker that had not finished when its sound gave up waiting.
    std::future<std::shared_ptr<Output>> m_opening;
    QList<MiniaudioPlayer *> m_players;
    QTimer m_housekeeping;
    QElapsedTimer m_idleSince;
    QElapsedTimer m_lastProgress;
    unsigned long long m_framesSeen = 0;
};
