#include "export/TalObjExport.h"

namespace {

// Program-wide; the first object of a run gets 129. Composition runs on the
// user-interface thread only.
int32_t g_lastSerial = 128;

}  // namespace

TalObjExport::TalObjExport(ExportObjectData* data) : m_data(data), m_serial(++g_lastSerial) {}

TalObjExport::TalObjExport(uint32_t pictureKey, const CKWDoubleRect& rect, int32_t rotation, bool grayscale)
    : TalObjExport(new ExportCommonImageData(pictureKey))
{
    ExportCommonImageData* data = static_cast<ExportCommonImageData*>(m_data);
    data->SetRect(rect);
    data->SetRotation(rotation);
    data->SetGrayscale(grayscale);
}

TalObjExport::TalObjExport(uint32_t imageKey) : TalObjExport(new ExportImageData(imageKey)) {}

TalObjExport::TalObjExport(const CString& text, const CKWDoubleRect& rect, const CTalTextFormat* format)
    : TalObjExport(new ExportSimpleTextData())
{
    ExportSimpleTextData* data = static_cast<ExportSimpleTextData*>(m_data);
    data->SetText(text);
    data->SetRect(rect);
    data->SetFormat(format);
}

TalObjExport::TalObjExport(const CString& text, int32_t place, const CTalTextFormat* format)
    : TalObjExport(new ExportWatermarkTextData())
{
    ExportWatermarkTextData* data = static_cast<ExportWatermarkTextData*>(m_data);
    data->SetText(text);
    data->SetPlace(place);
    data->SetFormat(format);
}

TalObjExport::TalObjExport(uint32_t imageKey, double width, double height, int32_t place)
    : TalObjExport(new ExportWmImageData(imageKey))
{
    m_data->SetPlace(place);
    static_cast<ExportWmImageData*>(m_data)->SetSize(width, height);
}

TalObjExport::TalObjExport(CTalTextNote* note, int32_t start, int32_t end, const CKWDoubleRect& rect,
                           const TextExportLine& lines)
    : TalObjExport(new ExportTextData())
{
    ExportTextData* data = static_cast<ExportTextData*>(m_data);
    data->SetNote(note);
    data->SetStart(start);
    data->SetEnd(end);
    data->SetRect(rect);
    data->SetLines(lines);
}

TalObjExport::~TalObjExport()
{
    delete m_data;
}

ExportImageData* TalObjExport::GetImageRecord() const
{
    switch (m_data->GetKind()) {
    case kExportCommonImage:
    case kExportImage:
    case kExportWmImage:
        return static_cast<ExportImageData*>(m_data);
    default:
        return nullptr;
    }
}

ExportWatermarkTextData* TalObjExport::GetWatermarkTextRecord() const
{
    return m_data->GetKind() == kExportWatermarkText ? static_cast<ExportWatermarkTextData*>(m_data) : nullptr;
}

int32_t TalObjExport::PeekNextSerial()
{
    return g_lastSerial + 1;
}
