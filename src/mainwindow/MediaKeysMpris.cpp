// The media keys on Linux: while a call sounds the program is an MPRIS player on the session
// bus, "Tirvelon" playing the prayer's call, so the desktop's media keys and its media controls
// (with their stop button) reach it. Any of Stop, Pause and PlayPause stops the call.
#include "mainwindow/MediaKeys.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString ServiceName = QStringLiteral("org.mpris.MediaPlayer2.tirvelon");
const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

class MprisRoot : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ no)
    Q_PROPERTY(bool CanRaise READ no)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
public:
    explicit MprisRoot(QObject *holder)
        : QDBusAbstractAdaptor(holder)
    { }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Tirvelon"); }
    QStringList none() const { return {}; }
public slots:
    void Raise() { }
    void Quit() { }
};

class MprisPlayer : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(double Volume READ one)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanControl READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanPlay READ no)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanGoNext READ no)
    Q_PROPERTY(bool CanGoPrevious READ no)
public:
    MprisPlayer(QObject *holder, MediaKeys &keys)
        : QDBusAbstractAdaptor(holder)
        , m_keys(keys)
    { }
    QString title;

    QString playbackStatus() const { return QStringLiteral("Playing"); }
    QVariantMap metadata() const
    {
        return { { QStringLiteral("mpris:trackid"),
                   QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/tirvelon/call"))) },
                 { QStringLiteral("xesam:title"), title },
                 { QStringLiteral("xesam:artist"), QStringList { QStringLiteral("Tirvelon") } } };
    }
    double one() const { return 1.0; }
    qlonglong position() const { return 0; }
    bool yes() const { return true; }
    bool no() const { return false; }

public slots:
    void Stop() { emit m_keys.stopPressed(); }
    void Pause() { emit m_keys.stopPressed(); }
    void PlayPause() { emit m_keys.stopPressed(); }
    void Play() { }
    void Next() { }
    void Previous() { }
    void Seek(qlonglong) { }
    void SetPosition(const QDBusObjectPath &, qlonglong) { }
    void OpenUri(const QString &) { }

private:
    MediaKeys &m_keys;
};

class MprisMediaKeys : public MediaKeys
{
public:
    ~MprisMediaKeys() override { release(); }

    void take(const QString &title) override
    {
        if (m_holder)
            return;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        m_holder = new QObject(this);
        new MprisRoot(m_holder);
        auto *player = new MprisPlayer(m_holder, *this);
        player->title = title;
        // A desktop without a session bus, or a name held by a copy that is ending, leaves the
        // call to the icon and Escape.
        if (!bus.registerObject(ObjectPath, m_holder, QDBusConnection::ExportAdaptors)
            || !bus.registerService(ServiceName)) {
            bus.unregisterObject(ObjectPath);
            delete m_holder;
            m_holder = nullptr;
        }
    }

    void release() override
    {
        if (!m_holder)
            return;
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(ServiceName);
        bus.unregisterObject(ObjectPath);
        // A slot of the holder's may be running: it goes once the bus is done with it.
        m_holder->deleteLater();
        m_holder = nullptr;
    }

private:
    QObject *m_holder = nullptr;
};

} // namespace

std::unique_ptr<MediaKeys> makeMediaKeys()
{
    return std::make_unique<MprisMediaKeys>();
}

#include "MediaKeysMpris.moc"
