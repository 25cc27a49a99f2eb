#pragma once
// CKWTreeControlSplit: a tree control that is also a pane of a split frame;
// its window is the tree's.
#include "controls/KWTreeControl.h"
#include "framework/KWSplitItem.h"

class CKWTreeControlSplit : public CKWTreeControl, public CKWSplitItem {
public:
    CKWTreeControlSplit() = default;
    ~CKWTreeControlSplit() override;

    using CKWTreeControl::GetClientRect;
    // The tree window of the implementation; null before it is created.
    CWnd* GetWnd() override;
};
