#pragma once
// CTalPrefDlg: the preferences dialog (221, "OstraTallier Preferences"). It
// edits the start-up mode, the two export and font options, the default
// template and the image cache size (shown in megabytes).
#include "appwindows/KWDialog.h"
#include "controls/KWButtonControl.h"
#include "controls/KWEditControl.h"

#include <cstdint>

class CQMFormatInfo;
class CTalPrefs;

class CTalPrefDlg : public CKWDialog {
public:
    // formats: the application's format list, for the browse dialog's filter.
    CTalPrefDlg(CTalPrefs& prefs, const CQMFormatInfo* formats, CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;
    // Takes the settings; an image cache below 1 MB is refused with a message
    // and the dialog stays open.
    void OnOK() override;

protected:
    // Resizes the raster binding's two image caches (kilobytes).
    virtual void ResizeImageCaches(int32_t kilobytes);
    // The open-file dialog for a template file; true with the chosen path.
    virtual bool BrowseForTemplate(CString& path);

    afx_msg void OnBrowse();

    DECLARE_MESSAGE_MAP()

private:
    CTalPrefs& m_prefs;
    const CQMFormatInfo* m_formats;
    // The start-up radios (modes 0 to 3), the export-dialog box, Browse and
    // the fonts box; the default file and the cache size.
    CKWButtonControl m_startUp[4];
    CKWButtonControl m_showExportDialog;
    CKWButtonControl m_browse;
    CKWButtonControl m_wysiwygFonts;
    CKWEditControl m_defaultFile;
    CKWEditControl m_imageCache;
};
