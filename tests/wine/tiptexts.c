/* Prints the text of every tool tip window showing on this Wine desktop, UTF-8, each followed
 * by a record separator (0x1E). The tip of a notification-area icon is one: Wine's X11 driver
 * gives each docked icon a tool tip window of its own. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

static BOOL CALLBACK printTip(HWND window, LPARAM unused)
{
    wchar_t name[64];
    wchar_t text[1024];
    char utf8[4096];
    (void)unused;
    if (!GetClassNameW(window, name, 64) || lstrcmpiW(name, L"tooltips_class32") != 0
        || !IsWindowVisible(window))
        return TRUE;
    int length = (int)SendMessageW(window, WM_GETTEXT, 1024, (LPARAM)text);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8, NULL, NULL);
    fwrite(utf8, 1, bytes, stdout);
    fputc(0x1E, stdout);
    return TRUE;
}

int main(void)
{
    _setmode(_fileno(stdout), _O_BINARY);
    EnumWindows(printTip, 0);
    return 0;
}
