#include "AssetFiles.h"

#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QtTest>

// The private font must load and carry every letter the Kurdish and Arabic captions use.
class TestFont : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsAsAnArabicFamily();
    void coversTheLetter_data();
    void coversTheLetter();
    void licenceTravelsWithIt();

private:
    QString m_path;
    QString m_family;
};

void TestFont::initTestCase()
{
    m_path = assetPath("Data/KCOURK.Fnt");
    QVERIFY2(QFile::exists(m_path), qPrintable(m_path));
}

void TestFont::loadsAsAnArabicFamily()
{
    const int id = QFontDatabase::addApplicationFont(m_path);
    QVERIFY(id >= 0);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY(!families.isEmpty());
    m_family = families.first();
    QVERIFY(QFontDatabase::writingSystems(m_family).contains(QFontDatabase::Arabic));
}

void TestFont::coversTheLetter_data()
{
    QTest::addColumn<uint>("codePoint");
    // The Sorani letters beyond Arabic, and the Persian letters Sorani shares.
    QTest::newRow("rreh U+0695") << 0x0695u;
    QTest::newRow("heavy lam U+06B5") << 0x06B5u;
    QTest::newRow("oe U+06C6") << 0x06C6u;
    QTest::newRow("yeh with small v U+06CE") << 0x06CEu;
    QTest::newRow("ae U+06D5") << 0x06D5u;
    QTest::newRow("heh doachashmee U+06BE") << 0x06BEu;
    QTest::newRow("veh U+06A4") << 0x06A4u;
    QTest::newRow("gaf U+06AF") << 0x06AFu;
    QTest::newRow("tcheh U+0686") << 0x0686u;
    QTest::newRow("peh U+067E") << 0x067Eu;
    QTest::newRow("jeh U+0698") << 0x0698u;
    QTest::newRow("farsi yeh U+06CC") << 0x06CCu;
    QTest::newRow("Arabic comma U+060C") << 0x060Cu;
    QTest::newRow("tatweel U+0640") << 0x0640u;
}

void TestFont::coversTheLetter()
{
    QFETCH(uint, codePoint);
    const QRawFont font(m_path, 16);
    QVERIFY(font.isValid());
    QVERIFY(font.supportsCharacter(codePoint));
    // The family the program asks for, not just the file, must give the letter.
    QVERIFY(!m_family.isEmpty());
    const QRawFont byFamily = QRawFont::fromFont(QFont(m_family), QFontDatabase::Arabic);
    QVERIFY(byFamily.supportsCharacter(codePoint));
}

void TestFont::licenceTravelsWithIt()
{
    QFile licence(assetPath("Data/KCOURK-LICENSE.txt"));
    QVERIFY(licence.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(licence.readAll());
    QVERIFY(text.contains("SIL OPEN FONT LICENSE Version 1.1"));
    QVERIFY(text.contains("Copyright"));
    QVERIFY(text.contains("PERMISSION & CONDITIONS"));
}

QTEST_MAIN(TestFont)
#include "tst_font.moc"
