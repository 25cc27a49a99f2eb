#pragma once
// CQMXPUserTool: an external program that the user runs from a menu or a
// tool bar under a command id of the user tools' range: its label, command,
// arguments and initial directory, and the command's icon.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <windows.h>

class CDC;

class CQMXPUserTool : public CObject {
    DECLARE_SERIAL(CQMXPUserTool)
public:
    CQMXPUserTool();
    ~CQMXPUserTool() override;

    // Label, command, arguments and initial directory as archive strings,
    // then the command id as 32 bits; a loaded command brings its icon.
    void Serialize(CArchive& ar) override;
    // The shell opens the command with the arguments in the initial
    // directory; FALSE for an empty command or when the shell fails.
    virtual BOOL Invoke();

    // A new command replaces the icon by its own; the same one keeps it.
    void SetCommand(const CString& strCmd);
    const CString& GetCommand() const { return m_strCommand; }
    HICON GetIcon() const { return m_hIcon; }

    // The icon at its own size, centred in the rectangle where it fits.
    void DrawToolIcon(CDC* pDC, const CRect& rectImage);
    // The icon on the button face, as a menu-image sized bitmap on the
    // clipboard; a message and FALSE when that fails.
    BOOL CopyIconToClipboard();

    CString m_strLabel;
    CString m_strArguments;
    CString m_strInitialDirectory;
    UINT m_uiCmdId;

protected:
    // The small shell icon of the command (a bare name is looked for on the
    // search path); the shared tool icon when there is none.
    virtual HICON LoadCommandIcon() const;
    virtual HICON LoadDefaultIcon() const;
    // Destroys the icon unless it is the shared one.
    virtual void DestroyToolIcon();

    CString m_strCommand;
    HICON m_hIcon;
};
