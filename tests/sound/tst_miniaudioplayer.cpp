// Plays real files through MiniaudioPlayer and SoundEngine into the default output and measures
// what came out by recording the default input. Under tests/harness both are the private
// PulseAudio's null sink and its monitor (on Linux through with_pulseaudio.py, the Windows build
// under Wine on the harness's desktop); elsewhere the test skips.
#include "SinkRecorder.h"
#include "sound/MiniaudioPlayer.h"
#include "sound/SoundEngine.h"
#include "sound/VolumeTaper.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

namespace {
// The test tones: sines of amplitude 0.5 on both channels read -9 dBFS at full volume.
constexpr double ToneDbfs = -9.03;
// Resampling and the MP3 encoding move levels by a dB or so; a wrong taper moves them by more.
constexpr double LevelTolerance = 6.0;
constexpr double SilentBelow = -70.0;
// From a call on a player to the sound in the recording; generous for a loaded machine.
constexpr double Latency = 0.6;
constexpr double Pi = 3.14159265358979323846;

double gainDb(int volume)
{
    return 20.0 * std::log10(double(VolumeTaper::gain(volume)));
}

double expectedDbfs(int volume)
{
    return ToneDbfs + gainDb(volume);
}

QString describe(double level, double expected)
{
    return QStringLiteral("%1 dBFS, expected about %2")
            .arg(level, 0, 'f', 1)
            .arg(expected, 0, 'f', 1);
}

struct Segment
{
    double seconds;
    double frequency;
};

// A 16-bit stereo WAV at 44100 Hz of sines one after the other, each starting at phase 0.
bool writeTones(const QString &path, const std::vector<Segment> &segments)
{
    constexpr int Rate = 44100;
    QByteArray pcm;
    for (const Segment &segment : segments) {
        const int frames = int(segment.seconds * Rate);
        for (int i = 0; i < frames; ++i) {
            const auto sample = qint16(
                    std::lround(0.5 * 32767.0 * std::sin(2.0 * Pi * segment.frequency * i / Rate)));
            char bytes[2];
            qToLittleEndian(sample, bytes);
            pcm.append(bytes, 2).append(bytes, 2);
        }
    }
    QByteArray header;
    const auto add32 = [&header](quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        header.append(bytes, 4);
    };
    const auto add16 = [&header](quint16 value) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        header.append(bytes, 2);
    };
    header.append("RIFF");
    add32(quint32(36 + pcm.size()));
    header.append("WAVEfmt ");
    add32(16);
    add16(1); // PCM
    add16(2);
    add32(Rate);
    add32(Rate * 4);
    add16(4);
    add16(16);
    header.append("data");
    add32(quint32(pcm.size()));
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
            && file.write(header + pcm) == header.size() + pcm.size();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

class TestMiniaudioPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void soundsAtOnceAtItsVolume_data();
    void soundsAtOnceAtItsVolume();
    void volumeTakesEffectDuringPlayback_data();
    void volumeTakesEffectDuringPlayback();
    void playAfterStopStartsFromTheBeginning_data();
    void playAfterStopStartsFromTheBeginning();
    void playAfterTheEndSoundsOnce_data();
    void playAfterTheEndSoundsOnce();
    void nothingLoadedIsSilent_data();
    void nothingLoadedIsSilent();
    void undecodableIsNeverPlaying_data();
    void undecodableIsNeverPlaying();
    void outputClosesWhenIdleAndReopens_data();
    void outputClosesWhenIdleAndReopens();
    void playersSoundTogether_data();
    void playersSoundTogether();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // Waits by recorded sound, not by wall time, so marks and measurements share one timeline;
    // false when the recording stalled.
    bool waitSeconds(double seconds);
    // Waits by recorded sound until the player is no longer playing; false if it still is.
    bool waitWhilePlaying(const MiniaudioPlayer &player, double maxSeconds);

    QString m_sink;
    QTemporaryDir m_dir;
    std::unique_ptr<SinkRecorder> m_recorder;
};

