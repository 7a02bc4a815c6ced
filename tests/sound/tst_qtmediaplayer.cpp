// Plays real files through QtMediaPlayer into a private PulseAudio null sink and measures what
// came out of it. Run through tests/harness/with_pulseaudio.py, which provides the sink.
#include "SinkRecorder.h"
#include "sound/QtMediaPlayer.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {
// The test tone: a 440 Hz sine of amplitude 0.5 on both channels reads -9 dBFS at full volume.
constexpr double ToneDbfs = -9.03;
// Backends differ by a few dB (resampling, channel mixing); a wrong taper differs by more.
constexpr double LevelTolerance = 6.0;
constexpr double SilentBelow = -70.0;
// From putting a path or a volume to the sink's monitor; generous for a loaded machine.
constexpr double Latency = 0.6;

double gainDb(int volume)
{
    return 20.0 * std::log10(QtMediaPlayer::outputGain(volume));
}
} // namespace

class TestQtMediaPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void outputGainTaper();
    void playsFileToItsEnd_data();
    void playsFileToItsEnd();
    void volumeTakesEffectDuringPlayback_data();
    void volumeTakesEffectDuringPlayback();
    void stopPlayAndUnload();
    void soundsAgain_data();
    void soundsAgain();
    void brokenFileNeverPlays_data();
    void brokenFileNeverPlays();

private:
    QString makeTone(const QString &name, double seconds);
    std::unique_ptr<SinkRecorder> startRecording();
    static void waitSeconds(SinkRecorder &recorder, double seconds);

    QString m_sink;
    QTemporaryDir m_dir;
};

void TestQtMediaPlayer::initTestCase()
{
    m_sink = qEnvironmentVariable("TIRVELON_PULSE_SINK");
    if (m_sink.isEmpty())
        QSKIP("needs the private PulseAudio of tests/harness/with_pulseaudio.py");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty(), "sox is missing");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty(),
             "parec is missing");
    QVERIFY(m_dir.isValid());
    qInfo("gain at volume 50: %.1f dB, at volume 100: %.1f dB", gainDb(50), gainDb(100));
}

QString TestQtMediaPlayer::makeTone(const QString &name, double seconds)
{
    const QString path = m_dir.filePath(name);
    if (QFileInfo::exists(path))
        return path;
    QProcess sox;
    sox.start(QStringLiteral("sox"),
              { QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                QStringLiteral("-c"), QStringLiteral("2"), path, QStringLiteral("synth"),
                QString::number(seconds), QStringLiteral("sine"), QStringLiteral("440"),
                QStringLiteral("vol"), QStringLiteral("0.5") });
    if (!sox.waitForFinished(30000) || sox.exitCode() != 0)
        qWarning("sox failed: %s", sox.readAllStandardError().constData());
    return path;
}

std::unique_ptr<SinkRecorder> TestQtMediaPlayer::startRecording()
{
    auto recorder = std::make_unique<SinkRecorder>(m_sink);
    if (!recorder->start())
        return nullptr;
    return recorder;
}

void TestQtMediaPlayer::waitSeconds(SinkRecorder &recorder, double seconds)
{
    // Waits by recorded sound, not by wall time, so marks and measurements share one timeline.
    const double until = recorder.position() + seconds;
    QElapsedTimer guard;
    guard.start();
    while (recorder.position() < until && guard.elapsed() < qint64(seconds * 1000) + 5000)
        QTest::qWait(10);
}

void TestQtMediaPlayer::outputGainTaper()
{
    QCOMPARE(QtMediaPlayer::outputGain(0), 0.0f);
    QCOMPARE(QtMediaPlayer::outputGain(100), 1.0f);
    // Qt's logarithmic scale reaches unity at 99 already; below that every step must count.
    float previous = 0.0f;
    for (int volume = 1; volume <= 99; ++volume) {
        const float gain = QtMediaPlayer::outputGain(volume);
        QVERIFY2(gain > previous, qPrintable(QStringLiteral("not rising at %1").arg(volume)));
        previous = gain;
    }
    // A perceptual taper: half volume is clearly softer than half the amplitude (-6 dB).
    QVERIFY(gainDb(50) < -10.0 && gainDb(50) > -25.0);
    // Out-of-range volumes are held to 0..100 rather than amplified or inverted.
    QCOMPARE(QtMediaPlayer::outputGain(150), 1.0f);
    QCOMPARE(QtMediaPlayer::outputGain(-5), 0.0f);
}

