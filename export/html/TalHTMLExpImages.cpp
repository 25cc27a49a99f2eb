// The picture layers of the HTML pages and the picture files of the export:
// each picture is written once per rotation and grey-scale combination it is
// shown with, copied when a browser shows the file as it is and re-encoded
// otherwise.
#include <windows.h>

#include <memory>

#include "export/ExportPictureFile.h"
#include "export/ExportPlacement.h"
#include "export/html/ExpImgItem.h"
#include "export/html/HtmlEscape.h"
#include "export/html/HtmlFileWriter.h"
#include "export/html/TalHTMLExp.h"
#include "model/TalTextFormat.h"

CString CTalHTMLExp::WriteImageFile(const TalObjExport& object, double* width, double* height)
{
    const ExportImageData* data = object.GetImageRecord();
    if (!data)
        return CString();
    // A picture whose file was written already under another id is that file.
    const uint32_t key = m_samePictures.Written(data->GetImageKey());
    const int32_t rotation = data->GetRotation();
    const bool grayscale = data->GetGrayscale();

    auto item = std::make_unique<CExpImgItem>(0, 0, static_cast<uint16_t>(rotation), grayscale ? 1 : 0, CString());
    const auto range = m_images.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second->IsSameKind(*item)) {
            if (width)
                *width = it->second->m_width;
            if (height)
                *height = it->second->m_height;
            return it->second->m_fileName;
        }
    }

    // Browsers turn a picture by the orientation its file records.
    ExportPictureFile picture = ChooseExportPictureFile(key, true);
    CString fileName;
    fileName.Format(L"%ls_image%d.%ls", m_name.GetString(), m_imageCounter, picture.extension.GetString());
    const CString target = m_folder + fileName;
    const CString temporary = StageFile(target);
    if (!temporary.IsEmpty()) {
        NoteWrite(WriteExportPictureFile(key, picture, temporary, rotation, grayscale), target);
        // A picture that gives no file (its file gone, no library to draw its
        // placeholder) leaves no empty one either.
        m_output.UnstageIfEmpty(temporary);
    }
    const SIZE size = picture.size;

    // The documents reference the file by URL; the file itself keeps its blanks.
    CString reference = EncodeFileReference(fileName);
    reference.Replace(L" ", L"%20");

    ++m_imageCounter;
    item->m_fileName = reference;
    item->m_width = size.cx;
    item->m_height = size.cy;
    m_images.emplace(key, item.get());
    item.release();
    if (width)
        *width = size.cx;
    if (height)
        *height = size.cy;
    return reference;
}

CString CTalHTMLExp::BackgroundLayer(const TalObjExport& object, int layer)
{
    const ExportImageData* data = object.GetImageRecord();
    if (!data)
        return CString();
    const CString file = WriteImageFile(object);
    const int width = static_cast<int>(m_pageWidth);
    const int height = static_cast<int>(m_pageHeight);
    CString text;
    text.Format(L"\t\t\t<div id=\"Layer%d\" style=\"position:absolute; visibility:inherit; width:%dpx; height:%dpx\">"
                L"\n\t\t\t\t<IMG style=\"WIDTH: %dpx; HEIGHT: %dpx\" alt=\"%ls\" src=\"%ls\"></div>\n",
                layer, width, height, width, height, EscapeHtmlAttribute(data->GetString()).GetString(),
                EscapeHtmlAttribute(file).GetString());
    return text;
}

CString CTalHTMLExp::PictureLayer(const TalObjExport& object, int layer)
{
    const ExportImageData* data = object.GetImageRecord();
    if (!data)
        return CString();
    const CKWDoubleRect cell(0.0, 0.0, m_pageWidth, m_pageHeight);
    CKWDoubleRect box = data->GetRect();
    double imageWidth = 0.0;
    double imageHeight = 0.0;
    const CString file = WriteImageFile(object, &imageWidth, &imageHeight);
    PlaceInCell(cell, imageWidth, imageHeight, box, kPlaceFit, -1);

    const CString description = data->GetString();
    const CTalTextFormat* format = data->GetFormat();
    CString attributes;
    if (format)
        attributes = L"align = " + AlignmentName(format->m_align);
    CString content;
    content.Format(L"<CENTER><IMG style=\"WIDTH: %dpx; HEIGHT: %dpx\" alt=\"%ls\" src=\"%ls\"></CENTER>",
                   static_cast<int>(box.right - box.left), static_cast<int>(box.bottom - box.top),
                   EscapeHtmlAttribute(description).GetString(), EscapeHtmlAttribute(file).GetString());
    content += FormattedText(description, format);
    return LayerStart(layer) + PositionInLayer(PageRect(data->GetRect()), content, attributes) + LayerEnd();
}

CString CTalHTMLExp::WatermarkPictureLayer(const TalObjExport& object, int layer)
{
    const ExportImageData* data = object.GetImageRecord();
    if (!data)
        return CString();
    const CKWDoubleRect cell(0.0, 0.0, m_pageWidth, m_pageHeight);
    double width = 0.0;
    double height = 0.0;
    data->GetSize(width, height);
    CKWDoubleRect placed;
    PlaceInCell(cell, width * m_dpiX, height * m_dpiY, placed, kPlaceOwnSize, data->GetPlace());
    RECT rect;
    rect.left = static_cast<LONG>(placed.left);
    rect.top = static_cast<LONG>(placed.top);
    rect.right = static_cast<LONG>(placed.right);
    rect.bottom = static_cast<LONG>(placed.bottom);
    CString content;
    content.Format(L"<IMG style=\"WIDTH: %dpx; HEIGHT: %dpx\" src=\"%ls\"><br>", static_cast<int>(rect.right - rect.left),
                   static_cast<int>(rect.bottom - rect.top), EscapeHtmlAttribute(WriteImageFile(object)).GetString());
    return LayerStart(layer) + PositionInLayer(rect, content, CString()) + LayerEnd();
}
