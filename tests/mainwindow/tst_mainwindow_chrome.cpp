// The window's chrome on fakes: the notification-area icon's messages, resizing, the close and
// minimise labels with their saves and looks, the exit question, and the logon start box.
#include "MainWindowRig.h"

#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"
#include "sound/AlertWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>

namespace {
const QDate NewYear(2026, 1, 1);
const int Noon = 736 * 60;
const QColor Red(0xFF, 0x00, 0x00);

QTime at(int seconds)
{
    return QTime(0, 0).addSecs(seconds);
}

using Writes = QList<QPair<QString, QString>>;

// A shown window at 10:00 (sunrise is the current slot), with today's times filled in.
void loadShown(MainWindowRig &rig)
{
    QVERIFY(rig.load());
    rig.tick();
    rig.window->show();
}

// Hidden into the notification area, with a stale mark on the night slot.
void hideIntoTray(MainWindowRig &rig)
{
    loadShown(rig);
    rig.window->setWindowState(Qt::WindowMinimized);
    QVERIFY(!rig.window->isVisible());
    rig.window->LB[1]->setBackColor(MainForm::NormalSlotColor);
    rig.window->LB[5]->setBackColor(MainForm::CurrentSlotColor);
}

int markedSlot(const MainWindow &w)
{
    for (int i = 0; i < 6; ++i)
        if (w.LB[i]->backColor() == MainForm::CurrentSlotColor)
            return i;
    return -1;
}

Writes savedChoices(const QString &city, const QString &muezzin, const QString &volume,
                    const QString &lead, const QString &language)
{
    return { { SettingsKeys::City, city },
             { SettingsKeys::Muezzin, muezzin },
             { SettingsKeys::Volume, volume },
             { SettingsKeys::Lead, lead },
             { SettingsKeys::Language, language } };
}

void setChoices(MainWindow &w)
{
    w.Combo1->setCurrentIndex(2);
    w.Combo2->setCurrentIndex(3);
    w.Slider1->setValue(70);
    w.VScroll1->setValue(4);
    w.Combo3->setCurrentIndex(0);
}
} // namespace

class MainWindowChromeTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setUnicodeMessageBoxHandler({}); }
    void iconMessages_data();
    void iconMessages();
    void trayActivationRestores_data();
    void trayActivationRestores();
    void backgroundMoveWithLeftButtonRestores();
    void restoreBringsACoveredWindowForward_data();
    void restoreBringsACoveredWindowForward();
    void resize_data();
    void resize();
    void minimisingOtherwiseOnlyHides();
    void closeLabelPressSavesThenAsks();
    void exitQuestionFollowsLanguage_data();
    void exitQuestionFollowsLanguage();
    void exitAnswer_data();
    void exitAnswer();
    void closeWaitsForAChangedPreview_data();
    void closeWaitsForAChangedPreview();
    void minimiseLabelStopsPreviewNotCall();
    void logonStartBox_data();
    void logonStartBox();
};

void MainWindowChromeTest::iconMessages_data()
{
    // The message number arrives in place of X, in twips.
    QTest::addColumn<bool>("previewPlaying");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("normal");
    QTest::addColumn<bool>("restored");
    QTest::newRow("double click shows") << false << 0 << 515 * 15 << true << false << false;
    QTest::newRow("twips beyond the pixel are dropped")
            << false << 0 << 515 * 15 + 14 << true << false << false;
    QTest::newRow("right release sets the normal state")
            << false << 0 << 517 * 15 << false << true << false;
    QTest::newRow("other message without button does nothing")
            << false << 0 << 512 * 15 << false << false << false;
    QTest::newRow("pointer over the icon restores")
            << false << 1 << 512 * 15 << true << true << true;
    QTest::newRow("double click on the icon restores")
            << false << 1 << 515 * 15 << true << true << true;
    QTest::newRow("right release on the icon restores")
            << false << 1 << 517 * 15 << true << true << true;
    QTest::newRow("nothing while a preview plays")
            << true << 1 << 515 * 15 << false << false << false;
}

