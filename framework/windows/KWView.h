#pragma once
// CKWView: the framework's view base. So far it offers what the document
// bases call: the binding of the first view to its document once the
// document has content.
#include "platform/classlib/View.h"

class CKWDocument;

class CKWView : public CView {
    DECLARE_DYNAMIC(CKWView)
public:
    CKWView();
    ~CKWView() override;

    // The document has its content (new or loaded); nothing by default.
    virtual void InitializeView(CKWDocument* document);
};
