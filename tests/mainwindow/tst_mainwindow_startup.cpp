// Start-up and shutdown on fakes: defaults of an empty store, the round trip of the choices,
// a hand-edited store, the second copy, the language switch and the city check.
#include "MainWindowRig.h"

#include "mainwindow/UnicodeMessageBox.h"
#include "presentation/GlyphButton.h"
#include "presentation/VbLabel.h"
#include "presentation/VolumeSlider.h"
#include "settings/SettingsKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QtTest>

namespace {
// What the language switch writes, as the user reads it: the eighteen captions in the order of
// CaptionedControls, then the muezzins and the cities.
const QStringList CaptionedControls = {
    QStringLiteral("LB(12)"), QStringLiteral("LB(13)"), QStringLiteral("LB(14)"),
    QStringLiteral("LB(15)"), QStringLiteral("LB(16)"), QStringLiteral("LB(17)"),
    QStringLiteral("LB(29)"), QStringLiteral("LB(30)"), QStringLiteral("LB(39)"),
    QStringLiteral("LB(31)"), QStringLiteral("LB(36)"), QStringLiteral("Frame1"),
    QStringLiteral("Frame2"), QStringLiteral("Check1"), QStringLiteral("Command2"),
    QStringLiteral("Label6"), QStringLiteral("Label5"), QStringLiteral("Label8"),
};
const QStringList KurdishCaptions = {
    QStringLiteral("بانگى بـــــهيانى"),
    QStringLiteral("شــــــروق"),
    QStringLiteral("بانگى نـــــيوةرِؤ"),
    QStringLiteral("بانگى عـــــهسر"),
    QStringLiteral("بانگى مـــهغريب"),
    QStringLiteral("بانگى عـــــيشاء"),
    QStringLiteral("ناوى شار"),
    QStringLiteral("بانگ بيژ"),
    QStringLiteral(" دهست بيكرد پيش چهند خولهكيك "),
    QStringLiteral("(+,-) دهنگ"),
    QStringLiteral("بهروارى هيجرى"),
    QStringLiteral(" كاتهكانى بانگ "),
    QStringLiteral("شوين و ناوى بانگ بيژهكان + بهرزو نزمى دهنگ"),
    QStringLiteral("كاربكات له كاتى سهرهتاى كومبيوتهر"),
    QStringLiteral("كات ژمير"),
    QStringLiteral("بهرنامهى Tirvelon"),
    QStringLiteral("دهربارهى بهرنامه"),
    QStringLiteral("زمــان"),
};
const QStringList ArabicCaptions = {
    QStringLiteral("أذان الصباح"),
    QStringLiteral("الشــــروق"),
    QStringLiteral("أذان الظهر"),
    QStringLiteral("أذان العصر"),
    QStringLiteral("أذان المغرب"),
    QStringLiteral("أذان العشاء"),
    QStringLiteral("اسم المدينة"),
    QStringLiteral("المؤذن"),
    QStringLiteral(" إبتداء قبل مدة الدقائق "),
    QStringLiteral("(+,-) صوت"),
    QStringLiteral("تاريخ الهجري"),
    QStringLiteral(" اوقات الصلاة "),
    QStringLiteral("الموقع و اسم المؤذن + تحكم الصوت"),
    QStringLiteral("بدء في حالة التشغيل الكمبيوتر "),
    QStringLiteral("الساعة"),
    QStringLiteral("برنامج Delkaro"),
    QStringLiteral("حولة البرنامج"),
    QStringLiteral("اللغة"),
};
const QStringList KurdishMuezzins = {
    QStringLiteral("بانگبيَژى مهككهى پيروَز"),    QStringLiteral("بانگبيَژى قاهيرة"),
    QStringLiteral("بانگبيَژ Halvendi"),         QStringLiteral("بانگبيَژى تركى"),
    QStringLiteral("بانگبيَژى مزگهوتى قوباء 1"), QStringLiteral("بانگبيَژى مدينهى مونهووهره"),
    QStringLiteral("بانگبيَژ Sormanek"),
};
const QStringList ArabicMuezzins = {
    QStringLiteral("مؤذن المكة المكرمة"), QStringLiteral("مؤذن القاهرة"),
    QStringLiteral("مؤذن Halvendi"),      QStringLiteral("مؤذن التركية"),
    QStringLiteral("مؤذن القباء 1"),      QStringLiteral("مؤذن المدينة المنورة"),
    QStringLiteral("مؤذن Sormanek"),
};
const QStringList KurdishCities = {
    QStringLiteral("ههوليَر"), QStringLiteral("نينوى"), QStringLiteral("سليمانية"),
    QStringLiteral("كركوك"),  QStringLiteral("دهوك"),
};
const QStringList ArabicCities = {
    QStringLiteral("اربيل"), QStringLiteral("نينوى"), QStringLiteral("سليمانية"),
    QStringLiteral("كركوك"), QStringLiteral("دهوك"),
};

QString captionOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    return QStringLiteral("<no caption>");
}

