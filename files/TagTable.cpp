#include "files/TagTable.h"

#include "files/NewXmlArch.h"
#include "files/XmlValueForms.h"

#include <windows.h>

#include <cstring>
#include <cwctype>
#include <memory>
#include <string>

const char CTagTable::kRootParent[] = "NULL";

CTagTable::CTagTable(uint16_t bucketCount) : CHashTable(bucketCount) {}

CTagTable::~CTagTable()
{
    m_cached = nullptr;
}

CHashItem* CTagTable::Lookup(const char* key) const
{
    if (!key)
        return nullptr;
    if (m_cached && std::strcmp(m_cached->GetKey(), key) == 0)
        return m_cached;
    CHashItem* item = CHashTable::Lookup(key);
    if (item)
        m_cached = static_cast<CTagItem*>(item);
    return item;
}

bool CTagTable::Remove(const char* key)
{
    m_cached = nullptr;
    return CHashTable::Remove(key);
}

void CTagTable::RemoveAll()
{
    m_cached = nullptr;
    CHashTable::RemoveAll();
}

void CTagTable::ResetStartCounts()
{
    for (uint16_t bucket = 0; bucket < GetBucketCount(); ++bucket) {
        for (CHashItem* item = GetChain(bucket); item; item = item->GetNext()) {
            if (auto* tag = dynamic_cast<CTagItem*>(item))
                tag->ResetStartCount();
        }
    }
}

void CTagTable::ClearBuckets()
{
    m_cached = nullptr;
    CHashTable::ClearBuckets();
}

bool CTagTable::AddTag(const char* name, const char* parent, CTagDelegateVoid* delegate, uint8_t kind,
                       const wchar_t* text, const char* const* attributes, int32_t count)
{
    CNewParamCell cell(text, attributes, count, kind);
    return AddTagCell(name, parent, delegate, &cell);
}

bool CTagTable::AddTagList(const char* name, const char* parent, CTagDelegateVoid* delegate, uint8_t kind,
                           const wchar_t* text, std::initializer_list<const char*> attributes)
{
    CNewParamCell cell(text, kind, attributes);
    return AddTagCell(name, parent, delegate, &cell);
}

bool CTagTable::AddTagCell(const char* name, const char* parent, CTagDelegateVoid* delegate,
                           const CNewParamCell* cell)
{
    std::unique_ptr<CTagDelegateVoid> owned(delegate);
    if (!name || !*name)
        return false;
    CTagItem* parentItem = parent ? FindTagA(parent) : nullptr;
    if (CTagItem* existing = FindTagA(name)) {
        existing->AddParent(parentItem);
        return true;
    }
    auto* item = new CTagItem(name, owned.release());
    if (cell && (cell->GetPairCount() > 0 || !cell->GetText().IsEmpty()))
        item->SetDefaultCell(new CNewParamCell(*cell));
    item->AddParent(parentItem);
    return Insert(item);
}

CTagItem* CTagTable::FindTag(const wchar_t* name) const
{
    if (!name)
        return nullptr;
    // No best-fit mapping: a look-alike character must not match another name.
    int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return nullptr;
    std::string narrow(static_cast<size_t>(n), '\0');
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, &narrow[0], n, nullptr, &lossy);
    if (lossy)
        return nullptr;
    return FindTagA(narrow.c_str());
}

CTagItem* CTagTable::FindTagA(const char* name) const
{
    return static_cast<CTagItem*>(Lookup(name));
}

CNewParamCell* CTagTable::GetParams(const wchar_t* name) const
{
    CTagItem* item = FindTag(name);
    return item ? item->GetCurrentCell() : nullptr;
}

CNewParamCell* CTagTable::GetParamsA(const char* name) const
{
    CTagItem* item = FindTagA(name);
    return item ? item->GetCurrentCell() : nullptr;
}

bool CTagTable::ReadInt(const CNewParamCell& cell, const wchar_t* name, int32_t& value) const
{
    const wchar_t* text = cell.Find(name);
    if (!text)
        return false;
    value = ReadXmlInteger(text);
    return true;
}

bool CTagTable::ReadDouble(const CNewParamCell& cell, const wchar_t* name, double& value) const
{
    const wchar_t* text = cell.Find(name);
    if (!text)
        return false;
    value = ReadXmlReal(text);
    return true;
}

bool CTagTable::ReadFlag(const CNewParamCell& cell, const wchar_t* name, uint8_t& value) const
{
    int32_t read = 0;
    if (!ReadInt(cell, name, read))
        return false;
    value = read != 0 ? 1 : 0;
    return true;
}

bool CTagTable::ReadText(const CNewParamCell& cell, const wchar_t* name, CString& value)
{
    const wchar_t* text = cell.Find(name);
    if (!text)
        return false;
    value = text;
    return true;
}

void CTagTable::Warn(const CString& text) const
{
    if (m_archive)
        m_archive->Warning(text);
}

void CTagTable::WarnStrayText(const CString& name) const
{
    const CNewParamCell* cell = GetParams(name);
    if (!cell)
        return;
    const CString& text = cell->GetText();
    for (int i = 0; i < text.GetLength(); ++i) {
        if (!std::iswspace(text[i])) {
            CString message;
            message.Format(L"The text in %ls is ignored.", name.GetString());
            Warn(message);
            return;
        }
    }
}

void CTagTable::SkipRepeated(const CString& name)
{
    if (!m_archive)
        return;
    m_archive->SetWarning(CNewXmlArch::kErrDuplicate);
    m_archive->SkipElement(name);
}

void CTagTable::EmptyHandler(const CString&) {}

void CTagTable::SkipHandler(const CString& name)
{
    if (m_archive)
        m_archive->SkipElement(name);
}
