// Picture frames: no picture data in the file; each shape links to a file of
// its picture in the folder beside the presentation: a copy, or the picture
// encoded upright (or the placeholder) where PowerPoint would not show the
// file as it is. A JPEG recorded as turned (not mirrored) is linked as it
// lies, copied byte for byte but for the orientation it records, and its
// shapes turn it as the PDF's pages do: nothing is decoded or coded anew.
#include "export/ppt/PPTWriter.h"

#include <windows.h>

#include "export/ExportPictureFile.h"
#include "export/ExportPlacement.h"
#include "export/ppt/PptEscherEx.h"
#include "export/ppt/ShapePropertyTable.h"
#include "framework/KWFileHelpers.h"
#include "framework/KWMemoryBudget.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterLib.h"
#include "framework/KWWorkQueue.h"
#include "framework/RasterExportRequest.h"

namespace {

const uint16_t kShapePictureFrame = 75;
const uint32_t kPictureShapeFlags = PptEscherEx::kFlagHaveAnchor | PptEscherEx::kFlagHaveShapeType;
const double kMasterUnitsPerInch = 576.0;
// Pictures written at once, one per processor, within a memory budget: a copy
// takes nothing of it, a lossless turn about the file's size, a JPEG encoded
// from its planes the turned planes (1.5 bytes a pixel for 4:2:0, 3 at the
// most) and a band, a PNG the pixels and a row (it goes to its file as it is
// encoded), any other encoding a whole picture's pixels and its encoded bytes.
const int kMostPictureWriters = 8;
const uint64_t kPictureWriterMemory = uint64_t(256) << 20;
const uint64_t kBandAndTables = uint64_t(1) << 20;

uint64_t FileBytes(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return 0;
    return uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

uint64_t TurnCost(uint32_t pictureId)
{
    return FileBytes(g_rasterLib.GetImagePath(pictureId)) * 5 / 4 + kBandAndTables;
}

uint64_t Pixels(const ExportPictureFile& picture)
{
    return uint64_t(picture.size.cx > 0 ? picture.size.cx : 1) * uint64_t(picture.size.cy > 0 ? picture.size.cy : 1);
}

uint64_t PlaneCost(const ExportPictureFile& picture)
{
    return Pixels(picture) * 3 + kBandAndTables;
}

uint64_t EncodingCost(const ExportPictureFile& picture)
{
    return picture.extension.CompareNoCase(L"png") == 0 ? Pixels(picture) * 4 + kBandAndTables : Pixels(picture) * 5;
}

// A JPEG file named as one: its link's name is the same whether it is copied,
// turned or encoded, so what it needs can be found out by the writer.
bool IsNamedJpeg(uint32_t pictureId, ExportPictureFile& picture)
{
    CKWRasterLib::ImageInfo info;
    const CString extension = GetPathExtension(g_rasterLib.GetImagePath(pictureId));
    if (!IsJpegExtension(extension) || !g_rasterLib.GetImageInfo(pictureId, info) || info.format != "jpg")
        return false;
    picture.extension = extension;
    picture.copy = true;
    return true;
}

// The degrees clockwise that show a picture recorded with the orientation
// upright; 0 for upright and mirrored ones.
int32_t TurnOfOrientation(int32_t orientation)
{
    switch (orientation) {
    case 3: return 180;
    case 6: return 90;
    case 8: return 270;
    default: return 0;
    }
}

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

// The key of a picture's link: its file's path in capitals, or its id when it has no file.
CString LinkKey(uint32_t pictureId)
{
    CString key = Upper(g_rasterLib.GetImagePath(pictureId));
    if (key.IsEmpty())
        key.Format(L"?%u", pictureId);
    return key;
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

    // Angles are taken modulo 360, so -90 and 450 turn a picture as 270 and 90 do.
    const int32_t angle = NormalizedDegrees(record->GetRotation());
    const bool quarter = angle == 90 || angle == 270;
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
        // A quarter-turned picture is fitted with its turned size, as the page
        // shows it: PowerPoint takes the anchor of a shape turned a quarter
        // for the box it is seen in, and stretches the picture into that box
        // turned back before turning it. The box is the anchor as it is.
        const SIZE size = GetExportPictureSize(record->GetImageKey());
        placed = record->GetRect();
        PlaceInCell(slide, quarter ? size.cy : size.cx, quarter ? size.cx : size.cy, placed, kPlaceFit, 0);
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

    // A quarter turn: the anchor is the box turned about its centre. (The
    // shape's own turn of its file adds nothing here: whether or not the
    // file lies on its side, the box the picture is seen in is the same.)
    if (quarter && record->GetKind() != kExportCommonImage) {
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
    const int32_t fileTurn = AddPictureLink(record, table) ? LinkedFileTurn(record.GetImageKey()) : 0;
    table.SetRotation(NormalizedDegrees(record.GetRotation() + fileTurn) * 100);
    table.SetProperty(0x01FF, 0x00090000);  // no line
    table.WriteTo(m_escher->GetStream(), 3);
}

bool PPTWriter::AddPictureLink(const ExportImageData& record, ShapePropertyTable& table)
{
    const int slash = m_fileName.ReverseFind(L'\\');
    int dot = m_fileName.ReverseFind(L'.');
    if (dot < slash)
        dot = m_fileName.GetLength();
    if (slash < 0)
        return false;

    const CString folder = m_fileName.Left(dot) + L"_Images";
    if (::CreateDirectoryW(folder, nullptr)) {
        m_output.AddFolder(folder);
    } else if (!KWIsFolder(folder)) {
        const DWORD error = ::GetLastError();
        m_linkFailed = true;
        Report(L"Error (%lu) creating %ls\n", error, static_cast<const wchar_t*>(folder));
        m_output.FailTarget(folder, error);
    }

    // A picture whose file was linked already under another id links that file.
    const uint32_t id = m_samePictures.Written(record.GetImageKey());
    // A picture shown again links the file written the first time: its file
    // is neither checked nor read once more.
    CString name = FindLinkName(id);
    if (name.IsEmpty()) {
        ExportPictureFile picture;
        const bool chosen = !IsNamedJpeg(id, picture);
        // PowerPoint 97 does not turn a picture by the orientation its file
        // records: the shapes turn a JPEG recorded as turned, other files are
        // written upright.
        CKWRasterLib::ImageInfo info;
        const int32_t turn = !chosen && g_rasterLib.GetImageInfo(id, info) ? TurnOfOrientation(info.orientation) : 0;
        if (chosen)
            picture = ChooseExportPictureFile(id, false);
        name = NewLinkName(id, picture);
        m_fileTurns[LinkKey(id)] = turn;
        const CString destination = folder + name;
        if (Upper(destination) != Upper(g_rasterLib.GetImagePath(id)))
            QueuePictureWrite(id, picture, chosen, turn, destination);
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

CString PPTWriter::FindLinkName(uint32_t pictureId) const
{
    const auto known = m_linkedFiles.find(LinkKey(pictureId));
    return known == m_linkedFiles.end() ? CString() : known->second;
}

int32_t PPTWriter::LinkedFileTurn(uint32_t imageKey)
{
    const auto known = m_fileTurns.find(LinkKey(m_samePictures.Written(imageKey)));
    return known == m_fileTurns.end() ? 0 : known->second;
}

CString PPTWriter::NewLinkName(uint32_t pictureId, const ExportPictureFile& picture)
{
    const CString source = g_rasterLib.GetImagePath(pictureId);
    // The file name with its backslash, with the extension of the file
    // written; pictures of the same name from different folders get a number
    // before the extension.
    const CString fileName = source.Mid(source.ReverseFind(L'\\') + 1);
    const int dot = fileName.ReverseFind(L'.');
    CString stem = dot > 0 ? fileName.Left(dot) : fileName;
    if (stem.IsEmpty())
        stem.Format(L"Picture%u", pictureId);
    const CString extension = picture.copy ? (dot > 0 ? fileName.Mid(dot) : CString()) : L"." + picture.extension;
    CString name = L"\\" + stem + extension;
    for (int number = 2; m_takenNames.count(Upper(name)); ++number) {
        CString suffix;
        suffix.Format(L"_%d", number);
        name = L"\\" + stem + suffix + extension;
    }
    m_takenNames[Upper(name)] = true;
    m_linkedFiles[LinkKey(pictureId)] = name;
    return name;
}

void PPTWriter::QueuePictureWrite(uint32_t pictureId, const ExportPictureFile& picture, bool chosen, int32_t turn,
                                  const CString& destination)
{
    if (!m_pictureWriters) {
        m_pictureMemory = std::make_unique<CKWMemoryBudget>(kPictureWriterMemory);
        m_pictureWriters = std::make_unique<CKWWorkQueue>(CKWWorkQueue::Processors(kMostPictureWriters));
    }
    // Written under a name of its own beside its place: an earlier picture of
    // the name stays until the whole presentation is complete.
    const CString temporary = m_output.Stage(destination);
    if (temporary.IsEmpty()) {
        m_linkFailed = true;
        Report(L"Error (%lu) writing %ls\n", m_output.GetError(), static_cast<const wchar_t*>(destination));
        return;
    }
    m_pictureWrites.emplace_back();
    PictureWrite& write = m_pictureWrites.back();
    write.destination = destination;
    write.temporary = temporary;
    write.ok = false;
    CKWMemoryBudget& memory = *m_pictureMemory;
    // A picture to be turned or encoded starts before the copies: the
    // longest jobs would otherwise be the last to end.
    CKWRasterLib::ImageInfo info;
    const bool encoded =
        turn == 0 && (chosen ? !picture.copy : g_rasterLib.GetImageInfo(pictureId, info) && info.orientation != 1);
    auto job = [pictureId, picture, chosen, turn, &write, &memory] {
        if (turn != 0) {
            // A sound file goes as it lies; what decodes of a damaged one
            // (or the placeholder) is encoded turned back, for the shape to
            // turn upright.
            ExportPictureFile file = ChooseExportPictureFile(pictureId, true);
            if (file.copy && g_rasterLib.WriteUnturnedJpeg(pictureId, write.temporary)) {
                write.ok = true;
                return;
            }
            file.copy = false;
            const CKWMemoryBudget::CHold hold(memory, EncodingCost(file));
            write.ok = WriteExportPictureFile(pictureId, file, write.temporary, 360 - turn, false);
            if (!write.ok)
                write.error = ::GetLastError();
            return;
        }
        // PowerPoint 97 does not turn a picture by the orientation its file records.
        ExportPictureFile file = chosen ? picture : ChooseExportPictureFile(pictureId, false);
        if (file.turnLosslessly) {
            const CKWMemoryBudget::CHold hold(memory, TurnCost(pictureId));
            if (g_rasterLib.WriteUprightJpeg(pictureId, write.temporary)) {
                write.ok = true;
                return;
            }
            // Where the turn is not exact, the picture is encoded.
            file.turnLosslessly = false;
        }
        if (!file.copy && IsJpegExtension(file.extension)) {
            const CKWMemoryBudget::CHold hold(memory, PlaneCost(file));
            RasterExportRequest request(file.extension, 0, 0, 0, false);
            if (g_rasterLib.EncodeTurnedJpegFile(pictureId, request, write.temporary)) {
                write.ok = true;
                return;
            }
        }
        const CKWMemoryBudget::CHold hold(memory, file.copy ? 0 : EncodingCost(file));
        write.ok = WriteExportPictureFile(pictureId, file, write.temporary, 0, false);
        if (!write.ok)
            write.error = ::GetLastError();
    };
    if (encoded)
        m_pictureWriters->QueueAhead(std::move(job));
    else
        m_pictureWriters->Queue(std::move(job));
}

void PPTWriter::FinishPictureWrites()
{
    if (m_pictureWriters)
        m_pictureWriters->Wait();
    for (const PictureWrite& write : m_pictureWrites) {
        if (write.ok) {
            // A picture that gives no file (its file gone, no library to draw
            // its placeholder) leaves no empty one either.
            m_output.UnstageIfEmpty(write.temporary);
            continue;
        }
        m_linkFailed = true;
        Report(L"Error (%lu) writing %ls\n", write.error, static_cast<const wchar_t*>(write.destination));
        m_output.Fail(write.destination, write.error);
    }
    m_pictureWrites.clear();
}