QStringList itemsOf(const QComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// Pixels of an image that stand out from the control's own dark face: light text or marks.
bool isLight(QRgb pixel)
{
    return qGray(pixel) > 0x90;
}

// The leftmost and rightmost columns of rect holding a pixel for which wanted() holds; -1 if none.
template<typename Wanted>
QPair<int, int> inkColumns(const QImage &image, const QRect &rect, Wanted wanted)
{
    int left = -1;
    int right = -1;
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (wanted(image.pixel(x, y))) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
    return { left, right };
}
} // namespace

class MainWindowStartupTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setUnicodeMessageBoxHandler({}); }
    void emptyStoreGivesDefaults();
    void secondStartWithLogonOnMinimises();
    void logonTurnedOffBySystemShowsOff();
    void choicesSurviveARestart();
    void everyUnloadSavesTheCurrentChoices();
    void handEditedStoreFallsBackToDefaults();
    void refusedWriteStopsSaveChoices();
    void secondCopyHandsOverAndEnds();
    void designStateBeforeLoad();
    void trayRecordAndTip();
    void captionsAndListsOfEachLanguage_data();
    void captionsAndListsOfEachLanguage();
    void languageSwitchKeepsCityAndMuezzin();
    void listTextsStartAtTheRight_data();
    void listTextsStartAtTheRight();
    void frameTitlesStartAtTheRight();
    void clockBandAndLogonBoxShow();
    void languageSwitchLeavesOtherControlsAlone();
    void cityBeyondTheTableIsRefused();
    void leadOfZeroLeavesDesignText();
};

void MainWindowStartupTest::emptyStoreGivesDefaults()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    QCOMPARE(w.Combo1->currentIndex(), 0);
    QCOMPARE(w.Combo2->currentIndex(), 5);
    QCOMPARE(w.VScroll1->value(), 0);
    QCOMPARE(w.Combo3->currentIndex(), 1);
    QCOMPARE(w.Slider1->value(), 50);
    QVERIFY(w.Check1->isChecked());
    // Ticking the box registered the program and remembered the choice.
    QCOMPARE(rig.logonStart.entry(), QStringLiteral("/opt/tirvelon/tirvelon"));
    QCOMPARE(rig.settings.stored(SettingsKeys::LogonStart), QStringLiteral("1"));
    // The first start is not minimised: "Salat-3" was empty when the timer was set.
    QCOMPARE(w.Timer2.interval(), 0);
    QCOMPARE(w.List1.listCount(), 366);
    QCOMPARE(w.List1.listIndex(), -1);
    QCOMPARE(w.HeavyLam, QString(QChar(0x06B5)));
    QCOMPARE(rig.startup.url(), QStringLiteral("/opt/tirvelon/Data/Wave.wav"));
    // Kurdish captions and lists, with the Kurdish face.
    QCOMPARE(w.Combo4->currentText(), QStringLiteral("Tahoma-K"));
    QCOMPARE(w.Combo2->itemText(5), KurdishMuezzins.at(5));
    QCOMPARE(w.LB[12]->text(), KurdishCaptions.at(0));
}

