#include "AssetFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

// The recordings of Data/ must be playable sound of a sensible length; sox reads them.
class TestRecordings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playableAndAudible_data();
    void playableAndAudible();
    void everyMuezzinHasHisOwnRecording();
    void dataFolderStaysSmall();

private:
    // Runs sox's tool with the arguments; returns its standard output and error together.
    QString run(const QString &program, const QStringList &arguments);

    QString m_sox;
    QString m_soxi;
};

QString TestRecordings::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAll());
}

void TestRecordings::initTestCase()
{
    QVERIFY2(!assetPath("Data").isEmpty(), "TIRVELON_SOURCE_DIR is not set");
    m_sox = QStandardPaths::findExecutable("sox");
    m_soxi = QStandardPaths::findExecutable("soxi");
}

void TestRecordings::playableAndAudible_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("shortest");
    QTest::addColumn<double>("longest");
    for (int muezzin = 0; muezzin <= 6; ++muezzin)
        QTest::addRow("call of muezzin %d", muezzin)
                << QString("%1.mp3").arg(muezzin) << 10.0 << 40.0;
    QTest::newRow("dawn call") << "7.mp3" << 10.0 << 40.0;
    QTest::newRow("start-up chime") << "Wave.wav" << 1.0 << 2.0;
}

void TestRecordings::playableAndAudible()
{
    QFETCH(QString, name);
    QFETCH(double, shortest);
    QFETCH(double, longest);
    const QString path = assetPath("Data/" + name);
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    if (m_sox.isEmpty() || m_soxi.isEmpty())
        QSKIP("sox is not installed: cannot decode the recordings");

    bool ok = false;
    const double declared = run(m_soxi, { "-D", path }).trimmed().toDouble(&ok);
    QVERIFY2(ok, "soxi cannot read the file");
    QCOMPARE(run(m_soxi, { "-c", path }).trimmed(), QStringLiteral("1"));
    const QString rate = run(m_soxi, { "-r", path }).trimmed();
    QVERIFY2(rate == "22050" || rate == "44100", qPrintable(rate));

    // "stat" decodes the whole file: a file that breaks off early decodes shorter than its
    // header says, and the length that counts is the one heard.
    const QString stat = run(m_sox, { path, "-n", "stat" });
    const auto field = [&stat](const char *name) {
        const QRegularExpressionMatch m
                = QRegularExpression(QString(name) + ":\\s+([0-9.]+)").match(stat);
        return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
    };
    const double seconds = field("Length \\(seconds\\)");
    QVERIFY2(seconds >= shortest && seconds <= longest, qPrintable(QString::number(seconds)));
    QVERIFY2(qAbs(seconds - declared) < 0.5,
             qPrintable(QString("decodes %1 s of %2 s").arg(seconds).arg(declared)));
    const double rms = field("RMS\\s+amplitude");
    QVERIFY2(rms > 0.02, qPrintable(QString("RMS amplitude %1").arg(rms)));
}

void TestRecordings::everyMuezzinHasHisOwnRecording()
{
    // One file copied under eight names would pass every other check.
    QHash<QByteArray, QString> seen;
    for (int index = 0; index <= 7; ++index) {
        QFile file(assetPath(QString("Data/%1.mp3").arg(index)));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray digest
                = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        QVERIFY2(!seen.contains(digest),
                 qPrintable(file.fileName() + " is the same as " + seen.value(digest)));
        seen.insert(digest, file.fileName());
    }
}

void TestRecordings::dataFolderStaysSmall()
{
    qint64 total = 0;
    QDirIterator files(assetPath("Data"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        total += files.fileInfo().size();
    }
    QVERIFY(total > 0);
    QVERIFY2(total < 3 * 1024 * 1024, qPrintable(QString::number(total)));
}

QTEST_MAIN(TestRecordings)
#include "tst_recordings.moc"
