#include "editor/ReportPropControls.h"

#include "controls/KWComboBoxControl.h"
#include "controls/KWMessageBox.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWIndexDecoder.h"
#include "appwindows/KWImportFileDialog.h"
#include "document/TalDocumentApp.h"
#include "platform/classlib/StringResource.h"
#include "resources/ReportPropDialogs.h"

#include <commdlg.h>

#include <cwchar>

const int16_t kTalFontSizes[kTalFontSizeCount] = {6, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

namespace {
// Digits a size box takes.
constexpr int kSizeDigits = 3;
}  // namespace

CString TalResourceString(UINT id)
{
    CString text;
    AfxLoadStringResource(id, text);
    return text;
}

void TalWarnInvalidNumber(HWND owner, CKWControl& field)
{
    KWMessageBox(TalResourceString(IDS_INVALID_NUMBER), MB_ICONEXCLAMATION, 0, nullptr, owner);
    field.SetFocus();
}

void TalFillFontNames(CKWComboBoxControl& box)
{
    CKWFontFaceStorage& faces = GetFontFaceStorage();
    faces.EnsureFilled();
    for (size_t i = 0; i < faces.GetCount(); ++i) {
        const CKWFontFace* face = faces.GetAt(i);
        if (face && face->name)
            box.AddString(face->name->c_str());
    }
}

void TalFillFontSizes(CKWComboBoxControl& box)
{
    for (int16_t size : kTalFontSizes) {
        CString text;
        text.Format(L"%d", size);
        box.AddString(text);
    }
}

bool TalSizeCharAllowed(wchar_t c, int textLength)
{
    if (c < L' ')
        return true;
    return c >= L'0' && c <= L'9' && textLength < kSizeDigits;
}

int16_t TalReadTypedSize(CKWComboBoxControl& box, int16_t currentSize)
{
    CString text;
    box.GetText(text);
    if (text.IsEmpty() || std::wcstol(text, nullptr, 10) < 1) {
        text.Format(L"%d", currentSize);
        box.SetText(text);
    }
    return static_cast<int16_t>(std::wcstol(text, nullptr, 10));
}

bool TalChosenFontIndex(CKWComboBoxControl& box, CKWIndexDecoder& fonts, uint32_t& index)
{
    // A font that is not installed leaves the box without a current item:
    // its empty text is no face.
    const int row = box.GetCurSel();
    if (row < 0)
        return false;
    CString name;
    box.GetLBText(row, name);
    if (name.IsEmpty())
        return false;
    index = fonts.FindOrAdd(static_cast<const wchar_t*>(name));
    return true;
}

bool TalChooseColor(HWND owner, COLORREF& colour)
{
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = colour;
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!::ChooseColorW(&choose))
        return false;
    colour = choose.rgbResult;
    return true;
}

bool TalBrowseImageFile(CString& path)
{
    // The image kinds of the application's format list.
    constexpr uint32_t kImageCategory = 1025;
    CTalDocumentApp* app = GetTalDocumentApp();
    CKWImportFileDialog dialog(app ? app->GetFormatList() : nullptr, kImageCategory, 0, nullptr, true, L"", false);
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return !path.IsEmpty();
}