void MainWindowStartupTest::secondStartWithLogonOnMinimises()
{
    FakeSettingsBackend store;
    {
        MainWindowRig first(QDateTime(QDate(2026, 1, 1), QTime(9, 0)), &store);
        QVERIFY(first.load());
        first.window->close();
    }
    MainWindowRig second(QDateTime(QDate(2026, 1, 1), QTime(9, 5)), &store);
    QVERIFY(second.load());
    QCOMPARE(second.window->Timer2.interval(), 3000);
    // Every start writes the entry again with the current path.
    QCOMPARE(second.logonStart.writeCount(), 1);
    second.window->Timer2_Timer();
    QVERIFY(!second.window->isNormalState());
    QCOMPARE(second.window->Timer2.interval(), 0);
    // A later restore is not undone.
    second.window->RestoreMainWindow();
    QVERIFY(second.window->isNormalState());
    QVERIFY(!second.window->Timer2.isActive());
}

void MainWindowStartupTest::logonTurnedOffBySystemShowsOff()
{
    // Turned off in Task Manager after a start that registered the program.
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::LogonStart, QStringLiteral("1"));
    rig.logonStart.setState(LogonStartState::TurnedOff);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    QVERIFY(!w.Check1->isChecked());
    QCOMPARE(rig.logonStart.writeCount(), 0);
    QCOMPARE(w.Timer2.interval(), 0);
    QCOMPARE(rig.settings.stored(SettingsKeys::LogonStart), QStringLiteral("1"));

    // Ticking it asks for it again.
    w.Check1->setChecked(true);
    QCOMPARE(rig.logonStart.written(), QStringList({ QStringLiteral("/opt/tirvelon/tirvelon") }));
    QCOMPARE(rig.settings.stored(SettingsKeys::LogonStart), QStringLiteral("1"));
}

void MainWindowStartupTest::choicesSurviveARestart()
{
    FakeSettingsBackend store;
    {
        MainWindowRig first(QDateTime(QDate(2026, 1, 1), QTime(9, 0)), &store);
        QVERIFY(first.load());
        MainWindow &w = *first.window;
        w.Combo1->setCurrentIndex(3);
        w.Combo2->setCurrentIndex(1);
        w.VScroll1->setValue(7);
        w.Slider1->setValue(80);
        w.Combo3->setCurrentIndex(0);
        w.Check1->setChecked(false);
        w.close(); // a normal close unloads and saves
    }
    QCOMPARE(store.stored(SettingsKeys::City), QStringLiteral("3"));
    QCOMPARE(store.stored(SettingsKeys::LogonStart), QStringLiteral("0"));
    MainWindowRig second(QDateTime(QDate(2026, 1, 1), QTime(9, 5)), &store);
    QVERIFY(second.load());
    MainWindow &w = *second.window;
    QCOMPARE(w.Combo1->currentIndex(), 3);
    QCOMPARE(w.Combo2->currentIndex(), 1);
    QCOMPARE(w.VScroll1->value(), 7);
    QCOMPARE(w.LB0->text(), QStringLiteral("-7"));
    QCOMPARE(w.Slider1->value(), 80);
    QCOMPARE(w.Combo3->currentIndex(), 0);
    QCOMPARE(w.Combo2->currentText(), ArabicMuezzins.at(1));
    QVERIFY(!w.Check1->isChecked());
    QCOMPARE(second.logonStart.writeCount(), 0);
    QCOMPARE(w.Timer2.interval(), 0);
}

void MainWindowStartupTest::everyUnloadSavesTheCurrentChoices()
{
    // A session save whose logout was cancelled, then a change, then a normal close.
    MainWindowRig rig;
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Combo1->setCurrentIndex(2);
    w.Form_Unload();
    QCOMPARE(rig.settings.stored(SettingsKeys::City), QStringLiteral("2"));
    w.Combo1->setCurrentIndex(4);
    w.Slider1->setValue(30);
    w.Form_Unload();
    QCOMPARE(rig.settings.stored(SettingsKeys::City), QStringLiteral("4"));
    w.Combo1->setCurrentIndex(1);
    w.close();
    QCOMPARE(rig.settings.stored(SettingsKeys::City), QStringLiteral("1"));
    QCOMPARE(rig.settings.stored(SettingsKeys::Volume), QStringLiteral("30"));
}

