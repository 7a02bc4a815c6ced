#include "SinkRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QtGlobal>

#include <miniaudio.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr double Window = 0.1;
constexpr double Silence = -120.0;
constexpr double Pi = 3.14159265358979323846;

#ifdef Q_OS_WIN
const ma_backend Backends[] = { ma_backend_wasapi, ma_backend_dsound, ma_backend_winmm };
#else
// The harness's sound server only: ALSA's default input could be a real microphone.
const ma_backend Backends[] = { ma_backend_pulseaudio };
#endif

qsizetype frameAt(double seconds)
{
    return qsizetype(std::llround(qMax(0.0, seconds) * SinkRecorder::Rate));
}

double dbfs(double meanSquare)
{
    return meanSquare > 0 ? qMax(Silence, 10.0 * std::log10(meanSquare)) : Silence;
}
} // namespace

struct SinkRecorder::Capture
{
    ma_device device;

    static void receive(ma_device *device, void *, const void *input, ma_uint32 frames)
    {
        static_cast<SinkRecorder *>(device->pUserData)
                ->append(static_cast<const float *>(input), frames);
    }
};

SinkRecorder::SinkRecorder() = default;

SinkRecorder::~SinkRecorder()
{
    stop();
}

bool SinkRecorder::start(int timeoutMs)
{
    stop();
    {
        const std::lock_guard lock(m_mutex);
        m_samples.clear();
    }
    auto capture = std::make_unique<Capture>();
    ma_context_config contextConfig = ma_context_config_init();
    contextConfig.pulse.pApplicationName = "Tirvelon test recorder";
    contextConfig.pulse.tryAutoSpawn = MA_FALSE;
    ma_device_config config = ma_device_config_init(ma_device_type_capture);
    config.capture.format = ma_format_f32;
    config.capture.channels = 1; // the server or miniaudio averages the channels, as parec did
    config.sampleRate = Rate;
    config.dataCallback = &Capture::receive;
    config.pUserData = this;
    if (ma_device_init_ex(Backends, ma_uint32(std::size(Backends)), &contextConfig, &config,
                          &capture->device)
        != MA_SUCCESS)
        return false;
    if (ma_device_start(&capture->device) != MA_SUCCESS) {
        ma_device_uninit(&capture->device);
        return false;
    }
    m_capture = std::move(capture);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_samples.empty())
                return true;
        }
        QThread::msleep(10);
    }
    stop();
    return false;
}

double SinkRecorder::position()
{
    // Lets the players' timers run while a test waits on the recording.
    QCoreApplication::processEvents();
    const std::lock_guard lock(m_mutex);
    return double(m_samples.size()) / Rate;
}

void SinkRecorder::stop()
{
    if (!m_capture)
        return;
    // Stops the capture thread before the device goes; the samples stay for measuring.
    ma_device_uninit(&m_capture->device);
    m_capture.reset();
}

QString SinkRecorder::deviceName() const
{
    if (!m_capture)
        return QString();
    char name[MA_MAX_DEVICE_NAME_LENGTH + 1] = {};
    ma_device_get_name(&m_capture->device, ma_device_type_capture, name, sizeof name, nullptr);
    return QStringLiteral("%1 (%2)").arg(
            QString::fromUtf8(name),
            QString::fromLatin1(ma_get_backend_name(m_capture->device.pContext->backend)));
}

void SinkRecorder::append(const float *samples, unsigned count)
{
    const std::lock_guard lock(m_mutex);
    m_samples.insert(m_samples.end(), samples, samples + count);
}

std::vector<float> SinkRecorder::samples(double fromS, double toS) const
{
    const std::lock_guard lock(m_mutex);
    const auto size = qsizetype(m_samples.size());
    const qsizetype first = qMin(frameAt(fromS), size);
    const qsizetype last = qBound(first, frameAt(toS), size);
    return std::vector<float>(m_samples.begin() + first, m_samples.begin() + last);
}

