#pragma once
// CKWPlItem: the base of the items of an items panel; CKWPlItems: the
// panel's ordered list of them, which owns the items.
#include <vector>

class CKWPlItem {
public:
    virtual ~CKWPlItem() = default;
};

class CKWPlItems : public std::vector<CKWPlItem*> {
public:
    CKWPlItems() = default;
    ~CKWPlItems() { Clear(); }
    CKWPlItems(const CKWPlItems&) = delete;
    CKWPlItems& operator=(const CKWPlItems&) = delete;

    // Deletes every item in list order (null entries skipped) and frees the storage.
    void Clear()
    {
        for (CKWPlItem* item : *this)
            delete item;
        std::vector<CKWPlItem*>().swap(*this);
    }
};
