#include "sound/SoundEngine.h"

#include "sound/MiniaudioPlayer.h"

#include <miniaudio.h>

#include <atomic>
#include <iterator>

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
};

SoundEngine::SoundEngine(QObject *parent)
    : QObject(parent)
{
    m_housekeeping.setInterval(250);
    connect(&m_housekeeping, &QTimer::timeout, this, &SoundEngine::housekeeping);
}

SoundEngine::~SoundEngine()
{
    for (MiniaudioPlayer *player : std::as_const(m_players))
        player->loseOutput();
    close();
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
#ifndef Q_OS_WIN
    quietenAlsa();
#endif
    auto output = std::make_unique<Output>();
    ma_context_config contextConfig = ma_context_config_init();
    contextConfig.pulse.pApplicationName = "Tirvelon";
    contextConfig.pulse.tryAutoSpawn = MA_FALSE;
    if (ma_context_init(Backends, ma_uint32(std::size(Backends)), &contextConfig, &output->context)
        != MA_SUCCESS)
        return false;
    output->contextMade = true;

    ma_engine_config engineConfig = ma_engine_config_init();
    engineConfig.pContext = &output->context;
    engineConfig.dataCallback = &Output::mix;
    engineConfig.noAutoStart = MA_TRUE;
    // Nothing here needs low latency, but a call must not stutter on a busy machine: periods of
    // 100 ms (miniaudio's conservative default) rather than its low-latency 10 to 25 ms.
    engineConfig.periodSizeInMilliseconds = PeriodMs;
    if (ma_engine_init(&engineConfig, &output->engine) != MA_SUCCESS) {
        ma_context_uninit(&output->context);
        return false;
    }
    output->engineMade = true;
    m_output = std::move(output);
    if (ma_engine_start(&m_output->engine) != MA_SUCCESS) {
        close();
        return false;
    }
    m_framesSeen = m_output->frames.load(std::memory_order_relaxed);
    m_lastProgress.start();
    m_idleSince.invalidate();
    m_housekeeping.start();
    return true;
}

void SoundEngine::close()
{
    m_housekeeping.stop();
    m_idleSince.invalidate();
    m_lastProgress.invalidate();
    if (!m_output)
        return;
    if (m_output->engineMade) {
        // Stopped first: uninitialising a running device only flags its thread, and miniaudio's
        // PulseAudio thread waits in the server's poll, where a dead server never wakes it (the
        // program froze when the server went away). A stop wakes it through the main loop.
        ma_device *device = ma_engine_get_device(&m_output->engine);
        if (ma_device_get_state(device) == ma_device_state_started)
            ma_device_stop(device);
        // The engine uninitialises the device it made; the context goes last.
        ma_engine_uninit(&m_output->engine);
    }
    if (m_output->contextMade)
        ma_context_uninit(&m_output->context);
    m_output.reset();
}

void SoundEngine::housekeeping()
{
    if (!m_output)
        return;
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
