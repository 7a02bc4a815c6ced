// An output that goes and comes, on a stand-in: an engine with no device whose frames we pull.
#include "sound/MiniaudioPlayer.h"
#include "sound/SoundEngine.h"

#include <miniaudio.h>
#include <QtTest>

using Event = OutputWatch::Event;
struct FakeOutput : SoundOutput
{
    FakeOutput()
    {
        ma_engine_config config = ma_engine_config_init();
        config.noDevice = MA_TRUE;
        config.channels = 2;
        config.sampleRate = 48000;
        ma_engine_init(&config, &mixer);
    }
    ~FakeOutput() override { ma_engine_uninit(&mixer); }
    ma_engine *engine() override { return &mixer; }
    void deliver(int ms)
    {
        std::vector<float> buffer(2 * 48 * ms);
        ma_engine_read_pcm_frames(&mixer, buffer.data(), 48 * ms, nullptr);
        addFrames(48 * ms);
    }
    ma_engine mixer;
};

class TestSoundOutput : public QObject
{
    Q_OBJECT
private slots:
    void call_data()
    {
        QTest::addColumn<bool>("noOutput");
        QTest::addColumn<int>("reroutedAt");
        QTest::addColumn<int>("startedAt");
        QTest::addColumn<int>("quietMs");
        QTest::addColumn<bool>("keeps");
        const int lost = SoundEngine::StallMs + 700;
        QTest::newRow("stopped, started again in time") << false << -1 << 1500 << 2000 << true;
        QTest::newRow("stopped, rerouted, started late") << false << 2000 << 3200 << 3500 << true;
        QTest::newRow("no frames for the stall time") << false << -1 << -1 << lost << false;
        QTest::newRow("rerouted, then no frames") << false << 500 << -1 << lost + 500 << false;
        QTest::newRow("no output, retried till it opens") << true << -1 << -1 << 0 << true;
        QTest::newRow("no output, stop gives up") << true << -1 << -1 << 2500 << false;
    }
    void call()
    {
        QFETCH(bool, noOutput);
        QFETCH(int, reroutedAt);
        QFETCH(int, startedAt);
        QFETCH(int, quietMs);
        QFETCH(bool, keeps);
        std::atomic<int> refusals { noOutput ? (keeps ? 3 : 1000) : 0 };
        FakeOutput *output = nullptr; // made on the engine's thread, read once handed over
        SoundEngine engine([&]() -> std::shared_ptr<SoundOutput> {
            auto made = refusals-- > 0 ? nullptr : std::make_shared<FakeOutput>();
            output = made.get();
            return made;
        });
        MiniaudioPlayer player(engine);
        QElapsedTimer clock;
        clock.start();
        player.setUrl(qEnvironmentVariable("TIRVELON_SOURCE_DIR") + "/tests/sound/data/tone1.mp3");
        if (noOutput) {
            QCOMPARE(player.playState(), int(MediaPlayer::WaitingForOutput));
            if (!keeps) {
                QTest::qWait(1500);
                player.stop();
                refusals = 0; // a try after the stop would open and play
            } else {
                QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(MediaPlayer::Playing), 5000);
                QVERIFY(qAbs(clock.elapsed() - 3 * SoundEngine::RetryMs) < 700);
            }
        }
        if (!noOutput || keeps) {
            QCOMPARE(player.playState(), int(MediaPlayer::Playing));
            output->deliver(500);
            output->note(Event::Stopped);
        }
        if (reroutedAt >= 0)
            QTimer::singleShot(reroutedAt, [&] { output->note(Event::Rerouted); });
        if (startedAt >= 0)
            QTimer::singleShot(startedAt, [&] { output->note(Event::Started); });
        QTest::qWait(quietMs);
        QCOMPARE(engine.isOpen(), keeps);
        QCOMPARE(player.playState(), keeps ? MediaPlayer::Playing : MiniaudioPlayer::Stopped);
        if (!keeps)
            return;
        // On from where it was, or from the start after a wait: it ends at 1000 ms, not before.
        output->deliver(400);
        QCOMPARE(player.playState(), int(MediaPlayer::Playing));
        output->deliver(200);
        QCOMPARE(player.playState(), int(MediaPlayer::MediaEnded));
    }
};

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "tst_soundoutput.moc"
