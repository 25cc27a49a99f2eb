#pragma once
// CKeyAssign: the edit control of the keyboard customisation page that
// captures the key combination pressed in it and shows its text. The page
// reads IsKeyDefined and GetAccel, then calls ResetKey.
#include "docking/frames/QMXPKeyHelper.h"
#include "platform/classlib/Edit.h"

class CKeyAssign : public CEdit {
public:
    CKeyAssign();
    ~CKeyAssign() override;

    // Forgets the combination and empties the text.
    void ResetKey();
    BOOL IsKeyDefined() const { return m_bIsDefined; }
    const ACCEL& GetAccel() const { return m_Accel; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    void SetAccelFlag(BYTE bFlag, BOOL bOn);

    // A key other than a modifier was pressed: the combination is final.
    BOOL m_bIsDefined;
    ACCEL m_Accel;
    CQMXPKeyHelper m_Helper;
    // The focus came by a click, or the key that brought it here has been swallowed.
    BOOL m_bIsFocused;

    DECLARE_MESSAGE_MAP()
};
