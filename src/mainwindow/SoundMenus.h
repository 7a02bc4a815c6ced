#pragma once

#include <QMenu>

// The menu of the muezzin list and the play button: a recording of the user's own for the
// muezzin now selected, for the dawn call and for the start-up sound, and the shipped one back
// for each that has one.
class RecordingMenu : public QMenu
{
    Q_OBJECT
public:
    struct Entry
    {
        QString name;    // the data file it stands for: "5.mp3", "7.mp3", "Wave.wav"
        QString heading; // the muezzin's name, the dawn call, the start-up sound
        bool own = false;
    };

    RecordingMenu(int language, const QList<Entry> &entries, const QFont &face, QWidget *parent);

signals:
    void chooseRequested(const QString &name);
    void shippedRequested(const QString &name);
};

// The volume slider's menu: how a call sounds while the user presents or is in a call.
class MeetingMenu : public QMenu
{
    Q_OBJECT
public:
    MeetingMenu(int language, int current, const QFont &face, QWidget *parent);

signals:
    void chosen(int choice);
};
