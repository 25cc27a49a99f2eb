#include "editor/ReportPropControls.h"

#include "controls/KWComboBoxControl.h"
#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "controls/KWMessageBox.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWIndexDecoder.h"
#include "appwindows/KWImportFileDialog.h"
#include "document/TalDocumentApp.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"
#include "resources/ReportPropDialogs.h"

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

void TalFillFontNames(CKWFontNameComboBox& box, FCOMMBO_DATA_ARRAY& entries)
{
    CKWFontFaceStorage& faces = GetFontFaceStorage();
    faces.EnsureFilled();
    entries.RemoveAll();
    std::vector<CString> names;
    std::vector<FontCommboData*> data;
    for (size_t i = 0; i < faces.GetCount(); ++i) {
        const CKWFontFace* face = faces.GetAt(i);
        if (face && face->name) {
            names.push_back(face->name->c_str());
            data.push_back(entries.Add(face, -1));
        }
    }
    box.FillList(names, data);
}

void TalShowFontName(CKWFontNameComboBox& box, FCOMMBO_DATA_ARRAY& entries, const CKWIndexDecoder& fonts,
                     uint32_t index)
{
    const std::wstring& name = fonts.GetString(index);
    if (name.empty() || box.SelectStringExact(name.c_str()) >= 0)
        return;
    // A font of the document that this system lacks: once in the box.
    const int known = box.FindByValue(static_cast<int>(index));
    if (known >= 0) {
        box.SetCurSel(known);
        return;
    }
    box.SetCurSel(box.AddFont(name.c_str(), AddMissingFont(entries, name.c_str(), static_cast<int>(index))));
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

bool TalChosenFontIndex(const CKWFontNameComboBox& box, CKWIndexDecoder& fonts, uint32_t& index)
{
    const int row = box.GetCurSel();
    if (row < 0)
        return false;
    // The entry names the face: the item's text of a missing font carries
    // its suffix.
    const auto* entry = reinterpret_cast<const FontCommboData*>(box.GetItemData(row));
    if (entry == reinterpret_cast<const FontCommboData*>(CB_ERR))
        return false;
    const wchar_t* name = GetFontEntryName(entry);
    if (!name || !*name)
        return false;
    index = fonts.FindOrAdd(name);
    return true;
}

bool TalBrowseImageFile(CString& path)
{
    // The image kinds of the application's format list.
    constexpr uint32_t kImageCategory = 1025;
    CTalDocumentApp* app = GetTalDocumentApp();
    // Titled as the application's other picture dialog.
    CString title;
    AfxLoadStringResource(IDS_TAL_OPEN_IMAGE, title);
    CKWImportFileDialog dialog(app ? app->GetFormatList() : nullptr, kImageCategory, 0, nullptr, true, title, false);
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return !path.IsEmpty();
}
