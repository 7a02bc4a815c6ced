#include "clockdialog/TimedateClockSetter.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEventLoop>

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.timedate1");
const QString objectPath = QStringLiteral("/org/freedesktop/timedate1");

// Answers that mean "not allowed now" rather than "broken": the user cancelled or lacks the
// rights, or the computer keeps its own time from the network.
bool isRefusal(const QString &errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.AccessDenied")
            || errorName
            == QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired")
            || errorName == QLatin1String("org.freedesktop.timedate1.AutomaticTimeSyncEnabled");
}

} // namespace

TimedateClockSetter::TimedateClockSetter(const QDBusConnection &bus, NowFunction now, int timeoutMs)
    : m_bus(bus)
    , m_now(std::move(now))
    , m_timeoutMs(timeoutMs)
{ }

SystemClockSetter::Result TimedateClockSetter::setTimeOfDay(const QTime &time)
{
    return setLocalDateTime(QDateTime(m_now().date(), time));
}

SystemClockSetter::Result TimedateClockSetter::setDate(const QDate &date)
{
    return setLocalDateTime(QDateTime(date, m_now().time()));
}

SystemClockSetter::Result TimedateClockSetter::setLocalDateTime(const QDateTime &local)
{
    if (!local.isValid())
        return Result::Failed;
    return callSetTime(local.toMSecsSinceEpoch() * 1000);
}

SystemClockSetter::Result TimedateClockSetter::callSetTime(qint64 usecUtc)
{
    if (!m_bus.isConnected())
        return Result::Failed;

    QDBusMessage message = QDBusMessage::createMethodCall(serviceName, objectPath, serviceName,
                                                          QStringLiteral("SetTime"));
    message << qlonglong(usecUtc) << false << true;
    message.setInteractiveAuthorizationAllowed(true);

    // Wait in a local loop rather than blocking: the password prompt may stay up for a while,
    // and the main window's clock must keep ticking meanwhile. User input waits, so the dialog
    // cannot be applied twice at once.
    QDBusPendingCall call = m_bus.asyncCall(message, m_timeoutMs);
    if (!call.isFinished()) {
        QDBusPendingCallWatcher watcher(call);
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        // The loop also ends when the program quits; nothing is left to show then.
        if (!call.isFinished())
            return Result::Refused;
    }

    const QDBusMessage reply = call.reply();
    if (reply.type() != QDBusMessage::ErrorMessage)
        return Result::Done;
    return isRefusal(reply.errorName()) ? Result::Refused : Result::Failed;
}