void TestMiniaudioPlayer::initTestCase()
{
    m_sink = qEnvironmentVariable("TIRVELON_PULSE_SINK");
    if (m_sink.isEmpty())
        QSKIP("needs the private PulseAudio of tests/harness (with_pulseaudio.py or its desktop)");
    QVERIFY(m_dir.isValid());

    QVERIFY(writeTones(file("tone1.wav"), { { 1.0, 440 } }));
    QVERIFY(writeTones(file("tone4.wav"), { { 4.0, 440 } }));
    QVERIFY(writeTones(file("tone4_1000.wav"), { { 4.0, 1000 } }));
    QVERIFY(writeTones(file("tone4_1500.wav"), { { 4.0, 1500 } }));
    QVERIFY(writeTones(file("steps.wav"), { { 1.0, 440 }, { 1.0, 660 } }));

    const QString data = qEnvironmentVariable("TIRVELON_SOURCE_DIR") + "/tests/sound/data/";
    QVERIFY2(QFile::copy(data + "tone1.mp3", file("tone1.mp3")), qPrintable(data));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("بانگ")));
    QVERIFY(QFile::copy(data + "tone1.mp3", file(QStringLiteral("بانگ/مؤذن.mp3"))));

    // What a user's data folder may hold that is not a recording, each named like one.
    QFile mp3(data + "tone1.mp3");
    QVERIFY(mp3.open(QIODevice::ReadOnly));
    // The encoder's tag frame (417 bytes) and part of the first frame of sound.
    QVERIFY(writeFile(file("cut.mp3"), mp3.read(600)));
    QVERIFY(writeFile(file("empty.mp3"), QByteArray()));
    QByteArray noise(20000, '\0');
    QRandomGenerator random(20240611);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    QVERIFY(writeFile(file("noise.mp3"), noise));
    QVERIFY(writeFile(file("text.mp3"),
                      "Fajr 05:12\nDhuhr 12:31\nAsr 15:48\nMaghrib 18:20\nIsha 19:45\n"));
    QVERIFY(QFile::copy(data + "tone1.ogg", file("vorbis.mp3")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.mp3")));

    m_recorder = std::make_unique<SinkRecorder>();
    QVERIFY2(m_recorder->start(), "the default input delivered no samples");
    qInfo("recording %s; gain at volume 50: %.1f dB, at 100: %.1f dB",
          qPrintable(m_recorder->deviceName()), gainDb(50), gainDb(100));
}

void TestMiniaudioPlayer::cleanupTestCase()
{
    if (m_recorder)
        m_recorder->stop();
}

bool TestMiniaudioPlayer::waitSeconds(double seconds)
{
    const double until = m_recorder->position() + seconds;
    QElapsedTimer guard;
    guard.start();
    while (m_recorder->position() < until) {
        if (guard.elapsed() > qint64(seconds * 1000) + 5000)
            return false;
        QTest::qWait(10);
    }
    return true;
}

bool TestMiniaudioPlayer::waitWhilePlaying(const MiniaudioPlayer &player, double maxSeconds)
{
    const double until = m_recorder->position() + maxSeconds;
    QElapsedTimer guard;
    guard.start();
    while (player.playState() == MediaPlayer::Playing) {
        if (m_recorder->position() >= until || guard.elapsed() > qint64(maxSeconds * 1000) + 5000)
            return false;
        QTest::qWait(10);
    }
    return true;
}

void TestMiniaudioPlayer::soundsAtOnceAtItsVolume_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("volume");

    QTest::newRow("wav at volume 50") << "tone1.wav" << 50;
    QTest::newRow("wav at volume 100") << "tone1.wav" << 100;
    QTest::newRow("wav is silent at volume 0") << "tone1.wav" << 0;
    QTest::newRow("mp3 at volume 50") << "tone1.mp3" << 50;
    QTest::newRow("mp3 at volume 100") << "tone1.mp3" << 100;
    QTest::newRow("mp3 is silent at volume 0") << "tone1.mp3" << 0;
    QTest::newRow("mp3 in a folder named in Arabic script")
            << QStringLiteral("بانگ/مؤذن.mp3") << 50;
}

