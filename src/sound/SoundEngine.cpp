#include "sound/SoundEngine.h"

#include "sound/MiniaudioPlayer.h"

#include <miniaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>
#include <utility>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#endif

namespace {

constexpr ma_uint32 PeriodMs = 100;
constexpr int HousekeepingMs = 250;

#ifdef Q_OS_WIN
const ma_backend Backends[] = { ma_backend_wasapi, ma_backend_dsound, ma_backend_winmm };
#else
// PulseAudio first (PipeWire serves it too); ALSA for a desktop without a sound server.
const ma_backend Backends[] = { ma_backend_pulseaudio, ma_backend_alsa };

// ALSA prints every failed attempt to open a device to stderr, pages of it when no sound server
// runs yet. The handler is process-wide and stays with the library, which miniaudio opens by
// the same name, so the library is kept open for the process's lifetime.
void noAlsaMessage(const char *, int, const char *, int, const char *, ...) { }

void quietenAlsa()
{
    static const bool done = [] {
        using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
        void *alsa = dlopen("libasound.so.2", RTLD_NOW);
        if (!alsa)
            return true;
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
            set(noAlsaMessage);
        return true;
    }();
    Q_UNUSED(done);
}
#endif

} // namespace

void SoundOutput::note(OutputWatch::Event event)
{
    const std::lock_guard<std::mutex> lock(m_eventsMutex);
    m_events.append(event);
}

QList<OutputWatch::Event> SoundOutput::takeEvents()
{
    const std::lock_guard<std::mutex> lock(m_eventsMutex);
    return std::exchange(m_events, {});
}

namespace {

// A device of our own rather than the engine's, for its notifications: they tell a reroute
// from a loss (see OutputWatch). They come on the device's and the back end's threads.
class DeviceOutput final : public SoundOutput
{
public:
    // On the worker thread: it waits for the sound server.
    static std::shared_ptr<SoundOutput> make();
    ~DeviceOutput() override;

    ma_engine *engine() override { return &m_engine; }
    QString backendName() const override
    {
        return QString::fromLatin1(ma_get_backend_name(m_context.backend));
    }

private:
    static void mix(ma_device *device, void *out, const void *, ma_uint32 count)
    {
        auto *output = static_cast<DeviceOutput *>(device->pUserData);
        ma_engine_read_pcm_frames(&output->m_engine, out, count, nullptr);
        output->addFrames(count);
    }

    static void notice(const ma_device_notification *notification)
    {
        using Event = OutputWatch::Event;
        Event event;
        switch (notification->type) {
        case ma_device_notification_type_started:
            event = Event::Started;
            break;
        case ma_device_notification_type_stopped:
            event = Event::Stopped;
            break;
        case ma_device_notification_type_rerouted:
            event = Event::Rerouted;
            break;
        case ma_device_notification_type_interruption_began:
            event = Event::InterruptionBegan;
            break;
        case ma_device_notification_type_interruption_ended:
            event = Event::InterruptionEnded;
            break;
        default:
            return; // "unlocked" is for browsers
        }
        static_cast<DeviceOutput *>(notification->pDevice->pUserData)->note(event);
    }

