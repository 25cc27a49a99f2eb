#pragma once
// The bounding of a picture's name as it was first written: every end is
// tried from the longest down, each put in text form, so its time grows with
// the square of the name's length. The name bound (BoundedPictureName) is
// checked against it on given names, and the document bench times both.
#include "files/XmlValueForms.h"
#include "platform/classlib/String.h"

inline CString SearchedPictureName(const CString& name)
{
    const size_t kMaxText = 120;
    if (XmlTextForm(name).size() <= kMaxText)
        return name;
    for (int keep = name.GetLength() - 1; keep > 0; --keep) {
        const CString tail = CString(L"...") + name.Right(keep);
        if (XmlTextForm(tail).size() <= kMaxText)
            return tail;
    }
    return CString(L"...");
}