void TestMiniaudioPlayer::soundsAtOnceAtItsVolume()
{
    QFETCH(QString, name);
    QFETCH(int, volume);
    const QString path = file(name);
    QVERIFY(MiniaudioPlayer::canDecode(path));

    SoundEngine engine;
    MiniaudioPlayer player(engine);
    QCOMPARE(player.volume(), 50);
    QCOMPARE(player.playState(), int(MiniaudioPlayer::Undefined));
    player.setVolume(volume);
    const double start = m_recorder->position();
    player.setUrl(path);
    QCOMPARE(player.playState(), int(MediaPlayer::Playing));
    QCOMPARE(player.url(), path);
    QVERIFY2(waitWhilePlaying(player, 5.0), "still playing a 1 s recording after 5 s");
    QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));
    QVERIFY(waitSeconds(Latency));
    const double end = m_recorder->position();

    const double sounding = m_recorder->soundingSeconds(start, end);
    const double level = m_recorder->soundingLevelDbfs(start, end);
    const double onset = m_recorder->onsetSeconds(start, end);
    const double peak = m_recorder->peakWindowDbfs(start, end);
    const double gaps = onset < 0 ? 0.0 : m_recorder->gapSeconds(onset + 0.15, onset + 0.85);
    qInfo("%s at volume %d: %.1f s sounding, %.1f s after the path, level %.1f dBFS (peak "
          "window %.1f), gaps %.0f ms",
          qPrintable(name), volume, sounding, onset < 0 ? -1.0 : onset - start, level, peak,
          1000 * gaps);
    // The engine's tick has let go of the ended sound by now; it still reads as ended.
    QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));
    QCOMPARE(player.url(), path);
    if (volume == 0) {
        QVERIFY2(peak < SilentBelow, "sound came out at volume 0");
        return;
    }
    QVERIFY2(std::abs(level - expectedDbfs(volume)) < LevelTolerance,
             qPrintable(describe(level, expectedDbfs(volume))));
    QVERIFY2(onset >= start && onset - start < Latency,
             qPrintable(QStringLiteral("sound began %1 s after the path").arg(onset - start)));
    // The whole file and only once: neither cut short nor started twice.
    QVERIFY2(sounding > 0.7 && sounding < 1.5, qPrintable(QStringLiteral("%1 s").arg(sounding)));
}

void TestMiniaudioPlayer::volumeTakesEffectDuringPlayback_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("50 to 0 silences at once") << 50 << 0;
    QTest::newRow("0 to 50 sounds at once") << 0 << 50;
    QTest::newRow("100 to 50 softens at once") << 100 << 50;
    QTest::newRow("50 to 100 louder at once") << 50 << 100;
}

void TestMiniaudioPlayer::volumeTakesEffectDuringPlayback()
{
    QFETCH(int, before);
    QFETCH(int, after);
    SoundEngine engine;
    MiniaudioPlayer player(engine);

    player.setVolume(before);
    player.setUrl(file("tone4.wav"));
    QVERIFY(waitSeconds(1.5));
    const double change = m_recorder->position();
    player.setVolume(after);
    QCOMPARE(player.volume(), after);
    QVERIFY(waitSeconds(1.5));
    QCOMPARE(player.playState(), int(MediaPlayer::Playing));
    player.stop();

    const double levelBefore = m_recorder->rmsDbfs(change - 0.9, change);
    const double levelAfter = m_recorder->rmsDbfs(change + Latency, change + 1.4);
    qInfo("volume %d: %.1f dBFS, then volume %d: %.1f dBFS", before, levelBefore, after,
          levelAfter);
    for (const auto &[volume, level] : { std::pair(before, levelBefore), { after, levelAfter } }) {
        if (volume == 0) {
            QVERIFY2(level < SilentBelow, qPrintable(QStringLiteral("%1 dBFS at 0").arg(level)));
        } else {
            QVERIFY2(std::abs(level - expectedDbfs(volume)) < LevelTolerance,
                     qPrintable(describe(level, expectedDbfs(volume))));
        }
    }
}

void TestMiniaudioPlayer::playAfterStopStartsFromTheBeginning_data()
{
    QTest::addColumn<bool>("putAgain");

    QTest::newRow("play") << false;
    // The preview button: stop, then the same recording's path is put again.
    QTest::newRow("same path put again") << true;
}

