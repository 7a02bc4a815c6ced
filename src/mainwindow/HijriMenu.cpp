#include "mainwindow/HijriMenu.h"

#include "mainwindow/RightToLeftMenu.h"
#include "presentation/Captions.h"
#include "settings/SettingsKeys.h"

#include <QActionGroup>

HijriMenu::HijriMenu(int language, int currentDays, const QFont &face, QWidget *parent)
    : QMenu(Captions::hijriAdjustTitle(language), parent)
{
    setObjectName(QStringLiteral("HijriMenu"));
    makeRightToLeft(this);
    setFont(face);
    // A popup shows no title of its own: the first, inert item carries it.
    QAction *title = addAction(Captions::hijriAdjustTitle(language));
    title->setEnabled(false);
    addSeparator();
    auto *group = new QActionGroup(this);
    const SettingKey &range = SettingKeyTable::hijriAdjust();
    for (int days = range.minimum; days <= range.maximum; ++days) {
        QAction *item = addAction(Captions::hijriAdjustItem(days, language));
        item->setCheckable(true);
        item->setChecked(days == currentDays);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, days] { emit chosen(days); });
    }
}
