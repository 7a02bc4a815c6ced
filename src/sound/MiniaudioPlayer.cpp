#include "sound/MiniaudioPlayer.h"

#include "sound/SoundEngine.h"
#include "sound/VolumeTaper.h"

#include <QFile>
#include <QFileInfo>

#include <ebur128.h>
#include <miniaudio.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// What the file holds, from its first bytes: a user's recording keeps the name of the one it
// stands in for ("5.mp3"), whatever its format, and miniaudio would trust the name first.
ma_encoding_format sniffEncoding(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ma_encoding_format_unknown;
    const QByteArray head = file.read(12);
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WAVE")
        return ma_encoding_format_wav;
    if (head.startsWith("fLaC"))
        return ma_encoding_format_flac;
    if (head.startsWith("ID3")
        || (head.size() >= 2 && uchar(head[0]) == 0xFF && (uchar(head[1]) & 0xE0) == 0xE0))
        return ma_encoding_format_mp3;
    return ma_encoding_format_unknown;
}

// Opens a decoder on the file, through the wide-character call on Windows so that folders named
// in Arabic script (user names often are) open as well. The decoder gives 32-bit float samples
// at the file's own rate and channels; the engine converts.
bool openDecoder(const QString &path, ma_decoder *decoder)
{
    const QFileInfo info(path);
    // A folder, a pipe or a device named like a recording is not one; a pipe would block here.
    if (path.isEmpty() || !info.isFile())
        return false;
    ma_decoder_config config = ma_decoder_config_init(ma_format_f32, 0, 0);
    config.encodingFormat = sniffEncoding(path);
#ifdef Q_OS_WIN
    const std::wstring native = path.toStdWString();
    if (ma_decoder_init_file_w(native.c_str(), &config, decoder) != MA_SUCCESS)
        return false;
#else
    if (ma_decoder_init_file(QFile::encodeName(path).constData(), &config, decoder) != MA_SUCCESS)
        return false;
#endif
    // A file whose header looks right but holds no frame (a truncated download, a tag and
    // nothing after it) decodes to nothing: it is not a recording either.
    float probe[2 * 64];
    ma_uint64 read = 0;
    const ma_uint64 frames
            = sizeof probe / sizeof *probe / qMax<ma_uint32>(1, decoder->outputChannels);
    if (ma_decoder_read_pcm_frames(decoder, probe, frames, &read) != MA_SUCCESS || read == 0
        || ma_decoder_seek_to_pcm_frame(decoder, 0) != MA_SUCCESS) {
        ma_decoder_uninit(decoder);
        return false;
    }
    return true;
}

} // namespace

struct MiniaudioPlayer::Voice
{
    ma_decoder decoder;
    ma_sound sound;
    bool decoderMade = false;
    bool soundMade = false;
    // Set on miniaudio's audio thread when the recording has played to its end.
    std::atomic<bool> ended { false };

    static void onEnd(void *voice, ma_sound *)
    {
        static_cast<Voice *>(voice)->ended.store(true, std::memory_order_release);
    }

    ~Voice()
    {
        // The sound first: it stops reading from the decoder before the decoder goes.
        if (soundMade)
            ma_sound_uninit(&sound);
        if (decoderMade)
            ma_decoder_uninit(&decoder);
    }
};

MiniaudioPlayer::MiniaudioPlayer(SoundEngine &engine)
    : m_engine(engine)
{
    m_engine.attach(this);
}

MiniaudioPlayer::~MiniaudioPlayer()
{
    release(Undefined);
    m_engine.detach(this);
}

void MiniaudioPlayer::setUrl(const QString &path)
{
    release(Undefined);
    m_url = path;
    if (!m_url.isEmpty())
        start();
}

QString MiniaudioPlayer::url() const
{
    return m_url;
}

void MiniaudioPlayer::play()
{
    // A sound waiting for its output starts when the output comes.
    if (m_url.isEmpty() || playState() == Playing || playState() == WaitingForOutput)
        return;
    // From the beginning, on whatever output is there now.
    release(Stopped);
    start();
}

void MiniaudioPlayer::stop()
{
    if (!m_url.isEmpty())
        release(Stopped);
}

int MiniaudioPlayer::playState() const
{
    if (m_url.isEmpty())
        return Undefined;
    if (!m_voice)
        return m_state;
    if (m_voice->ended.load(std::memory_order_acquire))
        return MediaEnded;
    if (m_engine.outputFailed())
        return Stopped;
    return Playing;
}

