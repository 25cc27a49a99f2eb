#include "model/TalPrefs.h"

#include "framework/KWRegKeyStack.h"
#include "framework/KWSystemInfo.h"
#include "platform/classlib/StringResource.h"
#include "resources/Strings.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace {

CTalPrefs::TemplateScanner g_templateScanner = nullptr;

// The DWORD values in the order Load queries them.
struct DwordValue {
    const wchar_t* name;
    int32_t* field;
};

bool QueryDword(CKWRegKeyStack& keys, const wchar_t* name, int32_t& value)
{
    DWORD data = 0;
    DWORD length = sizeof data;
    if (keys.QueryValue(name, nullptr, &data, &length) != ERROR_SUCCESS)
        return false;
    value = static_cast<int32_t>(data);
    return true;
}

// The buffer keeps room for a terminator after the largest value it takes,
// so a stored string without one still reads as terminated text.
bool QueryString(CKWRegKeyStack& keys, const wchar_t* name, CString& value)
{
    const DWORD chars = CTalPrefs::kStringBufferSize / sizeof(wchar_t);
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[chars]());
    DWORD length = (chars - 1) * sizeof(wchar_t);
    if (keys.QueryValue(name, nullptr, buffer.get(), &length) != ERROR_SUCCESS)
        return false;
    buffer[chars - 1] = L'\0';
    value = buffer.get();
    return true;
}

void WriteDword(CKWRegKeyStack& keys, const wchar_t* name, int32_t value)
{
    const DWORD data = static_cast<DWORD>(value);
    keys.SetValue(name, REG_DWORD, &data, sizeof data);
}

void WriteString(CKWRegKeyStack& keys, const wchar_t* name, const CString& value)
{
    keys.SetValue(name, REG_SZ, value.GetString(), static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t)));
}

CString TemplateValueName(int index)
{
    CString name;
    name.Format(L"OTN%d", index);
    return name;
}

}  // namespace

void CTalPrefs::SetTemplateScanner(TemplateScanner scanner)
{
    g_templateScanner = scanner;
}

CTalPrefs::CTalPrefs()
    : m_defaultFile(L"Templates\\default.otn"), m_defaultTemplatesFolder(GetModuleDirectory() + L"Templates\\")
{
    m_templatesFolder = m_defaultTemplatesFolder;
}

void CTalPrefs::SetImageCache(int32_t kilobytes)
{
    m_imageCache = std::min(std::max(kilobytes, kMinImageCache), kMaxImageCache);
}

void CTalPrefs::GetGalleryRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const
{
    left = m_galleryLeft;
    top = m_galleryTop;
    right = m_galleryRight;
    bottom = m_galleryBottom;
}

void CTalPrefs::SetGalleryRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    m_galleryLeft = left;
    m_galleryTop = top;
    m_galleryRight = right;
    m_galleryBottom = bottom;
}

void CTalPrefs::Load(const wchar_t* keyName)
{
    CKWRegKeyStack keys;
    keys.SetRoot(HKEY_CURRENT_USER);
    if (!keys.Push(0, keyName))
        return;

    int32_t value;
    if (QueryDword(keys, L"ImageCache", value))
        SetImageCache(value);
    QueryDword(keys, L"StartUpMode", m_startUpMode);
    if (QueryDword(keys, L"ShowExpDlg", value))
        m_showExportDialog = value != 0;
    if (QueryDword(keys, L"UseWYSIWYGFonts", value))
        m_wysiwygFonts = value != 0;
    if (QueryDword(keys, L"ShowAllWatermarks", value))
        m_showAllWatermarks = value != 0;
    QueryDword(keys, L"DefExportFormat", m_defExportFormat);
    QueryDword(keys, L"PictureCollectionDockSide", m_galleryDockSide);
    if (QueryDword(keys, L"PictureCollectionFloating", value))
        m_galleryFloating = value != 0;
    QueryDword(keys, L"PictureCollectionLeft", m_galleryLeft);
    QueryDword(keys, L"PictureCollectionTop", m_galleryTop);
    QueryDword(keys, L"PictureCollectionRight", m_galleryRight);
    QueryDword(keys, L"PictureCollectionBottom", m_galleryBottom);

    QueryString(keys, L"DefaultFile", m_defaultFile);
    QueryString(keys, L"LastFile", m_lastFile);
    QueryString(keys, L"AddFolderPath", m_addFolderPath);
    // One stored value serves both picture folders.
    QueryString(keys, L"AddPicturePath", m_addPicturePath);
    QueryString(keys, L"AddPicturePath", m_watermarkPicturePath);
    keys.CloseAll();
}