void TestMiniaudioPlayer::playAfterStopStartsFromTheBeginning()
{
    QFETCH(bool, putAgain);
    // One second of 440 Hz, then one of 660 Hz: which one follows a restart tells where from.
    const QString path = file("steps.wav");
    SoundEngine engine;
    MiniaudioPlayer player(engine);

    const double start = m_recorder->position();
    player.setUrl(path);
    QVERIFY(waitSeconds(1.7));
    const double stopped = m_recorder->position();
    player.stop();
    QCOMPARE(player.playState(), int(MiniaudioPlayer::Stopped));
    QCOMPARE(player.url(), path);
    QVERIFY(waitSeconds(1.0));

    const double replayed = m_recorder->position();
    if (putAgain)
        player.setUrl(path);
    else
        player.play();
    QCOMPARE(player.playState(), int(MediaPlayer::Playing));
    QVERIFY2(waitWhilePlaying(player, 6.0), "still playing a 2 s recording after 6 s");
    QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));
    QVERIFY(waitSeconds(Latency));
    const double end = m_recorder->position();

    // Measured from where the sound began, whatever the output's latency.
    const double began = m_recorder->onsetSeconds(start, stopped);
    const double beforeStop = m_recorder->toneDbfs(began + 1.1, began + 1.5, 660);
    const double afterStop = m_recorder->peakWindowDbfs(stopped + Latency, replayed);
    const double onset = m_recorder->onsetSeconds(replayed, end);
    const double first440 = m_recorder->toneDbfs(onset + 0.1, onset + 0.8, 440);
    const double first660 = m_recorder->toneDbfs(onset + 0.1, onset + 0.8, 660);
    const double sounding = m_recorder->soundingSeconds(replayed, end);
    qInfo("660 Hz before stop %.1f, stopped %.1f dBFS; again from %.2f s: 440 Hz %.1f, 660 Hz "
          "%.1f dBFS, %.1f s sounding",
          beforeStop, afterStop, onset - replayed, first440, first660, sounding);
    const double expected = expectedDbfs(50);
    QVERIFY2(began >= start, "silent after the path");
    QVERIFY2(std::abs(beforeStop - expected) < LevelTolerance,
             qPrintable("not stopped in the second half: " + describe(beforeStop, expected)));
    QVERIFY2(afterStop < SilentBelow, "sound after stop");
    QVERIFY2(onset >= replayed, "silent after play");
    QVERIFY2(std::abs(first440 - expected) < LevelTolerance && first660 < first440 - 30,
             "did not start from the beginning");
    QVERIFY2(sounding > 1.7 && sounding < 2.5, qPrintable(QStringLiteral("%1 s").arg(sounding)));
}

void TestMiniaudioPlayer::playAfterTheEndSoundsOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("putAgain");

    QTest::newRow("wav played again") << "tone1.wav" << false;
    QTest::newRow("mp3 played again") << "tone1.mp3" << false;
    QTest::newRow("same path put again") << "tone1.mp3" << true;
}

void TestMiniaudioPlayer::playAfterTheEndSoundsOnce()
{
    QFETCH(QString, name);
    QFETCH(bool, putAgain);
    const QString path = file(name);
    SoundEngine engine;
    MiniaudioPlayer player(engine);

    player.setUrl(path);
    QVERIFY(waitWhilePlaying(player, 5.0));
    QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));
    QVERIFY(waitSeconds(Latency));
    QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));

    const double again = m_recorder->position();
    if (putAgain)
        player.setUrl(path);
    else
        player.play();
    QCOMPARE(player.playState(), int(MediaPlayer::Playing));
    QVERIFY(waitWhilePlaying(player, 5.0));
    QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));
    QVERIFY(waitSeconds(Latency));
    const double end = m_recorder->position();
    const double sounding = m_recorder->soundingSeconds(again, end);
    const double level = m_recorder->soundingLevelDbfs(again, end);
    qInfo("sounding again: %.1f s at %.1f dBFS", sounding, level);
    QVERIFY2(sounding > 0.7 && sounding < 1.5, qPrintable(QStringLiteral("%1 s").arg(sounding)));
    QVERIFY2(std::abs(level - expectedDbfs(50)) < LevelTolerance,
             qPrintable(describe(level, expectedDbfs(50))));
}

