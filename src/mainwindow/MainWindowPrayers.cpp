// Each prayer's own choices: the menu of its row, the moved times and their marks, and the
// order in which reached prayers and reminders get the strip.
#include "mainwindow/MainWindow.h"

#include "mainwindow/Clock.h"
#include "mainwindow/PrayerMenu.h"
#include "mainwindow/TimeOfDay.h"
#include "mainwindow/WakeTimer.h"
#include "presentation/Captions.h"
#include "presentation/Twips.h"
#include "presentation/VbLabel.h"
#include "settings/SettingsKeys.h"
#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <QComboBox>
#include <QGroupBox>

#include <algorithm>

using namespace PrayerRules;

namespace {
// A moved time is told at a glance: its digits turn dark blue, and the signed minutes stand
// in the same blue in the frame's margin left of the row (the margin is 16 pixels: "+30" fits
// at 8 pixels, bold).
const QColor MovedTimeColor(0x00, 0x00, 0xA0);
} // namespace

void MainWindow::putNamesLastInTabOrder()
{
    // After the last control that shows, not at the chain's start: a window opens with its
    // first control in focus, which must stay the one it always was.
    QWidget *anchor = nullptr;
    for (QWidget *w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() && w->parentWidget() != Frame1)
            anchor = w;
    for (int k = 12; k < 18; ++k) {
        QWidget::setTabOrder(anchor, LB[k]);
        anchor = LB[k];
    }
}

void MainWindow::buildPrayerMarks()
{
    m_timeColor = LB[0]->foreColor();
    for (int k = 0; k < 6; ++k) {
        auto *mark = new VbLabel(Frame1);
        mark->setObjectName(QStringLiteral("PrayerMark%1").arg(k));
        mark->setAccessibleDescription(QStringLiteral("PrayerMark(%1)").arg(k));
        mark->setGeometry(Twips::rect(0, 270 + 360 * k, 255, 255));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(8);
        font.setBold(true);
        mark->setFont(font);
        mark->setForeColor(MovedTimeColor);
        mark->setAlignment(Qt::AlignCenter);
        mark->hide();
        PrayerMark[k] = mark;
        // The context menu of a prayer opens on its time and on its name; the menu key opens
        // it on the name, which Tab reaches after every other control.
        LB[12 + k]->setFocusPolicy(Qt::TabFocus);
        for (VbLabel *row : { LB[k], LB[12 + k] }) {
            row->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(row, &QWidget::customContextMenuRequested, this,
                    [this, k, row](const QPoint &at) {
                        PrayerRow_ContextMenu(k, row->mapToGlobal(at));
                    });
        }
    }
    putNamesLastInTabOrder();
}

void MainWindow::loadPrayerChoices()
{
    for (int slot = 0; slot < 6; ++slot)
        PrayerChoices[slot] = readChoice(slot, m_settings.GetSetting(SettingsKeys::call(slot)),
                                         m_settings.GetSetting(SettingsKeys::minutes(slot)),
                                         m_settings.GetSetting(SettingsKeys::remind(slot)));
}

void MainWindow::showPrayerRows()
{
    const std::array<int, 6> moved = slotSeconds();
    const int language = Combo3->currentIndex();
    for (int k = 0; k < 6; ++k) {
        LB[k]->setText(SlotTimeText(wrappedMinutes(moved[k])));
        const int minutes = PrayerChoices[k].minutes;
        // Unmoved rows keep the label's own colour, exactly as before.
        LB[k]->setForeColor(minutes != 0 ? MovedTimeColor : m_timeColor);
        LB[k]->setToolTip(minutes != 0 ? Captions::prayerMovedTip(minutes, language) : QString());
        PrayerMark[k]->setText(minutes > 0 ? QStringLiteral("+%1").arg(minutes)
                                           : QString::number(minutes));
        PrayerMark[k]->setToolTip(LB[k]->toolTip());
        PrayerMark[k]->setVisible(minutes != 0);
    }
}

std::optional<DaySeconds> MainWindow::tableSeconds(const QDate &day) const
{
    const int row = findRowByPrefix(List1.rows(), DayKey(day));
    if (row < 0)
        return std::nullopt;
    return daySeconds(List1.rows().at(row), Combo1->currentIndex());
}

std::optional<int> MainWindow::movedDawnSeconds(const QDate &day) const
{
    const std::optional<DaySeconds> table = tableSeconds(day);
    if (!table)
        return std::nullopt;
    return movedSeconds((*table)[0], PrayerChoices[0].minutes);
}

void MainWindow::PrayerRow_ContextMenu(int slot, const QPoint &globalAt)
{
    std::optional<PrayerMenu::WakeOffer> wake;
    if (slot == 0 && m_platform.wakeTimer.isAvailable())
        wake = PrayerMenu::WakeOffer { wakeForDawn(), m_platform.wakeTimer.wakeTimersAllowed() };
    auto *menu = new PrayerMenu(slot, Combo3->currentIndex(), LB[12 + slot]->text(),
                                PrayerChoices[slot], LB[12 + slot]->font(), this, wake);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &PrayerMenu::modeChosen, this,
            [this, slot](CallMode mode) { PrayerMenu_ModeClick(slot, mode); });
    connect(menu, &PrayerMenu::minutesChosen, this,
            [this, slot](int minutes) { PrayerMenu_MinutesChange(slot, minutes); });
    connect(menu, &PrayerMenu::remindChosen, this,
            [this, slot](int minutes) { PrayerMenu_RemindClick(slot, minutes); });
    connect(menu, &PrayerMenu::wakeChosen, this, &MainWindow::PrayerMenu_WakeClick);
    menu->popup(globalAt);
}