void MiniaudioPlayer::setVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
    if (m_voice)
        ma_sound_set_volume(&m_voice->sound, gain());
}

void MiniaudioPlayer::setTrim(float trim)
{
    MediaPlayer::setTrim(qBound(0.0f, trim, 32.0f));
    if (m_voice)
        ma_sound_set_volume(&m_voice->sound, gain());
}

float MiniaudioPlayer::gain() const
{
    return VolumeTaper::gain(m_volume) * m_trim;
}

int MiniaudioPlayer::volume() const
{
    return m_volume;
}

bool MiniaudioPlayer::canDecode(const QString &path)
{
    ma_decoder decoder;
    if (!openDecoder(path, &decoder))
        return false;
    ma_decoder_uninit(&decoder);
    return true;
}

RecordingMeasure MiniaudioPlayer::measure(const QString &path)
{
    RecordingMeasure result;
    ma_decoder decoder;
    if (!openDecoder(path, &decoder))
        return result;
    const ma_uint32 channels = qMax<ma_uint32>(1, decoder.outputChannels);
    const ma_uint32 rate = decoder.outputSampleRate;
    const std::unique_ptr<ebur128_state, void (*)(ebur128_state *)> meter(
            ebur128_init(channels, rate, EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK),
            [](ebur128_state *state) { ebur128_destroy(&state); });
    if (!meter || rate == 0) {
        ma_decoder_uninit(&decoder);
        return result;
    }
    std::vector<float> block(std::size_t(4096) * channels);
    ma_uint64 total = 0;
    for (;;) {
        ma_uint64 read = 0;
        const ma_result status = ma_decoder_read_pcm_frames(&decoder, block.data(), 4096, &read);
        if (read > 0) {
            ebur128_add_frames_float(meter.get(), block.data(), std::size_t(read));
            total += read;
        }
        if (status != MA_SUCCESS || read == 0)
            break;
    }
    ma_decoder_uninit(&decoder);
    result.decodes = total > 0;
    result.seconds = double(total) / rate;
    double loudness = -HUGE_VAL;
    if (ebur128_loudness_global(meter.get(), &loudness) == EBUR128_SUCCESS
        && std::isfinite(loudness))
        result.loudness = loudness;
    for (ma_uint32 c = 0; c < channels; ++c) {
        double peak = 0;
        if (ebur128_sample_peak(meter.get(), c, &peak) == EBUR128_SUCCESS)
            result.peak = qMax(result.peak, peak);
    }
    return result;
}

bool MiniaudioPlayer::isActive() const
{
    return bool(m_voice);
}

void MiniaudioPlayer::collectEnd()
{
    if (m_voice && m_voice->ended.load(std::memory_order_acquire))
        release(MediaEnded);
}

void MiniaudioPlayer::loseOutput()
{
    if (m_voice)
        release(Stopped);
}

bool MiniaudioPlayer::waitsForOutput() const
{
    return !m_voice && m_state == WaitingForOutput;
}

void MiniaudioPlayer::takeOutput()
{
    if (waitsForOutput())
        start();
}

void MiniaudioPlayer::start()
{
    m_state = Stopped;
    auto voice = std::make_unique<Voice>();
    voice->decoderMade = openDecoder(m_url, &voice->decoder);
    if (!voice->decoderMade)
        return;
    ma_engine *engine = m_engine.acquire();
    if (!engine) {
        // The engine tries again and hands the output over through takeOutput().
        m_state = WaitingForOutput;
        return;
    }
    voice->soundMade = ma_sound_init_from_data_source(engine, &voice->decoder,
                                                      MA_SOUND_FLAG_NO_SPATIALIZATION, nullptr,
                                                      &voice->sound)
            == MA_SUCCESS;
    if (!voice->soundMade)
        return;
    ma_sound_set_volume(&voice->sound, gain());
    ma_sound_set_end_callback(&voice->sound, &Voice::onEnd, voice.get());
    if (ma_sound_start(&voice->sound) != MA_SUCCESS)
        return; // the voice goes with its sound and decoder
    m_voice = std::move(voice);
    m_state = Playing;
}

void MiniaudioPlayer::release(int state)
{
    m_voice.reset();
    m_state = state;
}
