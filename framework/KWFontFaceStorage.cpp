// Font face storage and the face-name pool.
#include "framework/KWFontFaceStorage.h"

#include <algorithm>

namespace {

// The pool: one sorted vector of face-name strings for the whole run. The
// strings are held by pointer so that their addresses never change.
std::vector<std::unique_ptr<std::wstring>>& FacePool()
{
    static std::vector<std::unique_ptr<std::wstring>> pool;
    return pool;
}

}  // namespace

CKWFontFaceStorage::CKWFontFaceStorage() = default;
CKWFontFaceStorage::~CKWFontFaceStorage() = default;

const std::wstring* CKWFontFaceStorage::GetFace(const std::wstring& name)
{
    auto& pool = FacePool();
    auto it = std::lower_bound(pool.begin(), pool.end(), name,
                               [](const std::unique_ptr<std::wstring>& a, const std::wstring& b) { return *a < b; });
    if (it != pool.end() && **it == name)
        return it->get();
    it = pool.insert(it, std::make_unique<std::wstring>(name));
    return it->get();
}

size_t CKWFontFaceStorage::GetPoolSize() { return FacePool().size(); }

void CKWFontFaceStorage::AddFace(const std::wstring& name, uint8_t type, uint8_t charset)
{
    auto it = std::lower_bound(m_faces.begin(), m_faces.end(), name,
                               [](const std::unique_ptr<CKWFontFace>& a, const std::wstring& b) { return *a->name < b; });
    if (it != m_faces.end() && *(*it)->name == name) {
        std::vector<uint8_t>& sets = (*it)->charsets;
        auto c = std::lower_bound(sets.begin(), sets.end(), charset);
        if (c == sets.end() || *c != charset)
            sets.insert(c, charset);
        return;
    }
    auto face = std::make_unique<CKWFontFace>();
    face->name = GetFace(name);
    face->type = type;
    face->charsets.push_back(charset);
    m_faces.insert(it, std::move(face));
}

const CKWFontFace* CKWFontFaceStorage::FindFace(const std::wstring& name) const
{
    auto it = std::lower_bound(m_faces.begin(), m_faces.end(), name,
                               [](const std::unique_ptr<CKWFontFace>& a, const std::wstring& b) { return *a->name < b; });
    if (it != m_faces.end() && *(*it)->name == name)
        return it->get();
    return nullptr;
}

int CALLBACK CKWFontFaceStorage::EnumProc(const LOGFONTW* lf, const TEXTMETRICW*, DWORD fontType, LPARAM param)
{
    CKWFontFaceStorage* self = reinterpret_cast<CKWFontFaceStorage*>(param);
    uint8_t type = 0;
    if (fontType & TRUETYPE_FONTTYPE)
        type |= kTrueType;
    if (fontType & DEVICE_FONTTYPE)
        type |= kDevice;
    if (type && lf->lfFaceName[0]) {
        // No C++ exception crosses the enumeration callback.
        try {
            self->AddFace(lf->lfFaceName, type, lf->lfCharSet);
            // The enumeration hands the extended record, with the charset's script name.
            GetCharsetNameTable().SetName(lf->lfCharSet, reinterpret_cast<const ENUMLOGFONTEXW*>(lf)->elfScript);
        } catch (...) {
        }
    }
    return 1;  // the enumeration always continues
}

void CKWFontFaceStorage::FillFromDC(HDC dc)
{
    if (!dc)
        return;
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;  // every face in every charset
    ::EnumFontFamiliesExW(dc, &lf, reinterpret_cast<FONTENUMPROCW>(&CKWFontFaceStorage::EnumProc),
                          reinterpret_cast<LPARAM>(this), 0);
    m_filled = true;
}

void CKWFontFaceStorage::EnsureFilled()
{
    if (m_filled)
        return;
    HDC dc = ::GetDC(nullptr);
    if (!dc)
        return;
    FillFromDC(dc);
    ::ReleaseDC(nullptr, dc);
}

CKWFontFaceStorage& GetFontFaceStorage()
{
    static CKWFontFaceStorage storage;
    return storage;
}

void CCharsetNameTable::SetName(uint8_t charset, const std::wstring& name)
{
    if (!m_names[charset])
        m_names[charset] = std::make_unique<std::wstring>(name);
}

CCharsetNameTable& GetCharsetNameTable()
{
    static CCharsetNameTable table;
    return table;
}

namespace {

int CALLBACK AppendFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param)
{
    auto* list = reinterpret_cast<std::vector<std::wstring>*>(param);
    try {
        const std::wstring name = lf->lfFaceName;
        if (std::find(list->begin(), list->end(), name) == list->end())
            list->push_back(name);
    } catch (...) {
    }
    return 1;
}

}  // namespace

bool FillFontFaceStorage(std::vector<std::wstring>* list)
{
    if (!list)
        return false;
    HDC dc = ::GetDC(nullptr);
    if (!dc)
        return true;
    LOGFONTW lf = {};  // ANSI_CHARSET and every face name
    ::EnumFontFamiliesExW(dc, &lf, reinterpret_cast<FONTENUMPROCW>(&AppendFamily), reinterpret_cast<LPARAM>(list), 0);
    ::ReleaseDC(nullptr, dc);
    return true;
}
