// CKWFontFaceStorage: the installed font faces and the global face-name pool
// as far as the font table of styled text needs them:
// an exact lookup by face name and one shared string per distinct name.
// The charset-name table and the plain list of installed faces serve the
// font pickers.
//
// Both are global objects used on the user-interface thread only; no lock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One installed face.
struct CKWFontFace {
    const std::wstring* name = nullptr;  // the pooled copy of the face name
    uint8_t type = 0;                    // 1 TrueType, 2 device font, 3 both
    std::vector<uint8_t> charsets;       // sorted ascending, no duplicates
};

class CKWFontFaceStorage {
public:
    enum : uint8_t { kTrueType = 1, kDevice = 2 };

    CKWFontFaceStorage();
    ~CKWFontFaceStorage();
    CKWFontFaceStorage(const CKWFontFaceStorage&) = delete;
    CKWFontFaceStorage& operator=(const CKWFontFaceStorage&) = delete;

    // The pooled copy of a face name, inserted in sorted (ordinal) place when
    // absent: equal names give the same string, which lives for the whole run.
    static const std::wstring* GetFace(const std::wstring& name);
    static size_t GetPoolSize();

    // Adds a face, or only the charset when an entry of that exact name exists
    // (its type is kept).
    void AddFace(const std::wstring& name, uint8_t type, uint8_t charset);
    // The entry with exactly that name (case-sensitive), or null.
    const CKWFontFace* FindFace(const std::wstring& name) const;
    size_t GetCount() const { return m_faces.size(); }
    const CKWFontFace* GetAt(size_t i) const { return i < m_faces.size() ? m_faces[i].get() : nullptr; }

    // Adds every TrueType and device font family that EnumFontFamiliesExW
    // reports on the device context (raster fonts skipped), with its charset.
    void FillFromDC(HDC dc);
    // Fills the storage from the screen's fonts the first time it is asked.
    void EnsureFilled();
    bool IsFilled() const { return m_filled; }

private:
    static int CALLBACK EnumProc(const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD fontType, LPARAM param);

    std::vector<std::unique_ptr<CKWFontFace>> m_faces;  // sorted by name, ordinal
    bool m_filled = false;
};

// The global storage of installed faces (made on first use).
CKWFontFaceStorage& GetFontFaceStorage();

// The script name of each character set, as the font enumeration reports
// it; a slot is set once, by the first name given for it.
class CCharsetNameTable {
public:
    void SetName(uint8_t charset, const std::wstring& name);
    // Null while the slot is unset.
    const std::wstring* GetName(uint8_t charset) const { return m_names[charset].get(); }

private:
    std::unique_ptr<std::wstring> m_names[256];
};

CCharsetNameTable& GetCharsetNameTable();

// Every face of the screen appended to the list once, in the order of the
// enumeration; false for a null list.
bool FillFontFaceStorage(std::vector<std::wstring>* list);
