#include "editor/StructedWizard.h"

#include "editor/StructedWizardPage1.h"
#include "editor/StructedWizardPage2.h"
#include "editor/StructedWizardPage3.h"
#include "editor/TalWizardDocument.h"

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
