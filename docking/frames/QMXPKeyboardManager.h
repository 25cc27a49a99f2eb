#pragma once
// CQMXPKeyboardManager: the user's shortcut keys. They live in the
// accelerator tables of the document templates and of the main frame; the
// manager replaces those tables, resets them from the resources, keeps them
// in the registry, and answers what menus and tool bars ask: the key text of
// a command and whether a key is some frame's accelerator. The lookups are
// static and serve the menus whether a manager object exists or not.
#include "platform/classlib/String.h"

#include <windows.h>

class CFrameWnd;
class CMultiDocTemplate;

class CQMXPKeyboardManager {
public:
    CQMXPKeyboardManager();
    virtual ~CQMXPKeyboardManager();
    CQMXPKeyboardManager(const CQMXPKeyboardManager&) = delete;
    CQMXPKeyboardManager& operator=(const CQMXPKeyboardManager&) = delete;

    // A new table of the entries for the template (or, without one, for
    // the default frame, else the main window); FALSE and nothing swapped
    // when the table cannot be made or installed.
    BOOL UpdateAcceleratorTable(CMultiDocTemplate* pTemplate, LPACCEL lpAccel, int nSize,
                                CFrameWnd* pDefaultFrame = nullptr);
    // Every template's table and the main frame's again from the resources.
    BOOL ResetAll();
    // Below "<path>QMXKeyboard-<resource id>" (0 for the main frame): the
    // entries as "Accelerators", 6 bytes each. Always TRUE.
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, CFrameWnd* pDefaultFrame = nullptr);
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, CFrameWnd* pDefaultFrame = nullptr);

    // The key text of the first entry for the command in the frame's
    // default table; FALSE (text empty) when there is none.
    static BOOL FindDefaultAccelerator(UINT uiCmd, CString& str, CFrameWnd* pWndFrame, BOOL bIsDefaultFrame);
    // Whether the frame's default table has the key with those flags
    // (FNOINVERT does not count).
    static BOOL IsKeyHandled(WORD nKey, BYTE fVirt, CFrameWnd* pWndFrame, BOOL bIsDefaultFrame);
    // The character a key shows in menus: upper case, keypad digits and
    // (with the layout flag) letters through the keyboard layout.
    static UINT TranslateCharToUpper(UINT nChar);
    // Whether the key types a character (a letter, a digit, a sign, a
    // keypad digit) and so may be a menu item's letter: a function key's
    // code (F4 is 0x73, 's') is no letter.
    static BOOL IsCharacterKey(UINT nKey);

    // Installs the table for the template or the frame and destroys the old
    // one; the caches of key lookups are dropped.
    static BOOL UpdateAccelTable(CMultiDocTemplate* pTemplate, HACCEL hAccelNew, CFrameWnd* pDefaultFrame = nullptr);
    // Forgets the copies of tables the lookups keep.
    static void ClearCaches();

    // Letters go through the keyboard layout in key texts.
    static BOOL m_bUseKeyboardLayout;

protected:
    static BOOL SaveAcceleratorState(LPCWSTR lpszSection, UINT uiResId, HACCEL hAccelTable);
    static HACCEL LoadAcceleratorState(LPCWSTR lpszSection, UINT uiResId);
};

// The application's keyboard manager; none in this program.
extern CQMXPKeyboardManager* qmxKeyboardManager;
