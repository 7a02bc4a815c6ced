#pragma once

#include <QObject>

#include <memory>

// Tells the program at once that the machine woke up or that its clock was changed, so the
// next tick does not wait for a timer that the sleep or the step has put out of time. The
// tick's own rules hold without it: a missed event only costs up to a second.
//   Windows: WM_POWERBROADCAST (resumed automatically or by the user) and WM_TIMECHANGE, as the
//   program's windows receive them.
//   Linux: logind's PrepareForSleep(false) on the system bus, where there is one.
class WakeEvents : public QObject
{
    Q_OBJECT
public:
    explicit WakeEvents(QObject *parent = nullptr);
    ~WakeEvents() override;

signals:
    void woke();

private slots:
    void prepareForSleep(bool sleeping);

private:
    class Filter;
    std::unique_ptr<Filter> m_filter;
};
