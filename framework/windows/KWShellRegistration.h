#pragma once
// The shell registration of the framework's document types: keys with a
// default string value under HKEY_CLASSES_ROOT.
#include <windows.h>

// Writes the value as the key's default REG_SZ value (the key is created
// when missing); false when it cannot be written.
bool SetRegKey(const wchar_t* key, const wchar_t* value);
