#pragma once
// CStructedWizard: the report wizard, a property sheet in wizard mode with
// three pages: the report template with the title, author and company; the
// tree of sections with their comments; the sections' images. Its content
// lives in a wizard document that the caller takes over after the run,
// whether it finished or was cancelled.
#include "framework/KWRefPtr.h"
#include "appwindows/KWPropertySheet.h"
#include "model/TalSection.h"

#include <memory>

class CStructedWizardPage1;
class CStructedWizardPage2;
class CStructedWizardPage3;
class CTalWizardDocument;

class CStructedWizard : public CKWPropertySheet {
public:
    CStructedWizard();
    ~CStructedWizard() override;

    // Opens over the main window's document area, below its menu bar and
    // tool bars, which stay in sight behind it.
    BOOL OnInitDialog() override;

    // The wizard a page of it is shown in; null for a page outside one.
    static CStructedWizard* FromPage(const CWnd& page);

    CTalWizardDocument* GetWizardDocument() const { return m_document.get(); }
    // Hands the wizard document to the caller (the sheet keeps none after).
    CTalWizardDocument* TakeWizardDocument();
    // A template is loaded into a fresh document, so that the sections of a
    // template chosen before (on going back) do not mix with its own.
    CTalWizardDocument* RenewWizardDocument();

    // The section pages 2 and 3 show when they become current; null at first.
    CKWRefPtr<CTalSection> m_currentSection;
    // The list position of the chosen template; -1 when none.
    int m_templateIndex = -1;
    // The resolved path of the template loaded last, for the application.
    CString m_templatePath;
    // Page 1's general information as last read.
    CString m_author;
    CString m_title;
    CString m_company;
    // The resolved path of the template whose content the document holds.
    CString m_loadedPath;

private:
    std::unique_ptr<CTalWizardDocument> m_document;
    std::unique_ptr<CStructedWizardPage1> m_page1;
    std::unique_ptr<CStructedWizardPage2> m_page2;
    std::unique_ptr<CStructedWizardPage3> m_page3;
};
