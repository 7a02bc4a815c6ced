// The media keys on Windows: hot keys of the user-interface thread, registered while a call
// sounds. A hot key with no window comes as a thread message, which Qt's event dispatcher shows
// to the native event filters before dispatching it.
#include "mainwindow/MediaKeys.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace {

constexpr int StopKeyId = 0x5401;
constexpr int PlayPauseKeyId = 0x5402;
#ifndef MOD_NOREPEAT
constexpr UINT MOD_NOREPEAT = 0x4000;
#endif

class WindowsMediaKeys : public MediaKeys, public QAbstractNativeEventFilter
{
public:
    WindowsMediaKeys() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~WindowsMediaKeys() override
    {
        release();
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }

    void take(const QString &) override
    {
        if (m_taken)
            return;
        // A key another program holds as a hot key is simply not ours: the icon and Escape
        // still stop the call.
        m_stop = RegisterHotKey(nullptr, StopKeyId, MOD_NOREPEAT, VK_MEDIA_STOP);
        m_playPause = RegisterHotKey(nullptr, PlayPauseKeyId, MOD_NOREPEAT, VK_MEDIA_PLAY_PAUSE);
        m_taken = true;
    }

    void release() override
    {
        if (m_stop)
            UnregisterHotKey(nullptr, StopKeyId);
        if (m_playPause)
            UnregisterHotKey(nullptr, PlayPauseKeyId);
        m_stop = m_playPause = false;
        m_taken = false;
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "windows_dispatcher_MSG" && eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_HOTKEY
            || (msg->wParam != WPARAM(StopKeyId) && msg->wParam != WPARAM(PlayPauseKeyId)))
            return false;
        if (m_taken)
            emit stopPressed();
        return true;
    }

private:
    bool m_taken = false;
    bool m_stop = false;
    bool m_playPause = false;
};

} // namespace

std::unique_ptr<MediaKeys> makeMediaKeys()
{
    return std::make_unique<WindowsMediaKeys>();
}
