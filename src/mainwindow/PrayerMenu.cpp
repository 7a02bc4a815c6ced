#include "mainwindow/PrayerMenu.h"

#include "mainwindow/RightToLeftMenu.h"
#include "presentation/Captions.h"

#include <QActionGroup>
#include <QSpinBox>
#include <QWidgetAction>

namespace {

// Shows the sign of a later time too ("+2"), as the row's mark does.
class SignedSpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override
    {
        return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
    }
};

QString wakeItemText(int language)
{
    return language == 0 ? QStringLiteral("أيقظ الحاسوب لها")
                         : QStringLiteral("کۆمپیوتەرەکە بۆی بەئاگا بهێنە");
}

// Computers with Modern Standby may ignore the timer whatever the plan says.
QString wakeItemTip(int language)
{
    return language == 0
            ? QStringLiteral("قد لا يستيقظ الحاسوب إذا كان يعمل بوضع Modern Standby.")
            : QStringLiteral("ئەگەر کۆمپیوتەرەکە Modern Standby بێت، ڕەنگە بەئاگا نەیەت.");
}

QString wakeRefusedText(int language)
{
    return language == 0 ? QStringLiteral("مؤقتات التنبيه معطلة في خطة الطاقة، لن يستيقظ الحاسوب")
                         : QStringLiteral("کاتژمێری بەئاگاهێنان لە پلانی وزەدا ڕێگەی پێنەدراوە، "
                                          "کۆمپیوتەرەکە بەئاگا نایەت");
}

} // namespace

PrayerMenu::PrayerMenu(int slot, int language, const QString &prayerName,
                       const PrayerRules::PrayerChoice &current, const QFont &face, QWidget *parent,
                       std::optional<WakeOffer> wake)
    : QMenu(prayerName, parent)
{
    using PrayerRules::CallMode;
    setObjectName(QStringLiteral("PrayerMenu"));
    makeRightToLeft(this);
    setFont(face);
    // A popup shows no title of its own: the first, inert item carries the prayer's name.
    addHeading(prayerName.simplified());
    addSeparator();

    addHeading(Captions::prayerCallHeading(language));
    auto *modes = new QActionGroup(this);
    for (CallMode mode : PrayerRules::offeredModes(slot)) {
        QAction *item = addAction(Captions::prayerModeItem(int(mode), language));
        item->setCheckable(true);
        item->setChecked(mode == current.mode);
        modes->addAction(item);
        connect(item, &QAction::triggered, this, [this, mode] { emit modeChosen(mode); });
    }
    addSeparator();

    // A field rather than a submenu: sixty-one minutes would make a list taller than many
    // screens; the field takes the wheel, the arrows and typing, and shows the choice at once.
    addHeading(Captions::prayerMinutesHeading(language));
    m_minutes = new SignedSpinBox;
    m_minutes->setObjectName(QStringLiteral("PrayerMinutes"));
    m_minutes->setRange(-PrayerRules::MinutesLimit, PrayerRules::MinutesLimit);
    m_minutes->setValue(current.minutes);
    m_minutes->setSuffix(Captions::prayerMinutesSuffix(language));
    m_minutes->setLayoutDirection(Qt::LeftToRight);
    m_minutes->setAlignment(Qt::AlignCenter);
    auto *field = new QWidgetAction(this);
    field->setDefaultWidget(m_minutes);
    addAction(field);
    connect(m_minutes, &QSpinBox::valueChanged, this, &PrayerMenu::minutesChosen);
    addSeparator();

    addHeading(Captions::prayerRemindHeading(language));
    auto *reminders = new QActionGroup(this);
    for (int minutes : PrayerRules::reminderChoices()) {
        QAction *item = addAction(Captions::prayerRemindItem(minutes, language));
        item->setCheckable(true);
        item->setChecked(minutes == current.remind);
        reminders->addAction(item);
        connect(item, &QAction::triggered, this, [this, minutes] { emit remindChosen(minutes); });
    }

    if (!wake)
        return;
    addSeparator();
    setToolTipsVisible(true);
    m_wake = addAction(wakeItemText(language));
    m_wake->setObjectName(QStringLiteral("PrayerWake"));
    m_wake->setCheckable(true);
    m_wake->setChecked(wake->chosen);
    m_wake->setToolTip(wakeItemTip(language));
    connect(m_wake, &QAction::toggled, this, &PrayerMenu::wakeChosen);
    if (!wake->timersAllowed)
        addHeading(wakeRefusedText(language));
}

QAction *PrayerMenu::addHeading(const QString &text)
{
    QAction *heading = addAction(text);
    heading->setEnabled(false);
    return heading;
}
