#pragma once
// CQMXPKeyHelper: the text of a keyboard accelerator as menus, tool tips and
// the customisation pages show it: the modifier names each followed by "+"
// (Control, Shift, Alt, in that order), then the key's name or character.
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

class CQMXPKeyHelper : public CObject {
public:
    // The accelerator is the caller's; none gives an empty text.
    explicit CQMXPKeyHelper(LPACCEL lpAccel = nullptr) : m_lpAccel(lpAccel) {}
    ~CQMXPKeyHelper() override = default;

    void SetAccelerator(LPACCEL lpAccel) { m_lpAccel = lpAccel; }
    void Format(CString& str) const;

    // The system's name of a virtual key in the current thread's keyboard
    // layout, lower case with its first letter upper case ("CTRL" reads
    // "Ctrl"); the navigation keys by their extended names.
    static CString GetKeyName(UINT uiVirtKey);

protected:
    LPACCEL m_lpAccel;
};