void CTalPrefs::Save(const wchar_t* keyName)
{
    CKWRegKeyStack keys;
    keys.SetRoot(HKEY_CURRENT_USER);
    if (!keys.Push(1, keyName))
        return;

    WriteDword(keys, L"UsingTempl", 77);
    WriteDword(keys, L"ImageCache", m_imageCache);
    WriteDword(keys, L"ShowExpDlg", m_showExportDialog ? 1 : 0);
    WriteDword(keys, L"UseWYSIWYGFonts", m_wysiwygFonts ? 1 : 0);
    WriteDword(keys, L"ShowAllWatermarks", m_showAllWatermarks ? 1 : 0);
    WriteDword(keys, L"StartUpMode", m_startUpMode);
    WriteDword(keys, L"PictureCollectionDockSide", m_galleryDockSide);
    WriteDword(keys, L"PictureCollectionFloating", m_galleryFloating ? 1 : 0);
    WriteDword(keys, L"PictureCollectionLeft", m_galleryLeft);
    WriteDword(keys, L"PictureCollectionTop", m_galleryTop);
    WriteDword(keys, L"PictureCollectionRight", m_galleryRight);
    WriteDword(keys, L"PictureCollectionBottom", m_galleryBottom);
    WriteString(keys, L"DefaultFile", m_defaultFile);
    WriteString(keys, L"LastFile", m_lastFile);
    WriteString(keys, L"TemplFileName", L"Custom string pref");
    WriteString(keys, L"AddFolderPath", m_addFolderPath);
    // Both picture folders share one value name: the second write stays.
    WriteString(keys, L"AddPicturePath", m_addPicturePath);
    WriteString(keys, L"AddPicturePath", m_watermarkPicturePath);
    WriteDword(keys, L"DefExportFormat", m_defExportFormat);
    keys.CloseAll();
}

CString CTalPrefs::GetTemplateListKey() const
{
    CString key;
    if (!AfxLoadStringResource(IDS_REGISTRY_KEY, key))
        return CString();
    return key + L"OTN_Templates\\";
}

void CTalPrefs::SaveTemplateList(const std::vector<CString>& paths)
{
    const CString key = GetTemplateListKey();
    if (key.IsEmpty())
        return;
    CKWRegKeyStack keys;
    keys.SetRoot(HKEY_CURRENT_USER);
    keys.DeleteSubKey(key);
    if (!keys.Push(1, key))
        return;

    CString folder = m_defaultTemplatesFolder;
    folder.MakeLower();
    for (size_t i = 0; i < paths.size(); ++i) {
        CString lower = paths[i];
        lower.MakeLower();
        const bool inside = !folder.IsEmpty() && lower.Left(folder.GetLength()) == folder;
        const CString stored = inside ? paths[i].Mid(folder.GetLength()) : paths[i];
        WriteString(keys, TemplateValueName(static_cast<int>(i)), stored);
    }
    keys.CloseAll();
}

void CTalPrefs::LoadTemplateList(std::vector<CString>& paths)
{
    paths.clear();
    const CString key = GetTemplateListKey();
    CKWRegKeyStack keys;
    keys.SetRoot(HKEY_CURRENT_USER);
    if (!key.IsEmpty() && keys.Push(0, key)) {
        CString value;
        for (int i = 0; QueryString(keys, TemplateValueName(i), value); ++i) {
            if (!value.IsEmpty())
                paths.push_back(value);
        }
        keys.CloseAll();
    }
    if (paths.empty() && g_templateScanner)
        g_templateScanner(m_defaultTemplatesFolder, paths);
}