    ma_context m_context;
    ma_device m_device;
    ma_engine m_engine;
    bool m_contextMade = false;
    bool m_deviceMade = false;
    bool m_engineMade = false;
};

std::shared_ptr<SoundOutput> DeviceOutput::make()
{
#ifndef Q_OS_WIN
    quietenAlsa();
#endif
    auto output = std::make_shared<DeviceOutput>();
    ma_context_config contextConfig = ma_context_config_init();
    contextConfig.pulse.pApplicationName = "Tirvelon";
    contextConfig.pulse.tryAutoSpawn = MA_FALSE;
    if (ma_context_init(Backends, ma_uint32(std::size(Backends)), &contextConfig,
                        &output->m_context)
        != MA_SUCCESS)
        return nullptr;
    output->m_contextMade = true;

    // As the engine would set up its own device.
    ma_device_config deviceConfig = ma_device_config_init(ma_device_type_playback);
    deviceConfig.playback.format = ma_format_f32;
    deviceConfig.dataCallback = &DeviceOutput::mix;
    deviceConfig.notificationCallback = &DeviceOutput::notice;
    deviceConfig.pUserData = output.get();
    // Nothing here needs low latency, but a call must not stutter on a busy machine: periods of
    // 100 ms (miniaudio's conservative default) rather than its low-latency 10 to 25 ms.
    deviceConfig.periodSizeInMilliseconds = PeriodMs;
    deviceConfig.noPreSilencedOutputBuffer = MA_TRUE;
    deviceConfig.noClip = MA_TRUE;
    if (ma_device_init(&output->m_context, &deviceConfig, &output->m_device) != MA_SUCCESS)
        return nullptr;
    output->m_deviceMade = true;

    ma_engine_config engineConfig = ma_engine_config_init();
    engineConfig.pDevice = &output->m_device;
    engineConfig.noAutoStart = MA_TRUE;
    if (ma_engine_init(&engineConfig, &output->m_engine) != MA_SUCCESS)
        return nullptr;
    output->m_engineMade = true;
    if (ma_device_start(&output->m_device) != MA_SUCCESS)
        return nullptr;
    return output;
}

DeviceOutput::~DeviceOutput()
{
    // Stopped first: uninitialising a running device only flags its thread, and miniaudio's
    // PulseAudio thread waits in the server's poll, where a dead server never wakes it (the
    // program froze when the server went away). A stop wakes it through the main loop.
    if (m_deviceMade && ma_device_get_state(&m_device) == ma_device_state_started)
        ma_device_stop(&m_device);
    // The engine before the device it mixes for, the context last.
    if (m_engineMade)
        ma_engine_uninit(&m_engine);
    if (m_deviceMade)
        ma_device_uninit(&m_device);
    if (m_contextMade)
        ma_context_uninit(&m_context);
}

} // namespace

// One thread that opens and closes outputs, in the order asked. It holds itself (and whatever
// it is given) while it runs, so an engine that goes away, at the end of the program say, need
// not wait for a server that does not answer.
class SoundEngine::Worker : public std::enable_shared_from_this<Worker>
{
public:
    void start()
    {
        std::thread([self = shared_from_this()] { self->run(); }).detach();
    }

    void post(std::function<void()> job)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }

    // Asks the thread to finish the jobs it has and end; true when it did within the time.
    bool finish(std::chrono::milliseconds within)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_quitting = true;
        m_wake.notify_one();
        return m_wake.wait_for(lock, within, [this] { return m_ended; });
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quitting || !m_jobs.empty(); });
            if (m_jobs.empty())
                break;
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            lock.unlock();
            job();
            job = nullptr; // what the job held goes here, off the caller's thread
            lock.lock();
        }
        m_ended = true;
        m_wake.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_quitting = false;
    bool m_ended = false;
};

SoundEngine::SoundEngine(QObject *parent)
    : SoundEngine(&DeviceOutput::make, parent)
{ }

SoundEngine::SoundEngine(OutputOpener open, QObject *parent)
    : QObject(parent)
    , m_open(std::move(open))
    , m_worker(std::make_shared<Worker>())
{
    m_worker->start();
    m_clock.start();
    m_housekeeping.setInterval(HousekeepingMs);
    connect(&m_housekeeping, &QTimer::timeout, this, &SoundEngine::housekeeping);
}

SoundEngine::~SoundEngine()
{
    loseAll();
    close();
    // The program is ending: a server that does not answer is left to the thread, which the
    // end of the process takes with it.
    m_worker->finish(std::chrono::milliseconds(2000));
}

void SoundEngine::attach(MiniaudioPlayer *player)
{
    if (!m_players.contains(player))
        m_players.append(player);
}

void SoundEngine::detach(MiniaudioPlayer *player)
{
    m_players.removeAll(player);
}

