#pragma once
// CWatermarkPropDlg: the modal "Watermark properties" dialog over one
// watermark of the "Watermarks" page: its name, kind (text, image or page
// number), place, text and font, image and size, first number and whether
// it is drawn in front. Most values go into the watermark while the user
// edits, so that the preview follows; the name and the numbers are checked
// on OK. The caller hands a new watermark or a copy: Cancel drops it.
#include "controls/KWButtonControl.h"
#include "controls/KWComboBoxControl.h"
#include "controls/KWEditControl.h"
#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "controls/KWImageControl.h"
#include "controls/XPStyleButtonST.h"
#include "appwindows/KWDialog.h"

class CDocProperties;
class CKWImageControlImp;
class CKWIndexDecoder;
class CTalWatermark;
class IKWGraphics;

class CWatermarkPropDlg : public CKWDialog {
public:
    enum { kPlaceCount = 9 };
    // Rows of the unit box.
    enum { kUnitRowInch = 0, kUnitRowMillimetre = 1 };

    // The sheet gives the page size of the preview and the document's font table.
    CWatermarkPropDlg(CTalWatermark* watermark, CDocProperties* sheet, CWnd* parent = nullptr);
    ~CWatermarkPropDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    // The size box takes three digits at most; the width and height edits
    // digits and ".".
    BOOL PreTranslateMessage(MSG* msg) override;

    // The preview: the page with the edited watermark.
    void DrawPreview(IKWGraphics* graphics, CKWImageControlImp* control);

protected:
    // The picture-open dialog; a test answers it.
    virtual bool BrowseImage(CString& path);

    afx_msg void OnTypeChosen();
    afx_msg void OnFontChosen();
    afx_msg void OnSizeChosen();
    afx_msg void OnSizeTyped();
    afx_msg void OnUnitChosen();
    afx_msg void OnNumberChanged();
    afx_msg void OnTextChanged();
    afx_msg void OnImagePathChanged();
    afx_msg void OnWidthChanged();
    afx_msg void OnHeightChanged();
    afx_msg void OnConstrain();
    afx_msg void OnBrowse();
    afx_msg void OnColor();
    afx_msg void OnPlace(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void ShowKindControls();
    void CheckPlaceButtons();
    void SetEditNumber(CKWEditControl& edit, double value, const wchar_t* format);
    void ApplyImagePath();
    // The document's font table; the dialog's own while it has no document.
    CKWIndexDecoder& FontTable();
    void RefreshPreview() { m_preview.Invalidate(); }
    bool UnitIsInch() { return m_unit.GetCurSel() != kUnitRowMillimetre; }

    CTalWatermark* m_watermark;
    CDocProperties* m_sheet;
    CString m_imagePath;
    double m_aspect = 1.0;
    bool m_loading = false;
    bool m_initialized = false;
    // 0 the width, 1 the height.
    int m_lastEdited = 0;
    int m_unitRow = kUnitRowInch;

    CKWEditControl m_name, m_text, m_image, m_width, m_height, m_number;
    CKWComboBoxControl m_type, m_size, m_unit;
    // The owner-drawn font names over the dialog's box, with their own data.
    CKWFontNameComboBox m_font;
    FCOMMBO_DATA_ARRAY m_fontEntries;
    CKWColorButtonControl m_color;
    CKWButtonControl m_constrain, m_sendToFront;
    CXPStyleButtonST m_places[kPlaceCount];
    CKWImageControl m_preview;
};
