/* Posts Windows' "resumed from sleep" message (WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC) to the
 * window titled "Tirvelon" each time a line arrives on standard input, and answers "posted" or
 * "no window" on standard output: started ahead, it posts at once when the test asks. */
#include <stdio.h>
#include <windows.h>

int main(void)
{
    char line[64];
    setvbuf(stdout, NULL, _IONBF, 0);
    while (fgets(line, sizeof line, stdin)) {
        HWND window = FindWindowW(NULL, L"Tirvelon");
        if (window && PostMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0))
            puts("posted");
        else
            puts("no window");
    }
    return 0;
}
