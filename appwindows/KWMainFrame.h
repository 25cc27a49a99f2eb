#pragma once
// CKWMainFrame: the framework's main window. On creation the application
// makes its tool bars and status bar in it and it gets its menu bar;
// closing it during a print preview closes only the preview; and the
// shell's DDE commands that arrive while it is disabled (a modal dialog,
// the start-up) are queued until the application carries them out.
#include "appwindows/KWWinMainFrame.h"

#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CKWMainFrame : public CKWWinMainFrame {
    DECLARE_DYNAMIC(CKWMainFrame)
public:
    CKWMainFrame();
    ~CKWMainFrame() override;

    // The queued DDE commands, in arrival order, to the application; from
    // then on commands are carried out as they come. Nothing while the
    // frame is disabled.
    void ProcessPendingDDECommands();
    bool IsQueueingDDECommands() const { return m_queueDDE != 0; }
    const std::vector<CString>& GetQueuedDDECommands() const { return m_queuedDDE; }

    // The longest command carried out at once; queued ones are kept whole.
    static constexpr int kMaxDDECommand = 520;

protected:
    // A command sent from another thread or program comes in outside the
    // message loop: a posted note has the loop bring the command states up
    // to date after it, as after any other command.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnClose();
    afx_msg LRESULT OnDDEExecute(WPARAM wParam, LPARAM lParam);

    uint32_t m_queueDDE = 1;
    std::vector<CString> m_queuedDDE;

    DECLARE_MESSAGE_MAP()
};
