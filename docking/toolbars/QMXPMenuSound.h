#pragma once
// The menu sounds: "MenuCommand" when a command is chosen from a menu,
// "MenuPopup" when a popup menu opens, played on a thread of their own so
// that menus never wait for the sound device.
#include <windows.h>

// The requests of PlayMenuSound.
enum QMXPMenuSoundRequest {
    QMXP_SOUND_NOT_STARTED = -2,
    QMXP_SOUND_TERMINATE = -1,
    QMXP_SOUND_IDLE = 0,
    QMXP_SOUND_MENU_COMMAND = 1,
    QMXP_SOUND_MENU_POPUP = 2,
};

// Queues a sound for the sound thread (started on the first request); -1
// ends the thread.
void PlayMenuSound(int nSound);

// The request the sound thread has still to take (QMXP_SOUND_NOT_STARTED
// before the thread runs).
int QMXPGetMenuSoundRequest();
// The sound thread runs.
BOOL QMXPHasMenuSoundThread();

// The library-wide switch of the menu sounds; on at start.
extern BOOL qmxMenuSoundsEnabled;
