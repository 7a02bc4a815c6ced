#pragma once

#include <QString>
#include <QVector>

#include <memory>
#include <mutex>
#include <vector>

// Records the default sound input (mono, 44100 Hz) while a test plays into the default output.
// Under tests/harness the input is the monitor of the private PulseAudio's null sink, so the
// recording is what the players sent out; under Wine, WASAPI's default capture device is that
// same monitor. It records in-process through miniaudio, as no parec runs under Wine.
// Positions are seconds of recorded sound, so a test can mark when it did something and later
// measure the stretch of the recording that followed.
class SinkRecorder
{
public:
    static constexpr int Rate = 44100;

    SinkRecorder();
    ~SinkRecorder();
    SinkRecorder(const SinkRecorder &) = delete;
    SinkRecorder &operator=(const SinkRecorder &) = delete;

    // Opens the default input and waits until it delivers samples, so that nothing played
    // after this returns is lost.
    bool start(int timeoutMs = 15000);
    // Seconds recorded so far; runs the event loop's pending events first.
    double position();
    void stop();
    // The capture device and its back end, for the log.
    QString deviceName() const;

    // RMS level of [fromS, toS) in dB relative to full scale (a full-scale sine reads -3 dB);
    // digital silence reads -120.
    double rmsDbfs(double fromS, double toS) const;
    // Loudest 0.1 s window of [fromS, toS).
    double peakWindowDbfs(double fromS, double toS) const;
    // Seconds of [fromS, toS) whose 0.1 s windows are louder than thresholdDbfs.
    double soundingSeconds(double fromS, double toS, double thresholdDbfs = -60.0) const;
    // Median level of the windows louder than thresholdDbfs; -120 when none is.
    double soundingLevelDbfs(double fromS, double toS, double thresholdDbfs = -60.0) const;
    // Start of the first 0.1 s window of [fromS, toS) louder than thresholdDbfs; -1 when none.
    double onsetSeconds(double fromS, double toS, double thresholdDbfs = -60.0) const;
    // Seconds of [fromS, toS) in stretches of at least minSeconds of digital silence: where
    // sound should be continuous, the output ran dry (an underrun) there.
    double gapSeconds(double fromS, double toS, double minSeconds = 0.005) const;
    // Level of the sine of the given frequency in [fromS, toS), on the scale of rmsDbfs: a
    // recording of that sine alone reads the same in both. Tells apart sounds played at once.
    double toneDbfs(double fromS, double toS, double frequency) const;

private:
    struct Capture;

    void append(const float *samples, unsigned count);
    std::vector<float> samples(double fromS, double toS) const;
    QVector<double> windowLevels(double fromS, double toS) const;

    std::unique_ptr<Capture> m_capture;
    // Filled on miniaudio's capture thread, read on the test's.
    mutable std::mutex m_mutex;
    std::vector<float> m_samples;
};
