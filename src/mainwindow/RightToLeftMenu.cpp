#include "mainwindow/RightToLeftMenu.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

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

void makeRightToLeft(QMenu *menu)
{
    menu->setLayoutDirection(Qt::RightToLeft);
    if (QStyle *base = QStyleFactory::create(QApplication::style()->name())) {
        auto *style = new RightToLeftMenuStyle(base);
        style->setParent(menu);
        menu->setStyle(style);
    }
}
