#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QVector>

// Records a PulseAudio sink's monitor with parec (signed 16-bit mono, 44100 Hz) while a test
// plays into that sink. Positions are seconds of recorded sound, so a test can mark when it did
// something and later measure the stretch of the recording that followed.
class SinkRecorder
{
public:
    static constexpr int Rate = 44100;

    explicit SinkRecorder(const QString &sink);
    ~SinkRecorder();

    // Starts parec and waits until the monitor delivers samples: the first second or two after
    // connecting are never delivered, so sound played before this returns would be lost.
    bool start(int timeoutMs = 15000);
    // Seconds recorded so far.
    double position();
    void stop();
    // RMS level of [fromS, toS) in dB relative to full scale (a full-scale sine reads -3 dB);
    // digital silence reads -120.
    double rmsDbfs(double fromS, double toS) const;
    // Loudest 0.1 s window of [fromS, toS).
    double peakWindowDbfs(double fromS, double toS) const;
    // Seconds of [fromS, toS) whose 0.1 s windows are louder than thresholdDbfs.
    double soundingSeconds(double fromS, double toS, double thresholdDbfs = -60.0) const;
    // Median level of the windows louder than thresholdDbfs; -120 when none is.
    double soundingLevelDbfs(double fromS, double toS, double thresholdDbfs = -60.0) const;

private:
    void collect();
    QVector<double> windowLevels(double fromS, double toS) const;

    QString m_sink;
    QProcess m_parec;
    QByteArray m_bytes;
};