void TestMiniaudioPlayer::nothingLoadedIsSilent_data()
{
    QTest::addColumn<bool>("loadFirst");

    QTest::newRow("unloaded while playing") << true;
    QTest::newRow("never loaded") << false;
}

void TestMiniaudioPlayer::nothingLoadedIsSilent()
{
    QFETCH(bool, loadFirst);
    SoundEngine engine;
    MiniaudioPlayer player(engine);
    const double start = m_recorder->position();
    if (loadFirst) {
        player.setUrl(file("tone4.wav"));
        QVERIFY(waitSeconds(1.5));
    }

    const double unloaded = m_recorder->position();
    player.setUrl(QString());
    QCOMPARE(player.url(), QString());
    QCOMPARE(player.playState(), int(MiniaudioPlayer::Undefined));
    player.play();
    QCOMPARE(player.playState(), int(MiniaudioPlayer::Undefined));
    QVERIFY(waitSeconds(Latency + 1.0));
    QCOMPARE(player.playState(), int(MiniaudioPlayer::Undefined));

    const double before = m_recorder->rmsDbfs(unloaded - 0.5, unloaded);
    const double after = m_recorder->peakWindowDbfs(unloaded + Latency, m_recorder->position());
    qInfo("before %.1f dBFS, after unloading and play %.1f dBFS", before, after);
    if (loadFirst) {
        QVERIFY2(std::abs(before - expectedDbfs(50)) < LevelTolerance,
                 qPrintable(describe(before, expectedDbfs(50))));
    } else {
        QVERIFY(m_recorder->peakWindowDbfs(start, unloaded + Latency) < SilentBelow);
    }
    QVERIFY2(after < SilentBelow, "sound with nothing loaded");
}

void TestMiniaudioPlayer::undecodableIsNeverPlaying_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("empty file") << "empty.mp3";
    QTest::newRow("random bytes") << "noise.mp3";
    QTest::newRow("text file") << "text.mp3";
    QTest::newRow("ogg vorbis file") << "vorbis.mp3";
    QTest::newRow("mp3 cut to its first 600 bytes") << "cut.mp3";
    QTest::newRow("missing file") << "missing.mp3";
    QTest::newRow("folder") << "folder.mp3";
}

void TestMiniaudioPlayer::undecodableIsNeverPlaying()
{
    QFETCH(QString, name);
    const QString path = file(name);
    QVERIFY(!MiniaudioPlayer::canDecode(path));

    SoundEngine engine;
    MiniaudioPlayer player(engine);
    const double start = m_recorder->position();
    player.setUrl(path);
    // The alert reads the call player's state soon after the call starts: no waiting here.
    const int state = player.playState();
    QVERIFY(state != MediaPlayer::Playing);
    QCOMPARE(player.url(), path);
    player.play();
    QVERIFY(player.playState() != MediaPlayer::Playing);
    QVERIFY(waitSeconds(1.0));
    QVERIFY(player.playState() != MediaPlayer::Playing);
    const double peak = m_recorder->peakWindowDbfs(start, m_recorder->position());
    qInfo("%s: state %d, peak window %.1f dBFS", qPrintable(name), state, peak);
    QVERIFY(peak < SilentBelow);
}

void TestMiniaudioPlayer::outputClosesWhenIdleAndReopens_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("after the end") << "end";
    QTest::newRow("after stop") << "stop";
    QTest::newRow("after unloading") << "unload";
}

