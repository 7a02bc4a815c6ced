#include "mainwindow/UserBusy.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

bool userIsBusy()
{
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (FAILED(SHQueryUserNotificationState(&state)))
        return false;
    return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN
            || state == QUNS_PRESENTATION_MODE;
}

#else
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>

namespace {

// GNOME's "Do Not Disturb" is its banners turned off.
bool gnomeBannersOff()
{
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        return false;
    QProcess process;
    process.start(gsettings,
                  { QStringLiteral("get"), QStringLiteral("org.gnome.desktop.notifications"),
                    QStringLiteral("show-banners") });
    if (!process.waitForFinished(1500)) {
        process.kill();
        process.waitForFinished(500);
        return false;
    }
    return process.exitCode() == 0
            && process.readAllStandardOutput().trimmed() == QByteArrayLiteral("false");
}

// Plasma's notification server (and others) say "Inhibited" while notifications are held back.
bool notificationsInhibited()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    // Asking a name nobody holds would start a notification server just for this question.
    if (!bus.isConnected() || !bus.interface()
        || !bus.interface()->isServiceRegistered(service).value())
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
            service, QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << service << QStringLiteral("Inhibited");
    const QDBusMessage reply = bus.call(ask, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

} // namespace

bool userIsBusy()
{
    return notificationsInhibited() || gnomeBannersOff();
}
#endif
