#include "mainwindow/HijriMenu.h"

#include "presentation/Captions.h"
#include "settings/SettingsKeys.h"

#include <QActionGroup>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// Styles paint menu texts with the painter's direction, which is the application's (left to
// right): the items would sit at the left, away from their checks at the right.
class RightToLeftMenuStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element != CE_MenuItem) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        painter->setLayoutDirection(option->direction);
        QProxyStyle::drawControl(element, option, painter, widget);
        painter->restore();
    }
};

} // namespace

HijriMenu::HijriMenu(int language, int currentDays, const QFont &face, QWidget *parent)
    : QMenu(Captions::hijriAdjustTitle(language), parent)
{
    setObjectName(QStringLiteral("HijriMenu"));
    setLayoutDirection(Qt::RightToLeft);
    if (QStyle *base = QStyleFactory::create(QApplication::style()->name())) {
        auto *style = new RightToLeftMenuStyle(base);
        style->setParent(this);
        setStyle(style);
    }
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
