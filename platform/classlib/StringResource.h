#pragma once
// Strings of the string table in the resource module.
#include "platform/classlib/String.h"

#include <windows.h>

// FALSE (and an empty string) when the string does not exist.
BOOL AfxLoadStringResource(UINT nID, CString& rString);
// Field nField (0-based) of a string whose fields are separated by '\n'; empty when missing.
CString AfxExtractStringField(const CString& strFull, int nField);
