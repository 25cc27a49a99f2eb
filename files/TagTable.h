#pragma once
// CTagTable: the elements of one XML format, found by name, each with the
// elements it may stand under and the handlers that read it. The archive
// dispatches every element it parses through the table; a format registers
// its elements in RegisterTags and adds its handlers as members.
#include "files/NewParamCell.h"
#include "files/TagDelegate.h"
#include "files/TagItem.h"
#include "framework/HashTable.h"

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

    virtual CTagItem* GetCachedItem() const { return m_cached; }
    virtual CTagItem* FindTag(const wchar_t* name) const;
    virtual CTagItem* FindTagA(const char* name) const;
    // The element's current cell, or null.
    virtual CNewParamCell* GetParams(const wchar_t* name) const;
    virtual CNewParamCell* GetParamsA(const char* name) const;

    CTagTable(const CTagTable&) = delete;
    CTagTable& operator=(const CTagTable&) = delete;

protected:
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

private:
    mutable CTagItem* m_cached = nullptr;
    CNewXmlArch* m_archive = nullptr;
    void* m_target = nullptr;
};
