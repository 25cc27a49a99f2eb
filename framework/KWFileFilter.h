#pragma once
// The filter lists of the file dialogs, built from the application's format
// list: an entry per format record of the dialog's category that has an
// extension of the dialog's kind (readable to open, writable to save). Entries
// are "Name (*.a, *.b)|*.a; *.b|"; the list ends with one more "|", and every
// "|" becomes a NUL for the common dialog.
#include "platform/classlib/String.h"

#include <cstdint>
#include <vector>

class CQMFormatInfo;

// The application's file-format flags (a format record's id).
enum : uint32_t {
    kKWFormatAllSupported = 1,
    kKWFormatAllFiles = 2,
    kKWFormatHtml = 32,
    kKWFormatPowerPoint = 64,
    kKWFormatPdf = 128,
    kKWFormatRaster = 1024,
    kKWFormatDocument = 2048,
    kKWFormatPageTemplate = 4096,
    kKWFormatTitleTemplate = 8192,
    kKWFormatReportTemplate = 16384,
};

struct KWExportFilter {
    CString filter;                               // NUL-separated, ends with two NULs
    std::vector<const CQMFormatInfo*> records;    // the records with entries, in filter order
    const CQMFormatInfo* chosen = nullptr;        // the default format
    uint32_t filterIndex = 0;                     // 1-based; 0 when none was chosen
};

struct KWImportFilter {
    CString filter;
    uint32_t filterIndex = 0;
};

// The text of a record's first extension; empty when it has none.
CString KWFirstExtension(const CQMFormatInfo* record);

// The patterns ("*.ext") of a record's extensions of the kind, in list order.
std::vector<CString> KWFormatPatterns(const CQMFormatInfo* record, bool writable);

// The save dialog's list. The default format is the first record with the
// default extension (exact comparison), else the first whose id meets the
// default flags; when none is, the first record (without a filter index).
KWExportFilter KWBuildExportFilter(const CQMFormatInfo* formats, uint32_t category, const wchar_t* defaultExt,
                                   uint32_t defaultFlags);

// The open dialog's list. With category 1, an "all supported" entry (named
// after the record with id 1, else "All Supported Files") with every pattern
// but those of "All files" comes first.
KWImportFilter KWBuildImportFilter(const CQMFormatInfo* formats, uint32_t category, uint32_t defaultFlags,
                                   const wchar_t* defaultExt);

// Gives path the record's first extension unless its file name already ends
// with one of the record's extensions (in any case). With replace, another
// extension is cut off first; without it, it is kept. True when the path changed.
bool KWEnsureExtension(const CQMFormatInfo* record, CString& path, bool replace);
