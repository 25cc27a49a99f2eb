#include "docking/toolbars/QMXPCommandManager.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPRegistry.h"

namespace {

constexpr UINT kNoCommand = 0xFFFFFFFF;
constexpr wchar_t kCommandsWithoutImages[] = L"CommandsWithoutImages";

}  // namespace

CQMXPCommandManager::CQMXPCommandManager() = default;

CQMXPCommandManager::~CQMXPCommandManager() = default;

int CQMXPCommandManager::GetCommandImage(UINT uiCmd, BOOL bUserImage) const {
    int iImage = -1;
    return (bUserImage ? m_CommandIndexUser : m_CommandIndex).Lookup(uiCmd, iImage) ? iImage : -1;
}

void CQMXPCommandManager::SetCommandImage(UINT uiCmd, int iImage, BOOL bUserImage) {
    if (uiCmd == 0 || uiCmd == kNoCommand)
        return;
    // The other kind of image, when the command has one, stays.
    if (GetCommandImage(uiCmd, !bUserImage) >= 0)
        return;
    (bUserImage ? m_CommandIndexUser : m_CommandIndex).SetAt(uiCmd, iImage);
}

void CQMXPCommandManager::ClearUserImage(UINT uiCmd) { m_CommandIndexUser.RemoveKey(uiCmd); }

void CQMXPCommandManager::EnableCommandImage(UINT uiCmd, BOOL bEnable) {
    POSITION pos = m_lstCommandsWithoutImages.Find(uiCmd);
    if (bEnable) {
        if (pos != nullptr)
            m_lstCommandsWithoutImages.RemoveAt(pos);
    } else if (pos == nullptr) {
        m_lstCommandsWithoutImages.AddTail(uiCmd);
    }
}

BOOL CQMXPCommandManager::IsCommandWithoutImage(UINT uiCmd) const {
    return m_lstCommandsWithoutImages.Find(uiCmd) != nullptr;
}

void CQMXPCommandManager::ClearAll() {
    m_CommandIndex.RemoveAll();
    m_CommandIndexUser.RemoveAll();
    m_lstCommandsWithoutImages.RemoveAll();
}

CString CQMXPCommandManager::SectionPath(LPCWSTR lpszProfileName) const {
    return QMXPGetRegPath(qmxRegToolBarSection, lpszProfileName) + qmxRegCommandManagerSection;
}

BOOL CQMXPCommandManager::LoadState(LPCWSTR lpszProfileName) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
    CList<UINT, UINT> lstRead;
    if (!pReg->Open(SectionPath(lpszProfileName)) || !pReg->Read(kCommandsWithoutImages, lstRead))
        return FALSE;
    m_lstCommandsWithoutImages.RemoveAll();
    m_lstCommandsWithoutImages.AddTail(&lstRead);
    return TRUE;
}

BOOL CQMXPCommandManager::SaveState(LPCWSTR lpszProfileName) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
    return pReg->CreateKey(SectionPath(lpszProfileName)) &&
           pReg->Write(kCommandsWithoutImages, m_lstCommandsWithoutImages);
}

CQMXPCommandManager* QMXTheCommandManager() { return &qmxCommandManager; }

int QMXLookupCommandImage(UINT uiCmd, BOOL bUserImage) {
    return QMXTheCommandManager()->GetCommandImage(uiCmd, bUserImage);
}
