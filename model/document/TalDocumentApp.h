#pragma once
// CTalDocumentApp: what the report document asks of the application object:
// the preferences, the format list, the default author and company, the
// report wizard's pending document, the default page size and the export
// options dialog. The editor's application object implements it beside the
// class library's application; the document finds it through AfxGetApp.
#include "platform/classlib/String.h"

#include <cstdint>

class CQMFormatInfo;
class CTalBaseDocument;
class CTalDocProperties;
class CTalPrefs;

class CTalDocumentApp {
public:
    virtual ~CTalDocumentApp() = default;

    virtual CTalPrefs& GetPrefs() = 0;
    // The application's list of file formats (built once, owned by the application).
    virtual const CQMFormatInfo* GetFormatList() = 0;
    // The Windows registered owner (else the user name) and organisation.
    virtual CString GetAuthorName() = 0;
    virtual CString GetCompanyName() = 0;

    // The document the report wizard left for the next new document; null when none.
    virtual CTalBaseDocument* GetWizardDocument() = 0;
    // Forgets the pending wizard document (without deleting it).
    virtual void ClearWizardDocument() = 0;
    // The file path the wizard left with its document.
    virtual CString GetWizardText() = 0;

    // The default page size in tenths of a millimetre; 0 when not set.
    virtual void GetDefaultPageSize(int32_t& width, int32_t& height) = 0;
    virtual void SetDefaultPageSize(int32_t width, int32_t height) = 0;

    // The export-options dialog over the properties, modal; false unless the
    // user pressed OK. The flags tell whether a stored option and whether the
    // grey-scale default changed.
    virtual bool RunExportOptionsDialog(CTalDocProperties& properties, bool& optionsChanged,
                                        bool& grayscaleChanged) = 0;
};

// The running application object when it offers the document's services; else null.
CTalDocumentApp* GetTalDocumentApp();
