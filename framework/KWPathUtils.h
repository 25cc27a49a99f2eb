#pragma once
// Path helpers on wide strings. Any of '\\', ':' and '/' ends a path component.
#include "platform/classlib/String.h"

bool IsPathSeparator(wchar_t ch);

// Position of the last separator at or before start (start < 0: from the
// end), with the separator in *ch when ch is given; -1 when there is none.
int FindLastPathSeparator(const wchar_t* path, int start, wchar_t* ch = nullptr);

// The same forwards: the first separator at or after start (start < 0: from the beginning).
int FindNextPathSeparator(const wchar_t* path, int start, wchar_t* ch = nullptr);

// Every ':' or '/' after the drive part (after ":\" when present) becomes '\'.
void NormalizePathSeparators(CString& path);

// The part before the last separator; empty when there is none or it is the first character.
CString GetPathDirectory(const wchar_t* path);

// The part after the last separator; without keepExtension a final extension
// of up to three characters is dropped with its dot ("b.jpg" -> "b", "b.html" kept).
CString GetPathFileName(const wchar_t* path, bool keepExtension);
// The last component of a folder path, one trailing separator ignored
// ("C:\\Photos\\Trip\\" gives "Trip").
CString GetPathFolderName(const wchar_t* path);

// Splits into the directory (with its final separator), the title and the
// extension (without its dot); each output may be null. False, and nothing
// written, for an empty path or when neither directory nor title is asked for.
bool SplitPath(const wchar_t* path, CString* directory, CString* title, CString* extension);

// The text after the last '.' of the last component; empty when there is none.
CString GetPathExtension(const wchar_t* path);

// True for the extensions (without the dot, in any case) that name JPEG
// files: jpg, jpeg, jpe, jfif.
bool IsJpegExtension(const wchar_t* extension);

// Joins a relative path to a base folder, resolving the ".." components at
// its start against the base. ".." never climbs above a drive ("c:").
void CombineRelativePath(const wchar_t* relative, const wchar_t* base, CString& result);
