#include "mainwindow/SoundMenus.h"

#include "mainwindow/RightToLeftMenu.h"
#include "presentation/SoundCaptions.h"

#include <QActionGroup>

namespace {
void addHeading(QMenu *menu, const QString &text)
{
    menu->addAction(text)->setEnabled(false);
}
} // namespace

RecordingMenu::RecordingMenu(int language, const QList<Entry> &entries, const QFont &face,
                             QWidget *parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("RecordingMenu"));
    makeRightToLeft(this);
    setFont(face);
    for (const Entry &entry : entries) {
        if (!actions().isEmpty())
            addSeparator();
        addHeading(this, entry.heading.simplified());
        const QString name = entry.name;
        connect(addAction(SoundCaptions::chooseItem(language)), &QAction::triggered, this,
                [this, name] { emit chooseRequested(name); });
        if (entry.own)
            connect(addAction(SoundCaptions::shippedItem(language)), &QAction::triggered, this,
                    [this, name] { emit shippedRequested(name); });
    }
}

MeetingMenu::MeetingMenu(int language, int current, const QFont &face, QWidget *parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("MeetingMenu"));
    makeRightToLeft(this);
    setFont(face);
    addHeading(this, SoundCaptions::meetingHeading(language));
    addSeparator();
    auto *group = new QActionGroup(this);
    for (int choice = 0; choice < 3; ++choice) {
        QAction *item = addAction(SoundCaptions::meetingItem(choice, language));
        item->setCheckable(true);
        item->setChecked(choice == current);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, choice] { emit chosen(choice); });
    }
}