void MainWindowChromeTest::iconMessages()
{
    QFETCH(bool, previewPlaying);
    QFETCH(int, button);
    QFETCH(int, x);
    QFETCH(bool, visible);
    QFETCH(bool, normal);
    QFETCH(bool, restored);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    hideIntoTray(rig);
    MainWindow &w = *rig.window;
    if (previewPlaying)
        MainWindowRig::setPlaying(rig.preview, true);
    const QString title = w.windowTitle();

    w.Form_MouseMove(button, 0, x, 0);
    QCOMPARE(w.isVisible(), visible);
    QCOMPARE(w.isNormalState(), normal);
    QCOMPARE(w.windowTitle(), restored ? QStringLiteral("1") : title);
    QCOMPARE(markedSlot(w), restored ? 1 : 5);
}

void MainWindowChromeTest::trayActivationRestores_data()
{
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::newRow("single click") << QSystemTrayIcon::Trigger;
    QTest::newRow("double click") << QSystemTrayIcon::DoubleClick;
    QTest::newRow("context menu") << QSystemTrayIcon::Context;
    QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick;
}

void MainWindowChromeTest::trayActivationRestores()
{
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    hideIntoTray(rig);
    QVERIFY(rig.window->trayIcon());
    emit rig.window->trayIcon()->activated(reason);
    QVERIFY(rig.window->isVisible());
    QVERIFY(rig.window->isNormalState());
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("1"));
    QCOMPARE(markedSlot(*rig.window), 1);
}

void MainWindowChromeTest::backgroundMoveWithLeftButtonRestores()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    loadShown(rig);
    MainWindow &w = *rig.window;
    const QString title = w.windowTitle();
    QMouseEvent hover(QEvent::MouseMove, QPointF(40, 200), w.mapToGlobal(QPointF(40, 200)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &hover);
    QCOMPARE(w.windowTitle(), title);
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, 200), w.mapToGlobal(QPointF(40, 200)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drag);
    QCOMPARE(w.windowTitle(), QStringLiteral("1"));
}

void MainWindowChromeTest::restoreBringsACoveredWindowForward_data()
{
    QTest::addColumn<bool>("secondStart");
    QTest::newRow("tray click") << false;
    QTest::newRow("second start") << true;
}

void MainWindowChromeTest::restoreBringsACoveredWindowForward()
{
    QFETCH(bool, secondStart);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    loadShown(rig);
    MainWindow &w = *rig.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget other;
    other.setGeometry(w.geometry());
    other.show();
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    if (secondStart) {
        rig.settings.put(SettingsKeys::Close, QStringLiteral("Close"));
        rig.tick();
    } else {
        emit w.trayIcon()->activated(QSystemTrayIcon::Trigger);
    }
    QTRY_COMPARE(QApplication::activeWindow(), &w);
}

void MainWindowChromeTest::resize_data()
{
    QTest::addColumn<Qt::WindowState>("state");
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("maximising is undone") << Qt::WindowMaximized << true << true << false;
    QTest::newRow("minimising hides into the tray") << Qt::WindowMinimized << true << false << true;
    QTest::newRow("without a tray the minimised window stays reachable")
            << Qt::WindowMinimized << false << true << true;
}

void MainWindowChromeTest::resize()
{
    QFETCH(Qt::WindowState, state);
    QFETCH(bool, trayAvailable);
    QFETCH(bool, visible);
    QFETCH(bool, minimised);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    rig.trayAvailable = trayAvailable;
    loadShown(rig);
    MainWindow &w = *rig.window;
    w.setWindowState(state);
    QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    QCOMPARE(bool(w.windowState() & Qt::WindowMinimized), minimised);
    QCOMPARE(w.isVisible(), visible);
    QCOMPARE(w.size(), QSize(491, 272));
    QCOMPARE(w.Image1->height(), w.height());
}

void MainWindowChromeTest::minimisingOtherwiseOnlyHides()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    loadShown(rig);
    MainWindow &w = *rig.window;
    w.Command1_Click();
    rig.preview.clearEvents();
    w.setWindowState(Qt::WindowMinimized); // from the taskbar, say
    QVERIFY(!w.isVisible());
    QVERIFY(rig.preview.isPlaying());
    QVERIFY(rig.preview.events().isEmpty());
    QCOMPARE(w.Command1->text(), QStringLiteral("<"));
    QVERIFY(w.alertWindow());
}

