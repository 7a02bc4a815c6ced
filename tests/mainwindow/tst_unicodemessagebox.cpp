// The wide-text message box: the title and icon rules, and the real box answering with the
// code of the button pressed.
#include "mainwindow/UnicodeMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class UnicodeMessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void requestRules_data();
    void requestRules();
    void realBoxReturnsButtonCode_data();
    void realBoxReturnsButtonCode();
};

void UnicodeMessageBoxTest::requestRules_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<int>("expectedStyle");
    QTest::addColumn<bool>("expectedOwner");
    QTest::newRow("empty title shows the application title")
            << 4 << QString() << false << true << "Sirvane" << 4 << true;
    QTest::newRow("own title kept") << 0 << "T" << false << true << "T" << 0 << true;
    QTest::newRow("no active window, no owner") << 0 << "T" << false << false << "T" << 0 << false;
    QTest::newRow("named icon replaces a question icon")
            << (4 | 0x20) << "T" << true << true << "T" << (4 | 0x80) << true;
    QTest::newRow("named icon replaces an information icon, default button kept")
            << (0x100 | 0x40) << "T" << true << true << "T" << (0x100 | 0x80) << true;
    QTest::newRow("no name keeps the requested icon")
            << (4 | 0x20) << "T" << false << true << "T" << (4 | 0x20) << true;
}

void UnicodeMessageBoxTest::requestRules()
{
    QFETCH(int, buttons);
    QFETCH(QString, title);
    QFETCH(bool, named);
    QFETCH(bool, active);
    QFETCH(QString, expectedTitle);
    QFETCH(int, expectedStyle);
    QFETCH(bool, expectedOwner);
    const std::optional<QString> icon
            = named ? std::optional<QString>(QString()) : std::optional<QString>();
    const UnicodeMessageBoxRequest request = makeUnicodeMessageBoxRequest(
            QStringLiteral("prompt"), buttons, title, icon, active, QStringLiteral("Sirvane"));
    QCOMPARE(request.title, expectedTitle);
    QCOMPARE(request.style, expectedStyle);
    QCOMPARE(request.hasOwner, expectedOwner);
    QCOMPARE(request.prompt, QStringLiteral("prompt"));
}

void UnicodeMessageBoxTest::realBoxReturnsButtonCode_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("expected");
    QTest::newRow("OK") << int(MbOk) << int(QMessageBox::Ok) << int(IdOk);
    QTest::newRow("Yes") << int(MbYesNo) << int(QMessageBox::Yes) << int(IdYes);
    QTest::newRow("No") << int(MbYesNo) << int(QMessageBox::No) << int(IdNo);
}

void UnicodeMessageBoxTest::realBoxReturnsButtonCode()
{
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(int, expected);
    QString shownTitle;
    QString shownText;
    QTimer::singleShot(50, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(top);
            if (!box || !box->isVisible())
                continue;
            shownTitle = box->windowTitle();
            shownText = box->text();
            box->button(QMessageBox::StandardButton(press))->click();
        }
    });
    const QString kurdish = QStringLiteral(" ئايه د") + QChar(0x06B5);
    QCOMPARE(UnicodeMessageBox(kurdish, buttons), expected);
    QCOMPARE(shownTitle, QStringLiteral("Sirvane"));
    QCOMPARE(shownText, kurdish);
}

QTEST_MAIN(UnicodeMessageBoxTest)
#include "tst_unicodemessagebox.moc"
