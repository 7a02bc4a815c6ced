#include "AssetFiles.h"

#include <QImage>
#include <QtTest>

// The pictures reach the program through the compiled-in resources, under fixed names.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void compiledIn_data();
    void compiledIn();
};

void TestResources::compiledIn_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         { "background", "icon", "pointer", "alert", "about_ar", "about_ku", "about_background" }) {
        QTest::addRow("%s.png", name) << QString(name) + ".png";
        QTest::addRow("%s@2x.png", name) << QString(name) + "@2x.png";
    }
}

void TestResources::compiledIn()
{
    QFETCH(QString, name);
    const QImage compiled(":/" + name);
    QVERIFY2(!compiled.isNull(), qPrintable(":/" + name + " is not in the program"));
    // The program carries the committed picture, not a stale copy.
    const QImage committed(assetPath("resources/" + name));
    QVERIFY(!committed.isNull());
    QCOMPARE(compiled, committed);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
