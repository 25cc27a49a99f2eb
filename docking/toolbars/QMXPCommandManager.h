#pragma once
// CQMXPCommandManager: which image shows each command, a standard image of
// the toolbar resources or one the user chose, and which commands menus
// show without an image. One library-wide instance (QMXTheCommandManager).
#include "platform/classlib/List.h"
#include "platform/classlib/Map.h"

class CQMXPCommandManager : public CObject {
public:
    CQMXPCommandManager();
    ~CQMXPCommandManager() override;

    // The image index in the user or the standard map; -1 when none.
    int GetCommandImage(UINT uiCmd, BOOL bUserImage = FALSE) const;
    // A command keeps the first kind of image it was given; ids 0 and
    // 0xFFFFFFFF are ignored.
    void SetCommandImage(UINT uiCmd, int iImage, BOOL bUserImage = FALSE);
    void ClearUserImage(UINT uiCmd);
    // FALSE lists the command (once) among those shown without image.
    void EnableCommandImage(UINT uiCmd, BOOL bEnable = TRUE);
    BOOL IsCommandWithoutImage(UINT uiCmd) const;
    void ClearAll();

    // The commands without images, in the section "QMXCommandManager" below
    // the tool bars' path; FALSE (and nothing changed) when not stored.
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr);
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr);

private:
    CString SectionPath(LPCWSTR lpszProfileName) const;

    CMap<UINT, UINT, int, int> m_CommandIndex;
    CMap<UINT, UINT, int, int> m_CommandIndexUser;
    CList<UINT, UINT> m_lstCommandsWithoutImages;
};

CQMXPCommandManager* QMXTheCommandManager();
int QMXLookupCommandImage(UINT uiCmd, BOOL bUserImage = FALSE);
