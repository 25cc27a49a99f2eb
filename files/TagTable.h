#pragma once
// CTagTable: the elements of one XML format, found by name, each with the
// elements it may stand under and the handlers that read it. The archive
// dispatches every element it parses through the table; a format registers
// its elements in RegisterTags and adds its handlers as members.
#include "files/NewParamCell.h"
#include "files/TagDelegate.h"
#include "files/TagItem.h"
#include "framework/HashTable.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

class CNewXmlArch;

class CTagTable : public CHashTable {
public:
    static const uint16_t kBucketCount = 512;
    // The parent name the formats give their root elements; it is never registered.
    static const char kRootParent[];

    explicit CTagTable(uint16_t bucketCount = kBucketCount);
    ~CTagTable() override;

    // Asks the one-entry cache first.
    CHashItem* Lookup(const char* key) const override;
    bool Remove(const char* key) override;
    void RemoveAll() override;
    void ClearBuckets() override;

    virtual bool RegisterTags() = 0;

    // A parse begins: no start tag of any element has been met. One table
    // reads many files (the templates at start-up, say), and each file's
    // n-th picture element is the pre-pass's n-th of that file.
    void ResetStartCounts();

    virtual void SetArchive(CNewXmlArch* archive) { m_archive = archive; }
    virtual CNewXmlArch* GetArchive() const { return m_archive; }
    // The object the handlers fill; not owned.
    virtual void SetTarget(void* target) { m_target = target; }
    virtual void* GetTarget() const { return m_target; }

    // Registers name under parent with a default cell built from the
    // attribute strings (name, value, ...; count strings, 0: up to a null
    // entry). The delegate is taken in every case.
    virtual bool AddTag(const char* name, const char* parent, CTagDelegateVoid* delegate, uint8_t kind,
                        const wchar_t* text, const char* const* attributes, int32_t count);
    // The attribute strings as a list; a null entry ends it.
    virtual bool AddTagList(const char* name, const char* parent, CTagDelegateVoid* delegate, uint8_t kind,
                            const wchar_t* text, std::initializer_list<const char*> attributes);
    // A name registered before only gains the parent (the new delegate is
    // deleted). A parent name that is not registered leaves the element a root.
    virtual bool AddTagCell(const char* name, const char* parent, CTagDelegateVoid* delegate,
                            const CNewParamCell* cell);

    // An element the format does not know starts (outside a skipped
    // subtree); the archive passes over it. Nothing by default.
    virtual void OnUnknownElement(const CString& name) {}
    // A piece of the text of the innermost element (UTF-8 as the parser
    // gives it): true when the table took it, so that it is not gathered
    // into the element's cell. Nothing is taken by default.
    virtual bool TakeText(const CTagItem* item, const char* text, int length) { return false; }

    virtual CTagItem* GetCachedItem() const { return m_cached; }
    virtual CTagItem* FindTag(const wchar_t* name) const;
    virtual CTagItem* FindTagA(const char* name) const;
    // The element's current cell, or null.
    virtual CNewParamCell* GetParams(const wchar_t* name) const;
    virtual CNewParamCell* GetParamsA(const char* name) const;

    CTagTable(const CTagTable&) = delete;
    CTagTable& operator=(const CTagTable&) = delete;

protected:
    // Attribute values for the handlers, by name in any order. A missing
    // attribute leaves the field as it was; a value that is not a number
    // reads as the number its first digits form, or 0, without a word.
    bool ReadInt(const CNewParamCell& cell, const wchar_t* name, int32_t& value) const;
    // A narrower or unsigned field gets the value cut to its width.
    template <class T>
    bool ReadNarrow(const CNewParamCell& cell, const wchar_t* name, T& value) const
    {
        int32_t read = 0;
        if (!ReadInt(cell, name, read))
            return false;
        value = static_cast<T>(read);
        return true;
    }
    // Any value other than 0 is set.
    bool ReadFlag(const CNewParamCell& cell, const wchar_t* name, uint8_t& value) const;
    static bool ReadText(const CNewParamCell& cell, const wchar_t* name, CString& value);
    // The value held within -limit..limit.
    template <class T>
    bool ReadReal(const CNewParamCell& cell, const wchar_t* name, T& value, double limit) const
    {
        double read = 0.0;
        if (!ReadDouble(cell, name, read))
            return false;
        value = static_cast<T>(read > limit ? limit : read < -limit ? -limit : read);
        return true;
    }

    // A warning with the parser's line (nothing outside a parse).
    void Warn(const CString& text) const;
    // Text in an element that holds none (a mangled element, say) would be
    // lost unseen: a warning.
    void WarnStrayText(const CString& name) const;
    // An element that may stand only once where it stands came again: the
    // archive's duplicate warning, and the element is skipped.
    void SkipRepeated(const CString& name);

    // Handlers every format may point at.
    void EmptyHandler(const CString& name);
    // For elements whose data the image pre-pass took: their content is not read.
    void SkipHandler(const CString& name);

    template <class TTable>
    static CTagDelegateVoid* MakeDelegate(TTable* table, void (TTable::*start)(const CString&),
                                          void (TTable::*end)(const CString&))
    {
        return new CTagDelegate<TTable>(table, start, end);
    }

    // One element of a format: its name, the element it stands under and its
    // handlers (null: none). Registered without default attributes.
    template <class TTable>
    struct TagEntry {
        const char* name;
        const char* parent;
        void (TTable::*start)(const CString&);
        void (TTable::*end)(const CString&);
    };
    template <class TTable, size_t Count>
    bool AddTags(TTable* table, const TagEntry<TTable> (&entries)[Count])
    {
        bool ok = true;
        for (const TagEntry<TTable>& entry : entries) {
            ok = AddTagList(entry.name, entry.parent, MakeDelegate(table, entry.start, entry.end), CNewParamCell::kAll,
                            nullptr, {nullptr}) &&
                 ok;
        }
        return ok;
    }

private:
    // Always finite: the fields' limits then hold it.
    bool ReadDouble(const CNewParamCell& cell, const wchar_t* name, double& value) const;

    mutable CTagItem* m_cached = nullptr;
    CNewXmlArch* m_archive = nullptr;
    void* m_target = nullptr;
};
