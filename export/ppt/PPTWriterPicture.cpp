// Picture frames: no picture data in the file; each shape links to a copy of
// its picture's file in the folder beside the presentation.
#include "export/ppt/PPTWriter.h"

#include <windows.h>

#include "export/ExportPlacement.h"
#include "export/ppt/PptEscherEx.h"
#include "export/ppt/ShapePropertyTable.h"
#include "framework/KWRasterLib.h"

namespace {

const uint16_t kShapePictureFrame = 75;
const uint32_t kPictureShapeFlags = PptEscherEx::kFlagHaveAnchor | PptEscherEx::kFlagHaveShapeType;
const double kMasterUnitsPerInch = 576.0;

int32_t NormalizedDegrees(int32_t degrees)
{
    const int32_t reduced = degrees % 360;
    return reduced < 0 ? reduced + 360 : reduced;
}

CString Upper(const CString& text)
{
    CString upper = text;
    upper.MakeUpper();
    return upper;
}

bool FileExists(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void PPTWriter::WritePictureShape(const TalObjExport& object)
{
    const ExportImageData* record = object.GetImageRecord();
    if (!record)
        return;
    const double slideWidth = m_pageWidth * kMasterUnitsPerTenthMm;
    const double slideHeight = m_pageHeight * kMasterUnitsPerTenthMm;
    const CKWDoubleRect slide(0, 0, slideWidth, slideHeight);

    CKWDoubleRect placed;
    switch (record->GetKind()) {
    case kExportWmImage: {
        double width = 0, height = 0;  // inches
        record->GetSize(width, height);
        PlaceInCell(slide, width * kMasterUnitsPerInch, height * kMasterUnitsPerInch, placed, kPlaceOwnSize,
                    record->GetPlace());
        break;
    }
    case kExportCommonImage: {
        SIZE size = {0, 0};
        g_rasterLib.GetImageSize(record->GetImageKey(), size);
        placed = record->GetRect();
        PlaceInCell(slide, size.cx, size.cy, placed, kPlaceFit, 0);
        break;
    }
    default: {
        const ShapeRect rect = GetShapeRect(record->GetRect());
        placed = CKWDoubleRect(rect.left, rect.top, rect.right, rect.bottom);
        break;
    }
    }
    int32_t left = static_cast<int32_t>(placed.left);
    int32_t top = static_cast<int32_t>(placed.top);
    int32_t right = static_cast<int32_t>(placed.right);
    int32_t bottom = static_cast<int32_t>(placed.bottom);

    // A quarter turn: the anchor is the box turned about its centre. Angles
    // are taken modulo 360, so -90 and 450 turn it as 270 and 90 do.
    const int32_t angle = NormalizedDegrees(record->GetRotation());
    if (angle == 90 || angle == 270) {
        const int32_t w = right - left, h = bottom - top;
        const int32_t cx = left + w / 2, cy = top + h / 2;
        left = cx - h / 2;
        top = cy - w / 2;
        right = left + h;
        bottom = top + w;
    }

    PptEscherEx& escher = *m_escher;
    escher.BeginContainer(PptEscherEx::kSpContainer);
    escher.WriteShapeAtom(kShapePictureFrame, kPictureShapeFlags, escher.TakeShapeId());
    ShapePropertyTable table;
    WritePictureProperties(*record, table);
    escher.WriteChildAnchor(left, top, right, bottom);
    escher.EndContainer();
}

void PPTWriter::WritePictureProperties(const ExportImageData& record, ShapePropertyTable& table)
{
    AddPictureLink(record, table);
    table.SetRotation(NormalizedDegrees(record.GetRotation()) * 100);
    table.SetProperty(0x01FF, 0x00090000);  // no line
    table.WriteTo(m_escher->GetStream(), 3);
}

bool PPTWriter::AddPictureLink(const ExportImageData& record, ShapePropertyTable& table)
{
    const int slash = m_fileName.ReverseFind(L'\\');
    const CString source = g_rasterLib.GetImagePath(record.GetImageKey());
    int sourceSlash = source.ReverseFind(L'\\');
    if (sourceSlash < 0)
        sourceSlash = 0;
    int dot = m_fileName.ReverseFind(L'.');
    if (dot < slash)
        dot = m_fileName.GetLength();
    if (slash < 0 || sourceSlash >= source.GetLength())
        return false;

    const CString folder = m_fileName.Left(dot) + L"_Images";
    if (!::CreateDirectoryW(folder, nullptr) && !IsFolder(folder)) {
        m_linkFailed = true;
        Report(L"Error (%lu) creating %ls\n", ::GetLastError(), static_cast<const wchar_t*>(folder));
    }

    bool copyNeeded = false;
    const CString name = GetLinkName(source, copyNeeded);
    const CString destination = folder + name;
    if (copyNeeded && Upper(destination) != Upper(source)) {
        // A picture file that is gone leaves a dangling link; one that exists
        // but cannot be copied is a write failure of the export.
        if (!::CopyFileW(source, destination, FALSE) && FileExists(source)) {
            m_linkFailed = true;
            Report(L"Error (%lu) copying %ls to %ls\n", ::GetLastError(), static_cast<const wchar_t*>(source),
                   static_cast<const wchar_t*>(destination));
        }
    }

    const CString link = folder.Mid(slash + 1) + name;
    const uint32_t bytes = 2 * static_cast<uint32_t>(link.GetLength()) + 2;
    std::vector<uint8_t> data(bytes, 0);
    for (int i = 0; i < link.GetLength(); ++i) {
        data[2 * i] = static_cast<uint8_t>(link[i]);
        data[2 * i + 1] = static_cast<uint8_t>(link[i] >> 8);
    }
    table.SetProperty(0x0105, bytes, true, data.data(), bytes);
    table.SetProperty(0x0106, 13);  // linked file, not saved with the document
    if (record.GetGrayscale())
        table.SetProperty(0x013F, 0x00060004);
    return true;
}

CString PPTWriter::GetLinkName(const CString& source, bool& copyNeeded)
{
    const CString key = Upper(source);
    const auto known = m_linkedFiles.find(key);
    if (known != m_linkedFiles.end()) {
        copyNeeded = false;
        return known->second;
    }
    // The file name with its backslash; pictures of the same name from
    // different folders get a number before the extension.
    const int slash = source.ReverseFind(L'\\');
    const CString fileName = source.Mid(slash + 1);
    const int dot = fileName.ReverseFind(L'.');
    const CString stem = dot > 0 ? fileName.Left(dot) : fileName;
    const CString extension = dot > 0 ? fileName.Mid(dot) : CString();
    CString name = L"\\" + fileName;
    for (int number = 2; m_takenNames.count(Upper(name)); ++number) {
        CString suffix;
        suffix.Format(L"_%d", number);
        name = L"\\" + stem + suffix + extension;
    }
    m_takenNames[Upper(name)] = true;
    m_linkedFiles[key] = name;
    copyNeeded = true;
    return name;
}
