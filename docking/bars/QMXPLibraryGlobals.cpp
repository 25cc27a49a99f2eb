// The docking library's globals in the order the library builds them: a
// global here may use those above it in its constructor.
#include "docking/bars/QMXPLibraryGlobals.h"

#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolBarImages.h"

int qmxDefaultDockingMode = 2;
int qmxDockSensitivity = 15;
BOOL qmxAutoDestroyMenus = TRUE;
BOOL qmxRestoringDockState = FALSE;

const int qmxDragThresholdX = ::GetSystemMetrics(SM_CXDRAG);
const int qmxDragThresholdY = ::GetSystemMetrics(SM_CYDRAG);

const wchar_t qmxRegControlBarSection[] = L"QMXControlBars";
const wchar_t qmxRegBaseBarSection[] = L"QMXPBaseControlBars";

const wchar_t qmxRegControlBarsKey[] = L"\\ControlBars";
const wchar_t qmxRegWindowPlacement[] = L"WindowPlacement";
const wchar_t qmxRegMainWindowRect[] = L"MainWindowRect";
const wchar_t qmxRegFlags[] = L"Flags";
const wchar_t qmxRegShowCmd[] = L"ShowCmd";
const wchar_t qmxRegControlBarVersion[] = L"QMXControlBarVersion";
const wchar_t qmxRegVersionMajor[] = L"Major";
const wchar_t qmxRegVersionMinor[] = L"Minor";

const wchar_t qmxRegToolBarSection[] = L"QMXToolBars";

const wchar_t qmxRegUserToolsSection[] = L"QMXUserToolsManager";
const wchar_t qmxRegUserToolsKey[] = L"Tools";

const wchar_t qmxFontTahoma[] = L"Tahoma";
const wchar_t qmxFontMSSansSerif[] = L"MS Sans Serif";
const wchar_t qmxFontArial[] = L"Arial";
const wchar_t qmxFontMarlett[] = L"Marlett";

// The menu glyphs come before the global data, whose colour refresh
// reloads them.
CQMXPToolBarImages CQMXPMenuGlyphs::s_images[4];

CQMXPGlobalData globalData;

const UINT QMXTOOLBAR__GETDOCUMENTCOLORS = ::RegisterWindowMessageW(L"QMXTOOLBAR__GETDOCUMENTCOLORS");
const UINT QMXPMSG_CHECKEMPTYMINIFRAME = ::RegisterWindowMessageW(L"QMXPMSG_CHECKEMPTYMINIFRAME");
const UINT QMXPMSG_KEEPOWNEDABOVE = ::RegisterWindowMessageW(L"QMXPMSG_KEEPOWNEDABOVE");

CMap<UINT, UINT, HWND, HWND> qmxFloatingBarsByID(10);
CList<HWND, HWND> qmxFloatingFrames(10);

const wchar_t qmxRegMenuBarSection[] = L"QMXMenuBar";
const wchar_t qmxRegMenuBarToolBarsSection[] = L"QMXToolBars";

CQMXPCommandManager qmxCommandManager;
const wchar_t qmxRegCommandManagerSection[] = L"QMXCommandManager";
CCmdUsageCount qmxCmdUsageCount;

CMenuHash qmxMenuHash;

const wchar_t qmxRegDockManagerSection[] = L"QMXPDockManagers";

const wchar_t qmxRegOutlookBarSection[] = L"QMXPOutlookBars";
const wchar_t qmxRegOutlookCustomPages[] = L"QMXPOutlookCustomPages";

const UINT QMXM_ON_HSCROLL = ::RegisterWindowMessageW(L"QMXM_ON_HSCROLL");

CQMXPGlobalUtils qmxGlobalUtils;

const UINT QMXM_ON_RENAME_TAB = ::RegisterWindowMessageW(L"QMXM_ON_RENAME_TAB");
const UINT QMXM_ONCHANGE_ACTIVE_TAB = ::RegisterWindowMessageW(L"QMXM_ONCHANGE_ACTIVE_TAB");
const UINT QMXM_ON_MOVE_TAB = ::RegisterWindowMessageW(L"QMXM_ON_MOVE_TAB");
const UINT QMXM_ON_CHANGING_ACTIVE_TAB = ::RegisterWindowMessageW(L"QMXM_ON_CHANGING_ACTIVE_TAB");

// No window until the first outline drag.
CQMXPDummyDockingControlBar qmxDummyDockingBar;

HWND qmxPopupOwnerWnd = nullptr;
CFrameWnd* qmxTopLevelFrameOverride = nullptr;

CWnd* QMXPGetPopupOwner() {
    return ::IsWindow(qmxPopupOwnerWnd) ? CWnd::FromHandle(qmxPopupOwnerWnd) : nullptr;
}

const wchar_t qmxRegWrapperSection[] = L"QMXControlBars";

const wchar_t qmxRegTearOffSection[] = L"ControlBars-TearOff";

const wchar_t qmxRegContextMenuManager[] = L"QMXContextMenuManager";

const wchar_t qmxRegMouseSection[] = L"Mouse";
const wchar_t qmxRegMouseManager[] = L"QMXMouseManager";

const wchar_t qmxRegKeyboardManager[] = L"QMXPKeyboardManager";

const wchar_t qmxRegRebarFormat[] = L"QMXRebar-%ld";
const wchar_t qmxRegRebarInfo[] = L"RBI";
const wchar_t qmxRegRebarIds[] = L"IDs";

namespace {
// The two contexts shared by every image strip, deleted at the end.
struct CSharedContextsCleanUp {
    ~CSharedContextsCleanUp() { CQMXPToolBarImages::CleanUpSharedContexts(); }
} g_sharedContextsCleanUp;
}  // namespace
