#include "framework/KWFolderFormatScan.h"

#include "framework/KWFolderScanner.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterFunctions.h"
#include "framework/KWRasterLib.h"
#include "framework/QMFormatInfo.h"

#include <windows.h>

namespace {

CString WithBackslash(const wchar_t* folder)
{
    CString result(folder);
    if (!result.IsEmpty() && result[result.GetLength() - 1] != L'\\')
        result += L'\\';
    return result;
}

// The library's own format list, released with the library's own function.
class CLibraryFormatList {
public:
    CLibraryFormatList()
    {
        HMODULE module = g_rasterLib.GetLibraryModule();
        if (!module)
            return;
        auto create = reinterpret_cast<KWCreateFormatListFn>(
            reinterpret_cast<void*>(::GetProcAddress(module, "CreateFormatList")));
        m_dispose = reinterpret_cast<KWDisposeFormatListFn>(
            reinterpret_cast<void*>(::GetProcAddress(module, "DisposeFormatList")));
        if (create && m_dispose)
            m_list = create();
    }
    ~CLibraryFormatList()
    {
        if (m_list)
            m_dispose(m_list);
    }
    CLibraryFormatList(const CLibraryFormatList&) = delete;
    CLibraryFormatList& operator=(const CLibraryFormatList&) = delete;

    const CQMFormatInfo* Get() const { return m_list; }

private:
    CQMFormatInfo* m_list = nullptr;
    KWDisposeFormatListFn m_dispose = nullptr;
};

// The files of one folder (not of its sub-folders) whose extension the category lists.
void ScanFilesOf(const CString& folder, std::vector<CString>& paths, uint32_t category,
                 const CQMFormatInfo* formats)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW(folder + L"*.*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const CString path = folder + entry.cFileName;
        for (int count = CountCategoryExtension(path, category, formats); count > 0; --count)
            paths.push_back(path);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
}

void ScanOneFolder(const CString& folder, std::vector<CString>& paths, bool recursive, uint32_t category,
                   const CQMFormatInfo* formats)
{
    ScanFilesOf(folder, paths, category, formats);
    if (recursive)
        KWWalkSubfolders(folder, [&](const CString& path, const CString&, int) {
            ScanFilesOf(path, paths, category, formats);
        });
}

void ScanFolder(const wchar_t* folder, std::vector<CString>& paths, bool recursive, uint32_t category,
                const CQMFormatInfo* formats)
{
    if (!folder || !*folder)
        return;
    if (formats) {
        ScanOneFolder(WithBackslash(folder), paths, recursive, category, formats);
        return;
    }
    CLibraryFormatList library;
    if (library.Get())
        ScanOneFolder(WithBackslash(folder), paths, recursive, category, library.Get());
}

}  // namespace

int CountCategoryExtension(const wchar_t* path, uint32_t category, const CQMFormatInfo* formats)
{
    if (!path)
        return 0;
    CString extension = GetPathExtension(path);
    if (extension.IsEmpty())
        return 0;
    extension.MakeLower();
    int count = 0;
    for (const CQMFormatInfo* format = formats; format; format = format->GetNext()) {
        if (format->GetFormatId() != category)
            continue;
        for (const CQMExtensionInfo* ext = format->GetExtensions(); ext; ext = ext->GetNext()) {
            if (!ext->GetText())
                continue;
            CString listed(ext->GetText());
            listed.MakeLower();
            if (extension == listed)
                ++count;
        }
    }
    return count;
}

void ScanFolderForImages(const wchar_t* folder, std::vector<CString>& paths, bool recursive,
                         const CQMFormatInfo* formats)
{
    ScanFolder(folder, paths, recursive, kImageFileCategory, formats);
}

void ScanFolderForTemplates(const wchar_t* folder, std::vector<CString>& paths, bool recursive,
                            const CQMFormatInfo* formats)
{
    ScanFolder(folder, paths, recursive, kTemplateFileCategory, formats);
}

void AppendRasterLibraryFormats(CQMFormatInfo& list)
{
    // A deep copy of the library's whole chain, released by the library.
    CLibraryFormatList library;
    if (library.Get())
        list.Append(*library.Get());
}