void MainWindowStartupTest::handEditedStoreFallsBackToDefaults()
{
    FakeSettingsBackend store({ { SettingsKeys::City, QStringLiteral("9") },
                                { SettingsKeys::Muezzin, QStringLiteral("abc") },
                                { SettingsKeys::Lead, QStringLiteral("-3") },
                                { SettingsKeys::Language, QStringLiteral("0.4") },
                                { SettingsKeys::Volume, QStringLiteral("250") },
                                { SettingsKeys::LogonStart, QStringLiteral("yes") } });
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(9, 0)), &store);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    QCOMPARE(w.Combo1->currentIndex(), 0);
    QCOMPARE(w.Combo2->currentIndex(), 5);
    QCOMPARE(w.VScroll1->value(), 0);
    QCOMPARE(w.Combo3->currentIndex(), 0); // 0.4 reads as 0
    QCOMPARE(w.Slider1->value(), 50);
    QVERIFY(w.Check1->isChecked());
    QCOMPARE(w.Timer2.interval(), 0);
}

void MainWindowStartupTest::refusedWriteStopsSaveChoices()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    rig.settings.refuseWritesOf(SettingsKeys::Volume);
    rig.settings.resetCounts();
    rig.window->SaveChoices();
    QStringList written;
    for (const auto &write : rig.settings.writes())
        written << write.first;
    QCOMPARE(written, QStringList({ SettingsKeys::City, SettingsKeys::Muezzin }));
}

void MainWindowStartupTest::secondCopyHandsOverAndEnds()
{
    MainWindowRig rig;
    rig.instanceLock.setAnotherInstanceRunning(true);
    QVERIFY(!rig.load());
    QCOMPARE(
            rig.settings.writes(),
            (QList<QPair<QString, QString>>({ { SettingsKeys::Close, QStringLiteral("Close") } })));
    QCOMPARE(rig.window->List1.listCount(), 366); // the list was filled before the hand-over
    QVERIFY(!rig.window->isVisible());
    QVERIFY(!rig.window->trayIcon());
}

void MainWindowStartupTest::designStateBeforeLoad()
{
    MainWindowRig rig;
    MainWindow &w = *rig.window;
    QCOMPARE(w.size(), QSize(491, 272));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    for (int i = 0; i < MainForm::LabelCount; ++i)
        QCOMPARE(w.LB[i] != nullptr, i != MainForm::MissingLabel);
    QCOMPARE(w.LB[0]->text(), QStringLiteral("00:00:00 AM"));
    QCOMPARE(w.TimA1[3], QStringLiteral("0"));
    QCOMPARE(w.Combo1->currentIndex(), -1);
    QCOMPARE(w.Combo2->count(), 7);
    QCOMPARE(w.Combo2->itemText(5), QStringLiteral("بانگبيَژى مزگهوتى قوباء 2"));
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    // The rows line up: time, name and band of row k.
    for (int k = 0; k < 6; ++k) {
        QCOMPARE(w.LB[k]->y(), w.LB[12 + k]->y());
        QVERIFY(w.LB[11 - k]->geometry().contains(w.LB[k]->geometry().center()));
        QCOMPARE(w.LB[k]->parentWidget(), w.Frame1);
    }
    // Hidden controls stay hidden.
    for (int k = 18; k <= 23; ++k)
        QVERIFY(w.LB[k]->isHidden());
    QVERIFY(w.Combo4->isHidden());
    QCOMPARE(w.VScroll1->minimum(), 0);
    QCOMPARE(w.VScroll1->maximum(), 10);
}

void MainWindowStartupTest::trayRecordAndTip()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    const NotifyIconRecord &tray = rig.window->TrayIconData;
    QCOMPARE(tray.size, 88);
    QCOMPARE(tray.iconId, 1);
    QCOMPARE(tray.flags, 7);
    QCOMPARE(tray.callbackMessage, 512);
    QCOMPARE(tray.tip.size(), 128);
    QCOMPARE(tray.shownTip(), QStringLiteral("    Tirvelon\r\n  دوو كليك داگره  "));
    QVERIFY(tray.shownTip().startsWith(QStringLiteral("    Tirvelon\r\n")));
    QVERIFY(tray.tip.endsWith(QLatin1Char(' ')));
}

void MainWindowStartupTest::captionsAndListsOfEachLanguage_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("muezzins");
    QTest::addColumn<QStringList>("cities");
    QTest::addColumn<QString>("face");
    QTest::newRow("Kurdish") << "1" << KurdishCaptions << KurdishMuezzins << KurdishCities
                             << "Tahoma-K";
    QTest::newRow("Arabic") << "0" << ArabicCaptions << ArabicMuezzins << ArabicCities << "Tahoma";
}