ma_engine *SoundEngine::acquire()
{
    if (m_output && outputFailed()) {
        loseAll();
        close();
    }
    if (!m_output && !open())
        return nullptr;
    m_idleSince.invalidate();
    return m_output->engine();
}

bool SoundEngine::isOpen() const
{
    return bool(m_output);
}

bool SoundEngine::outputFailed()
{
    if (!m_output)
        return false;
    // Looked at afresh: a window busy elsewhere for a while must not read as a stalled output.
    const qint64 now = m_clock.elapsed();
    m_watch.look(now, m_output->frames(), m_output->takeEvents());
    return m_watch.lost(now);
}

QString SoundEngine::backendName() const
{
    return m_output ? m_output->backendName() : QString();
}

bool SoundEngine::open()
{
    if (m_opening.valid()) {
        // The last open has not finished: no second one is queued behind a server that hangs.
        if (!takeOpened())
            return false;
        if (m_output)
            return true;
    }
    postOpen();
    m_opening.wait_for(std::chrono::milliseconds(OpenWaitMs));
    return takeOpened() && m_output;
}

void SoundEngine::postOpen()
{
    std::promise<std::shared_ptr<SoundOutput>> opened;
    m_opening = opened.get_future();
    m_worker->post([open = m_open, opened = std::make_shared<decltype(opened)>(std::move(opened))] {
        opened->set_value(open());
    });
    m_lastTry.start();
    m_housekeeping.start();
}

// Takes the result of the open under way if it has finished; false while it has not.
bool SoundEngine::takeOpened()
{
    if (!m_opening.valid())
        return true;
    if (m_opening.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    std::shared_ptr<SoundOutput> output = m_opening.get();
    if (output)
        adopt(std::move(output));
    return true;
}

void SoundEngine::adopt(std::shared_ptr<SoundOutput> output)
{
    m_output = std::move(output);
    // What the device said while it opened is no news.
    m_output->takeEvents();
    m_watch.open(m_clock.elapsed(), m_output->frames());
    m_idleSince.invalidate();
    m_housekeeping.start();
}

void SoundEngine::loseAll()
{
    for (MiniaudioPlayer *player : std::as_const(m_players))
        player->loseOutput();
}

void SoundEngine::close()
{
    m_idleSince.invalidate();
    if (!m_opening.valid() && !anyWaiting())
        m_housekeeping.stop();
    if (!m_output)
        return;
    // Closed on the worker, which may wait there for a server that stopped answering; moved
    // out, m_output is empty from here on.
    m_worker->post([output = std::move(m_output)] { Q_UNUSED(output); });
}

bool SoundEngine::anyWaiting() const
{
    return std::any_of(m_players.cbegin(), m_players.cend(),
                       [](const MiniaudioPlayer *player) { return player->waitsForOutput(); });
}

void SoundEngine::housekeeping()
{
    // An open that finished after its sound stopped waiting: taken, and closed when idle.
    takeOpened();
    if (!m_output) {
        if (!anyWaiting()) {
            if (!m_opening.valid())
                m_housekeeping.stop();
        } else if (!m_opening.valid() && m_lastTry.elapsed() >= RetryMs - HousekeepingMs / 2) {
            // Tried without waiting: a later round takes the output when it has come. The
            // rounds' timer may fire a little early, hence the half round.
            postOpen();
        }
        return;
    }
    if (outputFailed()) {
        loseAll();
        close();
        return;
    }
    bool anyActive = false;
    for (MiniaudioPlayer *player : std::as_const(m_players)) {
        // The output came: a sound waiting for it starts from its beginning.
        player->takeOutput();
        player->collectEnd();
        anyActive = anyActive || player->isActive();
    }
    if (anyActive) {
        m_idleSince.invalidate();
        return;
    }
    if (!m_idleSince.isValid())
        m_idleSince.start();
    else if (m_idleSince.elapsed() >= IdleCloseMs)
        close();
}
