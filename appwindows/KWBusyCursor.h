#pragma once
// CKWBusyCursor: the cursor that tells the user the program is at work.
// While the user-interface thread does work the user waits for (a CWait
// scope), the wait cursor; while work goes on in the background and the
// windows answer (BeginBackground .. EndBackground), the arrow with the
// hourglass of "working in the background" (IDC_APPSTARTING). The main
// frame shows Current() over its client areas, and while it is not null
// every other window of the thread shows it over its client area too.
// User-interface thread only.
#include <windows.h>

class CKWBusyCursor {
public:
    class CWait {
    public:
        CWait();
        ~CWait();
        CWait(const CWait&) = delete;
        CWait& operator=(const CWait&) = delete;
    };

    static void BeginBackground();
    static void EndBackground();
    static bool IsBackgroundBusy();

    // The cursor the program's client areas show now; null when at rest.
    static HCURSOR Current();
    // Shows Current() at once where the pointer is over a window of this
    // thread; at rest, that window chooses its own cursor again.
    static void Refresh();
};
