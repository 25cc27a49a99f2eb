#pragma once
// CCreateContext: what a document template hands to a new frame so that the
// frame can make its views: the view class, the document they show, the
// template, and the frame and view the new ones are made next to.
#include "platform/classlib/Object.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
