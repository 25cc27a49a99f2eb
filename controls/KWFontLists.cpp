#include "controls/KWFontLists.h"

#include "controls/KWCommonComboBoxButton.h"
#include "controls/KWFontMenuButtons.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWIndexDecoder.h"

#include <string>

namespace {

const CKWIndexDecoder* s_documentList = nullptr;
const CKWFontFaceStorage* s_applicationList = nullptr;

}  // namespace

FontCommboData* FCOMMBO_DATA_ARRAY::Add(const CKWFontFace* face, int value)
{
    FontCommboData* entry = new FontCommboData;
    entry->face = face;
    entry->value = value;
    m_entries.push_back(entry);
    return entry;
}

void FCOMMBO_DATA_ARRAY::RemoveAll()
{
    for (FontCommboData* entry : m_entries)
        delete entry;
    m_entries.clear();
    m_entries.shrink_to_fit();
}

FCOMMBO_DATA_ARRAY& GetFontCommboData()
{
    static FCOMMBO_DATA_ARRAY s_data;
    return s_data;
}

void SetCurrentFontLists(const CKWIndexDecoder* documentList, const CKWFontFaceStorage* applicationList)
{
    s_documentList = documentList;
    s_applicationList = applicationList;
}

const CKWIndexDecoder* GetCurrentFontList()
{
    return s_documentList;
}

const CKWFontFaceStorage* GetApplicationFontList()
{
    return s_applicationList;
}

FontCommboData* AddMissingFont(const wchar_t* name, int value)
{
    return AddMissingFont(GetFontCommboData(), name, value);
}

FontCommboData* AddMissingFont(FCOMMBO_DATA_ARRAY& data, const wchar_t* name, int value)
{
    FontCommboData* entry = data.Add(nullptr, value);
    entry->missingName = name ? name : L"";
    return entry;
}

const wchar_t* GetFontEntryName(const FontCommboData* entry)
{
    if (!entry)
        return nullptr;
    if (entry->face)
        return entry->face->name ? entry->face->name->c_str() : nullptr;
    return GetMissingFontName(entry);
}

const wchar_t* GetMissingFontName(const FontCommboData* entry)
{
    return entry && !entry->face ? entry->missingName.c_str() : nullptr;
}

namespace {

// The entry of a document font: the installed face's or a missing font's
// of that exact name; null when there is none.
FontCommboData* FindEntryByName(FCOMMBO_DATA_ARRAY& data, const std::wstring& name)
{
    for (size_t i = 0; i < data.GetSize(); ++i) {
        FontCommboData* entry = data.GetAt(i);
        const wchar_t* missing = entry->face ? nullptr : GetMissingFontName(entry);
        if ((entry->face && entry->face->name && *entry->face->name == name) || (missing && name == missing))
            return entry;
    }
    return nullptr;
}

}  // namespace

void UpdateFontLists(bool rebuild)
{
    FCOMMBO_DATA_ARRAY& data = GetFontCommboData();
    bool made = false;
    if (rebuild)
        data.RemoveAll();
    if (data.GetSize() == 0 && s_applicationList) {
        for (size_t i = 0; i < s_applicationList->GetCount(); ++i)
            data.Add(s_applicationList->GetAt(i), -1);
        made = true;
    }
    for (size_t i = 0; i < data.GetSize(); ++i)
        data.GetAt(i)->value = -1;
    if (s_documentList) {
        const std::vector<CKWIndexEntry>& fonts = s_documentList->GetEntries();
        for (size_t d = 0; d < fonts.size(); ++d) {
            if (fonts[d].GetName().empty())
                continue;
            if (FontCommboData* entry = FindEntryByName(data, fonts[d].GetName())) {
                if (entry->value < 0)
                    entry->value = static_cast<int>(d);
            } else {
                AddMissingFont(fonts[d].GetName().c_str(), static_cast<int>(d));
                made = true;
            }
        }
    }
    // The combo boxes point at the entries: new entries need new items.
    if (made || rebuild)
        CKWFontNameComboBoxButton::RefillAll();
    CQMXPToolbarFontNameMenuButton::RebuildAll();
}
