#include "sound/SoundEngine.h"

#include "sound/MiniaudioPlayer.h"

#include <miniaudio.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#endif

namespace {

constexpr ma_uint32 PeriodMs = 100;

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

struct SoundEngine::Output
{
    // First member: the device's user data points at the engine, and so at the Output.
    ma_engine engine;
    ma_context context;
    bool contextMade = false;
    bool engineMade = false;
    // Frames the audio thread has mixed; it only ever adds.
    std::atomic<unsigned long long> frames { 0 };

    static void mix(ma_device *device, void *out, const void *, ma_uint32 count)
    {
        auto *output = static_cast<Output *>(device->pUserData);
        ma_engine_read_pcm_frames(&output->engine, out, count, nullptr);
        output->frames.fetch_add(count, std::memory_order_relaxed);
    }

    // Both run on the worker thread: they wait for the sound server.
    static std::shared_ptr<Output> make();
    ~Output();
};

std::shared_ptr<SoundEngine::Output> SoundEngine::Output::make()
{
#ifndef Q_OS_WIN
    quietenAlsa();
#endif
    auto output = std::make_shared<Output>();
    ma_context_config contextConfig = ma_context_config_init();
    contextConfig.pulse.pApplicationName = "Tirvelon";
    contextConfig.pulse.tryAutoSpawn = MA_FALSE;
    if (ma_context_init(Backends, ma_uint32(std::size(Backends)), &contextConfig, &output->context)
        != MA_SUCCESS)
        return nullptr;
    output->contextMade = true;

    ma_engine_config engineConfig = ma_engine_config_init();
    engineConfig.pContext = &output->context;
    engineConfig.dataCallback = &Output::mix;
    engineConfig.noAutoStart = MA_TRUE;
    // Nothing here needs low latency, but a call must not stutter on a busy machine: periods of
    // 100 ms (miniaudio's conservative default) rather than its low-latency 10 to 25 ms.
    engineConfig.periodSizeInMilliseconds = PeriodMs;
    if (ma_engine_init(&engineConfig, &output->engine) != MA_SUCCESS)
        return nullptr;
    output->engineMade = true;
    if (ma_engine_start(&output->engine) != MA_SUCCESS)
        return nullptr;
    return output;
}

SoundEngine::Output::~Output()
{
    if (engineMade) {
        // Stopped first: uninitialising a running device only flags its thread, and miniaudio's
        // PulseAudio thread waits in the server's poll, where a dead server never wakes it (the
        // program froze when the server went away). A stop wakes it through the main loop.
        ma_device *device = ma_engine_get_device(&engine);
        if (ma_device_get_state(device) == ma_device_state_started)
            ma_device_stop(device);
        // The engine uninitialises the device it made; the context goes last.
        ma_engine_uninit(&engine);
    }
    if (contextMade)
        ma_context_uninit(&context);
}

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
    : QObject(parent)
    , m_worker(std::make_shared<Worker>())
{
    m_worker->start();
    m_housekeeping.setInterval(250);
    connect(&m_housekeeping, &QTimer::timeout, this, &SoundEngine::housekeeping);
}

SoundEngine::~SoundEngine()
{
    for (MiniaudioPlayer *player : std::as_const(m_players))
        player->loseOutput();
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
        for (MiniaudioPlayer *player : std::as_const(m_players))
            player->loseOutput();
        close();
    }
    if (!m_output && !open())
        return nullptr;
    m_idleSince.invalidate();
    return &m_output->engine;
}

bool SoundEngine::isOpen() const
{
    return bool(m_output);
}

bool SoundEngine::outputFailed() const
{
    if (!m_output)
        return false;
    if (ma_device_get_state(ma_engine_get_device(&m_output->engine)) != ma_device_state_started)
        return true;
    return m_output->frames.load(std::memory_order_relaxed) == m_framesSeen
            && m_lastProgress.isValid() && m_lastProgress.elapsed() > StallMs;
}

QString SoundEngine::backendName() const
{
    if (!m_output)
        return QString();
    return QString::fromLatin1(ma_get_backend_name(m_output->context.backend));
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
    std::promise<std::shared_ptr<Output>> opened;
    m_opening = opened.get_future();
    m_worker->post([opened = std::make_shared<decltype(opened)>(std::move(opened))] {
        opened->set_value(Output::make());
    });
    m_housekeeping.start();
    m_opening.wait_for(std::chrono::milliseconds(OpenWaitMs));
    return takeOpened() && m_output;
}

// Takes the result of the open under way if it has finished; false while it has not.
bool SoundEngine::takeOpened()
{
    if (!m_opening.valid())
        return true;
    if (m_opening.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    std::shared_ptr<Output> output = m_opening.get();
    if (output)
        adopt(std::move(output));
    return true;
}

void SoundEngine::adopt(std::shared_ptr<Output> output)
{
    m_output = std::move(output);
    m_framesSeen = m_output->frames.load(std::memory_order_relaxed);
    m_lastProgress.start();
    m_idleSince.invalidate();
    m_housekeeping.start();
}

void SoundEngine::close()
{
    m_idleSince.invalidate();
    m_lastProgress.invalidate();
    if (!m_opening.valid())
        m_housekeeping.stop();
    if (!m_output)
        return;
    // Closed on the worker, which may wait there for a server that stopped answering; moved
    // out, m_output is empty from here on.
    m_worker->post([output = std::move(m_output)] { Q_UNUSED(output); });
}

void SoundEngine::housekeeping()
{
    // An open that finished after its sound stopped waiting: taken, and closed when idle.
    takeOpened();
    if (!m_output) {
        if (!m_opening.valid())
            m_housekeeping.stop();
        return;
    }
    const unsigned long long frames = m_output->frames.load(std::memory_order_relaxed);
    if (frames != m_framesSeen) {
        m_framesSeen = frames;
        m_lastProgress.start();
    }
    if (outputFailed()) {
        for (MiniaudioPlayer *player : std::as_const(m_players))
            player->loseOutput();
        close();
        return;
    }
    bool anyActive = false;
    for (MiniaudioPlayer *player : std::as_const(m_players)) {
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