// Each choice is kept at once, like the Hijri adjustment; the next tick detects with it.
void MainWindow::PrayerMenu_ModeClick(int slot, CallMode mode)
{
    PrayerChoices[slot].mode = mode;
    m_settings.SaveSetting(SettingsKeys::call(slot), int(mode));
}

void MainWindow::PrayerMenu_MinutesChange(int slot, int minutes)
{
    PrayerChoices[slot].minutes = qBound(-MinutesLimit, minutes, MinutesLimit);
    m_settings.SaveSetting(SettingsKeys::minutes(slot), PrayerChoices[slot].minutes);
    showPrayerRows();
    if (isNormalState())
        HighlightCurrentSlot();
}

void MainWindow::PrayerMenu_RemindClick(int slot, int minutes)
{
    PrayerChoices[slot].remind = reminderChoices().contains(minutes) ? minutes : 0;
    m_settings.SaveSetting(SettingsKeys::remind(slot), PrayerChoices[slot].remind);
}

Showing MainWindow::showing() const
{
    const QString &trigger = Label9.caption();
    if (trigger.size() > 4)
        return Showing::Call;
    if (SunriseCountdown > 0 || trigger == QLatin1String("  "))
        return Showing::Strip;
    if (trigger == ReminderStrip || trigger == CameStrip)
        return Showing::Reminder;
    return Showing::Nothing;
}

void MainWindow::takeEvent(const DueEvent &due, const QDateTime &moment)
{
    const Event &event = due.event;
    // What was taken is kept for two days after its own: a clock set back over a prayer
    // announced already (minutes or hours ago) must not announce it again.
    const QDate oldest = moment.date().addDays(-2);
    m_taken.erase(std::remove_if(m_taken.begin(), m_taken.end(),
                                 [&](const std::pair<Event, QDateTime> &taken) {
                                     return taken.first.day < oldest;
                                 }),
                  m_taken.end());
    for (const auto &taken : m_taken) {
        if (!taken.first.sameAs(event))
            continue;
        // Reached again at the second tick of its two: the strip it opened is renewed, as the
        // sunrise notice always was; nothing is started again. Only the very next second
        // renews: after a clock set back the call that ended stays ended.
        const qint64 age = taken.second.secsTo(moment);
        if (event.kind == EventKind::Arrival && due.due == Due::AtItsTime && age > 0 && age <= 2
            && m_shown && m_shown->sameAs(event) && showing() != Showing::Nothing)
            arrive(event.slot);
        return;
    }
    m_taken.append({ event, moment });
    m_pending.append(due);
}

void MainWindow::serveAnnouncements(qint64 now, const QDateTime &moment)
{
    // A later arrival never passes an earlier one that waits; a waiting reminder is passed.
    for (int i = 0; i < m_pending.size();) {
        const DueEvent due = m_pending.at(i);
        const Event &event = due.event;
        const Turn turn = turnOf(event, showing(), now);
        if (turn == Turn::Wait) {
            if (event.kind == EventKind::Arrival)
                return;
            ++i;
            continue;
        }
        m_pending.removeAt(i);
        if (turn == Turn::Drop)
            continue;
        if (event.kind == EventKind::Reminder)
            startReminder(event, moment);
        else if (due.due == Due::CameAt)
            startCameStrip(event);
        else
            startArrival(event);
    }
}

void MainWindow::closeSilentStrip()
{
    // A reminder, or the strip of a call that came, gives way to the prayer: its strip is
    // closed, the prayer's own is opened.
    if (showing() == Showing::Reminder) {
        ReminderCountdown = 0;
        Label9.setCaption(QString());
    }
}

void MainWindow::startArrival(const Event &event)
{
    closeSilentStrip();
    m_shown = event;
    AnnouncedTimeText = SlotTimeText(event.minutesOfDay);
    arrive(event.slot);
}

void MainWindow::startCameStrip(const Event &event)
{
    // Long after its call (the machine slept through it): silent, for a minute, saying when
    // the call came, while the prayer's time lasts.
    closeSilentStrip();
    m_shown = event;
    AnnouncedSlot = event.slot;
    AnnouncedTimeText = SlotTimeText(event.minutesOfDay);
    m_tipArrival = true;
    ReminderCountdown = StripTicks;
    Label9.setCaption(CameStrip);
}

void MainWindow::startReminder(const Event &event, const QDateTime &moment)
{
    m_shown = event;
    AnnouncedSlot = event.slot;
    m_reminderDue = moment.addSecs(event.arrivalAt - timeOfDaySeconds(moment.time()));
    ReminderCountdown = StripTicks;
    Label9.setCaption(ReminderStrip);
}

QString MainWindow::reminderStripText() const
{
    if (Label9.caption() != ReminderStrip || !m_shown)
        return QString();
    const int left = minutesLeft(0, moment().secsTo(m_reminderDue));
    return Captions::reminderStart(left, Combo3->currentIndex())
            + LB[12 + m_shown->slot]->text().simplified();
}

QString MainWindow::silentStripText() const
{
    if (Label9.caption() == CameStrip && m_shown)
        return Captions::callCame(LB[12 + m_shown->slot]->text().simplified(), AnnouncedTimeText,
                                  Combo3->currentIndex());
    return reminderStripText();
}