void TestQtMediaPlayer::playsFileToItsEnd_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("volume");
    QTest::addColumn<bool>("playAfterPut");

    QTest::newRow("wav sounds at volume 50") << "tone1.wav" << 50 << false;
    QTest::newRow("mp3 sounds at volume 50") << "tone1.mp3" << 50 << false;
    QTest::newRow("mp3 sounds at volume 100") << "tone1.mp3" << 100 << false;
    QTest::newRow("wav is silent at volume 0") << "tone1.wav" << 0 << false;
    QTest::newRow("mp3 is silent at volume 0") << "tone1.mp3" << 0 << false;
    // The preview button puts the path and then calls play: the file must still play once.
    QTest::newRow("put then play sounds once") << "tone1.mp3" << 50 << true;
}

void TestQtMediaPlayer::playsFileToItsEnd()
{
    QFETCH(QString, file);
    QFETCH(int, volume);
    QFETCH(bool, playAfterPut);
    constexpr double ToneSeconds = 1.0;
    const QString path = makeTone(file, ToneSeconds);

    QtMediaPlayer player;
    QCOMPARE(player.volume(), 50);
    QCOMPARE(player.url(), QString());
    QVERIFY(player.playState() != MediaPlayer::Playing);
    auto recorder = startRecording();
    QVERIFY2(recorder, "parec recorded nothing");

    player.setVolume(volume);
    const double start = recorder->position();
    player.setUrl(path);
    if (playAfterPut)
        player.play();
    QCOMPARE(player.url(), path);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(MediaPlayer::Playing), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(player.playState() != MediaPlayer::Playing, 10000);
    const int endState = player.playState();
    waitSeconds(*recorder, Latency);
    recorder->stop();

    const double end = recorder->position();
    const double sounding = recorder->soundingSeconds(start, end);
    const double level = recorder->soundingLevelDbfs(start, end);
    const double peak = recorder->peakWindowDbfs(start, end);
    qInfo("%s at volume %d: %.1f s sounding, level %.1f dBFS (peak window %.1f), end state %d",
          qPrintable(file), volume, sounding, level, peak, endState);
    QCOMPARE(player.url(), path);
    if (volume == 0) {
        QVERIFY2(peak < SilentBelow, "sound came out at volume 0");
        return;
    }
    const double expected = ToneDbfs + gainDb(volume);
    QVERIFY2(std::abs(level - expected) < LevelTolerance,
             qPrintable(QStringLiteral("level %1 dBFS, expected about %2")
                                .arg(level, 0, 'f', 1)
                                .arg(expected, 0, 'f', 1)));
    // The whole file and only once: neither cut short nor started twice.
    QVERIFY2(sounding > 0.7 * ToneSeconds && sounding < 1.5 * ToneSeconds,
             qPrintable(QStringLiteral("sounded %1 s").arg(sounding)));
}

void TestQtMediaPlayer::volumeTakesEffectDuringPlayback_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("50 to 0 silences at once") << 50 << 0;
    QTest::newRow("0 to 50 sounds at once") << 0 << 50;
    QTest::newRow("100 to 50 softens at once") << 100 << 50;
}

void TestQtMediaPlayer::volumeTakesEffectDuringPlayback()
{
    QFETCH(int, before);
    QFETCH(int, after);
    QtMediaPlayer player;
    auto recorder = startRecording();
    QVERIFY2(recorder, "parec recorded nothing");

    player.setVolume(before);
    player.setUrl(makeTone(QStringLiteral("tone4.wav"), 4.0));
    waitSeconds(*recorder, 1.5);
    const double change = recorder->position();
    player.setVolume(after);
    QCOMPARE(player.volume(), after);
    waitSeconds(*recorder, 1.5);
    QCOMPARE(player.playState(), int(MediaPlayer::Playing));
    player.stop();
    recorder->stop();

    const double levelBefore = recorder->rmsDbfs(change - 0.9, change);
    const double levelAfter = recorder->rmsDbfs(change + Latency, change + 1.4);
    qInfo("volume %d: %.1f dBFS, then volume %d: %.1f dBFS", before, levelBefore, after,
          levelAfter);
    for (const auto &[volume, level] : { std::pair(before, levelBefore), { after, levelAfter } }) {
        if (volume == 0) {
            QVERIFY2(level < SilentBelow, qPrintable(QStringLiteral("%1 dBFS at 0").arg(level)));
        } else {
            const double expected = ToneDbfs + gainDb(volume);
            QVERIFY2(std::abs(level - expected) < LevelTolerance,
                     qPrintable(QStringLiteral("%1 dBFS at volume %2, expected about %3")
                                        .arg(level, 0, 'f', 1)
                                        .arg(volume)
                                        .arg(expected, 0, 'f', 1)));
        }
    }
}

