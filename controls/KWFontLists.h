#pragma once
// The font-name data of the font pickers: the current document's font list
// joined to the application's list of installed faces. One picker entry per
// application font tells whether the current document uses that font, and
// at which index of its font table.
//
// Global data of the user-interface thread; no lock.
#include <cstddef>
#include <string>
#include <vector>

class CKWFontFaceStorage;
class CKWIndexDecoder;
struct CKWFontFace;

// One entry of the picker data. The combo boxes hold pointers to these as
// their item data; the second word is the document's font index.
struct FontCommboData {
    const CKWFontFace* face = nullptr;  // null: a font the system lacks
    int value = -1;                     // index in the document's font list, -1 when unused
    // The name of a font the system lacks. The entry holds it itself, so that
    // destroying the global picker data at program exit needs nothing else.
    std::wstring missingName;
};

// The picker data: one owned entry per application font, in its order.
class FCOMMBO_DATA_ARRAY {
public:
    FCOMMBO_DATA_ARRAY() = default;
    ~FCOMMBO_DATA_ARRAY() { RemoveAll(); }
    FCOMMBO_DATA_ARRAY(const FCOMMBO_DATA_ARRAY&) = delete;
    FCOMMBO_DATA_ARRAY& operator=(const FCOMMBO_DATA_ARRAY&) = delete;

    FontCommboData* Add(const CKWFontFace* face, int value);
    void RemoveAll();
    size_t GetSize() const { return m_entries.size(); }
    FontCommboData* GetAt(size_t index) const { return index < m_entries.size() ? m_entries[index] : nullptr; }

private:
    std::vector<FontCommboData*> m_entries;
};

// The global picker data.
FCOMMBO_DATA_ARRAY& GetFontCommboData();

// The lists the pickers show: the current document's (null: none) and the
// application's.
void SetCurrentFontLists(const CKWIndexDecoder* documentList, const CKWFontFaceStorage* applicationList);
const CKWIndexDecoder* GetCurrentFontList();
const CKWFontFaceStorage* GetApplicationFontList();

// Refreshes the picker data: emptied first with rebuild; made from the
// application list when empty; every value then reset and matched by name
// against the document list. A document font the system lacks gets an entry
// without a face (once; its name kept beside it). The font-name combo
// buttons are refilled when entries were made anew, and the font-name menus
// rebuilt.
void UpdateFontLists(bool rebuild);

// A picker entry without a face for a font the document uses (index value)
// but the system lacks; the new entry.
FontCommboData* AddMissingFont(const wchar_t* name, int value);
// The same in a picker's own data (a dialog's font box).
FontCommboData* AddMissingFont(FCOMMBO_DATA_ARRAY& data, const wchar_t* name, int value);
// The face name of an entry: the installed face's, or the missing font's;
// null for no entry.
const wchar_t* GetFontEntryName(const FontCommboData* entry);
// The name of an entry without a face; null for any other entry.
const wchar_t* GetMissingFontName(const FontCommboData* entry);

