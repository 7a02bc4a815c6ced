#include "SinkRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr double Window = 0.1;
constexpr double Silence = -120.0;
} // namespace

SinkRecorder::SinkRecorder(const QString &sink)
    : m_sink(sink)
{ }

SinkRecorder::~SinkRecorder()
{
    stop();
}

bool SinkRecorder::start(int timeoutMs)
{
    m_bytes.clear();
    m_parec.start(QStringLiteral("parec"),
                  { QStringLiteral("--device=%1.monitor").arg(m_sink),
                    QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                    QStringLiteral("--rate=%1").arg(Rate), QStringLiteral("--raw"),
                    QStringLiteral("--latency-msec=20") });
    if (!m_parec.waitForStarted(5000))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (m_bytes.isEmpty() && waited.elapsed() < timeoutMs) {
        m_parec.waitForReadyRead(100);
        collect();
    }
    return !m_bytes.isEmpty();
}

double SinkRecorder::position()
{
    // Let the event loop run the player's pipeline while parec's output is collected.
    QCoreApplication::processEvents();
    collect();
    return m_bytes.size() / 2.0 / Rate;
}

void SinkRecorder::stop()
{
    if (m_parec.state() == QProcess::NotRunning)
        return;
    collect();
    m_parec.terminate();
    if (!m_parec.waitForFinished(3000)) {
        m_parec.kill();
        m_parec.waitForFinished(3000);
    }
    collect();
}

void SinkRecorder::collect()
{
    m_bytes += m_parec.readAllStandardOutput();
}

QVector<double> SinkRecorder::windowLevels(double fromS, double toS) const
{
    const auto *samples = reinterpret_cast<const qint16 *>(m_bytes.constData());
    const qsizetype count = m_bytes.size() / 2;
    const qsizetype step = qsizetype(Window * Rate);
    QVector<double> levels;
    for (qsizetype first = qMax<qsizetype>(0, qsizetype(fromS * Rate));
         first + step <= qMin(count, qsizetype(toS * Rate)); first += step) {
        double sum = 0;
        for (qsizetype i = first; i < first + step; ++i)
            sum += double(samples[i]) * samples[i];
        const double mean = sum / step / (32768.0 * 32768.0);
        levels << (mean > 0 ? qMax(Silence, 10.0 * std::log10(mean)) : Silence);
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
    return qMax(Silence, 10.0 * std::log10(power / levels.size()));
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
