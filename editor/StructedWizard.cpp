#include "editor/StructedWizard.h"

#include "editor/StructedWizardPage1.h"
#include "editor/StructedWizardPage2.h"
#include "editor/StructedWizardPage3.h"
#include "editor/TalWizardDocument.h"
#include "docking/frames/QMXPWindowPlace.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/WinThread.h"

CStructedWizard::CStructedWizard()
    : CKWPropertySheet(L"", nullptr, 0), m_document(std::make_unique<CTalWizardDocument>(this)),
      m_page1(std::make_unique<CStructedWizardPage1>()), m_page2(std::make_unique<CStructedWizardPage2>()),
      m_page3(std::make_unique<CStructedWizardPage3>())
{
    SetWizardMode();
    AddPage(m_page1.get());
    AddPage(m_page2.get());
    AddPage(m_page3.get());
}

CStructedWizard::~CStructedWizard()
{
    // The current section belongs to the document's tree.
    m_currentSection.Release();
}

BOOL CStructedWizard::OnInitDialog()
{
    const BOOL result = CKWPropertySheet::OnInitDialog();
    // Without a parent the sheet would open at the screen's corner, over the
    // main window's bars.
    auto* main = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (main && main->m_hWndMDIClient && ::IsWindowVisible(main->m_hWnd) && !::IsIconic(main->m_hWnd)) {
        CRect area;
        ::GetWindowRect(main->m_hWndMDIClient, &area);
        CRect rect;
        GetWindowRect(&rect);
        const CPoint place = QMXPCentredOver(rect.Size(), area, QMXPWorkAreaOf(main->m_hWnd));
        SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}

CStructedWizard* CStructedWizard::FromPage(const CWnd& page)
{
    return dynamic_cast<CStructedWizard*>(CWnd::FromHandle(::GetParent(page.m_hWnd)));
}

CTalWizardDocument* CStructedWizard::TakeWizardDocument()
{
    m_currentSection.Release();
    return m_document.release();
}

CTalWizardDocument* CStructedWizard::RenewWizardDocument()
{
    m_currentSection.Release();
    m_document = std::make_unique<CTalWizardDocument>(this);
    m_loadedPath.Empty();
    return m_document.get();
}
