#include "sound/OwnRecordings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

namespace {

// Which file a note was made of: a file replaced by hand under the same name is measured again.
QString fileIdentity(const QFileInfo &info)
{
    return QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

} // namespace

OwnRecordings::OwnRecordings(QString userFolder, RecordingMeasurer measure)
    : m_folder(std::move(userFolder))
    , m_measure(std::move(measure))
{ }

double OwnRecordings::minimumSeconds(const QString &entry)
{
    // The shipped start-up sound is a chime of a second and a half.
    return entry == QLatin1String("Wave.wav") ? MinStartupSeconds : MinSeconds;
}

QString OwnRecordings::pathOf(const QString &entry) const
{
    return m_folder + QLatin1Char('/') + entry;
}

QString OwnRecordings::notePath(const QString &path) const
{
    return path + QStringLiteral(".loudness");
}

OwnRecordings::Verdict OwnRecordings::take(const QString &entry, const QString &source)
{
    const QFileInfo info(source);
    if (!info.isFile())
        return Verdict::NotFound;
    if (info.size() > MaxBytes)
        return Verdict::TooLarge;
    const RecordingMeasure measure = m_measure ? m_measure(source) : RecordingMeasure();
    if (!measure.decodes)
        return Verdict::NotSound;
    if (measure.seconds < minimumSeconds(entry))
        return Verdict::TooShort;
    if (measure.seconds > MaxSeconds)
        return Verdict::TooLong;

    const QString target = pathOf(entry);
    // The entry's own file chosen again: nothing to copy, it is only measured afresh.
    if (QFileInfo(target).canonicalFilePath() != info.canonicalFilePath()) {
        QFile from(source);
        if (m_folder.isEmpty() || !QDir().mkpath(m_folder) || !from.open(QIODevice::ReadOnly)
            || !copyWhole(from, target))
            return Verdict::NotCopied;
    }
    // Without its note the file is measured when it first plays.
    writeNote(target, measure);
    return Verdict::Taken;
}

bool OwnRecordings::copyWhole(QIODevice &from, const QString &to)
{
    QSaveFile file(to);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = from.read(buffer, sizeof buffer);
        if (got < 0) {
            file.cancelWriting();
            return false;
        }
        if (got == 0 && from.atEnd())
            break;
        if (got == 0) {
            // A device that neither ends nor gives data has failed.
            file.cancelWriting();
            return false;
        }
        if (file.write(buffer, got) != got) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

bool OwnRecordings::has(const QString &entry) const
{
    return !m_folder.isEmpty() && QFileInfo(pathOf(entry)).isFile();
}

bool OwnRecordings::remove(const QString &entry)
{
    const QString path = pathOf(entry);
    QFile::remove(notePath(path));
    return !QFileInfo::exists(path) || QFile::remove(path);
}

bool OwnRecordings::writeNote(const QString &path, const RecordingMeasure &measure) const
{
    QSaveFile note(notePath(path));
    if (!note.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QString text = QStringLiteral("%1 %2 %3\n")
                                 .arg(measure.loudness, 0, 'f', 2)
                                 .arg(measure.peak, 0, 'f', 4)
                                 .arg(fileIdentity(QFileInfo(path)));
    note.write(text.toUtf8());
    return note.commit();
}

float OwnRecordings::gainFor(const QString &path)
{
    if (m_folder.isEmpty()
        || QFileInfo(path).absolutePath() != QFileInfo(m_folder).absoluteFilePath())
        return 1.0f;
    const QFileInfo info(path);
    if (!info.isFile())
        return 1.0f;
    QFile note(notePath(path));
    if (note.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList fields = QString::fromUtf8(note.readAll()).simplified().split(u' ');
        bool loudnessRead = false;
        bool peakRead = false;
        if (fields.size() == 4) {
            const double loudness = fields[0].toDouble(&loudnessRead);
            const double peak = fields[1].toDouble(&peakRead);
            if (loudnessRead && peakRead && fields[2] + u' ' + fields[3] == fileIdentity(info))
                return gainForLoudness(loudness, peak);
        }
    }
    if (!m_measure)
        return 1.0f;
    const RecordingMeasure measure = m_measure(path);
    if (!measure.decodes)
        return 1.0f;
    writeNote(path, measure);
    return gainForLoudness(measure.loudness, measure.peak);
}

float OwnRecordings::gainForLoudness(double loudness, double peak)
{
    if (!std::isfinite(loudness))
        return 1.0f;
    double db = qMin(ShippedLoudness - loudness, MaxBoostDb);
    // Lifting a quiet recording stops where its loudest sample would pass full scale by
    // PeakHeadroomDb: the volume's own taper (-16 dB at the middle of the slider) takes that
    // back before the output, below about three quarters of the slider.
    if (db > 0 && peak > 0)
        db = qMin(db, qMax(0.0, PeakHeadroomDb - 20 * std::log10(peak)));
    return float(std::pow(10.0, db / 20));
}