QVector<double> SinkRecorder::windowLevels(double fromS, double toS) const
{
    const std::vector<float> stretch = samples(fromS, toS);
    const auto step = size_t(Window * Rate);
    QVector<double> levels;
    for (size_t first = 0; first + step <= stretch.size(); first += step) {
        double sum = 0;
        for (size_t i = first; i < first + step; ++i)
            sum += double(stretch[i]) * stretch[i];
        levels << dbfs(sum / step);
    }
    return levels;
}

double SinkRecorder::rmsDbfs(double fromS, double toS) const
{
    const QVector<double> levels = windowLevels(fromS, toS);
    if (levels.isEmpty())
        return Silence;
    double power = 0;
    for (double level : levels)
        power += std::pow(10.0, level / 10.0);
    return dbfs(power / levels.size());
}

double SinkRecorder::peakWindowDbfs(double fromS, double toS) const
{
    const QVector<double> levels = windowLevels(fromS, toS);
    return levels.isEmpty() ? Silence : *std::max_element(levels.begin(), levels.end());
}

double SinkRecorder::soundingSeconds(double fromS, double toS, double thresholdDbfs) const
{
    const QVector<double> levels = windowLevels(fromS, toS);
    return Window * std::count_if(levels.begin(), levels.end(), [thresholdDbfs](double level) {
               return level > thresholdDbfs;
           });
}

double SinkRecorder::soundingLevelDbfs(double fromS, double toS, double thresholdDbfs) const
{
    QVector<double> loud;
    for (double level : windowLevels(fromS, toS)) {
        if (level > thresholdDbfs)
            loud << level;
    }
    if (loud.isEmpty())
        return Silence;
    std::sort(loud.begin(), loud.end());
    return loud.at(loud.size() / 2);
}

double SinkRecorder::onsetSeconds(double fromS, double toS, double thresholdDbfs) const
{
    const QVector<double> levels = windowLevels(fromS, toS);
    for (qsizetype i = 0; i < levels.size(); ++i) {
        if (levels.at(i) > thresholdDbfs)
            return qMax(0.0, fromS) + i * Window;
    }
    return -1.0;
}

double SinkRecorder::gapSeconds(double fromS, double toS, double minSeconds) const
{
    const std::vector<float> stretch = samples(fromS, toS);
    const auto shortest = size_t(minSeconds * Rate);
    size_t silent = 0, run = 0;
    for (float sample : stretch) {
        // Below the least step of 16-bit audio: nothing was playing.
        if (std::abs(sample) < 1.0f / 65536) {
            ++run;
            continue;
        }
        if (run >= shortest)
            silent += run;
        run = 0;
    }
    if (run >= shortest)
        silent += run;
    return double(silent) / Rate;
}

double SinkRecorder::toneDbfs(double fromS, double toS, double frequency) const
{
    // Goertzel's filter at one frequency over Hann windows of 0.1 s, whose side lobes keep tones
    // a few hundred hertz apart from leaking into each other. Their powers are averaged rather
    // than one long filter run: a break in the sound shifts the phase of what follows, and the
    // stretches before and after it would cancel out.
    const std::vector<float> stretch = samples(fromS, toS);
    const auto step = size_t(Window * Rate);
    const double coefficient = 2.0 * std::cos(2.0 * Pi * frequency / Rate);
    double power = 0;
    size_t windows = 0;
    for (size_t first = 0; first + step <= stretch.size(); first += step, ++windows) {
        double previous = 0, beforePrevious = 0, weightSum = 0;
        for (size_t i = 0; i < step; ++i) {
            const double weight = 0.5 - 0.5 * std::cos(2.0 * Pi * double(i) / double(step - 1));
            weightSum += weight;
            const double current
                    = weight * stretch[first + i] + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        const double magnitudeSquared = previous * previous + beforePrevious * beforePrevious
                - coefficient * previous * beforePrevious;
        // Amplitude 2|X|/sum(w); a sine of amplitude a has the mean square a²/2.
        const double amplitude = 2.0 * std::sqrt(qMax(0.0, magnitudeSquared)) / weightSum;
        power += amplitude * amplitude / 2.0;
    }
    return windows == 0 ? Silence : dbfs(power / windows);
}