void TestQtMediaPlayer::stopPlayAndUnload()
{
    const QString path = makeTone(QStringLiteral("tone4.wav"), 4.0);
    QtMediaPlayer player;
    auto recorder = startRecording();
    QVERIFY2(recorder, "parec recorded nothing");

    player.setUrl(path);
    waitSeconds(*recorder, 1.0);
    const double stopped = recorder->position();
    player.stop();
    QVERIFY(player.playState() != MediaPlayer::Playing);
    QCOMPARE(player.url(), path);
    waitSeconds(*recorder, 1.2);

    const double replayed = recorder->position();
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(MediaPlayer::Playing), 2000);
    waitSeconds(*recorder, 1.2);

    const double unloaded = recorder->position();
    player.setUrl(QString());
    QCOMPARE(player.url(), QString());
    QVERIFY(player.playState() != MediaPlayer::Playing);
    player.play(); // nothing loaded: must stay silent
    waitSeconds(*recorder, 1.2);
    QVERIFY(player.playState() != MediaPlayer::Playing);
    recorder->stop();

    const double playing = recorder->rmsDbfs(stopped - 0.5, stopped);
    const double afterStop = recorder->peakWindowDbfs(stopped + Latency, replayed);
    const double afterPlay = recorder->rmsDbfs(replayed + Latency, unloaded);
    const double afterUnload = recorder->peakWindowDbfs(unloaded + Latency, unloaded + 1.2);
    qInfo("playing %.1f, stopped %.1f, played again %.1f, unloaded %.1f dBFS", playing, afterStop,
          afterPlay, afterUnload);
    const double expected = ToneDbfs + gainDb(50);
    QVERIFY(std::abs(playing - expected) < LevelTolerance);
    QVERIFY(afterStop < SilentBelow);
    QVERIFY(std::abs(afterPlay - expected) < LevelTolerance);
    QVERIFY(afterUnload < SilentBelow);
}

void TestQtMediaPlayer::soundsAgain_data()
{
    QTest::addColumn<bool>("stopFirst");
    QTest::addColumn<bool>("putAgain");

    QTest::newRow("play after the end") << false << false;
    QTest::newRow("same path put after the end") << false << true;
    // The preview button: stop, then the same recording's path is put again and played.
    QTest::newRow("same path put after stop") << true << true;
}

void TestQtMediaPlayer::soundsAgain()
{
    QFETCH(bool, stopFirst);
    QFETCH(bool, putAgain);
    const QString path = makeTone(QStringLiteral("tone1.wav"), 1.0);
    QtMediaPlayer player;
    auto recorder = startRecording();
    QVERIFY2(recorder, "parec recorded nothing");

    player.setUrl(path);
    if (stopFirst) {
        waitSeconds(*recorder, 0.5);
        player.stop();
    }
    QTRY_VERIFY_WITH_TIMEOUT(player.playState() != MediaPlayer::Playing, 10000);
    waitSeconds(*recorder, Latency);
    const double again = recorder->position();
    if (putAgain)
        player.setUrl(path);
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(MediaPlayer::Playing), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(player.playState() != MediaPlayer::Playing, 10000);
    waitSeconds(*recorder, Latency);
    recorder->stop();
    const double sounding = recorder->soundingSeconds(again, recorder->position());
    qInfo("sounding again: %.1f s", sounding);
    QVERIFY2(sounding > 0.7 && sounding < 1.5, qPrintable(QStringLiteral("%1 s").arg(sounding)));
}

void TestQtMediaPlayer::brokenFileNeverPlays_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing file") << "missing";
    QTest::newRow("file that is not audio") << "garbage";
    QTest::newRow("folder named like a recording") << "folder";
}

void TestQtMediaPlayer::brokenFileNeverPlays()
{
    QFETCH(QString, kind);
    QString path = m_dir.filePath(kind + QStringLiteral(".mp3"));
    if (kind == QLatin1String("garbage")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray noise(20000, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        file.write(noise);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(m_dir.path()).mkpath(kind + QStringLiteral(".mp3")));
    }

    QtMediaPlayer player;
    auto recorder = startRecording();
    QVERIFY2(recorder, "parec recorded nothing");
    const double start = recorder->position();
    player.setUrl(path);
    player.play();
    QCOMPARE(player.url(), path);
    // The alert checks the call player five ticks after the start: it must be over by then.
    QTRY_VERIFY_WITH_TIMEOUT(player.playState() != MediaPlayer::Playing, 5000);
    waitSeconds(*recorder, 1.0);
    QVERIFY(player.playState() != MediaPlayer::Playing);
    recorder->stop();
    const double peak = recorder->peakWindowDbfs(start, recorder->position());
    qInfo("%s: state %d, peak window %.1f dBFS", qPrintable(kind), player.playState(), peak);
    QVERIFY(peak < SilentBelow);
}

QTEST_GUILESS_MAIN(TestQtMediaPlayer)
#include "tst_qtmediaplayer.moc"
