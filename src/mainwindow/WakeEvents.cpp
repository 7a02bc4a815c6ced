#include "mainwindow/WakeEvents.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(QT_DBUS_LIB)
#include <QDBusConnection>
#endif

class WakeEvents::Filter : public QAbstractNativeEventFilter
{
public:
    explicit Filter(WakeEvents &owner)
        : m_owner(owner)
    { }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
#ifdef Q_OS_WIN
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        const bool resumed = msg->message == WM_POWERBROADCAST
                && (msg->wParam == PBT_APMRESUMEAUTOMATIC || msg->wParam == PBT_APMRESUMESUSPEND);
        if (resumed || msg->message == WM_TIMECHANGE) {
            // Out of the window procedure first: the tick may open windows and play sound.
            QTimer::singleShot(0, &m_owner, [owner = &m_owner] { emit owner->woke(); });
        }
#else
        Q_UNUSED(eventType)
        Q_UNUSED(message)
#endif
        return false; // the windows still get their messages
    }

private:
    WakeEvents &m_owner;
};

WakeEvents::WakeEvents(QObject *parent)
    : QObject(parent)
    , m_filter(std::make_unique<Filter>(*this))
{
#ifdef Q_OS_WIN
    QCoreApplication::instance()->installNativeEventFilter(m_filter.get());
#elif defined(QT_DBUS_LIB)
    // No system bus, or no logind on it: the tick alone notices the wake.
    QDBusConnection::systemBus().connect(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
            this, SLOT(prepareForSleep(bool)));
#endif
}

WakeEvents::~WakeEvents()
{
#ifdef Q_OS_WIN
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(m_filter.get());
#endif
}

void WakeEvents::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit woke();
}
