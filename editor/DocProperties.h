#pragma once
// CDocProperties: the modal sheet "Document Properties" over one report:
// "General", "Title page", "Watermarks", "Generate Report" and "Page". The
// pages write straight into the document's properties on OK or Apply and
// mark it modified; nothing here passes through the undo history.
//
// CTalPropertiesPage: what the five pages share: the sheet and its document,
// the flag that tells whether the page was ever shown (a page never shown
// writes nothing), and OK running the page's Apply.
#include "appwindows/KWPropertySheet.h"
#include "appwindows/KWPropertyPage.h"

#include <memory>

class CDocProperties;
class CTalDocument;
class CTalDocProperties;

class CTalPropertiesPage : public CKWPropertyPage {
public:
    explicit CTalPropertiesPage(UINT templateId) : CKWPropertyPage(templateId) {}

    bool IsInitialized() const { return m_initialized; }
    // OK is Apply.
    void OnOK() override { OnApply(); }

protected:
    // The sheet this page belongs to (given by the sheet when it adds the page).
    CDocProperties* Sheet() const { return m_sheet; }
    CTalDocument* Document() const;
    CTalDocProperties* Properties() const;
    // Marks the document modified.
    void MarkDocumentModified() const;

    bool m_initialized = false;

private:
    friend class CDocProperties;
    CDocProperties* m_sheet = nullptr;
};

class CDocProperties : public CKWPropertySheet {
public:
    enum { kPageCount = 5 };

    // The pages made and added in order; the page size taken from the document.
    CDocProperties(const wchar_t* caption, CWnd* parent, CTalDocument* document, UINT selectPage = 0);
    ~CDocProperties() override;

    CTalDocument* GetDocument() const { return m_document; }
    // The report's page in millimetres: the "Page" page changes it while the
    // user edits the paper; the watermark previews draw with it.
    double m_pageWidthMm = 0;
    double m_pageHeightMm = 0;

private:
    CTalDocument* m_document;
    std::unique_ptr<CTalPropertiesPage> m_pages[kPageCount];
};
