#include "docking/frames/QMXPToolbarCustomize.h"

#include "platform/classlib/FrameWnd.h"

IMPLEMENT_DYNAMIC(CQMXPToolbarCustomize, CPropertySheet)

CQMXPToolbarCustomize::CQMXPToolbarCustomize(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus, UINT uiFlags,
                                             CList<CRuntimeClass*, CRuntimeClass*>*)
    : CPropertySheet(L"Customize", pWndParentFrame),
      m_pParentFrame(pWndParentFrame),
      m_bAutoSetFromMenus(bAutoSetFromMenus),
      m_uiFlags(uiFlags),
      m_bUserDefinedToolbars(FALSE) {}

CQMXPToolbarCustomize::~CQMXPToolbarCustomize() = default;

void CQMXPToolbarCustomize::EnableUserDefinedToolbars(BOOL bEnable) { m_bUserDefinedToolbars = bEnable; }
