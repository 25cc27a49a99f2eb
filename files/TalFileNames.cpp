#include "files/TalFileNames.h"

#include <windows.h>

#include <cwctype>
#include <cwchar>

bool IsDeviceName(const CString& name)
{
    CString stem = name;
    const int dot = stem.Find(L'.');
    if (dot >= 0)
        stem = stem.Left(dot);
    stem.TrimRight();
    stem.MakeUpper();
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (stem == device)
            return true;
    }
    if (stem.GetLength() != 4 || (stem.Left(3) != L"COM" && stem.Left(3) != L"LPT"))
        return false;
    const wchar_t digit = stem[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\x00B9' || digit == L'\x00B2' || digit == L'\x00B3';
}

bool IsSafeFileName(const CString& name)
{
    const int length = name.GetLength();
    if (length == 0 || length > MAX_PATH)
        return false;
    for (int i = 0; i < length; ++i) {
        const wchar_t ch = name[i];
        if (ch < 32 || std::wcschr(L"\\/:*?\"<>|", ch))
            return false;
    }
    // Dots inside a name ("IMG..1.jpg", "...Trip Images") climb no folder;
    // a name of dots only ends in one and is refused with the trailing dot.
    if (name[length - 1] == L'.' || name[length - 1] == L' ')
        return false;
    return !IsDeviceName(name);
}

const wchar_t kTitleTemplateExtension[] = L".ott";
const wchar_t kLeafTemplateExtension[] = L".otl";

CString TemplateFileName(const CString& name, bool title)
{
    const wchar_t* extension = title ? kTitleTemplateExtension : kLeafTemplateExtension;
    const int length = static_cast<int>(std::wcslen(extension));
    if (name.IsEmpty())
        return CString();
    CString file = name;
    if (name.GetLength() <= length || name.Right(length).CompareNoCase(extension) != 0) {
        if (name.Find(L'.') >= 0)
            return CString();
        file += extension;
    }
    // Template names stay as plain as the template files ever had them.
    return IsSafeFileName(file) && file.Find(L"..") < 0 ? file : CString();
}

namespace {

bool IsSeparator(wchar_t ch)
{
    return ch == L'\\' || ch == L'/';
}

bool HasDrive(const CString& path)
{
    return path.GetLength() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

}  // namespace

CString LocalPicturePath(const CString& reference, const CString& documentPath)
{
    if (reference.IsEmpty() || (reference.GetLength() >= 2 && IsSeparator(reference[0]) && IsSeparator(reference[1])))
        return CString();
    CString path;
    if (HasDrive(reference))
        path = reference;
    else if (!HasDrive(documentPath) || IsSeparator(reference[0]))
        return CString();  // a name from the root lies outside the document's folder, wherever that is
    else
        path = documentPath.Left(documentPath.ReverseFind(L'\\') + 1) + reference;
    if (path.Find(L':', 2) >= 0)
        return CString();
    // "..", "." and doubled separators resolved as text.
    wchar_t full[MAX_PATH * 4];
    const DWORD length = ::GetFullPathNameW(path, MAX_PATH * 4, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 4)
        return CString();
    const CString resolved(full);
    return HasDrive(resolved) ? resolved : CString();
}

namespace {

bool IsLineBreak(wchar_t ch)
{
    return ch == L'\n' || ch == L'\r';
}

bool IsLayout(wchar_t ch, bool blanks)
{
    return IsLineBreak(ch) || ch == L'\t' || (blanks && ch == L' ');
}

}  // namespace

CString PictureTextName(const CString& text)
{
    // The writer's form: a line break, the name, the end tag's TABs only.
    int end = text.GetLength();
    while (end > 0 && text[end - 1] == L'\t')
        --end;
    const bool blanks = end == text.GetLength() || end == 0 || IsLayout(text[end - 1], true) || !IsLineBreak(text[0]);
    end = text.GetLength();
    while (end > 0 && IsLayout(text[end - 1], blanks))
        --end;
    int start = 0;
    while (start < end && IsLayout(text[start], blanks))
        ++start;
    return text.Mid(start, end - start);
}

bool IsExistingFile(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
