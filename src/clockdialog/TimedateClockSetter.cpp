#include "clockdialog/TimedateClockSetter.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEventLoop>
#include <QStringList>

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.timedate1");
const QString objectPath = QStringLiteral("/org/freedesktop/timedate1");

// Answers that mean "this user may not": the password prompt was cancelled or denied, or the
// user has no rights at all. systemd's service turns a denied or dismissed prompt into
// AccessDenied; other services and polkit itself name it their own way.
bool isRefusal(const QString &errorName)
{
    static const QStringList refusals = {
        QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
        QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"),
        QStringLiteral("org.freedesktop.PolicyKit1.Error.NotAuthorized"),
        QStringLiteral("org.freedesktop.PolicyKit1.Error.Cancelled"),
        QStringLiteral("System.Error.EACCES"),
        QStringLiteral("System.Error.EPERM"),
    };
    // Anything else, the computer taking its time from the network included
    // (org.freedesktop.timedate1.AutomaticTimeSyncEnabled), is no matter of rights: the
    // settings, where that is switched off, are the way.
    return refusals.contains(errorName);
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
            return Result::Skipped;
    }

    const QDBusMessage reply = call.reply();
    if (reply.type() != QDBusMessage::ErrorMessage)
        return Result::Done;
    return isRefusal(reply.errorName()) ? Result::Refused : Result::Failed;
}
