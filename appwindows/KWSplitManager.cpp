#include "appwindows/KWSplitManager.h"

#include "controls/KWControlsFactory.h"
#include "framework/KWSplitterIFace.h"
#include "appwindows/KWSplitterWin.h"

CKWSplitManager::CKWSplitManager() : m_root(nullptr), m_rootIsBar(false)
{
    CKWControlsFactory* factory = KWGetControlsFactory();
    if (!factory->GetSplitterMaker())
        factory->SetSplitterMaker(&CKWSplitterWin::Make);
}

CKWSplitManager::~CKWSplitManager()
{
    if (m_rootIsBar)
        delete m_root;
    m_root = nullptr;
}

bool CKWSplitManager::AddItem(CKWSplitItem* existing, CKWSplitItem* newItem, bool newAfter, bool vertical,
                              int position, CWnd* parentWnd, UINT id, bool moveBarFirst)
{
    if (!existing || !newItem || !existing->CanSplit(position, vertical))
        return false;
    return SplitItem(existing, newItem, newAfter, vertical, position, parentWnd, id, true, moveBarFirst) != nullptr;
}

CKWSplitterIFace* CKWSplitManager::SplitItem(CKWSplitItem* existing, CKWSplitItem* newItem, bool newAfter,
                                             bool vertical, int position, CWnd* parentWnd, UINT id, bool visible,
                                             bool moveBarFirst)
{
    if (!existing || !newItem)
        return nullptr;
    CRect rect;
    existing->GetRect(&rect);
    const int half = g_KWSplitterThickness / 2;
    CRect bar = rect;
    CRect firstPart = rect;
    CRect secondPart = rect;
    if (vertical) {
        bar.left = rect.left + position - half;
        bar.right = rect.left + position + half;
        firstPart.right = bar.left;
        secondPart.left = bar.right;
    } else {
        bar.top = rect.top + position - half;
        bar.bottom = rect.top + position + half;
        firstPart.bottom = bar.top;
        secondPart.top = bar.bottom;
    }
    CKWSplitItem* first = newAfter ? existing : newItem;
    CKWSplitItem* second = newAfter ? newItem : existing;
    const int extent = vertical ? rect.Height() : rect.Width();
    CKWSplitterIFace* splitter =
        KWGetControlsFactory()->CreateSplitter(vertical, position, bar, parentWnd, visible, id, extent);
    if (!splitter)
        return nullptr;
    first->SetRect(firstPart);
    second->SetRect(secondPart);
    splitter->SetMoveBarFirst(moveBarFirst);

    CKWSplitterIFace* formerParent = existing->GetParentSplitter();
    if (formerParent)
        formerParent->ReplaceChild(existing, splitter);
    splitter->SetChildren(first, second);
    splitter->SetParentSplitter(formerParent);
    first->SetParentSplitter(splitter);
    second->SetParentSplitter(splitter);
    if (!formerParent && (m_root == existing || !m_root)) {
        m_root = splitter;
        m_rootIsBar = true;
    }
    return splitter;
}