void MainWindowStartupTest::captionsAndListsOfEachLanguage()
{
    QFETCH(QString, saved);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, muezzins);
    QFETCH(QStringList, cities);
    QFETCH(QString, face);
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::Language, saved);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    for (int i = 0; i < CaptionedControls.size(); ++i) {
        const auto *control = w.findChild<QWidget *>(CaptionedControls.at(i));
        QVERIFY2(control, qPrintable(CaptionedControls.at(i)));
        QCOMPARE(captionOf(control), captions.at(i));
        QCOMPARE(control->font().family(), face);
    }
    QCOMPARE(itemsOf(w.Combo2), muezzins);
    QCOMPARE(itemsOf(w.Combo1), cities);
    QCOMPARE(itemsOf(w.Combo3), QStringList({ QStringLiteral("عربي"), QStringLiteral("كوردى") }));
}

void MainWindowStartupTest::languageSwitchKeepsCityAndMuezzin()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    w.Combo1->setCurrentIndex(2);
    w.Combo2->setCurrentIndex(2);
    w.Command1->setText(QStringLiteral("<"));
    w.Combo3->setCurrentIndex(0);
    QCOMPARE(w.Combo1->currentIndex(), 2);
    QCOMPARE(w.Combo2->currentIndex(), 2);
    QCOMPARE(w.Combo2->currentText(), ArabicMuezzins.at(2));
    QCOMPARE(w.Combo1->itemText(0), ArabicCities.at(0));
    // The muezzin list's handler ran again: the preview button is reset.
    QCOMPARE(w.Command1->text(), QStringLiteral("4"));
    QCOMPARE(w.Combo4->currentText(), QStringLiteral("Tahoma"));
    QCOMPARE(w.Frame1->title(), ArabicCaptions.at(CaptionedControls.indexOf("Frame1")));
    QCOMPARE(w.Label8->text(), ArabicCaptions.last());
    QCOMPARE(w.LB[17]->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(MainForm::charset(w.LB[17]), 178);
    // And back: the same selections again.
    w.Combo3->setCurrentIndex(1);
    QCOMPARE(w.Combo2->currentIndex(), 2);
    QCOMPARE(w.Combo2->currentText(), KurdishMuezzins.at(2));
    QCOMPARE(w.Check1->text(), KurdishCaptions.at(CaptionedControls.indexOf("Check1")));
}

void MainWindowStartupTest::listTextsStartAtTheRight_data()
{
    QTest::addColumn<QString>("saved");
    QTest::newRow("Kurdish") << "1";
    QTest::newRow("Arabic") << "0";
}

void MainWindowStartupTest::listTextsStartAtTheRight()
{
    // Right-to-left text reads from the right edge; a long entry is cut at its end, so its
    // start stays in view and nothing runs into the arrow.
    QFETCH(QString, saved);
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::Language, saved);
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    for (QComboBox *list : { w.Combo1, w.Combo2, w.Combo3 }) {
        const int chosen = list->currentIndex();
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.subControls = QStyle::SC_All;
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        for (int i = 0; i < list->count(); ++i) {
            const QSignalBlocker quiet(list);
            list->setCurrentIndex(i);
            const QImage shown = list->grab().toImage();
            const QPair<int, int> ink = inkColumns(shown, field, isLight);
            const QString what = list->objectName() + QLatin1Char(' ') + list->itemText(i);
            QVERIFY2(ink.first >= 0, qPrintable(what));
            QVERIFY2(ink.second >= field.right() - 6,
                     qPrintable(what
                                + QStringLiteral(": ends at %1 of %2")
                                          .arg(ink.second)
                                          .arg(field.right())));
            QVERIFY2(ink.first > field.left() + 1,
                     qPrintable(what
                                + QStringLiteral(": starts at %1 of %2")
                                          .arg(ink.first)
                                          .arg(field.left())));
        }
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(chosen);
    }
}

