#pragma once
// CQMXPUserTool: an external program that the user runs from a menu or a
// tool bar under a command id of the user tools' range: its label, command,
// arguments and initial directory.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

class CDC;

class CQMXPUserTool : public CObject {
    DECLARE_DYNCREATE(CQMXPUserTool)
public:
    CQMXPUserTool();
    ~CQMXPUserTool() override;

    // The shell opens the command with the arguments in the initial
    // directory; FALSE for an empty command or when the shell fails.
    virtual BOOL Invoke();
    // The tool's icon centred in the rectangle (the library's tool icon).
    virtual void DrawToolIcon(CDC* pDC, const CRect& rectImage);

    CString m_strLabel;
    CString m_strArguments;
    CString m_strInitialDirectory;
    UINT m_uiCmdId;
    CString m_strCommand;
};
