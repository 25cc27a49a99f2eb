#pragma once
// CTalDocumentApp: what the report document asks of the application object:
// the preferences, the format list, the default author and company, the
// report wizard's pending document, the default page size, the image files
// to add (from the "Open Image" dialog or the gallery), the tool-bar buttons,
// print setup and the document's dialogs (export options, document
// properties, text properties). The editor's application object implements
// it beside the class library's application; the document finds it through
// AfxGetApp.
#include "platform/classlib/String.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class CQMFormatInfo;
class CQMXPToolbarButton;
class CTalBaseDocument;
class CTalDocProperties;
class CTalPrefs;
class CWnd;

// What the text-properties sheet starts from and what it reports.
struct CTalTextProperties {
    // In: the selection's character and paragraph formats and font name.
    // Out: the values the sheet holds; the colour as the sheet's colour reference.
    CKWCharFormat charFormat;
    CKWParaFormat paraFormat;
    CString fontName;
    COLORREF color = 0;
    // Out: what was changed, as the bits of a format request: bold 1,
    // italic 2, underline 4, size 0x10000, colour 0x20000, font name
    // 0x40000; alignment 1, left indent 2, right indent 4, first line 8.
    uint32_t charChanged = 0;
    uint32_t paraChanged = 0;
};

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

    // The "Open Image" dialog in the remembered folder; true when files were chosen.
    virtual bool ChooseImageFiles(std::vector<CString>& files) = 0;
    // The image gallery's selected items that carry a file.
    virtual int GetSelectedGalleryImageCount() = 0;
    virtual bool GetSelectedGalleryFiles(std::vector<CString>& files) = 0;
    // The first tool-bar button of the command on all tool bars; null when none.
    virtual CQMXPToolbarButton* FindToolbarButton(UINT commandId) = 0;
    // The print setup dialog and the application's follow-up.
    virtual void RunPrintSetup() = 0;
    // Turns the printer defaults to the orientation (1 portrait, 0 landscape)
    // and measures their page again, so that what is composed, previewed and
    // printed next lies on that paper; nothing without a printer.
    virtual void SetPrinterOrientation(int32_t portrait) = 0;
    // The document-properties sheet over the document, modal, at the page
    // (0 General ... 4 Page; -1 the sheet's default).
    virtual void RunDocumentProperties(const CString& caption, CWnd* parent, CTalBaseDocument& document,
                                       int page) = 0;
    // The text-properties sheet, modal; true when the user pressed OK.
    virtual bool RunTextProperties(const CString& caption, CTalTextProperties& properties) = 0;
};

// The running application object when it offers the document's services; else null.
CTalDocumentApp* GetTalDocumentApp();
