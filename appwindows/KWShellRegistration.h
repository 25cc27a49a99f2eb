#pragma once
// The shell registration of the framework's document types: keys with a
// default string value under HKEY_CLASSES_ROOT.
#include "platform/classlib/String.h"

#include <windows.h>

// Writes the value as the key's default REG_SZ value (the key is created
// when missing); false when it cannot be written.
bool SetRegKey(const wchar_t* key, const wchar_t* value);
// The key of a document type: the format with the type id for its "%s".
CString FormatShellKey(const wchar_t* format, const CString& typeId);
// The extension's "ShellNew" key with an empty "NullFile" value, so that the
// shell's "New" menu offers the type as an empty file.
void SetShellNewNullFile(const CString& extension);
