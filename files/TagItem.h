#pragma once
// CTagItem: one registered element of a tag table: its name, the elements it
// may stand under, its handlers and the parameter cells of its attributes.
#include "files/NewParamCell.h"
#include "files/TagDelegate.h"
#include "framework/HashItem.h"

#include <cstdint>
#include <memory>
#include <vector>

class CTagItem : public CHashItem {
public:
    // Takes the delegate.
    CTagItem(const char* name, CTagDelegateVoid* delegate);
    ~CTagItem() override;

    // No parent: true only for an element without allowed parents (a root).
    bool IsAllowedUnder(const CTagItem* parent) const;
    void AddParent(CTagItem* parent);
    const std::vector<CTagItem*>& GetParents() const { return m_parents; }

    CTagDelegateVoid* GetDelegate() const { return m_delegate.get(); }

    // Takes the cell.
    void SetDefaultCell(CNewParamCell* cell) { m_defaultCell.reset(cell); }
    const CNewParamCell* GetDefaultCell() const { return m_defaultCell.get(); }
    // The cell of the element being read, or of the last one of this name.
    void SetCurrentCell(CNewParamCell* cell) { m_currentCell.reset(cell); }
    CNewParamCell* GetCurrentCell() const { return m_currentCell.get(); }
    void DeleteCurrentCell() { m_currentCell.reset(); }

    // The start tags of this name the parse met so far, also where they are
    // misplaced or skipped: the n-th is the image pre-pass's n-th, which
    // counts from the start of each file.
    void CountStart() { ++m_starts; }
    int32_t GetStartCount() const { return m_starts; }
    void ResetStartCount() { m_starts = 0; }

private:
    int32_t m_starts = 0;
    std::vector<CTagItem*> m_parents;  // not owned
    std::unique_ptr<CTagDelegateVoid> m_delegate;
    std::unique_ptr<CNewParamCell> m_defaultCell;
    std::unique_ptr<CNewParamCell> m_currentCell;
};
