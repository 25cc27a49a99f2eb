#include "export/ExportImageFiles.h"

#include "framework/KWPathUtils.h"
#include "framework/KWSystemInfo.h"

#include <windows.h>

namespace {

OpenImageFolderSource g_openImageFolderSource = nullptr;

bool OpensForReading(const wchar_t* path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool TryCandidate(const wchar_t* path, const CString& base, CString& out)
{
    if (base.IsEmpty())
        return false;
    CString combined;
    CombineRelativePath(path, base, combined);
    if (combined.IsEmpty() || !OpensForReading(combined))
        return false;
    out = combined;
    return true;
}

}  // namespace

void SetOpenImageFolderSource(OpenImageFolderSource source)
{
    g_openImageFolderSource = source;
}

CString GetTemplatesFolder()
{
    return GetModuleDirectory() + L"Templates\\";
}

bool ResolveFilePath(const wchar_t* path, CString& out)
{
    if (!path || !*path)
        return false;
    if (OpensForReading(path)) {
        out = path;
        return true;
    }
    CString templates = GetTemplatesFolder();
    CString openImage = templates;
    if (g_openImageFolderSource)
        g_openImageFolderSource(openImage, templates);
    return TryCandidate(path, GetModuleDirectory(), out) || TryCandidate(path, openImage, out) ||
           TryCandidate(path, templates, out);
}

bool GetFileExtension(const wchar_t* path, CString& extension)
{
    extension = path ? GetPathExtension(path) : CString();
    return !extension.IsEmpty();
}
