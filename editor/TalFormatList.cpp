// The program's list of file formats, from which every open and save dialog
// builds its filters: the program's own files, the exports, the two "all"
// entries, then the raster library's image formats.
#include "editor/TalApplication.h"

#include "export/ExportImageFiles.h"
#include "framework/KWFileFilter.h"
#include "framework/QMFormatInfo.h"

#include <iterator>
#include <memory>

namespace {

struct FormatEntry {
    uint32_t kind;
    const wchar_t* name;
    uint32_t extensionId;  // 0: no extension record
    const char* extension;
    const char* typeCode;  // four characters, or null
    uint8_t firstFlag;
    uint8_t secondFlag;
};

const FormatEntry kFormats[] = {
    {2048, L"OstraTallier Document", 51, "otd", "otd ", 1, 1},
    {16384, L"OstraTallier Template", 54, "otn", "otn ", 1, 1},
    {4096, L"OstraTallier Page Template", 52, "otl", "otl ", 1, 1},
    {8192, L"OstraTallier Page-Title Template", 53, "ott", "ott ", 1, 1},
    {32, L"Html files", 37, "html", nullptr, 1, 1},
    {64, L"Document PowerPoint", 42, "ppt", nullptr, 1, 1},
    {128, L"Portable Document Format (PDF Documents)", 47, "pdf", nullptr, 0, 1},
    {1, L"All supported files", 0, nullptr, nullptr, 0, 0},
    {2, L"All files", 50, "*", nullptr, 1, 1},
};

// Four characters packed first-to-last from the low byte.
uint32_t PackTypeCode(const char* code)
{
    if (!code)
        return 0;
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

// The short form of the HTML extension: a name the user types ending in it
// keeps it. It is offered in no filter (neither flag), so the filters show
// only "html".
const char kShortHtmlExtension[] = "htm";

std::unique_ptr<CQMFormatInfo> MakeRecord(const FormatEntry& entry)
{
    CQMExtensionInfo* also = entry.kind == kKWFormatHtml
                                 ? new CQMExtensionInfo(entry.extensionId, kShortHtmlExtension, 0, 0, 0, nullptr)
                                 : nullptr;
    CQMExtensionInfo* extension =
        entry.extensionId ? new CQMExtensionInfo(entry.extensionId, entry.extension, PackTypeCode(entry.typeCode),
                                                 entry.firstFlag, entry.secondFlag, also)
                          : nullptr;
    return std::make_unique<CQMFormatInfo>(entry.kind, 0, 0, entry.name, extension, nullptr);
}

}  // namespace

CQMFormatInfo* CTalApplication::BuildFileFilters()
{
    std::unique_ptr<CQMFormatInfo> list = MakeRecord(kFormats[0]);
    for (auto entry = std::next(std::begin(kFormats)); entry != std::end(kFormats); ++entry)
        list->Append(*MakeRecord(*entry));
    AppendRasterLibraryFormats(*list);
    return list.release();
}