void MainWindowChromeTest::closeLabelPressSavesThenAsks()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    loadShown(rig);
    MainWindow &w = *rig.window;
    setChoices(w);
    QSignalSpy ended(&w, &MainWindow::endRequested);
    int asked = 0;
    Writes writesWhenAsked;
    setUnicodeMessageBoxHandler([&](const UnicodeMessageBoxRequest &) {
        ++asked;
        writesWhenAsked = rig.settings.writes();
        return int(IdNo);
    });
    rig.settings.resetCounts();

    QTest::mousePress(w.Label1, Qt::LeftButton);
    const Writes saved = savedChoices("2", "3", "70", "4", "0");
    QCOMPARE(rig.settings.writes(), saved);
    QCOMPARE(w.Label1->appearance(), 1);
    QCOMPARE(w.Label1->borderStyle(), 1);
    QCOMPARE(w.Label1->foreColor(), Red);
    QCOMPARE(asked, 0);

    QTest::mouseRelease(w.Label1, Qt::LeftButton);
    QCOMPARE(asked, 1);
    QCOMPARE(writesWhenAsked, saved);
    QCOMPARE(rig.settings.writes(), saved); // No saves nothing more
    QCOMPARE(w.Label1->appearance(), 0);
    QCOMPARE(w.Label1->borderStyle(), 0);
    QCOMPARE(w.Label1->foreColor(), Red);
    QCOMPARE(ended.count(), 0);
}

void MainWindowChromeTest::exitQuestionFollowsLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("question");
    QTest::newRow("Kurdish, with the heavy lam") << 1
                                                 << QStringLiteral(" ئايه د") + QChar(0x06B5)
                    + QStringLiteral("نيايت بهرنامهكه دابخهيت ");
    QTest::newRow("Arabic") << 0 << QStringLiteral("هل تريد الخروج من البرنامج ");
}

void MainWindowChromeTest::exitQuestionFollowsLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, question);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    loadShown(rig);
    rig.window->Combo3->setCurrentIndex(language);
    QList<UnicodeMessageBoxRequest> asked;
    setUnicodeMessageBoxHandler([&](const UnicodeMessageBoxRequest &request) {
        asked << request;
        return int(IdNo);
    });
    rig.window->Label1_Click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().prompt, question);
    QCOMPARE(asked.first().style, 4);
    QCOMPARE(asked.first().title, QStringLiteral("Sirvane"));
    QVERIFY(!asked.first().iconName.has_value());
}

void MainWindowChromeTest::exitAnswer_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("No leaves the call and the strip") << int(IdNo) << false;
    QTest::newRow("Yes clears the trigger and ends") << int(IdYes) << true;
    QTest::newRow("a box that failed is not Yes") << 0 << false;
}

void MainWindowChromeTest::exitAnswer()
{
    QFETCH(int, answer);
    QFETCH(bool, ends);
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    MainWindow &w = *rig.window;
    const QString path = w.Label9.caption();
    QVERIFY(w.alertWindow());
    QSignalSpy ended(&w, &MainWindow::endRequested);
    QString triggerAtEnd = QStringLiteral("not ended");
    connect(&w, &MainWindow::endRequested, this, [&] { triggerAtEnd = w.Label9.caption(); });
    rig.settings.resetCounts();
    setUnicodeMessageBoxHandler([&](const UnicodeMessageBoxRequest &) { return answer; });

    w.Label1_Click();
    QCOMPARE(ended.count(), ends ? 1 : 0);
    QCOMPARE(w.Label9.caption(), ends ? QString() : path);
    QCOMPARE(bool(w.alertWindow()), !ends);
    if (ends)
        QCOMPARE(triggerAtEnd, QString());
    // Ending saves nothing: the choices were saved when the button went down.
    QCOMPARE(rig.settings.writeCount(), 0);
}

void MainWindowChromeTest::closeWaitsForAChangedPreview_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<bool>("changeMuezzin");
    QTest::addColumn<bool>("asks");
    QTest::newRow("no preview asks") << false << false << true;
    QTest::newRow("a preview with the stop button asks") << true << false << true;
    QTest::newRow("a preview whose entry changed waits") << true << true << false;
}

