#pragma once
// The files of a folder tree that a category of the format records lists:
// the pictures the raster library reads (for the gallery, the wizard, drops
// and the exports) and the report templates.
#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CQMFormatInfo;

// Format-record categories the scans look for.
enum : uint32_t {
    kImageFileCategory = 0x400,
    kTemplateFileCategory = 0x4000,
};

// How often the path's extension, in any case, is listed by format records
// of the category; 0 for a path without an extension.
int CountCategoryExtension(const wchar_t* path, uint32_t category, const CQMFormatInfo* formats);

// Append to paths every file of the folder (and of its sub-folders when
// recursive; links and junctions are not followed) whose extension, in any
// case, is listed by a format record of the category. formats: the
// application's format list; null takes the raster library's own list, which
// holds image formats only. A path matches once per equal extension entry.
void ScanFolderForImages(const wchar_t* folder, std::vector<CString>& paths, bool recursive,
                         const CQMFormatInfo* formats = nullptr);
void ScanFolderForTemplates(const wchar_t* folder, std::vector<CString>& paths, bool recursive,
                            const CQMFormatInfo* formats = nullptr);

// Copies the raster library's own format records onto the end of the list;
// nothing when the library or its list functions are missing.
void AppendRasterLibraryFormats(CQMFormatInfo& list);
