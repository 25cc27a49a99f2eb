#pragma once
// CKWControlsFactory: the single factory that makes the framework's
// controls, one operation per kind; KWGetControlsFactory gives it.
//
// The splitter bar is a window class of the framework's windows layer,
// above this one: that layer registers its maker here (SetSplitterMaker)
// before it asks for a bar.
#include "platform/classlib/Rect.h"

class CKWSplitterIFace;
class CWnd;

class CKWControlsFactory {
public:
    // Constructs a bar object (not yet a window): position, orientation
    // (true: a vertical bar) and the extent of the split item across the bar.
    using SplitterMaker = CKWSplitterIFace* (*)(int position, bool vertical, int extent);

    CKWControlsFactory() = default;
    virtual ~CKWControlsFactory();

    // A bar made by the registered maker and created as a window with
    // (rect, parent, id, visible); the result of the creation is not checked.
    // Null when no maker is registered.
    virtual CKWSplitterIFace* CreateSplitter(bool vertical, int position, const RECT& rect, CWnd* parent,
                                             bool visible, UINT id, int extent);

    void SetSplitterMaker(SplitterMaker maker) { m_splitterMaker = maker; }
    SplitterMaker GetSplitterMaker() const { return m_splitterMaker; }

    CKWControlsFactory(const CKWControlsFactory&) = delete;
    CKWControlsFactory& operator=(const CKWControlsFactory&) = delete;

private:
    SplitterMaker m_splitterMaker = nullptr;
};

CKWControlsFactory* KWGetControlsFactory();
