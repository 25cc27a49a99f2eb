#pragma once
// CCmdTarget: the base of every class that receives commands through a
// message map; also shows the wait cursor.
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/Object.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Looks for a handler of the command, update or notification in this
    // object's message map and calls it; TRUE when it was handled. nCode is
    // CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra the CCmdUI), a control
    // notification code, or MAKELONG(code, WM_NOTIFY) (pExtra an AFX_NOTIFY).
    // With pHandlerInfo the handler is only looked up and described there.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again after something (a message box) replaced it.
    void Restore();
};

// Wait-cursor nesting: 1 shows it, -1 takes one level away, 0 shows it again
// when it is on. The count belongs to the calling thread.
void AfxDoWaitCursor(int nCode);