void TestMiniaudioPlayer::outputClosesWhenIdleAndReopens()
{
    QFETCH(QString, how);
    SoundEngine engine;
    MiniaudioPlayer player(engine);
    QVERIFY(!engine.isOpen());
    player.setUrl(file("tone1.wav"));
    QVERIFY(engine.isOpen());
    if (how == QLatin1String("end")) {
        QVERIFY(waitWhilePlaying(player, 5.0));
    } else {
        QVERIFY(waitSeconds(0.5));
        if (how == QLatin1String("stop"))
            player.stop();
        else
            player.setUrl(QString());
    }
    // The engine times its idle output by the wall clock, so the test does as well.
    QElapsedTimer idle;
    idle.start();
    QTest::qWait(SoundEngine::IdleCloseMs - 1000);
    QVERIFY2(engine.isOpen(), "closed a second before its time");
    QTRY_VERIFY_WITH_TIMEOUT(!engine.isOpen(), 3000);
    const qint64 closedAfter = idle.elapsed();

    const double reopened = m_recorder->position();
    player.setUrl(file("tone1.wav"));
    QVERIFY(engine.isOpen());
    QCOMPARE(player.playState(), int(MediaPlayer::Playing));
    QVERIFY(waitWhilePlaying(player, 5.0));
    QVERIFY(waitSeconds(Latency));
    const double end = m_recorder->position();
    const double sounding = m_recorder->soundingSeconds(reopened, end);
    const double level = m_recorder->soundingLevelDbfs(reopened, end);
    qInfo("closed %lld ms after the sound %s; on %s again %.1f s at %.1f dBFS", closedAfter,
          qPrintable(how), qPrintable(engine.backendName()), sounding, level);
    QVERIFY2(closedAfter >= SoundEngine::IdleCloseMs - 300,
             qPrintable(QStringLiteral("closed after %1 ms").arg(closedAfter)));
    QVERIFY2(sounding > 0.7 && sounding < 1.5, qPrintable(QStringLiteral("%1 s").arg(sounding)));
    QVERIFY2(std::abs(level - expectedDbfs(50)) < LevelTolerance,
             qPrintable(describe(level, expectedDbfs(50))));
}

void TestMiniaudioPlayer::playersSoundTogether_data()
{
    QTest::addColumn<int>("playing");

    QTest::newRow("two at once") << 2;
    QTest::newRow("three at once") << 3;
}

void TestMiniaudioPlayer::playersSoundTogether()
{
    QFETCH(int, playing);
    // As the program has them: preview, start-up and call on one output, each at its volume.
    // Far apart, so that a break in one tone does not read as another.
    const QString names[] = { "tone4.wav", "tone4_1000.wav", "tone4_1500.wav" };
    const double frequencies[] = { 440, 1000, 1500 };
    const int volumes[] = { 100, 50, 25 };
    SoundEngine engine;
    MiniaudioPlayer preview(engine);
    MiniaudioPlayer startup(engine);
    MiniaudioPlayer call(engine);
    MiniaudioPlayer *players[] = { &preview, &startup, &call };

    const double start = m_recorder->position();
    for (int i = 0; i < playing; ++i) {
        players[i]->setVolume(volumes[i]);
        players[i]->setUrl(file(names[i]));
    }
    QVERIFY(waitSeconds(1.5));
    const double stopped = m_recorder->position();
    preview.stop();
    QVERIFY(waitSeconds(1.5));
    for (int i = 1; i < playing; ++i)
        QCOMPARE(players[i]->playState(), int(MediaPlayer::Playing));
    const double end = m_recorder->position();
    for (MiniaudioPlayer *player : players)
        player->stop();
    qInfo("gaps in the sound: %.0f ms", 1000 * m_recorder->gapSeconds(start + Latency, end));

    for (int i = 0; i < playing; ++i) {
        const double together = m_recorder->toneDbfs(start + Latency, stopped, frequencies[i]);
        const double afterStop = m_recorder->toneDbfs(stopped + Latency, end, frequencies[i]);
        qInfo("%.0f Hz at volume %d: %.1f dBFS together, %.1f dBFS after the first stopped",
              frequencies[i], volumes[i], together, afterStop);
        QVERIFY2(std::abs(together - expectedDbfs(volumes[i])) < LevelTolerance,
                 qPrintable(describe(together, expectedDbfs(volumes[i]))));
        if (i == 0) {
            QVERIFY2(afterStop < SilentBelow, "the stopped player still sounds");
        } else {
            QVERIFY2(
                    std::abs(afterStop - expectedDbfs(volumes[i])) < LevelTolerance,
                    qPrintable("another's stop: " + describe(afterStop, expectedDbfs(volumes[i]))));
        }
    }
}

QTEST_GUILESS_MAIN(TestMiniaudioPlayer)
#include "tst_miniaudioplayer.moc"
