#include "framework/KWPathUtils.h"

#include <cwchar>
#include <initializer_list>

namespace {

int TextLength(const wchar_t* text) { return text ? static_cast<int>(std::wcslen(text)) : 0; }

// Length of the drive part that ".." must not remove ("c:").
int DriveLength(const wchar_t* path) {
    return TextLength(path) >= 2 && path[0] != 0 && !IsPathSeparator(path[0]) && path[1] == L':' ? 2 : 0;
}

bool IsParentComponent(const wchar_t* text) {
    return text[0] == L'.' && text[1] == L'.' && (text[2] == 0 || IsPathSeparator(text[2]));
}

}  // namespace

bool IsPathSeparator(wchar_t ch) { return ch == L'\\' || ch == L':' || ch == L'/'; }

int FindLastPathSeparator(const wchar_t* path, int start, wchar_t* ch) {
    const int length = TextLength(path);
    if (start < 0 || start >= length) start = length - 1;
    for (int i = start; i >= 0; --i) {
        if (IsPathSeparator(path[i])) {
            if (ch) *ch = path[i];
            return i;
        }
    }
    return -1;
}

int FindNextPathSeparator(const wchar_t* path, int start, wchar_t* ch) {
    const int length = TextLength(path);
    for (int i = start < 0 ? 0 : start; i < length; ++i) {
        if (IsPathSeparator(path[i])) {
            if (ch) *ch = path[i];
            return i;
        }
    }
    return -1;
}

void NormalizePathSeparators(CString& path) {
    int drive = path.Find(L":\\");
    const int first = drive < 0 ? 0 : drive + 2;
    const int length = path.GetLength();
    for (int i = first; i < length; ++i) {
        if (path[i] == L':' || path[i] == L'/') path.SetAt(i, L'\\');
    }
}

CString GetPathDirectory(const wchar_t* path) {
    const int separator = FindLastPathSeparator(path, -1);
    if (separator <= 0) return CString();
    return CString(path, separator);
}

CString GetPathFileName(const wchar_t* path, bool keepExtension) {
    if (!path) return CString();
    CString name(path + FindLastPathSeparator(path, -1) + 1);
    if (!keepExtension) {
        const int dot = name.ReverseFind(L'.');
        if (dot >= 0 && name.GetLength() - dot <= 4) name = name.Left(dot);
    }
    return name;
}

CString GetPathFolderName(const wchar_t* path) {
    if (!path) return CString();
    int length = TextLength(path);
    if (length > 1 && (path[length - 1] == L'\\' || path[length - 1] == L'/')) --length;
    const CString trimmed(path, length);
    return GetPathFileName(trimmed, true);
}

bool SplitPath(const wchar_t* path, CString* directory, CString* title, CString* extension) {
    const int length = TextLength(path);
    if (length == 0 || (!directory && !title)) return false;
    int separator = FindLastPathSeparator(path, -1);
    const int nameStart = separator > 0 ? separator + 1 : 0;
    int dot = -1;
    for (int i = length - 1; i >= nameStart; --i) {
        if (path[i] == L'.') {
            dot = i;
            break;
        }
    }
    const int titleEnd = dot < 0 ? length : dot;
    if (directory) *directory = CString(path, nameStart);
    if (title) *title = CString(path + nameStart, titleEnd - nameStart);
    if (extension) *extension = dot < 0 ? CString() : CString(path + dot + 1);
    return true;
}

CString GetPathExtension(const wchar_t* path) {
    const int length = TextLength(path);
    const int separator = FindLastPathSeparator(path, -1);
    for (int i = length - 1; i > separator; --i) {
        if (path[i] == L'.') return CString(path + i + 1);
    }
    return CString();
}

bool IsJpegExtension(const wchar_t* extension) {
    for (const wchar_t* jpeg : {L"jpg", L"jpeg", L"jpe", L"jfif"}) {
        if (extension && ::_wcsicmp(extension, jpeg) == 0) return true;
    }
    return false;
}

void CombineRelativePath(const wchar_t* relative, const wchar_t* base, CString& result) {
    result.Empty();
    if (!relative) relative = L"";
    const int baseLength = TextLength(base);
    int cut = baseLength;
    if (baseLength > 2 && IsPathSeparator(base[baseLength - 1])) --cut;
    const int drive = DriveLength(base);

    const wchar_t* scan = relative;
    for (;;) {
        if (IsPathSeparator(*scan)) {
            ++scan;
        } else if (IsParentComponent(scan)) {
            if (cut > drive) {
                const int separator = FindLastPathSeparator(base, cut - 1);
                cut = separator < drive ? drive : separator;
            }
            scan += 2;
            if (*scan) ++scan;
        } else {
            break;
        }
    }

    if (cut >= 1) {
        result = CString(base, cut);
        result += L'\\';
    }
    result += scan;
    NormalizePathSeparators(result);
}
