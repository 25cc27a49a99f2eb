#pragma once
// CStringList: a list of strings.
#include "platform/classlib/List.h"

class CStringList : public CList<CString, const wchar_t*> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, const wchar_t*>(nBlockSize) {}
};
