#pragma once
// Image and template files: finding a file whose stored path may be relative,
// file extensions, and collecting the files of a folder tree that the raster
// library can read (or that are report templates).
#include "framework/KWFolderScanner.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CQMFormatInfo;

// Format-record categories the scans look for.
enum : uint32_t {
    kImageFileCategory = 0x400,
    kTemplateFileCategory = 0x4000,
};

// The preferences' folders a relative path is tried in: the one last used
// by the "Open Image" dialog, and the templates folder. The editor installs
// the preferences' answers; without them both are the program's templates
// folder (where those preferences start).
typedef void (*OpenImageFolderSource)(CString& openImageFolder, CString& templatesFolder);
void SetOpenImageFolderSource(OpenImageFolderSource source);

// The program's folder followed by "Templates\".
CString GetTemplatesFolder();

// Tries the path as it stands, then resolved against the program's folder,
// the "Open Image" folder and the preferences' templates folder; gives the
// first that opens for reading. An empty path gives false without touching out.
bool ResolveFilePath(const wchar_t* path, CString& out);

// The text after the last dot of the last path component; false with an
// empty extension when there is no dot or the dot ends the path.
bool GetFileExtension(const wchar_t* path, CString& extension);

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
