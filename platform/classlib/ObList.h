#pragma once
// CObList: a list of CObject pointers; the list does not own the objects.
#include "platform/classlib/List.h"

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};