void MainWindowStartupTest::frameTitlesStartAtTheRight()
{
    MainWindowRig rig;
    QVERIFY(rig.load());
    for (QGroupBox *frame : { rig.window->Frame1, rig.window->Frame2 }) {
        const QImage shown = frame->grab().toImage();
        const QPair<int, int> ink = inkColumns(shown, QRect(0, 0, frame->width(), 12),
                                               [](QRgb pixel) { return qGray(pixel) < 0x40; });
        // A right-to-left title starts at the right edge.
        QVERIFY2(ink.second >= frame->width() - 14,
                 qPrintable(frame->objectName()
                            + QStringLiteral(": title from %1 to %2 of %3")
                                      .arg(ink.first)
                                      .arg(ink.second)
                                      .arg(frame->width())));
    }
}

void MainWindowStartupTest::clockBandAndLogonBoxShow()
{
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::LogonStart, QStringLiteral("0"));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    // LB(32) shows as a light margin around the clock.
    const QImage window = w.grab().toImage();
    const QPoint margin = w.LB[32]->geometry().topLeft() + QPoint(1, 1);
    QVERIFY(!w.Label3->geometry().contains(margin));
    QCOMPARE(QColor(window.pixel(margin)), QColor(0xCC, 0xFF, 0xFB));
    // The unticked box can be told from the dark green around it.
    QVERIFY(!w.Check1->isChecked());
    QStyleOptionButton option;
    option.initFrom(w.Check1);
    const QRect box
            = w.Check1->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, w.Check1);
    const QImage check = w.Check1->grab().toImage();
    int light = 0;
    for (int x = box.left(); x <= box.right(); ++x)
        for (int y = box.top(); y <= box.bottom(); ++y)
            light += isLight(check.pixel(x, y)) ? 1 : 0;
    QVERIFY2(light >= box.width() * 2,
             qPrintable(QStringLiteral("%1 light pixels in the box").arg(light)));
}

void MainWindowStartupTest::languageSwitchLeavesOtherControlsAlone()
{
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    QVERIFY(rig.load());
    MainWindow &w = *rig.window;
    rig.tick();
    const QStringList phrases = [&] {
        QStringList p;
        for (int k = 18; k <= 23; ++k)
            p << w.LB[k]->text() + w.LB[k]->font().family();
        return p;
    }();
    const QString time = w.LB[0]->text() + w.LB[0]->font().family();
    for (int i = 0; i < 3; ++i)
        w.Combo3->setCurrentIndex(i % 2);
    QStringList after;
    for (int k = 18; k <= 23; ++k)
        after << w.LB[k]->text() + w.LB[k]->font().family();
    QCOMPARE(after, phrases);
    QCOMPARE(w.LB[0]->text() + w.LB[0]->font().family(), time);
    QCOMPARE(w.Label1->text(), QStringLiteral("X"));
    QCOMPARE(w.Label4->text(), QStringLiteral("__"));
}

void MainWindowStartupTest::cityBeyondTheTableIsRefused()
{
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    QVERIFY(rig.load());
    QList<UnicodeMessageBoxRequest> shown;
    setUnicodeMessageBoxHandler([&](const UnicodeMessageBoxRequest &request) {
        shown << request;
        return int(IdOk);
    });
    rig.window->Combo1->addItem(QStringLiteral("Zakho"));
    rig.window->Combo1->setCurrentIndex(5);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().prompt, QStringLiteral("ببووره شارى Zakhoم داخل نهكردووه "));
    QCOMPARE(shown.first().title, QStringLiteral("Sirvane"));
    QCOMPARE(shown.first().style, 0);
    QCOMPARE(rig.window->Combo1->currentIndex(), 0);
    rig.tick();
    QCOMPARE(rig.window->LB[0]->text(), QStringLiteral("06:02:00 AM"));
}

void MainWindowStartupTest::leadOfZeroLeavesDesignText()
{
    MainWindowRig rig;
    rig.settings.put(SettingsKeys::Lead, QStringLiteral("0"));
    QVERIFY(rig.load());
    QCOMPARE(rig.window->LB0->text(), QStringLiteral("0"));
    rig.window->VScroll1->setValue(10);
    QCOMPARE(rig.window->LB0->text(), QStringLiteral("-10"));
    rig.window->VScroll1->setValue(11);
    QCOMPARE(rig.window->VScroll1->value(), 10);
}

QTEST_MAIN(MainWindowStartupTest)
#include "tst_mainwindow_startup.moc"