void MainWindowChromeTest::closeWaitsForAChangedPreview()
{
    QFETCH(bool, preview);
    QFETCH(bool, changeMuezzin);
    QFETCH(bool, asks);
    MainWindowRig rig(QDateTime(NewYear, QTime(10, 0)));
    loadShown(rig);
    MainWindow &w = *rig.window;
    if (preview)
        w.Command1_Click();
    if (changeMuezzin)
        w.Combo2->setCurrentIndex(1);
    QCOMPARE(rig.preview.isPlaying(), preview);
    int asked = 0;
    setUnicodeMessageBoxHandler([&](const UnicodeMessageBoxRequest &) {
        ++asked;
        return int(IdYes);
    });
    QSignalSpy ended(&w, &MainWindow::endRequested);
    w.Label1_Click();
    QCOMPARE(asked, asks ? 1 : 0);
    QCOMPARE(ended.count(), asks ? 1 : 0);
}

void MainWindowChromeTest::minimiseLabelStopsPreviewNotCall()
{
    MainWindowRig rig(QDateTime(NewYear, QTime(12, 0)));
    QVERIFY(rig.load());
    rig.tickAt(at(Noon - 3));
    rig.tickAt(at(Noon));
    MainWindow &w = *rig.window;
    w.show();
    QVERIFY(rig.call.isPlaying());
    const QString call = rig.call.url();
    w.Command1_Click(); // a preview over the running call
    setChoices(w);
    rig.settings.resetCounts();
    rig.preview.clearEvents();
    rig.call.clearEvents();

    QTest::mousePress(w.Label4, Qt::LeftButton);
    QCOMPARE(rig.preview.events(), QStringList({ "url:" }));
    QVERIFY(!rig.preview.isPlaying());
    QCOMPARE(w.Label4->appearance(), 1);
    QCOMPARE(w.Label4->borderStyle(), 1);
    QCOMPARE(rig.settings.writes(), savedChoices("2", "3", "70", "4", "0"));
    QVERIFY(w.isVisible());

    QTest::mouseRelease(w.Label4, Qt::LeftButton);
    QVERIFY(w.windowState() & Qt::WindowMinimized);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.Label4->appearance(), 0);
    QCOMPARE(w.Label4->borderStyle(), 0);
    QCOMPARE(rig.preview.events(), QStringList({ "url:", "stop" }));
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    QVERIFY(!w.alertWindow());
    // The call sounds on; the tick closes its trigger when it ends.
    QVERIFY(rig.call.events().isEmpty());
    QVERIFY(rig.call.isPlaying());
    QCOMPARE(rig.call.url(), call);
    QCOMPARE(w.Label9.caption(), call);
}

void MainWindowChromeTest::logonStartBox_data()
{
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("remembered"); // null: "Salat-3" not written
    QTest::newRow("ticking writes the program's path") << true << false << "/opt/tirvelon/tirvelon"
                                                       << "1";
    QTest::newRow("unticking empties the entry") << false << false << ""
                                                 << "0";
    QTest::newRow("a refused entry is not remembered")
            << true << true << "/opt/tirvelon/tirvelon" << QString();
    QTest::newRow("a refused emptying is not remembered") << false << true << "" << QString();
}

void MainWindowChromeTest::logonStartBox()
{
    QFETCH(bool, tick);
    QFETCH(bool, refuse);
    QFETCH(QString, entry);
    QFETCH(QString, remembered);
    MainWindowRig rig;
    QVERIFY(rig.load()); // an empty store ticks the box
    MainWindow &w = *rig.window;
    if (tick)
        w.Check1->setChecked(false);
    rig.logonStart.setRefuse(refuse);
    rig.settings.resetCounts();
    const int before = rig.logonStart.writeCount();

    w.Check1->setChecked(tick);
    QCOMPARE(rig.logonStart.writeCount(), before + 1);
    QCOMPARE(rig.logonStart.written().last(), entry);
    if (remembered.isNull()) {
        QCOMPARE(rig.settings.writeCount(), 0);
    } else {
        QCOMPARE(rig.logonStart.entry(), entry);
        QCOMPARE(rig.settings.writes(), Writes({ { SettingsKeys::LogonStart, remembered } }));
    }
}

QTEST_MAIN(MainWindowChromeTest)
#include "tst_mainwindow_chrome.moc"
