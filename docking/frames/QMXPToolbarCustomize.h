#pragma once
// CQMXPToolbarCustomize: the docking library's customisation sheet for tool
// bars, menus, keys and mouse. Stand-in: a sheet without pages yet.
#include "platform/classlib/List.h"
#include "platform/classlib/PropertySheet.h"

class CFrameWnd;

class CQMXPToolbarCustomize : public CPropertySheet {
    DECLARE_DYNAMIC(CQMXPToolbarCustomize)
public:
    CQMXPToolbarCustomize(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus = FALSE, UINT uiFlags = 0,
                          CList<CRuntimeClass*, CRuntimeClass*>* plistCustomPages = nullptr);
    ~CQMXPToolbarCustomize() override;

    // Lets the Toolbars page make and delete tool bars of the user's own.
    void EnableUserDefinedToolbars(BOOL bEnable = TRUE);

protected:
    CFrameWnd* m_pParentFrame;
    BOOL m_bAutoSetFromMenus;
    UINT m_uiFlags;
    BOOL m_bUserDefinedToolbars;
};
